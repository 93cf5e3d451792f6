// The over-height formwork rules of insulating wall layers on insulating
// wall 1 (200 thick on its axis (0,0)-(6000,0)) of two 100 mm layers, 2
// (y 0..100) and 3 (y -100..0), on storey 1 at 0 (B = 0, C = 3600, start
// height 3.6): method 0 makes one piece of weight 1 from 3600 to the top.
// The layers' side faces are in their formwork, as the side-line rules
// leave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighFormBoardCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

class TInsulatingUnitOverHighFormTest : public TOverHighTest {
protected:
    void LoadUnits(const std::string& elements, bool detailMode = false)
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", WallStart36()), detailMode);
        for (const int id : {2, 3}) {
            Unit(id)->AddLeftSideFace();
            Unit(id)->AddRightSideFace();
        }
    }
    Ref<IQTKInsulatingWallUnitCalcEDO> Unit(int id) { return RefCast<IQTKInsulatingWallUnitCalcEDO>(Edo(id)); }
};

// Layer 2 above the cut: both faces, 2 x 6000 x 1200.
TEST_F(TInsulatingUnitOverHighFormTest, OriginalIsTheLayerFacesAboveTheCut)
{
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {{"normal mode", false}, {"detail mode", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadUnits(TwoLayerInsulatingWall(4800), c.detailMode);
        EXPECT_NEAR(Run("TQTKInsulatingWallUnitOverHighFormBoardOriginal", 2), 2 * 6000.0 * 1200, 1.0);
        EXPECT_TRUE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_TRUE(Unit(2)->GetOverhighValueList());
        EXPECT_FALSE(Unit(3)->GetOverhighFormboardCalc());
    }
}

// Every limited member at its limit and just above: an opening takes both
// faces of the layer (2 A); with the reveal, less its outline x the layer's
// 100; the twin gives the same (one piece of weight 1 holds the opening).
TEST_F(TInsulatingUnitOverHighFormTest, SizeLimitsAtTheLimitAndJustAbove)
{
    struct Case {
        const char* overhigh;
        const char* twin;
        double width, height;
        double expected;
    };
    const auto withReveal = [](double w, double h) { return 2 * w * h - 2 * (w + h) * 100; };
    const Case cases[] = {
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 500, 600, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 501, 600, 2 * 501.0 * 600},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow", "TQTKInsulatingUnitFormBoardDeductOneHollow", 1000,
         1000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow", "TQTKInsulatingUnitFormBoardDeductOneHollow", 1001,
         1000, 2 * 1001.0 * 1000},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow", "TQTKInsulatingUnitFormBoardDeductFiveHollow", 2500,
         2000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow", "TQTKInsulatingUnitFormBoardDeductFiveHollow", 2501,
         2000, 2 * 2501.0 * 2000},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 500, 600, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 501, 600, withReveal(501, 600)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 1000, 1000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 1001, 1000, withReveal(1001, 1000)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 2500, 2000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 2501, 2000, withReveal(2501, 2000)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductHollow", "TQTKInsulatingUnitFormBoardDeductHollow", 100, 100,
         2 * 100.0 * 100},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide", "TQTKInsulatingUnitFormBoardDeductHollowAddSide",
         1000, 1000, withReveal(1000, 1000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.overhigh) + " " + Num(c.width) + " x " + Num(c.height));
        LoadUnits(TwoLayerInsulatingWall(6400) + ", " + InsulatingWallOpening(c.width, c.height));
        EXPECT_NEAR(Run(c.twin, 2, 10), c.expected, 1.0);
        LoadUnits(TwoLayerInsulatingWall(6400) + ", " + InsulatingWallOpening(c.width, c.height));
        EXPECT_NEAR(Run(c.overhigh, 2, 10), c.expected, 1.0);
    }
}

// Pier 4, 400 x 600 (perimeter 2000) against layer 2's outer face at x 3000
// (y 100..700): 400 of its outline on the layer, N = 2000 - 2 x 400 = 1200,
// times the 1000 of the piece beside it (top 4600). The plain rule adds the
// exposed sides 1600 x 4600 less the layer face behind the pier 400 x 4600.
// Layer 3 (y -100..0) does not meet the pier: it adds none of its sides.
TEST_F(TInsulatingUnitOverHighFormTest, PierAddsItsNetSidesTimesTheHeightBesideIt)
{
    struct Case {
        const char* rule;
        int layer;
        double expected;
    };
    const Case cases[] = {
        {"TQTKInsulatingWallUnitOverHighFormBoardAddPier", 2, 1200.0 * 1000},
        {"TQTKInsulatingWallUnitOverHighFormBoardAddPier", 3, 0.0},
        {"TQTKInsulatingUnitFormBoardAddPier", 2, (1600.0 - 400.0) * 4600},
        {"TQTKInsulatingUnitFormBoardAddPier", 3, 0.0},
    };
    const std::string pier = R"({"id": 4, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1,
        "BottomElev": 0, "TopElev": 4600}, "shape": {"kind": "point", "insertPt": [3000, 400], "size": [400, 600]}})";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " on layer " + std::to_string(c.layer));
        LoadUnits(TwoLayerInsulatingWall(4600) + ", " + pier);
        EXPECT_NEAR(Run(c.rule, c.layer, 4), c.expected, 1.0);
    }
}

