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
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1500, "top": 0}},
          {"id": 6, "type": 41, "props": {"BottomWidth": 1000},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1234.56, "top": 0}},
          {"id": 7, "type": 41, "props": {"BottomWidth": 1000},
           "shape": {"kind": "line", "start": [0, 0], "end": [100000, 0], "width": 1000, "bottom": -1234.56,
                     "top": 0}}])");
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
        // Vertical ditches 1000 wide and 1234.56 deep (printed 1.2346), 10 m and 100 m long.
        for (int id : {6, 7}) {
            TFakeDitchEarthEDO& ditch = Attach<TFakeDitchEarthEDO>(id);
            const double length = id == 6 ? 10000 : 100000;
            ditch.cutDepth = 1234.56;
            ditch.midLine = TVRMCustomLine2d({0, 0}, {length, 0});
            ditch.leftLine = TVRMCustomLine2d({0, 500}, {length, 500});
            ditch.rightLine = TVRMCustomLine2d({0, -500}, {length, -500});
            ditch.sectionArea = 1000 * 1234.56;
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
        // The printed depth is 0.00004 m off: 1 x 1.2346 x 10 = 12.346 against
        // 12.3456 m³ is within 0.001; over 100 m 123.46 against 123.456 is not,
        // and the volume is stated by its section, 1.23456 m² x 100 m.
        {"ditch depth on a rounding edge", 6, [](auto r) { BuildDitchEarthVolExpr(r, 1234.56 * 1000 * 10000); },
         "1<宽度>*1.2346<挖土深度>*10<长度>"},
        {"ditch depth on a rounding edge, long ditch", 7,
         [](auto r) { BuildDitchEarthVolExpr(r, 1234.56 * 1000 * 100000); }, "1.2346<截面面积>*100<长度>"},
        // The side check forms its product from the unrounded sizes: the text
        // stands although its printed product, 246.92, is 0.008 m² off.
        {"ditch sides on a rounding edge, long ditch", 7,
         [](auto r) { BuildDitchEarthSideAreaExpr(r, 1234.56 * 100000 * 2); }, "1.2346<折算高度>*100<长度>*2"},
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

namespace {

class TPitExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 21, "type": 42, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": -1500, "top": 0,
                     "outline": [[0, 0], [2000, 0], [2000, 3000], [0, 3000]]}},
          {"id": 22, "type": 42, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": -1500, "top": 0,
                     "outline": [[0, 0], [4000, 0], [4000, 1000], [2000, 1000], [2000, 2000], [0, 2000]]}},
          {"id": 23, "type": 42, "props": {"SlopeFactor": 0.5},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": -1000, "top": 0}},
          {"id": 24, "type": 42, "props": {"SlopeFactor": 0.5},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": -1800, "top": 0}},
          {"id": 25, "type": 42, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 3000], [0, 3000]]}},
          {"id": 26, "type": 42, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 3000], "bottom": -1500, "top": 0}},
          {"id": 27, "type": 41, "props": {},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1000, "top": 0}},
          {"id": 28, "type": 41, "props": {},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": -1000, "top": 0}}])");
        struct Pit {
            int id;
            double cut, wet, frozen, slopeFactor;
        };
        for (const Pit& p : std::vector<Pit>{{21, 1500, 500, 300, 0},
                                             {22, 1500, 0, 0, 0},
                                             {23, 1000, 0, 0, 0.5},
                                             {24, 1000, 500, 300, 0.5},
                                             {25, 1500, 0, 0, 0}}) {
            TFakePitEarthEDO& pit = Attach<TFakePitEarthEDO>(p.id);
            pit.slopeBottom = DrawObj(p.id)->GetShape()->GetOutline();
            pit.cutDepth = p.cut;
            pit.wetDepth = p.wet;
            pit.frozenDepth = p.frozen;
            pit.slope = p.slopeFactor > 0;
            pit.slopeFactor = p.slopeFactor;
        }
        Attach<TFakeSolidEDO>(26);  // not a pit earth object
        TFakeDitchEarthEDO& ditch = Attach<TFakeDitchEarthEDO>(27);
        ditch.cutDepth = 1000;
        ditch.midLine = TVRMCustomLine2d({0, 0}, {10000, 0});
        TFakeDitchEarthEDO& pointDitch = Attach<TFakeDitchEarthEDO>(28);  // a middle line without length
        pointDitch.cutDepth = 1000;
        pointDitch.midLine = TVRMCustomLine2d({5000, 0}, {5000, 0});
    }
};

