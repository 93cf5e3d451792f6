// Column height, section and scaffold rules: small buildings on a foundation
// floor (F0, "StartFloorNo" 0, -3 m) and a first floor (F1 at 0), the
// project's scaffold condition and its rule row of the scaffold height.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/Runtime/Assert.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

// Column 1 (400 square at the origin) on F1 from 0 to Top, with Elements
// beside it; "ConcreteColumnSacffoldAreaCalcCondition" Condition; the rule
// row of quantity 893 naming RuleId (none: 0).
std::unique_ptr<TTestBuilding> ScaffoldBuilding(int condition, double top, const std::string& elements = "",
                                                int ruleId = 0, int columnFloor = 2)
{
    const std::string rows =
        ruleId ? R"({"InternalQtyID": 893, "CalcRuleID": )" + std::to_string(ruleId) + "}" : std::string();
    auto building = TTestBuilding::FromText(
        R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
              {"name": "QTKColumnCalcSettings",
               "fields": [{"name": "ConcreteColumnSacffoldAreaCalcCondition", "type": "integer"}],
               "rows": [{"ConcreteColumnSacffoldAreaCalcCondition": )" +
        std::to_string(condition) + R"(}]},
              {"name": "InternalQtyCalcRule",
               "fields": [{"name": "InternalQtyID", "type": "integer"}, {"name": "CalcRuleID", "type": "integer"}],
               "rows": [)" +
        rows + R"(]}]}],
            "floors": [{"ID": 1, "Name": "F0", "StructuralElevation": -3.0, "Height": 3.0, "StartFloorNo": 0},
                       {"ID": 2, "Name": "F1", "StructuralElevation": 0.0, "Height": 4.0, "StartFloorNo": 1}],
            "elements": [
              {"id": 1, "type": 25, "floor": )" +
        std::to_string(columnFloor) + R"(, "props": {"BottomElev": 0, "TopElev": )" + std::to_string(top) +
        R"(, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400]}})" +
        (elements.empty() ? "" : ", " + elements) + "]}");
    building->Activate();
    return building;
}

double StoredHeight(const TTestBuilding& building)
{
    return RefCast<IQTKColumnCalculatorEDO>(GetCalcEDO(building.Record(1), true))->GetScaffoldHeight();
}

const std::vector<std::string> CHeightRules = {
    "TQTKClumnScaffoldHeightGroundElevToColumnTopElev",
    "TQTKClumnScaffoldHeightGroundElevToSlapBottomElev",
    "TQTKClumnScaffoldHeightGroundElevToBeamOrSlapBottomElev",
    "TQTKClumnScaffoldFloorBottomElevToCloumnTopElev",
    "TQTKClumnScaffoldFloorBottomElevToSlapBottompElev",
    "TQTKColumnScaffoldHeightFloorToBeamOrSalbBottomElev",
    "TQTKColumnScaffoldHeightHaveBaseRoomToColumnTopElev",
    "TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductBeamAndSlabTopElev",
    "TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductSlabTopElev",
    "TQTKColumnScaffoldHeightFromBaseToTop",
};

// A column on the foundation floor never gets scaffolding: every height rule
// stores and returns 0, whatever the condition.
TEST(ColumnScaffoldRules, FoundationFloorColumnHasNoHeight)
{
    for (const std::string& rule : CHeightRules) {
        SCOPED_TRACE(rule);
        const auto building = ScaffoldBuilding(2, 3000, "", 0, 1);
        EXPECT_DOUBLE_EQ(RunWallRule(rule.c_str(), *building, 1, 1), 0.0);
        EXPECT_DOUBLE_EQ(StoredHeight(*building), 0.0);
    }
}

// Floor (0) to column top, by the condition: 0 never; 2, and 7 (outside the
// table), always; 4 only for a top more than 1200 above the floor.
TEST(ColumnScaffoldRules, ConditionDecidesWhetherThereIsAHeight)
{
    struct TCase {
        int condition;
        double top;
        double expected;
    };
    const std::vector<TCase> cases = {
        {0, 3000, 0.0}, {2, 3000, 3000.0}, {7, 3000, 3000.0}, {4, 1200, 0.0}, {4, 1201, 1201.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("condition " + std::to_string(c.condition) + ", top " + std::to_string(c.top));
        const auto building = ScaffoldBuilding(c.condition, c.top);
        EXPECT_NEAR(RunWallRule("TQTKClumnScaffoldFloorBottomElevToCloumnTopElev", *building, 1, 1), c.expected, 1e-6);
        EXPECT_NEAR(StoredHeight(*building), c.expected, 1e-6);
    }
}

// A slab 700 thick whose top lies 600 above the column's top (3000) is out of
// reach; 400 above, it lowers the top to its underside (3400 - 700).
TEST(ColumnScaffoldRules, OnlyASlabWithinHalfAMetreLowersTheTop)
{
    struct TCase {
        double slabTop;
        double expected;
    };
    for (const TCase& c : std::vector<TCase>{{3600, 3000}, {3400, 2700}}) {
        SCOPED_TRACE("slab top " + std::to_string(c.slabTop));
        const auto building = ScaffoldBuilding(2, 3000,
                                               R"({"id": 2, "type": 19, "floor": 2, "props": {"Thickness": 700,
                   "TopElev": )" + std::to_string(c.slabTop) +
                                                   R"(}, "shape": {"kind": "face",
                   "outline": [[-2000, -2000], [2000, -2000], [2000, 2000], [-2000, 2000]]}})");
        EXPECT_NEAR(RunWallRule("TQTKClumnScaffoldFloorBottomElevToSlapBottompElev", *building, 1, 1), c.expected,
                    1e-6);
    }
}

// The 3.6 m term: without a stored height the rule row 893 names the height
// rule (floor to column top); exactly 3600 gives 0, 3601 gives 3600; without
// the row the height is 0. A stored height is used as it is.
TEST(ColumnScaffoldRules, ConstantTermOverThreePointSixMetres)
{
    struct TCase {
        const char* name;
        double top;
        int ruleId;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"3600 high", 3600, 5598, 0.0},
        {"3601 high", 3601, 5598, 3600.0},
        {"no rule row", 3601, 0, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = ScaffoldBuilding(2, c.top, "", c.ruleId);
        EXPECT_DOUBLE_EQ(RunWallRule("TQTKColumnScaffoldAddconstCoefficientBy3Dot6", *building, 1, 1), c.expected);
    }
    const auto building = ScaffoldBuilding(2, 3000, "", 5598);
    RefCast<IQTKColumnCalculatorEDO>(GetCalcEDO(building->Record(1), true))->SetScaffoldHeight(4000);
    EXPECT_DOUBLE_EQ(RunWallRule("TQTKColumnScaffoldAddconstCoefficientBy3Dot6", *building, 1, 1), 3600.0);
    EXPECT_DOUBLE_EQ(RunWallRule("TQTKColumnScaffoldAddconstCoefficient", *building, 1, 1), 3600.0);
}

// Column 1 on F1 (0 to 3000) stands on column 3 of the foundation floor
// (-1000 to 0), which stands on pile cap unit 5 (top at -1000) of pile cap 4:
// the height runs from the pile cap's top, 4000. Without the pile cap, from
// the lower column's bottom, 4000 as well when it reaches -1000; a column with
// its own foundation below measures from that.
TEST(ColumnScaffoldRules, HeightFromTheFoundationThroughTheColumnBelow)
{
    const std::string lower = R"({"id": 3, "type": 25, "floor": 1, "props": {"BottomElev": -1000, "TopElev": 0},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400]}})";
    const std::string cap = R"({"id": 4, "type": 53, "floor": 1, "props": {"BottomElev": -1600, "TopElev": -1000},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 1200]}},
        {"id": 5, "type": 83, "floor": 1, "parent": 4, "props": {"BottomElev": -1600, "TopElev": -1000},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 1200]}})";
    struct TCase {
        const char* name;
        std::string elements;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"through the lower column to the pile cap", lower + ", " + cap, 4000.0},
        {"no column below", "", 3000.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = ScaffoldBuilding(2, 3000, c.elements);
        EXPECT_NEAR(RunWallRule("TQTKColumnScaffoldHeightFromBaseToTop", *building, 1, 1), c.expected, 1e-6);
        EXPECT_NEAR(StoredHeight(*building), c.expected, 1e-6);
    }
}

