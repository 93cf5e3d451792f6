#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

double Apart(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    return std::abs(TVRMPositionFunc2d::SignedDistanceTo(a.StartPt(), b, false));
}

TEST(PlanLineTest, WidenLinePair)
{
    auto left = std::make_unique<TVRMCustomLine2d>(TVRMPoint2d{0, 100}, TVRMPoint2d{1000, 100});
    auto right = std::make_unique<TVRMCustomLine2d>(TVRMPoint2d{0, -100}, TVRMPoint2d{1000, -100});
    const TVRMCustomLine2d* before[] = {left.get(), right.get()};
    WidenLinePair(left, right, 0.0);
    EXPECT_EQ(left.get(), before[0]);
    EXPECT_EQ(right.get(), before[1]);
    WidenLinePair(left, right, 50);
    EXPECT_NEAR(Apart(*left, *right), 300, 1e-9);
    EXPECT_TRUE(left->StartPt().IsEqualTo({0, 150}, 1e-9));
    EXPECT_TRUE(left->EndPt().IsEqualTo({1000, 150}, 1e-9));
    EXPECT_TRUE(right->StartPt().IsEqualTo({0, -150}, 1e-9));
    // Lines on each other are moved apart plainly.
    auto a = std::make_unique<TVRMCustomLine2d>(TVRMPoint2d{0, 0}, TVRMPoint2d{1000, 0});
    auto b = std::make_unique<TVRMCustomLine2d>(*a);
    WidenLinePair(a, b, 50);
    EXPECT_TRUE(a->StartPt().IsEqualTo({0, 50}, 1e-9));
    EXPECT_TRUE(b->EndPt().IsEqualTo({1000, -50}, 1e-9));
}

TEST(PlanLineTest, ClipBoxBetweenLines)
{
    const TVRMBox2d box{{0, 0}, {1000, 1000}};
    const auto strip =
        ClipBoxBetweenLines(box, TVRMCustomLine2d({200, 0}, {200, 1000}), TVRMCustomLine2d({600, 0}, {600, 1000}));
    EXPECT_NEAR(strip->Area(), 400 * 1000, 1e-6);
    EXPECT_NEAR(strip->Box().min.x, 200, 1e-6);
    EXPECT_NEAR(strip->Box().max.x, 600, 1e-6);
    // Between two concentric quarter arcs: the quarter ring.
    const auto ring = ClipBoxBetweenLines(box, TVRMCustomLine2d({300, 0}, {0, 300}, 300, CVRMArcKindCCW),
                                          TVRMCustomLine2d({600, 0}, {0, 600}, 600, CVRMArcKindCCW));
    EXPECT_NEAR(ring->Area(), CVRMPi / 4 * (600 * 600 - 300 * 300), 1.0);
}

TEST(PlanLineTest, MultiLinesArcs)
{
    const TVRMLines2d lastArc({{{0, 0}}, {{1000, 0}}, {{1000, 1000}, 500, CVRMArcKindCCW}});
    const TVRMLines2d middleArc({{{0, 0}}, {{1000, 0}, 800, CVRMArcKindCW}, {{1000, 1000}}});
    EXPECT_FALSE(MultiLinesHasArc({lastArc}));
    EXPECT_TRUE(MultiLinesHasArc({lastArc, middleArc}));
    EXPECT_FALSE(MultiLinesHasArc({}));
}

class TPlanLineModelTest : public TGeometryModelTest {
protected:
    void LoadBuilding(TQTKCalcSessionOptions options = {})
    {
        Load(R"([
          {"id": 11, "type": 0, "floor": 1, "props": {"Thickness": 240, "AxisOffset": 120, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 12, "type": 0, "floor": 1, "props": {"Thickness": 240, "AxisOffset": 120, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 6000]}},
          {"id": 13, "type": 0, "floor": 1, "props": {"Thickness": 240, "AxisOffset": 120, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "line", "start": [6000, 6000], "end": [0, 6000]}},
          {"id": 14, "type": 0, "floor": 1, "props": {"Thickness": 240, "AxisOffset": 40, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "line", "start": [0, 0], "end": [0, 6000]}},
          {"id": 15, "type": 0, "floor": 1, "props": {"Thickness": 240, "AxisOffset": 0, "BottomElev": 0,
           "TopElev": 3000}, "shape": {"kind": "line", "start": [20000, 0], "end": [26000, 0],
           "radius": 5000, "arcKind": 1}},
          {"id": 16, "type": 0, "floor": 1, "props": {"BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [30000, 0], "end": [36000, 0], "width": 200}},
          {"id": 20, "type": 19, "floor": 1, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 6000], [0, 6000]],
                     "elevation": {"kind": "ratio", "edge": 0, "elev": 3000, "ratio": 0.1}}},
          {"id": 40, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 600,
           "BottomElev": 0, "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [50000, 0]}},
          {"id": 41, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[60000, 0, 1000, 1], [62000, 0], [62000, 2000]]}}])",
             std::move(options));
    }
};

