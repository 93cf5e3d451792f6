// The over-height volume rules of insulating wall units on insulating wall 1
// (200 thick on its axis (0,0)-(6000,0), 0 to 4800) of two 100 mm layers,
// 2 (y 0..100) and 3 (y -100..0), on storey 1 at 0 (B = 0, C = 3600, start
// height 3.6): method 0 makes one piece of weight 1 from 3600 to the top.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighVolCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

// Concrete wall 5 across the insulating wall along y at x 3000, 240 thick,
// with opening 11 of 1000 x 500 (0.5 m²) at its middle (y -500..500), from
// 4000 up: it overlaps each layer by 240 x 100 x 500.
const std::string COtherWallOpening =
    LineElement(5, 0, 1, 3000, -3000, 3000, 3000, 240, 0, 4800, R"(, "Material": "混凝土")") +
    R"(, {"id": 11, "type": 7, "floor": 1, "parent": 5, "props": {"OpeningWidth": )"
    R"(1000, "OpeningHeight": 500, "BottomElev": 4000, "AboveFloorHeight": 4000},)"
    R"( "shape": {"kind": "opening", "at": 3000}})";

class TInsulatingUnitOverHighVolTest : public TOverHighTest {
protected:
    void LoadUnits(const std::string& elements, bool detailMode = false, TOverHighSettings s = WallStart36())
    {
        Load(elements, OverHighSettingsTable("QTKWallCalcSettings", s), detailMode);
    }
    Ref<IQTKInsulatingWallUnitCalcEDO> Unit(int id) { return RefCast<IQTKInsulatingWallUnitCalcEDO>(Edo(id)); }
};

