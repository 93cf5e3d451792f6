// Opening texts: areas and perimeters of doors and windows, frame deductions,
// doors with a window.
#include <functional>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprHole.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

class THoleExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 5, "props": {"Width": 1500, "Len": 1800},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1800], "bottom": 900, "top": 2700}},
          {"id": 2, "type": 5, "props": {"Width": 1500, "Len": 1800},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1800], "rotation": 30, "bottom": 900,
                     "top": 2700}},
          {"id": 3, "type": 6, "props": {"OpeningWidth": 2400, "WinWidth": 1500, "OpeningHeight": 2100,
                                         "WinAboveFloorHeight": 900, "DoorFillingWidth": 50},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2400, 200], "bottom": 0, "top": 2100}},
          {"id": 4, "type": 6, "props": {"OpeningWidth": 2400, "WinWidth": 1500, "OpeningHeight": 2100,
                                         "WinAboveFloorHeight": 900, "WinFillingHeight": 30},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2400, 200], "bottom": 0, "top": 2100}}])");
    }
};

TEST_F(THoleExprTest, Texts)
{
    struct Case {
        const char* name;
        int record;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"filling, top and bottom frame", 1, [](auto r) { BuildHoleFillingAreaExpr(r, 5, 1500, 1800, 0, 30); },
         "1.5<宽度>*(1.8<高度>-0.03<框上下扣尺寸>)"},
        {"filling, side frame", 1, [](auto r) { BuildHoleFillingAreaExpr(r, 5, 1500, 1800, 50, 0); },
         "(1.5<宽度>-0.05<框左右扣尺寸>)*1.8<高度>"},
        {"filling, both frames", 1, [](auto r) { BuildHoleFillingAreaExpr(r, 5, 1500, 1800, 50, 30); },
         "(1.5<宽度>-0.05<框左右扣尺寸>)*(1.8<高度>-0.03<框上下扣尺寸>)"},
        {"filling, a frame that rounds to 0", 1, [](auto r) { BuildHoleFillingAreaExpr(r, 4, 1234.56, 1800, 0.04, 0); },
         "1.2346<宽度>*1.8<高度>"},
        {"filling from the shape", 1, [](auto r) { BuildHoleFillingAreaExprFromShape(r); }, "1.5<宽度>*1.8<高度>"},
        {"door with window, opening", 3, [](auto r) { BuildHoleOpeningAreaExpr(r); },
         "0.9<门宽度>*2.1<门高度>+1.5<窗宽度>*1.2<窗高度>"},
        {"perimeter without bottom", 1, [](auto r) { BuildHoleSizePerimeterWithoutBottomExpr(r, 5, 1500, 1800); },
         "1.5<宽度>+1.8<高度>*2"},
        {"perimeter", 1, [](auto r) { BuildHoleSizePerimeterExpr(r, 5, 1500, 1800); }, "(1.5<宽度>+1.8<高度>)*2"},
        {"door with window, filling", 3, [](auto r) { BuildDoorWinFillingAreaExpr(r); },
         "(0.9<门宽度>-0.05<门框左右扣尺寸>)*2.1<门高度>+1.5<窗宽度>*1.2<窗高度>"},
        {"door with window, door filling", 3, [](auto r) { BuildDoorWinDoorFillingAreaExpr(r); },
         "(0.9<门宽度>-0.05<门框左右扣尺寸>)*2.1<门高度>"},
        {"door with window, window filling", 4, [](auto r) { BuildDoorWinWinFillingAreaExpr(r); },
         "1.5<窗宽度>*(1.2<窗高度>-0.03<窗框上下扣尺寸>)"},
        {"door with window, door and window areas", 4,
         [](auto r) {
             BuildDoorWinDoorAreaExpr(r, 6, 900, 2100);
             BuildDoorWinWinAreaExpr(r, 6, 1500, 1200);  // the first text stays
         },
         "0.9<门宽度>*2.1<门高度>"},
        {"door with window, perimeter", 4, [](auto r) { BuildDoorWinPerimeterWithoutBottomExpr(r, 6, 2400, 2100); },
         "2.4<宽度>+2.1<高度>*2"},
        {"axis-parallel window: area", 1, [](auto r) { BuildHoleOpeningAreaExpr(r); }, "1.5<宽度>*1.8<高度>"},
        {"rotated window: area", 2, [](auto r) { BuildHoleOpeningAreaExpr(r); }, "1.5<宽度>*1.8<高度>"},
        {"rotated window: perimeter", 2, [](auto r) { BuildHolePerimeterExpr(r); }, "(1.5<宽度>+1.8<高度>)*2"},
        {"rotated window: no perimeter without bottom", 2, [](auto r) { BuildHolePerimeterWithoutBottomExpr(r); },
         "(none)"},
        {"axis-parallel window: perimeter without bottom", 1, [](auto r) { BuildHolePerimeterWithoutBottomExpr(r); },
         "1.5<宽度>+1.8<高度>*2"},
        {"type 7", 1, [](auto r) { BuildHoleRectAreaExpr(r, 7, 1500, 1800); }, "(none)"},
        {"window type to a door-with-window builder", 1, [](auto r) { BuildDoorWinDoorAreaExpr(r, 5, 900, 2100); },
         "(none)"},
        {"door with window, no door-window filling for a window", 1, [](auto r) { BuildDoorWinFillingAreaExpr(r); },
         "(none)"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string key = std::to_string(i);
        StartRowQty(Record(c.record), key);
        c.build(Record(c.record));
        EXPECT_EQ(Text(Record(c.record), key), c.text);
    }
    // Outside expression mode nothing.
    StartQty(Record(1), false);
    BuildHoleRectAreaExpr(Record(1), 5, 1500, 1800);
    BuildHoleOpeningAreaExpr(Record(1));
    EXPECT_EQ(Text(Record(1)), "(none)");
}

}  // namespace
