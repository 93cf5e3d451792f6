// Routines that the beam volume and formwork rules share: the beam's element
// object, a neighbour's own solid, and the prism of a beam over the span of a
// parallel wall. Nothing is kept between calls; solids returned are new and
// the caller's. Lengths are mm.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TQTKShellCalc3d;
class TVRMPoint2d;
class TVRMPolyhedron3d;

// The element object of a beam, ring beam or foundation beam; raises
// EIntfCastError for any other element.
Ref<IQTKBeamCalcEDO> GetBeamEdo(IRDXRecord* record);
// The element object of a foundation beam; raises EIntfCastError for any other element.
Ref<IQTKFDBeamCalcEDO> GetFDBeamEdo(IRDXRecord* record);
// The beam's section over the stretch of its middle line that the wall's
// line covers (the wall line's ends projected onto the middle line),
// "SectionWidth" wide and centred, from the beam's bottom to its top; empty
// when the stretch has no length.
std::unique_ptr<TVRMPolyhedron3d> BuildBeamPrismOverWallSpan(IRDXRecord* beam, IRDXRecord* wall);

// The superposition kinds a neighbour takes off a beam's shell: both
// (contact and flush) when it goes first, the contact kind otherwise.
int KindsFor(bool objectFirst);
// Takes the solid off the shell calculator on behalf of Record with Kinds; 0
// for a nil or empty solid. The area removed.
double SubtractSolid(TQTKShellCalc3d& calc, const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds);

// A foundation beam's middle-line length weighted by the parallel walls on
// it: a stretch over an inner wall counts 0.97, over an outer wall or no wall
// in full; a stretch two walls share counts once, for the first of them. A
// wall ending within its thickness of a beam end carries the beam to that
// end. 0 for a beam without a middle line.
double GetFDBeamWallWeightedLength(IRDXRecord* beam);

// Length of the union of the closed ranges.
double MergedLength(std::vector<std::pair<double, double>> ranges);
// The reference point of a line element: the middle of its axis line; False
// without a line shape.
bool LineReferencePoint(IRDXRecord* record, TVRMPoint2d& point);
// A concrete wall (type 0).
bool IsConcreteWallRecord(IRDXRecord* record);
// A concrete strip foundation unit (type 81) along the beam that the beam does
// not give way to by type: it takes nothing off the beam's length or sides.
bool IsStripUnitKeptByType(IRDXRecord* beam, IRDXRecord* object);
// The trench a trench unit belongs to (its parent; a unit without one is an
// assertion failure) and that trench's whole solid, hollow included (nil when
// the trench has no element object).
IRDXRecord* GetUnitTrench(IRDXRecord* unit);
std::shared_ptr<const TVRMPolyhedron3d> GetUnitTrenchWholeSolid(IRDXRecord* unit);