TEST_F(TInsulatingUnitOverHighVolTest, OriginalIsTheLayerAboveTheCriticalHeightBuiltOnce)
{
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {{"normal mode", false}, {"detail mode: only the volume calculator is stored", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadUnits(TwoLayerInsulatingWall(), c.detailMode);
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolOriginal", 2), 100.0 * 6000 * 1200, 1.0);
        const auto first = Unit(2)->GetOverhighVolumeCalc();
        ASSERT_TRUE(first);
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolOriginal", 2), 100.0 * 6000 * 1200, 1.0);
        EXPECT_EQ(Unit(2)->GetOverhighVolumeCalc(), first);
        EXPECT_TRUE(Unit(2)->GetOverhighValueList());
        EXPECT_EQ(static_cast<bool>(Unit(2)->GetOverhighFormboardCalc()), !c.detailMode);
        // The other layer keeps nothing.
        EXPECT_FALSE(Unit(3)->GetOverhighVolumeCalc());
    }
}

// Every size-limited opening rule at its limit (stays in the layer) and just
// above (deducted by its solid through the 100 mm layer, weight 1).
TEST_F(TInsulatingUnitOverHighVolTest, LimitedOpeningsAtAndAboveTheirLimits)
{
    struct Case {
        const char* rule;
        double width, height;
        double expected;
    };
    const Case cases[] = {
        {"TQTKInsulatingUnitOverHighVolDeductPointTreeHollow", 500, 600, 0.0},
        {"TQTKInsulatingUnitOverHighVolDeductPointTreeHollow", 501, 600, 501.0 * 600 * 100},
        {"TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow", 250, 200, 0.0},
        {"TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow", 251, 200, 251.0 * 200 * 100},
        {"TQTKInsulatingUnitOverHighVolDeduct1m2Hollow", 1250, 800, 0.0},
        {"TQTKInsulatingUnitOverHighVolDeduct1m2Hollow", 1251, 800, 1251.0 * 800 * 100},
        // 0.05 m³ = outline area x the insulating wall's 200: 0.25 m² at the limit.
        {"TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow", 500, 500, 0.0},
        {"TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow", 501, 500, 501.0 * 500 * 100},
        {"TQTKInsulatingUnitOverHighVolDeductHollowByFact", 100, 100, 100.0 * 100 * 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + std::to_string(c.width) + " x " + std::to_string(c.height));
        LoadUnits(TwoLayerInsulatingWall() + ", " + InsulatingWallOpening(c.width, c.height));
        EXPECT_NEAR(Run(c.rule, 2, 10), c.expected, 1.0);
    }
}

// An opening of another wall: the area variants take what it overlaps; the
// volume variant measures it 0 and leaves it; by fact it needs to be in the
// layer's wall.
TEST_F(TInsulatingUnitOverHighVolTest, OpeningOfAnotherWall)
{
    struct Case {
        const char* rule;
        double expected;
    };
    const Case cases[] = {
        {"TQTKInsulatingUnitOverHighVolDeductPointTreeHollow", 240.0 * 100 * 500},
        {"TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow", 0.0},
        {"TQTKInsulatingUnitOverHighVolDeductHollowByFact", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        LoadUnits(TwoLayerInsulatingWall() + ", " + COtherWallOpening);
        EXPECT_NEAR(Run(c.rule, 2, 11), c.expected, 1.0);
    }
}

TEST_F(TInsulatingUnitOverHighVolTest, DeductionBeforeTheOriginalGivesTheSameValue)
{
    for (const bool originalFirst : {true, false}) {
        SCOPED_TRACE(originalFirst ? "in the host's order" : "before the original: built on demand");
        LoadUnits(TwoLayerInsulatingWall() + ", " + InsulatingWallOpening(1000, 600));
        if (originalFirst) {
            EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolOriginal", 2), 100.0 * 6000 * 1200, 1.0);
        }
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolDeductHollowByFact", 2, 10), 1000.0 * 600 * 100, 1.0);
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolDeductHollowByFact", 2, 10), 0.0, 1.0);
        ASSERT_TRUE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_NEAR(Unit(2)->GetOverhighVolumeCalc()->GetVolume(), 100.0 * 6000 * 1200 - 1000.0 * 600 * 100, 1.0);
    }
}

// Slab 20 over the whole insulating wall (x 0..6000, y -100..3000) meets
// coplanar slab 21 (y -3000..-100, x 0..2000), both with tops at 4800. For
// layer 3 the joint edge (y -100, x 0..2000) makes a strip across the layer,
// 2000 x 100, taken at the joint thickness; the rest of slab 20 over the
// layer, 4000 x 100, at its own 200. Equal thicknesses: no joint strip.
TEST_F(TInsulatingUnitOverHighVolTest, SlabsMeetingOverTheLayer)
{
    struct Case {
        const char* rule;
        double thinner;
        double expected;
    };
    const Case cases[] = {
        {"TQTKWallOverHighVolDeductSlabByThinnest", 120, 2000.0 * 100 * 120 + 4000.0 * 100 * 200},
        {"TQTKWallOverHighVolDeductSlabByAverage", 120, 2000.0 * 100 * 160 + 4000.0 * 100 * 200},
        {"TQTKWallOverHighVolDeductSlabByThinnest", 200, 6000.0 * 100 * 200},
        {"TQTKWallOverHighVolDeductSlabByAverage", 200, 6000.0 * 100 * 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " against " + std::to_string(c.thinner));
        LoadUnits(TwoLayerInsulatingWall() + ", " + SlabElement(20, 1, 0, -100, 6000, 3000, 4800, 200) + ", " +
                  SlabElement(21, 1, 0, -3000, 2000, -100, 4800, c.thinner));
        EXPECT_NEAR(Run(c.rule, 3, 20), c.expected, 1.0);
        EXPECT_TRUE(RefCast<IQTKSlabCalculator>(Edo(20))->GetDeductPolygons().empty());
        EXPECT_TRUE(RefCast<IQTKSlabCalculator>(Edo(21))->GetAddPolygons().empty());
    }
}

// Slab 20 arched across y about the x axis (span 6000, rise 1000 from its
// base at 4000, 120 thick: radii 5000 and 4880, sweep 2 asin 0.6, lowest
// point 3904) over an insulating wall along y at x 3000 up to 6000: each
// 100 mm layer loses its slice of the arch, (sweep / 2)(5000² - 4880²) x 100,
// by fact; its regular volume is left whole.
TEST_F(TInsulatingUnitOverHighVolTest, CurvedSlabComesOffByFact)
{
    const auto layer = [](int id, double x) {
        return R"({"id": )" + std::to_string(id) +
               R"(, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": )"
               R"(100, "EDOPID": 1}, "shape": {"kind": "line", "start": [)" +
               Num(x) + R"(, -4000], "end": [)" + Num(x) +
               R"(, 4000], "width": 100, "axisOffset": 50, "startBottom": 0, "startTop": 6000, "endBottom": 0,)"
               R"( "endTop": 6000}})";
    };
    for (const char* rule : {"TQTKWallOverHighVolDeductSlabByThinnest", "TQTKWallOverHighVolDeductSlabByAverage"}) {
        SCOPED_TRACE(rule);
        LoadUnits(R"({"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 200, "InnerOuterFlag": 0},
                      "shape": {"kind": "line", "start": [3000, -4000], "end": [3000, 4000], "width": 200,
                                "axisOffset": 100, "startBottom": 0, "startTop": 6000, "endBottom": 0,
                                "endTop": 6000}}, )" +
                  layer(2, 3050) + ", " + layer(3, 2950) + R"(, {"id": 20, "type": 19, "floor": 1, "props":
                  {"Thickness": 120}, "shape": {"kind": "face", "outline": [[0,-3000],[6000,-3000],[6000,3000],
                  [0,3000]], "thickness": 120, "elevation": {"kind": "cylinder", "first": 6000, "second": 1000,
                  "base": 4000, "axis": [[0, 0], [6000, 0]]}}})");
        const auto slab = RefCast<IQTKSlabCalculator>(Edo(20));
        slab->ClearQtyItems();
        ASSERT_TRUE(slab->IsCurvedFaceShape());
        const double expected = std::asin(0.6) * (5000.0 * 5000 - 4880.0 * 4880) * 100;
        EXPECT_NEAR(Run(rule, 2, 20), expected, 1e-5 * expected);
        EXPECT_NEAR(Unit(2)->GetVolumeCalc()->GetVolume(), 100.0 * 8000 * 6000, 1.0);
    }
}

