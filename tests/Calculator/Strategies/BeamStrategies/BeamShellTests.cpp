// The rules that consume a shell or a calculator an original rule filled
// first (foundation beams below a raft and their bottoms, the finish of a
// beam measured alone, beam side areas, brick moulds), which a table of
// single calls cannot say, and that every name of the eight units of beam
// measures answers with its own class.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamBrickMoldCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamFinishQtyCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamPropValue.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamScaffoldCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamSideAreaCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKFDBeamBelowRaftFDCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKFDBeamBottomCalculatro.h"
#include "Calculator/Strategies/BeamStrategies/QTKLintelCalculator.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/BeamStrategies/BeamRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string N(double v)
{
    return std::to_string(v);
}

// A beam of the type along (x0, y0)-(x1, y1), 240 wide, Height deep, its top at Top.
std::string LineBeam(int id, int type, double x0, double y0, double x1, double y1, double height, double top,
                     const std::string& props = "", const std::string& extra = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": )" + N(height) + R"(, "TopElev": )" +
           N(top) + R"(, "Material": "混凝土")" + props + R"(}, "shape": {"kind": "line", "start": [)" + N(x0) + ", " +
           N(y0) + "], \"end\": [" + N(x1) + ", " + N(y1) + "]}" + extra + "}";
}

std::string Slab(int id, double x0, double x1, double top = 3000)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": )" +
           N(top) + R"(, "Material": "混凝土"}, "shape": {"kind": "face", "outline": [[)" + N(x0) + ", -1000], [" +
           N(x1) + ", -1000], [" + N(x1) + ", 1000], [" + N(x0) + ", 1000]]}}";
}

std::string Wall(int id, double x0, double y0, double x1, double y1)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
           "shape": {"kind": "line", "start": [)" +
           N(x0) + ", " + N(y0) + "], \"end\": [" + N(x1) + ", " + N(y1) + "]}}";
}

// ---------------------------------------------------------------------------
// Foundation beams below a raft and their bottoms

TEST(FDBeamBelowRaftRules, FacesBelowTheRaftAndAnOpeningWithItsReveal)
{
    // Foundation beam 1 (-1500 to -500) under raft 2 (-1000 to -500): 500 of
    // its height hangs below the raft. A concrete wall along it holds opening
    // 4, 1000 wide, from -1500 to -500, at x 2500..3500.
    const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 1000, -500) + R"(,
          {"id": 2, "type": 48, "floor": 1, "props": {"Thickness": 500, "TopElev": -500, "BottomElev": -1000,
           "Material": "混凝土"},
           "shape": {"kind": "face", "outline": [[-1000, -3000], [7000, -3000], [7000, 3000], [-1000, 3000]]}},
          {"id": 3, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": -1500, "TopElev": 3000,
           "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 4, "type": 7, "floor": 1, "parent": 3, "props": {"OpeningWidth": 1000, "OpeningHeight": 1000,
           "AboveFloorHeight": -1500, "EDOPID": 3}, "shape": {"kind": "opening", "at": 3000}}])");
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamBelowRaftFDSideOriginalArea", *building, 1, 0), 2 * 6000.0 * 500, 1);
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamBelowRaftFDEndOriginalArea", *building, 1, 0), 2 * 240.0 * 500, 1);
    // Both sides over the opening (2 x 1000 x 500) less the reveal of its two
    // jambs within the 500 below the raft (240 x 2 x 500).
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamBelowRaftFormBoardAreaDeductHole", *building, 1, 4),
                2 * 1000.0 * 500 - 240.0 * 2 * 500, 1);
}

