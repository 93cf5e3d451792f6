// Every registered name of the over-height formwork units of walls, beams
// and insulating wall layers answers GetStrategy with its own class.
#include <gtest/gtest.h>

#include <typeinfo>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighFormBoardAreaCalculator.h"
#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighFormBoardCalculator.h"
#include "Calculator/Strategies/WallStrategies/QTKWallOverhighFormBoardCalculator.h"

namespace {

template <class T>
bool IsRuleOf(IQTKCalcStrategy* rule)
{
    return rule && typeid(*rule) == typeid(T);
}

// clang-format off
#define QTK_OVERHIGH_CASE(Class) {#Class, &IsRuleOf<Class>}
// clang-format on

TEST(OverhighFormRules, EveryNameAnswersWithItsOwnClass)
{
    struct Case {
        const char* name;
        bool (*isOf)(IQTKCalcStrategy*);
    };
    const Case cases[] = {
        // walls
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardOriginalArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductHole),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbon),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbon1M),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbon5M),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea1M),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea5M),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHole),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHoleAddSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHole),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHoleAddSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHole),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHoleAddSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaAddPierFormBoard),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaAddAloveSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaAddLargerThanPointCentiareAlcoveSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductByFact),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductNotParallelBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductParallelBeam),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductPallelBeam),
        QTK_OVERHIGH_CASE(TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard),
        QTK_OVERHIGH_CASE(TQTKOverHighFromBoardAreaDeductWall),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductColumnOnWall),
        QTK_OVERHIGH_CASE(TQTKOverHighFormBoardAreaDeductFillWall),
        QTK_OVERHIGH_CASE(TQTKWallOverHighFormBoardAreaDeductSlabForFUJIAN),
        // beams
        QTK_OVERHIGH_CASE(TQTKBeamOriginalOverHighFormBoardArea),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductByFact),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductParallelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductNotParallelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall),
        QTK_OVERHIGH_CASE(TQTKOutBeamOverHighFormBoardDeductParallelAndNotParallelWall),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductSlabForFUJIAN),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductBeam),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFromBoardAreaDeductSubBeam),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaGiveWallFormBoardArea),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness),
        QTK_OVERHIGH_CASE(TQTKOutBeamOverHighFormBoardDeductWall),
        QTK_OVERHIGH_CASE(TQTKSingleBeamOverHighTieColumn),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductSameBottomElevBoard),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductBeelineStearSeg),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaAddHaunchingArea),
        QTK_OVERHIGH_CASE(TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall),
        QTK_OVERHIGH_CASE(TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall2),
        QTK_OVERHIGH_CASE(TQTKTieBeamOverHighFormBoardAreaDeductLinTel),
        QTK_OVERHIGH_CASE(TQTKBeamOverHighFormBoardAreaDeductHole),
        // insulating wall layers
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardOriginal),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductByFact),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardAddPointThreeAloveSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardAddOneAloveSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardAddPier),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide),
        QTK_OVERHIGH_CASE(TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.name));
        EXPECT_TRUE(c.isOf(rule.get()));
    }
}

}  // namespace
