// Strip foundations and their units through the element-object API: the
// calculation line by type (axis, wall, units), refreshing it, joins along
// it, the walls standing on a foundation, outer-wall cover, plan tests, and
// the units' lines, section lines, profile, brick mould and relations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <tuple>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr double CTol = 1e-6;

// A strip foundation along (x0, y0)-(x1, y1), "Width" 1000, "AxisOffset" 500, "Height" 600, 0 to 600.
std::string Strip(int id, double x0, double y0, double x1, double y1, double width = 1000, double axisOffset = 500)
{
    const auto n = [](double v) { return std::to_string(v); };
    return R"({"id": )" + std::to_string(id) + R"(, "type": 51, "props": {"Width": )" + n(width) +
           R"(, "AxisOffset": )" + n(axisOffset) + R"(, "Height": 600}, "shape": {"kind": "line", "start": [)" + n(x0) +
           ", " + n(y0) + R"(], "end": [)" + n(x1) + ", " + n(y1) + R"(], "width": )" + n(width) +
           R"(, "axisOffset": )" + n(axisOffset) + R"(, "bottom": 0, "top": 600}})";
}

// A unit of the strip along the same line, centred section Width x (top - bottom).
std::string Unit(int id, int parent, double x0, double y0, double x1, double y1, double width, double bottom,
                 double top, int kind, std::string extraProps = "", std::string extraShape = "")
{
    const auto n = [](double v) { return std::to_string(v); };
    return R"({"id": )" + std::to_string(id) + R"(, "type": 81, "parent": )" + std::to_string(parent) +
           R"(, "props": {"Type": )" + std::to_string(kind) + R"(, "Offset": 0, "BottomElev": )" + n(bottom) +
           extraProps + R"(}, "shape": {"kind": "line", "start": [)" + n(x0) + ", " + n(y0) + R"(], "end": [)" + n(x1) +
           ", " + n(y1) + R"(], "width": )" + n(width) + R"(, "bottom": )" + n(bottom) + R"(, "top": )" + n(top) +
           extraShape + "}}";
}

std::string Wall(int id, double x0, double y0, double x1, double y1, int innerOuter = 0)
{
    const auto n = [](double v) { return std::to_string(v); };
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "props": {"Thickness": 240, "InnerOuterFlag": )" +
           std::to_string(innerOuter) + R"(}, "shape": {"kind": "line", "start": [)" + n(x0) + ", " + n(y0) +
           R"(], "end": [)" + n(x1) + ", " + n(y1) + R"(], "width": 240, "bottom": 600, "top": 3600}})";
}

class TStripFDTest : public TGeometryModelTest {
protected:
    void TearDown() override
    {
        GStripFDCalclineType = 0;
        edos_.clear();
        TGeometryModelTest::TearDown();
    }
    template <class T>
    T& As(int id)
    {
        edos_.push_back(GetCalcEDO(Record(id), true));
        auto* edo = dynamic_cast<T*>(edos_.back().get());
        EXPECT_NE(edo, nullptr) << id;
        return *edo;
    }
    IQTKStripFDCalcEDO& Strip(int id) { return As<IQTKStripFDCalcEDO>(id); }
    IQTKLineEdoInfo& Info(int id) { return As<IQTKLineEdoInfo>(id); }
    IQTKStripFDUnitCalcEDO& Unit(int id) { return As<IQTKStripFDUnitCalcEDO>(id); }
    std::vector<Ref<IQTKCalculatorEDO>> edos_;
};

void ExpectPoint(const TVRMPoint2d& p, double x, double y, double tol = CTol)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// ---------------------------------------------------------------------------
// Calculation line

