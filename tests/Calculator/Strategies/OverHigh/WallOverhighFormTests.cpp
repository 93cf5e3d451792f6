// The wall over-height formwork rules. The twin and threshold tables run on
// the wall formwork building (walls 0 to 3000 high) with a critical height
// of 0: method 0 with a null start makes one piece of weight 1 holding the
// whole wall, so every over-height rule gives what its ordinary twin gives
// (the twins' hand values). The other cases stand on storey 1 at 0 (B = 0)
// with C = 3600.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKWallOverhighFormBoardCalculator.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"
#include "tests/Support/TestBuilding.h"

namespace {

double RunRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               object ? RecordRef(building.Record(object)) : RecordRef(), GBusiness(),
                               building.RuleSet());
}

// The wall formwork building with the wall settings of a critical height of 0.
std::unique_ptr<TTestBuilding> OnePieceBuilding()
{
    TOverHighSettings s;
    s.critical = 0.0;
    auto building = WallCasesBuilding("wall-formwork.json", s);
    building->Activate();
    return building;
}

void SideFaces(const TTestBuilding& building, int wall)
{
    const auto edo = RefCast<IQTKWallCalcEDO>(GetCalcEDO(building.Record(wall), true));
    edo->AddLeftSideFace();
    edo->AddRightSideFace();
}

// Runs the rule on a new building after the wall's side faces joined its formwork.
double RunOnSideFaces(const char* rule, int wall, int object)
{
    const auto building = OnePieceBuilding();
    SideFaces(*building, wall);
    return RunRule(rule, *building, wall, object);
}

struct TTwinCase {
    const char* name;
    const char* overhigh;
    const char* twin;
    int wall, object;
    double expected;
};

void RunTwinCases(const std::vector<TTwinCase>& cases)
{
    for (const TTwinCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.overhigh);
        if (c.twin)
            EXPECT_NEAR(RunOnSideFaces(c.twin, c.wall, c.object), c.expected, 0.01);
        EXPECT_NEAR(RunOnSideFaces(c.overhigh, c.wall, c.object), c.expected, 0.01);
    }
}

// An opening takes both faces (2 A); with the reveal, less its outline on
// the face x 240. Alcoves add their outline x their "Depth" 100. Each member
// at its limit and just above.
TEST(WallOverhighFormRules, SizeLimitsAtTheLimitAndJustAbove)
{
    RunTwinCases({
        {"0.3 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHole",
         "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea", 1, 11, 0.0},
        {"0.3 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHole",
         "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea", 1, 12, 2 * 300000.01},
        {"0.3 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea", 1, 11, 0.0},
        {"0.3 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea", 1, 12,
         2 * 300000.01 - 2 * (500 + 600.00002) * 240},
        {"1 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHole",
         "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole", 1, 13, 0.0},
        {"1 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHole",
         "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole", 1, 14, 2 * 1000000.01},
        {"1 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea", 1, 13, 0.0},
        {"1 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea", 1, 14,
         2 * 1000000.01 - 2 * (1000 + 1000.00001) * 240},
        {"5 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHole",
         "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole", 1, 15, 0.0},
        {"5 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHole",
         "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole", 1, 16, 2 * 5000000.01},
        {"5 m2", "TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea", 1, 15, 0.0},
        {"5 m2 + 0.01", "TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHoleAddSideArea",
         "TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea", 1, 16,
         2 * 5000000.01 - 2 * (2000 + 2500.000005) * 240},
        // The alcove members measure the outline area (the ordinary 0.3 m² member its shape).
        {"0.3 m2 alcove", "TQTKWallOverHighFormBoardAreaAddLargerThanPointCentiareAlcoveSideArea",
         "TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea", 1, 19, 0.0},
        {"0.3 m2 + 0.01 alcove", "TQTKWallOverHighFormBoardAreaAddLargerThanPointCentiareAlcoveSideArea",
         "TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea", 1, 20, 2 * (500 + 600.00002) * 100},
        {"1 m2 alcove", "TQTKWallOverHighFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea",
         "TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea", 1, 21, 0.0},
        {"1 m2 + 0.01 alcove", "TQTKWallOverHighFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea",
         "TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea", 1, 22, 2 * (1000 + 1000.00001) * 100},
        {"1 m2 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbon1M", "TQTKWallFormBoardAreaDeductRibbon1M", 1, 30,
         0.0},
        {"1 m2 + 0.01 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbon1M", "TQTKWallFormBoardAreaDeductRibbon1M", 1,
         31, 2 * 1000000.01},
        {"1 m2 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea1M",
         "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M", 1, 30, 0.0},
        {"1 m2 + 0.01 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea1M",
         "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M", 1, 31,
         2 * 1000000.01 - 2 * (1000 + 1000.00001) * 240},
        {"5 m2 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbon5M", "TQTKWallFormBoardAreaDeductRibbon5M", 1, 32,
         0.0},
        {"5 m2 + 0.01 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbon5M", "TQTKWallFormBoardAreaDeductRibbon5M", 1,
         33, 2 * 5000000.01},
        {"5 m2 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea5M",
         "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M", 1, 32, 0.0},
        {"5 m2 + 0.01 ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea5M",
         "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M", 1, 33,
         2 * 5000000.01 - 2 * (2500 + 2000.000004) * 240},
    });
}

