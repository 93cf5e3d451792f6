// Wall scaffold rules: the conditions of the four roots, lengths along the
// faces of a closed ring of external walls, deductions paired with the length
// rule that stored the calculator, piers on the outside scaffold, finish
// scaffolds and the heights, and every name of the unit.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

// A building on one storey above the foundation ("StartFloorNo" 1, at 0;
// "StartFloorNo" 0 puts it on the foundation storey) with the wall settings
// given as JSON members of their row.
std::unique_ptr<TTestBuilding> Building(const std::string& elements, const std::string& settings = "",
                                        int startFloorNo = 1)
{
    const std::string row = settings.empty() ? "{}" : "{" + settings + "}";
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKWallCalcSettings", "fields": [
            {"name": "ExternalWallInternalScaffoldAreaCalcCondition", "type": "integer"},
            {"name": "InternalWallScaffoldAreaCalcCondition", "type": "integer"},
            {"name": "InsideLenScaffoldCalcCondition", "type": "integer"},
            {"name": "InsideScaffoldOverhighLenCalcCondition", "type": "integer"}],
           "rows": [)" + row + R"(]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0, "StartFloorNo": )" +
                                            std::to_string(startFloorNo) + R"(}],
        "elements": [)" + elements + "]}");
    building->Activate();
    return building;
}

// A 240 wall along (x0,y0)-(x1,y1) from 0 to Top (its end elevations given as the host gives them).
std::string Wall(int id, double x0, double y0, double x1, double y1, double top, const std::string& extra = "")
{
    const std::string topText = std::to_string(top);
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": 240,
        "BottomElev": 0, "StartPtBottomElev": 0, "EndPtBottomElev": 0, "TopElev": )" +
           topText + R"(, "StartPtTopElev": )" + topText + R"(, "EndPtTopElev": )" + topText + extra +
           R"(}, "shape": {"kind": "line", "start": [)" + std::to_string(x0) + ", " + std::to_string(y0) +
           "], \"end\": [" + std::to_string(x1) + ", " + std::to_string(y1) + "]}}";
}

// A point element of Type from (x0,y0) to (x1,y1), 0 to 3000.
std::string Point(int id, int type, double x0, double y0, double x1, double y1, const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "props": {"BottomElev": 0, "TopElev": 3000)" + props +
           R"(}, "shape": {"kind": "point", "insertPt": [)" + std::to_string((x0 + x1) / 2) + ", " +
           std::to_string((y0 + y1) / 2) + "], \"size\": [" + std::to_string(x1 - x0) + ", " + std::to_string(y1 - y0) +
           "]}}";
}

double RunRule(const char* rule, const TTestBuilding& building, int subject, int object = 0)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               RecordRef(object ? building.Record(object) : nullptr), GBusiness(), building.RuleSet());
}

Ref<IQTKCustomWallCalcEDO> WallOf(const TTestBuilding& building, int id)
{
    return RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(building.Record(id), true));
}

void SetSides(const TTestBuilding& building, int id, bool leftExternal, bool rightExternal)
{
    const auto wall = WallOf(building, id);
    wall->SetLeftSideExternal(leftExternal);
    wall->SetRightSideExternal(rightExternal);
}

// ---------------------------------------------------------------------------
// Conditions

