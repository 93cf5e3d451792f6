#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "Geometry2dTestUtils.h"
#include "Host/VRM/Geometry2d/VRMSearchPoly2d.h"

namespace {

constexpr double Pi = std::numbers::pi;

// A wall line with its index, thickness and axis offset (distance from its left face).
struct Wall {
    TVRMCustomLine2d line;
    int index;
    double thickness = 240;
    double axisOffset = 120;
};

TVRMCustomLine2d Seg(double x0, double y0, double x1, double y1)
{
    return TVRMCustomLine2d({x0, y0}, {x1, y1});
}

// Four 240 walls on the axis rectangle 6000 x 4000, counter-clockwise, indexes 0..3 from the bottom.
std::vector<Wall> Rectangle(double overshoot = 0)
{
    const double o = overshoot;
    return {{Seg(-o, 0, 6000 + o, 0), 0},
            {Seg(6000, -o, 6000, 4000 + o), 1},
            {Seg(6000 + o, 4000, -o, 4000), 2},
            {Seg(0, 4000 + o, 0, -o), 3}};
}

std::vector<Wall> With(std::vector<Wall> walls, std::initializer_list<Wall> more)
{
    walls.insert(walls.end(), more.begin(), more.end());
    return walls;
}

std::vector<Wall> Replace(std::vector<Wall> walls, int at, Wall wall)
{
    walls[at] = wall;
    return walls;
}

struct Expected {
    TVRMPoint2d start;
    double area;
    std::vector<int> edgeIndexes;
};

struct SearchCase {
    std::string name;
    std::vector<Wall> walls;
    bool autoClose;
    std::vector<Expected> regions;  // FindPolys
    std::vector<Expected> bigs;     // FindBigPolys
};

void ExpectRegions(const std::vector<TVRMSearchRegion2d>& found, const std::vector<Expected>& expected,
                   const std::string& what)
{
    ASSERT_EQ(found.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        const TVRMSearchRegion2d& r = found[i];
        EXPECT_TRUE(r.outer.ring.GetVertex(0).pt.IsEqualTo(expected[i].start, 1e-6)) << what << " region " << i;
        EXPECT_NEAR(r.Area(), expected[i].area, 1e-3) << what << " region " << i;
        EXPECT_GT(r.outer.ring.SignArea(), 0.0) << what << " region " << i;
        EXPECT_EQ(r.outer.edgeIndexes, expected[i].edgeIndexes) << what << " region " << i;
        EXPECT_EQ(r.outer.ring.GetEdgeCount(), static_cast<int>(expected[i].edgeIndexes.size())) << what;
    }
}

}  // namespace

