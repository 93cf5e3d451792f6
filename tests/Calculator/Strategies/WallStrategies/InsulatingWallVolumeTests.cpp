// Insulating wall layer measures and volume deductions: an insulating wall
// (id 1, 200 thick on its axis (0,0)-(6000,0), 0 to 3000) of two 100 mm
// layers 2 (left) and 3 (right).
#include <gtest/gtest.h>

#include <filesystem>
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

// The one 200 mm layer of insulating-wall.json: an opening of 0.3 m² stays in
// the layer; one of 300,000.01 mm² takes its area (volume / thickness).
TEST(InsulatingWallVolumeRules, OpeningLimitAtTheLimitAndJustAbove)
{
    struct TCase {
        const char* name;
        int opening;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"0.3 m2", 11, 0.0},
        {"0.3 m2 + 0.01", 12, 300000.01},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building =
            TTestBuilding::FromFile(std::filesystem::path(QTK_WALL_CASES_DIR) / "insulating-wall.json");
        building->Activate();
        EXPECT_NEAR(RunWallRule("TQTKInsulatingWallVolumeDeductDot3M2LimitedOpenning", *building, 2, c.opening),
                    c.expected, 0.01);
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

// Insulating wall Id (0 to 3000, "InnerOuterFlag" 0) with its layers Id + 1
// (left) and Id + 2 (right), each half its width, from From to To along the
// x axis or along x = 3000.
std::string CrossWall(int id, double width, bool alongX, double from, double to)
{
    const auto pt = [&](double along, double across) {
        return "[" + std::to_string(alongX ? along : 3000 + across) + ", " + std::to_string(alongX ? across : along) +
               "]";
    };
    const auto line = [&](int element, int parent, double across, double w) {
        const std::string t = std::to_string(w);
        return R"({"id": )" + std::to_string(element) + R"(, "type": )" + (parent ? "86" : "1") + R"(, "floor": 1)" +
               (parent ? R"(, "parent": )" + std::to_string(parent) : std::string()) + R"(, "props": {"Thickness": )" +
               t + R"(, "InnerOuterFlag": 0)" + (parent ? R"(, "EDOPID": )" + std::to_string(parent) : std::string()) +
               R"(, "StartPtTopElev": 3000, "EndPtTopElev": 3000, "StartPtBottomElev": 0, "EndPtBottomElev": 0},
               "shape": {"kind": "line", "start": )" +
               pt(from, across) + R"(, "end": )" + pt(to, across) + R"(, "width": )" + t + R"(, "axisOffset": )" +
               std::to_string(w / 2) + R"(, "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 3000}})";
    };
    const double q = width / 4;
    // Along x the left layer lies at +y; along y at -x.
    return line(id, 0, 0, width) + "," + line(id + 1, id, alongX ? q : -q, width / 2) + "," +
           line(id + 2, id, alongX ? -q : q, width / 2);
}

// Insulating wall 1 (layers 2, 3) on the x axis from 0 to 6000, 200 wide,
// and wall 4 (layers 5, 6) on x = 3000. Every layer of the wall that gives
// way loses its crossing with each layer of the other: half of one width x
// half of the other x 3000; the other wall's layers lose nothing.
TEST(InsulatingWallVolumeRules, OfCrossingWallsOnlyTheOneGivingWayLosesVolume)
{
    struct TCase {
        const char* name;
        double width4, from4;
        int subject, object;
        double expected;
    };
    const double equal = 100.0 * 100 * 3000, wider = 100.0 * 120 * 3000;
    const std::vector<TCase> cases = {
        // Equal widths cross undecided by the joins: the higher id (4) gives way.
        {"equal crossing: a layer of the higher id", 200, -3000, 5, 2, equal},
        {"equal crossing: its other layer", 200, -3000, 6, 3, equal},
        {"equal crossing: a layer of the lower id", 200, -3000, 2, 5, 0.0},
        {"equal crossing: the lower id's other layer", 200, -3000, 3, 6, 0.0},
        // The narrower wall gives way.
        {"240 across 200: a layer of the narrower", 240, -3000, 2, 6, wider},
        {"240 across 200: the wider's layer", 240, -3000, 6, 2, 0.0},
        // Wall 4 stands on wall 1 (T): its layers stop at wall 1's face and
        // nothing is shared.
        {"T: the stem's layer", 200, 0, 5, 2, 0.0},
        {"T: the through wall's layer", 200, 0, 2, 5, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromElements("[" + CrossWall(1, 200, true, 0, 6000) + "," +
                                                          CrossWall(4, c.width4, false, c.from4, 3000) + "]");
        building->Activate();
        EXPECT_NEAR(RunWallRule("TQTKInsulatingWallVolumeDeductByFact", *building, c.subject, c.object), c.expected,
                    0.01);
    }
}

// Two 200 wide two-layer walls crossing (equal widths, 3000 high) share
// 200 x 200 x 3000 = 1.2e8: every layer deducting every layer of the other
// wall, in both directions, takes it off once in all, and all of it from
// the wall that gives way.
TEST(InsulatingWallVolumeRules, CrossingWallsShareTheirVolumeOnce)
{
    const auto building = TTestBuilding::FromElements("[" + CrossWall(1, 200, true, 0, 6000) + "," +
                                                      CrossWall(4, 200, false, -3000, 3000) + "]");
    building->Activate();
    double byWall1 = 0.0, byWall4 = 0.0;
    for (const int layer1 : {2, 3})
        for (const int layer4 : {5, 6}) {
            byWall4 += RunWallRule("TQTKInsulatingWallVolumeDeductByFact", *building, layer4, layer1);
            byWall1 += RunWallRule("TQTKInsulatingWallVolumeDeductByFact", *building, layer1, layer4);
        }
    EXPECT_NEAR(byWall1 + byWall4, 200.0 * 200 * 3000, 0.01);
    EXPECT_NEAR(byWall4, 200.0 * 200 * 3000, 0.01);
}

// The stem of the T: 100 x (3000 - 100) x 3000 from wall 1's face on.
TEST(InsulatingWallVolumeRules, TheStemOfATStopsAtTheFace)
{
    const auto building = TTestBuilding::FromElements("[" + CrossWall(1, 200, true, 0, 6000) + "," +
                                                      CrossWall(4, 200, false, 0, 3000) + "]");
    building->Activate();
    const auto stem = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building->Record(5), true));
    EXPECT_NEAR(stem->GetVolumeCalc()->GetVolume(), 100.0 * 2900 * 3000, 0.01);
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
