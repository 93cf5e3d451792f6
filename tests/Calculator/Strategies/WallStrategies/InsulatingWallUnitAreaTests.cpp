// Insulating wall layer face and formwork rules on the one 200 mm layer (2)
// of insulating wall 1 (insulating-wall.json), its formwork holding both side
// faces from the start: size limits at the limit and
// just above, a beam flush with both faces, piers over the thickness.
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

std::unique_ptr<TTestBuilding> LayerBuilding()
{
    auto building = TTestBuilding::FromFile(std::filesystem::path(QTK_WALL_CASES_DIR) / "insulating-wall.json");
    building->Activate();
    const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building->Record(2), true));
    unit->AddLeftSideFace();
    unit->AddRightSideFace();
    return building;
}

// Openings take both faces of the formwork (2 A), less their outline on the
// face x 200 with the reveal, and A off the layer's middle face; alcoves
// through the layer add their outline on the face x 200.
TEST(InsulatingWallUnitAreaRules, SizeLimitsAtTheLimitAndJustAbove)
{
    struct TCase {
        const char* rule;
        int object;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKInsulatingUnitAreaDeductPointThreeHole", 11, 0.0},
        {"TQTKInsulatingUnitAreaDeductPointThreeHole", 12, 300000.01},
        {"TQTKInsulatingUnitAreaDeduct1m2Hole", 13, 0.0},
        {"TQTKInsulatingUnitAreaDeduct1m2Hole", 14, 1000000.01},
        {"TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 11, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 12, 2 * 300000.01},
        {"TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 11, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 12, 2 * 300000.01 - 2 * (500 + 600.00002) * 200},
        {"TQTKInsulatingUnitFormBoardDeductOneHollow", 13, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductOneHollow", 14, 2 * 1000000.01},
        {"TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 13, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 14, 2 * 1000000.01 - 2 * (1000 + 1000.00001) * 200},
        {"TQTKInsulatingUnitFormBoardDeductFiveHollow", 15, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductFiveHollow", 16, 2 * 5000000.01},
        {"TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 15, 0.0},
        {"TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 16, 2 * 5000000.01 - 2 * (2000 + 2500.000005) * 200},
        {"TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide", 19, 0.0},
        {"TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide", 20, 2 * (500 + 600.00002) * 200},
        {"TQTKInsulatingUnitFormBoardAddOneAlcoveSide", 21, 0.0},
        {"TQTKInsulatingUnitFormBoardAddOneAlcoveSide", 22, 2 * (1000 + 1000.00001) * 200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " on " + std::to_string(c.object));
        const auto building = LayerBuilding();
        EXPECT_NEAR(RunWallRule(c.rule, *building, 2, c.object), c.expected, 0.01);
    }
}

// The beam (200 wide, 2600 to 3000, 4000 long) on the axis of the layer is
// flush with both of its faces: both bands go, each 4000 x 400.
TEST(InsulatingWallUnitAreaRules, BeamFlushWithBothFacesTakesBothBands)
{
    const auto building = LayerBuilding();
    EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitFormBoardDeductRegularBeamAddOutSide", *building, 2, 50),
                2 * 4000.0 * 400, 0.01);
}

// The layer (y -100 to 100) is the first and the last of a wall external on
// both sides. Beam 51 (y -100 to 300, 2600 to 3000, 4000 long) takes both
// faces, 2 x 4000 x 400; its part beyond the band right of the layer's
// middle line (y 0 to 300) stands out of the layer with its outer side
// 4000 x 400, its soffit 4000 x 200 and its ends 2 x 200 x 400, which are
// given back. Beam 52 across the layer: nothing along the layer, the faces
// it crosses (2 x 200 x 400) by fact for the tie beam.
TEST(InsulatingWallUnitAreaRules, BeamStandingOutOfTheExternalFace)
{
    struct TCase {
        const char* name;
        const char* rule;
        int beam;
        double expected;
    };
    const double faces = 2 * 4000.0 * 400, standingOut = 4000.0 * 400 + 4000.0 * 200 + 2 * 200.0 * 400;
    const std::vector<TCase> cases = {
        {"beam along", "TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide", 51, faces - standingOut},
        {"tie beam along", "TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide", 51, faces - standingOut},
        {"beam across", "TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide", 52, 0.0},
        {"tie beam across", "TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide", 52, 2 * 200.0 * 400},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = LayerBuilding();
        EXPECT_NEAR(RunWallRule(c.rule, *building, 2, c.beam), c.expected, 0.01);
    }
}

// The layer's middle face (y = 0) loses what a column not covered by walls
// takes: column 40 (400 x 400) 400 x 3000; column 41 inside the wall nothing.
TEST(InsulatingWallUnitAreaRules, IrregularColumnOnlyWhenNotCoveredByWalls)
{
    struct TCase {
        const char* name;
        int column;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"standing out of both faces", 40, 400.0 * 3000},
        {"inside the wall", 41, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = LayerBuilding();
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitAreaDeductIrregularColumn", *building, 2, c.column), c.expected,
                    0.01);
    }
}

// A trench across the layer of wall 1 (y -100 to 100, 0 to 3000) at x 3000:
// its hollow 600 wide from 100 to 500 takes 600 x 400 off the middle face;
// a trench without a hollow takes nothing.
TEST(InsulatingWallUnitAreaRules, TrenchHollowOffTheLayerArea)
{
    for (const bool hasHollow : {true, false}) {
        SCOPED_TRACE(hasHollow ? "hollow" : "no hollow");
        const auto building = TTestBuilding::FromElements(
            R"([{"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 200}, "shape": {"kind": "line", "start": [0, 0],
                 "end": [6000, 0], "width": 200, "axisOffset": 100, "startBottom": 0, "startTop": 3000, "endBottom": 0,
                 "endTop": 3000}},
                {"id": 2, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": 200}, "shape": {"kind": "line",
                 "start": [0, 0], "end": [6000, 0], "width": 200, "axisOffset": 100, "startBottom": 0, "startTop": 3000,
                 "endBottom": 0, "endTop": 3000}},
                {"id": 3, "type": 80, "floor": 1, "props": {"Width": 1000, "BottomElev": 0, "TopElev": 600},
                 "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000]}}])");
        building->Activate();
        TFakeEDOScope fakes;
        auto& trench = fakes.Attach<TFakeTrenchEDO>(building->DrawObj(3));
        trench.whole = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2500, -2000, 0}, {3500, 2000, 600}));
        if (hasHollow)
            trench.hole = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2700, -2000, 100}, {3300, 2000, 500}));
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitAreaDeductTrenchHollow", *building, 2, 3),
                    hasHollow ? 600.0 * 400 : 0.0, 0.01);
    }
}

