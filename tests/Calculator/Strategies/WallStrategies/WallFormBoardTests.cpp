// Wall formwork rules (the wall's formwork shell holds both side faces from
// the start; the end faces join when asked for): size limits at the limit and just
// above, reveals given back, beam bands, the one-and-a-half column, piers.
// Building: wall-formwork.json (walls 0..3000 high; see the element names).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::unique_ptr<TTestBuilding> FormworkBuilding()
{
    return TTestBuilding::FromFile(std::filesystem::path(QTK_WALL_CASES_DIR) / "wall-formwork.json");
}

// The wall's formwork shell with both side faces in it.
std::shared_ptr<TQTKShellCalc3d> SideFaces(const TTestBuilding& building, int wall)
{
    const auto edo = RefCast<IQTKWallCalcEDO>(GetCalcEDO(building.Record(wall), true));
    edo->AddLeftSideFace();
    edo->AddRightSideFace();
    return edo->GetSideFaceShellCalc();
}

struct TRuleCase {
    const char* name;
    const char* rule;
    int wall;
    int object;
    double expected;
};

void RunCases(const std::vector<TRuleCase>& cases)
{
    for (const TRuleCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.rule);
        const auto building = FormworkBuilding();
        building->Activate();
        SideFaces(*building, c.wall);
        EXPECT_NEAR(RunWallRule(c.rule, *building, c.wall, c.object), c.expected, 0.01);
    }
}

// An opening takes both faces (2 A); with the reveal, less its outline on the
// face x 240. Alcoves add their outline on the face x their "Depth" 100.
TEST(WallFormBoardRules, SizeLimitsAtTheLimitAndJustAbove)
{
    RunCases({
        {"0.3 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea", 1, 11, 0.0},
        {"0.3 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea", 1, 12, 2 * 300000.01},
        {"0.3 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea", 1, 11, 0.0},
        {"0.3 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea", 1, 12,
         2 * 300000.01 - 2 * (500 + 600.00002) * 240},
        {"1 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole", 1, 13, 0.0},
        {"1 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole", 1, 14, 2 * 1000000.01},
        {"1 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea", 1, 13, 0.0},
        {"1 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea", 1, 14,
         2 * 1000000.01 - 2 * (1000 + 1000.00001) * 240},
        {"5 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole", 1, 15, 0.0},
        {"5 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole", 1, 16, 2 * 5000000.01},
        {"5 m2 opening", "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea", 1, 15, 0.0},
        {"5 m2 + 0.01", "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea", 1, 16,
         2 * 5000000.01 - 2 * (2000 + 2500.000005) * 240},
        {"0.2 m2 alcove", "TQTKWallFormBoardAreaAddLargerThanPointTwoCentiareAlcoveSideArea", 1, 17, 0.0},
        {"0.2 m2 + 0.01", "TQTKWallFormBoardAreaAddLargerThanPointTwoCentiareAlcoveSideArea", 1, 18,
         2 * (400 + 500.000025) * 100},
        {"0.3 m2 alcove", "TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea", 1, 19, 0.0},
        {"0.3 m2 + 0.01", "TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea", 1, 20,
         2 * (500 + 600.00002) * 100},
        {"1 m2 alcove", "TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea", 1, 21, 0.0},
        {"1 m2 + 0.01", "TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea", 1, 22,
         2 * (1000 + 1000.00001) * 100},
        {"1 m2 ribbon", "TQTKWallFormBoardAreaDeductRibbon1M", 1, 30, 0.0},
        {"1 m2 + 0.01", "TQTKWallFormBoardAreaDeductRibbon1M", 1, 31, 2 * 1000000.01},
        {"1 m2 ribbon", "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M", 1, 30, 0.0},
        {"1 m2 + 0.01", "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M", 1, 31,
         2 * 1000000.01 - 2 * (1000 + 1000.00001) * 240},
        {"5 m2 ribbon", "TQTKWallFormBoardAreaDeductRibbon5M", 1, 32, 0.0},
        {"5 m2 + 0.01", "TQTKWallFormBoardAreaDeductRibbon5M", 1, 33, 2 * 5000000.01},
        {"5 m2 ribbon", "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M", 1, 32, 0.0},
        {"5 m2 + 0.01", "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M", 1, 33,
         2 * 5000000.01 - 2 * (2500 + 2000.000004) * 240},
    });
}

