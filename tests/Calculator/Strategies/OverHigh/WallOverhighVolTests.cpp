// The wall over-height volume rules on wall 1 along x from 0 to 6000 on
// storey 1 at 0 (B = 0, C = 3600, start height 3.6): method 0 makes one piece
// of weight 1 from 3600 to the wall's top (top method 1: its higher end).
#include <gtest/gtest.h>

#include <string>

#include "Calculator/Strategies/WallStrategies/QTKWallOverhighVolCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

std::string Wall(double thickness, double top)
{
    return LineElement(1, 0, 1, 0, 0, 6000, 0, thickness, 0, top, R"(, "Material": "混凝土")");
}

// An opening (type 7) of Width x Height in wall 1, 2000 along it, from 4000 up.
std::string Opening(double width, double height)
{
    return R"({"id": 2, "type": 7, "floor": 1, "parent": 1, "props": {"OpeningWidth": )" + std::to_string(width) +
           R"(, "OpeningHeight": )" + std::to_string(height) +
           R"(, "BottomElev": 4000}, "shape": {"kind": "opening", "at": 2000}})";
}

class TWallOverhighVolTest : public TOverHighTest {
protected:
    void LoadWall(const std::string& elements, bool detailMode = false)
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", WallStart36()), detailMode);
    }
    Ref<IQTKWallCalcEDO> WallEdo() { return RefCast<IQTKWallCalcEDO>(Edo(1)); }
};

TEST_F(TWallOverhighVolTest, OriginalIsThePartAboveTheCriticalHeightBuiltOnce)
{
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {{"normal mode", false}, {"detail mode: only the volume calculator is stored", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWall(Wall(240, 4800), c.detailMode);
        EXPECT_NEAR(Run("TQTKWallOriginOverhighVol", 1), 240.0 * 6000 * 1200, 1.0);
        const auto first = WallEdo()->GetOverhighVolumeCalc();
        ASSERT_TRUE(first);
        EXPECT_NEAR(Run("TQTKWallOriginOverhighVol", 1), 240.0 * 6000 * 1200, 1.0);
        EXPECT_EQ(WallEdo()->GetOverhighVolumeCalc(), first);
        if (c.detailMode) {
            EXPECT_FALSE(WallEdo()->GetOverhighFormboardCalc());
        }
    }
}

// Every size-limited member at its limit (stays in the wall) and just above
// (deducted by its solid, opening area x wall thickness, weight 1).
TEST_F(TWallOverhighVolTest, LimitedOpeningsAtAndAboveTheirLimits)
{
    struct Case {
        const char* rule;
        double thickness, width, height;
        double expected;
    };
    const Case cases[] = {
        {"TQTKWallOverHighVolDeductPointThreeHoleVol", 240, 500, 600, 0.0},
        {"TQTKWallOverHighVolDeductPointThreeHoleVol", 240, 501, 600, 501.0 * 600 * 240},
        {"TQTKWallOverHighVolDeductPointZeroFiveHoleVol", 240, 250, 200, 0.0},
        {"TQTKWallOverHighVolDeductPointZeroFiveHoleVol", 240, 251, 200, 251.0 * 200 * 240},
        {"TQTKWallOverHighVolDeduct1m2HoleVol", 240, 1000, 1000, 0.0},
        {"TQTKWallOverHighVolDeduct1m2HoleVol", 240, 1001, 1000, 1001.0 * 1000 * 240},
        // 0.05 m³ = outline area x the wall's thickness: 0.2 m² x 240 = 4.8e7, x 300 = 6e7.
        {"TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol", 240, 500, 400, 0.0},
        {"TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol", 250, 500, 400, 0.0},
        {"TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol", 300, 500, 400, 500.0 * 400 * 300},
        {"TQTKWallOverhighVolDeductHollowByFact", 240, 100, 100, 100.0 * 100 * 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + std::to_string(c.width) + " x " + std::to_string(c.height) + " in " +
                     std::to_string(c.thickness));
        LoadWall(Wall(c.thickness, 5400) + ", " + Opening(c.width, c.height));
        EXPECT_NEAR(Run(c.rule, 1, 2), c.expected, 1.0);
    }
}

// Pier 3 against wall 1 (x 2750..3250, y 120..370), as high as the wall:
// its piece above 3600, 500 x 250 x 1200, weight 1; nothing is kept.
TEST_F(TWallOverhighVolTest, PierAddsItsOwnPieceAndNothingIsStored)
{
    struct Case {
        const char* name;
        double top;
        double expected;
    };
    const Case cases[] = {
        {"over height", 4800, 500.0 * 250 * 1200},
        {"at the critical height", 3600, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWall(Wall(240, c.top) + R"(, {"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1, )" +
                 R"("BottomElev": 0, "TopElev": )" + std::to_string(c.top) +
                 R"(}, "shape": {"kind": "point", "insertPt": [3000, 245], "size": [500, 250]}})");
        EXPECT_NEAR(Run("TQTKWallOverhighVolAddPier", 1, 3), c.expected, 1.0);
        EXPECT_FALSE(WallEdo()->GetOverhighVolumeCalc());
        EXPECT_FALSE(WallEdo()->GetOverhighValueList());
    }
}

// A wall whose top is at the critical height: every rule gives 0, nothing is stored.
TEST_F(TWallOverhighVolTest, WallAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKWallOriginOverhighVol",
        "TQTKWallOverhighVolDeductHollowByFrame",
        "TQTKWallOverhighVolDeductByFact",
        "TQTKWallOverhighVolDeductHollowByFact",
        "TQTKWallOverHighVolDeductPointThreeHoleVol",
        "TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadWall(Wall(240, 3600) + ", " +
                 R"({"id": 2, "type": 7, "floor": 1, "parent": 1, "props": {"OpeningWidth": )"
                 R"(1000, "OpeningHeight": 1000, "BottomElev": 2000}, "shape": {"kind": )"
                 R"("opening", "at": 2000}})");
        EXPECT_NEAR(Run(rule, 1, 2), 0.0, 1e-6);
        EXPECT_FALSE(WallEdo()->GetOverhighVolumeCalc());
        EXPECT_FALSE(WallEdo()->GetOverhighFormboardCalc());
        EXPECT_FALSE(WallEdo()->GetOverhighValueList());
    }
}

}  // namespace
