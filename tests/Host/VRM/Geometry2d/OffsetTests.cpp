#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "Geometry2dTestUtils.h"

using OF = TVRMOffsetFunc2d;

namespace {

constexpr double Pi = std::numbers::pi;

// L-shaped room: 6000 x 4000 with the corner 3000 x 2000 cut away at the top right.
TVRMPolygon2d LShape()
{
    return TVRMPolygon2d(
        std::vector<TVRMPoint2d>{{0, 0}, {6000, 0}, {6000, 2000}, {3000, 2000}, {3000, 4000}, {0, 4000}});
}

}  // namespace

TEST(Offset2d, LinesMoveToTheRight)
{
    const TVRMCustomLine2d moved = OF::Offset(TVRMCustomLine2d({0, 0}, {10, 0}), 3);
    EXPECT_EQ(moved.StartPt(), (TVRMPoint2d{0, -3}));
    EXPECT_EQ(moved.EndPt(), (TVRMPoint2d{10, -3}));
    // An arc keeps its centre; a counter-clockwise arc grows to the right, a clockwise one shrinks.
    const TVRMCustomLine2d arc({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    TVRMCustomLine2d out;
    ASSERT_TRUE(OF::Offset(arc, 200, out));
    EXPECT_DOUBLE_EQ(out.Radius(), 1200);
    EXPECT_TRUE(out.StartPt().IsEqualTo({1200, 0}, 1e-9));
    ASSERT_TRUE(OF::Offset(arc.Reversed(), 200, out));
    EXPECT_DOUBLE_EQ(out.Radius(), 800);
    EXPECT_FALSE(OF::Offset(arc, -1000, out));  // the radius would vanish
    EXPECT_FALSE(OF::Offset(TVRMCustomLine2d({1, 1}, {1, 1}), 5, out));
}

TEST(Offset2d, SquareGrowsEdgeByEdgeWithItsMap)
{
    TVRMPolygon2d result;
    std::vector<int> map;
    ASSERT_TRUE(OF::Offset(Box2d(0, 0, 1000, 1000), std::vector<double>(4, 300), result, &map));
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 3}));
    ASSERT_EQ(result.GetCount(), 4);
    EXPECT_EQ(result.GetVertex(0).pt, (TVRMPoint2d{-300, -300}));
    EXPECT_EQ(result.GetVertex(2).pt, (TVRMPoint2d{1300, 1300}));
    EXPECT_DOUBLE_EQ(result.Area(), 1600.0 * 1600);
    // A clockwise ring grows outward too and keeps its orientation.
    TVRMPolygon2d cw = Box2d(0, 0, 1000, 1000);
    cw.Reverse();
    ASSERT_TRUE(OF::Offset(cw, 300, result));
    EXPECT_DOUBLE_EQ(result.SignArea(), -1600.0 * 1600);
}

TEST(Offset2d, LShapeWithWidthPerEdge)
{
    // Widths per edge; the two edges at the inner corner shorten, the mitres stay square.
    const std::vector<double> widths{100, 200, 300, 400, 500, 600};
    TVRMPolygon2d result;
    std::vector<int> map;
    ASSERT_TRUE(OF::Offset(LShape(), widths, result, &map));
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    const std::vector<TVRMPoint2d> expected{{-600, -100}, {6200, -100}, {6200, 2300},
                                            {3400, 2300}, {3400, 4500}, {-600, 4500}};
    ASSERT_EQ(result.GetCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(result.GetVertex(i).pt, expected[i]) << i;
    // The notch's top moved up past the top: the notch side turns round and is dropped; a
    // connecting edge joins the two parallel tops.
    ASSERT_TRUE(OF::Offset(LShape(), {0, 0, 2500, 0, 0, 0}, result, &map));
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, -1, 4, 5}));
    EXPECT_DOUBLE_EQ(result.Area(), 6000.0 * 4000 + 3000 * 500);
    ASSERT_TRUE(OF::Offset(LShape(), {0, 0, 0, 0, 0, -3000}, result, &map));  // the edge x=0 moves to x=3000
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 5}));
    EXPECT_DOUBLE_EQ(result.Area(), 3000.0 * 2000);
}

