#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
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

// Walls 11 and 18 on the x axis, 12 apart from them, 13 and 17 against the
// south face of 11 (13 drawn the other way as 14), lintels 15 and 16 over
// wall 11. Walls 11 to 14 and lintel 15 have test element objects; walls 17
// and 18 have none that gives lines, lintel 16 has its own lintel object.
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
           "shape": {"kind": "line", "start": [0, -200], "end": [6000, -200]}},
          {"id": 14, "type": 0, "props": {"Thickness": 200, "AxisOffset": 100, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [6000, -200], "end": [0, -200]}},
          {"id": 15, "type": 12, "props": {"SectionWidth": 200, "SectionHeight": 300, "BottomElev": 2100,
           "TopElev": 2400}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 16, "type": 12, "props": {"SectionWidth": 200, "SectionHeight": 300, "BottomElev": 2100,
           "TopElev": 2400}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 17, "type": 0, "props": {"Thickness": 200, "AxisOffset": 100, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, -200], "end": [6000, -200]}},
          {"id": 18, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}}])");
        scope_.emplace();
        const auto lines = [this](int id, double yLeft, double yRight, bool reversed) {
            auto& edo = scope_->Attach<TFakeLineEntEDO>(DrawObj(id));
            const auto along = [reversed](double y) {
                return reversed ? TVRMCustomLine2d({6000, y}, {0, y}) : TVRMCustomLine2d({0, y}, {6000, y});
            };
            edo.leftLine = along(yLeft);
            edo.rightLine = along(yRight);
            edo.midLine = along((yLeft + yRight) / 2);
        };
        lines(11, 100, -100, false);
        lines(12, 1100, 900, false);
        lines(13, -100, -300, false);
        lines(14, -300, -100, true);
        TVRMMultiPolygon2d section;
        section.Add(TVRMRectangle2d({0, 2250}, 100, 150));
        scope_->Attach<TFakeLintelEDO>(DrawObj(15)).planPolygon = section;
        scope_->Attach<TFakePlainEDO>(DrawObj(17));
        scope_->Attach<TFakePlainEDO>(DrawObj(18));
    }
    void TearDown() override
    {
        scope_.reset();
        TGeometryModelTest::TearDown();
    }

    std::optional<TFakeEDOScope> scope_;
};

TEST_F(TOffsetOutlineTest, WholeAndPerEdgeOffsets)
{
    EXPECT_NEAR(GetOffsetOutline(Record(40), nullptr, true, 0)->Area(), 160000, 1e-6);
    EXPECT_NEAR(GetOffsetOutline(Record(40), nullptr, true, 50)->Area(), 250000, 1e-6);
    // Against a line on the south face: the edge on it and the one facing its left side move.
    const TVRMCustomLine2d south({-1000, -200}, {1000, -200});
    EXPECT_NEAR(GetOffsetOutline(Record(40), &south, true, 50)->Area(), 400 * 500, 1e-6);
}

// A wall's section (a lintel's from its lintel object) grown as a whole, and
// edge by edge against the face line of a parallel line element object.
TEST_F(TOffsetOutlineTest, LineElementSectionsAgainstAFace)
{
    struct Case {
        int id, other;
        double d;
        bool side, perEdge;
        double area;
    };
    const Case cases[] = {
        {11, 0, 0, true, false, 200 * 3000},
        {11, 0, 10, true, false, 220 * 3020},
        // Wall 12 stands apart: every edge moves.
        {11, 12, 10, true, true, 220 * 3020},
        // Wall 13's left face lies on wall 11's right face: the probe runs down that face
        // and the top edge, which starts on it, stays.
        {11, 13, 10, true, true, 220 * 3010},
        {11, 13, 10, true, false, 220 * 3020},
        // Wall 14 runs the other way: its right line is that face, and the side turns.
        {11, 14, 10, false, true, 220 * 3010},
        // Without the other's lines, or its own middle line, the whole section grows.
        {11, 17, 10, true, true, 220 * 3020},
        {18, 13, 10, true, true, 220 * 3020},
        // The lintel's own section, along its drawn line.
        {15, 0, 0, true, false, 200 * 300},
        {15, 0, 10, true, false, 220 * 320},
        {15, 13, 10, true, true, 220 * 310},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(
            GetOffsetLineEntOutline(Record(c.id), false, c.other ? Record(c.other) : nullptr, c.d, c.side, c.perEdge)
                ->Area(),
            c.area, 1e-6)
            << c.id << " against " << c.other << " by " << c.d;
    // Lintel 16's section comes from its own lintel object (200 x 300).
    EXPECT_NEAR(GetOffsetLineEntOutline(Record(16), false, nullptr, 10, true, false)->Area(), 220 * 320, 1e-6);
}

}  // namespace
