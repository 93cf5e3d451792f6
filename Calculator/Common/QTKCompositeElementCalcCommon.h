// Outlines of composite elements (a balcony or swing window drawn as walls,
// slabs and parapets that name it in "CompositeEDOPID"), shape outlines less
// the line elements standing on them, and the balcony measures of the
// outer-wall scaffold rules. Returned polygons belong to the caller.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

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
// How far the balcony's parts reach out from the outer walls it touches.
double CalcBalconySideLineLength(IRDXRecord* balcony);
// Other has related walls and none has a lower record id than Record.
bool IsLowestRelatedId(IRDXRecord* record, IRDXRecord* other);