TEST(WallScaffoldConditions, FoundationStoreyAndOverlaidFillWallsGetNoScaffold)
{
    // Every rule under the four roots, with a pier of 370 on the wall's external side as the object.
    const std::vector<const char*> rules = {
        "TQTKExWallExLen",
        "TQTKExWallFinishOutSideFinishLen",
        "TQTKExWallMidLen",
        "TQTKExWallMidLenWithoutNontieColumn",
        "TQTKExWallExScaffoldLenAddPierWidthExceeds24cm",
        "TQTKExWallExScaffoldHeight",
        "TQTKExWallExScaffoldHeightByBasement",
        "TQTKExWallInScaffoldLen",
        "TQTKExWallInScaffoldLenWithoutNontieColumn",
        "TQTKExWallInScaffoldHeightToSlabBtm",
        "TQTKExWallInScaffoldHeightToSlabOrNontieBeamBtm",
        "TQTKExWallInScaffoldHeight",
        "TQTKInWallScaffoldMiddleLineLen",
        "TQTKInWallScaffoldNetLineLen",
        "TQTKInWallScaffoldLen",
        "TQTKInWallFinishScaffoldLeftSideLen",
        "TQTKInWallFinishScaffoldRightSideLen",
        "TQTKInWallScaffoldLenWithoutNontieColumn",
        "TQTKInWallScaffoldHeightToSlabBtm",
        "TQTKInWallScaffoldHeightToNontieBeamBtm",
        "TQTKInWallScaffoldHeightToSlabOrNontieBeamBtm",
        "TQTKInWallScaffoldHeightToSlabOrBeamBtm",
        "TQTKInWallScaffoldHeight",
        "TQTKWallInsideScaffoldNetLen",
        "TQTKWallInsideScaffoldNetLenWithoutNontieColumn",
        "TQTKWallInsideScaffoldOverhighLen",
        "TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn",
    };
    const std::string pier = R"({"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "Width": 370,
        "Len": 240, "BottomElev": 0, "TopElev": 6000}, "shape": {"kind": "point", "insertPt": [3000, -240],
        "size": [370, 240]}})";
    struct TCase {
        const char* name;
        std::string elements;
        int startFloorNo;
        double expected;  // of the control rule TQTKExWallMidLen
    };
    // Wall 1, 6000 high; fill wall 2 laid inside concrete wall 4 along the same line.
    const std::vector<TCase> cases = {
        {"on the storey above the foundation the wall is measured",
         Wall(1, 0, 0, 6000, 0, 6000, R"(, "InnerOuterFlag": 1)") + "," + pier, 1, 6000},
        {"on the foundation storey nothing is", Wall(1, 0, 0, 6000, 0, 6000, R"(, "InnerOuterFlag": 1)") + "," + pier,
         0, 0},
        {"a fill wall laid in a concrete wall has none",
         Wall(4, 0, 0, 6000, 0, 6000, R"(, "Material": "混凝土")") + "," +
             Wall(1, 0, 0, 6000, 0, 6000, R"(, "IsFillWall": true, "Material": "砖")") + "," + pier,
         1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(c.elements, "", c.startFloorNo);
        SetSides(*building, 1, false, true);
        EXPECT_NEAR(RunRule("TQTKExWallMidLen", *building, 1), c.expected, 0.001);
        if (c.expected != 0.0)
            continue;
        for (const char* rule : rules) {
            SCOPED_TRACE(rule);
            EXPECT_EQ(RunRule(rule, *building, 1, 3), 0.0);
        }
    }
}

TEST(WallScaffoldConditions, SettingsDecideByTheWallsHeightAboveTheScaffoldBottom)
{
    struct TCase {
        const char* name;
        const char* rule;
        std::string settings;
        double top;  // of the wall, from 0
        double expected;
    };
    const std::vector<TCase> cases = {
        // Condition 1: the top under the slabs (none here: the wall's higher top) more than 3600 above.
        {"internal, condition 1 at 3600: none", "TQTKInWallScaffoldLen",
         R"("InternalWallScaffoldAreaCalcCondition": 1)", 3600, 0},
        {"internal, condition 1 at 3600.01: a scaffold", "TQTKInWallScaffoldLen",
         R"("InternalWallScaffoldAreaCalcCondition": 1)", 3600.01, 6000},
        {"internal, condition 2 at 3600: none", "TQTKInWallScaffoldHeight",
         R"("InternalWallScaffoldAreaCalcCondition": 2)", 3600, 0},
        {"internal, condition 2 at 3601", "TQTKInWallScaffoldHeight", R"("InternalWallScaffoldAreaCalcCondition": 2)",
         3601, 3601},
        {"external inside, condition 3 at 1300", "TQTKExWallInScaffoldHeight",
         R"("ExternalWallInternalScaffoldAreaCalcCondition": 3)", 1300, 1300},
        {"external inside, condition 3 at 1200: none", "TQTKExWallInScaffoldHeight",
         R"("ExternalWallInternalScaffoldAreaCalcCondition": 3)", 1200, 0},
        {"condition 0 always, however low", "TQTKExWallInScaffoldHeight",
         R"("ExternalWallInternalScaffoldAreaCalcCondition": 0)", 100, 100},
        {"condition 7 never, however high", "TQTKInWallScaffoldHeight", R"("InternalWallScaffoldAreaCalcCondition": 7)",
         9000, 0},
        {"no settings row: condition 0", "TQTKInWallScaffoldHeight", "", 100, 100},
        // High rooms: more than 3600 while "InsideLenScaffoldCalcCondition" is 0.
        {"inside length at 3600: none", "TQTKWallInsideScaffoldNetLen", R"("InsideLenScaffoldCalcCondition": 0)", 3600,
         0},
        {"inside length at 3600.01", "TQTKWallInsideScaffoldNetLen", R"("InsideLenScaffoldCalcCondition": 0)", 3600.01,
         6000},
        {"inside length under condition 1: never", "TQTKWallInsideScaffoldNetLen",
         R"("InsideLenScaffoldCalcCondition": 1)", 9000, 0},
        // Over-height inside lengths: more than 4500 while their setting is 0.
        {"over-height inside at 4500: none", "TQTKWallInsideScaffoldOverhighLen", "", 4500, 0},
        {"over-height inside at 4500.01", "TQTKWallInsideScaffoldOverhighLen", "", 4500.01, 6000},
        {"over-height inside less columns at 4500: none", "TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn", "",
         4500, 0},
        {"over-height inside less columns at 4500.01", "TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn", "",
         4500.01, 6000},
        {"over-height inside disabled by its setting", "TQTKWallInsideScaffoldOverhighLen",
         R"("InsideScaffoldOverhighLenCalcCondition": 1)", 9000, 0},
        {"over-height inside less columns disabled by its setting",
         "TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn", R"("InsideScaffoldOverhighLenCalcCondition": 2)",
         9000, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Wall(1, 0, 0, 6000, 0, c.top), c.settings);
        EXPECT_NEAR(RunRule(c.rule, *building, 1), c.expected, 0.001);
    }
}

