// Every registered name of the over-height volume units of walls, beams and
// insulating wall units answers GetStrategy with its own class.
#include <gtest/gtest.h>

#include <typeinfo>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighVolCalculator.h"
#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighVolCalculator.h"
#include "Calculator/Strategies/WallStrategies/QTKWallOverhighVolCalculator.h"

namespace {

template <class T>
bool IsRuleOf(IQTKCalcStrategy* rule)
{
    return rule && typeid(*rule) == typeid(T);
}

// clang-format off
#define QTK_OVERHIGH_CASE(Class) {#Class, &IsRuleOf<Class>}
// clang-format on

TEST(OverhighVolRules, EveryNameAnswersWithItsOwnClass)
{
    struct Case {
        const char* name;
        bool (*isOf)(IQTKCalcStrategy*);
    };
    const Case cases[] = {
        // walls
        QTK_OVERHIGH_CASE(TQTKWallOriginOverhighVol),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolAddPier),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductHollowByFrame),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductRibbonByFrame),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductByFact),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductHollowByFact),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductRibbon),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductPointThreeHoleVol),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductPointZeroFiveHoleVol),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeduct1m2HoleVol),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDedcuctNonparallelBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDedcuctParallelBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDedcuctParallelIrregularBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductBeamExceptParallelAndRegularBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductSlabByThickness),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductIrregularColumn),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductSlabByThinner),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductSlabByAve),
        QTK_OVERHIGH_CASE(TQTKWallOverhighVolDeductFillWall),
        // beams
        QTK_OVERHIGH_CASE(TQTKBeamOriginalOverHighVol),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductBeam),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductBelowBoardSlab),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductByFact),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductParellelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductNotParellelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolGiveParellelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolGiveSameThickWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductParellelAndNotParellelWall),
        QTK_OVERHIGH_CASE(TQTKSingleBeamOverHighVolDeductTieColumn),
        QTK_OVERHIGH_CASE(TQTKInnerBeamOverHighVolDeductBoard),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductBeelineStearSeg),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolAddHaunchingVol),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolGiveLintelIntLength),
        QTK_OVERHIGH_CASE(TQTKBeamOverhighVolDeductSlabByThinner),
        QTK_OVERHIGH_CASE(TQTKBeamOverhighVolDeductSlabByAve),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighVolDeductSlabByThinnerExceptSingleBeam),
        // insulating wall units
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolOriginal),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductByFact),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductInsulatingWall),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductHollowByFrame),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductHollowByFact),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductPointTreeHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeduct1m2Hollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolAddPier),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductParallelBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductNotParallelBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductParallelIrregularBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductExceptParallelIrregularBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductSlabByWallThickness),
        QTK_OVERHIGH_CASE(TQTKInsulatingUnitOverHighVolDeductIrregularcolumn),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductSlabByThinnest),
        QTK_OVERHIGH_CASE(TQTKWallOverHighVolDeductSlabByAverage),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.name));
        EXPECT_TRUE(c.isOf(rule.get()));
    }
}

}  // namespace
