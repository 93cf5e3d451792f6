// Expression texts of faces of beams and columns: the haunch formwork of
// beams and foundation beams, and the insulating layer (type 68) on the outer
// wall columns and beams that stand out of it. Areas are mm².
#pragma once

#include "Host/RDX/RDXIntf.h"

// "%g<加加腋模板面积> - %g<扣加腋模板面积>" of the haunch formwork added
// (deducted + net) and deducted; a zero term is left out, nothing when both are.
void BuildHaunchFormboardAreaExpr(IRDXRecord* record, double deductedArea, double netArea);
// The layer's area on the outer wall columns ("(0.6+0.4)*2.8-0.24<扣墙面积>")
// and beams, written when the printed terms give the area.
void BuildInsulatingLayerOutWallColumnAreaExpr(IRDXRecord* record, double area);
void BuildInsulatingLayerOutWallBeamAreaExpr(IRDXRecord* record, double area);
