// What the beam volume table cannot say: the slab joint strips and the
// polygons they leave on the slabs, a curved slab, a column on the
// foundation floor, a trench (a test object), and that every name of the
// unit answers with its own class.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamVolCalculator.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/BeamStrategies/BeamRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

double PolygonsArea(const std::vector<const TVRMMultiPolygon2d*>& polygons)
{
    double area = 0.0;
    for (const TVRMMultiPolygon2d* polygon : polygons)
        area += polygon->Area();
    return area;
}

// Beam 1 along x from 0 to 4000, 300 wide (y -150..150), 2500 to 3000. Slab
// 10, 120 thick, lies north of its axis over the whole length; slab 11,
// 100 thick, south of it from 0 to 2000, both with their tops at 3000. Where
// they meet over the beam (x 0..2000) the strip across the beam's width goes
// at the joint thickness: 2000 x 300 x 100 by the thinner slab, x 110 by the
// mean. The rest of slab 10 over the beam (x 2000..4000, y 0..150) at 120:
// 2000 x 150 x 120. Only the thinner-slab rule hands the strip to the slabs:
// 2000 x 150 of it lies in slab 10 (its deduct polygon), the whole strip
// goes to slab 11 (its add polygon).
TEST(BeamVolRules, SlabsMeetingOverTheBeamAreDeductedAtTheJointThickness)
{
    struct TCase {
        const char* rule;
        double joint;
        bool recorded;
    };
    const std::vector<TCase> cases = {
        {"TQTKBeamVolumeDeductSlabByThinner", 100.0, true},
        {"TQTKBeamVolumeDeductSlabByAve", 110.0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.rule);
        const auto building = TTestBuilding::FromElements(R"([
            {"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 300, "SectionHeight": 500, "TopElev": 3000,
             "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0]}},
            {"id": 10, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000, "Material": "混凝土"},
             "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 3000], [0, 3000]]}},
            {"id": 11, "type": 19, "floor": 1, "props": {"Thickness": 100, "TopElev": 3000, "Material": "混凝土"},
             "shape": {"kind": "face", "outline": [[0, -3000], [2000, -3000], [2000, 0], [0, 0]]}}])");
        building->Activate();
        const double expected = 2000.0 * 300 * c.joint + 2000.0 * 150 * 120;
        EXPECT_NEAR(RunBeamRule(c.rule, *building, 1, 10), expected, 1.0);
        const auto thicker = RefCast<IQTKSlabCalculator>(GetCalcEDO(building->Record(10), true));
        const auto thinner = RefCast<IQTKSlabCalculator>(GetCalcEDO(building->Record(11), true));
        EXPECT_NEAR(PolygonsArea(thicker->GetDeductPolygons()), c.recorded ? 2000.0 * 150 : 0.0, 1e-3);
        EXPECT_NEAR(PolygonsArea(thinner->GetAddPolygons()), c.recorded ? 2000.0 * 300 : 0.0, 1e-3);
    }
}

// Slab 2 arched across y about the x axis: span 6000, rise 1000 from its
// base at 3000, 120 thick (radii 5000 and 4880, sweep 2 asin 0.6). Beam 1
// runs along y at x 3000, 240 wide, from 0 up to 5000: it holds a 240
// slice of the arch, (sweep / 2)(5000² - 4880²) x 240, by fact.
TEST(BeamVolRules, CurvedSlabIsDeductedByFact)
{
    const auto building = TTestBuilding::FromElements(
        R"([{"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 5000,
             "TopElev": 5000, "Material": "混凝土"},
             "shape": {"kind": "line", "start": [3000, -4000], "end": [3000, 4000]}},
            {"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 120},
             "shape": {"kind": "face", "outline": [[0,-3000],[6000,-3000],[6000,3000],[0,3000]], "thickness": 120,
                       "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000,
                                     "axis": [[0, 0], [6000, 0]]}}}])");
    building->Activate();
    const auto slab = RefCast<IQTKSlabCalculator>(GetCalcEDO(building->Record(2), true));
    slab->ClearQtyItems();
    ASSERT_TRUE(slab->IsCurvedFaceShape());
    const double expected = std::asin(0.6) * (5000.0 * 5000 - 4880.0 * 4880) * 240;
    EXPECT_NEAR(RunBeamRule("TQTKBeamVolumeDeductSlabByThinner", *building, 1, 2), expected, 1e-5 * expected);
    EXPECT_TRUE(slab->GetDeductPolygons().empty());
}