TEST(FDBeamBelowRaftRules, AColumnByFactAndATrenchByItsWholeSolid)
{
    // The beam and raft as above; column 5 (400 square) through the beam at
    // x 1000; trench 6 across it at x 5000 (a test object whose whole solid
    // runs x 4500..5500 from -1600 to -500), its unit 7 beside its line.
    TFakeEDOScope fakes;
    const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 1000, -500) + R"(,
          {"id": 2, "type": 48, "floor": 1, "props": {"Thickness": 500, "TopElev": -500, "BottomElev": -1000,
           "Material": "混凝土"},
           "shape": {"kind": "face", "outline": [[-1000, -3000], [7000, -3000], [7000, 3000], [-1000, 3000]]}},
          {"id": 5, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": -1500,
           "TopElev": 0, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [1000, 0]}},
          {"id": 6, "type": 80, "floor": 1, "props": {"Width": 1000, "BottomElev": -1600, "TopElev": -500},
           "shape": {"kind": "line", "start": [5000, -2000], "end": [5000, 2000]}},
          {"id": 7, "type": 84, "floor": 1, "parent": 6, "props": {"EDOPID": 6, "Width": 200},
           "shape": {"kind": "line", "start": [4600, -2000], "end": [4600, 2000]}}])");
    auto& trench = fakes.Attach<TFakeTrenchEDO>(building->DrawObj(6));
    trench.whole = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({4500, -2000, -1600}, {5500, 2000, -500}));
    RunBeamRule("TQTKFDBeamBelowRaftFDSideOriginalArea", *building, 1, 0);
    // Inside the column and the trench the sides go whichever goes first.
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamBelowRaftFormBoardAreaDeductByFact", *building, 1, 5), 2 * 400.0 * 500, 1);
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamBelowRaftFormBoardAreaDeductTrench", *building, 1, 7), 2 * 1000.0 * 500, 1);
}

TEST(FDBeamBottomRules, OriginalAndTrenchUnits)
{
    struct TCase {
        const char* name;
        bool across;
        double expected;
    };
    // The trench's whole solid from -600 to 0 holds the beam's bottom (at -500)
    // over x 2500..3500 when across it; a unit along the beam takes nothing.
    const std::vector<TCase> cases = {{"across", true, 1000.0 * 240}, {"along", false, 0.0}};
    for (const TCase& c : cases) {
        TFakeEDOScope fakes;
        const auto building = TrenchUnderFDBeam(c.across, fakes);
        EXPECT_NEAR(RunBeamRule("TQTKFDBeamOrigialBottomArea", *building, 1, 0), 6000.0 * 240, 1) << c.name;
        EXPECT_NEAR(RunBeamRule("TQTKFDBeamBottomAreaDeductTrench", *building, 1, 3), c.expected, 1) << c.name;
    }
}

TEST(FDBeamBottomRules, OfTwoCrossingFoundationBeamsOnlyTheOneGivingWayLosesItsBottom)
{
    // Both bottoms at -500 (beam 2 reaching higher, so that one of them gives
    // way): the crossing square (240 x 240) lies flush on the other beam's
    // bottom, which only both kinds take.
    int givingWay = 0;
    for (const auto& [subject, object] : std::vector<std::pair<int, int>>{{1, 2}, {2, 1}}) {
        const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 500, 0) + ", " +
                                           LineBeam(2, 47, 3000, -3000, 3000, 3000, 700, 200) + "]");
        const bool givesWay = IsLineEntCutBy(building->Record(subject), building->Record(object), false);
        givingWay += givesWay ? 1 : 0;
        RunBeamRule("TQTKFDBeamOrigialBottomArea", *building, subject, 0);
        EXPECT_NEAR(RunBeamRule("TQTKFDBeamBottomAreaDedutFDBeam", *building, subject, object),
                    givesWay ? 240.0 * 240 : 0.0, 1)
            << subject;
    }
    EXPECT_EQ(givingWay, 1);
}

// ---------------------------------------------------------------------------
// The finish of a beam measured alone

const char* const CFinishRules[] = {
    "TQTKAloneBeamFinishSideAreaQty",
    "TQTKAloneBeamFinishBottomAreaQty",
    "TQTKAloneBeamFinishTopAreaQty",
    "TQTKAloneBeamFinishEndAreaQty",
    "TQTKAloneBeamFinishAreaDeductBeam",
    "TQTKAloneBeamFinishAreaDeductByFact",
    "TQTKAloneBeamFinishAreaDeductSlab",
    "TQTKAloneBeamBlockFinishSideAreaQty",
    "TQTKAloneBeamBlockFinishBottomAreaQty",
    "TQTKAloneBeamBlockFinishTopAreaQty",
    "TQTKAloneBeamBlockFinishEndAreaQty",
    "TQTKAloneBeamBlockFinishAreaDeductBeam",
    "TQTKAloneBeamBlockFinishAreaDeductByFact",
    "TQTKAloneBeamBlockFinishAreaDeductSlab",
};

