// Routines that wall, insulating-wall, pier, column and beam rules share when
// a wall is involved: how an element sits against a wall, the special solids
// some deductions take (a tie column with its toothing, a slab stretched over
// a wall's width), the top of a wall under the members resting on it, feeders
// of linear calculators, a wall's own solid taken off a formwork shell, and
// the depth of an alcove in an insulating wall unit.
//
// Nothing is kept between calls. Lengths are mm, areas mm², volumes mm³.
// Solids returned are new and the caller's.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class IQTKElementDrawObj;
class TQTKShellCalc3d;
class TVRMCustomLine2d;
class TVRMFace3d;
class TVRMMultiPolygon2d;
class TVRMMultiPolyLinearCalc2d;
class TVRMOverhighShellCalc3d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

// The insulating wall unit's object; any other element raises EIntfCastError.
Ref<IQTKInsulatingWallUnitCalcEDO> GetInsulatingUnitEDO(IRDXRecord* record);

// Two parallel line elements whose middle lines share some length.
bool IsParallelLineEntOverlapping(IRDXRecord* a, IRDXRecord* b);

// The element's outline keeps between the two faces of the wall (or
// insulating wall unit): neither line 1 mm beyond a face crosses it. Any draw
// object that is not a wall (type 0) is taken as an insulating wall unit.
bool IsOutlineBetweenWallFaces(IQTKElementDrawObj* wall, IQTKElementDrawObj* element);

// The element (a column) lies within walls: a rectangular outline within the
// faces of this wall; any other outline within the plan polygons of all its
// related walls, insulating walls and units, a sliver thinner than about
// 1 mm (area / perimeter below 0.5) counting as covered.
bool IsCoveredByWalls(IRDXRecord* wall, IRDXRecord* element);

// Another wall takes its solid off this wall's quantities: it cuts the wall,
// neither is a fill wall laid in the other, and in material-only mode they
// are not of the same kind.
bool IsWallDeductedByWall(IRDXRecord* wall, IRDXRecord* other);

// The element's "Type" is 0 (a tie column that teeth into the masonry).
bool IsTypeZeroElement(IRDXRecord* record);

// The opening belongs to the wall (its "EDOPID" is the wall; an insulating
// wall unit answers for its wall), or its plan polygon meets the wall's with
// more than a touch.
bool IsOpeningOnWallPlan(IRDXRecord* wall, IRDXRecord* opening);

// The opening's host is parallel to the wall: a ribbon window or opening
// (types 8, 9) itself, any other opening its parent wall.
bool IsHollowHostParallel(IRDXRecord* wall, IRDXRecord* opening);

// The tie column's solid with its teeth into the masonry walls beside it (the
// related walls that are not concrete and the insulating walls): each outline
// edge that the wall line through the insertion point crosses is pushed out
// by "IndentingWidth" (half of it when not Whole).
std::unique_ptr<TVRMPolyhedron3d> BuildColumnIndentingSolid(IRDXRecord* column, bool whole);

// The slab's Polygon stretched across the wall's full width wherever the slab
// alone (no coplanar slab of its type) covers the wall's axis, as a prism of
// the slab's "Thickness" on the slab's base plane.
std::unique_ptr<TVRMPolyhedron3d> BuildSlabPolygonSolidOverWall(IRDXRecord* slab, IRDXRecord* wall,
                                                                const TVRMMultiPolygon2d& polygon);
// The same over the slab's own face polygon.
std::unique_ptr<TVRMPolyhedron3d> BuildSlabSolidOverWall(IRDXRecord* slab, IRDXRecord* wall);

// The hooks of DeductSlabJointStrips: the thickness of a joint strip from the
// two slabs' thicknesses (the slab's, the thinner one's), whether the strips
// go to the slabs' deduct and add polygons, and the subtraction of one strip's
// solid (returns what it removed).
struct TQTKSlabJointHooks {
    std::function<double(double, double)> combineThickness;
    bool recordJointPolygons = false;
    std::function<double(const TVRMPolyhedron3d&)> deductPiece;
};
// The plane of the top face of a slab's solid (its face before the last);
// none without one.
std::optional<TVRMPlane3d> GetSlabReferencePlane(IQTKCalculatorEDO& slab);
// Where a thinner slab of the same type, related to the line element and
// coplanar with Slab, meets Slab over the element: each edge of Rest (what is
// left of Slab's outline) along Left that lies in the thinner slab, turned
// against Left and moved onto Left and onto Right, bounds a strip across the
// element, clipped to Plan. With recordJointPolygons the strip (within Rest)
// goes to Slab's deduct polygons and a copy to the thinner slab's add
// polygons, under the element's record id. Each strip is extruded from Slab's
// top face through the combined thickness and handed to deductPiece, then
// taken off Rest. Returns the sum deductPiece returned.
double DeductSlabJointStrips(IQTKCalculatorEDO& element, IQTKSlabCalculator& slab, IRDXRecord* slabRecord,
                             const TVRMMultiPolygon2d& plan, const TVRMCustomLine2d& left,
                             const TVRMCustomLine2d& right, std::unique_ptr<TVRMMultiPolygon2d>& rest,
                             const TQTKSlabJointHooks& hooks);

