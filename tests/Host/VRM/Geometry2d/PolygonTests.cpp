#include <gtest/gtest.h>

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