// The twin table (one piece of weight 1): each over-height rule gives its
// ordinary twin's value on the same building.
TEST(WallOverhighFormRules, OnePieceOfWeightOneGivesWhatTheTwinGives)
{
    RunTwinCases({
        {"opening", "TQTKWallOverHighFormBoardAreaDeductHole", "TQTKWallFormBoardAreaDeductHole", 1, 10,
         2 * 1500.0 * 1500},
        {"opening with its reveal", "TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea",
         "TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea", 1, 10, 2 * 1500.0 * 1500 - 6000.0 * 240},
        {"reveal larger than the opening", "TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea",
         "TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea", 2, 40, 2 * 300.0 * 300 - 1200.0 * 600},
        {"ribbon", "TQTKWallOverHighFormBoardAreaDeductRibbon", "TQTKWallFormBoardAreaDeductRibbon", 1, 31,
         2 * 1000000.01},
        {"alcove", "TQTKWallOverHighFormBoardAreaAddAloveSideArea", "TQTKWallFormBoardAreaAddAlcoveSideArea", 1, 20,
         2 * (500 + 600.00002) * 100},
        {"pier: three sides less the face behind it", "TQTKWallOverHighFormBoardAreaAddPierFormBoard",
         "TQTKWallFromBoardAreaAddPierFromBoard", 3, 70, 1000.0 * 3000 - 500.0 * 3000},
        {"pier naming another wall", "TQTKWallOverHighFormBoardAreaAddPierFormBoard",
         "TQTKWallFromBoardAreaAddPierFromBoard", 3, 71, 0.0},
        {"inner wall, parallel tie beam", "TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", 3, 50, 2 * 4000.0 * 400},
        {"outer wall, both sides external", "TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", 4, 51, 0.0},
        {"beam across, parallel rule", "TQTKWallOverHighFormBoardAreaDeductParallelBeam",
         "TQTKWallFormBoardAreaDeductParallelBeam", 3, 52, 0.0},
        {"beam across, out-side rule", "TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", 3, 52, 0.0},
        {"beam along, parallel rule", "TQTKWallOverHighFormBoardAreaDeductParallelBeam",
         "TQTKWallFormBoardAreaDeductParallelBeam", 3, 50, 2 * 4000.0 * 400},
        {"beam along, not-parallel rule", "TQTKWallOverHighFormBoardAreaDeductNotParallelBeam",
         "TQTKWallFormBoardAreaDeductNotParallelBeam", 3, 50, 0.0},
        {"ribbon with its reveal", "TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea",
         "TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea", 1, 31,
         2 * 1000000.01 - 2 * (1000 + 1000.00001) * 240},
        {"beam wider than the wall along it", "TQTKWallOverHighFormBoardAreaDeductPallelBeam",
         "TQTKWallFormBoardAreaDeductPallelBeam", 3, 50, 0.0},
        {"beam across, by width", "TQTKWallOverHighFormBoardAreaDeductPallelBeam",
         "TQTKWallFormBoardAreaDeductPallelBeam", 3, 52, 2 * 200.0 * 400},
        {"column by fact", "TQTKWallOverHighFormBoardAreaDeductByFact", "TQTKWallFormBoardAreaDeductByFact", 6, 61,
         2 * 400.0 * 3000},
        {"slab by fact", "TQTKWallOverHighFormBoardAreaDeductByFact", "TQTKWallFormBoardAreaDeductByFact", 6, 80,
         6000.0 * 120},
        {"slab and its cut band", "TQTKWallOverHighFormBoardAreaDeductSlabForFUJIAN",
         "TQTKWallFormBoardAreaDeductSlabForFUJIAN", 6, 80, 2 * 6000.0 * 120},
        {"inner side rule, inner wall", "TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard",
         "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", 6, 61, 2 * 400.0 * 3000},
        {"inner side rule, external both sides", "TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard",
         "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", 4, 51, 0.0},
        {"column across the wall", "TQTKWallOverHighFormBoardAreaDeductColumnOnWall",
         "TQTKWallFormBoardAreaDeductColumnOnWall", 6, 61, 2 * 400.0 * 3000},
        {"brick wall across", "TQTKOverHighFromBoardAreaDeductWall", "TQTKWallFormBoardAreaDeductWall", 8, 7,
         2 * 240.0 * 3000},
        {"fill wall", "TQTKOverHighFormBoardAreaDeductFillWall", "TQTKWallFormBoardAreaDeductFillWall", 90, 91,
         2 * 2000.0 * 3000 - 2 * 3000.0 * 240},
        {"fill wall rule, not a fill wall", "TQTKOverHighFormBoardAreaDeductFillWall",
         "TQTKWallFormBoardAreaDeductFillWall", 8, 7, 0.0},
        {"original: both faces", "TQTKWallOverHighFormBoardOriginalArea", nullptr, 2, 0, 2 * 6000.0 * 3000},
    });
}

