// Expression texts of backfill: the layer units of excavation, ditch and pit
// backfills (types 87, 88, 89) as a box, a prism over their bottom polygon or
// a prismoid of their backfill's sections, their original volumes, and the
// area of a room backfill (46). Volumes mm³, areas mm².
#pragma once

#include "Host/RDX/RDXIntf.h"

class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;

// The layer as an upright box ("%g<长度>*%g<宽度>*%g<挖土深度>": the box's
// width under 长度) or prism over the bottom polygon; only the first upright
// part found is compared with the volume.
void BuildEarthBackfillUnitVolExpr(IRDXRecord* record, const TVRMMultiPolygon2d* bottomPolygon,
                                   const TVRMPolyhedron3d* solid);
// The layer as the prismoid of its backfill's sections at its bottom, top
// and middle: "(%g<底面积>+%g<顶面积>+%g<中截面面积>*4)*%g<深度>/6".
void BuildExcavatedBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
void BuildPitBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
void BuildDitchBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
// The layer's volume as a plain value, when it has one.
void BuildExcavatedBackfillUnitOriginalVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
void BuildDitchBackfillUnitOriginalVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
// The room backfill's plan formula.
void BuildRoomBackfillAreaExpr(IRDXRecord* record);