// A foundation element below the column that offers no shape to measure: the
// computation raises and the height stored before stays.
TEST(ColumnScaffoldRules, RaisingHeightComputationStoresNothing)
{
    const auto building = ScaffoldBuilding(2, 3000, R"({"id": 2, "type": 48, "floor": 2,
        "solid": {"vertices": [[-1000, -1000, -500], [1000, -1000, -500], [1000, 1000, -500], [-1000, 1000, -500],
                               [-1000, -1000, 100], [1000, -1000, 100], [1000, 1000, 100], [-1000, 1000, 100]],
                  "faces": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]]}})");
    RefCast<IQTKColumnCalculatorEDO>(GetCalcEDO(building->Record(1), true))->SetScaffoldHeight(1234);
    EXPECT_THROW(RunWallRule("TQTKColumnScaffoldHeightFromBaseToTop", *building, 1, 1), EQTKAssertionFailed);
    EXPECT_DOUBLE_EQ(StoredHeight(*building), 1234);
}

// ---------------------------------------------------------------------------
// Height, section area, section perimeter

std::unique_ptr<TTestBuilding> ColumnAmong(double top, const std::string& elements, const std::string& props = "")
{
    auto building =
        TTestBuilding::FromElements(R"([{"id": 1, "type": 25, "floor": 1, "props": {"BottomElev": 0, "TopElev": )" +
                                    std::to_string(top) + R"(, "Material": "混凝土")" + props +
                                    R"(}, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400]}})" +
                                    (elements.empty() ? "" : ", " + elements) + "]");
    building->Activate();
    return building;
}