TEST_F(TStripFDTest, CalculationLineByType)
{
    // 1: two units (Type 0 800 wide under Type 1 600 wide) and a centred 240
    // wall on it; 10: the same units, no wall; 20: a Type 0 unit only; 30: two
    // walls on it that do not line up; 40: no units, no walls; 50: units
    // without a Type 0 one, its line shape 1200 wide (axis offset 700); 60: a
    // Type 2 unit 400 wide on a Type 0 unit 800 wide.
    Load("[" + ::Strip(1, 0, 0, 6000, 0) + "," + ::Unit(2, 1, 0, 0, 6000, 0, 800, 0, 300, 0) + "," +
         ::Unit(3, 1, 0, 0, 6000, 0, 600, 300, 600, 1) + "," + Wall(4, 0, 0, 6000, 0, 1) + "," +
         ::Strip(10, 0, 10000, 6000, 10000) + "," + ::Unit(11, 10, 0, 10000, 6000, 10000, 800, 0, 300, 0) + "," +
         ::Unit(12, 10, 0, 10000, 6000, 10000, 600, 300, 600, 1) + "," + ::Strip(20, 0, 20000, 6000, 20000) + "," +
         ::Unit(21, 20, 0, 20000, 6000, 20000, 800, 0, 600, 0) + "," + ::Strip(30, 0, 30000, 6000, 30000) + "," +
         ::Unit(31, 30, 0, 30000, 6000, 30000, 800, 0, 600, 0) + "," + Wall(32, 0, 30000, 3000, 30000) + "," +
         Wall(33, 3000, 30100, 6000, 30100) + "," + ::Strip(40, 0, 40000, 6000, 40000) + "," +
         R"({"id": 50, "type": 51, "props": {"Width": 1000, "AxisOffset": 500}, "shape": {"kind": "line",
            "start": [0, 50000], "end": [6000, 50000], "width": 1200, "axisOffset": 700, "bottom": 0, "top": 600}},)" +
         ::Unit(51, 50, 0, 50000, 6000, 50000, 600, 0, 600, 1) + "," + ::Strip(60, 0, 60000, 6000, 60000) + "," +
         ::Unit(61, 60, 0, 60000, 6000, 60000, 800, 0, 300, 0) + "," +
         ::Unit(62, 60, 0, 60000, 6000, 60000, 400, 300, 600, 2) + "]");
    struct Case {
        const char* name;
        int type, id;
        double width, axisOffset;
    };
    // Least unit offset: 500 + min(0 - 400, 0 - 300) = 100, so the Type 0
    // unit's left face lies 100 + 400 = 500 left of the axis, the Type 1's 400
    // (and strip 60's Type 2, 400 wide, 100 + 200 = 300).
    const Case cases[] = {
        {"axis", 0, 1, 1000, 500},
        {"wall on it: its 240, -min(b, c) = 120", 1, 1, 240, 120},
        {"no wall: the top unit's top face", 1, 10, 600, 300},
        {"walls not lined up: the top faces", 1, 30, 800, 400},
        {"no wall, no top faces: the defaults", 1, 40, 1000, 500},
        {"Type 0 unit", 2, 1, 800, 500},
        {"no Type 2 unit: the line shape's own", 3, 1, 1000, 500},
        {"Type 2 unit", 3, 60, 400, 300},
        {"no Type 2 unit, another line shape", 3, 50, 1200, 700},
        {"Type 1 unit", 4, 1, 600, 400},
        {"no Type 1 unit: the Type 0", 4, 20, 800, 500},
        {"no Type 0 unit: the line shape's own", 2, 50, 1200, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GStripFDCalclineType = static_cast<uint8_t>(c.type);
        IQTKLineEdoInfo& info = Info(c.id);
        EXPECT_NEAR(info.GetWidth(), c.width, CTol);
        EXPECT_NEAR(info.GetAxisOffset(), c.axisOffset, CTol);
        EXPECT_TRUE(std::isfinite(info.GetWidth()) && std::isfinite(info.GetAxisOffset()));
    }
    GStripFDCalclineType = 1;
    EXPECT_EQ(Strip(1).GetWallsAbove().size(), 1u);
    EXPECT_TRUE(Strip(30).GetWallsAbove().empty());
    // The walls are found without the whole related list, and as it holds them.
    TRecordList related;
    Strip(30).GetRelatedByTypes(MakeElementTypeSet({0, 1}), &related);
    ASSERT_EQ(related.size(), 2u);
    EXPECT_EQ(related[0]->GetID(), 32);
    EXPECT_EQ(related[1]->GetID(), 33);
    // The outer wall (both sides external until set) makes the wall line usable.
    EXPECT_TRUE(Strip(1).IsWallLineUsable());
    // "Height" and "Width" whatever the calculation line.
    EXPECT_DOUBLE_EQ(Strip(1).GetLeftWidth(), 600);
    EXPECT_DOUBLE_EQ(Strip(1).GetRightWidth(), 1000);
}