TEST(WallFormBoardRules, BeamsByBandsAndByDirection)
{
    RunCases({
        // The beam (400 wide, 2600 to 3000, 4000 long) holds both faces of
        // the inner wall under it: both bands.
        {"inner wall, parallel tie beam", "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", 3, 50,
         2 * 4000.0 * 400},
        {"outer wall, both sides external", "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", 4, 51, 0.0},
        {"beam across, parallel rule", "TQTKWallFormBoardAreaDeductParallelBeam", 3, 52, 0.0},
        {"beam across, parallel out-side rule", "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", 3, 52,
         0.0},
        {"beam along, parallel rule", "TQTKWallFormBoardAreaDeductParallelBeam", 3, 50, 2 * 4000.0 * 400},
        {"beam along, not-parallel rule", "TQTKWallFormBoardAreaDeductNotParallelBeam", 3, 50, 0.0},
    });
}

// Wall 5 (y = 40000, left face at y = 40120) external on one side; beam 53
// (200 wide, y 40020 to 40220, 2600 to 3000, 4000 long) covers its left face
// only. The band rules take the beam off the face on the side that is not
// external: 4000 x 400 when that is the left face, nothing when it is the
// right face (the beam does not reach it), so the left face keeps its
// formwork where it is the external one.
TEST(WallFormBoardRules, OneExternalSideKeepsItsFormworkUnderTheBeam)
{
    struct TCase {
        const char* name;
        const char* rule;
        bool leftExternal;
        double expected;
    };
    const double face = 4000.0 * 400;
    const std::vector<TCase> cases = {
        {"tie beam, left side external", "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", true, 0.0},
        {"tie beam, right side external", "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", false, face},
        {"beam standing out, left side external", "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", true,
         0.0},
        {"beam standing out, right side external", "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", false,
         face},
        {"inner side only, left side external", "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", true, 0.0},
        {"inner side only, right side external", "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", false, face},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = FormworkBuilding();
        building->Activate();
        SideFaces(*building, 5);
        const auto wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(building->Record(5), true));
        if (c.leftExternal)
            wall->SetLeftSideExternal(true);
        else
            wall->SetRightSideExternal(true);
        ASSERT_EQ(wall->IsLeftSideExternal(), c.leftExternal);
        ASSERT_EQ(wall->IsRightSideExternal(), !c.leftExternal);
        EXPECT_NEAR(RunWallRule(c.rule, *building, 5, 53), c.expected, 0.01);
    }
}

// Neighbours taken off a wall's two side faces (walls 3000 high):
// - column 61 (400 x 400) across wall 6 holds both faces over 400 each;
// - slab 80 (120 thick, top at the wall's top) covers the left face by fact
//   (6000 x 120) and, as the band it cuts over the wall's middle line, the
//   right face as well;
// - the inner-side rule on an inner wall is by fact; on a wall external on
//   both sides it takes nothing;
// - brick wall 7 crosses concrete wall 8: its solid holds 240 of both of
//   wall 8's faces; wall 8 ends on brick wall 9 (a T), where its connected
//   end face is 240 x 3000 (a brick wall takes nothing off it);
// - fill wall 91 lies in concrete wall 90 from x 2000 to 4000: it takes its
//   faces flush with both of the wall's (2 x 2000 x 3000) less the wall's
//   sides against its two ends (2 x 3000 x 240); a wall that is no fill wall
//   of the subject takes nothing by that rule.
TEST(WallFormBoardRules, NeighboursByFactWallsSlabsAndEnds)
{
    RunCases({
        {"column by fact", "TQTKWallFormBoardAreaDeductByFact", 6, 61, 2 * 400.0 * 3000},
        {"slab and its cut band", "TQTKWallFormBoardAreaDeductSlabForFUJIAN", 6, 80, 2 * 6000.0 * 120},
        {"slab by fact", "TQTKWallFormBoardAreaDeductByFact", 6, 80, 6000.0 * 120},
        {"inner side rule, inner wall", "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", 6, 61,
         2 * 400.0 * 3000},
        {"inner side rule, external both sides", "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", 4, 51, 0.0},
        {"brick wall across", "TQTKWallFormBoardAreaDeductWall", 8, 7, 2 * 240.0 * 3000},
        {"connected end", "TQTKWallEndSideFormBoardOriginalArea", 8, 8, 240.0 * 3000},
        {"fill wall", "TQTKWallFormBoardAreaDeductFillWall", 90, 91, 2 * 2000.0 * 3000 - 2 * 3000.0 * 240},
        {"fill wall rule, not a fill wall", "TQTKWallFormBoardAreaDeductFillWall", 8, 7, 0.0},
    });
}

