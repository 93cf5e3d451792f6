// Slab rules a table cannot say: rules sharing one calculator on the slab,
// and every name of the slab units answering the library's GetStrategy with
// its own class.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

double RunSlabRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               RecordRef(object ? building.Record(object) : nullptr), GBusiness(), building.RuleSet());
}

std::filesystem::path Fixture(const char* name)
{
    return std::filesystem::path(QTK_SLAB_CASES_DIR) / name;
}

// The slab units' names as they are registered (their spellings kept).
const std::vector<std::string> CSlabRuleNames = {
    // volume
    "TQTKSlabOriginalVol",
    "TQTKSlabThickness",
    "TQTKSlabVolDeductByFact",
    "TQTKSlabVolDeductCrocreteByFact",
    "TQTKSlabVolDeductBrickStoneByFact",
    "TQTKSlabVolDeductColumnByFact",
    "TQTKSlabVolDeductWallByFact",
    "TQTKSlabVolDeductCrocreteExternalWallByFact",
    "TQTKSlabVolDeductTieColumnByFact",
    "TQTKSlabVolDeductTieColumnByArea",
    "TQTKSlabVolDeductTieColumnByDot3M2",
    "TQTKSlabVolDeductExternalTieBeam",
    "TQTKSlabVolDeductByArea",
    "TQTKSlabVolDeductByDot3M2",
    "TQTKSlabVolDeductBy1M2",
    "TQTKSlabVolDeductByDot05M2",
    "TQTKSlabVolDeductByVol",
    "TQTKSlabVolDeductByDot05M3",
    "TQTKSlabVolDeductWallByThickness",
    "TQTKSlabVolDeductBeamByThickness",
    "TQTKSlabVolDeductOutBeam",
};

TEST(SlabRuleRegistration, EveryNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CSlabRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

// The deductions of one slab share its volume calculator: a space two
// elements share comes off once, and the original volume stays the solid's.
TEST(SlabVolume, DeductionsShareOneCalculator)
{
    const auto building = TTestBuilding::FromFile(Fixture("slab-volume.json"));
    building->Activate();
    // Column 20 (400 x 400) and column 20 again: the second call finds its
    // space already gone.
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductColumnByFact", *building, 1, 20), 400.0 * 400 * 120, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductByFact", *building, 1, 20), 0.0, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductByDot05M2", *building, 1, 22), 250.5 * 200 * 120, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabOriginalVol", *building, 1, 0), 6000.0 * 4000 * 120, 0.01);
}

}  // namespace