TEST_F(TStripFDTest, WallLineUsableNeedsAnExternalSide)
{
    // One strip with a wall on it per case (the flag is kept with the calculation line).
    std::string elements;
    for (int i = 0; i < 3; ++i) {
        const double y = i * 10000.0;
        elements += (i ? "," : "") + ::Strip(10 * i + 1, 0, y, 6000, y) + "," +
                    ::Unit(10 * i + 2, 10 * i + 1, 0, y, 6000, y, 1000, 0, 600, 0) + "," +
                    Wall(10 * i + 3, 0, y, 6000, y, 0);
    }
    Load("[" + elements + "]");
    struct Case {
        const char* name;
        int strip;
        bool leftExternal, rightExternal, usable;
    };
    const Case cases[] = {
        {"no external side", 1, false, false, false},
        {"left side external", 11, true, false, true},
        {"right side external", 21, false, true, true},
    };
    // The sides are set before the wall line is first computed (it reads them then).
    for (const Case& c : cases) {
        auto& wall = As<IQTKCustomWallCalcEDO>(c.strip + 2);
        wall.SetLeftSideExternal(c.leftExternal);
        wall.SetRightSideExternal(c.rightExternal);
    }
    GStripFDCalclineType = 1;
    for (const Case& c : cases)
        EXPECT_EQ(Strip(c.strip).IsWallLineUsable(), c.usable) << c.name;
}

// ---------------------------------------------------------------------------
// Joins and refreshing

struct TLineCase {
    const char* name;
    int id;
    TVRMPoint2d leftStart, leftEnd, rightStart, rightEnd;
};

void ExpectSideLines(IQTKStripFDCalcEDO& strip, const TLineCase& c)
{
    SCOPED_TRACE(c.name);
    ExpectPoint(strip.GetLeftLine()->StartPt(), c.leftStart.x, c.leftStart.y, 1e-3);
    ExpectPoint(strip.GetLeftLine()->EndPt(), c.leftEnd.x, c.leftEnd.y, 1e-3);
    ExpectPoint(strip.GetRightLine()->StartPt(), c.rightStart.x, c.rightStart.y, 1e-3);
    ExpectPoint(strip.GetRightLine()->EndPt(), c.rightEnd.x, c.rightEnd.y, 1e-3);
}

// 600-wide strips on their axes: an L at (6000, 0) mitres; the stem (4) of
// a T stops on the centre line of the through strip (3), as the middle-line
// calculator cuts a loser, so their outlines share 600 x 300.
TEST_F(TStripFDTest, JoinsOnTheAxis)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0, 600, 300) + "," + ::Strip(2, 6000, 0, 6000, 4000, 600, 300) + "," +
         ::Strip(3, 0, 10000, 6000, 10000, 600, 300) + "," + ::Strip(4, 3000, 10000, 3000, 14000, 600, 300) + "]");
    const TLineCase cases[] = {
        {"L along x", 1, {0, 300}, {5700, 300}, {0, -300}, {6300, -300}},
        {"L along y", 2, {5700, 300}, {5700, 4000}, {6300, -300}, {6300, 4000}},
        {"T through", 3, {0, 10300}, {6000, 10300}, {0, 9700}, {6000, 9700}},
        {"T stem", 4, {2700, 10000}, {2700, 14000}, {3300, 10000}, {3300, 14000}},
    };
    for (const TLineCase& c : cases)
        ExpectSideLines(Strip(c.id), c);
    ExpectPoint(Strip(1).GetMidLine()->EndPt(), 6000, 0, 1e-3);
    ExpectPoint(Strip(2).GetMidLine()->StartPt(), 6000, 0, 1e-3);
    // The L's outlines meet without overlapping; the T's share the stem's reach.
    for (auto [a, b, shared] : {std::tuple{1, 2, 0.0}, std::tuple{3, 4, 600.0 * 300}}) {
        const auto both = TVRMIntersectFunc2d::IntPolygon(*Strip(a).GetOutlinePolygon(), *Strip(b).GetOutlinePolygon());
        EXPECT_NEAR(both ? both->Area() : 0.0, shared, 1e-3) << a;
    }
    EXPECT_NEAR(Strip(1).GetOutlinePolygon()->Area() + Strip(2).GetOutlinePolygon()->Area(), 600.0 * (6000 + 4000),
                1e-3);
}

