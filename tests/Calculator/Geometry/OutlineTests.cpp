#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

bool SameLine(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    return a.StartPt().IsEqualTo(b.StartPt(), 1e-9) && a.EndPt().IsEqualTo(b.EndPt(), 1e-9) &&
           a.ArcKind() == b.ArcKind() && a.Radius() == b.Radius();
}

TEST(OutlineTest, OffsetLineBetweenEnds)
{
    const TVRMCustomLine2d a({0, 0}, {1000, 0});
    const TVRMCustomLine2d b({200, 1000}, {800, 1000});
    EXPECT_TRUE(SameLine(OffsetLineBetweenEnds(a, b, 0.0), a));
    // Moved 200 to the left, ended on the slanted closing segments.
    const TVRMCustomLine2d moved = OffsetLineBetweenEnds(a, b, -200);
    EXPECT_TRUE(moved.StartPt().IsEqualTo({40, 200}, 1e-9));
    EXPECT_TRUE(moved.EndPt().IsEqualTo({960, 200}, 1e-9));
    // Closing segments that cross before the offset: the line would turn round.
    const TVRMCustomLine2d crossing({600, 1000}, {400, 1000});
    EXPECT_TRUE(SameLine(OffsetLineBetweenEnds(a, crossing, -900), a));
    // An arc offset past its centre gives a plain copy back too.
    const TVRMCustomLine2d arc({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    const TVRMCustomLine2d outer({2000, 0}, {0, 2000}, 2000, CVRMArcKindCCW);
    EXPECT_TRUE(SameLine(OffsetLineBetweenEnds(arc, outer, -1500), arc));
    const TVRMCustomLine2d grown = OffsetLineBetweenEnds(arc, outer, 500);
    EXPECT_NEAR(grown.Radius(), 1500, 1e-9);
    EXPECT_TRUE(grown.StartPt().IsEqualTo({1500, 0}, 1e-6));
    EXPECT_TRUE(grown.EndPt().IsEqualTo({0, 1500}, 1e-6));
}

TEST(OutlineTest, BandsBetweenLines)
{
    const TVRMCustomLine2d a({0, 0}, {1000, 0});
    const TVRMCustomLine2d b({0, 1000}, {1000, 1000});
    EXPECT_NEAR(BuildOffsetBandPolygon(a, b, 100, 100).Area(), 1000 * 800, 1e-6);
    EXPECT_NEAR(CreateMultiPolygonFromLines(a, b)->Area(), 1e6, 1e-6);
}

TEST(OutlineTest, LineEndPieces)
{
    const TVRMCustomLine2d a({0, 0}, {1000, 0});
    struct Case {
        TVRMCustomLine2d b;
        bool start;
        double area;
    };
    const Case cases[] = {
        {TVRMCustomLine2d({200, 300}, {1000, 300}), true, 30000},   // A overhangs at the start
        {TVRMCustomLine2d({-100, 300}, {1000, 300}), true, 15000},  // B overhangs
        {TVRMCustomLine2d({0, 300}, {1000, 300}), true, 0},         // level
        {TVRMCustomLine2d({0, 300}, {800, 300}), false, 30000},
        {TVRMCustomLine2d({0, 300}, {1100, 300}), false, 15000},
        {TVRMCustomLine2d({0, 300}, {1000, 300}), false, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(BuildLineEndPiecePolygon(a, c.b, c.start)->Area(), c.area, 1e-6)
            << c.b.StartPt().x << ".." << c.b.EndPt().x << (c.start ? " start" : " end");
    // The piece along an arc keeps its arc edge: B starts 30 degrees on.
    const TVRMCustomLine2d arc({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    const TVRMCustomLine2d b({1200 * std::cos(CVRMPi / 6), 600}, {0, 1200});
    const auto piece = BuildLineEndPiecePolygon(arc, b, true);
    EXPECT_TRUE(PolygonHasArc(*piece));
    EXPECT_GT(piece->Area(), 0.0);
}

TEST(OutlineTest, PolygonTests)
{
    TVRMMultiPolygon2d square;
    square.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}));
    EXPECT_FALSE(PolygonHasArc(square));
    TVRMMultiPolygon2d circle;
    circle.Add(TVRMPolygon2d::CreateCircle({0, 0}, 500));
    EXPECT_TRUE(PolygonHasArc(circle));
    struct Case {
        TVRMPoint2d p;
        double distance;
    };
    const Case cases[] = {{{500, 500}, 0}, {{1000, 500}, 0}, {{1005, 500}, 5}, {{1300, 1400}, 500}, {{-3, -4}, 5}};
    for (const Case& c : cases)
        EXPECT_NEAR(DistanceToPolygon(c.p, square), c.distance, 1e-9) << c.p.x << "," << c.p.y;
    EXPECT_EQ(DistanceToPolygon({5, 5}, TVRMMultiPolygon2d()), 0.0);
}

TEST(OutlineTest, GaussRuleIsExactToDegreeNine)
{
    for (int k = 0; k <= 9; ++k) {
        const double exact = k % 2 == 0 ? 2.0 / (k + 1) : 0.0;
        EXPECT_NEAR(IntegrateGauss5([k](double x) { return std::pow(x, k); }), exact, 2e-7) << "degree " << k;
    }
    std::vector<double> calls;
    IntegrateGauss5([&](double x) { return calls.push_back(x), 0.0; });
    EXPECT_EQ(calls, (std::vector<double>{0.9061798, -0.9061798, 0.5384693, -0.5384693, 0.0}));
}

TEST(OutlineTest, OverlapBandOfTwoSolids)
{
    const auto a = Box(0, 0, 0, 1000, 500, 300);
    const TVRMCustomLine2d along({0, 250}, {1000, 250});
    const auto band = GetOverlapBandPolygon(along, *a, *Box(400, -100, 0, 700, 600, 300));
    EXPECT_NEAR(band->Area(), 300 * 500, 1e-3);
    EXPECT_NEAR(band->Box().min.x, 400, 1e-6);
    EXPECT_NEAR(band->Box().max.x, 700, 1e-6);
    EXPECT_TRUE(GetOverlapBandPolygon(along, *a, *Box(2000, 0, 0, 2500, 500, 300))->IsEmpty());
    // Along an arc: a sector out to the farthest corner of A's box.
    const TVRMCustomLine2d arc({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
    const auto ring = Box(0, 0, 0, 1200, 1200, 300);
    const auto sector = GetOverlapBandPolygon(arc, *ring, *Box(800, 0, 0, 1200, 1200, 300));
    ASSERT_FALSE(sector->IsEmpty());
    EXPECT_TRUE(PolygonHasArc(*sector));
}

class TOffsetOutlineTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 40, "type": 25, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [0, 0]}},
          {"id": 11, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 12, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 1000], "end": [6000, 1000]}},
          {"id": 13, "type": 0, "props": {"Thickness": 200, "AxisOffset": 100, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, -200], "end": [6000, -200]}}])");
    }
};

