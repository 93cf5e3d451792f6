// Expression texts of foundation units (strip 81, isolated 82, pile cap 83),
// beddings (55) and raft foundations (48). Values are the quantities the
// rules computed (mm², mm³); the bedding builders take the calculator the
// rule measured. A raft is stated by its outline only when its face is level
// and carries no per-edge information (its projected area excepted).
#pragma once

#include "Host/RDX/RDXIntf.h"

class TQTKShellCalc3d;
class TQTKSolidCalc3d;
class TVRMMultiPolygon2d;
class TVRMPolyhedronShell3d;

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
// The outline's formula; the projected area: the outline's formula when the
// projected polygon prints the same area, else the projected polygon's.
void BuildRaftFDBottomAreaExpr(IRDXRecord* record);
void BuildRaftFDProjectiveAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* projected);
// "(outline)<原始筏板面积>" when the shell the rule measured prints the outline's
// area; AppendRaftFDExternalWallDeductExpr then adds "-%g<扣外墙>" to that text.
void BuildRaftFDExternalWallAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);
void AppendRaftFDExternalWallDeductExpr(IRDXRecord* record, double value);
// The side faces: "(perimeter)*%g<厚度>".
void BuildRaftFDVerticalAreaExpr(IRDXRecord* record, double area);
