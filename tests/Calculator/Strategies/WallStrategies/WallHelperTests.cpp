// The shared wall routines on small buildings: the wall's top under the
// members resting on it, columns covered by walls, tie columns with their
// teeth, slabs stretched over a wall's width and openings on a wall. Every
// expected value is worked out by hand from the fixture's sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

// A 240 brick wall along x from 0 to 6000, bottom 0, top 3000: its faces are
// y = -120 and y = 120.
const std::string CBrickWall = R"({"id": 1, "type": 0, "floor": 1,
    "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
    "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})";

std::string Elements(const std::vector<std::string>& items)
{
    std::string text = "[";
    for (const std::string& item : items)
        text += (text.size() > 1 ? ", " : "") + item;
    return text + "]";
}

// The wall top (3000) under a beam along the whole wall, centred on its axis.
TEST(WallHelpers, WallTopUnderTheBeamsRestingOnIt)
{
    struct TCase {
        const char* name;
        double beamBottom, beamTop;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"beam 2600-3300 spans the top: its bottom", 2600, 3300, 2600},
        {"beam 3000-3300 stands on the top: the top", 3000, 3300, 3000},
        {"beam 2000-2500 wholly below: the top", 2000, 2500, 3000},
        {"beam 2600-2900 ends below the top: the top", 2600, 2900, 3000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string beam = R"({"id": 2, "type": 15, "floor": 1, "props": {"Material": "混凝土"},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": )" +
                                 std::to_string(c.beamBottom) + R"(, "top": )" + std::to_string(c.beamTop) + "}}";
        auto building = TTestBuilding::FromElements(Elements({CBrickWall, beam}));
        building->Activate();
        TQTKElementTypeSet beams;
        beams.set(15).set(17).set(18);
        EXPECT_NEAR(GetWallTopUnderMembers(building->Record(1), beams), c.expected, 0.001);
    }
}

// A rectangular column 400 long, from y = low to y = high, against a 240
// wall along +x. Centred on the axis the wall's faces are y = -120 and 120;
// with "AxisOffset" 0 the axis is its left face: y = 0 and y = -240.
TEST(WallHelpers, RectangularColumnIsCoveredWithinTheWallFaces)
{
    struct TCase {
        const char* name;
        const char* axisOffset;  // the wall's "AxisOffset" property, or none
        double low, high;
        bool expected;
    };
    const std::vector<TCase> cases = {
        {"inside the thickness", "", -100, 100, true},
        {"flush with both faces", "", -120, 120, true},
        {"1 mm past the right face", "", -100, 121, false},
        {"1 mm past the left face", "", -121, 100, false},
        {"well out of the wall", "", -100, 400, false},
        {"axis on the left face: within y -200..-10", R"("AxisOffset": 0, )", -200, -10, true},
        {"axis on the left face: centred on the axis, half out", R"("AxisOffset": 0, )", -100, 100, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string wall = R"({"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, )" +
                                 std::string(c.axisOffset) + R"("BottomElev": 0, "TopElev": 3000, "Material": "砖"},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})";
        const std::string column = R"({"id": 2, "type": 25, "floor": 1,
            "props": {"BottomElev": 0, "TopElev": 3000, "Material": "混凝土"},
            "shape": {"kind": "point", "insertPt": [3000, 0], "outline": [[-200, )" +
                                   std::to_string(c.low) + "], [200, " + std::to_string(c.low) + "], [200, " +
                                   std::to_string(c.high) + "], [-200, " + std::to_string(c.high) + "]]}}";
        auto building = TTestBuilding::FromElements(Elements({wall, column}));
        building->Activate();
        EXPECT_EQ(IsCoveredByWalls(building->Record(1), building->Record(2)), c.expected);
    }
}

// An L-shaped column in the crossing of two 240 walls (x axis and y axis):
// its short arm is Sliver thicker than the x wall, leaving a strip 480 long
// (x from 120 to 600) uncovered. 0.4 mm: area 192, perimeter 960.8, ratio
// 0.2 < 0.5 → covered; 2 mm: area 960, perimeter 964, ratio 0.996 → not.
TEST(WallHelpers, IrregularColumnIsCoveredUpToASliver)
{
    struct TCase {
        const char* name;
        double sliver;
        bool expected;
    };
    const std::vector<TCase> cases = {
        {"no sliver", 0.0, true},
        {"0.4 mm sliver: thinner than about 1 mm", 0.4, true},
        {"2 mm strip: not covered", 2.0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string y = std::to_string(120.0 + c.sliver);
        const std::string column = R"({"id": 3, "type": 25, "floor": 1,
            "props": {"BottomElev": 0, "TopElev": 3000, "Material": "混凝土"},
            "shape": {"kind": "point", "insertPt": [0, 0], "outline": [[-120, -120], [600, -120], [600, )" +
                                   y + "], [120, " + y + R"(], [120, 600], [-120, 600]]}})";
        const std::string wallX = R"({"id": 1, "type": 0, "floor": 1,
            "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
            "shape": {"kind": "line", "start": [-1000, 0], "end": [6000, 0]}})";
        const std::string wallY = R"({"id": 2, "type": 0, "floor": 1,
            "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
            "shape": {"kind": "line", "start": [0, -1000], "end": [0, 6000]}})";
        auto building = TTestBuilding::FromElements(Elements({wallX, wallY, column}));
        building->Activate();
        EXPECT_EQ(IsCoveredByWalls(building->Record(1), building->Record(3)), c.expected);
    }
}

// A 240 × 240 tie column (Type 0, IndentingWidth 60) centred at the origin,
// 3000 high: 172,800,000 mm³ of its own; each tooth is its 240 edge pushed
// out by 60 (whole) or 30 (half): 240 × 60 × 3000 = 43,200,000 or 21,600,000.
TEST(WallHelpers, TieColumnTeethIntoTheMasonryBesideIt)
{
    struct TCase {
        const char* name;
        double wallStart;
        const char* material;
        bool whole;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"at the end of a brick wall: one tooth", 0, "砖", true, 172800000.0 + 43200000.0},
        {"in the middle of a brick wall: two teeth", -3000, "砖", true, 172800000.0 + 2 * 43200000.0},
        {"beside a concrete wall: no tooth", -3000, "混凝土", true, 172800000.0},
        {"half variant, one tooth of 30", 0, "砖", false, 172800000.0 + 21600000.0},
        {"half variant, two teeth of 30", -3000, "砖", false, 172800000.0 + 2 * 21600000.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string wall = R"({"id": 1, "type": 0, "floor": 1,
            "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": ")" +
                                 std::string(c.material) + R"("},
            "shape": {"kind": "line", "start": [)" +
                                 std::to_string(c.wallStart) + R"(, 0], "end": [6000, 0]}})";
        const std::string column = R"({"id": 2, "type": 25, "floor": 1,
            "props": {"Type": 0, "IndentingWidth": 60, "BottomElev": 0, "TopElev": 3000, "Material": "混凝土"},
            "shape": {"kind": "point", "insertPt": [0, 0], "size": [240, 240]}})";
        auto building = TTestBuilding::FromElements(Elements({wall, column}));
        building->Activate();
        ASSERT_TRUE(IsTypeZeroElement(building->Record(2)));
        const auto solid = BuildColumnIndentingSolid(building->Record(2), c.whole);
        ASSERT_TRUE(solid);
        EXPECT_NEAR(solid->GetVolume(), c.expected, 1.0);
    }
}

