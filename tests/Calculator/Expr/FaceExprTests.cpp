// Haunch formwork and insulating-layer texts of outer wall columns and beams.
#include <functional>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprCommon.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

class TFaceExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 68, "props": {"Thickness": 50},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 0, "top": 3000}},
          {"id": 2, "type": 36, "props": {},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 20, "bottom": 0, "top": 3000}},
          {"id": 3, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000}}])");
        for (int id : {1, 2, 3})
            StartQty(Record(id));
    }
};

// A column standing out of the layer: faces 600 x 2800 and 400 x 2800, a wall taking 0.24 m².
void AddColumn(TQTKOutWallFaceCalc& calc, bool sameHeight, double deductType = 0)
{
    TQTKOutWallFaceCalcItem& item = calc.AddItem();
    item.AddFaceDim(600, 2800);
    item.AddFaceDim(400, 2800);
    item.AddDeductArea(deductType, 240000);
    item.SetSameHeight(sameHeight);
}

// A beam standing out: two faces 6000 x 500, its end faces 0.12 m², a column taking 0.16 m².
void AddBeam(TQTKOutWallFaceCalc& calc, bool extras)
{
    TQTKOutWallFaceCalcItem& item = calc.AddItem();
    item.AddFaceDim(6000, 500);
    item.AddFaceDim(6000, 500);
    item.AddDeductArea(25, 160000);
    if (extras)
        item.SetExtraDeductAreas(120000, 0, 0);
}

TEST_F(TFaceExprTest, Texts)
{
    struct Case {
        const char* name;
        int record;
        std::function<void(TFakeInsulatingLayerEDO&)> fill;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const auto haunch = [](double deducted, double net) {
        return [=](IRDXRecord* r) { BuildHaunchFormboardAreaExpr(r, deducted, net); };
    };
    const auto columns = [](double area) {
        return [=](IRDXRecord* r) { BuildInsulatingLayerOutWallColumnAreaExpr(r, area); };
    };
    const auto beams = [](double area) {
        return [=](IRDXRecord* r) { BuildInsulatingLayerOutWallBeamAreaExpr(r, area); };
    };
    const auto none = [](TFakeInsulatingLayerEDO&) {};
    const std::vector<Case> cases{
        {"haunch added", 3, none, haunch(0, 2.5e6), "2.5<加加腋模板面积>"},
        {"haunch added and deducted", 3, none, haunch(0.3e6, 2.2e6), "2.5<加加腋模板面积> - 0.3<扣加腋模板面积>"},
        {"haunch deducted only", 3, none, haunch(0.3e6, -0.3e6), "0.3<扣加腋模板面积>"},
        {"no haunch", 3, none, haunch(0, 0), "(none)"},
        {"column of one height", 1, [](auto& l) { AddColumn(l.columns, true); }, columns(2.56e6),
         "(0.6+0.4)*2.8-0.24<扣墙面积>"},
        {"column of several heights", 1, [](auto& l) { AddColumn(l.columns, false); }, columns(2.56e6),
         "0.6*2.8+0.4*2.8-0.24<扣墙面积>"},
        {"two columns", 1,
         [](auto& l) {
             AddColumn(l.columns, true);
             AddColumn(l.columns, true);
         },
         columns(5.12e6), "((0.6+0.4)*2.8-0.24<扣墙面积>)+((0.6+0.4)*2.8-0.24<扣墙面积>)"},
        {"area off by more than 0.0001 m²", 1, [](auto& l) { AddColumn(l.columns, true); }, columns(2.5602e6),
         "(none)"},
        {"deduction without a label", 1, [](auto& l) { AddColumn(l.columns, true, 29); }, columns(2.56e6), "(none)"},
        {"a column deduction has no column label", 1, [](auto& l) { AddColumn(l.columns, true, 25); }, columns(2.56e6),
         "(none)"},
        {"beam without extra deductions", 1, [](auto& l) { AddBeam(l.beams, false); }, beams(5.84e6), "(none)"},
        {"beam", 1, [](auto& l) { AddBeam(l.beams, true); }, beams(5.72e6),
         "6*0.5+6*0.5-0.12<扣端头面积>-0.16<扣柱面积>"},
        {"a beam without extras stops the text", 1,
         [](auto& l) {
             AddBeam(l.beams, true);
             AddBeam(l.beams, false);
         },
         beams(11.56e6), "(none)"},
        {"element of type 36", 2, [](auto& l) { AddColumn(l.columns, true); }, columns(2.56e6), "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IRDXRecord* record = Record(c.record);
        TearDown();
        SetUp();
        record = Record(c.record);
        c.fill(Attach<TFakeInsulatingLayerEDO>(c.record));
        c.build(record);
        EXPECT_EQ(Text(record), c.text);
    }
}

TEST_F(TFaceExprTest, NothingWithoutExpressionMode)
{
    AddColumn(Attach<TFakeInsulatingLayerEDO>(1).columns, true);
    StartQty(Record(1), false);
    StartQty(Record(3), false);
    BuildHaunchFormboardAreaExpr(Record(3), 0, 2.5e6);
    BuildInsulatingLayerOutWallColumnAreaExpr(Record(1), 2.56e6);
    EXPECT_EQ(Text(Record(3)), "(none)");
    EXPECT_EQ(Text(Record(1)), "(none)");
}

}  // namespace