TEST_F(TPlanLineModelTest, CentreLinesAndArcs)
{
    LoadBuilding();
    // The left face lies on the axis: the centre line is 120 to the right.
    const TVRMCustomLine2d centre = GetLineEntCenterLine(Record(15));
    EXPECT_TRUE(centre.IsArc());
    const TVRMCustomLine2d straight = GetLineEntCenterLine(Record(11));
    EXPECT_TRUE(straight.StartPt().IsEqualTo({0, 0}, 1e-9));
    EXPECT_THROW(GetLineEntCenterLine(Record(16)), EQTKAssertionFailed);  // no width property

    EXPECT_TRUE(ShapeHasArc(DrawObj(15)));
    EXPECT_FALSE(ShapeHasArc(DrawObj(11)));
    EXPECT_FALSE(ShapeHasArc(DrawObj(40)));
    EXPECT_TRUE(ShapeHasArc(DrawObj(41)));
    EXPECT_FALSE(ShapeHasArc(nullptr));
    EXPECT_TRUE(LineElementHasArc(Record(15)));
    EXPECT_FALSE(LineElementHasArc(Record(11)));
    EXPECT_THROW(LineElementHasArc(Record(40)), EQTKAssertionFailed);
    EXPECT_NEAR(GetPointElementPerimeter(Record(40)), 2000, 1e-9);
}

TEST_F(TPlanLineModelTest, CentreLineOfAnOffsetAxis)
{
    LoadBuilding();
    const TVRMCustomLine2d centre = GetLineEntCenterLine(Record(14));  // left face 40 from the axis
    EXPECT_TRUE(centre.StartPt().IsEqualTo({80, 0}, 1e-9));
}

TEST_F(TPlanLineModelTest, FloorExternalWallsOnTheirOuterFaces)
{
    auto infos = std::make_shared<TQTKFloorExternalInfoContr>();
    TQTKFloorExternalInfo info;
    info.floorId = 1;
    info.outline.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {6000, 0}, {6000, 6000}, {0, 6000}}));
    // The west wall is drawn against the loop: its outer face is its left face, 40 from its axis.
    info.ringEdges = {{{11, false}, {12, false}, {13, false}, {14, true}}};
    infos->Add(info);
    TQTKCalcSessionOptions options;
    options.externalWallInfos = infos;
    LoadBuilding(options);
    const auto outline = BuildFloorExternalWallOutline(1);
    ASSERT_EQ(outline->GetCount(), 1);
    EXPECT_NEAR(outline->Area(), 6160.0 * 6240.0, 1e-3);
    EXPECT_NEAR(outline->Box().min.x, -40, 1e-6);
    EXPECT_TRUE(BuildFloorExternalWallOutline(2)->IsEmpty());
}

TEST_F(TPlanLineModelTest, FloorExternalWallsNeedTheHostInformation)
{
    LoadBuilding();
    EXPECT_THROW(BuildFloorExternalWallOutline(1), EQTKAssertionFailed);
}

TEST_F(TPlanLineModelTest, SlabRiseAlongAWall)
{
    LoadBuilding();
    // The slab rises 0.1 per mm northwards: 600 along the east wall, nothing along the south wall.
    EXPECT_NEAR(GetSlabRiseAlongLine(Record(12), TVRMCustomLine2d({6000, 0}, {6000, 6000})), 600, 1e-6);
    EXPECT_NEAR(GetSlabRiseAlongLine(Record(11), TVRMCustomLine2d({0, 0}, {6000, 0})), 0, 1e-6);
    EXPECT_EQ(GetSlabRiseAlongLine(Record(40), TVRMCustomLine2d({0, 0}, {6000, 0})), 0.0);
}