// Condition 1 reads the top under the slabs resting on the wall: wall 1 up
// to 4000 under slab 2 (120 thick, its top at Top) lies 3600 (or 3600.01)
// under the slab's underside.
TEST(WallScaffoldConditions, ConditionOneMeasuresToTheSlabUnderside)
{
    for (const double underside : {3600.0, 3600.01}) {
        SCOPED_TRACE(underside);
        const std::string slab =
            R"({"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": )" +
            std::to_string(underside + 120) +
            R"(}, "shape": {"kind": "face", "outline": [[-1000, -1000], [7000, -1000], [7000, 1000],
            [-1000, 1000]], "elev": )" +
            std::to_string(underside + 120) + R"(, "thickness": 120}})";
        const auto building = Building(Wall(1, 0, 0, 6000, 0, underside + 120) + "," + slab,
                                       R"("InternalWallScaffoldAreaCalcCondition": 1)");
        EXPECT_NEAR(RunRule("TQTKInWallScaffoldHeightToSlabBtm", *building, 1), underside > 3600 ? underside : 0,
                    0.001);
    }
}

// A height rule stores its height also when its condition fails (0): the
// scaffold a later length rule replaces is then written to the details as
// lines, not as faces of the last height.
TEST(WallScaffoldHeights, AFailedConditionStoresZero)
{
    for (const bool failedHeightLast : {false, true}) {
        SCOPED_TRACE(failedHeightLast ? "a failed height rule last" : "a height of 3000 last");
        const auto building =
            Building(Wall(1, 0, 0, 6000, 0, 3000), R"("ExternalWallInternalScaffoldAreaCalcCondition": 7)");
        TQTKCalculationScope& scope = building->Activate(true);
        ASSERT_NEAR(RunRule("TQTKInWallScaffoldMiddleLineLen", *building, 1), 6000, 0.001);
        ASSERT_NEAR(RunRule("TQTKInWallScaffoldHeight", *building, 1), 3000, 0.001);
        if (failedHeightLast)
            ASSERT_EQ(RunRule("TQTKExWallInScaffoldHeight", *building, 1), 0.0);
        RunRule("TQTKInWallScaffoldMiddleLineLen", *building, 1);
        ASSERT_EQ(scope.Details().GetCount(), 1);
        const TQTKDeductDetail* detail = scope.Details().GetItems(0);
        EXPECT_EQ(dynamic_cast<const TQTKLine2dDeductDetail*>(detail) != nullptr, failedHeightLast);
        EXPECT_EQ(dynamic_cast<const TQTKShellDeductDetail*>(detail) != nullptr, !failedHeightLast);
    }
}