TEST(AloneBeamFinishRules, ABeamNotMeasuredAloneHasNone)
{
    for (const std::string props : {std::string(), std::string(R"(, "CalcAloneBeamFinishQty": 0)")}) {
        const auto building =
            BeamBuilding("[" + LineBeam(1, 15, 0, 0, 6000, 0, 500, 3000, props) + ", " +
                         LineBeam(2, 15, 3000, -3000, 3000, 3000, 500, 3000) + ", " + Slab(10, -1000, 7000) + "]");
        for (const char* rule : CFinishRules)
            EXPECT_EQ(RunBeamRule(rule, *building, 1, 2), 0.0) << rule << props;
    }
}

TEST(AloneBeamFinishRules, FacesAndDeductionsOfBothFamilies)
{
    const std::string alone = R"(, "CalcAloneBeamFinishQty": 1)";
    struct TCase {
        const char* name;
        const char* area;
        const char* deduction;
        std::string elements;
        int object;
        double expectedArea, expectedDeduction;
    };
    const std::string beam = LineBeam(1, 15, 0, 0, 6000, 0, 500, 3000, alone);
    const std::vector<TCase> cases = {
        // Two slabs meeting over the beam at x 3000 take the top 120 of both sides each over their half.
        {"two slabs", "TQTKAloneBeamFinishSideAreaQty", "TQTKAloneBeamFinishAreaDeductSlab",
         "[" + beam + ", " + Slab(10, -1000, 3000) + ", " + Slab(11, 3000, 7000) + "]", 0, 2 * 6000.0 * 500,
         2 * 6000.0 * 120},
        {"two slabs, block finish", "TQTKAloneBeamBlockFinishSideAreaQty", "TQTKAloneBeamBlockFinishAreaDeductSlab",
         "[" + beam + ", " + Slab(10, -1000, 3000) + ", " + Slab(11, 3000, 7000) + "]", 0, 2 * 6000.0 * 500,
         2 * 6000.0 * 120},
        // A shallower crossing beam gives way to this one: its top, flush with
        // this beam's top, takes nothing by contact only.
        {"crossing beam giving way", "TQTKAloneBeamFinishTopAreaQty", "TQTKAloneBeamFinishAreaDeductBeam",
         "[" + beam + ", " + LineBeam(2, 15, 3000, -3000, 3000, 3000, 400, 3000) + "]", 2, 6000.0 * 240, 0.0},
        // A deeper one this beam gives way to takes its square with both kinds.
        {"crossing beam taking precedence", "TQTKAloneBeamBlockFinishTopAreaQty",
         "TQTKAloneBeamBlockFinishAreaDeductBeam",
         "[" + beam + ", " + LineBeam(2, 15, 3000, -3000, 3000, 3000, 800, 3000) + "]", 2, 6000.0 * 240, 240.0 * 240},
        // By fact both kinds, whichever gives way.
        {"by fact", "TQTKAloneBeamFinishTopAreaQty", "TQTKAloneBeamFinishAreaDeductByFact",
         "[" + beam + ", " + LineBeam(2, 15, 3000, -3000, 3000, 3000, 400, 3000) + "]", 2, 6000.0 * 240, 240.0 * 240},
    };
    for (const TCase& c : cases) {
        const auto building = BeamBuilding(c.elements);
        // No shell before a face rule of the family.
        EXPECT_EQ(RunBeamRule(c.deduction, *building, 1, c.object ? c.object : 1), 0.0) << c.name;
        EXPECT_NEAR(RunBeamRule(c.area, *building, 1, 0), c.expectedArea, 1) << c.name;
        EXPECT_NEAR(RunBeamRule(c.deduction, *building, 1, c.object), c.expectedDeduction, 1) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Beam side areas

TEST(BeamSideAreaRules, Deductions)
{
    struct TCase {
        const char* name;
        const char* rule;
        std::string elements;
        double expected;
    };
    const std::string beam = LineBeam(1, 15, 0, 0, 6000, 0, 500, 3000);
    const std::string ring = LineBeam(1, 18, 0, 0, 6000, 0, 500, 3000);
    const std::vector<TCase> cases = {
        {"a wall along the beam", "TQTKBeamSideAreaDeductNonParallelWall",
         "[" + beam + ", " + Wall(2, 0, 0, 6000, 0) + "]", 0.0},
        {"a wall along the ring beam", "TQTKTieBeamSideAreaDeductNonParallelWall",
         "[" + ring + ", " + Wall(2, 0, 0, 6000, 0) + "]", 0.0},
        // The wall (to 3000) across the beam's whole height on both sides.
        {"a wall across the ring beam", "TQTKTieBeamSideAreaDeductNonParallelWall",
         "[" + ring + ", " + Wall(2, 3000, -2000, 3000, 2000) + "]", 2 * 240.0 * 500},
        {"a wall across a beam on no parallel beam", "TQTKBeamSideAreaDeductNonParallelWall",
         "[" + beam + ", " + Wall(2, 3000, -2000, 3000, 2000) + "]", 2 * 240.0 * 500},
        // A beam along the wall no deeper than the wall is thick: the beam does not lie on a thinner wall.
        {"a wall across a beam on a shallow parallel beam", "TQTKBeamSideAreaDeductNonParallelWall",
         "[" + beam + ", " + Wall(2, 3000, -2000, 3000, 2000) + ", " +
             LineBeam(3, 15, 3000, -2000, 3000, 2000, 200, 3000) + "]",
         0.0},
        {"a crossing beam of the same type", "TQTKBeamSideAreaDeductBeam",
         "[" + beam + ", " + LineBeam(2, 15, 3000, -3000, 3000, 3000, 400, 3000) + "]", 2 * 240.0 * 400},
        {"a column by fact", "TQTKBeamSideAreaDeductByFact",
         "[" + beam + R"(, {"id": 2, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400,
             "BottomElev": 0, "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [3000, 0]}}])",
         2 * 400.0 * 500},
    };
    for (const TCase& c : cases) {
        const auto building = BeamBuilding(c.elements);
        EXPECT_NEAR(RunBeamRule("TQTKBeamSideOriginalArea", *building, 1, 0), 2 * 6000.0 * 500, 1) << c.name;
        EXPECT_NEAR(RunBeamRule(c.rule, *building, 1, 2), c.expected, 1) << c.name;
    }
}

TEST(BeamSideAreaRules, AConcreteStripUnitAlongTheBeamTakesNothing)
{
    // Foundation beam 1 (-500 to 0) inside strip foundation 5 (-800 to 0, 1000
    // wide) along it: the beam never gives way to a strip unit by type.
    for (const auto& [material, expected] :
         std::vector<std::pair<std::string, double>>{{"混凝土", 0.0}, {"砖", 2 * 6000.0 * 500}}) {
        const std::string strip = R"("start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -800, "top": 0)";
        const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 500, 0) +
                                           R"(, {"id": 5, "type": 51, "floor": 1, "props": {"Width": 1000,
            "AxisOffset": 500, "Material": ")" +
                                           material + R"("}, "shape": {"kind": "line", )" + strip + R"(}},
            {"id": 6, "type": 81, "floor": 1, "parent": 5, "props": {"Type": 0, "Offset": 0, "BottomElev": 0,
            "Material": ")" + material + R"(", "EDOPID": 5}, "shape": {"kind": "line", )" +
                                           strip + "}}]");
        EXPECT_NEAR(RunBeamRule("TQTKBeamSideOriginalArea", *building, 1, 0), 2 * 6000.0 * 500, 1);
        EXPECT_NEAR(RunBeamRule("TQTKBeamSideAreaDeductByFact", *building, 1, 6), expected, 1) << material;
    }
}