// The line each kind of line element is measured along: a line element's
// calculated middle line, a bedding's drawn line, a unit's own line.
TEST_F(TPlanLineModelTest, AxisLinesOfLineElements)
{
    Load(R"([
      {"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
      {"id": 2, "type": 55, "floor": 1, "props": {"Thickness": 100, "BottomElev": -100, "TopElev": 0},
       "shape": {"kind": "line", "start": [0, 1000], "end": [6000, 1000], "width": 800}},
      {"id": 3, "type": 81, "floor": 1, "props": {"BottomElev": -600, "TopElev": -100},
       "shape": {"kind": "line", "start": [0, 2000], "end": [6000, 2000], "width": 1000}},
      {"id": 4, "type": 86, "floor": 1, "props": {"Thickness": 50, "BottomElev": 0, "TopElev": 3000},
       "shape": {"kind": "line", "start": [0, 3000], "end": [6000, 3000], "width": 50}},
      {"id": 5, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0,
       "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [9000, 0]}},
      {"id": 6, "type": 55, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": -100,
       "TopElev": 0}, "shape": {"kind": "point", "insertPt": [12000, 0]}},
      {"id": 7, "type": 81, "floor": 1, "props": {"BottomElev": -600, "TopElev": -100},
       "shape": {"kind": "line", "start": [0, 5000], "end": [6000, 5000], "width": 1000}}])");
    TFakeEDOScope scope;
    scope.Attach<TFakeLineEntEDO>(DrawObj(1)).midLine = TVRMCustomLine2d({0, 120}, {6000, 120});
    scope.Attach<TFakeStripFDUnitEDO>(DrawObj(3)).unitLine = TVRMCustomLine2d({0, 2500}, {6000, 2500});
    scope.Attach<TFakeInsulatingWallUnitEDO>(DrawObj(4)).midLine = TVRMCustomLine2d({0, 3025}, {6000, 3025});
    struct Case {
        int id;
        TVRMPoint2d start;
    };
    // Unit 7 stands without its strip foundation: its object gives its own drawn centre line.
    for (const Case& c :
         {Case{1, {0, 120}}, Case{2, {0, 1000}}, Case{3, {0, 2500}}, Case{4, {0, 3025}}, Case{7, {0, 5000}}}) {
        const TVRMCustomLine2d* line = GetLineEntAxisLine(Record(c.id));
        ASSERT_NE(line, nullptr) << c.id;
        EXPECT_TRUE(line->StartPt().IsEqualTo(c.start, 1e-9)) << c.id;
    }
    // The bedding's line is its shape's own line, not a copy.
    EXPECT_EQ(GetLineEntAxisLine(Record(2)), &dynamic_cast<const IQTKLineShape*>(DrawObj(2)->GetShape())->GetLine());
    // A column, a bedding without a line shape.
    for (int id : {5, 6})
        EXPECT_THROW(GetLineEntAxisLine(Record(id)), EQTKAssertionFailed) << id;
}

// The free ends are those where the line element object meets no connected
// line element; an element without a line element object has none.
TEST_F(TPlanLineModelTest, FreeLineEndsInAPolygon)
{
    LoadBuilding();
    TFakeEDOScope scope;
    // Wall 11 runs (0,0)-(6000,0); wall 14 joins its start.
    scope.Attach<TFakeLineEntEDO>(DrawObj(11)).startFree = false;
    scope.Attach<TFakeLineEntEDO>(DrawObj(13));  // free at both ends
    scope.Attach<TFakePlainEDO>(DrawObj(12));
    const auto rectangle = [](double cx, double cy, double hx, double hy) {
        TVRMMultiPolygon2d set;
        set.Add(TVRMRectangle2d({cx, cy}, hx, hy));
        return set;
    };
    struct Case {
        int id;
        TVRMMultiPolygon2d polygon;
        std::uint8_t ends;
    };
    const Case cases[] = {
        {11, rectangle(3000, 0, 4000, 500), 2},  // the joined start never counts
        {11, rectangle(0, 0, 500, 500), 0},       {13, rectangle(3000, 6000, 4000, 500), 3},
        {13, rectangle(0, 6000, 500, 500), 2},                                              // wall 13 ends at (0, 6000)
        {13, rectangle(3000, 3000, 500, 500), 0}, {12, rectangle(3000, 0, 4000, 500), 0}};  // no line element object
    for (const Case& c : cases)
        EXPECT_EQ(GetLineEndsInPolygon(Record(c.id), c.polygon), c.ends) << c.id;
    EXPECT_THROW(GetLineEndsInPolygon(Record(40), rectangle(3000, 0, 4000, 500)), EQTKAssertionFailed);
}

}  // namespace