TEST(WallScaffoldRegistration, TheRootsAnswerZero)
{
    const auto building = Building(Wall(1, 0, 0, 6000, 0, 6000, R"(, "InnerOuterFlag": 1)"));
    for (const char* root : {"TQTKExWallExScaffoldAreaCalc", "TQTKExWallInScaffoldAreaCalc",
                             "TQTKInWallScaffoldAreaCalc", "TQTKWallInsideScaffoldLenCalc"}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(RunRule(root, *building, 1), 0.0);
    }
}

// ---------------------------------------------------------------------------
// A closed ring of external walls

// Four external 240 walls on the axes of a 6000 x 4000 rectangle, drawn
// counter-clockwise, so that each wall's right side faces out.
std::string Ring()
{
    const std::string outer = R"(, "InnerOuterFlag": 1)";
    return Wall(1, 0, 0, 6000, 0, 3000, outer) + "," + Wall(2, 6000, 0, 6000, 4000, 3000, outer) + "," +
           Wall(3, 6000, 4000, 0, 4000, 3000, outer) + "," + Wall(4, 0, 4000, 0, 0, 3000, outer);
}

void SetRingSides(const TTestBuilding& building)
{
    for (int id = 1; id <= 4; ++id)
        SetSides(building, id, false, true);
}

TEST(WallScaffoldLengths, ExternalRingOutsideAndInsideFaces)
{
    struct TCase {
        const char* name;
        const char* rule;
        double sum;
    };
    const std::vector<TCase> cases = {
        // 2 x (6240 + 4240): every corner square on the outside counted once along each face.
        {"outside faces: the outer perimeter", "TQTKExWallExLen", 20960},
        // 2 x (5760 + 3760).
        {"inside faces: the inner perimeter", "TQTKExWallInScaffoldLen", 19040},
        {"inside faces less columns (none)", "TQTKExWallInScaffoldLenWithoutNontieColumn", 19040},
        {"middle lines", "TQTKExWallMidLen", 20000},
        {"outside finish along the outer faces", "TQTKExWallFinishOutSideFinishLen", 20960},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Ring());
        SetRingSides(*building);
        double sum = 0.0;
        for (int id = 1; id <= 4; ++id)
            sum += RunRule(c.rule, *building, id);
        EXPECT_NEAR(sum, c.sum, 0.01);
    }
}

TEST(WallScaffoldLengths, BothSidesExternalMeansNoInsideScaffold)
{
    const auto building = Building(Wall(1, 0, 0, 6000, 0, 3000, R"(, "InnerOuterFlag": 1)"));
    SetSides(*building, 1, true, true);
    EXPECT_EQ(RunRule("TQTKExWallInScaffoldLen", *building, 1), 0.0);
    EXPECT_NEAR(RunRule("TQTKExWallExLen", *building, 1), 6000, 0.001);
}

// Internal wall 5 across the ring at y = 2000, and internal wall 6 from it up
// to the top wall at x = 3000; column 7 (400 x 400) on wall 5 at x = 1500.
std::string RingWithInternalWalls()
{
    return Ring() + "," + Wall(5, 0, 2000, 6000, 2000, 3000) + "," + Wall(6, 3000, 2000, 3000, 4000, 3000) + "," +
           Point(7, 25, 1300, 1800, 1700, 2200);
}

TEST(WallScaffoldLengths, InternalWallsLoseWhatCrossesThem)
{
    struct TCase {
        const char* name;
        const char* rule;
        int wall;
        double expected;
    };
    const std::vector<TCase> cases = {
        // Wall 6 runs 2000 between the axes, less 120 of wall 5 and 120 of the top wall.
        {"a crossing wall's plan polygon comes off", "TQTKInWallScaffoldLen", 6, 1760},
        // Wall 5: 6000 less the two outer walls' 120 each; wall 6 ends at its face and takes nothing.
        {"a wall ending at its face takes nothing", "TQTKInWallScaffoldLen", 5, 5760},
        {"and the column comes off too", "TQTKInWallScaffoldLenWithoutNontieColumn", 5, 5360},
        // The inside face of the top wall (5760) loses wall 6's face (240).
        {"an internal wall meeting an inside face", "TQTKExWallInScaffoldLen", 3, 5520},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(RingWithInternalWalls());
        SetRingSides(*building);
        EXPECT_NEAR(RunRule(c.rule, *building, c.wall), c.expected, 0.01);
    }
}

