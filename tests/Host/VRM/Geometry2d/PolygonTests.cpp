#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Geometry2dTestUtils.h"

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectRelative(double actual, double expected, double rel)
{
    EXPECT_NEAR(actual, expected, rel * std::abs(expected));
}

// Annulus sector between radii ri and ro over the angle phi (< pi) around c.
TVRMPolygon2d AnnulusSector(const TVRMPoint2d& c, double ri, double ro, double phi)
{
    const TVRMVector2d u0{1, 0}, u1{std::cos(phi), std::sin(phi)};
    return TVRMPolygon2d(std::vector<TVRMVertex2d>{
        {c + u0 * ri}, {c + u0 * ro, ro, CVRMArcKindCCW}, {c + u1 * ro}, {c + u1 * ri, ri, CVRMArcKindCW}});
}

// The 6000 chord / 1000 rise segment (radius 5000).
TVRMPolygon2d Segment6000()
{
    return TVRMPolygon2d(std::vector<TVRMVertex2d>{{{-3000, 0}}, {{3000, 0}, 5000, CVRMArcKindCCW}});
}

}  // namespace

TEST(Polygon2dMeasures, ArcShapesMatchClosedForms)
{
    const double theta = 2 * std::asin(0.6);
    struct Case {
        const char* name;
        TVRMPolygon2d ring;
        double area;
        double perimeter;
    };
    const Case cases[] = {
        {"circle", TVRMPolygon2d::CreateCircle({123.5, -77}, 2500), Pi * 2500 * 2500, 2 * Pi * 2500},
        {"annulus sector", AnnulusSector({10, 20}, 800, 2000, 2 * Pi / 3), Pi / 3 * (2000.0 * 2000 - 800.0 * 800),
         2 * Pi / 3 * 2800 + 2 * 1200},
        {"segment", Segment6000(), 5000.0 * 5000 / 2 * (theta - std::sin(theta)), 5000 * theta + 6000},
        {"far circle", TVRMPolygon2d::CreateCircle({1e6, -1e6}, 400), Pi * 400 * 400, 2 * Pi * 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRelative(c.ring.SignArea(), c.area, 1e-9);
        ExpectRelative(c.ring.Perimeter(), c.perimeter, 1e-9);
        TVRMPolygon2d reversed = c.ring;
        reversed.Reverse();
        ExpectRelative(reversed.SignArea(), -c.area, 1e-9);
        ExpectRelative(reversed.Perimeter(), c.perimeter, 1e-9);
    }
}

TEST(Polygon2dMeasures, BoxOfArcsAndOrientation)
{
    const TVRMBox2d box = Segment6000().Box();
    EXPECT_NEAR(box.max.y, 1000, 1e-9);
    EXPECT_NEAR(box.min.y, 0, 1e-9);
    EXPECT_FALSE(Box2d(0, 0, 1, 1).IsClockwise());
    TVRMPolygon2d hole = TVRMPolygon2d::CreateCircle({0, 0}, 10, true);
    EXPECT_TRUE(hole.IsHole());
    EXPECT_TRUE(hole.IsCircle());
}

TEST(Polygon2dItems, RectangleAndCircleItems)
{
    const TVRMRectangle2d rect({100, 200}, 300, 50, Pi / 6);
    EXPECT_EQ(rect.ItemKind(), TVRMPolygonKind::Rectangle);
    EXPECT_TRUE(rect.IsRectangle());
    EXPECT_NEAR(rect.SignArea(), 4 * 300 * 50, 1e-7);
    const TVRMPoint2d first = rect.GetVertex(0).pt;  // c + R(theta)(-a, -b)
    EXPECT_NEAR(first.x, 100 - 300 * std::cos(Pi / 6) + 50 * std::sin(Pi / 6), 1e-9);
    EXPECT_NEAR(first.y, 200 - 300 * std::sin(Pi / 6) - 50 * std::cos(Pi / 6), 1e-9);

    TVRMMultiPolygon2d set;
    set.Add(rect);
    EXPECT_TRUE(set.IsRectangle());
    EXPECT_FALSE(set.IsCircle());
    set.Clear();
    set.Add(TVRMPolygon2d::CreateCircle({5, 5}, 40));
    double r = 0;
    EXPECT_TRUE(set.IsCircle(CVRMEpsilon, &r));
    EXPECT_DOUBLE_EQ(r, 40);
    EXPECT_EQ(set.GetItems(0).ItemKind(), TVRMPolygonKind::Circle);

    // Geometric tests on plain polygons.
    EXPECT_TRUE(Box2d(0, 0, 10, 5).IsRectangle());
    EXPECT_FALSE(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {10, 0}, {11, 5}, {0, 5}}).IsRectangle());
    EXPECT_FALSE(Segment6000().IsCircle());
}