// The trench of TrenchAcrossWall through both faces of the 240 wall: its
// hollow 600 wide from 100 to 500, its whole solid 1000 wide from 0 to 600.
TEST(WallFormBoardRules, TrenchHollowAndWholeSolid)
{
    struct TCase {
        const char* rule;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKWallFormBoardAreaDeductTrenchHole", 2 * 600.0 * 400},
        {"TQTKWallFormBoardAreaDeductTrench", 2 * 1000.0 * 600},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.rule);
        TFakeEDOScope fakes;
        const auto building = TrenchAcrossWall(0, true, fakes);
        SideFaces(*building, 1);
        EXPECT_NEAR(RunWallRule(c.rule, *building, 1, 3), c.expected, 0.01);
    }
}

// The 400 x 400 column stands against wall 3's left face: its two sides
// across the wall lie within 1.5 x 240 = 360 of the face for 360 each; the
// side on the face keeps the wall's mark.
TEST(WallFormBoardRules, OnePointFiveColumnCountsTheSidesNearTheWall)
{
    RunCases({{"column against the face", "TQTKWallFormBoardAreaAddOnePointFiveColumnArea", 3, 60, 2 * 360.0 * 3000}});
}

// 1500 x 1500 opening in the 240 wall: both faces 2 x 1500 x 1500 less the
// reveal 4 x 1500 x 240; taken again it is already gone and gives nothing
// back. The 300 x 300 opening in the 600 wall gives back more than it takes.
TEST(WallFormBoardRules, RevealIsGivenBackOnceAndMayExceedTheOpening)
{
    const auto building = FormworkBuilding();
    TQTKCalculationScope& scope = building->Activate(true);
    SideFaces(*building, 1);
    SideFaces(*building, 2);
    const char* rule = "TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea";
    EXPECT_NEAR(RunWallRule(rule, *building, 1, 10), 2 * 1500.0 * 1500 - 6000.0 * 240, 0.01);
    EXPECT_NEAR(RunWallRule(rule, *building, 1, 10), 0.0, 1.0);

    scope.Details().Clear();
    EXPECT_NEAR(RunWallRule(rule, *building, 2, 40), 2 * 300.0 * 300 - 1200.0 * 600, 0.01);
    ASSERT_NE(scope.Details().GetLast(), nullptr);
    EXPECT_EQ(scope.Details().GetLast()->GetDedcutExpr(), "-0.54");
}

// A pier against wall 3 (500 x 250, 3000 high) adds its three exposed sides
// (1000 x 3000) less the wall face it covers (500 x 3000), once; a pier
// naming another wall adds nothing and leaves the formwork as it was.
TEST(WallFormBoardRules, PierAddsItsExposedSidesOnce)
{
    const auto building = FormworkBuilding();
    building->Activate();
    const auto shell = SideFaces(*building, 3);
    const double before = shell->GetArea();
    const char* rule = "TQTKWallFromBoardAreaAddPierFromBoard";
    EXPECT_NEAR(RunWallRule(rule, *building, 3, 71), 0.0, 1e-9);
    EXPECT_NEAR(shell->GetArea(), before, 0.01);
    EXPECT_NEAR(RunWallRule(rule, *building, 3, 70), 1000.0 * 3000 - 500.0 * 3000, 0.01);
    const double after = shell->GetArea();
    EXPECT_NEAR(after, before + 1000.0 * 3000 - 500.0 * 3000, 0.01);
    EXPECT_NEAR(RunWallRule(rule, *building, 3, 70), 1000.0 * 3000 - 500.0 * 3000, 0.01);
    EXPECT_NEAR(shell->GetArea(), after, 0.01);
}

