// Expression texts of earthwork: excavated earth (40) by its layers (the
// prismoid of a sloped pit, bottom area times depth of a vertical one),
// lagging boards, and ditch earth (41) by its trapezoid section along its
// middle line. Volumes mm³, areas mm².
#pragma once

#include "Host/RDX/RDXIntf.h"

void BuildExcavatedEarthVolExpr(IRDXRecord* record, double volume);
void BuildExcavatedEarthWetVolExpr(IRDXRecord* record, double volume);
void BuildExcavatedEarthFrozenVolExpr(IRDXRecord* record, double volume);
void BuildEarthLaggingBoardAreaExpr(IRDXRecord* record);
void BuildDitchEarthVolExpr(IRDXRecord* record, double volume);
void BuildDitchEarthWetVolExpr(IRDXRecord* record, double volume);
void BuildDitchEarthFrozenVolExpr(IRDXRecord* record, double volume);
void BuildDitchEarthBottomAreaExpr(IRDXRecord* record, double area);
void BuildDitchEarthSideAreaExpr(IRDXRecord* record, double area);