TEST(Polygon2dConstruct, BetweenLinesBandAndCircle)
{
    const TVRMPolygon2d between = TVRMPolygon2d::CreateBetweenLines(TVRMCustomLine2d({0, 1000}, {4000, 1000}),
                                                                    TVRMCustomLine2d({0, 0}, {4000, 0}));
    EXPECT_FALSE(between.IsClockwise());
    EXPECT_DOUBLE_EQ(between.Area(), 4e6);

    // Band: start-right, end-right, end-left, start-left.
    const TVRMPolygon2d band = TVRMPolygon2d::CreateBand(TVRMCustomLine2d({0, 0}, {5000, 0}), 100, 140);
    ASSERT_EQ(band.GetCount(), 4);
    EXPECT_EQ(band.GetVertex(0).pt, (TVRMPoint2d{0, -140}));
    EXPECT_EQ(band.GetVertex(2).pt, (TVRMPoint2d{5000, 100}));
    EXPECT_DOUBLE_EQ(band.SignArea(), 5000 * 240.0);

    // A band along an arc is an annulus sector: (Ro - Ri) on one side, 0 on the other.
    const TVRMCustomLine2d arc({2000, 0}, {0, 2000}, 2000, CVRMArcKindCCW);
    const TVRMPolygon2d arcBand = TVRMPolygon2d::CreateBand(arc, 0, 500);
    EXPECT_NEAR(arcBand.SignArea(), Pi / 4 * (2500.0 * 2500 - 2000.0 * 2000), 1e-6);
}

// A ring cut from a clean one (a plan less a column): the vertices kept from the clean ring
// between their old neighbours are stepped over, and the cleaning ends as a full one does.
TEST(Polygon2dNormalize, SettledVerticesAreCleanedAsByTheFullCleaning)
{
    const auto clean = [](std::vector<TVRMPoint2d> points) {
        TVRMPolygon2d ring(points);
        EXPECT_TRUE(ring.Normalize());
        EXPECT_EQ(ring.GetCount(), static_cast<int>(points.size()));
        EXPECT_TRUE(ring.IsNormalized());
        return ring;
    };
    // Corners and a notch. Then a bump of 1.2e-3 in an edge (just over the tolerance): with
    // a point put 0.7e-3 off the edge's line one edge further on, its neighbour lies on the
    // straight run within the tolerance, and once that has gone, the bump too.
    const TVRMPolygon2d notch =
        clean({{0, 0}, {1000, 0}, {1000, 400}, {800, 600}, {1000, 800}, {1000, 1000}, {0, 1000}});
    const TVRMPolygon2d bump = clean({{-1000, 0}, {0, 0.0012}, {1000, 0}, {1000, 1000}, {-1000, 1000}});
    const TVRMPolygon2d bumpBack = clean({{1000, 1000}, {-1000, 1000}, {-1000, 0}, {0, 0.0012}, {1000, 0}});
    const auto N = [&](int k) { return notch.Vertices()[static_cast<size_t>(k)]; };
    const auto B = [&](int k) { return bump.Vertices()[static_cast<size_t>(k)]; };
    const auto R = [&](int k) { return bumpBack.Vertices()[static_cast<size_t>(k)]; };
    const TVRMVertex2d halfCircle{{-500, 0}, 500, CVRMArcKindCW};  // to (500, 0), into the ring
    const struct {
        const char* name;
        const TVRMPolygon2d& source;
        std::vector<TVRMVertex2d> ring;
        size_t first, count;  // the vertices between their neighbours in `source`
        size_t kept;          // by hand
    } cases[] = {
        {"corner cut, nothing goes", notch, {{{200, 0}}, N(1), N(2), N(3), N(4), N(5), N(6), {{0, 200}}}, 2, 4, 8},
        {"the vertex before the settled run on a straight run",
         notch,
         {{{1000, -100}}, N(1), N(2), N(3), N(4), N(5), N(6), {{0, -100}}},
         2,
         4,
         7},
        {"cut point on the vertex before the settled run",
         notch,
         {{{1000, 0}}, N(1), N(2), N(3), N(4), N(5), N(6), {{0, -100}}},
         2,
         4,
         7},
        {"the vertex after the settled run a spike's tip",
         notch,
         {{{500, 0}}, N(1), N(2), N(3), N(4), N(5), N(6), {{500, 1000}}},
         2,
         4,
         7},
        {"an arc's chord on the line of the edge before the settled run",
         notch,
         {halfCircle, {{500, 0}}, N(1), N(2), N(3), N(4), N(5), N(6)},
         3,
         4,
         8},
        {"the first vertex goes: the settled run at the end loses its last",
         notch,
         {N(0), {{0, -200}}, N(2), N(3), N(4), N(5), N(6)},
         3,
         4,
         6},
        {"the last vertex goes: the settled run at the start loses its first",
         notch,
         {N(1), N(2), N(3), {{-200, 0}}, N(0)},
         0,
         2,
         4},
        {"the vertex before the settled run goes, then its first",
         bump,
         {{{-2000, 0.0007}}, B(0), B(1), B(2), B(3), B(4), {{-2000, 1200}}},
         2,
         3,
         5},
        {"the vertex after the settled run goes, then its last",
         bumpBack,
         {{{2000, 1200}}, R(0), R(1), R(2), R(3), R(4), {{2000, 0.0007}}},
         2,
         3,
         5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each settled vertex stands between its neighbours in the clean ring.
        const std::vector<TVRMVertex2d>& s = c.source.Vertices();
        for (size_t k = c.first; k < c.first + c.count; ++k) {
            const size_t n = c.ring.size(), m = s.size();
            const auto at = std::find(s.begin(), s.end(), c.ring[k]);
            ASSERT_NE(at, s.end());
            const size_t j = static_cast<size_t>(at - s.begin());
            ASSERT_EQ(c.ring[(k + n - 1) % n], s[(j + m - 1) % m]);
            ASSERT_EQ(c.ring[(k + 1) % n], s[(j + 1) % m]);
        }
        TVRMPolygon2d full(c.ring), settled(c.ring);
        ASSERT_TRUE(full.Normalize());
        ASSERT_TRUE(settled.Normalize(CVRMEpsilon, c.first, c.count));
        EXPECT_TRUE(settled.IsNormalized());
        EXPECT_EQ(settled.Vertices(), full.Vertices());
        EXPECT_EQ(full.GetCount(), static_cast<int>(c.kept));
    }
    // Any change leaves the ring to be looked at whole again.
    TVRMPolygon2d added = notch, moved = notch, opened = notch;
    added.Add(TVRMPoint2d{0, 500});
    moved.Move({1, 0});
    opened.Vertices();
    EXPECT_FALSE(added.IsNormalized());
    EXPECT_FALSE(moved.IsNormalized());
    EXPECT_FALSE(opened.IsNormalized());
}

TEST(Polygon2dNormalize, CleansRingsAndTurnsLoneClockwiseRings)
{
    // Repeated vertex, a vertex on a straight run and a spike shorter than the tolerance.
    TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{0, 0},
                                                {500, 0},
                                                {500, 0.0001},
                                                {1000, 0},
                                                {1000, 1000},
                                                {500, 1000},
                                                {500, 1000.0005},
                                                {500, 1000},
                                                {0, 1000}});
    ASSERT_TRUE(ring.Normalize());
    EXPECT_EQ(ring.GetCount(), 4);
    EXPECT_NEAR(ring.Area(), 1e6, 1e-3);

    TVRMPolygon2d flat(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}, {2000, 0.0004}});
    EXPECT_FALSE(flat.Normalize());

    // Outer ring given clockwise with a hole given clockwise: the outer ring is turned, the hole stays.
    TVRMPolygon2d outer = Box2d(0, 0, 100, 100);
    outer.Reverse();
    TVRMPolygon2d hole = Box2d(10, 10, 20, 20);
    hole.Reverse();
    TVRMMultiPolygon2d set = SetOf({outer, hole, Box2d(500, 500, 500.0001, 600)});
    set.Normalize();
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_FALSE(set.IsHole(0));
    EXPECT_TRUE(set.IsHole(1));
    EXPECT_DOUBLE_EQ(set.Area(), 10000 - 100);
    EXPECT_EQ(set.GetEdgeCount(), 8);
    EXPECT_DOUBLE_EQ(set.Perimeter(), 440);

    // A clone is a set of its own.
    std::unique_ptr<TVRMMultiPolygon2d> copy = set.Clone();
    copy->GetItems(1).Move({5, 5});
    copy->Add(Box2d(200, 200, 300, 300));
    EXPECT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetItems(1).Box().min.x, 10);
    EXPECT_DOUBLE_EQ(copy->Area(), 10000 - 100 + 10000);
    EXPECT_TRUE(TVRMMultiPolygon2d::Create()->IsEmpty());
}