// Walls on an L of strips, off the strips' axes: the wall on 1 centred 60
// left of its axis, the wall on 2 centred 60 right of its axis. The strips
// join on the wall lines (the end edge through the wall bands' corners
// (5940, 180) and (6180, -60), x + y = 6120) while their lines stay 600 wide
// on their own axes.
TEST_F(TStripFDTest, TypeOneJoinsOnTheWallLinesAndRefreshes)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0, 600, 300) + "," + ::Unit(11, 1, 0, 0, 6000, 0, 600, 0, 600, 0) + "," +
         ::Strip(2, 6000, 0, 6000, 4000, 600, 300) + "," + ::Unit(12, 2, 6000, 0, 6000, 4000, 600, 0, 600, 0) + "," +
         Wall(3, 0, 60, 6060, 60) + "," + Wall(4, 6060, 60, 6060, 4000) + "]");
    IQTKStripFDCalcEDO& a = Strip(1);
    IQTKStripFDCalcEDO& b = Strip(2);
    const TVRMCustomLine2d* before = a.GetMidLine();
    ExpectSideLines(a, {"axis", 1, {0, 300}, {5700, 300}, {0, -300}, {6300, -300}});
    // The one unit fills the section: its piece is the foundation's solid.
    EXPECT_NEAR(As<IQTKCalculatorEDO>(11).GetOriginalPolyhedron()->GetVolume(), 600.0 * 600 * (5700 + 6300) / 2, 1.0);
    a.RefreshCalcLine();
    EXPECT_EQ(a.GetMidLine(), before);  // no change: nothing rebuilt

    GStripFDCalclineType = 1;
    EXPECT_NEAR(Info(1).GetWidth(), 240, CTol);
    EXPECT_NEAR(Info(1).GetAxisOffset(), 180, CTol);
    EXPECT_NEAR(Info(2).GetWidth(), 240, CTol);
    EXPECT_NEAR(Info(2).GetAxisOffset(), 60, CTol);
    a.RefreshCalcLine();  // refreshes the joined strip 2 too
    EXPECT_NE(a.GetMidLine(), before);
    const TVRMCustomLine2d* after = a.GetMidLine();
    a.RefreshCalcLine();
    EXPECT_EQ(a.GetMidLine(), after);
    ExpectSideLines(a, {"wall line", 1, {0, 300}, {5820, 300}, {0, -300}, {6420, -300}});
    ExpectSideLines(b, {"wall line", 2, {5700, 420}, {5700, 4000}, {6300, -180}, {6300, 4000}});
    // The units follow their foundation.
    ExpectPoint(Unit(11).GetLeftLine()->EndPt(), 5820, 300, 1e-3);
    EXPECT_NEAR(As<IQTKCalculatorEDO>(1).GetOriginalPolyhedron()->GetVolume(), 600.0 * 600 * (5820 + 6420) / 2, 1.0);
    // Its piece too: laid on the new lines, not on a prism kept from the old ones.
    EXPECT_NEAR(As<IQTKCalculatorEDO>(11).GetOriginalPolyhedron()->GetVolume(), 600.0 * 600 * (5820 + 6420) / 2, 1.0);
}

// ---------------------------------------------------------------------------
// Other answers

