// Column caps and column bases: which of two overlapping ones gives way (the
// lower "ConcGradeID", at equal grades the larger record id), formwork by
// formwork priority, what each original rule reports and when it writes an
// expression; the over-height formwork of a cap; the rule names of the cap,
// base and column over-height units.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

struct TStep {
    const char* rule;
    int subject;
    int object;
    double expected;
};

// A box element of Type (27 cap, 28 base) over x X0..X1, y 0..1000, Bottom..Top.
std::string Box(int id, int type, double x0, double x1, double bottom, double top, const std::string& props)
{
    return PointElement(id, type, 1, x0, 0, x1, 1000, bottom, top, ", " + props);
}
std::string Grade(int grade)
{
    return R"("ConcGradeID": )" + std::to_string(grade);
}

// Floor 1 at 0; the formwork priority list (element type ids, first wins).
std::unique_ptr<TTestBuilding> Building(const std::string& elements, const std::string& priority = "")
{
    std::string rows;
    if (!priority.empty())
        rows = R"({"FormboardPriority": [)" + priority + "]}";
    auto building = TTestBuilding::FromText(
        R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
              {"name": "QTKOtherCalcSetting",
               "fields": [{"name": "FormboardPriority", "type": "detail",
                           "fields": [{"name": "ElementFormboardPriority", "type": "integer"}]}],
               "rows": [)" +
        rows + R"(]}]}],
            "floors": [{"ID": 1, "Name": "F1", "StartFloorNo": 1, "StructuralElevation": 0.0, "Height": 3.0}],
            "elements": [)" +
        elements + "]}");
    building->Activate();
    return building;
}

double RunRule(const TTestBuilding& building, const char* rule, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)), RecordRef(building.Record(object)), GBusiness(),
                               building.RuleSet());
}

void RunSteps(const TTestBuilding& building, const std::vector<TStep>& steps)
{
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.rule + std::string(" ") + std::to_string(step.subject) + " by " +
                     std::to_string(step.object));
        EXPECT_NEAR(RunRule(building, step.rule, step.subject, step.object), step.expected, 1.0);
    }
}

