// Excavation and ditch earth texts.
#include <functional>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprEarthwork.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

class TEarthworkExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 40, "props": {"SlopeFactor": 0.5, "Depth": 2000},
           "shape": {"kind": "face", "outline": [[0, 0], [20000, 0], [20000, 10000], [0, 10000]], "depth": 2000}},
          {"id": 2, "type": 40, "props": {"Depth": 2000},
           "shape": {"kind": "face", "outline": [[0, 0], [20000, 0], [20000, 10000], [0, 10000]], "depth": 2000}},
          {"id": 3, "type": 41, "props": {"BottomWidth": 1000, "LeftSlopeFactor": 0.5, "RightSlopeFactor": 0.5},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1500, "top": 0}},
          {"id": 4, "type": 41, "props": {"BottomWidth": 1000},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1500, "top": 0}},
          {"id": 5, "type": 41, "props": {"BottomWidth": 1000},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1500, "top": 0}}])");
        for (int id : {1, 2}) {
            TFakePitEarthEDO& pit = Attach<TFakePitEarthEDO>(id);
            pit.slopeBottom = DrawObj(id)->GetShape()->GetOutline();
            pit.cutDepth = 2000;
            pit.slope = id == 1;
            pit.slopeFactor = id == 1 ? 0.5 : 0.0;
        }
        for (int id : {3, 4, 5}) {
            TFakeDitchEarthEDO& ditch = Attach<TFakeDitchEarthEDO>(id);
            ditch.cutDepth = 1500;
            ditch.slope = id == 3;
            ditch.midLine = TVRMCustomLine2d({0, 0}, {10000, 0});
            ditch.leftLine = TVRMCustomLine2d({0, 500}, {10000, 500});
            ditch.rightLine = TVRMCustomLine2d({0, -500}, {10000, -500});
            ditch.sectionArea = id == 3 ? 2.625e6 : 1.6e6;  // record 4: not its 1 x 1.5 m rectangle
            ditch.levelBottom = id != 5;
        }
    }
};

TEST_F(TEarthworkExprTest, Texts)
{
    struct Case {
        const char* name;
        int record;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"vertical excavation", 2, [](auto r) { BuildExcavatedEarthVolExpr(r, 4e11); }, "(20*10)*2<挖土深度>"},
        {"sloped excavation", 1, [](auto r) { BuildExcavatedEarthVolExpr(r, 462.6667e9); },
         "((20*10)<底面积>+(22*12)<顶面积>+(21*11)<中截面面积>*4)*2<挖土深度>/6"},
        {"sloped excavation, volume 0.01 m3 off", 1, [](auto r) { BuildExcavatedEarthVolExpr(r, 462.6767e9); },
         "(none)"},
        {"lagging boards of a vertical excavation", 2, [](auto r) { BuildEarthLaggingBoardAreaExpr(r); },
         "(20+10)*2*2<挖土深度>"},
        {"no lagging boards on slopes", 1, [](auto r) { BuildEarthLaggingBoardAreaExpr(r); }, "(none)"},
        {"sloped ditch", 3, [](auto r) { BuildDitchEarthVolExpr(r, 26.25e9); },
         "(1<底边宽度>+2.5<顶边宽度>)*1.5<挖土深度>/2*10<长度>"},
        {"vertical ditch", 4, [](auto r) { BuildDitchEarthVolExpr(r, 15e9); }, "1<宽度>*1.5<挖土深度>*10<长度>"},
        {"vertical ditch by its section", 4, [](auto r) { BuildDitchEarthVolExpr(r, 16e9); }, "1.6<截面面积>*10<长度>"},
        {"ditch bottom", 4, [](auto r) { BuildDitchEarthBottomAreaExpr(r, 10e6); }, "1<宽度>*10<长度>"},
        {"ditch sides", 4, [](auto r) { BuildDitchEarthSideAreaExpr(r, 30e6); }, "1.5<折算高度>*10<长度>*2"},
        {"sloped ditch sides", 3, [](auto r) { BuildDitchEarthSideAreaExpr(r, 33541020); },
         "1.6771<折算高度>*10<长度>*2"},
        {"ditch without level bottom: volume", 5, [](auto r) { BuildDitchEarthVolExpr(r, 15e9); }, "(none)"},
        {"ditch without level bottom: bottom", 5, [](auto r) { BuildDitchEarthBottomAreaExpr(r, 10e6); }, "(none)"},
        {"ditch without level bottom: sides", 5, [](auto r) { BuildDitchEarthSideAreaExpr(r, 30e6); }, "(none)"},
        {"ditch without level bottom: frozen", 5, [](auto r) { BuildDitchEarthFrozenVolExpr(r, 0); }, "(none)"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string key = std::to_string(i);
        StartRowQty(Record(c.record), key);
        c.build(Record(c.record));
        EXPECT_EQ(Text(Record(c.record), key), c.text);
    }
}

TEST_F(TEarthworkExprTest, DitchLengthWithTheLineSetting)
{
    GDitchEarthCalclineType = 2;
    StartQty(Record(4));
    BuildDitchEarthVolExpr(Record(4), 14.55e9);
    GDitchEarthCalclineType = 0;
    EXPECT_EQ(Text(Record(4)), "1<宽度>*1.5<挖土深度>*9.7<长度>");
}

}  // namespace