TEST_F(TStripFDTest, UnderWallsAndPlanTests)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0) + "," + Wall(2, 0, 0, 4000, 0, 1) + "," + Wall(3, 4000, 0, 6000, 0, 0) + "," +
         ::Strip(10, 0, 10000, 6000, 10000) + "," + Wall(11, 0, 10000, 2000, 10000, 1) + "," +
         Wall(12, 2000, 10000, 6000, 10000, 0) + "," + ::Strip(20, 0, 20000, 6000, 20000) + "," +
         ::Strip(30, 0, 21100, 6000, 21100) + "]");
    struct Case {
        int id;
        bool under;
    };
    for (const Case c : {Case{1, true}, Case{10, false}, Case{20, false}})
        EXPECT_EQ(Strip(c.id).IsUnderWalls(), c.under) << c.id;
    // Apart in plan: settled without a solid test.
    EXPECT_FALSE(As<IQTKCalculatorEDO>(20).IsIntersectWith(Record(30)));
    EXPECT_EQ(Strip(20).GetJoinType(Record(20), true), 0);
    // The outline between two cross lines.
    const auto piece = Strip(20).GetOutlinePolygonBetween(TVRMCustomLine2d({1000, 19000}, {1000, 21000}),
                                                          TVRMCustomLine2d({3000, 19000}, {3000, 21000}));
    EXPECT_NEAR(piece->Area(), 2000.0 * 1000, 1e-3);
}

// "This foundation gives way": 0 for its own record; at a T the stem gives
// way to the through strip and not the other way round; at an equal L
// neither gives way (the axis flag keeps an L as it is either way).
TEST_F(TStripFDTest, JoinTypeAgainstANeighbour)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0, 600, 300) + "," + ::Strip(2, 6000, 0, 6000, 4000, 600, 300) + "," +
         ::Strip(3, 0, 10000, 6000, 10000, 600, 300) + "," + ::Strip(4, 3000, 10000, 3000, 14000, 600, 300) + "]");
    struct Case {
        const char* name;
        int id, other;
        bool kind;
        int joinType;
    };
    const Case cases[] = {
        {"own record", 4, 4, false, 0},
        {"T: the stem gives way", 4, 3, false, 1},
        {"T: the stem gives way, axis flag", 4, 3, true, 1},
        {"T: the through strip does not", 3, 4, false, 0},
        {"L: neither", 1, 2, false, 0},
        {"L: neither, the other way", 2, 1, false, 0},
        {"L, axis flag", 1, 2, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Strip(c.id).GetJoinType(Record(c.other), c.kind), c.joinType) << c.name;
}

// ---------------------------------------------------------------------------
// Units

const char* CBox = R"("subSolids": [{"vertices": [[0, -500, 0], [6000, -500, 0], [6000, 500, 0], [0, 500, 0],
    [0, -500, 300], [6000, -500, 300], [6000, 500, 300], [0, 500, 300]],
    "faces": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]]}])";