// A pier of 400 x 100 x 3000 = 0.12 m³ on the insulating wall, over the
// layer's thickness: 60 mm gives 2 m²; a layer of 0 mm gives nothing.
TEST(InsulatingWallUnitAreaRules, PierByThickness)
{
    for (const double thickness : {60.0, 0.0}) {
        SCOPED_TRACE(thickness);
        const std::string t = std::to_string(thickness);
        const auto building = TTestBuilding::FromElements(
            R"([{"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 60}, "shape": {"kind": "line", "start": [0, 0],
                 "end": [6000, 0], "width": 60, "axisOffset": 30, "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 3000}},
                {"id": 2, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": )" +
            t + R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 60, "axisOffset": 30,
                 "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 3000}},
                {"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0, "TopElev": 3000},
                 "shape": {"kind": "point", "insertPt": [3000, 80], "size": [400, 100]}}])");
        building->Activate();
        const auto pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(building->Record(3), true));
        pier->GetVolumeCalc();
        pier->FreeCalcCache();
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitAreaAddPierByThickness", *building, 2, 3), thickness > 0 ? 2e6 : 0.0,
                    0.01);
    }
}

// The layer's formwork calculator, whoever asks for it first, holds both side
// faces, 2 x 40000 x 3000 (its original detail shows them); the side-line
// rules run twice give the lengths, 40000, and put nothing in again; the
// end-face rule run twice gives the ends each time and puts them in once.
TEST(InsulatingWallUnitAreaRules, TheFormworkCalculatorHoldsBothSideFacesFromTheStart)
{
    auto building = TTestBuilding::FromFile(std::filesystem::path(QTK_WALL_CASES_DIR) / "insulating-wall.json");
    TQTKCalculationScope& scope = building->Activate(true);
    const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building->Record(2), true));
    const auto shell = unit->GetSideFaceShellCalc();
    EXPECT_NEAR(shell->GetArea(), 2 * 40000.0 * 3000, 0.01);
    ASSERT_NE(scope.Details().GetLast(), nullptr);
    EXPECT_TRUE(scope.Details().GetLast()->GetIsOriginalQty());
    EXPECT_EQ(scope.Details().GetLast()->GetDedcutExpr(), "3<长度>*40<宽度> + 40<长度>*3<宽度>");
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitLeftLineLength", *building, 2, 2), 40000.0, 1e-6);
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitRightLineLength", *building, 2, 2), 40000.0, 1e-6);
        EXPECT_NEAR(shell->GetArea(), 2 * 40000.0 * 3000, 0.01);
        EXPECT_NEAR(unit->GetSideFaceShell()->GetArea(), 2 * 40000.0 * 3000, 0.01);
    }
    // The end faces, 200 x 3000 at each end, join once.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_NEAR(RunWallRule("TQTKInsulatingUnitFormBoardEndAreaOriginal", *building, 2, 2), 2 * 200.0 * 3000, 0.01);
        EXPECT_NEAR(shell->GetArea(), 2 * 40000.0 * 3000 + 2 * 200.0 * 3000, 0.01);
    }
}

