// The over-height formwork rules of insulating wall layers on insulating
// wall 1 (200 thick on its axis (0,0)-(6000,0)) of two 100 mm layers, 2
// (y 0..100) and 3 (y -100..0), on storey 1 at 0 (B = 0, C = 3600, start
// height 3.6): method 0 makes one piece of weight 1 from 3600 to the top.
// The layers' side faces are in their formwork, as the side-line rules
// leave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighFormBoardCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

std::string Layer(int id, double y, double top)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": 100, )" +
           R"("EDOPID": 1, "StartPtTopElev": )" + Num(top) + R"(, "EndPtTopElev": )" + Num(top) +
           R"(, "StartPtBottomElev": 0, "EndPtBottomElev": 0}, "shape": {"kind": "line", "start": [0, )" + Num(y) +
           R"(], "end": [6000, )" + Num(y) + R"(], "width": 100, "axisOffset": 50, "startBottom": 0, "startTop": )" +
           Num(top) + R"(, "endBottom": 0, "endTop": )" + Num(top) + "}}";
}

std::string InsulatingWall(double top)
{
    return R"({"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 200, "InnerOuterFlag": 0},
               "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "axisOffset": 100,
                         "startBottom": 0, "startTop": )" +
           Num(top) + R"(, "endBottom": 0, "endTop": )" + Num(top) + "}}, " + Layer(2, 50, top) + ", " +
           Layer(3, -50, top);
}

// An opening (type 7) of Width x Height in the insulating wall, 2000 along
// it, from 4000 up.
std::string Opening(double width, double height)
{
    return R"({"id": 10, "type": 7, "floor": 1, "parent": 1, "props": {"OpeningWidth": )" + Num(width) +
           R"(, "OpeningHeight": )" + Num(height) +
           R"(, "BottomElev": 4000, "AboveFloorHeight": 4000}, "shape": {"kind": "opening", "at": 2000}})";
}

TOverHighSettings Start36()
{
    TOverHighSettings s;
    s.start = 3.6;
    s.top = 1;  // the higher end top
    return s;
}

class TInsulatingUnitOverHighFormTest : public TOverHighTest {
protected:
    void LoadUnits(const std::string& elements, bool detailMode = false)
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", Start36()), detailMode);
        for (const int id : {2, 3}) {
            Unit(id)->AddLeftSideFace();
            Unit(id)->AddRightSideFace();
        }
    }
    Ref<IQTKInsulatingWallUnitCalcEDO> Unit(int id) { return RefCast<IQTKInsulatingWallUnitCalcEDO>(Edo(id)); }
};

// Layer 2 above the cut: both faces, 2 x 6000 x 1200.
TEST_F(TInsulatingUnitOverHighFormTest, OriginalIsTheLayerFacesAboveTheCut)
{
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {{"normal mode", false}, {"detail mode", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadUnits(InsulatingWall(4800), c.detailMode);
        EXPECT_NEAR(Run("TQTKInsulatingWallUnitOverHighFormBoardOriginal", 2), 2 * 6000.0 * 1200, 1.0);
        EXPECT_TRUE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_TRUE(Unit(2)->GetOverhighValueList());
        EXPECT_FALSE(Unit(3)->GetOverhighFormboardCalc());
    }
}

// Every limited member at its limit and just above: an opening takes both
// faces of the layer (2 A); with the reveal, less its outline x the layer's
// 100; the twin gives the same (one piece of weight 1 holds the opening).
TEST_F(TInsulatingUnitOverHighFormTest, SizeLimitsAtTheLimitAndJustAbove)
{
    struct Case {
        const char* overhigh;
        const char* twin;
        double width, height;
        double expected;
    };
    const auto withReveal = [](double w, double h) { return 2 * w * h - 2 * (w + h) * 100; };
    const Case cases[] = {
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 500, 600, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollow", 501, 600, 2 * 501.0 * 600},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow", "TQTKInsulatingUnitFormBoardDeductOneHollow", 1000,
         1000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow", "TQTKInsulatingUnitFormBoardDeductOneHollow", 1001,
         1000, 2 * 1001.0 * 1000},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow", "TQTKInsulatingUnitFormBoardDeductFiveHollow", 2500,
         2000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow", "TQTKInsulatingUnitFormBoardDeductFiveHollow", 2501,
         2000, 2 * 2501.0 * 2000},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 500, 600, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide", 501, 600, withReveal(501, 600)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 1000, 1000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductOneHollowAddSide", 1001, 1000, withReveal(1001, 1000)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 2500, 2000, 0.0},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide",
         "TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide", 2501, 2000, withReveal(2501, 2000)},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductHollow", "TQTKInsulatingUnitFormBoardDeductHollow", 100, 100,
         2 * 100.0 * 100},
        {"TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide", "TQTKInsulatingUnitFormBoardDeductHollowAddSide",
         1000, 1000, withReveal(1000, 1000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.overhigh) + " " + Num(c.width) + " x " + Num(c.height));
        LoadUnits(InsulatingWall(6400) + ", " + Opening(c.width, c.height));
        EXPECT_NEAR(Run(c.twin, 2, 10), c.expected, 1.0);
        LoadUnits(InsulatingWall(6400) + ", " + Opening(c.width, c.height));
        EXPECT_NEAR(Run(c.overhigh, 2, 10), c.expected, 1.0);
    }
}

// Pier 4, 400 x 600 (perimeter 2000) against layer 2's outer face at x 3000
// (y 100..700): 400 of its outline on the layer, N = 2000 - 2 x 400 = 1200,
// times the 1000 of the piece beside it (top 4600).
TEST_F(TInsulatingUnitOverHighFormTest, PierAddsItsNetSidesTimesTheHeightBesideIt)
{
    const std::string pier = R"({"id": 4, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1,
        "BottomElev": 0, "TopElev": 4600}, "shape": {"kind": "point", "insertPt": [3000, 400], "size": [400, 600]}})";
    LoadUnits(InsulatingWall(4600) + ", " + pier);
    EXPECT_NEAR(Run("TQTKInsulatingWallUnitOverHighFormBoardAddPier", 2, 4), 1200.0 * 1000, 1.0);
}

// A layer whose top is at the critical height: every rule gives 0 and nothing is stored.
TEST_F(TInsulatingUnitOverHighFormTest, LayerAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKInsulatingWallUnitOverHighFormBoardOriginal",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductHollow",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductByFact",
        "TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide",
        "TQTKInsulatingWallUnitOverHighFormBoardAddPier",
        "TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadUnits(InsulatingWall(3600) + ", " + Opening(1000, 1000));
        EXPECT_NEAR(Run(rule, 2, 10), 0.0, 1e-6);
        EXPECT_FALSE(Unit(2)->GetOverhighFormboardCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighValueList());
    }
}

}  // namespace