// ---------------------------------------------------------------------------
// Brick moulds

TEST(BeamBrickMoldRules, AnEmptyMouldHasNoVolumeAndNoExpression)
{
    const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 500, 0) + "]");
    TQTKCalculationScopeOptions options;
    options.exprMode = true;
    TQTKCalculationScope& scope = building->Activate(std::move(options));
    scope.BeginQuantity(1, "TQTKBeamBrickMoldOriginalVolume");
    EXPECT_EQ(RunBeamRule("TQTKBeamBrickMoldOriginalVolume", *building, 1, 0), 0.0);
    EXPECT_FALSE(scope.ExprText(1, "TQTKBeamBrickMoldOriginalVolume").has_value());
}

TEST(BeamBrickMoldRules, ANeighbourTakesItsMouldOnlyWithPrecedence)
{
    // Foundation beams 1 (along x, -500 to 0) and 2 (across at x 3000, -500
    // to 200), each with 120 of brick mould on both sides. Beam 2's own solid takes 2 x 240 x 120 x 500
    // of beam 1's mould; its mould, where it has precedence, the four corners
    // 120 x 120 x 500 more.
    const std::string mould = R"(, "BrickMoldThickness": 120)";
    const std::string part = R"(, "subSolids": [{"vertices": [[0, 0, -500], [10, 0, -500], [10, 10, -500],
        [0, 10, -500], [0, 0, -490], [10, 0, -490], [10, 10, -490], [0, 10, -490]],
        "faces": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]]}])";
    int withPrecedence = 0;
    for (const auto& [subject, object] : std::vector<std::pair<int, int>>{{1, 2}, {2, 1}}) {
        const auto building = BeamBuilding("[" + LineBeam(1, 47, 0, 0, 6000, 0, 500, 0, mould, part) + ", " +
                                           LineBeam(2, 47, 3000, -3000, 3000, 3000, 700, 200, mould, part) + "]");
        const double height = subject == 1 ? 500.0 : 700.0;
        EXPECT_NEAR(RunBeamRule("TQTKBeamBrickMoldOriginalVolume", *building, subject, 0), 2 * 120.0 * 6000 * height,
                    10);
        const bool precedence = IsBrickMoldCutBy(building->Record(subject), building->Record(object));
        withPrecedence += precedence ? 1 : 0;
        EXPECT_NEAR(RunBeamRule("TQTKBeamBrickMoldVolDeductByFact", *building, subject, object),
                    2 * 240.0 * 120 * 500 + (precedence ? 4 * 120.0 * 120 * 500 : 0.0), 10)
            << subject << (precedence ? " with" : " without") << " precedence";
    }
    EXPECT_EQ(withPrecedence, 1);
}