// A layer formwork rule run on its own, with no side-line rule before it,
// finds both side faces in the formwork: the same figures as after them.
TEST(InsulatingWallUnitAreaRules, AFormworkRuleRunAloneFindsTheSideFaces)
{
    struct TCase {
        const char* rule;
        int object;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKInsulatingUnitFormBoardDeductOneHollow", 14, 2 * 1000000.01},
        {"TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 14, 2 * 1000000.01 - 2 * (1000 + 1000.00001) * 200},
        {"TQTKInsulatingUnitFormBoardDeductFiveHollow", 16, 2 * 5000000.01},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " on " + std::to_string(c.object));
        auto building = TTestBuilding::FromFile(std::filesystem::path(QTK_WALL_CASES_DIR) / "insulating-wall.json");
        building->Activate();
        EXPECT_NEAR(RunWallRule(c.rule, *building, 2, c.object), c.expected, 0.01);
    }
}

const std::vector<std::string> CInsulatingWallUnitAreaRuleNames = {
    "TQTKInsulatingWallUnitAreaDeductByFact",
    "TQTKInsulatingWallUnitAreaDeductParallelBeam",
    "TQTKInsulatingWallUnitAreaDeductIrregularBeam",
    "TQTKInsulatingUnitAreaDeductIrregularColumn",
    "TQTKInsulatingUnitAreaDeductHoleIndenting",
    "TQTKInsulatingUnitAreaDeductHalfIndenting",
    "TQTKInsulatingUnitAreaDeductPointThreeHole",
    "TQTKInsulatingUnitAreaDeduct1m2Hole",
    "TQTKInsulatingUnitAreaDeductTrenchHollow",
    "TQTKInsulatingUnitAreaAddPierByThickness",
    "TQTKInsulatingUnitFormBoardEndAreaOriginal",
    "TQTKInsulatingUnitLeftLineLength",
    "TQTKInsulatingUnitRightLineLength",
    "TQTKInsulatingUnitFormBoardDeductByFact",
    "TQTKInsulatingUnitFormBoardDeductHollow",
    "TQTKInsulatingUnitFormBoardDeductHollowAddSide",
    "TQTKInsulatingUnitFormBoardDeductOneHollow",
    "TQTKInsulatingUnitFormBoardDeductOneHollowAddSide",
    "TQTKInsulatingUnitFormBoardDeductFiveHollow",
    "TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide",
    "TQTKInsulatingUnitFormBoardDeductPointThreeHollow",
    "TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide",
    "TQTKInsulatingUnitFormBoardAddAlcoveSide",
    "TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide",
    "TQTKInsulatingUnitFormBoardAddOneAlcoveSide",
    "TQTKInsulatingUnitFormBoardAddPier",
    "TQTKInsulatingUnitFormBoardAreaDeductTrenchHole",
    "TQTKInsulatingUnitFormBoardAreaDeductTrench",
    "TQTKInsulatingUnitFormBoardDeductNotParallelBeam",
    "TQTKInsulatingUnitFormBoardDeductParallelBeam",
    "TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide",
    "TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide",
    "TQTKInsulatingUnitFormBoardDeductNotRegularBeam",
    "TQTKInsulatingUnitFormBoardDeductRegularBeamAddOutSide",
    "TQTKInsulatingUnitFormBoardDeductNotRegularColumn",
};

TEST(WallRuleRegistration, EveryInsulatingWallUnitAreaRuleNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CInsulatingWallUnitAreaRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