// Wall 5 external on one side; beam 53 (200 wide, 2600 to 3000, 4000 long)
// covers its left face only. The band rules take the beam off the face on the
// side that is not external, 4000 x 400 when that is the left face, nothing
// when it is the right face; the tie beam rule measures the same bands as its
// twin.
TEST(WallOverhighFormRules, OneExternalSideAsTheTwin)
{
    struct Case {
        const char* overhigh;
        const char* twin;
        bool leftExternal;
        double expected;
    };
    const double face = 4000.0 * 400;
    const Case cases[] = {
        {"TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", true, 0.0},
        {"TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea", false, face},
        {"TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", true, 0.0},
        {"TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea",
         "TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea", false, face},
        {"TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard",
         "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", true, 0.0},
        {"TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard",
         "TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard", false, face},
    };
    for (const Case& c : cases) {
        for (const char* rule : {c.twin, c.overhigh}) {
            SCOPED_TRACE(std::string(rule) + (c.leftExternal ? ", left side external" : ", right side external"));
            const auto building = OnePieceBuilding();
            SideFaces(*building, 5);
            const auto wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(building->Record(5), true));
            if (c.leftExternal)
                wall->SetLeftSideExternal(true);
            else
                wall->SetRightSideExternal(true);
            EXPECT_NEAR(RunRule(rule, *building, 5, 53), c.expected, 0.01);
        }
    }
}