// Foundation beam 1 (0,0)-(10000,0), 240 x 500 from -500 to 0, wholly on
// inner wall 2 (100 to 9900): 0.97 of its volume, also when a deduction
// (column 3, which misses the beam) built the volume calculator first.
TEST(BeamVolRules, FoundationBeamWeightHoldsWhenTheCalculatorExists)
{
    for (const bool deductedFirst : {false, true}) {
        SCOPED_TRACE(deductedFirst ? "after a deduction" : "first");
        const auto building = TTestBuilding::FromElements(R"([
            {"id": 1, "type": 47, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 500, "TopElev": 0,
             "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0]}},
            {"id": 2, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": -500, "TopElev": 3000,
             "Material": "砖"}, "shape": {"kind": "line", "start": [100, 0], "end": [9900, 0]}},
            {"id": 3, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0,
             "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [5000, 3000]}}])");
        building->Activate();
        if (deductedFirst) {
            EXPECT_NEAR(RunBeamRule("TQTKBeamVolDeductByFact", *building, 1, 3), 0.0, 1e-6);
        }
        EXPECT_NEAR(RunBeamRule("TQTKFDOriginalVolumeByWall", *building, 1, 0), 0.97 * 10000 * 240 * 500, 1.0);
    }
}

// Beam 1 (240 x 400, 2600 to 3000, "Type2" 1 or 0) stems into beam 2 (300
// x 600, 2400 to 3000, "Type2" 1) across it at 3000: a secondary beam
// under the slab gives the main beam its end inside it, 150 x 240 x 400.
TEST(BeamVolRules, SecondaryBeamUnderTheSlabGivesWayToItsMainBeam)
{
    struct TCase {
        const char* name;
        int typeTwo;
        int subject, object;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"secondary beam under the slab", 1, 1, 2, 150.0 * 240 * 400},
        {"secondary beam not under the slab", 0, 1, 2, 0.0},
        {"main beam", 1, 2, 1, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building =
            TTestBuilding::FromElements(R"([
            {"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 400, "TopElev": 3000,
             "Material": "混凝土", "Type2": )" +
                                        std::to_string(c.typeTwo) +
                                        R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0]}},
            {"id": 2, "type": 15, "floor": 1, "props": {"SectionWidth": 300, "SectionHeight": 600, "TopElev": 3000,
             "Material": "混凝土", "Type2": 1}, "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000]}}])");
        building->Activate();
        EXPECT_NEAR(RunBeamRule("TQTkBeamVolDuductBelowBoardSubBeam", *building, c.subject, c.object), c.expected, 1.0);
    }
}

