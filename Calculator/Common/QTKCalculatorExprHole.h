// Expression texts of openings: doors (type 4), windows (5) and doors with a
// window (6): opening and filling areas with their frame deductions, and
// perimeters. The texts are not checked against the quantity. A builder
// given an element type writes nothing for a type it does not serve. Sizes mm.
#pragma once

#include "Host/RDX/RDXIntf.h"

void BuildHoleRectAreaExpr(IRDXRecord* record, int elementType, double width, double height);
void BuildHoleOpeningAreaExpr(IRDXRecord* record);
void BuildHoleFillingAreaExpr(IRDXRecord* record, int elementType, double width, double height, double sideDeduct,
                              double topBottomDeduct);
void BuildHoleFillingAreaExprFromShape(IRDXRecord* record);
void BuildHoleSizePerimeterWithoutBottomExpr(IRDXRecord* record, int elementType, double width, double height);
// Only for an outline whose sides run along the axes.
void BuildHolePerimeterWithoutBottomExpr(IRDXRecord* record);
void BuildHoleSizePerimeterExpr(IRDXRecord* record, int elementType, double width, double height);
void BuildHolePerimeterExpr(IRDXRecord* record);

void BuildDoorWinDoorAreaExpr(IRDXRecord* record, int elementType, double doorWidth, double doorHeight);
void BuildDoorWinWinAreaExpr(IRDXRecord* record, int elementType, double winWidth, double winHeight);
void BuildDoorWinOpeningAreaExpr(IRDXRecord* record, int elementType, double doorWidth, double doorHeight,
                                 double winWidth, double winHeight);
void BuildDoorWinPerimeterWithoutBottomExpr(IRDXRecord* record, int elementType, double width, double height);
// Door and window filling of a door with a window, from its properties.
void BuildDoorWinFillingAreaExpr(IRDXRecord* record);
void BuildDoorWinDoorFillingAreaExpr(IRDXRecord* record);
void BuildDoorWinWinFillingAreaExpr(IRDXRecord* record);