TEST(ColumnSizeRules, HeightBetweenCalculationElevations)
{
    struct TCase {
        const char* name;
        double top;
        std::string elements;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"0.5 mm high", 0.5, "", 0.0},
        {"1 mm high", 1.0, "", 1.0},
        {"under a cap from 2700", 3000,
         R"({"id": 2, "type": 27, "floor": 1, "props": {"BottomElev": 2700, "TopElev": 3000},
             "shape": {"kind": "point", "insertPt": [0, 0], "size": [800, 800]}})",
         2700.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = ColumnAmong(c.top, c.elements);
        EXPECT_NEAR(RunWallRule("TQTKColumnOriginalHeight", *building, 1, 1), c.expected, 1e-9);
    }
}

// Slabs 200 (2800..3000) and 300 (2700..3000) thick over one stretch of the
// centre line: the first takes 200, the second the 100 left.
TEST(ColumnSizeRules, OverlappingSlabsTakeTheCentreLineOnce)
{
    const auto slab = [](int id, double thickness) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "floor": 1, "props": {"Thickness": )" +
               std::to_string(thickness) + R"(, "TopElev": 3000}, "shape": {"kind": "face",
               "outline": [[-2000, -2000], [2000, -2000], [2000, 2000], [-2000, 2000]]}})";
    };
    const auto building = ColumnAmong(3000, slab(2, 200) + ", " + slab(3, 300));
    EXPECT_NEAR(RunWallRule("TQTKColumnVolHeightDeductByFact", *building, 1, 2), 200.0, 1e-6);
    EXPECT_NEAR(RunWallRule("TQTKColumnVolHeightDeductByFact", *building, 1, 3), 100.0, 1e-6);
}

TEST(ColumnSizeRules, SectionAreaAndPerimeter)
{
    const auto building = ColumnAmong(3000, "");
    EXPECT_NEAR(RunWallRule("TQTKColumnSectionArea", *building, 1, 1), 400.0 * 400, 1e-6);
    EXPECT_NEAR(RunWallRule("TQTKColumnSectionPerimeter", *building, 1, 1), 1600.0, 1e-6);
}

