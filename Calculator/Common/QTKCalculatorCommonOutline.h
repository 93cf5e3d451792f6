// Outline and line constructions: a line offset between the ends of another,
// the band between two such lines, element outlines offset as a whole or
// edge by edge, the plan band that two solids share along a line, the piece
// by which one line overhangs another, polygon tests and a five-point
// Gauss-Legendre rule.
#pragma once

#include <functional>
#include <memory>

class IRDXRecord;
class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolygon2d;
class TVRMPolyhedron3d;
struct TVRMPoint2d;

// A copy of A moved sideways by D (positive: right) whose ends are put on
// the segments joining A's and B's starts and A's and B's ends. D = 0, or an
// offset that turns the line round, gives a plain copy of A.
TVRMCustomLine2d OffsetLineBetweenEnds(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double d);
// The band between A moved DA to its left and B moved DB to its right, both
// ended between the two lines' ends.
TVRMPolygon2d BuildOffsetBandPolygon(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double dA, double dB);
std::unique_ptr<TVRMMultiPolygon2d> CreateMultiPolygonFromLines(const TVRMCustomLine2d& first,
                                                                const TVRMCustomLine2d& second);

// The record's outline grown by D. With a line, only the edges that face the
// given side of it (side true: left) are moved, edge by edge; without one the
// whole outer ring is offset. A failed offset keeps the outline.
std::unique_ptr<TVRMMultiPolygon2d> GetOffsetOutline(IRDXRecord* record, const TVRMCustomLine2d* line, bool side,
                                                     double d);
// A line element's section (a lintel's from its lintel object, asserted)
// grown by D. With PerEdge and another line element E whose face line (side
// true: its left line) is parallel to the element's middle line (a lintel's
// drawn line), only the edges on that face's side are moved; otherwise, or
// when either element object cannot give those lines, the whole ring.
// Filter moves every edge running towards decreasing x.
std::unique_ptr<TVRMMultiPolygon2d> GetOffsetLineEntOutline(IRDXRecord* record, bool filter, IRDXRecord* other,
                                                            double d, bool side, bool perEdge);
// The plan band along C (straight: square to it; arc: a sector) that covers
// the intersection of solids A and B; empty when they do not meet.
std::unique_ptr<TVRMMultiPolygon2d> GetOverlapBandPolygon(const TVRMCustomLine2d& c, const TVRMPolyhedron3d& a,
                                                          const TVRMPolyhedron3d& b);
// The triangle by which A or B overhangs the other at their starts (Start)
// or ends: the two end points and the foot on the longer line. Empty when the
// ends are level along A.
std::unique_ptr<TVRMMultiPolygon2d> BuildLineEndPiecePolygon(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b,
                                                             bool start);
bool PolygonHasArc(const TVRMMultiPolygon2d& polygon);
// 0 inside or on the boundary; else the distance to the first ring.
double DistanceToPolygon(const TVRMPoint2d& point, const TVRMMultiPolygon2d& polygon);
// Five-point Gauss-Legendre sum over [-1, 1]; callers map their interval.
double IntegrateGauss5(const std::function<double(double)>& f);