// Beam 1 (0,0)-(6000,0), 240 x 500, and a 400 x 400 column through it at
// 3000 (0.4 x 0.24 x 0.5), on the foundation floor and on the first floor.
TEST(BeamVolRules, TieBeamKeepsColumnsOnTheFoundationFloor)
{
    struct TCase {
        const char* name;
        int floorNo;
        double expected;
    };
    const std::vector<TCase> cases = {{"foundation floor", 0, 0.0}, {"first floor", 1, 400.0 * 240 * 500}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromText(R"({
            "floors": [{"ID": 1, "Name": "F", "StartFloorNo": )" +
                                                      std::to_string(c.floorNo) +
                                                      R"(, "StructuralElevation": 0.0, "Height": 3.0}],
            "elements": [
              {"id": 1, "type": 18, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 500, "TopElev": 3000,
               "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
              {"id": 2, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0,
               "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "point", "insertPt": [3000, 0]}}]})");
        building->Activate();
        EXPECT_NEAR(RunBeamRule("TQTKTieBeamVolDeductNonFDColumn", *building, 1, 2), c.expected, 1.0);
    }
}

// Foundation beam 1 (0,0)-(6000,0), 240 x 500 from -500 to 0; trench 2 with
// unit 3 across it at 3000 (or along it), its whole solid 1000 wide (x 2500
// to 3500) from -600 to 0: 1000 x 240 x 500 of the beam when it crosses.
TEST(BeamVolRules, TrenchAcrossTheFoundationBeamTakesItsWholeSolid)
{
    struct TCase {
        const char* name;
        bool across;
        double expected;
    };
    const std::vector<TCase> cases = {{"trench across", true, 1000.0 * 240 * 500}, {"trench along", false, 0.0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFakeEDOScope fakes;
        const auto building = TrenchUnderFDBeam(c.across, fakes);
        EXPECT_NEAR(RunBeamRule("TQTKFDBeamVolDeductNotParellelTrench", *building, 1, 3), c.expected, 0.01);
    }
}

TEST(BeamVolRules, EveryNameAnswersWithItsOwnClass)
{
    struct TCase {
        const char* name;
        bool (*isOf)(IQTKCalcStrategy*);
    };
    // clang-format off
#define QTK_BEAM_CASE(name) {#name, &IsRuleOf<name>}
    // clang-format on
    const std::vector<TCase> cases = {
        QTK_BEAM_CASE(TQTKBeamVolByMiddleLine),
        QTK_BEAM_CASE(TQTKBeamVolByAxisLine),
        QTK_BEAM_CASE(TQTKBeamOriginalVolumeByMiddleLine),
        QTK_BEAM_CASE(TQTKBeamOriginalVolumeByAxisLine),
        QTK_BEAM_CASE(TQTKFDOriginalVolumeByWall),
        QTK_BEAM_CASE(TQTKBeamVolDeductBeam),
        QTK_BEAM_CASE(TQTKBeamVolDeductByFact),
        QTK_BEAM_CASE(TQTkBeamVolDuductBelowBoardSubBeam),
        QTK_BEAM_CASE(TQTKBeamVolDeductParellelWall),
        QTK_BEAM_CASE(TQTKBeamVolAddInParallelWall),
        QTK_BEAM_CASE(TQTKBeamVolAddInParallelAndSameThickWall),
        QTK_BEAM_CASE(TQTKBeamVolDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKBeamVolGiveParallelWallDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKBeamVolAddInParallelAndSameThickWallDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKSingleBeamVolDeductTieColumn),
        QTK_BEAM_CASE(TQTKInnerBeamVolDeductBoard),
        QTK_BEAM_CASE(TQTKBeamVolDeductBeelineStearSeg),
        QTK_BEAM_CASE(TQTKBeamVolAddHaunchVol),
        QTK_BEAM_CASE(TQTKTieBeamDeductLintelWhenMergeHeightLargerThanCerteinHeight),
        QTK_BEAM_CASE(TQTKTieBeamVolGiveLintelIntLength),
        QTK_BEAM_CASE(TQTKFDBeamVolDeductNotParellelTrench),
        QTK_BEAM_CASE(TQTKBeamVolumeDeductSlabByThinner),
        QTK_BEAM_CASE(TQTKBeamVolumeDeductSlabByAve),
        QTK_BEAM_CASE(TQTKBeamVolDeductSlabByThinnerExceptSingleBeam),
        QTK_BEAM_CASE(TQTKTieBeamVolDeductNonFDColumn),
    };
#undef QTK_BEAM_CASE
    for (const TCase& c : cases) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.name));
        EXPECT_TRUE(c.isOf(rule.get())) << c.name;
    }
}

}  // namespace
