// Expression texts of earthwork: excavated earth (40) and pit earth (42) by
// their layers (the prismoid of a sloped pit, bottom area times depth of a
// vertical one), bottom and side areas, lagging boards, and ditch earth (41)
// by its trapezoid section along its middle line. Volumes mm³, areas mm².
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

// Pit earth (42) layers: ordinary and frozen earth of a pit with a point shape.
void BuildPitEarthVolExpr(IRDXRecord* record, double volume);
void BuildPitEarthWetVolExpr(IRDXRecord* record, double volume);
void BuildPitEarthFrozenVolExpr(IRDXRecord* record, double volume);
// The bottom outline's formula: of a pit with vertical sides; of an
// excavation or a pit (BuildEarthBottomAreaExpr).
void BuildPitEarthBottomAreaExpr(IRDXRecord* record);
void BuildEarthBottomAreaExpr(IRDXRecord* record);
// The sides of a vertical excavation or pit: perimeter formula x depth.
void BuildEarthSideAreaExpr(IRDXRecord* record);
// A level ditch's lagging boards: "%g<深度>*%g<长度>*2".
void BuildDitchEarthLaggingBoardAreaExpr(IRDXRecord* record, double area);