// A pier across both layers (top 4600) shares its exposed sides between
// them, each side counted once: a layer holds the sides beside it, across
// the wall from the layers' joint (y = 0) outwards. Against the wall's end
// (x 6000 to 6400, y -300 to 300, perimeter 2000) the pier meets each
// layer's end over 100 and shows 2000 - 200 = 1800 of its sides, 200 + 400
// + 300 = 900 on each side of the joint: the plain rule adds 900 x 4600 to
// each layer (none of their faces lies behind it), the over-height rule
// (900 - 100) x 1000. Through the wall at x 3000 (y -200 to 400) layer 2
// holds 300 + 400 + 300 = 1000 beyond its face and layer 3 100 + 400 + 100
// = 600, each less the 200 of its outline on the pier: 800 and 400 x 1000.
// Over the two layers: the sides once, less the contact, as one 200 wall.
TEST_F(TInsulatingUnitOverHighFormTest, PierAcrossBothLayersCountsEachSideOnce)
{
    const auto pier = [](double x, double y) {
        return R"({"id": 4, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0,
            "TopElev": 4600}, "shape": {"kind": "point", "insertPt": [)" +
               Num(x) + ", " + Num(y) + R"(], "size": [400, 600]}})";
    };
    struct Case {
        const char* name;
        const char* rule;
        std::string pier;
        double layer2, layer3, wall;
    };
    const Case cases[] = {
        {"at the wall's end, plain", "TQTKInsulatingUnitFormBoardAddPier", pier(6200, 0), 900.0 * 4600, 900.0 * 4600,
         1800.0 * 4600},
        {"at the wall's end, over height", "TQTKInsulatingWallUnitOverHighFormBoardAddPier", pier(6200, 0),
         800.0 * 1000, 800.0 * 1000, (1800.0 - 200) * 1000},
        {"through the wall, over height", "TQTKInsulatingWallUnitOverHighFormBoardAddPier", pier(3000, 100),
         800.0 * 1000, 400.0 * 1000, (1600.0 - 400) * 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadUnits(TwoLayerInsulatingWall(4600) + ", " + c.pier);
        const double layer2 = Run(c.rule, 2, 4);
        LoadUnits(TwoLayerInsulatingWall(4600) + ", " + c.pier);
        const double layer3 = Run(c.rule, 3, 4);
        EXPECT_NEAR(layer2, c.layer2, 1.0);
        EXPECT_NEAR(layer3, c.layer3, 1.0);
        EXPECT_NEAR(layer2 + layer3, c.wall, 1.0);
    }
}

// The layer of insulating wall.json (y -100 to 100, 0 to 3000), first and
// last of a wall external on both sides, in two layers of the partition:
// 2600-2800 weighted 1 and 2800-3000 weighted 2 (method 3, H = 200, start
// 2.6, C = 0). Beam 51 (y -100 to 300, 2600 to 3000, 4000 long) takes both
// faces, 2 x 4000 x (200 + 2 x 200); its faces standing out of the layer
// beside the external face are given back layer by layer: its outer side
// 4000 x (200 + 2 x 200), its soffit 4000 x 200 in the lower layer and its
// ends 2 x 200 x (200 + 2 x 200). Across the layer: nothing, and the faces
// the beam crosses, 2 x 200 x (200 + 2 x 200), by fact for the tie beam.
TEST(InsulatingUnitOverHighFormRules, BeamStandingOutOfTheExternalFaceLayerByLayer)
{
    TOverHighSettings s;
    s.critical = 0.0, s.method = 3, s.partition = 0.2, s.start = 2.6;
    const double faces = 2 * 4000.0 * 600;
    const double standingOut = 4000.0 * 600 + 4000.0 * 200 + 2 * 200.0 * 600;
    struct Case {
        const char* name;
        const char* rule;
        int beam;
        double expected;
    };
    const Case cases[] = {
        {"beam along", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide", 51, faces - standingOut},
        {"tie beam along", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide", 51,
         faces - standingOut},
        {"beam across", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide", 52, 0.0},
        {"tie beam across", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide", 52,
         2 * 200.0 * 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = WallCasesBuilding("insulating-wall.json", s);
        building->Activate();
        const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building->Record(2), true));
        unit->AddLeftSideFace();
        unit->AddRightSideFace();
        const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.rule));
        EXPECT_NEAR(strategy->Calculate(RecordRef(building->Record(2)), RecordRef(building->Record(c.beam)),
                                        GBusiness(), building->RuleSet()),
                    c.expected, 0.01);
    }
}

// A layer whose top is at the critical height: every rule gives 0 and nothing is stored.
TEST_F(TInsulatingUnitOverHighFormTest, LayerAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKInsulatingWallUnitOverHighFormBoardOriginal",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductHollow",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductByFact",
        "TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide",
        "TQTKInsulatingWallUnitOverHighFormBoardAddPier",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadUnits(TwoLayerInsulatingWall(3600) + ", " + InsulatingWallOpening(1000, 1000));
        EXPECT_NEAR(Run(rule, 2, 10), 0.0, 1e-6);
        EXPECT_FALSE(Unit(2)->GetOverhighFormboardCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighValueList());
    }
}

}  // namespace