TEST(WallHelpers, OnlyColumnsOfTypeZeroIndent)
{
    auto building = TTestBuilding::FromElements(Elements({CBrickWall, R"({"id": 2, "type": 25, "floor": 1,
        "props": {"Type": 1, "IndentingWidth": 60, "BottomElev": 0, "TopElev": 3000},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [240, 240]}})"}));
    building->Activate();
    EXPECT_FALSE(IsTypeZeroElement(building->Record(2)));
}

// A 120 slab (top 3000) whose edge stops on the wall's axis (y = 0), over
// y 0..3000; the wall's solid is y -120..120, 0..3000. The part of the
// stretched slab within the wall is the whole width: 6000 × 240 × 120 =
// 172,800,000; unstretched it is half: 86,400,000.
TEST(WallHelpers, SlabEdgeOnTheWallAxisIsStretchedOverTheWallWidth)
{
    struct TCase {
        const char* name;
        const char* neighbour;  // a second slab south of the axis, or none
        double expectedInWall;
    };
    const std::vector<TCase> cases = {
        {"alone on the wall: stretched over the width", "", 172800000.0},
        {"a coplanar neighbour covers the other half: not stretched",
         R"(, {"id": 11, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000, "Material": "混凝土"},
            "shape": {"kind": "face", "outline": [[0, -3000], [6000, -3000], [6000, 0], [0, 0]]}})",
         86400000.0},
        {"a neighbour on another level does not count",
         R"(, {"id": 11, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 2500, "Material": "混凝土"},
            "shape": {"kind": "face", "outline": [[0, -3000], [6000, -3000], [6000, 0], [0, 0]]}})",
         172800000.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string slab = R"({"id": 10, "type": 19, "floor": 1,
            "props": {"Thickness": 120, "TopElev": 3000, "Material": "混凝土"},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 3000], [0, 3000]]}})";
        auto building = TTestBuilding::FromElements("[" + CBrickWall + ", " + slab + c.neighbour + "]");
        building->Activate();
        auto solid = BuildSlabSolidOverWall(building->Record(10), building->Record(1));
        ASSERT_TRUE(solid);
        const Ref<IQTKPolyhedron3dIntf> wallSolid = GetCalcEDO(building->Record(1), true)->GetOriginalPolyhedronIntf();
        ASSERT_TRUE(wallSolid && wallSolid->GetPolyhedron());
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *wallSolid->GetPolyhedron(), CVRMBoolIntersect));
        EXPECT_NEAR(solid->GetVolume(), c.expectedInWall, 1.0);
    }
}

// A window whose "EDOPID" is the wall is on the wall; one hosted by a wall
// 5000 away is not.
TEST(WallHelpers, OpeningOnTheWallByItsHost)
{
    const std::string farWall = R"({"id": 3, "type": 0, "floor": 1,
        "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
        "shape": {"kind": "line", "start": [0, 5000], "end": [6000, 5000]}})";
    const std::string window = R"({"id": 2, "type": 5, "floor": 1, "parent": 1,
        "props": {"OpeningWidth": 1500, "OpeningHeight": 1500, "AboveFloorHeight": 900, "EDOPID": 1},
        "shape": {"kind": "opening", "at": 3000}})";
    const std::string farWindow = R"({"id": 4, "type": 5, "floor": 1, "parent": 3,
        "props": {"OpeningWidth": 1500, "OpeningHeight": 1500, "AboveFloorHeight": 900, "EDOPID": 3},
        "shape": {"kind": "opening", "at": 3000}})";
    auto building = TTestBuilding::FromElements(Elements({CBrickWall, window, farWall, farWindow}));
    building->Activate();
    EXPECT_TRUE(IsOpeningOnWallPlan(building->Record(1), building->Record(2)));
    EXPECT_FALSE(IsOpeningOnWallPlan(building->Record(1), building->Record(4)));
    EXPECT_TRUE(IsOpeningOnWallPlan(building->Record(3), building->Record(4)));
}

}  // namespace