// The wall's higher end top, lowered to the lowest bottom of the related
// members of the given types that run along the wall, stand on its position
// and span that top (bottom at or below it, top at or above it).
double GetWallTopUnderMembers(IRDXRecord* wall, const TQTKElementTypeSet& types);
// The same with members parallel to the wall whose outline Line crosses.
double GetWallTopUnderMembersOnLine(IRDXRecord* wall, const TQTKElementTypeSet& types, const TVRMCustomLine2d& line);

// Marks (mark 1) the sections on the wall of its related openings (types 4
// to 9) that lie on its plan, ribbon ones when parallel to it.
void AppendOpeningSectionsOnWall(TVRMMultiPolyLinearCalc2d& calc, IRDXRecord* wall);
// Marks (mark 1) the outlines on Wall of the fill walls related to Element
// that overlay Wall; Flag writes length details.
void AppendOverlayFillWallPolygons(IRDXRecord* element, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc, bool flag);
// The same; an outline writes details only when Flag is set and it lies
// within Polygon.
void AppendOverlayFillWallPolygonsByPosition(IRDXRecord* element, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc,
                                             bool flag, const TVRMMultiPolygon2d& polygon);

// A concrete wall's own solid (without the fill walls laid in it) taken off
// another element's formwork shell on behalf of the wall: both superposition
// kinds (contact and flush) when BothKinds, else contact only. LastFlag writes
// the removed part's formula in the detail. Returns the area removed.
double SubtractWallFromShell(TQTKShellCalc3d& calc, IRDXRecord* wall, bool bothKinds, bool lastFlag);
double SubtractWallFromOverhighShell(TVRMOverhighShellCalc3d& calc, IRDXRecord* wall, bool bothKinds);
// A piece of the wall's solid, less the fill walls overlaying the wall that
// it meets, taken off the shell the same way.
double SubtractWallPieceFromShell(const TVRMPolyhedron3d& piece, TQTKShellCalc3d& calc, IRDXRecord* wall,
                                  bool bothKinds);
double SubtractWallPieceFromOverhighShell(const TVRMPolyhedron3d& piece, TVRMOverhighShellCalc3d& calc,
                                          IRDXRecord* wall, bool bothKinds);

// How deep the alcove goes into the insulating wall unit: its "Thickness"
// when the alcove crosses both side lines, the distance from the crossed
// side line to the alcove's back edge when it crosses one, else 0.
double GetAlcoveDepthInUnit(IRDXRecord* unit, IRDXRecord* alcove);

// A pier's plan outline against its holder (a wall or one layer of an
// insulating wall). Each exposed side of the pier (off the wall's outline) is
// held by one holder: a wall holds them all; a layer holds what stands in its
// strip across the wall, its own thickness and, for the first and the last
// layer, all beyond the wall's face on its side, measured across the wall's
// line where the pier stands. A side that runs across two strips is split
// where the layers meet. The strips of the layers of one wall cover the plan
// once, so the layers count every exposed side once between them.
struct TQTKPierPlanSides {
    double perimeter = 0.0;
    // The exposed sides in the holder's strip.
    double exposed = 0.0;
    // The pier's outline on the holder's outline (the holder's face behind the pier).
    double contact = 0.0;
    // The pier's outline on the wall's outline (all its layers).
    double wallContact = 0.0;
    // The pier meets the wall. A layer whose strip holds none of the sides
    // and that the pier does not touch gets 0 from the width.
    bool MeetsHolder() const;
    // The plan width of the holder's share: its exposed sides less the
    // holder's face behind the pier.
    double Width() const { return exposed - contact; }
};
// False without a pier or holder shape.
bool GetPierPlanSides(IRDXRecord* holder, IRDXRecord* pier, TQTKPierPlanSides& sides);
// The part of Sides (the pier's upright faces) in the holder's strip.
void KeepPierSidesOfHolder(TVRMPolyhedronShell3d& sides, IRDXRecord* holder, IRDXRecord* pier);