TEST_F(TStripFDTest, UnitSectionLinesProfileAndBrickMould)
{
    const std::string mould = R"(, "SectionWidth": 1000, "SectionHeight": 300, "BrickMoldThickness": 120)";
    std::string rect = ::Unit(2, 1, 0, 0, 6000, 0, 1000, 0, 300, 0, R"(, "SectionTypeID": 0)" + mould);
    rect.insert(rect.size() - 1, std::string(", ") + CBox);
    Load("[" + ::Strip(1, 0, 0, 6000, 0) + "," + rect + "," +
         // Two raised steps.
         ::Strip(10, 0, 10000, 6000, 10000) + "," +
         ::Unit(11, 10, 0, 10000, 6000, 10000, 1000, 0, 600, 0, R"(, "SectionTypeID": 2)",
                R"(, "section": [[-500, 0], [500, 0], [500, 300], [400, 300], [400, 600], [200, 600], [200, 300],
                   [-200, 300], [-200, 600], [-400, 600], [-400, 300], [-500, 300]])") +
         "," +
         // A notch 200 wide whose middle is 100 left of the centre.
         ::Strip(20, 0, 20000, 6000, 20000) + "," +
         ::Unit(21, 20, 0, 20000, 6000, 20000, 1000, 0, 600, 0, R"(, "SectionTypeID": 2)",
                R"(, "section": [[-500, 0], [500, 0], [500, 600], [0, 600], [0, 300], [-200, 300], [-200, 600],
                   [-500, 600]])") +
         "," +
         // No sub-solids; "SectionTypeID" 1.
         ::Strip(30, 0, 30000, 6000, 30000) + "," +
         ::Unit(31, 30, 0, 30000, 6000, 30000, 1000, 0, 300, 0, R"(, "SectionTypeID": 0)" + mould) + "," +
         ::Unit(32, 30, 0, 30000, 6000, 30000, 600, 300, 600, 0, R"(, "SectionTypeID": 1)" + mould) + "," +
         // A sloped unit: bottom 0 to 600, 300 thick.
         R"({"id": 40, "type": 51, "props": {"Width": 1000, "AxisOffset": 500}, "shape": {"kind": "line",
            "start": [0, 40000], "end": [6000, 40000], "width": 1000, "startBottom": 0, "startTop": 300,
            "endBottom": 600, "endTop": 900}},
           {"id": 41, "type": 81, "parent": 40, "props": {"Type": 0, "Offset": 0, "BottomElev": 0},
            "shape": {"kind": "line", "start": [0, 40000], "end": [6000, 40000], "width": 1000, "startBottom": 0,
            "startTop": 300, "endBottom": 600, "endTop": 900}},
           {"id": 50, "type": 7, "parent": 1, "props": {"OpeningWidth": 500, "OpeningHeight": 200},
            "shape": {"kind": "opening", "at": 3000, "bottom": 0}}])");

    IQTKStripFDUnitCalcEDO& rectangle = Unit(2);
    EXPECT_EQ(rectangle.GetSectionLine(), nullptr);
    EXPECT_TRUE(rectangle.GetSectionSideLines().empty());
    const std::vector<TVRMCustomLine2d> bottoms = rectangle.GetSectionBottomLines();
    ASSERT_EQ(bottoms.size(), 2u);
    EXPECT_NEAR(bottoms[0].StartPt().y, -490, CTol);  // 490 right of the centre
    EXPECT_NEAR(bottoms[1].StartPt().y, 490, CTol);
    ExpectPoint(rectangle.GetUnitLine()->StartPt(), 0, 0);
    ExpectPoint(rectangle.GetLeftLine()->StartPt(), 0, 500);
    ExpectPoint(rectangle.GetRightLine()->EndPt(), 6000, -500);
    EXPECT_NEAR(rectangle.GetOutlinePolygon()->Area(), 6000.0 * 1000, 1e-3);
    EXPECT_NEAR(rectangle.GetOriginalPolyhedron()->GetVolume(), 6000.0 * 1000 * 300, 1.0);
    // Brick mould: 120 round the 6000 x 1000 plan, 300 high.
    const double ring = (6000.0 + 240) * (1000 + 240) - 6000.0 * 1000;
    EXPECT_NEAR(rectangle.GetMergedSolid()->GetVolume(), ring * 300, 10.0);
    EXPECT_NEAR(rectangle.GetBrickMoldSolidCalc()->GetVolume(), ring * 300, 10.0);

    std::vector<double> steps;
    for (const TVRMCustomLine2d& line : Unit(11).GetSectionSideLines())
        steps.push_back(10000 - line.StartPt().y);  // offsets to the right of the unit line
    EXPECT_EQ(steps.size(), 4u);
    const double expected[] = {390, 210, -210, -390};
    for (size_t i = 0; i < steps.size() && i < 4; ++i)
        EXPECT_NEAR(steps[i], expected[i], CTol) << i;
    // The gap between the two steps is a notch, its middle on the centre.
    ASSERT_NE(Unit(11).GetSectionLine(), nullptr);
    EXPECT_NEAR(Unit(11).GetSectionLine()->StartPt().y, 10000, CTol);

    const TVRMCustomLine2d* notch = Unit(21).GetSectionLine();
    ASSERT_NE(notch, nullptr);
    EXPECT_NEAR(notch->StartPt().y, 20000 + 100, CTol);  // 100 left of the centre

    EXPECT_FALSE(Unit(31).GetMergedSolid()->HasFaces());  // no sub-solids
    EXPECT_NEAR(Unit(31).GetBrickMoldSolidCalc()->GetVolume(), 0.0, CTol);
    EXPECT_FALSE(Unit(32).GetMergedSolid()->HasFaces());  // "SectionTypeID" 1

    const TVRMPolygon2d& profile = Unit(41).GetPlanPolygon()->GetItems(0);
    ASSERT_EQ(profile.GetCount(), 4);
    const double l = 6000;
    const TVRMPoint2d corners[] = {{0, 0}, {l, 600}, {l, 900}, {0, 300}};
    for (int i = 0; i < 4; ++i)
        ExpectPoint(profile.GetVertex(i).pt, corners[i].x, corners[i].y);

    // Its foundation, a unit beside it, an opening in the foundation: no intersection.
    for (int other : {1, 50})
        EXPECT_FALSE(As<IQTKCalculatorEDO>(2).IsIntersectWith(Record(other))) << other;
    EXPECT_FALSE(As<IQTKCalculatorEDO>(31).IsIntersectWith(Record(32)));
}

