// Plan geometry functions: positions, offsets, intersections and polygon booleans.
//
// Codes (fixed for every caller):
//   PointSegSide       0 on the line (within tol), 1 left, 2 right.
//   PointPosition      polygon: 0 inside, 1 on the boundary, 2 outside; line: 0 on its inner part,
//                      1 at an end point, 2 not on it.
//   PolyPolyPosition   0 apart, 1 interiors overlap (neither contains the other), 2 touch only,
//                      3 A inside B (A != B), 4 B inside A, 7 equal (sets are taken as their union).
//   LineMultiPolyPosition  0 apart, 2 touches the boundary at points, 3 runs along the boundary,
//                      4 crosses (partly inside), 5 wholly inside.
//   Intersect / ExtIntersect  0 none, 1 one point, 2 two points (ordered along the first line),
//                      3 overlap (collinear, or the same circle), 4 degenerate input.
// Signs: signed distances and sideways offsets are positive to the right of the direction.
//
// Host geometry never throws into rule code, except the polygon booleans and what is built on
// them (Cut, IsMultiPolyInt, MultiPolyMultiPolyPosition, the polygon offsets), which raise
// EVRMIntersectException on input the boolean engine cannot resolve (coordinates, arc points
// included, that are not finite or lie beyond 1e11); degenerate rings are dropped and give an
// empty result. An arc whose centre or sweep is not finite is no arc (its chord is used).
#pragma once

#include <memory>
#include <stdexcept>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

class EVRMIntersectException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TVRMPositionFunc2d {
public:
    // Straight lines: unit directions parallel within tol (either direction); arcs: concentric
    // (centres within the length tolerance); a line and an arc: false.
    static bool IsParallel(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol = CVRMParallelEpsilon);
    // Straight lines: directions point the same way; arcs: same turning sense.
    static bool IsSameDirection(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b);

    // Distance to the piece (segment / arc).
    static double DistanceTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line);
    static double DistanceTo(const TVRMPoint2d& p, const TVRMPoint2d& q) { return p.DistanceTo(q); }
    // Positive on the right. segment true: distance to the nearest point of the piece, signed by
    // the side of the foot; false: to the infinite line / full circle.
    static double SignedDistanceTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line, bool segment = false);
    // Foot of a point: on the piece (nearest point) when segment is true, else on the infinite
    // line / full circle.
    static TVRMPoint2d ClosestPointTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line, bool segment = true);
    static double LengthAtPoint(const TVRMCustomLine2d& line, const TVRMPoint2d& p) { return line.LengthAtPoint(p); }
    static TVRMPoint2d PointAtLength(const TVRMCustomLine2d& line, double length) { return line.PointAtLength(length); }
    static TVRMPoint2d MiddlePoint(const TVRMCustomLine2d& line) { return line.MiddlePoint(); }

    // The piece between two lengths (either may lie outside 0..Length: the line is extended).
    // normalize true orders the lengths so that the piece keeps the line's direction.
    static TVRMCustomLine2d SubSeg(const TVRMCustomLine2d& line, double fromLength, double toLength,
                                   bool normalize = false);
    // The piece between the feet of two points, in the order given.
    static TVRMCustomLine2d SubSeg(const TVRMCustomLine2d& line, const TVRMPoint2d& fromPt, const TVRMPoint2d& toPt);
    // The piece of a covered by b (b's ends projected on a, clipped to a); false when they share
    // no length (not parallel, apart, or only touching at a point). Keeps a's direction.
    static bool SubSeg(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMCustomLine2d& piece,
                       double tol = CVRMEpsilon);
    // Whether b lies on a (parallel and covered within tol).
    static bool IsSubSeg(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol = CVRMEpsilon);
    // Ends of the piece that two lines share; false when none.
    static bool GetTwoLineOverLapPoints(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMPoint2d& p1,
                                        TVRMPoint2d& p2, double tol = CVRMEpsilon);

    static int PointSegSide(const TVRMPoint2d& p, const TVRMCustomLine2d& line, double tol = CVRMEpsilon);
    static int PointPosition(const TVRMPoint2d& p, const TVRMCustomLine2d& line, double tol = CVRMEpsilon);
    static int PointPosition(const TVRMPoint2d& p, const TVRMPolygon2d& polygon, double tol = CVRMEpsilon);
    static int PointPosition(const TVRMPoint2d& p, const TVRMMultiPolygon2d& set, double tol = CVRMEpsilon);
    static bool IsPointInBox(const TVRMPoint2d& p, const TVRMBox2d& box, double tol = CVRMEpsilon)
    {
        return box.Contains(p, tol);
    }
    static int PolyPolyPosition(const TVRMPolygon2d& a, const TVRMPolygon2d& b, double tol = CVRMEpsilon);
    static int PolyMultiPolyPosition(const TVRMPolygon2d& a, const TVRMMultiPolygon2d& b, double tol = CVRMEpsilon);
    static int MultiPolyMultiPolyPosition(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b,
                                          double tol = CVRMEpsilon);
    static int LineMultiPolyPosition(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set,
                                     double tol = CVRMEpsilon);
    // Sort points by their position along a line (LengthAtPoint ascending).
    static void SortPoint(std::vector<TVRMPoint2d>& points, const TVRMCustomLine2d& line);
};

