// Routines that the beam volume and formwork rules share: the beam's element
// object, a neighbour's own solid, and the prism of a beam over the span of a
// parallel wall. Nothing is kept between calls; solids returned are new and
// the caller's. Lengths are mm.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TVRMPolyhedron3d;

// The element object of a beam, ring beam or foundation beam; raises
// EIntfCastError for any other element.
Ref<IQTKBeamCalcEDO> GetBeamEdo(IRDXRecord* record);
// The element's own solid (kept by its element object); nil when it has none.
const TVRMPolyhedron3d* GetElementSolid(IRDXRecord* record);
// The beam's section over the stretch of its middle line that the wall's
// line covers (the wall line's ends projected onto the middle line),
// "SectionWidth" wide and centred, from the beam's bottom to its top; empty
// when the stretch has no length.
std::unique_ptr<TVRMPolyhedron3d> BuildBeamPrismOverWallSpan(IRDXRecord* beam, IRDXRecord* wall);