// A deduction takes what the object covers of the calculator the last length
// rule stored, and 0 when there is none.
TEST(WallScaffoldDeductions, PairWithTheStoredLengthCalculator)
{
    struct TStep {
        const char* rule;
        int object;
        double expected;
    };
    struct TCase {
        const char* name;
        std::vector<TStep> steps;
    };
    const std::vector<TCase> cases = {
        {"no length rule yet: nothing to deduct from",
         {{"TQTKInWallScaffoldLenDeductByFact", 7, 0}, {"TQTKInWallScaffoldLenDeductWall", 6, 0}}},
        // Wall 5's middle line runs inside column 7's outline for 400.
        {"the column by its outline on the middle line",
         {{"TQTKInWallScaffoldMiddleLineLen", 0, 6000}, {"TQTKInWallScaffoldLenDeductByFact", 7, 400}}},
        {"the same column asked again: the same covered length",
         {{"TQTKInWallScaffoldMiddleLineLen", 0, 6000},
          {"TQTKInWallScaffoldLenDeductByFact", 7, 400},
          {"TQTKInWallScaffoldLenDeductByFact", 7, 400}}},
        {"the finish deduction of a point element alike",
         {{"TQTKInWallScaffoldMiddleLineLen", 0, 6000}, {"TQTKFinishScaffoldDeductPointEntByFact", 7, 400}}},
        // The net length already took the column off under its own mark: the deduction finds nothing left.
        {"after a length rule that took the column off",
         {{"TQTKInWallScaffoldLenWithoutNontieColumn", 0, 5360}, {"TQTKInWallScaffoldLenDeductByFact", 7, 400}}},
        // Outer wall 1 by its outline: 120 of wall 5's axis (0 to 6000) at its start.
        {"the finish deduction of a line element by its outline, no give-way test",
         {{"TQTKInWallScaffoldMiddleLineLen", 0, 6000}, {"TQTKlFinishScaffoldDeductLineEntByFact", 4, 120}}},
        // A left finish scaffold of a wall whose left side is external: nothing, and no calculator stays.
        {"a finish length that fails clears the calculator",
         {{"TQTKInWallScaffoldMiddleLineLen", 0, 6000},
          {"TQTKInWallFinishScaffoldLeftSideLen", 0, 0},
          {"TQTKInWallScaffoldLenDeductByFact", 7, 0}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(RingWithInternalWalls());
        SetRingSides(*building);
        SetSides(*building, 5, true, false);
        for (const TStep& step : c.steps) {
            SCOPED_TRACE(step.rule);
            EXPECT_NEAR(RunRule(step.rule, *building, 5, step.object), step.expected, 0.01);
        }
    }
}

// Length rules replacing the wall's calculator and deductions marking it run
// on one wall from several threads: each deduction marks a whole calculator
// (never one being replaced), so it always finds the column's 400.
TEST(WallScaffoldDeductions, ConcurrentLengthAndDeductionRulesOnOneWall)
{
    const auto building = Building(RingWithInternalWalls());
    SetRingSides(*building);
    SetSides(*building, 5, true, false);
    ASSERT_NEAR(RunRule("TQTKInWallScaffoldMiddleLineLen", *building, 5), 6000, 0.01);
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 100; ++round) {
                const bool deduct = t % 2 == 1;
                const double value = deduct ? RunRule("TQTKInWallScaffoldLenDeductByFact", *building, 5, 7)
                                            : RunRule("TQTKInWallScaffoldMiddleLineLen", *building, 5);
                if (std::abs(value - (deduct ? 400.0 : 6000.0)) > 0.01)
                    ++wrong[static_cast<size_t>(t)];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

// The over-height inside length less columns measures the net middle line
// less the columns, as its twin does (not the inner face of an external wall).
TEST(WallScaffoldLengths, OverhighInsideLengthLessColumnsMatchesItsTwin)
{
    const std::string outer = R"(, "InnerOuterFlag": 1)";
    const auto building = Building(Wall(1, 0, 0, 6000, 0, 5000, outer) + "," + Point(7, 25, 1300, -200, 1700, 200),
                                   R"("InsideLenScaffoldCalcCondition": 0)");
    SetSides(*building, 1, false, true);
    const double overhigh = RunRule("TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn", *building, 1);
    EXPECT_NEAR(overhigh, 5600, 0.01);
    EXPECT_NEAR(overhigh, RunRule("TQTKWallInsideScaffoldNetLenWithoutNontieColumn", *building, 1), 0.01);
}

// ---------------------------------------------------------------------------
// Piers

TEST(WallScaffoldLengths, PiersWiderThan240OnAnExternalSideAddTheirTwoSides)
{
    struct TCase {
        const char* name;
        double width;
        double y;         // the pier's centre; the wall's right side (y < 0) is external
        bool detailMode;  // the two sides are also kept for the details
        double expected;
    };
    const std::vector<TCase> cases = {
        {"370 on the external side", 370, -240, false, 740},
        {"370 on the external side, detail mode", 370, -240, true, 740},
        {"240 adds nothing", 240, -240, false, 0},
        {"240 within the length tolerance adds nothing", 240.001, -240, false, 0},
        {"240.002 adds its sides", 240.002, -240, false, 480.004},
        {"370 on the internal side adds nothing", 370, 240, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pier = R"({"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, "Width": )" +
                                 std::to_string(c.width) + R"(, "Len": 500, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "point", "insertPt": [3000, )" +
                                 std::to_string(c.y) + R"(], "size": [500, 240]}})";
        const auto building = Building(Wall(1, 0, 0, 6000, 0, 3000, R"(, "InnerOuterFlag": 1)") + "," + pier);
        building->Activate(c.detailMode);
        SetSides(*building, 1, false, true);
        EXPECT_NEAR(RunRule("TQTKExWallExScaffoldLenAddPierWidthExceeds24cm", *building, 1, 3), c.expected, 0.001);
        const TVRMSeg2dList* segs = WallOf(*building, 1)->GetScaffoldSegList();
        EXPECT_EQ(segs->GetCount(), c.detailMode ? 2 : 0);
        if (c.detailMode) {
            // At 2750 and 3250 along the right line (y = -120), leaving it outwards (y decreasing) by the width.
            EXPECT_NEAR(segs->GetItems(0).StartPt().x, 2750, 0.001);
            EXPECT_NEAR(segs->GetItems(0).EndPt().y, -120 - c.width, 0.001);
            EXPECT_NEAR(segs->GetItems(1).StartPt().x, 3250, 0.001);
        }
    }
}

// ---------------------------------------------------------------------------
// Balconies

// Outer wall 1 along y = 0 from -1000 to 2000, its left side (y > 0)
// external; balcony 10 over [0, 600] x [0, 1500] with its slab 11 over
// [0, 3000] x [0, 1500]: the slab reaches 1500 - 120 out from the wall's face.
TEST(WallScaffoldBalconies, SideLengthOnlyForBalconiesOfType0And5)
{
    struct TCase {
        const char* name;
        std::string type;  // the balcony's "Type" member, or none
        double expected;
    };
    const std::vector<TCase> cases = {
        {"Type 0", R"(, "Type": 0)", 1380},
        {"Type 5", R"(, "Type": 5)", 1380},
        {"Type 3: no side length", R"(, "Type": 3)", 0},
        {"no Type: none", "", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string balcony = R"({"id": 10, "type": 10, "floor": 1, "props": {"BottomElev": 0, "TopElev": 1000)" +
                                    c.type +
                                    R"(}, "shape": {"kind": "point", "insertPt": [300, 750], "size": [600, 1500],
            "bottom": 0, "top": 1000}})";
        const std::string slab = R"({"id": 11, "type": 19, "floor": 1, "props": {"CompositeEDOPID": 10, "TopElev": 1000,
            "Thickness": 100}, "shape": {"kind": "face", "outline": [[0, 0], [3000, 0], [3000, 1500], [0, 1500]],
            "elev": 1000}})";
        const auto building =
            Building(balcony + "," + slab + "," + Wall(1, -1000, 0, 2000, 0, 3000, R"(, "InnerOuterFlag": 1)"));
        SetSides(*building, 1, true, false);
        EXPECT_NEAR(RunRule("TQTKWallOutSideScaffoldAddBalonySideLineLength", *building, 1, 10), c.expected, 0.01);
    }
}

