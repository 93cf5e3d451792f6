// The wall over-height volume rules on wall 1 along x from 0 to 6000 on
// storey 1 at 0 (B = 0, C = 3600, start height 3.6): method 0 makes one piece
// of weight 1 from 3600 to the wall's top (top method 1: its higher end).
#include <gtest/gtest.h>

#include <cmath>
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
    void LoadWall(const std::string& elements, bool detailMode = false, const TOverHighSettings& s = WallStart36())
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", s), detailMode);
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

// Pier 3 against wall 1 (x 2750..3250, y 120..370) with method 3 and H =
// 600: cut at the wall's planes into 3600-4200 (weight 1) and 4200-4800
// (weight 2), 500 x 250 x 600 each; nothing is kept.
TEST_F(TWallOverhighVolTest, PierAddsItsPiecesByTheirWeights)
{
    TOverHighSettings s = WallStart36();
    s.method = 3, s.partition = 0.6;
    LoadWall(Wall(240, 4800) + R"(, {"id": 3, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": 1,)"
                               R"( "BottomElev": 0, "TopElev": 4800}, "shape": {"kind": "point", "insertPt":)"
                               R"( [3000, 245], "size": [500, 250]}})",
             false, s);
    EXPECT_NEAR(Run("TQTKWallOverhighVolAddPier", 1, 3), 500.0 * 250 * 600 * (1 + 2), 1.0);
    EXPECT_FALSE(WallEdo()->GetOverhighVolumeCalc());
    EXPECT_FALSE(WallEdo()->GetOverhighValueList());
}

TEST_F(TWallOverhighVolTest, DeductionBeforeTheOriginalGivesTheSameValue)
{
    for (const bool originalFirst : {true, false}) {
        SCOPED_TRACE(originalFirst ? "in the host's order" : "before the original: built on demand");
        LoadWall(Wall(240, 4800) + ", " + Opening(1000, 600));
        if (originalFirst) {
            EXPECT_NEAR(Run("TQTKWallOriginOverhighVol", 1), 240.0 * 6000 * 1200, 1.0);
        }
        EXPECT_NEAR(Run("TQTKWallOverhighVolDeductHollowByFact", 1, 2), 1000.0 * 600 * 240, 1.0);
        EXPECT_NEAR(Run("TQTKWallOverhighVolDeductHollowByFact", 1, 2), 0.0, 1.0);
        ASSERT_TRUE(WallEdo()->GetOverhighVolumeCalc());
        EXPECT_NEAR(WallEdo()->GetOverhighVolumeCalc()->GetVolume(), 240.0 * 6000 * 1200 - 1000.0 * 600 * 240, 1.0);
    }
}

// Slab 20 over the whole wall (x 0..6000, y -120..3000) meets coplanar slab
// 21 (y -3000..-120, x 0..2000), both with tops at 4800. The joint edge (y
// -120, x 0..2000) makes a strip across the wall, 2000 x 240, taken at the
// joint thickness; the rest of slab 20 over the wall, 4000 x 240, at its own
// 200. Equal thicknesses: no joint strip. The strips stay off the slabs and
// the wall's regular volume keeps the slab.
TEST_F(TWallOverhighVolTest, SlabsMeetingOverTheWall)
{
    struct Case {
        const char* rule;
        double thinner;
        double expected;
    };
    const Case cases[] = {
        {"TQTKWallOverhighVolDeductSlabByThinner", 120, 2000.0 * 240 * 120 + 4000.0 * 240 * 200},
        {"TQTKWallOverhighVolDeductSlabByAve", 120, 2000.0 * 240 * 160 + 4000.0 * 240 * 200},
        {"TQTKWallOverhighVolDeductSlabByThinner", 200, 6000.0 * 240 * 200},
        {"TQTKWallOverhighVolDeductSlabByAve", 200, 6000.0 * 240 * 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " against " + std::to_string(c.thinner));
        LoadWall(Wall(240, 4800) + ", " + SlabElement(20, 1, 0, -120, 6000, 3000, 4800, 200) + ", " +
                 SlabElement(21, 1, 0, -3000, 2000, -120, 4800, c.thinner));
        EXPECT_NEAR(Run(c.rule, 1, 20), c.expected, 1.0);
        EXPECT_TRUE(RefCast<IQTKSlabCalculator>(Edo(20))->GetDeductPolygons().empty());
        EXPECT_TRUE(RefCast<IQTKSlabCalculator>(Edo(21))->GetAddPolygons().empty());
        EXPECT_NEAR(WallEdo()->GetVolumeCalc()->GetVolume(), 240.0 * 6000 * 4800, 1.0);
    }
}

// Slab 20 arched across y about the x axis (span 6000, rise 1000 from its
// base at 4000, 120 thick: radii 5000 and 4880, sweep 2 asin 0.6, lowest
// point 3904) over wall 1 along y at x 3000, 240 thick, up to 6000: the wall
// loses its slice of the arch, (sweep / 2)(5000² - 4880²) x 240, by fact
// from its over-height piece; its regular volume is left whole.
TEST_F(TWallOverhighVolTest, CurvedSlabComesOffTheOverHeightVolumeOnly)
{
    for (const char* rule : {"TQTKWallOverhighVolDeductSlabByThinner", "TQTKWallOverhighVolDeductSlabByAve"}) {
        SCOPED_TRACE(rule);
        LoadWall(
            LineElement(1, 0, 1, 3000, -4000, 3000, 4000, 240, 0, 6000, R"(, "Material": "混凝土")") +
            R"(, {"id": 20, "type": 19, "floor": 1, "props": {"Thickness": 120}, "shape": {"kind": "face",)"
            R"( "outline": [[0,-3000],[6000,-3000],[6000,3000],[0,3000]], "thickness": 120, "elevation":)"
            R"( {"kind": "cylinder", "first": 6000, "second": 1000, "base": 4000, "axis": [[0, 0], [6000, 0]]}}})");
        const auto slab = RefCast<IQTKSlabCalculator>(Edo(20));
        slab->ClearQtyItems();
        ASSERT_TRUE(slab->IsCurvedFaceShape());
        const double expected = std::asin(0.6) * (5000.0 * 5000 - 4880.0 * 4880) * 240;
        EXPECT_NEAR(Run(rule, 1, 20), expected, 1e-5 * expected);
        EXPECT_NEAR(WallEdo()->GetVolumeCalc()->GetVolume(), 240.0 * 8000 * 6000, 1.0);
    }
}

}  // namespace
