// The over-height formwork rules of insulating wall layers on insulating
// wall 1 (200 thick on its axis (0,0)-(6000,0)) of two 100 mm layers, 2
// (y 0..100) and 3 (y -100..0), on storey 1 at 0 (B = 0, C = 3600, start
// height 3.6): method 0 makes one piece of weight 1 from 3600 to the top.
// The layers' side faces are in their formwork, as the side-line rules
// leave them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// The pier rules with one piece of weight 1 holding the whole layer (critical
// height 0): against layer 2's face (pier 4 of the test above) both give the
// exposed sides less the face behind the pier, (1600 - 400) x 4600. At the
// wall's end they differ, as their measures do: the over-height width takes
// the pier's contact off as the face behind it, (900 - 100) x 4600, the plain
// rule only the faces in the formwork (the layers' ends are not), 900 x 4600.
TEST_F(TInsulatingUnitOverHighFormTest, PierWithOnePieceAgainstItsTwin)
{
    TOverHighSettings onePiece;
    onePiece.critical = 0.0;
    const auto pier = [](double x, double y) {
        return R"({"id": 4, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0,
            "TopElev": 4600}, "shape": {"kind": "point", "insertPt": [)" +
               Num(x) + ", " + Num(y) + R"(], "size": [400, 600]}})";
    };
    struct Case {
        const char* name;
        std::string pier;
        double overhigh, twin;
    };
    const Case cases[] = {
        {"against the face", pier(3000, 400), 1200.0 * 4600, 1200.0 * 4600},
        {"at the wall's end", pier(6200, 0), 800.0 * 4600, 900.0 * 4600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [rule, expected] : {std::pair{"TQTKInsulatingWallUnitOverHighFormBoardAddPier", c.overhigh},
                                             std::pair{"TQTKInsulatingUnitFormBoardAddPier", c.twin}}) {
            SCOPED_TRACE(rule);
            Load(TwoLayerInsulatingWall(4600) + ", " + c.pier, OverHighSettingsTable("QTKWallCalcSettings", onePiece));
            Unit(2)->AddLeftSideFace();
            Unit(2)->AddRightSideFace();
            EXPECT_NEAR(Run(rule, 2, 4), expected, 1.0);
        }
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

// ---------------------------------------------------------------------------
// The twin and threshold tables on the one 200 mm layer (2) of
// insulating-wall.json (y -100 to 100, 0 to 3000), its side faces in its
// formwork, with a critical height of 0: method 0 with a null start makes
// one piece of weight 1 holding the whole layer, so every over-height rule
// gives what its ordinary twin gives (the twins' hand values). No rule table
// sets formwork priorities: every neighbour's formwork comes first, and its
// faces flush with the layer's go too.

double RunOnOnePieceLayer(const char* rule, int object)
{
    TOverHighSettings s;
    s.critical = 0.0;
    const auto building = WallCasesBuilding("insulating-wall.json", s);
    building->Activate();
    const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building->Record(2), true));
    unit->AddLeftSideFace();
    unit->AddRightSideFace();
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    EXPECT_TRUE(strategy) << rule;
    return strategy->Calculate(RecordRef(building->Record(2)),
                               object ? RecordRef(building->Record(object)) : RecordRef(), GBusiness(),
                               building->RuleSet());
}

struct TLayerTwinCase {
    const char* name;
    const char* overhigh;
    const char* twin;  // none: a rule without an ordinary twin
    int object;
    double expected;
};

void RunLayerTwinCases(const std::vector<TLayerTwinCase>& cases)
{
    for (const TLayerTwinCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.overhigh);
        if (c.twin)
            EXPECT_NEAR(RunOnOnePieceLayer(c.twin, c.object), c.expected, 0.01);
        EXPECT_NEAR(RunOnOnePieceLayer(c.overhigh, c.object), c.expected, 0.01);
    }
}

