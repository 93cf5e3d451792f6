// The column over-height volume and formwork rules: a 400 column from 0 to
// 4800 on storey 1 (not a foundation floor), critical height 3.6 m, method 0
// cutting at 3600 unless a case says otherwise, so the over-height part is
// the top 1200 of the column at weight 1. Each case is a sequence of rule
// calls on one column (what a rule leaves for the next matters).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"
#include "tests/Support/RegistryChecks.h"

namespace {

struct TStep {
    const char* rule;
    int object;
    double expected;
};

const std::string CConcrete = R"(, "Material": "混凝土")";
const std::string CBrick = R"(, "Material": "砖")";

// Column 1: Size square around the origin from 0 to 4800.
std::string Column(int type, double size, int floor = 1, const std::string& extra = CConcrete)
{
    return PointElement(1, type, floor, -size / 2, -size / 2, size / 2, size / 2, 0, 4800, extra);
}
std::string TieColumn(int indentType)
{
    return Column(26, 400, 1, CConcrete + R"(, "Type": )" + std::to_string(indentType) + R"(, "IndentingWidth": 100)");
}
// A 300 beam through the column head, 4200..4800.
const std::string CBeam = LineElement(2, 15, 1, -3000, 0, 3000, 0, 300, 4200, 4800, CConcrete);
// Walls along x through the column (id, material, y offset).
std::string Wall(int id, const std::string& material, double y = 0, double thickness = 240)
{
    return LineElement(id, 0, 1, -3000, y, 3000, y, thickness, 0, 4800, material);
}
// An opening of type Type in wall 4, 1000 wide from x 100 to 1100, from Bottom to Top.
std::string Opening(int type, double bottom, double top)
{
    return R"({"id": 5, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "parent": 4, "props": {"OpeningWidth": 1000, "OpeningHeight": )" +
           std::to_string(top - bottom) + R"(, "AboveFloorHeight": )" + std::to_string(bottom) +
           R"(, "EDOPID": 4}, "shape": {"kind": "opening", "at": 3600}})";
}

std::string Join(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string Settings(const TOverHighSettings& s, const std::string& ruleRows = "")
{
    return OverHighSettingsTable("QTKColumnCalcSettings", s) +
           R"(, {"name": "InternalQtyCalcRule", "fields": [{"name": "InternalQtyID", "type": "integer"},
                  {"name": "CalcRuleID", "type": "integer"}, {"name": "ObjectMatchExpr", "type": "text"}],
                 "rows": [)" +
           ruleRows + "]}";
}

TOverHighSettings MethodZero()
{
    TOverHighSettings s;
    s.start = 3.6;
    return s;
}

class TColumnOverHighRuleTest : public TOverHighTest {
protected:
    double Run(const char* rule, int subject, int object)
    {
        const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
        return strategy->Calculate(Record(subject), Record(object), Business(), Rules());
    }
    void RunSteps(const std::vector<TStep>& steps, double tolerance = 1.0)
    {
        for (const TStep& step : steps) {
            SCOPED_TRACE(step.rule);
            EXPECT_NEAR(Run(step.rule, 1, step.object), step.expected, tolerance);
        }
    }
    Ref<IQTKColumnCalculatorEDO> ColumnEdo() const { return RefCast<IQTKColumnCalculatorEDO>(Edo(1)); }
};

// Volume 400 x 400 x 1200 = 1.92e8 and its four sides 4 x 400 x 1200 =
// 1.92e6; the beam takes 400 x 300 x 600 = 7.2e7 of the volume and the two
// faces it passes through, 2 x 300 x 600 = 3.6e5, of the formwork; the near
// wall takes what is left, a second near wall nothing.
TEST_F(TColumnOverHighRuleTest, OriginalQuantitiesThenABeamByFactThenNearWalls)
{
    struct TCase {
        const char* name;
        std::vector<TStep> steps;
    };
    const std::vector<TCase> cases = {
        {"volume",
         {{"TQTKColumnOverHeihtOriginalVol", 1, 1.92e8},
          {"TQTKColumnOverHeightDeductByFact", 2, 7.2e7},
          {"TQTKRectangleColumnOverHeightVolDeductNearWall", 4, 1.2e8},
          {"TQTKRectangleColumnOverHeightVolDeductNearWall", 6, 0.0},
          {"TQTKColumnOverHeihtOriginalVol", 1, 0.0}}},
        {"volume deductions first build it on demand",
         {{"TQTKColumnOverHeightDeductByFact", 2, 7.2e7}, {"TQTKColumnOverHeihtOriginalVol", 1, 1.2e8}}},
        {"formwork",
         {{"TQTKColumnOverHeightOrginalFormBoardArea", 1, 1.92e6},
          {"TQTKColumnOverHeightFormBoardAreaDeductByFact", 2, 3.6e5},
          {"TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall", 4, 1.56e6},
          {"TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall", 6, 0.0}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Join({Column(25, 400), CBeam, Wall(4, CBrick, 1000), Wall(6, CBrick, 2000)}), Settings(MethodZero()));
        RunSteps(c.steps);
        // The ordinary volume is not touched by the over-height rules.
        EXPECT_NEAR(ColumnEdo()->GetVolumeCalc()->GetVolume(), 400.0 * 400 * 4800, 1.0);
    }
}

// The same column on the foundation floor is not over height: every rule 0,
// and nothing is stored on the column.
TEST_F(TColumnOverHighRuleTest, NothingOnAFoundationFloor)
{
    Load(Join({Column(25, 400, 2), LineElement(2, 15, 2, -3000, 0, 3000, 0, 300, 4200, 4800, CConcrete),
               LineElement(4, 0, 2, -3000, 0, 3000, 0, 240, 0, 4800, CBrick)}),
         Settings(MethodZero()));
    const std::vector<TStep> steps = {
        {"TQTKColumnOverHeihtOriginalVol", 1, 0.0},
        {"TQTKColumnOverHeightDeductByFact", 2, 0.0},
        {"TQKRectangleColumnOverHeightVolDeductLackOneAndHalfWallThickness", 4, 0.0},
        {"TQTKRectangleColumnOverHeightVolDeductNearWall", 4, 0.0},
        {"TQTKColumnOverHeightVolDeductIrregularWall", 4, 0.0},
        {"TQTKColumnOverHeightOrginalFormBoardArea", 1, 0.0},
        {"TQTKColumnOverHeightFormBoardAreaDeductByFact", 2, 0.0},
        {"TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall", 4, 0.0},
        {"TQTKColumnOverHeightFormBoardDeductIrregularWall", 4, 0.0},
    };
    RunSteps(steps);
    EXPECT_FALSE(ColumnEdo()->GetOverhighVolumeCalc());
    EXPECT_FALSE(ColumnEdo()->GetOverhighFormboardCalc());
    EXPECT_FALSE(ColumnEdo()->GetOverhighValueList());
}

// In detail mode the volume rule stores no formwork; the formwork rule builds
// it later and leaves detail mode as it was.
TEST_F(TColumnOverHighRuleTest, DetailModeVolumeLeavesTheFormworkToItsRule)
{
    Load(Column(25, 400), Settings(MethodZero()), true);
    ASSERT_TRUE(GIsDetailMode);
    EXPECT_NEAR(Run("TQTKColumnOverHeihtOriginalVol", 1, 1), 1.92e8, 1.0);
    EXPECT_FALSE(ColumnEdo()->GetOverhighFormboardCalc());
    EXPECT_EQ(Values(ColumnEdo()->GetOverhighValueList().get()), (std::vector<double>{3600, 4800}));
    EXPECT_NEAR(Run("TQTKColumnOverHeightOrginalFormBoardArea", 1, 1), 1.92e6, 1.0);
    EXPECT_TRUE(ColumnEdo()->GetOverhighFormboardCalc());
    EXPECT_TRUE(GIsDetailMode);
}

// A 1200 column in a 240 wall: the band of the wall widened by 360 / 240 /
// 120 mm each side (960 / 720 / 480 wide) takes 1200 x band x 1200 of the
// over-height volume and 2 x band x 1200 of its formwork (the two faces the
// wall passes through).
TEST_F(TColumnOverHighRuleTest, WidenedWallBands)
{
    struct TCase {
        const char* rule;
        double expected;
    };
    const std::vector<TCase> volume = {
        {"TQKRectangleColumnOverHeightVolDeductLackOneAndHalfWallThickness", 1200.0 * 960 * 1200},
        {"TQTKRectangleColumnOverHeightVolDeductLackOneThickness", 1200.0 * 720 * 1200},
        {"TQTKRectangleColumnOverHeightVolDeductLackSettledLenth", 1200.0 * 480 * 1200},
    };
    const std::vector<TCase> formwork = {
        {"TQTKRectanglColumnOverHeightFormBoarAreaDeductLackOneAndHalfWallThickness", 2 * 960.0 * 1200},
        {"TVRMRectangleColumnOverHeightFormBoardAreaDeductLackOneThickness", 2 * 720.0 * 1200},
        {"TVRMRectangleColumnOverHeightFormBoardAreaDeductLackSettledLenth", 2 * 480.0 * 1200},
    };
    for (const auto* table : {&volume, &formwork})
        for (const TCase& c : *table) {
            SCOPED_TRACE(c.rule);
            Load(Join({Column(25, 1200), Wall(4, CBrick)}), Settings(MethodZero()));
            EXPECT_NEAR(Run(c.rule, 1, 4), c.expected, 1.0);
        }
}

// A 400 tie column ("IndentingWidth" 100) in a 240 brick wall from 0 to
// 4800: two teeth 100 x 240, over height from 3600, V = 2 x 100 x 240 x 1200
// of concrete and A = 4 x 100 x 1200 of formwork (the teeth's faces on the
// wall's faces). Either order of the half and full rules gives 0.5 and 1.0
// of them; a tie column of "Type" 1 has no toothing.
TEST_F(TColumnOverHighRuleTest, ToothingHalfAndFullInEitherOrder)
{
    struct TCase {
        const char* name;
        int indentType;
        std::vector<TStep> steps;
    };
    const double v = 2 * 100.0 * 240 * 1200;
    const double a = 4 * 100.0 * 1200;
    const std::vector<TCase> cases = {
        {"volume half then full",
         0,
         {{"TQTKTieColumnOverHeightIndentinghalfLength", 4, v / 2},
          {"TQTKTieColumnOverHeightIndentingAllLength", 4, v}}},
        {"volume full then half",
         0,
         {{"TQTKTieColumnOverHeightIndentingAllLength", 4, v},
          {"TQTKTieColumnOverHeightIndentinghalfLength", 4, v / 2}}},
        {"formwork half then full",
         0,
         {{"TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea", 4, a / 2},
          {"TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea", 4, a}}},
        {"formwork full then half",
         0,
         {{"TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea", 4, a},
          {"TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea", 4, a / 2}}},
        {"Type 1",
         1,
         {{"TQTKTieColumnOverHeightIndentingAllLength", 4, 0.0},
          {"TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea", 4, 0.0}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Join({TieColumn(c.indentType), Wall(4, CBrick)}), Settings(MethodZero()));
        RunSteps(c.steps);
    }
}

// A door 1000 wide and 4200 high from x 100 beside the tie column's centre:
// over height it takes its part of the column above the cut, 100 x 240 x 600;
// the ordinary volume keeps the whole column.
TEST_F(TColumnOverHighRuleTest, DoorInAnOverHeightTieColumn)
{
    Load(Join({TieColumn(0), Wall(4, CBrick), Opening(4, 0, 4200)}), Settings(MethodZero()));
    const double before = ColumnEdo()->GetVolumeCalc()->GetVolume();
    EXPECT_NEAR(Run("TQTKTieColumnOverHeightVolDeductDoorWindowHole", 1, 5), 100.0 * 240 * 600, 1.0);
    EXPECT_NEAR(ColumnEdo()->GetVolumeCalc()->GetVolume(), before, 1e-6);
}

// Layers of 400 from 3600 (method 3): 3600..4000 weight 1, 4000..4400 weight
// 2, 4400..4800 weight 3. A window 3300..4600 from x 100 over the column's
// east face (200 x 240 of it inside the window... its face is 240 deep in
// the wall): a1 = 240 x 400, a2 = 240 x 400, a3 = 240 x 200. In a brick wall
// whose 1049 row carries rule 1874 the give-back is -(3 a3 + 2 a2 + a1);
// with method 0 it is the face inside the window above 3600, 240 x 1000;
// with another rule row, nothing. In a concrete wall the opening goes the
// way of the opening deduction (the column's whole part above the cut).
TEST_F(TColumnOverHighRuleTest, OpeningOverTheFullToothWidthGivesBackByLayer)
{
    TOverHighSettings layers;
    layers.method = 3, layers.partition = 0.4;
    struct TCase {
        const char* name;
        TOverHighSettings settings;
        std::string wall;
        std::string rows;
        const char* rule;
        double expected;
    };
    const std::string rows1874 = R"({"InternalQtyID": 1049, "CalcRuleID": 1874})";
    const std::vector<TCase> cases = {
        {"layers 3 / 2 / 1", layers, CBrick, rows1874, "TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth",
         -(3 * 240.0 * 200 + 2 * 240.0 * 400 + 240.0 * 400)},
        {"method 0", MethodZero(), CBrick, rows1874, "TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth",
         -240.0 * 1000},
        {"another rule row", MethodZero(), CBrick, R"({"InternalQtyID": 1049, "CalcRuleID": 1700})",
         "TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth", 0.0},
        {"concrete wall, by fact", MethodZero(), CConcrete, "", "TQTKColumnOverHeightFormBoardAreaDeductByFact",
         240.0 * 1000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Join({TieColumn(0), Wall(4, c.wall), Opening(5, 3300, 4600)}), Settings(c.settings, c.rows));
        EXPECT_NEAR(Run(c.rule, 1, 5), c.expected, 1.0);
    }
}

// The over-height rules of the column volume and formwork units.
TEST(ColumnRuleRegistration, EveryColumnOverHeightRuleNameAnswersWithItsOwnClass)
{
    const std::vector<std::string> names = {
        // volume
        "TQTKColumnOverHeihtOriginalVol", "TQTKColumnOverHeightDeductByFact",
        "TQKRectangleColumnOverHeightVolDeductLackOneAndHalfWallThickness",
        "TQTKRectangleColumnOverHeightVolDeductLackSettledLenth",
        "TQTKRectangleColumnOverHeightVolDeductLackOneThickness", "TQTKRectangleColumnOverHeightVolDeductNearWall",
        "TQTKTieColumnOverHeightIndentinghalfLength", "TQTKTieColumnOverHeightIndentingAllLength",
        "TQTKTieColumnOverHeightVolDeductDoorWindowHole", "TQTKColumnOverHeightVolDeductIrregularWall",
        // formwork
        "TQTKColumnOverHeightOrginalFormBoardArea", "TQTKColumnOverHeightFormBoardAreaDeductByFact",
        "TQTKRectanglColumnOverHeightFormBoarAreaDeductLackOneAndHalfWallThickness",
        "TVRMRectangleColumnOverHeightFormBoardAreaDeductLackSettledLenth",
        "TVRMRectangleColumnOverHeightFormBoardAreaDeductLackOneThickness",
        "TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall",
        "TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea",
        "TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea", "TQTKTieColumnOverHeightFormBoardDeductHole",
        "TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth", "TQTKColumnOverHeightFormBoardDeductIrregularWall"};
    for (const std::string& name : names) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

}  // namespace
