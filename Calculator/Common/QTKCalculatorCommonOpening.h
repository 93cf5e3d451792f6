// Where a wall opening stands against another element: whether its span in
// plan ends in or runs over a point element (column) and whether it sits
// against a given side of a beam in the wall's elevation. The span of a
// ribbon window or ribbon opening (types 8, 9) is its segment's middle line;
// of any other opening, the piece of its wall's axis of the opening's
// "OpeningWidth", centred on the opening.
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

// Ribbon windows and ribbon openings (types 8, 9).
inline bool IsRibbonOpeningType(int type)
{
    return type == 8 || type == 9;
}
// The opening's span in plan; none without its segment or host wall.
std::optional<TVRMCustomLine2d> GetOpeningSpan(IRDXRecord* opening);
// The opening's outline in the wall's elevation plane (x along the wall's
// line, y elevation; nil wall: its own host wall), from its element object;
// nil when it has none.
Ref<IQTKSectionPoly> GetOpeningSectionOnWall(IRDXRecord* opening, IRDXRecord* wall);

// An end of the span lies in the element's outline (or on its boundary).
bool IsOpeningEndInElement(IRDXRecord* element, IRDXRecord* opening);
// The span runs over the element's outline: an end inside, the span crossing
// the outline, or an end on the boundary with the span going inwards from it.
bool IsOpeningOverElement(IRDXRecord* element, IRDXRecord* opening);
// In the wall's elevation, the opening's outline does not stand against the
// wrong side of the beam's outline: decided by the first opening edge lying
// along the beam outline's edge 1 (it must run in +x) or edge 3 (-x); True
// when no edge does. False without either outline.
bool IsOpeningOnBeamSide(IRDXRecord* beam, IRDXRecord* opening, IRDXRecord* wall);