// Pier 4 against the insulating wall (x 2750..3250, y 100..350), its
// "EDOPID" the wall: method 3 with H = 600 cuts it at the layer's planes into
// 3600-4200 (weight 1) and 4200-4800 (weight 2), 500 x 250 x 600 each; a
// pier of another wall (wall 5, away from it) adds nothing. Nothing is stored.
TEST_F(TInsulatingUnitOverHighVolTest, PierAddsItsPiecesCutAtTheLayersPlanes)
{
    struct Case {
        const char* name;
        double wallTop, pierTop;
        int owner;
        double expected;
    };
    const Case cases[] = {
        {"as high as the wall", 4800, 4800, 1, 500.0 * 250 * 600 * 3},
        {"below the critical height", 3600, 3600, 1, 0.0},
        {"a pier of another wall", 4800, 4800, 5, 0.0},
    };
    TOverHighSettings s = WallStart36();
    s.method = 3, s.partition = 0.6;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadUnits(TwoLayerInsulatingWall(c.wallTop) +
                      R"(, {"id": 4, "type": 3, "floor": 1, "parent": 1, "props": {"EDOPID": )" +
                      std::to_string(c.owner) + R"(, "BottomElev": 0, "TopElev": )" + Num(c.pierTop) +
                      R"(}, "shape": {"kind": "point", "insertPt": [3000, 225], "size": [500, 250]}}, )" +
                      LineElement(5, 0, 1, 0, 5000, 6000, 5000, 240, 0, 4800),
                  false, s);
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolAddPier", 2, 4), c.expected, 1.0);
        EXPECT_FALSE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighValueList());
    }
}

// Layers whose top is at the critical height: every rule gives 0, nothing is stored.
// Insulating wall 4 (layers 5 at x 2950 and 6 at x 3050) across wall 1 at
// x = 3000, as wide and as high: nothing in the joins decides between them,
// so the higher id gives way. Each of its layers loses the crossing with each
// layer of wall 1 above 3.6 m (100 x 100 x 1200); wall 1's layers lose nothing.
TEST_F(TInsulatingUnitOverHighVolTest, OfEqualCrossingWallsOnlyTheHigherIdLoses)
{
    const auto crossing = [](int id, int parent, double x, double width) {
        const std::string w = Num(width), layer = parent ? R"(, "parent": )" + std::to_string(parent) : "";
        return R"({"id": )" + std::to_string(id) + R"(, "type": )" + (parent ? "86" : "1") + R"(, "floor": 1)" + layer +
               R"(, "props": {"Thickness": )" + w + R"(, "InnerOuterFlag": 0)" +
               (parent ? R"(, "EDOPID": )" + std::to_string(parent) : std::string()) +
               R"(, "StartPtTopElev": 4800, "EndPtTopElev": 4800, "StartPtBottomElev": 0, "EndPtBottomElev": 0},)"
               R"( "shape": {"kind": "line", "start": [)" +
               Num(x) + R"(, -3000], "end": [)" + Num(x) + R"(, 3000], "width": )" + w + R"(, "axisOffset": )" +
               Num(width / 2) + R"(, "startBottom": 0, "startTop": 4800, "endBottom": 0, "endTop": 4800}})";
    };
    LoadUnits(TwoLayerInsulatingWall() + ", " + crossing(4, 0, 3000, 200) + ", " + crossing(5, 4, 2950, 100) + ", " +
              crossing(6, 4, 3050, 100));
    struct Case {
        int subject, object;
        double expected;
    };
    const double piece = 100.0 * 100 * 1200;
    const Case cases[] = {{5, 2, piece}, {6, 3, piece}, {2, 5, 0.0}, {3, 6, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("layer " + std::to_string(c.subject) + " less layer " + std::to_string(c.object));
        EXPECT_NEAR(Run("TQTKInsulatingUnitOverHighVolDeductInsulatingWall", c.subject, c.object), c.expected, 1.0);
    }
}

TEST_F(TInsulatingUnitOverHighVolTest, LayerAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKInsulatingUnitOverHighVolOriginal",
        "TQTKInsulatingUnitOverHighVolDeductByFact",
        "TQTKInsulatingUnitOverHighVolDeductHollowByFrame",
        "TQTKInsulatingUnitOverHighVolDeductHollowByFact",
        "TQTKInsulatingUnitOverHighVolDeductPointTreeHollow",
        "TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow",
        "TQTKInsulatingUnitOverHighVolDeduct1m2Hollow",
        "TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadUnits(TwoLayerInsulatingWall(3600) +
                  R"(, {"id": 10, "type": 7, "floor": 1, "parent": 1, "props":)"
                  R"( {"OpeningWidth": 1000, "OpeningHeight": 1000, "AboveFloorHeight": 2000},)"
                  R"( "shape": {"kind": "opening", "at": 2000}})");
        EXPECT_NEAR(Run(rule, 2, 10), 0.0, 1e-6);
        EXPECT_FALSE(Unit(2)->GetOverhighVolumeCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighFormboardCalc());
        EXPECT_FALSE(Unit(2)->GetOverhighValueList());
    }
}

}  // namespace