// Outer walls 1 (along +x, outer face y = -120) and 2 (along +y, outer face
// x = -120) crossing at the origin; corner balcony 10 (with its slab 11), an
// L 1500 deep reaching to 3000 along each wall, overlapping both. Both walls
// run along it, so only wall 1 (the lower id) counts it; with no
// external-wall outline of the floor it has no outline to add, and what wall
// 2's face already covers (4620) does not make it negative.
TEST(WallScaffoldBalconies, OutlineCountedByTheLowestIdNeverNegative)
{
    const std::string outer = R"(, "InnerOuterFlag": 1)";
    const std::string balcony = R"({"id": 10, "type": 10, "floor": 1, "props": {"BottomElev": 0, "TopElev": 1000},
        "shape": {"kind": "point", "insertPt": [0, 0], "outline": [[-1620, -1620], [3000, -1620], [3000, -100],
                  [-100, -100], [-100, 3000], [-1620, 3000]], "basePt": [0, 0], "bottom": 0, "top": 1000}})";
    const std::string slab = R"({"id": 11, "type": 19, "floor": 1, "props": {"CompositeEDOPID": 10, "TopElev": 1000,
        "Thickness": 100}, "shape": {"kind": "face", "outline": [[-1620, -1620], [3000, -1620], [3000, -100],
        [-100, -100], [-100, 3000], [-1620, 3000]], "elev": 1000}})";
    const auto building = Building(balcony + "," + slab + "," + Wall(1, -3000, 0, 6000, 0, 3000, outer) + "," +
                                   Wall(2, 0, -3000, 0, 4000, 3000, outer));
    SetSides(*building, 1, false, true);
    SetSides(*building, 2, true, false);
    TRecordList walls;
    GetCalcEDO(building->Record(10), true)->GetRelatedByType(0, &walls);
    ASSERT_EQ(walls.size(), 2u);
    EXPECT_EQ(RunRule("TQTKWallOutSideScaffoldAddBalconyOutLineLength", *building, 2, 10), 0.0);
    EXPECT_EQ(RunRule("TQTKWallOutSideScaffoldAddBalconyOutLineLength", *building, 1, 10), 0.0);
}