TEST_F(TOffsetOutlineTest, WholeAndPerEdgeOffsets)
{
    EXPECT_NEAR(GetOffsetOutline(Record(40), nullptr, true, 0)->Area(), 160000, 1e-6);
    EXPECT_NEAR(GetOffsetOutline(Record(40), nullptr, true, 50)->Area(), 250000, 1e-6);
    // Against a line on the south face: the edge on it and the one facing its left side move.
    const TVRMCustomLine2d south({-1000, -200}, {1000, -200});
    EXPECT_NEAR(GetOffsetOutline(Record(40), &south, true, 50)->Area(), 400 * 500, 1e-6);
    // A wall's section grown as a whole, and edge by edge against a parallel wall.
    const double section = GetOffsetLineEntOutline(Record(11), false, nullptr, 0, true, false)->Area();
    EXPECT_NEAR(section, 200 * 3000, 1e-6);
    EXPECT_NEAR(GetOffsetLineEntOutline(Record(11), false, nullptr, 10, true, false)->Area(), 220 * 3020, 1e-6);
    // Wall 12 stands apart: every edge moves. Wall 13's left face lies on wall 11's right face: the
    // probe runs down that face and the top edge, which starts on it, stays.
    EXPECT_NEAR(GetOffsetLineEntOutline(Record(11), false, Record(12), 10, true, true)->Area(), 220 * 3020, 1e-6);
    EXPECT_NEAR(GetOffsetLineEntOutline(Record(11), false, Record(13), 10, true, true)->Area(), 220 * 3010, 1e-6);
    EXPECT_NEAR(GetOffsetLineEntOutline(Record(11), false, Record(13), 10, true, false)->Area(), 220 * 3020, 1e-6);
}

}  // namespace