// The 300 x 300 opening in the 600 wall gives back more than it takes: the
// detail shows the net amount with its sign.
TEST(WallOverhighFormRules, RevealLargerThanTheOpeningShowsItsSign)
{
    TOverHighSettings s;
    s.critical = 0.0;
    const auto building = WallCasesBuilding("wall-formwork.json", s);
    TQTKCalculationScope& scope = building->Activate(true);
    SideFaces(*building, 2);
    EXPECT_NEAR(RunRule("TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea", *building, 2, 40),
                2 * 300.0 * 300 - 1200.0 * 600, 0.01);
    ASSERT_NE(scope.Details().GetLast(), nullptr);
    EXPECT_EQ(scope.Details().GetLast()->GetDedcutExpr(), "-0.54");
}

// ---------------------------------------------------------------------------
// Storey 1 at 0, C = 3600, start 3.6, method 0: one piece from 3600 up.

class TWallOverhighFormTest : public TOverHighTest {
protected:
    void LoadWall(const std::string& elements, bool detailMode = false)
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", WallStart36()), detailMode);
    }
    Ref<IQTKWallCalcEDO> WallEdo() { return RefCast<IQTKWallCalcEDO>(Edo(1)); }
    void SideFaces()
    {
        WallEdo()->AddLeftSideFace();
        WallEdo()->AddRightSideFace();
    }
    double OverhighArea()
    {
        const auto calc = WallEdo()->GetOverhighFormboardCalc();
        return calc ? calc->GetArea() : 0.0;
    }
};

std::string Wall(double top)
{
    return LineElement(1, 0, 1, 0, 0, 6000, 0, 240, 0, top, R"(, "Material": "混凝土")");
}

// A 1000-wide window (no filling) from 3000 to 4200 in the 240 wall, top
// 4800, cut at 3600: both faces above the cut, D = 2 x 1000 x 600; the
// reveal above the cut, (600 + 600 + 1000) x 240; the result D less it.
TEST_F(TWallOverhighFormTest, RevealStraddlingTheCutCountsItsPartAbove)
{
    const std::string window = R"({"id": 2, "type": 5, "floor": 1, "parent": 1, "props": {"OpeningWidth": 1000,
        "OpeningHeight": 1200, "AboveFloorHeight": 3000, "BottomElev": 3000, "EDOPID": 1},
        "shape": {"kind": "opening", "at": 3000}})";
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {{"normal mode", false}, {"detail mode", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWall(Wall(4800) + ", " + window, c.detailMode);
        SideFaces();
        EXPECT_NEAR(Run("TQTKWallOverHighFormBoardOriginalArea", 1), 2 * 6000.0 * 1200, 1.0);
        const double before = OverhighArea();
        EXPECT_NEAR(Run("TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea", 1, 2), 672'000.0, 1.0);
        EXPECT_NEAR(before - OverhighArea(), 2 * 1000.0 * 600, 1.0);
    }
}

// Pier 3, 400 x 400 against the wall's face (y 120..520) at x 3000:
// perimeter 1600, 400 in contact, W = 1600 - 2 x 400 = 800, times the
// piece's height beside the pier. A wall sloping from 4600 at x 0 to 2600 at
// x 6000 has its top at 4600 - 1000 / 3 = 4266.7 at x 1000 (666.7 above the
// cut) and at 4600 - 5000 / 3 = 2933.3 at x 5000, below the cut: no height
// there, 0 (not negative).
TEST_F(TWallOverhighFormTest, PierAddsItsExposedSidesTimesTheHeightBesideIt)
{
    const auto pier = [](double x) {
        return R"({"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "BottomElev": 0,
            "TopElev": 4600}, "shape": {"kind": "point", "insertPt": [)" +
               std::to_string(x) + R"(, 320], "size": [400, 400]}})";
    };
    const std::string sloped = R"({"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0,
        "TopElev": 4600, "StartPtTopElev": 4600, "EndPtTopElev": 2600, "Material": "混凝土"},
        "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "startBottom": 0,
                  "startTop": 4600, "endBottom": 0, "endTop": 2600}})";
    struct Case {
        const char* name;
        std::string elements;
        double expected;
    };
    const Case cases[] = {
        {"one piece of weight 1, 1000 beside the pier", Wall(4600) + ", " + pier(3000), 800.0 * 1000},
        {"the sloping wall's top above the cut at the pier", sloped + ", " + pier(1000), 800.0 * 2000 / 3},
        {"the wall's top below the cut at the pier", sloped + ", " + pier(5000), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWall(c.elements);
        SideFaces();
        EXPECT_NEAR(Run("TQTKWallOverHighFormBoardAreaAddPierFormBoard", 1, 3), c.expected, 1.0);
    }
}

