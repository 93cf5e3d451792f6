// Expression texts of room finishes (floor 33, ceiling 34, hung ceiling 35,
// wall face 36, dado 37), floor waterproofing up-turns and cast slabs (19):
// lengths times widths of the measured rectangles and bands, a slab's volume
// from its polygon's own formula. Sizes mm, areas mm².
#pragma once

#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

class TQTKShellCalc3d;
class TVRMFace3d;
class TVRMMultiPolygon2d;
class TVRMPolygon2d;
class TVRMPolyhedronShell3d;

// The waterproofing turned up a wall at a floor's edge: the wall line, the
// up-turn height and the calculator of the up-turn face (not owned).
struct TQTKFloorUpturnItem {
    TVRMCustomLine2d line;
    int height = 0;
    const TQTKShellCalc3d* calc = nullptr;
};

// A finish area as a rectangle (33-35) or a band with its end faces (36, 37),
// written when the printed sizes give the area.
void BuildFinishShellAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, double area);
void BuildCeilingShellAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);
void BuildFloorShellAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);
void BuildFloorPerimeterExpr(IRDXRecord* record, const TVRMPolygon2d* polygon);
void BuildFloorWaterProofVerticalAreaExpr(IRDXRecord* record, const std::vector<TQTKFloorUpturnItem>& items);
void BuildSlabAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc);
void BuildSlabFormboardAreaExpr(IRDXRecord* record, const TVRMFace3d* face, bool twice);
void BuildSlabSideFormboardAreaExpr(IRDXRecord* record, const TVRMFace3d* face);
void BuildSlabVolExpr(IRDXRecord* record);
// The polygon's own area formula, for a set of exactly one polygon.
void BuildPolygonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygons);
