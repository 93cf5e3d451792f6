// Expression texts of foundation units (strip 81, isolated 82, pile cap 83),
// beddings (55) and raft foundations (48). Values are the quantities the
// rules computed (mm², mm³); the bedding builders take the calculator the
// rule measured.
#pragma once

#include "Host/RDX/RDXIntf.h"

class TQTKShellCalc3d;
class TQTKSolidCalc3d;

void BuildPileCapUnitVolExpr(IRDXRecord* record);
void BuildPileCapUnitFormboardAreaExpr(IRDXRecord* record);
void BuildPileCapUnitFaceAreaExpr(IRDXRecord* record, double area);
void BuildPileCapUnitSideAreaExpr(IRDXRecord* record, double area);
void BuildIsolatedFDUnitVolExpr(IRDXRecord* record);
void BuildIsolatedFDUnitFormboardAreaExpr(IRDXRecord* record);
void BuildIsolatedFDUnitBottomAreaExpr(IRDXRecord* record, double area);
void BuildIsolatedFDUnitTopAreaExpr(IRDXRecord* record, double area);
void BuildIsolatedFDUnitSideAreaExpr(IRDXRecord* record, double area);
void BuildStripFDUnitBottomAreaExpr(IRDXRecord* record, double area);
void BuildStripFDUnitTopAreaExpr(IRDXRecord* record, double area);
void BuildStripFDUnitSideAreaExpr(IRDXRecord* record, double area);
void BuildBeddingVolExpr(IRDXRecord* record, const TQTKSolidCalc3d* source);
void BuildBeddingFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* source);
void BuildBeddingBottomAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* source);
void BuildRaftFDVolExpr(IRDXRecord* record, double volume);
void BuildRaftFDFormboardAreaExpr(IRDXRecord* record, double area);