TEST(SearchPoly2d, WallLineSets)
{
    const double full = 6000.0 * 4000;
    const double half = 2500.0 * 4000;
    const double arcRoom = full + Pi * 3000 * 3000 / 2;
    // Outer faces as axis lines: the band lies on the left (inside), axis offset = thickness.
    const std::vector<Wall> faces = {{Seg(0, 0, 6240, 0), 0, 240, 240},
                                     {Seg(6240, 0, 6240, 4240), 1, 240, 240},
                                     {Seg(6240, 4240, 0, 4240), 2, 240, 240},
                                     {Seg(0, 4240, 0, 0), 3, 240, 240}};
    const std::vector<SearchCase> cases = {
        {"rectangle", Rectangle(), false, {{{0, 0}, full, {0, 1, 2, 3}}}, {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"inner wall splits it",
         With(Rectangle(), {{Seg(2500, 0, 2500, 4000), 4}}),
         false,
         {{{0, 0}, half, {0, 4, 2, 3}}, {{2500, 0}, full - half, {0, 1, 2, 4}}},
         {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"100 short closes with AutoClose",
         Replace(Rectangle(), 1, {Seg(6000, 100, 6000, 4000), 1}),
         true,
         {{{0, 0}, full, {0, 1, 2, 3}}},
         {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"100 short stays open without", Replace(Rectangle(), 1, {Seg(6000, 100, 6000, 4000), 1}), false, {}, {}},
        {"240 short closes (sum of half widths)",
         Replace(Rectangle(), 1, {Seg(6000, 240, 6000, 4000), 1}),
         true,
         {{{0, 0}, full, {0, 1, 2, 3}}},
         {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"241 short stays open", Replace(Rectangle(), 1, {Seg(6000, 241, 6000, 4000), 1}), true, {}, {}},
        {"400 short stays open", Replace(Rectangle(), 1, {Seg(6000, 400, 6000, 4000), 1}), true, {}, {}},
        {"overshooting corners are trimmed",
         Rectangle(120),
         true,
         {{{0, 0}, full, {0, 1, 2, 3}}},
         {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"stub wall dropped",
         With(Rectangle(), {{Seg(3000, 0, 3000, 1000), 4}}),
         true,
         {{{0, 0}, full, {0, 1, 2, 3}}},
         {{{0, 0}, full, {0, 1, 2, 3}}}},
        {"arc wall of radius 3000",
         Replace(Rectangle(), 2, {TVRMCustomLine2d({6000, 4000}, {0, 4000}, 3000, CVRMArcKindCCWMajor), 2}),
         true,
         {{{0, 0}, arcRoom, {0, 1, 2, 3}}},
         {{{0, 0}, arcRoom, {0, 1, 2, 3}}}},
        {"axis on the outer face", faces, true, {{{120, 120}, full, {0, 1, 2, 3}}}, {{{120, 120}, full, {0, 1, 2, 3}}}},
    };
    for (const SearchCase& c : cases) {
        TVRMSmartSearchPolyEx2d search(CVRMEpsilon, c.autoClose);
        for (const Wall& w : c.walls)
            search.AddWall(w.line, w.index, w.thickness, w.axisOffset);
        ExpectRegions(search.FindPolys(), c.regions, c.name + " (regions)");
        ExpectRegions(search.FindBigPolys(), c.bigs, c.name + " (big)");
    }
}

TEST(SearchPoly2d, ArcEdgeStaysAnArc)
{
    TVRMSmartSearchPolyEx2d search;
    for (const Wall& w :
         Replace(Rectangle(), 2, {TVRMCustomLine2d({6000, 4000}, {0, 4000}, 3000, CVRMArcKindCCWMajor), 2}))
        search.AddWall(w.line, w.index, w.thickness, w.axisOffset);
    const auto& regions = search.FindPolys();
    ASSERT_EQ(regions.size(), 1u);
    const TVRMCustomLine2d top = regions[0].outer.ring.GetEdge(2);
    EXPECT_TRUE(top.IsArc());
    EXPECT_DOUBLE_EQ(top.Radius(), 3000);
    EXPECT_NEAR(top.Length(), Pi * 3000, 1e-6);
}

TEST(SearchPoly2d, BigPolygonReportsEveryWallOfItsGroup)
{
    TVRMSmartSearchPolyEx2d search;
    for (const Wall& w : With(Rectangle(), {{Seg(2500, 0, 2500, 4000), 4}}))
        search.AddWall(w.line, w.index, w.thickness, w.axisOffset);
    ASSERT_EQ(search.FindBigPolys().size(), 1u);
    EXPECT_EQ(search.FindBigPolys()[0].lineIndexes, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(search.FindPolys().size(), 2u);
    EXPECT_EQ(search.FindPolys()[0].lineIndexes, (std::vector<int>{0, 2, 3, 4}));
}

TEST(SearchPoly2d, SameResultWhateverTheInputOrderAndDirection)
{
    const std::vector<Wall> walls = With(Rectangle(120), {{Seg(2500, 0, 2500, 4000), 4}});
    TVRMSmartSearchPolyEx2d forward, backward;
    for (const Wall& w : walls)
        forward.AddWall(w.line, w.index, w.thickness, w.axisOffset);
    for (auto it = walls.rbegin(); it != walls.rend(); ++it)
        backward.AddWall(it->line.Reversed(), it->index, it->thickness, it->thickness - it->axisOffset);
    const auto& a = forward.FindPolys();
    const auto& b = backward.FindPolys();
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].outer.edgeIndexes, b[i].outer.edgeIndexes);
        EXPECT_EQ(a[i].outer.ring.Vertices(), b[i].outer.ring.Vertices());
    }
}

TEST(SearchPoly2d, ClosedGroupInsideARoomIsAHole)
{
    TVRMSearchPoly2d search;
    for (const Wall& w : Rectangle())
        search.AddLine(w.line, w.index);
    search.AddPolygon(Box2d(2000, 1000, 3000, 2000), 9);
    const auto& regions = search.FindPolys();
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].holes.size(), 1u);
    EXPECT_DOUBLE_EQ(regions[0].Area(), 6000.0 * 4000 - 1000.0 * 1000);
    EXPECT_DOUBLE_EQ(regions[1].Area(), 1000.0 * 1000);
    EXPECT_EQ(search.FindBigPolys().size(), 2u);
}

TEST(SearchPoly2d, TrenchRingGivesOneBigPolygonAroundTheHollow)
{
    // Bottom board, two side walls standing on it, cover board on them (sections, mm).
    const std::vector<TVRMPolygon2d> units = {Box2d(0, 0, 1000, 100), Box2d(0, 100, 100, 800),
                                              Box2d(900, 100, 1000, 800), Box2d(0, 800, 1000, 900)};
    TVRMSearchPoly2d search;
    for (size_t i = 0; i < units.size(); ++i)
        search.AddPolygon(units[i], static_cast<int>(i));
    const auto& bigs = search.FindBigPolys();
    ASSERT_EQ(bigs.size(), 1u);
    EXPECT_DOUBLE_EQ(bigs[0].Area(), 1000.0 * 900);
    std::unique_ptr<TVRMMultiPolygon2d> hollow = bigs[0].ToMultiPolygon().Clone();
    for (const TVRMPolygon2d& u : units)
        hollow = TVRMIntersectFunc2d::SyncSubPolygon(*hollow, SetOf({u}));
    ASSERT_EQ(hollow->GetCount(), 1);
    EXPECT_DOUBLE_EQ(hollow->Area(), 800.0 * 700);
    EXPECT_EQ(hollow->Box().min.x, 100.0);
    EXPECT_EQ(hollow->Box().max.y, 800.0);
    // The faces: the four units and the hollow between them.
    EXPECT_EQ(search.FindPolys().size(), 5u);
}
