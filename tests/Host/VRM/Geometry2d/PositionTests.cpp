#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Geometry2dTestUtils.h"

using PF = TVRMPositionFunc2d;
using IF = TVRMIntersectFunc2d;

namespace {

const TVRMCustomLine2d XAxis10({0, 0}, {10, 0});

}  // namespace

TEST(Position2d, SignsAndSides)
{
    EXPECT_DOUBLE_EQ(PF::SignedDistanceTo({0, -5}, XAxis10), 5.0);
    EXPECT_EQ(PF::PointSegSide({0, -5}, XAxis10), 2);
    EXPECT_DOUBLE_EQ(PF::SignedDistanceTo({0, 5}, XAxis10), -5.0);
    EXPECT_EQ(PF::PointSegSide({0, 5}, XAxis10), 1);
    EXPECT_EQ(PF::PointSegSide({20, 0.001}, XAxis10), 0);
    // Segment distance: to the nearest point of the piece, signed by the side.
    EXPECT_DOUBLE_EQ(PF::SignedDistanceTo({13, -4}, XAxis10, true), 5.0);
    EXPECT_DOUBLE_EQ(PF::DistanceTo({13, 4}, XAxis10), 5.0);
    // Arcs: right of the travel direction; a counter-clockwise arc has its outside on the right.
    const TVRMCustomLine2d ccw({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    EXPECT_NEAR(PF::SignedDistanceTo({2000, 2000}, ccw), 2000 * std::sqrt(2.0) - 1000, 1e-9);
    EXPECT_EQ(PF::PointSegSide({100, 100}, ccw), 1);
    EXPECT_EQ(PF::PointSegSide({100, 100}, ccw.Reversed()), 2);
    const TVRMPoint2d foot = PF::ClosestPointTo({-500, -10}, ccw, true);
    EXPECT_EQ(foot, (TVRMPoint2d{0, 1000}));
    const TVRMPoint2d onCircle = PF::ClosestPointTo({-500, 0}, ccw, false);
    EXPECT_NEAR(onCircle.x, -1000, 1e-9);
}

TEST(Position2d, PointPositionCodes)
{
    struct Case {
        TVRMPoint2d p;
        int onLine, inSquare;
    };
    const TVRMPolygon2d square = Box2d(0, 0, 10, 10);
    for (const Case& c : {Case{{5, 0}, 0, 1}, Case{{0, 0}, 1, 1}, Case{{20, 0}, 2, 2}, Case{{5, 5}, 2, 0},
                          Case{{10.0005, 5}, 2, 1}, Case{{5, -0.002}, 2, 2}}) {
        EXPECT_EQ(PF::PointPosition(c.p, XAxis10), c.onLine) << c.p.x << "," << c.p.y;
        EXPECT_EQ(PF::PointPosition(c.p, square), c.inSquare) << c.p.x << "," << c.p.y;
    }
    // Arc edges and holes count.
    const TVRMMultiPolygon2d ring =
        SetOf({TVRMPolygon2d::CreateCircle({0, 0}, 1000), TVRMPolygon2d::CreateCircle({0, 0}, 500, true)});
    EXPECT_EQ(PF::PointPosition({0, 990}, ring), 0);
    EXPECT_EQ(PF::PointPosition({700, 0}, ring), 0);  // on the chord the two half circles share
    EXPECT_EQ(PF::PointPosition({0, 0}, TVRMPolygon2d::CreateCircle({0, 0}, 10)), 0);
    EXPECT_EQ(PF::PointPosition({0, 0}, TVRMPolygon2d::CreateCircle({0, 0}, 10, true)), 0);
    EXPECT_EQ(PF::PointPosition({0, 200}, ring), 2);
    EXPECT_EQ(PF::PointPosition({0, -500}, ring), 1);
    EXPECT_EQ(PF::PointPosition({800, 800}, ring), 2);
    const TVRMPolygon2d segment(std::vector<TVRMVertex2d>{{{-3000, 0}}, {{3000, 0}, 5000, CVRMArcKindCCW}});
    EXPECT_EQ(PF::PointPosition({0, 999}, segment), 0);
    EXPECT_EQ(PF::PointPosition({0, -1}, segment), 2);
    EXPECT_EQ(PF::PointPosition({2900, 200}, segment), 2);
}

TEST(Position2d, PolyPolyPositionCodes)
{
    const TVRMPolygon2d a = Box2d(0, 0, 1, 1);
    struct Case {
        TVRMPolygon2d b;
        int code;
    };
    const Case cases[] = {
        {Box2d(2, 0, 3, 1), 0},         {Box2d(1, 0, 2, 1), 2},      {Box2d(0.5, 0.5, 1.5, 1.5), 1},
        {Box2d(0.2, 0.2, 0.8, 0.8), 4}, {Box2d(-1, -1, 2, 2), 3},    {Box2d(0, 0, 1, 1), 7},
        {Box2d(1, 1, 2, 2), 2},         {Box2d(1.0005, 0, 2, 1), 2}, {Box2d(1.01, 0, 2, 1), 0},
        {Box2d(0.9995, 0, 2, 1), 2},  // an overlap thinner than the tolerance is a touch
        {Box2d(0, 0, 0.5, 1), 4},     // inside, sharing three sides
        {Box2d(0, 0, 1, 1.5), 3},
    };
    for (const Case& c : cases) {
        const TVRMBox2d box = c.b.Box();
        EXPECT_EQ(PF::PolyPolyPosition(a, c.b), c.code) << box.min.x << "," << box.min.y;
    }
    // Arcs: a circle touching a square's side, and one inside it.
    EXPECT_EQ(PF::PolyPolyPosition(Box2d(0, 0, 1000, 1000), TVRMPolygon2d::CreateCircle({1500, 500}, 500)), 2);
    EXPECT_EQ(PF::PolyPolyPosition(Box2d(0, 0, 1000, 1000), TVRMPolygon2d::CreateCircle({500, 500}, 500)), 4);
    EXPECT_EQ(PF::PolyPolyPosition(TVRMPolygon2d::CreateCircle({0, 0}, 700), TVRMPolygon2d::CreateCircle({0, 0}, 700)),
              7);
    // Sets are taken as unions: two halves together equal the whole.
    EXPECT_EQ(PF::MultiPolyMultiPolyPosition(SetOf({Box2d(0, 0, 1, 2), Box2d(1, 0, 2, 2)}), BoxSet(0, 0, 2, 2)), 7);
    EXPECT_EQ(PF::PolyMultiPolyPosition(Box2d(3, 3, 4, 4), BoxSet(0, 0, 2, 2)), 0);
}

TEST(Position2d, LineAgainstSet)
{
    const TVRMMultiPolygon2d set = BoxSet(0, 0, 10, 10);
    struct Case {
        TVRMCustomLine2d line;
        int code;
    };
    for (const Case& c : {Case{{{-5, 20}, {5, 20}}, 0}, Case{{{-5, 5}, {0, 5}}, 2}, Case{{{2, 0}, {8, 0}}, 3},
                          Case{{{-5, 5}, {5, 5}}, 4}, Case{{{2, 2}, {8, 8}}, 5}, Case{{{0, 5}, {10, 5}}, 5}}) {
        EXPECT_EQ(PF::LineMultiPolyPosition(c.line, set), c.code) << c.line.StartPt().x << "," << c.line.StartPt().y;
    }
}

TEST(Position2d, ParallelSameDirectionAndSubSeg)
{
    const TVRMCustomLine2d a({0, 0}, {1000, 0});
    EXPECT_TRUE(PF::IsParallel(a, TVRMCustomLine2d({0, 100}, {-1000, 101.9})));
    EXPECT_FALSE(PF::IsParallel(a, TVRMCustomLine2d({0, 100}, {1000, 102.1})));
    EXPECT_TRUE(PF::IsParallel(a, TVRMCustomLine2d({0, 100}, {1000, 109}), 0.01));
    EXPECT_FALSE(PF::IsSameDirection(a, TVRMCustomLine2d({0, 100}, {-1000, 100})));
    const TVRMCustomLine2d arc1({1000, 0}, {0, 1000}, 1000, 1), arc2({0, 2000}, {2000, 0}, 2000, 2);
    EXPECT_TRUE(PF::IsParallel(arc1, arc2));
    EXPECT_FALSE(PF::IsSameDirection(arc1, arc2));
    EXPECT_FALSE(PF::IsParallel(arc1, a));

    // Between lengths, also beyond the ends; between points.
    const TVRMCustomLine2d longer = PF::SubSeg(a, -200, 1300);
    EXPECT_EQ(longer.StartPt(), (TVRMPoint2d{-200, 0}));
    EXPECT_EQ(longer.EndPt(), (TVRMPoint2d{1300, 0}));
    EXPECT_EQ(PF::SubSeg(a, 700, 100, true).StartPt(), (TVRMPoint2d{100, 0}));
    EXPECT_EQ(PF::SubSeg(a, TVRMPoint2d{600, 50}, TVRMPoint2d{200, -50}).EndPt(), (TVRMPoint2d{200, 0}));

    // The piece of a covered by a parallel line.
    TVRMCustomLine2d piece;
    ASSERT_TRUE(PF::SubSeg(a, TVRMCustomLine2d({1500, 120}, {400, 120}), piece));
    EXPECT_EQ(piece.StartPt(), (TVRMPoint2d{400, 0}));
    EXPECT_EQ(piece.EndPt(), (TVRMPoint2d{1000, 0}));
    EXPECT_FALSE(PF::SubSeg(a, TVRMCustomLine2d({1000, 0}, {2000, 0}), piece));  // end to end only
    ASSERT_TRUE(PF::SubSeg(arc1, TVRMCustomLine2d({0, 2000}, {2000, 0}, 2000, 2), piece));
    EXPECT_NEAR(piece.Length(), arc1.Length(), 1e-9);

    TVRMPoint2d p1, p2;
    ASSERT_TRUE(PF::GetTwoLineOverLapPoints(a, TVRMCustomLine2d({1500, 0}, {400, 0}), p1, p2));
    EXPECT_EQ(p1, (TVRMPoint2d{400, 0}));
    EXPECT_EQ(p2, (TVRMPoint2d{1000, 0}));
    EXPECT_TRUE(PF::IsSubSeg(a, TVRMCustomLine2d({100, 0}, {200, 0})));

    std::vector<TVRMPoint2d> points{{700, 3}, {-20, 0}, {300, -9}};
    PF::SortPoint(points, a);
    EXPECT_EQ(points[0].x, -20);
    EXPECT_EQ(points[2].x, 700);
}

TEST(Intersect2d, CodesOfExtendedAndBoundedCrossings)
{
    std::vector<TVRMPoint2d> pts;
    const TVRMCustomLine2d xAxis({0, 0}, {1, 0});
    ASSERT_EQ(IF::ExtIntersect(xAxis, TVRMCustomLine2d({5, 1}, {5, 2}), pts), 1);
    EXPECT_EQ(pts[0], (TVRMPoint2d{5, 0}));
    EXPECT_EQ(IF::Intersect(xAxis, TVRMCustomLine2d({5, 1}, {5, 2}), pts), 0);
    EXPECT_EQ(IF::ExtIntersect(xAxis, TVRMCustomLine2d({7, 0}, {9, 0}), pts), 3);
    EXPECT_EQ(IF::ExtIntersect(xAxis, TVRMCustomLine2d({7, 1}, {9, 1}), pts), 0);
    EXPECT_EQ(IF::ExtIntersect(xAxis, TVRMCustomLine2d({7, 1}, {7, 1}), pts), 4);

    // Bounded overlap returns the ends of the common piece; touching end to end is one point.
    const TVRMCustomLine2d a({0, 0}, {10, 0});
    ASSERT_EQ(IF::Intersect(a, TVRMCustomLine2d({15, 0}, {4, 0}), pts), 3);
    EXPECT_EQ(pts[0], (TVRMPoint2d{4, 0}));
    EXPECT_EQ(pts[1], (TVRMPoint2d{10, 0}));
    ASSERT_EQ(IF::Intersect(a, TVRMCustomLine2d({10, 0}, {20, 0}), pts), 1);
    ASSERT_EQ(IF::Intersect(a, TVRMCustomLine2d({10, 0}, {10, 5}), pts), 1);
    // Nearly parallel lines meeting at an end within the tolerance.
    ASSERT_EQ(IF::Intersect(a, TVRMCustomLine2d({10.0004, 0.0004}, {20, 0.0005}), pts), 1);

    // A line through a circle: two points ordered along the line; tangent: one.
    const TVRMCustomLine2d circleArc({1000, 0}, {-1000, 0}, 1000, CVRMArcKindCCW);
    ASSERT_EQ(IF::ExtIntersect(TVRMCustomLine2d({2000, 500}, {1500, 500}), circleArc, pts), 2);
    EXPECT_NEAR(pts[0].x, std::sqrt(750000.0), 1e-9);
    EXPECT_EQ(IF::Intersect(TVRMCustomLine2d({2000, 500}, {1500, 500}), circleArc, pts), 0);
    EXPECT_EQ(IF::Intersect(TVRMCustomLine2d({2000, 500}, {-2000, 500}), circleArc, pts), 2);
    EXPECT_EQ(IF::ExtIntersect(TVRMCustomLine2d({-5, 1000}, {5, 1000}), circleArc, pts), 1);
    // Arc against arc: two circles of radius 1000 at distance 1000; the same circle overlaps.
    const TVRMCustomLine2d other({2000, 0}, {0, 0}, 1000, CVRMArcKindCCW);
    ASSERT_EQ(IF::Intersect(circleArc, other, pts), 1);
    EXPECT_NEAR(pts[0].x, 500, 1e-9);
    EXPECT_NEAR(pts[0].y, std::sqrt(750000.0), 1e-9);
    EXPECT_EQ(IF::Intersect(circleArc, TVRMCustomLine2d({0, 1000}, {-1000, 0}, 1000, CVRMArcKindCCW), pts), 3);
    // The two halves of one circle share only their ends.
    EXPECT_EQ(IF::Intersect(circleArc, circleArc.SubLine(1000 * std::numbers::pi, 2000 * std::numbers::pi), pts), 2);
    // Nearly parallel lines cross far away, where the extensions meet.
    ASSERT_EQ(IF::ExtIntersect(xAxis, TVRMCustomLine2d({0, 1}, {1000, 1 - 1e-3}), pts), 1);
    EXPECT_NEAR(pts[0].x, 1e6, 1e-3);
    EXPECT_NEAR(pts[0].y, 0, 1e-9);
    EXPECT_EQ(IF::Intersect(xAxis, TVRMCustomLine2d({0, 1}, {1000, 1 - 1e-3}), pts), 0);
    TVRMPoint2d first;
    EXPECT_EQ(IF::FirstExtIntersect(TVRMCustomLine2d({-3000, 0}, {-2500, 0}), circleArc, first), 2);
    EXPECT_NEAR(first.x, -1000, 1e-9);
}

TEST(Intersect2d, LineAgainstPolygonSet)
{
    const TVRMMultiPolygon2d set = SetOf({Box2d(0, 0, 10, 10), Box2d(4, 4, 6, 6)});
    TVRMMultiPolygon2d withHole = set;
    withHole.GetItems(1).Reverse();
    std::vector<TVRMPoint2d> pts;
    EXPECT_EQ(IF::Intersect(TVRMCustomLine2d({-5, 5}, {15, 5}), withHole, pts), 4);
    EXPECT_EQ(pts[1], (TVRMPoint2d{4, 5}));
    std::vector<TVRMCustomLine2d> pieces;
    ASSERT_EQ(IF::Intersect(TVRMCustomLine2d({-5, 5}, {15, 5}), withHole, pieces), 2);
    EXPECT_EQ(pieces[0].StartPt(), (TVRMPoint2d{0, 5}));
    EXPECT_EQ(pieces[1].EndPt(), (TVRMPoint2d{10, 5}));
    // A line along an edge lies in the closed set.
    ASSERT_EQ(IF::Intersect(TVRMCustomLine2d({-5, 0}, {15, 0}), withHole, pieces), 1);
    EXPECT_DOUBLE_EQ(pieces[0].Length(), 10);

    std::vector<TVRMCustomLine2d> outside;
    IF::SubLines({TVRMCustomLine2d({-5, 5}, {15, 5}), TVRMCustomLine2d({-5, 0}, {15, 0})}, withHole, outside, false);
    ASSERT_EQ(outside.size(), 5u);  // two ends and the hole on the first line, two ends of the second
    EXPECT_DOUBLE_EQ(outside[1].Length(), 2);
    IF::SubLines({TVRMCustomLine2d({-5, 0}, {15, 0})}, withHole, outside, true);
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_DOUBLE_EQ(outside[0].Length(), 20);

    // Edges of one set on the boundary of another.
    std::vector<TVRMCustomLine2d> shared;
    IF::SubLines(BoxSet(10, 2, 20, 8), BoxSet(0, 0, 10, 10), shared);
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_DOUBLE_EQ(shared[0].Length(), 6);
}

TEST(Intersect2d, BreakAndCutEdges)
{
    TVRMCustomLine2d first, second;
    const TVRMCustomLine2d arc({1000, 0}, {-1000, 0}, 1000, CVRMArcKindCCW);
    ASSERT_TRUE(TVRMBreakFunc2d::BreakAt(arc, {0, 1200}, first, second));
    EXPECT_NEAR(first.Length(), 500 * std::numbers::pi, 1e-9);
    EXPECT_EQ(second.EndPt(), arc.EndPt());
    EXPECT_EQ(first.EndPt(), second.StartPt());
    EXPECT_FALSE(TVRMBreakFunc2d::BreakAt(arc, {1000, -5}, first, second));

    // Cut away the left of the line x = 4 going up (side code 1): the right part's edges plus the cut.
    const std::vector<TVRMCustomLine2d> kept =
        TVRMMiscFunc2d::CutEdges(Box2d(0, 0, 10, 10), TVRMCustomLine2d({4, -1}, {4, 0}), 1 << 1);
    double length = 0;
    for (const TVRMCustomLine2d& e : kept)
        length += e.Length();
    EXPECT_DOUBLE_EQ(length, 6 + 10 + 6 + 10);
    // Side codes 0 and 2 away: the left part without the cut... plus the cut across the ring.
    const std::vector<TVRMCustomLine2d> left =
        TVRMMiscFunc2d::CutEdges(Box2d(0, 0, 10, 10), TVRMCustomLine2d({4, -1}, {4, 0}), (1 << 0) | (1 << 2));
    length = 0;
    for (const TVRMCustomLine2d& e : left)
        length += e.Length();
    EXPECT_DOUBLE_EQ(length, 4 + 10 + 4 + 10);
}
