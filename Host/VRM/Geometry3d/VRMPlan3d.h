// Plan polygons on the 3D side: arc edges faceted, rings lifted to levels.
// Internal to the 3D geometry units.
#pragma once

#include <optional>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace vrm3d {

// A ring with its arc edges replaced by facets of at most CVRMArcFacetAngle;
// arcs[i] is the circle of the edge from points[i] to the next point (centre
// at z = 0, axis +z) or empty for a straight edge.
struct TPlanRing {
    std::vector<TVRMPoint2d> points;
    std::vector<std::optional<TVRMFaceArc>> arcs;
    double arcArea = 0;  // signed area between the facets and the arcs (counter-clockwise arcs positive)
};

// The points of a line piece (both ends; an arc by facets) with the circle of each step.
TPlanRing FacetLine(const TVRMCustomLine2d& line);
TPlanRing FacetRing(const TVRMPolygon2d& ring);
// Every ring of a set with at least three points, in item order.
std::vector<TPlanRing> FacetPlan(const TVRMMultiPolygon2d& plan);
// Sum of the rings' arc areas: what a plan face over them adds to its chord polygon.
double ArcArea(const std::vector<TPlanRing>& rings);
TVRMLoop3d LiftRing(const TPlanRing& ring, double z);
// Adds the plan projection of a loop as a ring of the set.
void AddPlanRing(TVRMMultiPolygon2d& plan, const TVRMLoop3d& loop);

// x - c (kind CVRMBoolSubtract) or x * c (CVRMBoolIntersect) where c is one convex
// counter-clockwise ring (a round column's chords, a beam, an opening) and x a set of rings
// apart from each other, neither with arc edges: the rings the plan boolean gives (input
// vertices exact, crossings on the crossing of the input edges' lines), added to `result`.
// Only in general position: false (`result` untouched) when a vertex of either lies within a
// hundredth of a millimetre of the other's boundary, crossings come as close, or a crossing
// is grazing; the plan boolean settles those.
// With `origins` (and `result` empty): per vertex of the result's rings in order, the input edge
// that the result's edge from it lies on: k >= 0 for x's edge from its vertex k (x's rings in
// order, their vertices counted on), -1 - i for c's edge i. Left empty when a ring's cleaning
// joined edges of different origins or c became a hole.
bool CutConvex(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& c, int kind, TVRMMultiPolygon2d& result,
               std::vector<int>* origins = nullptr);

}  // namespace vrm3d