// Two caps 1000 x 1000 x 400 (2600..3000), cap 1 over x 0..1000 and cap 2
// over x 500..1500: they share 500 x 1000 x 400 = 2e8 and a soffit strip of
// 500 x 1000 = 5e5. Only the cap that gives way deducts them; what is left
// of its volume is 4e8 - 2e8.
TEST(ColumnCapRules, TheCapThatGivesWayDeductsTheOverlap)
{
    struct TCase {
        const char* name;
        int grade1, grade2;
        std::vector<TStep> steps;
    };
    const std::vector<TCase> cases = {
        {"grades 30 and 35: cap 1 gives way",
         30,
         35,
         {{"TQTKColumnCapVolDeductByFact", 1, 2, 2e8},
          {"TQTKColumnCapVolDeductByFact", 2, 1, 0.0},
          {"TQTKColumnCapBottomDeductByFact", 1, 2, 5e5},
          {"TQTKColumnCapBottomDeductByFact", 2, 1, 0.0},
          {"TQTKColumnCapOriginalVolume", 1, 1, 2e8},
          {"TQTKColumnCapOriginalVolume", 2, 2, 4e8},
          {"TQTKColumnCapOriginalBottomArea", 1, 1, 5e5}}},
        {"equal grades: the larger id gives way",
         30,
         30,
         {{"TQTKColumnCapVolDeductByFact", 1, 2, 0.0},
          {"TQTKColumnCapVolDeductByFact", 2, 1, 2e8},
          {"TQTKColumnCapBottomDeductByFact", 1, 2, 0.0},
          {"TQTKColumnCapBottomDeductByFact", 2, 1, 5e5}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Box(1, 27, 0, 1000, 2600, 3000, Grade(c.grade1)) + ", " +
                                       Box(2, 27, 500, 1500, 2600, 3000, Grade(c.grade2)));
        RunSteps(*building, c.steps);
    }
}

// A 1000 x 1000 cap 2600..3000 under a slab of its own outline 120 thick
// (2880..3000): formwork 4 x 1000 x 400 sides + 1000 x 1000 soffit, side
// area the sides alone. The slab's faces lie flush with the cap's sides over
// 4 x 1000 x 120: gone when the slab wins formwork priority (both kinds), kept
// when the cap does (contact only).
TEST(ColumnCapRules, FormworkWithSoffitAndSlabsByPriority)
{
    struct TCase {
        const char* name;
        std::string priority;
        std::vector<TStep> steps;
    };
    const std::string slab = SlabElement(3, 1, 0, 0, 1000, 1000, 3000, 120);
    const std::vector<TCase> cases = {
        {"originals",
         "",
         {{"TQTKColumnCapOriginalFormBoardArea", 1, 1, 4 * 1000.0 * 400 + 1e6},
          {"TQTKColumnCapOriginalSideArea", 1, 1, 4 * 1000.0 * 400},
          {"TQTKColumnCapOriginalBottomArea", 1, 1, 1e6},
          {"TQTKColumnCapSectionPerimeter", 1, 1, 4000.0}}},
        {"slab wins",
         R"({"ElementFormboardPriority": 19}, {"ElementFormboardPriority": 27})",
         {{"TQTKColumnCapFormBoardAreaDeductByFact", 1, 3, 4 * 1000.0 * 120}}},
        {"cap wins",
         R"({"ElementFormboardPriority": 27}, {"ElementFormboardPriority": 19})",
         {{"TQTKColumnCapFormBoardAreaDeductByFact", 1, 3, 0.0}}},
        {"sides: both kinds whatever the priority",
         R"({"ElementFormboardPriority": 27}, {"ElementFormboardPriority": 19})",
         {{"TQTKColumnCapSideAreaDeductByFact", 1, 3, 4 * 1000.0 * 120}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Box(1, 27, 0, 1000, 2600, 3000, Grade(30)) + ", " + slab, c.priority);
        RunSteps(*building, c.steps);
    }
}

// A cap narrowing to a point at its bottom (an upside-down pyramid 1000 x
// 1000 at 3000, apex at 2600) has no soffit: 0 and no expression; the
// box cap's soffit writes one.
TEST(ColumnCapRules, NoSoffitNoExpression)
{
    struct TCase {
        const char* name;
        std::string cap;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"pyramid", R"({"id": 1, "type": 27, "floor": 1, "props": {"BottomElev": 2600, "TopElev": 3000},
            "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 2600, "top": 3000},
            "solid": {"vertices": [[0,0,2600],[-500,-500,3000],[500,-500,3000],[500,500,3000],[-500,500,3000]],
              "faces": [[0,2,1],[0,3,2],[0,4,3],[0,1,4],[1,2,3,4]]}})",
         0.0},
        {"box", Box(1, 27, 0, 1000, 2600, 3000, Grade(30)), 1e6},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = TTestBuilding::FromElements("[" + c.cap + "]");
        TQTKCalculationScopeOptions options;
        options.exprMode = true;
        TQTKCalculationScope& scope = building->Activate(std::move(options));
        scope.BeginQuantity(1, "DMJ");
        EXPECT_NEAR(RunRule(*building, "TQTKColumnCapOriginalBottomArea", 1, 1), c.expected, 1.0);
        EXPECT_EQ(scope.ExprText(1, "DMJ").has_value(), c.expected > 0.0);
    }
}