class TVRMOffsetFunc2d {
public:
    // A line moved sideways by d (positive: right). An arc keeps its centre; false when its radius
    // would vanish, or for an invalid input.
    static bool Offset(const TVRMCustomLine2d& line, double d, TVRMCustomLine2d& result);
    static TVRMCustomLine2d Offset(const TVRMCustomLine2d& line, double d);
    // A polyline moved sideways by d (positive: right), corners mitred.
    static bool Offset(const TVRMLines2d& lines, double d, TVRMLines2d& result);
    // A ring grown outward by d (negative: shrunk), whatever its orientation; corners mitred,
    // arcs stay arcs. False when the ring collapses. The result keeps the ring's orientation.
    static bool Offset(const TVRMPolygon2d& ring, double d, TVRMPolygon2d& result);
    // Every ring of a set moved outward of the region (holes shrink); overlaps merged. False when
    // no outer ring remains.
    static bool Offset(const TVRMMultiPolygon2d& set, double d, TVRMMultiPolygon2d& result);
    // A ring moved outward edge by edge, one width per edge (negative: inward), corners mitred.
    // edgeMap (optional) receives for each result edge the source edge index, -1 for an edge
    // not on a moved source edge (between two parallel edges of different widths, or a moved
    // edge running backwards). False when the ring collapses. Where moved edges turn round or
    // pass each other (a narrow notch closing, an arm swallowed) the region is built from edge
    // bands and mitre pieces; should it fall apart, the largest piece is returned (a hole it
    // encloses is not), the set form below keeps every piece.
    static bool Offset(const TVRMPolygon2d& ring, const std::vector<double>& widths, TVRMPolygon2d& result,
                       std::vector<int>* edgeMap = nullptr);
};

