// Expression texts of beams (15, 17, 18), foundation beams (47), lintels
// (12), copings (70) and cross-sections: section areas and perimeters,
// volumes, formwork and bottom areas. The middle-line length of a beam or
// coping is its calculated middle line times its length rate. Sizes mm,
// areas mm², volumes mm³.
#pragma once

#include "Host/RDX/RDXIntf.h"

class TQTKShellCalc3d;
class TVRMMultiPolygon2d;
class TVRMPolyhedronShell3d;

void BuildBeamSectionAreaExpr(IRDXRecord* record);
void BuildBeamPerimeterExpr(IRDXRecord* record);
// By the axis line when its length gives the volume, else by the length the
// volume and the section give.
void BuildBeamVolExpr(IRDXRecord* record, bool byAxisLine, double volume);
// The formwork shell's faces were appended left side, right side, bottom,
// top; each count is the shell's face count after that group (-1: the group
// was not added). A quick form of the section and middle line when one gives
// the area, else the area of each group.
void BuildBeamFormboardAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell, int countAfterLeft,
                                int countAfterRight, int countAfterBottom, int countAfterTop);
void BuildFDBeamBottomAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);
void BuildLintelVolExpr(IRDXRecord* record, double volume);
// The bottom and top of an arch lintel standing out of its wall.
void BuildLintelOutBottomFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, double area);
void BuildCopingSectionAreaExpr(IRDXRecord* record);
// A coping's faces by kind: bottom, side, top (byFaceKind) or bottom and side formwork.
void BuildCopingFaceAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, bool byFaceKind);
void BuildCopingFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc);
// A section of one rectangle or circle (the rectangle's shorter side is printed first).
void BuildSectionAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* section);
void BuildSectionPerimeterExpr(IRDXRecord* record, const TVRMMultiPolygon2d* section);