// Layers of 1 m from 3600 (method 3, C = 3.6 m, the top by the wall's higher
// end): 3600..4600 weight 1, 4600..6000 weight 2 on a wall 6000 high. The
// 400 x 400 pier adds W = 800 times each layer's height beside the wall, up
// to the wall's top: 800 x (1000 x 1 + 1400 x 2), whether the pier stops at
// the wall's top or runs 3000 above it.
TEST_F(TWallOverhighFormTest, APierTallerThanItsWallCountsOnlyUpToTheWallsTop)
{
    TOverHighSettings layered = WallStart36();
    layered.start.reset();
    layered.method = 3;
    for (const double pierTop : {6000.0, 9000.0}) {
        SCOPED_TRACE(pierTop);
        const std::string pier = R"({"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1,
            "BottomElev": 0, "TopElev": )" +
                                 std::to_string(pierTop) +
                                 R"(}, "shape": {"kind": "point", "insertPt": [3000, 320], "size": [400, 400]}})";
        Load(Wall(6000) + ", " + pier, OverHighSettingsTable("QTKWallCalcSettings", layered));
        EXPECT_NEAR(Run("TQTKWallOverHighFormBoardAreaAddPierFormBoard", 1, 3), 800.0 * (1000 * 1 + 1400 * 2), 1.0);
    }
}

// A wall whose top is at the critical height: every rule gives 0 and
// nothing is stored.
TEST_F(TWallOverhighFormTest, WallAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKWallOverHighFormBoardOriginalArea",
        "TQTKWallOverHighFormBoardAreaDeductHole",
        "TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea",
        "TQTKWallOverHighFormBoardAreaAddPierFormBoard",
        "TQTKWallOverHighFormBoardAreaAddAloveSideArea",
        "TQTKWallOverHighFormBoardAreaDeductByFact",
        "TQTKWallOverHighFormBoardAreaDeductNotParallelBeam",
        "TQTKWallOverHighFormBoardAreaDeductPallelBeam",
        "TQTKOverHighFromBoardAreaDeductWall",
        "TQTKWallOverHighFormBoardAreaDeductColumnOnWall",
        "TQTKOverHighFormBoardAreaDeductFillWall",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadWall(Wall(3600) + ", " + PointElement(2, 25, 1, 2800, -200, 3200, 200, 0, 3600));
        SideFaces();
        EXPECT_NEAR(Run(rule, 1, 2), 0.0, 1e-6);
        EXPECT_FALSE(WallEdo()->GetOverhighFormboardCalc());
        EXPECT_FALSE(WallEdo()->GetOverhighVolumeCalc());
        EXPECT_FALSE(WallEdo()->GetOverhighValueList());
    }
}

// A wall whose over-height volume exists keeps it: the formwork rule stores
// only its shell calculator.
TEST_F(TWallOverhighFormTest, AnExistingVolumeCalculatorIsKept)
{
    LoadWall(Wall(4800));
    SideFaces();
    Run("TQTKWallOriginOverhighVol", 1);
    const auto volume = WallEdo()->GetOverhighVolumeCalc();
    const auto values = WallEdo()->GetOverhighValueList();
    ASSERT_TRUE(volume);
    EXPECT_NEAR(Run("TQTKWallOverHighFormBoardOriginalArea", 1), 2 * 6000.0 * 1200, 1.0);
    EXPECT_EQ(WallEdo()->GetOverhighVolumeCalc(), volume);
    EXPECT_EQ(WallEdo()->GetOverhighValueList(), values);
    EXPECT_TRUE(WallEdo()->GetOverhighFormboardCalc());
}

}  // namespace