class TVRMIntersectFunc2d {
public:
    // Crossing points of two pieces (ordered along a); see the codes above. Code 3 returns the
    // ends of the common piece.
    static int Intersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, std::vector<TVRMPoint2d>& points,
                         double tol = CVRMEpsilon);
    // Both extended (lines infinite, arcs full circles).
    static int ExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, std::vector<TVRMPoint2d>& points,
                            double tol = CVRMEpsilon);
    // The first crossing of the extended lines along a (code as ExtIntersect; point only for 1 and 2).
    static int FirstExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMPoint2d& point,
                                 double tol = CVRMEpsilon);
    // Points where a piece meets the boundary of a set, ordered along the line, without repeats.
    static int Intersect(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set, std::vector<TVRMPoint2d>& points,
                         double tol = CVRMEpsilon);
    // The pieces of a line inside a set (boundary included), in the line's direction.
    static int Intersect(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set,
                         std::vector<TVRMCustomLine2d>& pieces, double tol = CVRMEpsilon);

    // Polygon booleans; each returns a new set (possibly empty), normalised.
    static std::unique_ptr<TVRMMultiPolygon2d> IntPolygon(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b);
    // The part of a set between two heights (a horizontal band y1..y2).
    static std::unique_ptr<TVRMMultiPolygon2d> IntPolygon(const TVRMMultiPolygon2d& a, double y1, double y2);
    static std::unique_ptr<TVRMMultiPolygon2d> MergePolygon(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b);
    // Union of all rings of one set (overlapping items merged).
    static std::unique_ptr<TVRMMultiPolygon2d> MergePolygon(const TVRMMultiPolygon2d& a);
    // a minus b. Safe to call from several threads at once.
    static std::unique_ptr<TVRMMultiPolygon2d> SyncSubPolygon(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b);
    static std::unique_ptr<TVRMMultiPolygon2d> SubPolygon(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b)
    {
        return SyncSubPolygon(a, b);
    }
    // Cut a set by the infinite line through a directed line: left receives the part on its left,
    // right the part on its right (either may be empty). Raises as the booleans do.
    static void Cut(const TVRMMultiPolygon2d& set, const TVRMCustomLine2d& line, TVRMMultiPolygon2d& left,
                    TVRMMultiPolygon2d& right);
    // Whether the interiors of two sets overlap by more than a sliver of width tol.
    static bool IsMultiPolyInt(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b, double tol = CVRMEpsilon);
    // Pieces of lines against a set: the pieces outside the set, plus the pieces lying on its
    // boundary when keepOnBoundary is true, plus the pieces inside when keepInside is true.
    static void SubLines(const std::vector<TVRMCustomLine2d>& lines, const TVRMMultiPolygon2d& set,
                         std::vector<TVRMCustomLine2d>& result, bool keepOnBoundary, bool keepInside = false,
                         double tol = CVRMEpsilon);
    // The parts of a's ring edges lying on b's boundary.
    static void SubLines(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b,
                         std::vector<TVRMCustomLine2d>& result, double tol = CVRMEpsilon);
};

class TVRMBreakFunc2d {
public:
    // Split a line at the foot of a point; false when the foot is not inside the piece.
    static bool BreakAt(const TVRMCustomLine2d& line, const TVRMPoint2d& p, TVRMCustomLine2d& first,
                        TVRMCustomLine2d& second, double tol = CVRMEpsilon);
};

class TVRMMiscFunc2d {
public:
    // The edges of a ring kept when it is cut by the infinite line through a directed line.
    // sideMask is a bit set over PointSegSide codes (1 << code) of the sides cut away; the kept
    // edges are those (pieces) on the other sides, plus the cut segment(s) across the ring.
    static std::vector<TVRMCustomLine2d> CutEdges(const TVRMPolygon2d& ring, const TVRMCustomLine2d& line, int sideMask,
                                                  double tol = CVRMEpsilon);
};

class TVRMMoveFunc2d {
public:
    static void Move(TVRMCustomLine2d& line, const TVRMVector2d& v) { line.Move(v); }
    static void Move(TVRMPolygon2d& polygon, const TVRMVector2d& v) { polygon.Move(v); }
    static void Move(TVRMMultiPolygon2d& set, const TVRMVector2d& v) { set.Move(v); }
};

// Reflection in the infinite line through an axis. Arcs change their turning sense; rings keep
// their orientation (an outer ring stays counter-clockwise). A zero-length axis leaves things as
// they are.
class TVRMMirrorFunc2d {
public:
    static TVRMPoint2d Mirror(const TVRMPoint2d& p, const TVRMCustomLine2d& axis);
    static void Mirror(TVRMCustomLine2d& line, const TVRMCustomLine2d& axis);
    static void Mirror(TVRMPolygon2d& polygon, const TVRMCustomLine2d& axis);
    static void Mirror(TVRMMultiPolygon2d& set, const TVRMCustomLine2d& axis);
};
