// Outlines of composite elements (a balcony or swing window drawn as walls,
// slabs and parapets that name it in "CompositeEDOPID"), shape outlines less
// the line elements standing on them, and the balcony measures of the
// outer-wall scaffold rules. Returned polygons belong to the caller.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TQTKLinearCalc2d;
class TVRMCustomLine2d;

// The closed outline of the composite's walls (along their middle lines,
// grown by half the composite's own walls, shrunk by half the others', wall
// plans cut out); else the lowest slab parts merged; else the union of the
// child outlines without doors and windows. Nil when nothing is found.
std::unique_ptr<TVRMMultiPolygon2d> GetCompositeOutline(IRDXRecord* record);
// A copy of the outline of the record's shape.
std::unique_ptr<TVRMMultiPolygon2d> CloneShapePolygon(IRDXRecord* record);
// The shape outline less the plans of the related walls that meet the
// element in elevation and of the beams standing over a parallel wall.
std::unique_ptr<TVRMMultiPolygon2d> GetShapePolygonLessLineEnts(IRDXRecord* record);
// Length of the piece of A that B covers; 0 when none.
double GetSubSegLength(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b);
// A copy of the external-wall outline of the record's floor; nil when none.
std::unique_ptr<TVRMMultiPolygon2d> GetFloorExternalWallOutline(IRDXRecord* record);
// The length of the balcony's outline that the outer-wall scaffold along Wall
// adds, from where the balcony meets the floor's external-wall outline (moved
// out to the wall's outer face): on the first such line lying on Wall's face,
// the balcony's perimeter less its edges on those lines and less the wall's
// external line inside the balcony; on a later such line, that line's
// length. When several lines lie on Wall's face the last one decides. 0 when
// the balcony has no outline or its floor no external-wall outline. Extra is
// not read.
double CalcBalconyOutLineLength(IRDXRecord* balcony, IRDXRecord* wall, int extra);
// A calculator over the wall's external line (the middle line when both sides
// are external, else the face line of the external side) with the outlines of
// the related walls meeting it in elevation marked under their record ids;
// nil when neither side is external.
std::unique_ptr<TQTKLinearCalc2d> BuildWallExternalLineCalc(IRDXRecord* wall);
// How far the balcony's parts reach out from the outer walls it touches.
double CalcBalconySideLineLength(IRDXRecord* balcony);
// Other has related walls and none has a lower record id than Record.
bool IsLowestRelatedId(IRDXRecord* record, IRDXRecord* other);
