// Wall size rules a table cannot set up: the side states of a wall, and
// every name of the wall units answering the library's GetStrategy with its
// own class.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

// The wall units' names as they are registered (their spellings kept).
const std::vector<std::string> CWallSizeRuleNames = {
    "TQTKWallAxisLength",
    "TQTKWallMiddleLength",
    "TQTKWallHeight",
    "TQTKWallThickness",
    "TQTKWallRatingThickness",
    "TQTKWallLeftSideLineLength",
    "TQTKWallRightSideLineLength",
    "TQTKWallExternalSidelineLength",
    "TQTKWallBrickAndConcreteMiddleLength",
    "TQTKWallConcreteMiddleLength",
};

const std::vector<std::string> CWallVolumeRuleNames = {
    "TQTKWallVolumeAddPier",
    "TQTKWallVolumeDeductByFact",
    "TQTKWallVolumeDeductDot25M3LimitedLintel",
    "TQTKWallVolumeDeductSlabByThickness",
    "TQTKWallVolumeDeductHollowByFact",
    "TQTKWallVolumeDeductDot1M2LimitedOpenning",
    "TQTKWallVolumeDeductDot3M2LimitedOpenning",
    "TQTKWallVolumeDeductDot05M2LimitedOpenning",
    "TQTKWallVolumeDeductDot05M3LimitedOpenning",
    "TQTKWallVolumeDeductHollowByFrame",
    "TQTKWallVolumeDedcuctParallelBeam",
    "TQTKWallVolumeDedcuctNonparallelBeam",
    "TQTKWallVolumeDedcuctParallelIrregularBeam",
    "TQTKWallVolumeDedcuctIrregularBeam",
    "TQTKWallVolumeDeductTrenchHollow",
    "TQTKWallVolumeDeductTrench",
    "TQTKWallVolumeDeductIrregularColumn",
    "TQTKWallVolumeDeductWholeIndenting",
    "TQTKWallVolumeDeductHalfIndenting",
    "TQTKWallVolumeDeductWall",
    "TQTKWallVolumeDeductSlabByRangeLimitThickness",
    "TQTKWallVolumeDeductSlabByThinner",
    "TQTKWallVolumeDeductSlabByAve",
    "TQTKWallVolumeDeductCoping",
    "TQTKWallVolumeDeductFillWall",
};

void ExpectEachNameAnswersWithItsOwnClass(const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

TEST(WallRuleRegistration, EverySizeRuleNameAnswersWithItsOwnClass)
{
    ExpectEachNameAnswersWithItsOwnClass(CWallSizeRuleNames);
}

const std::vector<std::string> CWallAreaRuleNames = {
    "TQTKWallAreaCalcStrategy",
    "TQTKWallAreaDeductByFact",
    "TQTKWallAreaDeductOpeningByFact",
    "TQTKWallAreaDeductRibbon",
    "TQTKWallAreaDeductDot25M3LimitedLintel",
    "TQTKWallAreaDeductDot1M2LimitedOpenning",
    "TQTKWallAreaDeductDot3M2LimitedOpenning",
    "TQTKWallAreaDeductDot05M2LimitedOpenning",
    "TQTKWallAreaDeductDot05M3LimitedOpenning",
    "TQTKWallAreaDeduct1m2LimitedOpenging",
    "TQTKWallAreaDeductHollowByFrame",
    "TQTKWallAreaDeductRibbonFrame",
    "TQTKWallAreaDedcuctParallelBeam",
    "TQTKWallAreaDedcuctNonparallelBeam",
    "TQTKWallAreaDedcuctParallelIrregularBeam",
    "TQTKWallAreaDeductIrregularColumn",
    "TQTKWallAreaDeductWholeIndenting",
    "TQTKWallAreaDeductHalfIndenting",
    "TQTKWallAreaDeductTrenchHollow",
    "TQTKWallAreaDeductTrench",
    "TQTKWallAreaAddPierByThickness",
    "TQTKWallAreaAddPierByRatingThickness",
    "TQTKWallAreaDeductWall",
    "TQTKWallAreaDeductFillWall",
};

TEST(WallRuleRegistration, EveryAreaRuleNameAnswersWithItsOwnClass)
{
    ExpectEachNameAnswersWithItsOwnClass(CWallAreaRuleNames);
}

TEST(WallRuleRegistration, EveryVolumeRuleNameAnswersWithItsOwnClass)
{
    ExpectEachNameAnswersWithItsOwnClass(CWallVolumeRuleNames);
}

// An outer wall 6000 long and 240 thick along +x: its left line at y = 120,
// its right line at y = -120, both 6000 long.
TEST(WallSizeRules, ExternalSideLineLengthCountsTheSidesThatFaceOut)
{
    struct TCase {
        const char* name;
        bool left, right;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"only the right side external: the right line", false, true, 6000.0},
        {"only the left side external: the left line", true, false, 6000.0},
        {"both external: both lines", true, true, 12000.0},
        {"neither: nothing", false, false, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = TTestBuilding::FromElements(R"([{"id": 1, "type": 0, "floor": 1,
            "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "InnerOuterFlag": 1},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}}])");
        building->Activate();
        const RecordRef wall(building->Record(1));
        const auto edo = RefCast<IQTKWallCalcEDO>(GetCalcEDO(wall, true));
        ASSERT_TRUE(edo);
        edo->SetLeftSideExternal(c.left);
        edo->SetRightSideExternal(c.right);
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy("TQTKWallExternalSidelineLength"));
        EXPECT_NEAR(rule->Calculate(wall, nullptr, nullptr, building->RuleSet()), c.expected, 0.001);
    }
}

// The thickness rules leave their answer as the wall's calculation thickness.
TEST(WallSizeRules, ThicknessRulesSetTheCalculationThickness)
{
    auto building = TTestBuilding::FromElements(R"([{"id": 1, "type": 0, "floor": 1,
        "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
        "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}}])");
    building->Activate();
    const RecordRef wall(building->Record(1));
    const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy("TQTKWallThickness"));
    EXPECT_EQ(rule->Calculate(wall, nullptr, nullptr, building->RuleSet()), 240.0);
    EXPECT_EQ(RefCast<IQTKWallCalcEDO>(GetCalcEDO(wall, true))->GetCalcThickness(), 240);
}

}  // namespace