// Two bases 1000 x 1000 x 300, base 1 over x 0..1000 and base 2 over x
// 500..1500, equal grades: only base 2 (the larger id) deducts the shared
// 500 x 1000 x 300 of volume and the 500 x 1000 of top and bottom faces. On
// the sides both deduct: each loses its face inside the other (1000 x 300);
// base 2 also the two strips flush with base 1's faces (2 x 500 x 300).
TEST(ColumnBaseRules, EqualGradesLargerIdDeductsBothDeductTheSides)
{
    const auto building = Building(Box(1, 28, 0, 1000, 0, 300, Grade(30) + R"(, "ColumnBaseType": 0)") + ", " +
                                   Box(2, 28, 500, 1500, 0, 300, Grade(30) + R"(, "ColumnBaseType": 0)"));
    RunSteps(*building, {
                            {"TQTKColumnBaseVolDeductByFact", 1, 2, 0.0},
                            {"TQTKColumnBaseVolDeductByFact", 2, 1, 1.5e8},
                            {"TQTKColumnBaseTopFaceAreaDeductByFact", 1, 2, 0.0},
                            {"TQTKColumnBaseTopFaceAreaDeductByFact", 2, 1, 5e5},
                            {"TQTKColumnBaseBottomFaceAreaDeductByFact", 1, 2, 0.0},
                            {"TQTKColumnBaseBottomFaceAreaDeductByFact", 2, 1, 5e5},
                            {"TQTKColumnBaseSideAreaDeductByFact", 1, 2, 3e5},
                            {"TQTKColumnBaseSideAreaDeductByFact", 2, 1, 3e5 + 3e5},
                            {"TQTKColumnBaseVertialcSideAreaDeductByFact", 1, 2, 3e5},
                            {"TQTKColumnBaseVertialcSideAreaDeductByFact", 2, 1, 3e5 + 3e5},
                            // The volume is the whole solid's, whatever was deducted.
                            {"TQTKColumnBaseVol", 2, 2, 3e8},
                            {"TQTKColumnBaseOriginalTopFaceArea", 2, 2, 5e5},
                            {"TQTKColumnBaseOriginalSideArea", 2, 2, 4 * 1000.0 * 300 - 6e5},
                            {"TQTKColumnBaseOriginalFormBoardArea", 1, 1, 4 * 1000.0 * 300},
                            {"TQTKColumnBaseSectionPerimeter", 1, 1, 4000.0},
                        });
}

// The brick mould: a base of "ColumnBaseType" below 5 has none (both rules
// 0); one of type 5 has the mould of its sub-solid, 1200 x 1200 x 300. A
// base narrowing to a point (a pyramid) has no upward face: top area 0.
TEST(ColumnBaseRules, BrickMouldByTypeAndNoTopFace)
{
    const std::string mould = R"("subSolids": [{"vertices": [[-100,-100,0],[1100,-100,0],[1100,1100,0],[-100,1100,0],
        [-100,-100,300],[1100,-100,300],[1100,1100,300],[-100,1100,300]],
        "faces": [[0,3,2,1],[0,1,5,4],[1,2,6,5],[2,3,7,6],[3,0,4,7],[4,5,6,7]]}])";
    const auto base = [&mould](int type) {
        return R"({"id": 1, "type": 28, "floor": 1, "props": {"ColumnBaseType": )" + std::to_string(type) +
               R"(, "BottomElev": 0, "TopElev": 300},
            "shape": {"kind": "point", "insertPt": [500, 500], "size": [1000, 1000], "bottom": 0, "top": 300}, )" +
               mould + "}";
    };
    struct TCase {
        const char* name;
        std::string elements;
        std::vector<TStep> steps;
    };
    const std::vector<TCase> cases = {
        {"type 3",
         base(3) + ", " + Box(2, 28, 500, 1500, 0, 300, Grade(30)),
         {{"TQTKColumnBaseBrickModelOriginalVol", 1, 1, 0.0}, {"TQTKColumnBaseBrickModelVolDeductByFact", 1, 2, 0.0}}},
        {"type 5", base(5), {{"TQTKColumnBaseBrickModelOriginalVol", 1, 1, 1200.0 * 1200 * 300}}},
        {"pyramid",
         R"({"id": 1, "type": 28, "floor": 1, "props": {"ColumnBaseType": 0},
            "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 0, "top": 300},
            "solid": {"vertices": [[-500,-500,0],[500,-500,0],[500,500,0],[-500,500,0],[0,0,300]],
              "faces": [[0,3,2,1],[0,1,4],[1,2,4],[2,3,4],[3,0,4]]}})",
         {{"TQTKColumnBaseOriginalTopFaceArea", 1, 1, 0.0}, {"TQTKColumnBaseOriginalBottomFaceArea", 1, 1, 1e6}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(c.elements);
        RunSteps(*building, c.steps);
    }
}