// The 400 column ("Perimeter" 1600) crossed by 240 walls along x and along y:
// concrete walls hold 240 of each of its four edges, 640 is left; brick
// walls leave the "Perimeter". A 240 column ("Perimeter" 960) within a 240
// concrete wall has nothing left: the "Perimeter".
TEST(ColumnSizeRules, ScaffoldPerimeterLessConcreteWalls)
{
    const auto wall = [](int id, const char* material, bool alongY) {
        return R"({"id": )" + std::to_string(id) +
               R"(, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000,
               "Material": ")" +
               material + R"("}, "shape": {"kind": "line", )" +
               (alongY ? R"("start": [0, -3000], "end": [0, 3000]}})" : R"("start": [-3000, 0], "end": [3000, 0]}})");
    };
    struct TCase {
        const char* name;
        std::string elements;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"concrete walls on all sides", wall(2, "混凝土", false) + ", " + wall(3, "混凝土", true), 640.0},
        {"brick walls", wall(2, "砖", false) + ", " + wall(3, "砖", true), 1600.0},
        {"standing alone", "", 1600.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = ColumnAmong(3000, c.elements, R"(, "Perimeter": 1600)");
        EXPECT_NEAR(RunWallRule("TQTKColumnScaffoldSectionPerimeterDedcutWall", *building, 1, 1), c.expected, 1e-6);
    }
    auto held = TTestBuilding::FromElements(
        R"([{"id": 1, "type": 25, "floor": 1, "props": {"BottomElev": 0, "TopElev": 3000, "Perimeter": 960},
             "shape": {"kind": "point", "insertPt": [0, 0], "size": [240, 240]}}, )" +
        wall(2, "混凝土", false) + "]");
    held->Activate();
    EXPECT_NEAR(RunWallRule("TQTKColumnScaffoldSectionPerimeterDedcutWall", *held, 1, 1), 960.0, 1e-6);
}

// ---------------------------------------------------------------------------

TEST(ColumnRuleRegistration, EveryColumnRuleNameAnswersWithItsOwnClass)
{
    const std::vector<std::string> names = {
        // volume
        "TQTKColumnVolDeductByFact", "TQTKColumnVolDeductByFactWithoutCupulateIsolatedFD",
        "TQTKColumnVolDeductFDBeamVol", "TQTKColumnVolDeductAloneBeamVol",
        "TQTKRectangleColumnVolDeductLackOneAndHalfWallThickness", "TQTKRectangleColumnVolDeductLackSettledLenth",
        "TQTKRectangleColumnVolDeductLackOneThickness", "TQTKRectangleColumnVolDeductNearWall",
        "TQTKTieColumnVolAddIndentingHalfLength", "TQTKTieColumnVolAddIndentingAllLength",
        "TQTKTieColumnVolDeductDoorWindowHole", "TQTKColumnVolDeductIrregularWall",
        // formwork
        "TQTKColumnFormBoardAreaDeductByFact", "TQTKRectanglColumnFormBoarAreaDeductLackOneAndHalfWallThickness",
        "TQTKRectangleColumnFormBoardAreaDeductLackSettledLenth",
        "TQTKRectangleColumnFormBoardAreaDeductLackOneThickness", "TQTKRectangleColumnTemplateAreaGiveNearWall",
        "TQTKTieColumnFormBoardAreaAddHalfIndenting", "TQTKTieColumnFormBoardAreaAddIndenting",
        "TQTKTieColumnFormBoardAreaDeductHole", "TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth",
        "TQTKColumnFormBoardDeductIrregularWall",
        // height, section area, section perimeter
        "TQTKColumnOriginalHeight", "TQTKColumnVolHeightDeductByFact", "TQTKColumnSectionArea",
        "TQTKColumnSectionPerimeter", "TQTKColumnScaffoldSectionPerimeterDedcutWall",
        // scaffold
        "TQTKColumnScaffoldAddconstCoefficient", "TQTKColumnScaffoldAddconstCoefficientBy3Dot6",
        "TQTKColumnScaffoldAddCoefficient", "TQTKClumnScaffoldHeightGroundElevToColumnTopElev",
        "TQTKClumnScaffoldHeightGroundElevToSlapBottomElev", "TQTKClumnScaffoldHeightGroundElevToBeamOrSlapBottomElev",
        "TQTKClumnScaffoldFloorBottomElevToCloumnTopElev", "TQTKClumnScaffoldFloorBottomElevToSlapBottompElev",
        "TQTKColumnScaffoldHeightFloorToBeamOrSalbBottomElev", "TQTKColumnScaffoldHeightHaveBaseRoomToColumnTopElev",
        "TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductBeamAndSlabTopElev",
        "TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductSlabTopElev", "TQTKColumnScaffoldHeightFromBaseToTop"};
    for (const std::string& name : names) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