// A model file refuses a section ring of fewer than three vertices; one
// handed over by a host is a programming error when the section lines read it.
TEST_F(TStripFDTest, UnitSectionNotClosedIsAnAssertion)
{
    building_ = std::make_unique<TTestBuilding>();
    TQTKElementDrawObj* strip = building_->AddLine(1, 51, 0, 0, 6000, 0, 1000, 0, 300,
                                                   {{"Width", TRDXValue(1000.0)}, {"AxisOffset", TRDXValue(500.0)}});
    building_->SetNextDrawObjMaker([](TQTKElementDrawObjData data) {
        TQTKLineShapeData line;
        line.line = TVRMCustomLine2d({0, 0}, {6000, 0});
        line.width = 1000;
        line.axisOffset = 500;
        line.startTop = line.endTop = 300;
        line.section.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{-500, 0}, {500, 0}}));
        data.shape = Ref<IQTKShape>(new TQTKLineShape(std::move(line)));
        return CreateElementDrawObj(std::move(data));
    });
    TQTKElementDrawObj* unit =
        building_->AddLine(2, 81, 0, 0, 6000, 0, 1000, 0, 300,
                           {{"Type", TRDXValue(std::int64_t{0})}, {"SectionTypeID", TRDXValue(std::int64_t{2})}});
    building_->SetParent(unit, strip);
    building_->Activate();
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(2), false);
    auto* lines = dynamic_cast<IQTKStripFDUnitCalcEDO*>(edo.get());
    ASSERT_NE(lines, nullptr);
    EXPECT_THROW(lines->GetSectionLine(), EQTKAssertionFailed);
}

TEST_F(TStripFDTest, OffsetLineToUnit)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0, 1000, 300) + "," + ::Unit(2, 1, 0, 0, 6000, 0, 1000, 0, 300, 0) + "," +
         ::Unit(3, 1, 0, 0, 6000, 0, 600, 300, 600, 0) + "]");
    // Unit 3 is centred on the foundation's middle (y = -200).
    const TVRMCustomLine2d moved = Unit(3).OffsetLineToUnit(TVRMCustomLine2d({1000, 700}, {2000, 700}));
    ExpectPoint(moved.StartPt(), 1000, -200);
    ExpectPoint(moved.EndPt(), 2000, -200);
}

TEST_F(TStripFDTest, OffsetArcLineToUnit)
{
    const double r = 5000, h = r / std::sqrt(2.0);
    char text[2048];
    std::snprintf(text, sizeof text,
                  R"([{"id": 1, "type": 51, "props": {"Width": 1000, "AxisOffset": 500}, "shape": {"kind": "line",
                      "start": [5000, 0], "end": [0, 5000], "mid": [%.17g, %.17g], "width": 1000, "bottom": 0,
                      "top": 300}},
                     {"id": 2, "type": 81, "parent": 1, "props": {"Type": 0, "Offset": 0, "BottomElev": 0},
                      "shape": {"kind": "line", "start": [5000, 0], "end": [0, 5000], "mid": [%.17g, %.17g],
                      "width": 1000, "bottom": 0, "top": 300}}])",
                  h, h, h, h);
    Load(text);
    const TVRMCustomLine2d arc({6000, 0}, {0, 6000}, 6000, CVRMArcKindCCW);
    const TVRMCustomLine2d moved = Unit(2).OffsetLineToUnit(arc);
    ASSERT_TRUE(moved.IsArc());
    EXPECT_NEAR(moved.Radius(), 5000, 1e-6);
}

