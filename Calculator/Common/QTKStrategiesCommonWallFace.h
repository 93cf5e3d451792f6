// Lengths along a wall's face that formwork and finish rules measure: where a
// fill wall laid in the wall meets it, where beams and lintels of higher
// formwork priority cover it, the sides of alcoves; and the part of the wall
// (or beam) that a slab cuts through. Linear calculators are in the wall's
// elevation plane (x along its middle line, y elevation); their base lines
// are the pieces of a polygon's edges inside the wall's profile (pieces on
// the profile's outline are no junction), and Append... marks the covered
// pieces. Returned objects belong to the caller.
#pragma once

#include <memory>

#include "Host/RDX/RDXIntf.h"

class IQTKElementDrawObj;
class TVRMMultiPolyLinearCalc2d;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;

// The edges of fill wall B's overlay polygon on wall A inside A's profile;
// nil when B overlays nothing of A or no edge lies inside.
std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildWallJunctionLinearCalc(IRDXRecord* wallA, IRDXRecord* wallB);
// Marks with Mark the projections on Wall of Holder's related beams (types 15
// to 18) parallel to Wall and of its related lintels, where their formwork
// takes precedence over the wall's (the session's settings).
void AppendPriorBeamFaces(IRDXRecord* holder, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc, int mark);
// The same for a wall or an insulating wall unit: the projections are taken
// on the unit's host wall, the parallel and priority tests use the unit.
void AppendPriorBeamFacesOfHost(IRDXRecord* holder, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark);
// The edges of the alcove's (any opening's) outline on the host wall (the
// wall, or the unit's wall) inside the wall's (unit's) profile: its sides and
// head; nil when none.
std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildAlcoveSideLinearCalc(IRDXRecord* wallOrUnit, IRDXRecord* alcove);
// Marks with Mark the outlines on the host wall of the ribbon windows and
// openings (types 8, 9) related to the wall or unit and standing in it,
// other than Opening.
void AppendOtherRibbonSections(IRDXRecord* opening, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark);
// Marks with Mark the outlines on the host wall of the alcoves related to
// both Holder and that wall.
void AppendAlcoveFaces(IRDXRecord* holder, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark);

// Slab B lies flush with face element A: their top planes face the same way
// and B's lies within the larger of their depths from A's. True when A has no
// face shape, false when B has none.
bool IsSlabFlushWith(IQTKElementDrawObj* a, IQTKElementDrawObj* b);
// The plan of the wall (beam) band that the slab cuts: the stretches of the
// middle line where the slab covers its middle or a side line and no flush
// neighbouring slab did first, each as a band half the width + 10 to either
// side (lengthened by 1000 past an end of the middle line it reaches).
std::unique_ptr<TVRMMultiPolygon2d> GetSlabCutFacePolygon(IQTKElementDrawObj* wall, IQTKElementDrawObj* slab);
// That plan under the slab's top face, the slab's thickness deep; empty when
// its area is 50 mm2 or less or the slab has no solid. The slab's top must be
// the second-to-last face of its solid (an assertion failure otherwise).
std::unique_ptr<TVRMPolyhedron3d> BuildSlabCutSolid(IQTKElementDrawObj* wall, IQTKElementDrawObj* slab);