// ---------------------------------------------------------------------------

TEST(BeamMeasureUnits, EveryNameAnswersWithItsOwnClass)
{
    struct TCase {
        const char* name;
        bool (*isOf)(IQTKCalcStrategy*);
    };
    // clang-format off
#define QTK_BEAM_CASE(name) {#name, &IsRuleOf<name>}
    const std::vector<TCase> cases = {
        QTK_BEAM_CASE(TQTKLintelLength), QTK_BEAM_CASE(TQTKLintelWidth), QTK_BEAM_CASE(TQTKLintelHeight),
        QTK_BEAM_CASE(TQTKLintelSectionArea), QTK_BEAM_CASE(TQTKLintelVolDeductByFace),
        QTK_BEAM_CASE(TQTKLintelVolDeductWallWhenMergeHeightLargerThanCerteinHeight),
        QTK_BEAM_CASE(TQTKLintelSideFormBoardArea), QTK_BEAM_CASE(TQTKLintelOutBottomFormBoardArea),
        QTK_BEAM_CASE(TQTKLintelEndFormBoardArea), QTK_BEAM_CASE(TQTKLintelFormBoardAreaDeductByFact),
        QTK_BEAM_CASE(TQTKStdLintelVolume), QTK_BEAM_CASE(TQTKLintelOriginalVol),

        QTK_BEAM_CASE(TQTKBeamPerimeter), QTK_BEAM_CASE(TQTKBeamSectionArea), QTK_BEAM_CASE(TQTKBeamSectionWidth),
        QTK_BEAM_CASE(TQTKBeamAverageSecrionHight), QTK_BEAM_CASE(TQTKBeamVolAxisLength),
        QTK_BEAM_CASE(TQTKFDBeamlength), QTK_BEAM_CASE(TQTKBeamClearLengthOrigianlLength),
        QTK_BEAM_CASE(TQTKBeamClearLengthDeductBeam), QTK_BEAM_CASE(TQTKBeamClearLengthDeductByFact),
        QTK_BEAM_CASE(TQTKBeamClearLengthDeductNonParallelWall),
        QTK_BEAM_CASE(TQTKTieBeamClearLengthDeductNonParallelWall), QTK_BEAM_CASE(TQTKBeamSectionHeght),
        QTK_BEAM_CASE(TQTKBeamScaffoldLengthRate),

        QTK_BEAM_CASE(TQTKBeamScaffoldMiddleLength), QTK_BEAM_CASE(TQTKBeamScaffoldNetLength),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFromFloorElevToBeamTopElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFromFloorElevToBeamBottomElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamTopElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElevDeductSlapHeight),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorHasFoorUnderFloorDeductSlap),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamBottomElev),
        QTK_BEAM_CASE(TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamBottomElev),

        QTK_BEAM_CASE(TQTKFDBeamBelowRaftFDSideOriginalArea), QTK_BEAM_CASE(TQTKFDBeamBelowRaftFDEndOriginalArea),
        QTK_BEAM_CASE(TQTKFDBeamBelowRaftFormBoardAreaDeductByFact),
        QTK_BEAM_CASE(TQTKFDBeamBelowRaftFormBoardAreaDeductHole),
        QTK_BEAM_CASE(TQTKFDBeamBelowRaftFormBoardAreaDeductTrench),

        QTK_BEAM_CASE(TQTKFDBeamOrigialBottomArea), QTK_BEAM_CASE(TQTKFDBeamBottomAreaDedutFDBeam),
        QTK_BEAM_CASE(TQTKFDBeamBottomAreaDedutByFact), QTK_BEAM_CASE(TQTKFDBeamBottomAreaDeductTrench),

        QTK_BEAM_CASE(TQTKAloneBeamFinishSideAreaQty), QTK_BEAM_CASE(TQTKAloneBeamFinishBottomAreaQty),
        QTK_BEAM_CASE(TQTKAloneBeamFinishTopAreaQty), QTK_BEAM_CASE(TQTKAloneBeamFinishEndAreaQty),
        QTK_BEAM_CASE(TQTKAloneBeamFinishAreaDeductBeam), QTK_BEAM_CASE(TQTKAloneBeamFinishAreaDeductByFact),
        QTK_BEAM_CASE(TQTKAloneBeamFinishAreaDeductSlab), QTK_BEAM_CASE(TQTKAloneBeamBlockFinishSideAreaQty),
        QTK_BEAM_CASE(TQTKAloneBeamBlockFinishBottomAreaQty), QTK_BEAM_CASE(TQTKAloneBeamBlockFinishTopAreaQty),
        QTK_BEAM_CASE(TQTKAloneBeamBlockFinishEndAreaQty), QTK_BEAM_CASE(TQTKAloneBeamBlockFinishAreaDeductBeam),
        QTK_BEAM_CASE(TQTKAloneBeamBlockFinishAreaDeductByFact),
        QTK_BEAM_CASE(TQTKAloneBeamBlockFinishAreaDeductSlab),

        QTK_BEAM_CASE(TQTKBeamSideOriginalArea), QTK_BEAM_CASE(TQTKBeamSideAreaDeductBeam),
        QTK_BEAM_CASE(TQTKBeamSideAreaDeductByFact), QTK_BEAM_CASE(TQTKBeamSideAreaDeductNonParallelWall),
        QTK_BEAM_CASE(TQTKTieBeamSideAreaDeductNonParallelWall),

        QTK_BEAM_CASE(TQTKBeamBrickMoldOriginalVolume), QTK_BEAM_CASE(TQTKBeamBrickMoldVolDeductByFact),
    };
#undef QTK_BEAM_CASE
    // clang-format on
    for (const TCase& c : cases) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.name));
        EXPECT_TRUE(c.isOf(rule.get())) << c.name;
    }
}

}  // namespace
