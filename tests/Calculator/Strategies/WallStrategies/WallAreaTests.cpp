// What the wall area table cannot say: the route "AreaCalcMethod" chooses and
// the calculation thickness it leaves on the wall, the piers' kept volume, a
// wall without thickness, and trenches (test objects until the trench object
// lands).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

// The table's building (wall-area.json) under another "AreaCalcMethod".
std::unique_ptr<TTestBuilding> AreaBuilding(int areaCalcMethod)
{
    std::ifstream in(std::filesystem::path(QTK_WALL_CASES_DIR) / "wall-area.json");
    std::stringstream text;
    text << in.rdbuf();
    std::string model = text.str();
    const std::string setting = "\"AreaCalcMethod\": 0";
    const size_t at = model.find(setting);
    EXPECT_NE(at, std::string::npos);
    model.replace(at, setting.size(), "\"AreaCalcMethod\": " + std::to_string(areaCalcMethod));
    return TTestBuilding::FromText(model, QTK_WALL_CASES_DIR);
}

Ref<IQTKWallCalcEDO> Wall(const TTestBuilding& building, int id)
{
    return RefCast<IQTKWallCalcEDO>(GetCalcEDO(building.Record(id), true));
}

// Wall 1 of the table's building is 240 thick, rated 200. Window 10 (1500 x
// 1500) goes through it; column 40 reaches 100 into it from one face, short
// of the middle face: 400 x 100 x 3000 = 120,000,000 mm³ of its solid.
TEST(WallAreaRules, AreaCalcMethodChoosesTheCalculatorAndTheCalculationThickness)
{
    struct TCase {
        const char* name;
        int method;
        int presetThickness;  // 0: the wall's undecided calculation thickness
        int object;
        double expected;
        int calcThickness;  // left on the wall
    };
    const std::vector<TCase> cases = {
        {"1: solid / thickness, window", 1, 0, 10, 1500.0 * 1500 * 240 / 240, 240},
        {"1: solid / thickness, column short of the middle face", 1, 0, 40, 120e6 / 240, 240},
        {"2: solid / rating thickness, window", 2, 0, 10, 1500.0 * 1500 * 240 / 200, 200},
        {"2: solid / rating thickness, column", 2, 0, 40, 120e6 / 200, 200},
        {"2 with a calculation thickness already set: it stays", 2, 240, 10, 1500.0 * 1500, 240},
        {"0: middle face, window", 0, 0, 10, 1500.0 * 1500, -1},
        {"0: middle face, the column does not reach it", 0, 0, 40, 0.0, -1},
        {"3: middle face too", 3, 0, 10, 1500.0 * 1500, -1},
        {"3: middle face, column", 3, 0, 40, 0.0, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = AreaBuilding(c.method);
        building->Activate();
        if (c.presetThickness)
            Wall(*building, 1)->SetCalcThickness(c.presetThickness);
        EXPECT_NEAR(RunWallRule("TQTKWallAreaDeductByFact", *building, 1, c.object), c.expected, 0.01);
        EXPECT_EQ(Wall(*building, 1)->GetCalcThickness(), c.calcThickness);
    }
}

// Outside detail mode a pier adds the volume it kept when its own
// calculation ended (FreeCalcCache): 1000 x 800 x 3000 = 2.4e9 mm³.
TEST(WallAreaRules, PierAddsItsKeptVolumeOverTheThickness)
{
    struct TCase {
        const char* rule;
        bool pierCalculated;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKWallAreaAddPierByThickness", true, 2.4e9 / 240},
        {"TQTKWallAreaAddPierByRatingThickness", true, 2.4e9 / 200},
        {"TQTKWallAreaAddPierByThickness", false, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + (c.pierCalculated ? "" : ", pier not calculated yet"));
        const auto building = AreaBuilding(0);
        building->Activate();
        if (c.pierCalculated) {
            const auto pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(building->Record(21), true));
            pier->GetVolumeCalc();
            pier->FreeCalcCache();
        }
        EXPECT_NEAR(RunWallRule(c.rule, *building, 1, 21), c.expected, 0.01);
    }
}

// A wall of "Thickness" 0 (drawn 240 wide) gives no quotient: the pier adds nothing, in
// either mode and by either thickness.
TEST(WallAreaRules, PierOnAWallWithoutThicknessAddsNothing)
{
    for (const bool detailMode : {false, true}) {
        for (const char* rule : {"TQTKWallAreaAddPierByThickness", "TQTKWallAreaAddPierByRatingThickness"}) {
            SCOPED_TRACE(std::string(rule) + (detailMode ? " in detail mode" : ""));
            const auto building = TTestBuilding::FromElements(R"([
                {"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 0, "BottomElev": 0, "TopElev": 3000},
                 "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240}},
                {"id": 2, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0, "TopElev": 3000},
                 "shape": {"kind": "point", "insertPt": [3000, 400], "size": [1000, 800]}}])");
            TQTKCalculationScope& scope = building->Activate(detailMode);
            const auto pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(building->Record(2), true));
            pier->GetVolumeCalc();
            pier->FreeCalcCache();
            scope.Details().Clear();  // the pier's own calculation wrote its original volume
            EXPECT_EQ(RunWallRule(rule, *building, 1, 2), 0.0);
            EXPECT_EQ(scope.Details().GetCount(), 0);
        }
    }
}

// The trench of TrenchAcrossWall by both routes of "AreaCalcMethod".
TEST(WallAreaRules, TrenchUnitsTakeTheirTrenchsHollowOrWholeSolid)
{
    struct TCase {
        const char* rule;
        int method;
        bool hasHollow;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKWallAreaDeductTrenchHollow", 0, true, 600.0 * 400},
        {"TQTKWallAreaDeductTrenchHollow", 1, true, 600.0 * 400 * 240 / 240},
        {"TQTKWallAreaDeductTrenchHollow", 0, false, 0.0},
        {"TQTKWallAreaDeductTrench", 0, true, 1000.0 * 600},
        {"TQTKWallAreaDeductTrench", 1, true, 1000.0 * 600},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " by method " + std::to_string(c.method) +
                     (c.hasHollow ? "" : ", trench without hollow"));
        TFakeEDOScope fakes;
        const auto building = TrenchAcrossWall(c.method, c.hasHollow, fakes);
        EXPECT_NEAR(RunWallRule(c.rule, *building, 1, 3), c.expected, 0.01);
    }
}

}  // namespace