TEST_F(TPitExprTest, Texts)
{
    ExpectTexts({
        {"vertical pit", 21, [](auto r) { BuildPitEarthVolExpr(r, 9e9); }, "(2*3)<底面积>*1.5<挖土深度>"},
        {"vertical pit, another volume", 21, [](auto r) { BuildPitEarthVolExpr(r, 9.1e9); }, "(none)"},
        {"pit without a formula", 22, [](auto r) { BuildPitEarthVolExpr(r, 9e9); }, "6<底面积>*1.5<挖土深度>"},
        // (4 + 9 + 2.5² x 4) / 6 = 6.3333
        {"sloped pit", 23, [](auto r) { BuildPitEarthVolExpr(r, 6.3333e9); },
         "((2*2)<底面积>+(3*3)<顶面积>+(2.5*2.5)<中截面面积>*4)*1<挖土深度>/6"},
        {"sloped pit, 0.01 m3 off", 23, [](auto r) { BuildPitEarthVolExpr(r, 6.3433e9); }, "(none)"},
        {"wet layer of depth 0", 23, [](auto r) { BuildPitEarthWetVolExpr(r, 1e9); }, "(none)"},
        {"wet layer of depth 0, volume 0", 23, [](auto r) { BuildPitEarthWetVolExpr(r, 0); },
         "((3*3)<湿土底面积>+(3*3)<湿土顶面积>+(3*3)<湿土中截面面积>*4)*0<湿土深度>/6"},
        // (9 + 12.25 + 3.25² x 4) x 0.5 / 6 = 5.2917
        {"sloped wet layer", 24, [](auto r) { BuildPitEarthWetVolExpr(r, 5.2917e9); },
         "((3*3)<湿土底面积>+(3.5*3.5)<湿土顶面积>+(3.25*3.25)<湿土中截面面积>*4)*0.5<湿土深度>/6"},
        {"vertical wet layer, not compared", 21, [](auto r) { BuildPitEarthWetVolExpr(r, 1); }, "(2*3)*0.5<湿土深度>"},
        // The section at cut + wet depth: 3.5 x 3.5 x 0.3
        {"sloped frozen layer", 24, [](auto r) { BuildPitEarthFrozenVolExpr(r, 3.675e9); },
         "(3.5*3.5)<顶面积>*0.3<冻土深度>"},
        {"vertical frozen layer, not compared", 21, [](auto r) { BuildPitEarthFrozenVolExpr(r, 1); },
         "(2*3)*0.3<冻土深度>"},
        {"pit of a face shape: ordinary", 25, [](auto r) { BuildPitEarthVolExpr(r, 9e9); }, "(none)"},
        {"pit of a face shape: frozen", 25, [](auto r) { BuildPitEarthFrozenVolExpr(r, 0); }, "(none)"},
        {"not a pit earth object: ordinary", 26, [](auto r) { BuildPitEarthVolExpr(r, 9e9); }, "(none)"},
        {"not a pit earth object: frozen", 26, [](auto r) { BuildPitEarthFrozenVolExpr(r, 0); }, "(none)"},
        {"bottom of a vertical pit", 21, [](auto r) { BuildPitEarthBottomAreaExpr(r); }, "2*3"},
        {"no pit bottom on slopes", 23, [](auto r) { BuildPitEarthBottomAreaExpr(r); }, "(none)"},
        {"earth bottom on slopes", 23, [](auto r) { BuildEarthBottomAreaExpr(r); }, "2*2"},
        {"sides of a vertical pit", 21, [](auto r) { BuildEarthSideAreaExpr(r); }, "(2+3)*2*2<挖土深度>"},
        {"no sides on slopes", 23, [](auto r) { BuildEarthSideAreaExpr(r); }, "(none)"},
        {"ditch lagging boards", 27, [](auto r) { BuildDitchEarthLaggingBoardAreaExpr(r, 20e6); },
         "1<深度>*10<长度>*2"},
        // Its 0 m² of boards would match 0 x 1 x 2: still no text.
        {"ditch lagging boards of a ditch without length", 28,
         [](auto r) { BuildDitchEarthLaggingBoardAreaExpr(r, 0); }, "(none)"},
        {"ditch lagging boards, another area", 27, [](auto r) { BuildDitchEarthLaggingBoardAreaExpr(r, 19.4e6); },
         "(none)"},
    });
}

TEST_F(TPitExprTest, DitchLaggingBoardsWithTheLineSetting)
{
    GDitchEarthCalclineType = 2;
    StartQty(Record(27));
    BuildDitchEarthLaggingBoardAreaExpr(Record(27), 19.4e6);
    GDitchEarthCalclineType = 0;
    EXPECT_EQ(Text(Record(27)), "1<深度>*9.7<长度>*2");
}

TEST_F(TPitExprTest, NothingWithoutExpressionMode)
{
    for (int id : {21, 23, 27})
        StartQty(Record(id), false);
    BuildPitEarthVolExpr(Record(21), 9e9);
    BuildPitEarthWetVolExpr(Record(21), 1);
    BuildPitEarthFrozenVolExpr(Record(21), 1);
    BuildPitEarthBottomAreaExpr(Record(21));
    BuildEarthBottomAreaExpr(Record(23));
    BuildEarthSideAreaExpr(Record(21));
    BuildDitchEarthLaggingBoardAreaExpr(Record(27), 20e6);
    for (int id : {21, 23, 27})
        EXPECT_EQ(Text(Record(id)), "(none)") << id;
}

}  // namespace