// Column 40 (400 x 400) stands out of both faces: 2 x 400 x 3000; column 41
// lies inside the wall. Beam 50 (200 wide on the layer's axis, 2600 to 3000,
// 4000 long) and beam 51 (400 wide, y -100 to 300) take both faces, 2 x 4000
// x 400; beam 52 across takes 2 x 200 x 400. Beam 51 stands out beside the
// external face with its outer side 4000 x 400, its soffit 4000 x 200 and its
// ends 2 x 200 x 400, given back. Alcove 20 of 500 x 600.00002 goes through
// the layer: its outline on the face x 200.
TEST(InsulatingUnitOverHighFormRules, OnePieceOfWeightOneGivesWhatTheTwinGives)
{
    const double faces = 2 * 4000.0 * 400, standingOut = 4000.0 * 400 + 4000.0 * 200 + 2 * 200.0 * 400;
    RunLayerTwinCases({
        {"original: both faces", "TQTKInsulatingWallUnitOverHighFormBoardOriginal", nullptr, 0, 2 * 40000.0 * 3000},
        {"opening of 1 m2", "TQTKInsulatingWallUnitOverHighFormBoardDeductHollow",
         "TQTKInsulatingUnitFormBoardDeductHollow", 13, 2 * 1000000.0},
        {"opening of 1 m2 with its reveal", "TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductHollowAddSide", 13, 2 * 1000000.0 - 4000.0 * 200},
        {"by fact: column standing out", "TQTKInsulatingWallUnitOverHighFormBoardDeductByFact",
         "TQTKInsulatingUnitFormBoardDeductByFact", 40, 2 * 400.0 * 3000},
        {"by fact: beam along", "TQTKInsulatingWallUnitOverHighFormBoardDeductByFact",
         "TQTKInsulatingUnitFormBoardDeductByFact", 50, faces},
        {"column standing out", "TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn",
         "TQTKInsulatingUnitFormBoardDeductNotRegularColumn", 40, 2 * 400.0 * 3000},
        {"column inside the wall", "TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn",
         "TQTKInsulatingUnitFormBoardDeductNotRegularColumn", 41, 0.0},
        {"beam along, parallel rule", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam",
         "TQTKInsulatingUnitFormBoardDeductParallelBeam", 50, faces},
        {"beam across, parallel rule", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam",
         "TQTKInsulatingUnitFormBoardDeductParallelBeam", 52, 0.0},
        {"beam across, not-parallel rule", "TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam",
         "TQTKInsulatingUnitFormBoardDeductNotParallelBeam", 52, 2 * 200.0 * 400},
        {"beam along, not-parallel rule", "TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam",
         "TQTKInsulatingUnitFormBoardDeductNotParallelBeam", 50, 0.0},
        {"beam standing out", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide",
         "TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide", 51, faces - standingOut},
        {"tie beam standing out", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide",
         "TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide", 51, faces - standingOut},
        {"beam across, standing-out rule", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide",
         "TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide", 52, 0.0},
        {"tie beam across, by fact", "TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide",
         "TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide", 52, 2 * 200.0 * 400},
        {"alcove", "TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide", "TQTKInsulatingUnitFormBoardAddAlcoveSide",
         20, 2 * (500 + 600.00002) * 200},
        {"inner side: by fact, own faces first", "TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide", nullptr, 40,
         2 * 400.0 * 3000},
    });
}

// The alcove members at their limit and just above (outline areas of 0.3
// and 1 m2, and 0.01 mm2 more): nothing, then the outline on the face x 200.
TEST(InsulatingUnitOverHighFormRules, AlcoveLimitsAtTheLimitAndJustAbove)
{
    RunLayerTwinCases({
        {"0.3 m2", "TQTKInsulatingWallUnitOverHighFormBoardAddPointThreeAloveSide",
         "TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide", 19, 0.0},
        {"0.3 m2 + 0.01", "TQTKInsulatingWallUnitOverHighFormBoardAddPointThreeAloveSide",
         "TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide", 20, 2 * (500 + 600.00002) * 200},
        {"1 m2", "TQTKInsulatingWallUnitOverHighFormBoardAddOneAloveSide",
         "TQTKInsulatingUnitFormBoardAddOneAlcoveSide", 21, 0.0},
        {"1 m2 + 0.01", "TQTKInsulatingWallUnitOverHighFormBoardAddOneAloveSide",
         "TQTKInsulatingUnitFormBoardAddOneAlcoveSide", 22, 2 * (1000 + 1000.00001) * 200},
    });
}

// Where the rules differ from their twins, both values. The over-height
// irregular-beam rule deducts a beam the layer does not lie within (beam 52
// across, 2 x 200 x 400) and keeps one it lies within (beam 50); its twin
// does the opposite, deducting only a beam the layer lies within.
TEST(InsulatingUnitOverHighFormRules, StatedDifferencesFromTheTwinWithBothValues)
{
    struct Case {
        const char* name;
        const char* overhigh;
        const char* twin;
        int object;
        double overhighValue, twinValue;
    };
    const Case cases[] = {
        {"beam across", "TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam",
         "TQTKInsulatingUnitFormBoardDeductNotRegularBeam", 52, 2 * 200.0 * 400, 0.0},
        {"beam as wide as the layer", "TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam",
         "TQTKInsulatingUnitFormBoardDeductNotRegularBeam", 50, 0.0, 2 * 4000.0 * 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(RunOnOnePieceLayer(c.overhigh, c.object), c.overhighValue, 0.01);
        EXPECT_NEAR(RunOnOnePieceLayer(c.twin, c.object), c.twinValue, 0.01);
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