TEST(Polygon2dMoveMirror, MirrorKeepsMeasuresAndOrientation)
{
    const TVRMCustomLine2d axis({0, 0}, {0, 1});  // the y axis
    EXPECT_EQ(TVRMMirrorFunc2d::Mirror(TVRMPoint2d{3, 4}, axis), (TVRMPoint2d{-3, 4}));
    TVRMCustomLine2d arc({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    TVRMMirrorFunc2d::Mirror(arc, axis);
    EXPECT_TRUE(arc.IsClockwise());
    TVRMPoint2d c;
    ASSERT_TRUE(arc.CenterPt(c));
    EXPECT_NEAR(c.x, 0, 1e-9);
    EXPECT_NEAR(c.y, 0, 1e-9);

    const TVRMPolygon2d segment(std::vector<TVRMVertex2d>{{{-3000, 0}}, {{3000, 0}, 5000, CVRMArcKindCCW}});
    TVRMMultiPolygon2d set = SetOf({segment});
    set.Move({100, 0});
    TVRMMirrorFunc2d::Mirror(set, TVRMCustomLine2d({0, 0}, {1, 0}));  // the x axis
    EXPECT_NEAR(set.SignArea(), segment.SignArea(), 1e-6);
    EXPECT_NEAR(set.Box().min.y, -1000, 1e-9);
    EXPECT_NEAR(set.Box().min.x, -2900, 1e-9);
}