// A 1000 x 1000 cap from 3800 to 4200, cut at 3600 (method 0): the whole cap
// is over height, volume 4e8 and formwork its sides and soffit; "ColumnCapType"
// 5 marks every formwork piece as curved, type 0 (a plain box) does not.
class TCapOverHighRuleTest : public TOverHighTest {};

TEST_F(TCapOverHighRuleTest, WholeCapAboveTheCutKeepsItsSoffit)
{
    struct TCase {
        int capType;
        bool arc;
    };
    for (const TCase& c : {TCase{0, false}, TCase{5, true}}) {
        SCOPED_TRACE(c.capType);
        TOverHighSettings s;
        s.start = 3.6;
        Load(PointElement(1, 27, 1, 0, 0, 1000, 1000, 3800, 4200, R"(, "ColumnCapType": )" + std::to_string(c.capType)),
             OverHighSettingsTable("QTKColumnCapCalcSetting", s));
        const auto run = [this](const char* rule) {
            const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
            return strategy->Calculate(Record(1), Record(1), Business(), Rules());
        };
        EXPECT_NEAR(run("TQTKColumnCapOverHeightOrginalFormBoardArea"), 4 * 1000.0 * 400 + 1e6, 1.0);
        EXPECT_NEAR(run("TQTKColumnCapOriginalOverhighVol"), 4e8, 1.0);
        const auto cap = RefCast<IQTKColumnCapCalculatorEDO>(Edo(1));
        const auto formwork = cap->GetOverhighFormboardCalc();
        ASSERT_TRUE(formwork);
        ASSERT_GT(formwork->GetCount(), 0);
        for (int i = 0; i < formwork->GetCount(); ++i)
            EXPECT_EQ(formwork->GetItem(i)->GetIsArc(), c.arc);
    }
}

// Every rule of the cap and base units answers GetStrategy with its own class.
TEST(ColumnRuleRegistration, EveryCapAndBaseRuleNameAnswersWithItsOwnClass)
{
    const std::vector<std::string> names = {
        // caps
        "TQTKColumnCapOriginalVolume", "TQTKColumnCapVolDeductByFact", "TQTKColumnCapOriginalFormBoardArea",
        "TQTKColumnCapFormBoardAreaDeductByFact", "TQTKColumnCapOriginalSideArea", "TQTKColumnCapSideAreaDeductByFact",
        "TQTKColumnCapOriginalBottomArea", "TQTKColumnCapBottomDeductByFact", "TQTKColumnCapSectionPerimeter",
        "TQTKColumnCapOriginalOverhighVol", "TQTKColumnCapOverHeightDeductByFact",
        "TQTKColumnCapOverHeightOrginalFormBoardArea", "TQTKColumnCapOverHeightFormBoardAreaDeductByFact",
        // bases
        "TQTKColumnBaseBrickModelOriginalVol", "TQTKColumnBaseBrickModelVolDeductByFact", "TQTKColumnBaseVol",
        "TQTKColumnBaseVolDeductByFact", "TQTKColumnBaseOriginalFormBoardArea",
        "TQTKColumnBaseFormBoardAreaDeductByFact", "TQTKColumnBaseOriginalSideArea",
        "TQTKColumnBaseSideAreaDeductByFact", "TQTKColumnBaseOriginalVerticalSideArea",
        "TQTKColumnBaseVertialcSideAreaDeductByFact", "TQTKColumnBaseOriginalTopFaceArea",
        "TQTKColumnBaseTopFaceAreaDeductByFact", "TQTKColumnBaseOriginalBottomFaceArea",
        "TQTKColumnBaseBottomFaceAreaDeductByFact", "TQTKColumnBaseSectionPerimeter"};
    for (const std::string& name : names) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
