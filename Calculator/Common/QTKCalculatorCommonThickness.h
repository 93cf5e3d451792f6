// Thickness and side lines of line elements, a wall's rating thickness from
// the settings, and the thickness of wall-attached finishes and insulating
// layers that rules add to plastering and block measures. Lengths are mm.
#pragma once

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

class IQTKElementDrawObj;
class IQTKLineEdoInfo;

// The centre line of a line element: its axis moved by width/2 - axis offset.
TVRMCustomLine2d GetEdoCenterLine(IQTKLineEdoInfo* info);
// Its side lines: the axis moved by -axis offset (first) and by
// width - axis offset (second).
void GetEdoSideLines(IQTKLineEdoInfo* info, TVRMCustomLine2d& first, TVRMCustomLine2d& second);

// "Thickness"; when absent or negative, "SectionWidth"; 0 without either.
double GetDrawObjThickness(const IQTKElementDrawObj* drawObj);
double GetRecordThickness(IRDXRecord* record);

// A wall's thickness rounded to whole mm and mapped through the "ThicknessModulus"
// list of "QTKWallCalcSettings" ("DefinedThickness" -> "ActualThickness");
// the rounded thickness without the table, the list or a matching row.
int GetEdoRatingThickness(IQTKCalculatorEDO* wall, const TableSourceRef& ruleContext);
int GetWallRatingThickness(IRDXRecord* wall, const TableSourceRef& ruleContext);

// What a finish or an insulating layer adds beside its host, half / full:
// an insulating layer (type 68): with Block its "Thickness" (half: plus half
// its "AirLayerThickness"), else 0; a wall-attached finish: with Block its
// "Thickness", plus the host wall's insulating layer when the finish measures
// its block layer outside it; without Block the host wall's insulating layer
// when the finish measures its plastering outside it, else 0. The insulating
// layer is never halved. An element object that is no wall-attached finish
// adds no insulating layer.
double GetHalfThicknessWithLayer(IRDXRecord* record, bool block);
double GetThicknessWithLayer(IRDXRecord* record, bool block);