// ---------------------------------------------------------------------------
// Heights

// Wall 1, 0 to 4000, under beam 8 (type 15, bottom 3500), beam 9 (type 17,
// bottom 3300) and tie beam 10 (type 18, bottom 3400), all along the wall.
TEST(WallScaffoldHeights, TopsUnderBeamsBySet)
{
    auto beam = [](int id, int type, double bottom) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
               R"(, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": )" + std::to_string(4000 - bottom) +
               R"(, "BottomElev": )" + std::to_string(bottom) +
               R"(, "TopElev": 4000}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})";
    };
    struct TCase {
        const char* name;
        const char* lengthRule;  // run first (finish heights need a stored line)
        const char* rule;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"no members: the average top", nullptr, "TQTKInWallScaffoldHeight", 4000},
        {"non-tie beams 15 and 17: the lowest bottom", nullptr, "TQTKInWallScaffoldHeightToNontieBeamBtm", 3300},
        // Types 15 and 18 only: beam 9 (17) does not lower it.
        {"slab or beam (15, 18): the tie beam", nullptr, "TQTKInWallScaffoldHeightToSlabOrBeamBtm", 3400},
        {"finish twin (15, 17, 18): beam 9", "TQTKInWallFinishScaffoldLeftSideLen",
         "TQTKInWallFinishScaffoldHeightToSlabOrBeamBtm", 3300},
        {"finish to non-tie beams", "TQTKInWallFinishScaffoldLeftSideLen",
         "TQTKInWallFinishScaffoldHeightToNontieBeamBtm", 3300},
        {"finish to slabs (none): the higher top", "TQTKInWallFinishScaffoldLeftSideLen",
         "TQTKInWallFinishScaffoldHeightToSlabBtm", 4000},
        {"finish height without a stored calculator: 0", nullptr, "TQTKInWallFinishScaffoldHeightToSlabBtm", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Wall(1, 0, 0, 6000, 0, 4000) + "," + beam(8, 15, 3500) + "," +
                                       beam(9, 17, 3300) + "," + beam(10, 18, 3400));
        if (c.lengthRule)
            EXPECT_NEAR(RunRule(c.lengthRule, *building, 1), 6000, 0.01);
        EXPECT_NEAR(RunRule(c.rule, *building, 1), c.expected, 0.01);
    }
}

// ---------------------------------------------------------------------------
// Names

