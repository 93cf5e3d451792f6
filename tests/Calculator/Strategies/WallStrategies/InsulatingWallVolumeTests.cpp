// Insulating wall layer measures and volume deductions: an insulating wall
// (id 1, 200 thick on its axis (0,0)-(6000,0), 0 to 3000) of two 100 mm
// layers 2 (left) and 3 (right).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Layer(int id, double y, double thickness, double top = 3000)
{
    const std::string t = std::to_string(thickness), h = std::to_string(top);
    return R"({"id": )" + std::to_string(id) + R"(, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": )" + t +
           R"(, "EDOPID": 1, "StartPtTopElev": )" + h + R"(, "EndPtTopElev": )" + h +
           R"(, "StartPtBottomElev": 0, "EndPtBottomElev": 0}, "shape": {"kind": "line", "start": [0, )" +
           std::to_string(y) + R"(], "end": [6000, )" + std::to_string(y) + R"(], "width": )" + t +
           R"(, "axisOffset": )" + std::to_string(thickness / 2) + R"(, "startBottom": 0, "startTop": )" + h +
           R"(, "endBottom": 0, "endTop": )" + h + "}}";
}

const char* CWall = R"({"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 200, "InnerOuterFlag": 0},
    "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "axisOffset": 100,
              "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 3000}})";

std::unique_ptr<TTestBuilding> TwoLayers(const std::string& more = "", double top3 = 3000)
{
    return TTestBuilding::FromElements("[" + std::string(CWall) + "," + Layer(2, 50, 100) + "," +
                                       Layer(3, -50, 100, top3) + more + "]");
}

TEST(InsulatingWallVolumeRules, MeasuresAndDeductions)
{
    struct TCase {
        const char* name;
        const char* rule;
        int subject, object;
        std::string more;
        double expected;
    };
    const std::string opening =
        R"(, {"id": 10, "type": 7, "floor": 1, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 2000,
            "AboveFloorHeight": 0}, "shape": {"kind": "opening", "at": 3000}})";
    const std::string typeOneColumn =
        R"(, {"id": 20, "type": 26, "floor": 1, "props": {"Type": 1, "IndentingWidth": 60, "BottomElev": 0,
            "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [3000, 0], "size": [200, 200]}})";
    const std::vector<TCase> cases = {
        {"middle length", "TQTKInsulatingWallMiddleLength", 2, 2, "", 6000.0},
        {"height ((3000 + 3000) - 0 - 0) / 2", "TQTKInsulatingWallHeight", 2, 2, "", 3000.0},
        {"layers of one wall take nothing from each other", "TQTKInsulatingWallVolumeDeductByFact", 2, 3, "", 0.0},
        {"0.2 m3 out of a 100 mm layer is 2 m2", "TQTKInsulatingWallVolumeDeductHollowByFact", 2, 10, opening,
         1000.0 * 2000},
        {"a column of Type 1 has no teeth", "TQTKInsulatingWallVolumeDeductWholeIndenting", 2, 20, typeOneColumn, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TwoLayers(c.more);
        building->Activate();
        EXPECT_NEAR(RunWallRule(c.rule, *building, c.subject, c.object), c.expected, 0.01);
    }
}

TEST(InsulatingWallVolumeRules, LayerLowerThanOneMillimetreHasNoHeight)
{
    const auto building = TwoLayers("", 0.5);
    building->Activate();
    EXPECT_EQ(RunWallRule("TQTKInsulatingWallHeight", *building, 3, 3), 0.0);
}

// "ThicknessModulus" of the wall settings maps 199 to 200.
TEST(InsulatingWallVolumeRules, RatingThicknessByTheThicknessTable)
{
    struct TCase {
        const char* name;
        std::string settings;
        double expected;
    };
    const std::string table =
        R"({"name": "QTKWallCalcSettings", "fields": [{"name": "ThicknessModulus", "type": "detail",
        "fields": [{"name": "DefinedThickness", "type": "integer"}, {"name": "ActualThickness", "type": "integer"}]}],
        "rows": [{"ThicknessModulus": [{"DefinedThickness": )";
    const std::vector<TCase> cases = {
        {"a row for 199", table + R"(199, "ActualThickness": 200}]}]})", 200.0},
        {"no row for 199", table + R"(240, "ActualThickness": 200}]}]})", 198.6},
        {"no settings table", "", 198.6},
        {"a settings row without a table", R"({"name": "QTKWallCalcSettings", "fields": [
            {"name": "ThicknessModulus", "type": "detail", "fields": [{"name": "DefinedThickness", "type": "integer"}]}],
            "rows": [{}]})",
         198.6},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromText(
            R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [)" + c.settings +
            R"(]}], "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}], "elements": [)" +
            CWall + "," + Layer(2, 50, 198.6) + "]}");
        building->Activate();
        EXPECT_NEAR(RunWallRule("TQTKInsulatingWallRatingThickness", *building, 2, 2), c.expected, 1e-9);
    }
}

// A pier on the insulating wall adds its volume outside detail mode only.
TEST(InsulatingWallVolumeRules, PierAddsNothingInDetailMode)
{
    const std::string pier = R"(, {"id": 30, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0,
        "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [3000, 225], "size": [500, 250]}})";
    for (const bool detailMode : {false, true}) {
        SCOPED_TRACE(detailMode ? "detail mode" : "bill");
        const auto building = TwoLayers(pier);
        building->Activate(detailMode);
        EXPECT_NEAR(RunWallRule("TQTKInsulatingWallVolumeAddPier", *building, 2, 30),
                    detailMode ? 0.0 : 500.0 * 250 * 3000, 0.01);
    }
}

const std::vector<std::string> CInsulatingWallVolumeRuleNames = {
    "TQTKInsulatingWallMiddleLength",
    "TQTKInsulatingWallHeight",
    "TQTKInsulatingWallThickness",
    "TQTKInsulatingWallRatingThickness",
    "TQTKInsulatingWallVolumeDeductHollowByFact",
    "TQTKInsulatingWallVolumeDeductRibbonByFact",
    "TQTKInsulatingWallVolumeDeductDot3M2LimitedOpenning",
    "TQTKInsulatingWallVolumeDeductByFact",
    "TQTKInsulatingWallVolumeDeductNotParallelBeam",
    "TQTKInsulatingWallVolumeDeductParallelBeam",
    "TQTKInsulatingWallVolumeDeductRegularParallelBeam",
    "TQTKInsulatingWallVolumeDeductIrRegularParallelBeam",
    "TQTKInsulatingWallVolumeDeductWholeIndenting",
    "TQTKInsulatingWallVolumeDeductHalfIndenting",
    "TQTKInsulatingWallVolumeAddPier",
};

TEST(WallRuleRegistration, EveryInsulatingWallVolumeRuleNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CInsulatingWallVolumeRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