// The formwork calculator, whoever asks for it first, holds both side faces
// (its original detail shows them); putting a face in again counts nothing,
// and the end faces put in after it count all the same. Wall 2, 6000 long and
// 3000 high, unconnected: 2 x 6000 x 3000; wall 8 ends on brick wall 9 (a T):
// one connected end face 240 x 3000.
TEST(WallFormBoardRules, TheFormworkCalculatorHoldsBothSideFacesFromTheStart)
{
    const auto building = FormworkBuilding();
    TQTKCalculationScope& scope = building->Activate(true);
    const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(building->Record(2), true));
    const auto shell = wall->GetSideFaceShellCalc();
    EXPECT_NEAR(shell->GetArea(), 2 * 6000.0 * 3000, 0.01);
    ASSERT_NE(scope.Details().GetLast(), nullptr);
    EXPECT_TRUE(scope.Details().GetLast()->GetIsOriginalQty());
    EXPECT_EQ(scope.Details().GetLast()->GetDedcutExpr(), "3<长度>*6<宽度> + 6<长度>*3<宽度>");
    wall->AddLeftSideFace();
    wall->AddRightSideFace();
    EXPECT_NEAR(shell->GetArea(), 2 * 6000.0 * 3000, 0.01);

    const auto tee = RefCast<IQTKWallCalcEDO>(GetCalcEDO(building->Record(8), true));
    const auto teeShell = tee->GetSideFaceShellCalc();
    const double sides = teeShell->GetArea();
    EXPECT_NEAR(tee->GetConnectedEndFaceArea(), 240.0 * 3000, 0.01);
    EXPECT_NEAR(teeShell->GetArea(), sides + 240.0 * 3000, 0.01);
}

// A rule run on its own, with no side-line quantity before it, finds the
// wall's side faces in its formwork: the same figures as after them.
TEST(WallFormBoardRules, ARuleRunAloneFindsTheSideFaces)
{
    const std::vector<TRuleCase> cases = {
        {"column by fact", "TQTKWallFormBoardAreaDeductByFact", 6, 61, 2 * 400.0 * 3000},
        {"opening with its reveal", "TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea", 1, 10,
         2 * 1500.0 * 1500 - 6000.0 * 240},
        {"brick wall across", "TQTKWallFormBoardAreaDeductWall", 8, 7, 2 * 240.0 * 3000},
        {"pier", "TQTKWallFromBoardAreaAddPierFromBoard", 3, 70, 1000.0 * 3000 - 500.0 * 3000},
    };
    for (const TRuleCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.rule);
        const auto building = FormworkBuilding();
        building->Activate();
        EXPECT_NEAR(RunWallRule(c.rule, *building, c.wall, c.object), c.expected, 0.01);
    }
}

const std::vector<std::string> CWallFormBoardRuleNames = {
    "TQTKWallEndSideFormBoardOriginalArea",
    "TQTKWallFormBoardAreaDeductByFact",
    "TQTKWallFormBoardAreaDeductWall",
    "TQTKWallFormBoardAreaDeductHole",
    "TQTKWallFormBoardAreaDeductRibbon",
    "TQTKWallFormBoardAreaDeductRibbon1M",
    "TQTKWallFormBoardAreaDeductRibbon5M",
    "TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea",
    "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea",
    "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M",
    "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M",
    "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea",
    "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea",
    "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole",
    "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea",
    "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole",
    "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea",
    "TQTKWallFromBoardAreaAddPierFromBoard",
    "TQTKWallFormBoardAreaAddAlcoveSideArea",
    "TQTKWallFormBoardAreaAddLargerThanPointTwoCentiareAlcoveSideArea",
    "TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea",
    "TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea",
    "TQTKWallFormBoardAreaDeductNotParallelBeam",
    "TQTKWallFormBoardAreaDeductParallelBeam",
    "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea",
    "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea",
    "TQTKWallFormBoardAreaDeductPallelBeam",
    "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard",
    "TQTKWallFormBoardAreaDeductColumnOnWall",
    "TQTKWallFormBoardAreaAddOnePointFiveColumnArea",
    "TQTKWallFormBoardAreaDeductTrenchHole",
    "TQTKWallFormBoardAreaDeductTrench",
    "TQTKWallFormBoardAreaDeductFillWall",
    "TQTKWallFormBoardAreaDeductSlabForFUJIAN",
};

TEST(WallRuleRegistration, EveryFormBoardRuleNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CWallFormBoardRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
