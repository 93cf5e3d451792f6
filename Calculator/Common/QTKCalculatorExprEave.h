// Expression texts of eaves and canopies (type 64): volume, plan area,
// formwork with its deductions, the face areas of an eave line, the length
// touching walls, and the side lengths of the parapets (type 69) standing on
// the eave's edges. Lengths mm, areas mm², volumes mm³.
#pragma once

#include <array>
#include <vector>

#include "Host/RDX/RDXIntf.h"

class TVRMMultiPolygon2d;

// A line-kind eave: "%g<截面>*%g<长度>" of its section area and length;
// otherwise the polygon's area (a circle by its radius) times the thickness.
void BuildEaveVolExpr(IRDXRecord* record, bool lineKind, const TVRMMultiPolygon2d* polygon, double area,
                      double lengthOrThickness);
void BuildEaveAndCanopyHorizonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygon);

// A formwork deduction: the deducting element's type id (as the rule keeps
// it, a floating-point number) and the area it deducted (mm²).
using TQTKEaveDeductRow = std::array<double, 2>;
// Bottom and sides of a level eave of one polygon, then one labelled term per
// deduction row of a known element type and the eave formwork deduction.
void BuildEaveAndCanopyFormboardAreaExpr(IRDXRecord* record, const std::vector<TQTKEaveDeductRow>& rows,
                                         double eaveFormboardDeduction);
// "%g*%g" per face (lengths and heights of equal count) less the wall
// deduction, stored when it gives the area.
void BuildEaveFaceAreaExpr(IRDXRecord* record, const std::vector<double>& lengths, const std::vector<double>& heights,
                           double area, double wallDeduction);
// The lengths touching walls joined by "+"; nothing for a single length.
void BuildEaveAndCanopyTouchWallLengthExpr(IRDXRecord* record, const std::vector<double>& lengths);

// The inner, middle-line and outer lengths of the parapets standing on the eave's edges.
void BuildEaveAndCanopyParapetInnerSideLengthExpr(IRDXRecord* record);
void BuildEaveAndCanopyParapetMiddleLineLengthExpr(IRDXRecord* record);
void BuildEaveAndCanopyParapetOutSideLengthExpr(IRDXRecord* record);

// The parapet runs along an edge of the eave's outline (parallel, within
// twice its thickness, and beside the edge for some length) and, when it
// stands on several eaves, over this one most.
bool IsParapetOnEaveEdge(IRDXRecord* eave, IRDXRecord* parapet);
// Side 0 inner, 1 middle line, 2 outer: the parapet's stored length of that
// side (mm). In detail mode a length detail of the parapet's line on that side
// is recorded, with the pieces its walls and columns cover.
double GetParapetSideLength(IRDXRecord* eave, IRDXRecord* parapet, int side);