TEST(Offset2d, ParallelEdgesOfDifferentWidthsGetAConnector)
{
    // A straight side split in two edges moved by different widths: a connecting edge (-1) between them.
    const TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{0, 0}, {500, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    TVRMPolygon2d result;
    std::vector<int> map;
    ASSERT_TRUE(OF::Offset(ring, {100, 200, 0, 0, 0}, result, &map));
    EXPECT_EQ(map, (std::vector<int>{0, -1, 1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(result.Area(), 1e6 + 500 * 100 + 500 * 200);
}

TEST(Offset2d, ArcEdgesAndCollapse)
{
    // A circle grown by 100 and shrunk by 100; shrunk by its radius it collapses.
    TVRMPolygon2d result;
    ASSERT_TRUE(OF::Offset(TVRMPolygon2d::CreateCircle({0, 0}, 1000), 100, result));
    EXPECT_NEAR(result.Area(), Pi * 1100 * 1100, 1e-6);
    ASSERT_TRUE(OF::Offset(TVRMPolygon2d::CreateCircle({0, 0}, 1000), -100, result));
    EXPECT_NEAR(result.Area(), Pi * 900 * 900, 1e-6);
    EXPECT_FALSE(OF::Offset(TVRMPolygon2d::CreateCircle({0, 0}, 1000), -1000, result));
    // A rounded end: the arc edge's radius grows by the width, the straight edges move out.
    const TVRMPolygon2d stadium(
        std::vector<TVRMVertex2d>{{{0, 0}}, {{2000, 0}, 500, CVRMArcKindCCWMajor}, {{2000, 1000}}, {{0, 1000}}});
    std::vector<int> map;
    ASSERT_TRUE(OF::Offset(stadium, {50, 50, 50, 50}, result, &map));
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_DOUBLE_EQ(result.GetVertex(1).radius, 550);
    EXPECT_NEAR(result.Area(), 2050.0 * 1100 + Pi * 550 * 550 / 2, 1e-6);
    // Squares shrunk by more than half their side collapse.
    EXPECT_FALSE(OF::Offset(Box2d(0, 0, 1000, 1000), -600, result));
    EXPECT_FALSE(OF::Offset(Box2d(0, 0, 1000, 1000), std::vector<double>{-500, 0, -500, 0}, result));
    ASSERT_TRUE(OF::Offset(Box2d(0, 0, 1000, 1000), -400, result));
    EXPECT_DOUBLE_EQ(result.Area(), 200.0 * 200);
}

TEST(Offset2d, SetsGrowOutwardAndMerge)
{
    TVRMMultiPolygon2d ring = SetOf({Box2d(0, 0, 1000, 1000), Box2d(300, 300, 700, 700)});
    ring.GetItems(1).Reverse();
    TVRMMultiPolygon2d result;
    ASSERT_TRUE(OF::Offset(ring, 100, result));
    EXPECT_DOUBLE_EQ(result.Area(), 1200.0 * 1200 - 200 * 200);
    ASSERT_TRUE(OF::Offset(ring, 250, result));  // the hole closes
    EXPECT_DOUBLE_EQ(result.Area(), 1500.0 * 1500);
    // Two footprints 400 apart merge when grown by 300.
    ASSERT_TRUE(OF::Offset(SetOf({Box2d(0, 0, 1000, 1000), Box2d(1400, 0, 2400, 1000)}), 300, result));
    EXPECT_EQ(result.GetCount(), 1);
    EXPECT_DOUBLE_EQ(result.Area(), 3000.0 * 1600);
    EXPECT_FALSE(OF::Offset(BoxSet(0, 0, 100, 100), -60, result));
}

TEST(Offset2d, NotchThatClosesIsResolved)
{
    // A 200 wide, 1500 deep notch in a 3000 x 2000 block: grown by 300 the notch fills.
    const TVRMPolygon2d ring(std::vector<TVRMPoint2d>{
        {0, 0}, {3000, 0}, {3000, 2000}, {1600, 2000}, {1600, 500}, {1400, 500}, {1400, 2000}, {0, 2000}});
    TVRMPolygon2d result;
    std::vector<int> map;
    ASSERT_TRUE(OF::Offset(ring, std::vector<double>(8, 300), result, &map));
    EXPECT_DOUBLE_EQ(result.Area(), 3600.0 * 2600);
    ASSERT_EQ(map.size(), 4u);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[3], 7);
    // A C-shaped ring whose 100 wide gap closes encloses a courtyard: the set form keeps it as a
    // hole, the ring form returns the outer ring.
    const TVRMPolygon2d c(std::vector<TVRMPoint2d>{{0, 0},
                                                   {3000, 0},
                                                   {3000, 3000},
                                                   {1550, 3000},
                                                   {1550, 2500},
                                                   {2500, 2500},
                                                   {2500, 500},
                                                   {500, 500},
                                                   {500, 2500},
                                                   {1450, 2500},
                                                   {1450, 3000},
                                                   {0, 3000}});
    TVRMMultiPolygon2d grown;
    ASSERT_TRUE(OF::Offset(SetOf({c}), 100, grown));
    EXPECT_EQ(grown.GetCount(), 2);
    EXPECT_DOUBLE_EQ(grown.Area(), 3200.0 * 3200 - 1800.0 * 1800);
    ASSERT_TRUE(OF::Offset(c, 100, result));
    EXPECT_DOUBLE_EQ(result.Area(), 3200.0 * 3200);
    // Shrinking a dumbbell pinches it in two: the larger end is kept.
    const TVRMPolygon2d dumbbell(std::vector<TVRMPoint2d>{{0, 0},
                                                          {1000, 0},
                                                          {1000, 450},
                                                          {2000, 450},
                                                          {2000, 0},
                                                          {4000, 0},
                                                          {4000, 1000},
                                                          {2000, 1000},
                                                          {2000, 550},
                                                          {1000, 550},
                                                          {1000, 1000},
                                                          {0, 1000}});
    ASSERT_TRUE(OF::Offset(dumbbell, -100, result));
    EXPECT_DOUBLE_EQ(result.Area(), 1800.0 * 800);
}

TEST(Offset2d, RandomRingsKeepWidthsAndContainment)
{
    // Stars, staircases and stadiums, either orientation, moved by one width or a width per edge:
    // every mapped result edge lies at its source's width from the source's line; grown rings
    // contain the source, shrunk ones lie in it.
    std::mt19937 rng(11);
    const auto u = [&rng](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    for (int k = 0; k < 300; ++k) {
        SCOPED_TRACE(k);
        TVRMPolygon2d ring;
        if (const int kind = static_cast<int>(rng() % 3); kind == 0) {
            std::vector<TVRMPoint2d> pts;
            const int n = 3 + static_cast<int>(rng() % 9);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * Pi * i / n + u(0, 0.5), r = u(100, 900);
                pts.push_back({r * std::cos(a), r * std::sin(a)});
            }
            ring = TVRMPolygon2d(pts);
        } else if (kind == 1) {
            std::vector<TVRMPoint2d> pts{{0, 0}};
            double x = 0, y = 0;
            for (int i = 2 + static_cast<int>(rng() % 4); i > 0; --i) {
                pts.push_back({x += u(100, 800), y});
                pts.push_back({x, y += u(100, 800)});
            }
            pts.push_back({0, y});
            ring = TVRMPolygon2d(pts);
        } else {
            const double w = u(200, 1500), r = u(100, 600);
            ring = TVRMPolygon2d(std::vector<TVRMVertex2d>{
                {{0, 0}}, {{w, 0}, r, CVRMArcKindCCWMajor}, {{w, 2 * r}}, {{0, 2 * r}, r, CVRMArcKindCCWMajor}});
        }
        if (rng() % 2)
            ring.Reverse();
        const double d = u(-300, 300);
        const bool uniform = rng() % 2;
        std::vector<double> widths(ring.GetEdgeCount(), d);
        if (!uniform)
            for (double& w : widths)
                w = u(-300, 300);
        TVRMPolygon2d result;
        std::vector<int> map;
        if (!OF::Offset(ring, widths, result, &map))
            continue;  // collapsed
        ASSERT_EQ(static_cast<int>(map.size()), result.GetEdgeCount());
        EXPECT_EQ(result.IsClockwise(), ring.IsClockwise());
        const double outward = ring.IsClockwise() ? -1 : 1;
        for (int i = 0; i < result.GetEdgeCount(); ++i) {
            if (map[i] >= 0) {
                EXPECT_NEAR(outward * TVRMPositionFunc2d::SignedDistanceTo(result.GetEdge(i).MiddlePoint(),
                                                                           ring.GetEdge(map[i]), false),
                            widths[map[i]], 1e-4);
            }
        }
        if (uniform && std::abs(d) > 1) {
            TVRMMultiPolygon2d moved = SetOf({result}), source = SetOf({ring});
            moved.Normalize();
            source.Normalize();
            EXPECT_EQ(TVRMPositionFunc2d::MultiPolyMultiPolyPosition(moved, source), d > 0 ? 4 : 3);
        }
    }
}

TEST(Offset2d, PolylineMovesSideways)
{
    TVRMLines2d lines;
    lines.Add(TVRMPoint2d{0, 0});
    lines.Add(TVRMPoint2d{1000, 0});
    lines.Add(TVRMPoint2d{1000, 1000});
    TVRMLines2d result;
    ASSERT_TRUE(OF::Offset(lines, 100, result));
    ASSERT_EQ(result.GetCount(), 3);
    EXPECT_EQ(result.Vertices()[0].pt, (TVRMPoint2d{0, -100}));
    EXPECT_EQ(result.Vertices()[1].pt, (TVRMPoint2d{1100, -100}));
    EXPECT_EQ(result.Vertices()[2].pt, (TVRMPoint2d{1100, 1000}));
}

TEST(Offset2d, BadWidthsFailInsteadOfDroppingEdges)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::vector<double> widths;
    };
    const Case cases[] = {
        {"a width that is no number", {nan, 100, 100, 100}},
        {"an infinite width", {100, 100, inf, 100}},
        {"a width missing", {100, 100, 100}},
        {"widths beyond the coordinate range", std::vector<double>(4, 1e300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVRMPolygon2d result = Box2d(7, 7, 8, 8);
        std::vector<int> map{9};
        EXPECT_FALSE(OF::Offset(Box2d(0, 0, 1000, 1000), c.widths, result, &map));
        EXPECT_DOUBLE_EQ(result.Area(), 1.0) << "the result is left alone";
        EXPECT_EQ(map, std::vector<int>{9});
    }
    TVRMPolygon2d result;
    EXPECT_FALSE(OF::Offset(Box2d(0, 0, 1000, 1000), nan, result));
    EXPECT_FALSE(OF::Offset(Box2d(0, 0, 1000, 1000), 1e300, result));
    TVRMMultiPolygon2d set;
    EXPECT_FALSE(OF::Offset(BoxSet(0, 0, 1000, 1000), nan, set));
    EXPECT_FALSE(OF::Offset(SetOf({Box2d(0, 0, 1000, 1000), Box2d(2000, 0, 3000, 1000)}), 1e300, set));
}