const std::vector<std::string> CWallScaffoldRuleNames = {
    "TQTKExWallExScaffoldAreaCalc",
    "TQTKExWallExLen",
    "TQTKExWallFinishOutSideFinishLen",
    "TQTKExWallMidLen",
    "TQTKExWallMidLenWithoutNontieColumn",
    "TQTKExWallExScaffoldLenAddPierWidthExceeds24cm",
    "TQTKExWallExScaffoldHeight",
    "TQTKExWallExScaffoldHeightByBasement",
    "TQTKExWallInScaffoldAreaCalc",
    "TQTKExWallInScaffoldLen",
    "TQTKExWallInScaffoldLenWithoutNontieColumn",
    "TQTKExWallInScaffoldHeightToSlabBtm",
    "TQTKExWallInScaffoldHeightToSlabOrNontieBeamBtm",
    "TQTKExWallInScaffoldHeight",
    "TQTKInWallScaffoldAreaCalc",
    "TQTKInWallScaffoldMiddleLineLen",
    "TQTKInWallScaffoldNetLineLen",
    "TQTKInWallScaffoldLenDeductWall",
    "TQTKInWallScaffoldLenDeductByFact",
    "TQTKInWallScaffoldLen",
    "TQTKInWallFinishScaffoldLeftSideLen",
    "TQTKInWallFinishScaffoldRightSideLen",
    "TQTKInWallScaffoldLenWithoutNontieColumn",
    "TQTKInWallFinishScaffoldHeightToSlabBtm",
    "TQTKInWallFinishScaffoldHeightToNontieBeamBtm",
    "TQTKInWallFinishScaffoldHeightToSlabOrNontieBeamBtm",
    "TQTKInWallFinishScaffoldHeightToSlabOrBeamBtm",
    "TQTKInWallScaffoldHeightToSlabBtm",
    "TQTKInWallScaffoldHeightToNontieBeamBtm",
    "TQTKInWallScaffoldHeightToSlabOrNontieBeamBtm",
    "TQTKInWallScaffoldHeightToSlabOrBeamBtm",
    "TQTKInWallScaffoldHeight",
    "TQTKWallInsideScaffoldLenCalc",
    "TQTKWallInsideScaffoldNetLen",
    "TQTKWallInsideScaffoldNetLenWithoutNontieColumn",
    "TQTKWallOutSideScaffoldAddBalconyOutLineLength",
    "TQTKWallOutSideScaffoldAddBalonySideLineLength",
    "TQTKWallInsideScaffoldOverhighLen",
    "TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn",
    "TQTKlFinishScaffoldDeductLineEntByFact",
    "TQTKFinishScaffoldDeductPointEntByFact",
};

const std::vector<std::string> CPierRuleNames = {
    "TQTKPierSectionArea",
    "TQTKPierHeight",
    "TQTKContactWallLength",
    "TQTKPierExposeLength",
    "TQTKPierDeductByFact",
    "TQTKNonBrickExternalPierDeductByFact",
    "TQTKBrickInternalPierDeductByFact",
    "TQTKBrickPierDeductByFact",
    "TQTKPartitionWallPierDeductByFact",
    "TQTKPierOrnamentAreaDeductSlab",
    "TQTKInternalPierOrnamentAreaDeductSlab",
    "TQTKPierOrnamentAreaDeductPrecastSlab",
    "TQTKInternalPierOrnamentAreaDeductPrecastSlab",
    "TQTKPierOrnamentAreaDeductBeam",
    "TQTKInternalPierOrnamentAreaDeductBeam",
    "TQTKPierContactWallOrnamentAreaDeductSlab",
    "TQTKInternalPierContactWallOrnamentAreaDeductSlab",
    "TQTKPierContactWallOrnamentAreaDeductPrecastSlab",
    "TQTKInternalPierContactWallOrnamentAreaDeductPrecastSlab",
    "TQTKPierContactWallOrnamentAreaDeductBeam",
    "TQTKInternalPierContactWallOrnamentAreaDeductBeam",
};

TEST(WallScaffoldRegistration, EveryScaffoldAndPierRuleNameAnswersWithItsOwnClass)
{
    for (const auto* names : {&CWallScaffoldRuleNames, &CPierRuleNames})
        for (const std::string& name : *names) {
            const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
            ASSERT_TRUE(rule) << name;
            EXPECT_EQ(RuleClassName(*rule), name);
        }
}

}  // namespace
