// Expression texts of flat and edge elements: aprons (type 61), parapets
// (69), balconies (66), courtyards (59), floor areas (58) and site levelling
// (60). Areas mm², lengths mm.
#pragma once

#include <array>
#include <vector>

#include "Host/RDX/RDXIntf.h"

class TVRMMultiPolygon2d;

// The outline's formula less the apron and wall deductions (terms of 0 left out).
void BuildApronAreaExpr(IRDXRecord* record, double apronDeduction, double wallDeduction);
// "%g<1>+%g<2>..." of the uncovered lengths of the apron's touching-wall
// lines (perimeter edges), numbered from 1; stored when they give the length.
void BuildApronTouchWallLengthExpr(IRDXRecord* record, double length);
void BuildApronPerimeterExpr(IRDXRecord* record, double length);

// A parapet of a rectangular section: section, side, bottom and end formwork
// (a section height for each end that no line element joins).
void BuildParapetSectionAreaExpr(IRDXRecord* record, double area);
void BuildParapetSideFormboardAreaExpr(IRDXRecord* record, double area);
void BuildParapetBottomFormboardAreaExpr(IRDXRecord* record, double area);
void BuildParapetHeadFormboardAreaExpr(IRDXRecord* record, double area);

// The formula of the polygon the rule measured.
void BuildBalconyHorizonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygon);

void BuildCourtyardAreaExpr(IRDXRecord* record);
// "(%g<长度>+%g<宽度>)*2" of a rectangular courtyard whose perimeter is the length (mm, unrounded).
void BuildCourtyardPerimeterExpr(IRDXRecord* record, double length);

// Sloped-roof areas under a floor area (mm²): deducted, added with a clear
// height over 2.1 m, added with a clear height between 1.2 m and 2.1 m.
using TQTKSlopedRoofAreaRow = std::array<double, 3>;

void BuildFloorAreaOriginalAreaExpr(IRDXRecord* record);
// The outline's formula times the coefficient (printed as given), then one
// bracket of terms per column of the rows that holds a value.
void BuildFloorAreaCalcMethod1Expr(IRDXRecord* record, const std::vector<TQTKSlopedRoofAreaRow>& rows,
                                   double coefficient);
// "(l+s)*2" of a rectangle, else the sum of every edge's length.
void BuildFloorAreaPerimeterExpr(IRDXRecord* record);

class TQTKSiteLevelingExprHandler {
public:
    // The outline's formula, times the coefficient (printed as given) when it is not 1.
    static void BuildSiteLevelingAreaExpr(IRDXRecord* record, double coefficient);
    // The outline grown by 2 m, less the deduction, when the two give the value.
    static void BuildSiteLevelingExtendAreaExpr(IRDXRecord* record, double value, double deduction);
};