// Quantities 411 and 631 with an empty detail container: a new volume
// calculator over the unit's solid replaces the stored one and, in detail
// mode, the original-volume detail it wrote reads in the quantity's unit.
TEST_F(TStripFDTest, UnitVolumeDetailMakesANewCalculator)
{
    Load("[" + ::Strip(1, 0, 0, 6000, 0) + "," + ::Unit(2, 1, 0, 0, 6000, 0, 1000, 0, 300, 0) + "]");
    auto qty = MakeRef<TRDXTable>(
        "Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}, {"Unit", TRDXFieldType::Text, ""}});
    const double volume = 6000.0 * 1000 * 300;  // 1.8 m3
    struct Case {
        const char* name;
        int qtyId;
        bool containerUsed, detailMode, replaced;
        const char* firstExpr;  // "" when no detail is expected first
    };
    const Case cases[] = {
        {"411", 411, false, false, true, ""},
        {"631", 631, false, false, true, ""},
        {"631 in detail mode", 631, false, true, true, "1.8"},
        {"411 in detail mode", 411, false, true, true, "1.8"},
        {"another quantity", 412, false, true, false, ""},
        {"container used", 411, true, true, false, "1"},
    };
    TQTKDetailModeScope noDetails(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IRDXRecord* qtyRecord = qty->GetRecordByID(c.qtyId);
        if (!qtyRecord)
            qtyRecord = qty->AddRow({std::int64_t{c.qtyId}, std::string("m3")});
        IQTKStripFDUnitCalcEDO& unit = Unit(2);
        auto stored = std::make_shared<TQTKSolidCalc3d>(std::make_unique<TVRMPolyhedron3d>(), RecordRef(Record(2)));
        unit.SetVolumeCalc(stored);
        unit.SetOriginalQty(volume);
        TQTKDeductDetailContainer container;
        if (c.containerUsed)
            container.Add(std::make_unique<TQTKDeductDetail>(RecordRef(Record(2)), "", "", "1"));
        TQTKDetailModeScope mode(c.detailMode);
        SetDeductDetailContainer(&container);
        unit.FillDeductDetail(qtyRecord);
        SetDeductDetailContainer(nullptr);
        const std::shared_ptr<TQTKSolidCalc3d> calc = unit.GetVolumeCalc();
        EXPECT_EQ(calc != stored, c.replaced);
        EXPECT_NEAR(calc->GetVolume(), c.replaced ? volume : 0.0, 1.0);
        if (*c.firstExpr) {
            ASSERT_GT(container.GetCount(), 0);
            EXPECT_EQ(container.GetItems(0)->GetDedcutExpr(), c.firstExpr);
        } else {
            EXPECT_EQ(container.GetCount(), 0);
        }
    }
}

TEST_F(TStripFDTest, TheSampleBuildingsStripFoundation)
{
    building_ = TTestBuilding::FromFile(TTestBuilding::FixturesDir() / "../../examples/building.json");
    building_->Activate();
    IQTKStripFDCalcEDO& strip = Strip(113);
    ExpectPoint(strip.GetMidLine()->StartPt(), 4500, 800, 1e-3);
    ExpectPoint(strip.GetMidLine()->EndPt(), 4500, 5200, 1e-3);
    EXPECT_NEAR(strip.GetOutlinePolygon()->Area(), 600.0 * 4400, 1e-3);
    EXPECT_NEAR(strip.GetOriginalPolyhedron()->GetVolume(), 600.0 * 4400 * 300, 1.0);
}

}  // namespace
