// The beam over-height volume rules on beam 1, 300 x 900 x 6000 along x
// (y -150..150) from 3600 to 4500 on storey 1 at 0 (B = 0, C = 3600, start
// height 3.6). Method 3 with H = 300 cuts it into layers 3600-3900,
// 3900-4200 and 4200-4500 weighted 1, 2 and 3: each layer is
// 300 x 300 x 6000 = 5.4e8, so the over-height volume is 5.4e8 x 6.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighVolCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

const std::string CBeam = LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3600, 4500, R"(, "Material": "混凝土")");
const std::string CLowBeam = LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 2700, 3600);
// Column 400 x 400 around (3000, 0) from 3900 up: 400 x 300 of the beam's
// width in the two upper layers, 3.6e7 each.
const std::string CColumn = PointElement(2, 25, 1, 2800, -200, 3200, 200, 3900, 4500);

TOverHighSettings Layers()
{
    TOverHighSettings s;
    s.method = 3, s.partition = 0.3, s.start = 3.6;
    return s;
}

class TBeamOverHighVolTest : public TOverHighTest {
protected:
    void LoadBeam(const std::string& elements, bool detailMode = false, TOverHighSettings s = Layers())
    {
        Load(elements, OverHighSettingsTable("QTKBeamCalcSettings", s), detailMode);
    }
    Ref<IQTKBeamCalcEDO> Beam() { return RefCast<IQTKBeamCalcEDO>(Edo(1)); }
};

TEST_F(TBeamOverHighVolTest, OriginalIsTheWeightedLayersBuiltOnce)
{
    struct Case {
        const char* name;
        bool detailMode;
    };
    const Case cases[] = {
        {"normal mode", false},
        {"detail mode: only the volume calculator is stored", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(CBeam, c.detailMode);
        EXPECT_NEAR(Run("TQTKBeamOriginalOverHighVol", 1), 5.4e8 * 6, 1.0);
        const TVRMOverhighSolidCalc3d* first = Beam()->GetOverhighVolumeCalc();
        ASSERT_NE(first, nullptr);
        EXPECT_NEAR(Run("TQTKBeamOriginalOverHighVol", 1), 5.4e8 * 6, 1.0);
        EXPECT_EQ(Beam()->GetOverhighVolumeCalc(), first);
        if (c.detailMode) {
            EXPECT_EQ(Beam()->GetOverhighFormboardCalc(), nullptr);
        }
        EXPECT_NE(Beam()->GetOverhighValueList(), nullptr);
    }
}

TEST_F(TBeamOverHighVolTest, ColumnComesOffTheUpperLayersByWeightOnce)
{
    struct Case {
        const char* name;
        bool originalFirst;
    };
    const Case cases[] = {
        {"in the host's order", true},
        {"before the original: built on demand", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(CBeam + ", " + CColumn);
        if (c.originalFirst) {
            EXPECT_NEAR(Run("TQTKBeamOriginalOverHighVol", 1), 3.24e9, 1.0);
        }
        EXPECT_NEAR(Run("TQTKBeamOverHighVolDeductBeam", 1, 2), 3.6e7 * 3 + 3.6e7 * 2, 1.0);
        EXPECT_NEAR(Run("TQTKBeamOverHighVolDeductBeam", 1, 2), 0.0, 1.0);
        ASSERT_NE(Beam()->GetOverhighVolumeCalc(), nullptr);
        EXPECT_NEAR(Beam()->GetOverhighVolumeCalc()->GetVolume(), 3.24e9 - 1.8e8, 1.0);
        // The regular volume keeps the column's overlap.
        EXPECT_NEAR(Beam()->GetVolumeCalc()->GetVolume(), 300.0 * 900 * 6000, 1.0);
    }
}

// Wall 2 under the beam along its axis from x 1000 to 4000, 240 thick: the
// beam over the wall's span, 300 x 900 x 3000 in three layers, weighted
// 2.7e8 x 6.
TEST_F(TBeamOverHighVolTest, ParallelWallTakesTheWeightedBeamOverItsSpan)
{
    const std::string wall = LineElement(2, 0, 1, 1000, 0, 4000, 0, 240, 0, 3600);
    struct Case {
        const char* name;
        std::string beam;
        double expected;
    };
    const Case cases[] = {
        {"over height", CBeam, 2.7e8 * 6},
        {"not over height", LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 2700, 3600), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(c.beam + ", " + LineElement(2, 0, 1, 1000, 0, 4000, 0, 240, 0, c.beam == CBeam ? 3600 : 2700));
        EXPECT_NEAR(Run("TQTKBeamOverHighVolGiveParellelWall", 1, 2), c.expected, 1.0);
    }
}

// Beam 1 along x from 0 to 4000 (y -150..150), 3600 to 4500, one piece of
// weight 1 (method 0). Slab 10, 120 thick, north of its axis over the whole
// length; slab 11, 100 thick, south of it from 0 to 2000; tops at 4500. The
// joint strip across the beam (x 0..2000) goes at the joint thickness, the
// rest of slab 10 over the beam (2000 x 150) at 120. The strips stay off the
// slabs, and the beam's regular volume keeps the slabs.
TEST_F(TBeamOverHighVolTest, SlabsMeetingOverTheBeamComeOffTheOverHeightVolume)
{
    struct Case {
        const char* rule;
        double joint;
    };
    const Case cases[] = {
        {"TQTKBeamOverhighVolDeductSlabByThinner", 100.0},
        {"TQTKBeamOverhighVolDeductSlabByAve", 110.0},
        {"TQTKBeamOverHighVolDeductSlabByThinnerExceptSingleBeam", 100.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        TOverHighSettings s;
        s.start = 3.6;
        LoadBeam(R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 300, "SectionHeight": 900,
                     "TopElev": 4500, "Type2": 1, "Material": "混凝土"},
                     "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0]}},
                 {"id": 10, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 4500, "Material": "混凝土"},
                  "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 3000], [0, 3000]]}},
                 {"id": 11, "type": 19, "floor": 1, "props": {"Thickness": 100, "TopElev": 4500, "Material": "混凝土"},
                  "shape": {"kind": "face", "outline": [[0, -3000], [2000, -3000], [2000, 0], [0, 0]]}})",
                 false, s);
        const double expected = 2000.0 * 300 * c.joint + 2000.0 * 150 * 120;
        EXPECT_NEAR(Run(c.rule, 1, 10), expected, 1.0);
        const auto thicker = RefCast<IQTKSlabCalculator>(Edo(10));
        const auto thinner = RefCast<IQTKSlabCalculator>(Edo(11));
        EXPECT_TRUE(thicker->GetDeductPolygons().empty());
        EXPECT_TRUE(thinner->GetAddPolygons().empty());
        EXPECT_NEAR(Beam()->GetVolumeCalc()->GetVolume(), 300.0 * 900 * 4000, 1.0);
    }
}

// Slab 2 arched across y about the x axis: span 6000, rise 1000 from its
// base at 4000, 120 thick (radii 5000 and 4880 about a centre at 0, sweep
// 2 asin 0.6; its lowest point 4880 x 0.8 = 3904). Beam 1 runs along y at
// x 3000, 240 wide, from 0 up to 6000: one piece from 3600 (method 0) that
// holds the beam's slice of the arch, (sweep / 2)(5000² - 4880²) x 240, by
// fact. The regular volume is left whole.
TEST_F(TBeamOverHighVolTest, CurvedSlabComesOffTheOverHeightVolumeOnly)
{
    TOverHighSettings s;
    s.start = 3.6;
    LoadBeam(R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 6000,
                 "TopElev": 6000, "Material": "混凝土"},
                 "shape": {"kind": "line", "start": [3000, -4000], "end": [3000, 4000]}},
             {"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 120},
              "shape": {"kind": "face", "outline": [[0,-3000],[6000,-3000],[6000,3000],[0,3000]], "thickness": 120,
                        "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 4000,
                                      "axis": [[0, 0], [6000, 0]]}}})",
             false, s);
    const auto slab = RefCast<IQTKSlabCalculator>(Edo(2));
    slab->ClearQtyItems();
    ASSERT_TRUE(slab->IsCurvedFaceShape());
    const double expected = std::asin(0.6) * (5000.0 * 5000 - 4880.0 * 4880) * 240;
    EXPECT_NEAR(Run("TQTKBeamOverhighVolDeductSlabByThinner", 1, 2), expected, 1e-5 * expected);
    EXPECT_NEAR(Beam()->GetVolumeCalc()->GetVolume(), 240.0 * 8000 * 6000, 1.0);
}

// A beam whose top is at the critical height: every rule gives 0 and nothing is stored.
TEST_F(TBeamOverHighVolTest, BeamAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKBeamOriginalOverHighVol",
        "TQTKBeamOverHighVolDeductBeam",
        "TQTKBeamOverHighVolDeductBelowBoardSlab",
        "TQTKBeamOverHighVolDeductByFact",
        "TQTKBeamOverHighVolDeductParellelWall",
        "TQTKBeamOverHighVolDeductNotParellelWall",
        "TQTKBeamOverHighVolGiveParellelWall",
        "TQTKBeamOverHighVolGiveSameThickWall",
        "TQTKBeamOverHighVolDeductParellelAndNotParellelWall",
        "TQTKSingleBeamOverHighVolDeductTieColumn",
        "TQTKInnerBeamOverHighVolDeductBoard",
        "TQTKBeamOverHighVolDeductBeelineStearSeg",
        "TQTKBeamOverHighVolAddHaunchingVol",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadBeam(CLowBeam + ", " + PointElement(2, 25, 1, 2800, -200, 3200, 200, 2700, 3600) + ", " +
                 LineElement(3, 0, 1, 1000, 0, 4000, 0, 300, 0, 2700));
        EXPECT_NEAR(Run(rule, 1, rule == std::string("TQTKBeamOriginalOverHighVol") ? 0 : 2), 0.0, 1e-6);
        EXPECT_NEAR(Run(rule, 1, 3), 0.0, 1e-6);
        EXPECT_EQ(Beam()->GetOverhighVolumeCalc(), nullptr);
        EXPECT_EQ(Beam()->GetOverhighFormboardCalc(), nullptr);
        EXPECT_EQ(Beam()->GetOverhighValueList(), nullptr);
    }
}

TEST_F(TBeamOverHighVolTest, HaunchesAddNothing)
{
    LoadBeam(CBeam);
    EXPECT_EQ(Run("TQTKBeamOverHighVolAddHaunchingVol", 1), 0.0);
}

// Beam 1 (CBeam or, for the tie column, with "Type2" 0 / 1) and one
// neighbour 2; each layer weighs 1, 2, 3 from the bottom, so a neighbour
// through the beam's full height takes its overlap x 300 x 6 per mm² of plan.
TEST_F(TBeamOverHighVolTest, NeighboursByTheirRelation)
{
    const auto beam = [](const std::string& props) {
        return LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3600, 4500, R"(, "Material": "混凝土")" + props);
    };
    // Beam 2 across beam 1 at x 3000, 400 wide, up to 4500 with the height given.
    const auto crossing = [](double height) {
        return LineElement(2, 15, 1, 3000, -3000, 3000, 3000, 400, 4500 - height, 4500, R"(, "Material": "混凝土")");
    };
    const std::string column = PointElement(2, 25, 1, 2800, -200, 3200, 200, 0, 4500);
    struct Case {
        const char* name;
        const char* rule;
        std::string elements;
        double expected;
    };
    const Case cases[] = {
        {"a column by fact", "TQTKBeamOverHighVolDeductByFact", CBeam + ", " + column, 400.0 * 300 * 300 * 6},
        {"a deeper beam it gives way to, by fact", "TQTKBeamOverHighVolDeductByFact", CBeam + ", " + crossing(1200),
         400.0 * 300 * 300 * 6},
        {"a shallower beam that gives way to it, by fact", "TQTKBeamOverHighVolDeductByFact",
         CBeam + ", " + crossing(600), 0.0},
        {"a column from a single beam", "TQTKSingleBeamOverHighVolDeductTieColumn",
         beam(R"(, "Type2": 0)") + ", " + column, 400.0 * 300 * 300 * 6},
        {"a column from a beam that is not single", "TQTKSingleBeamOverHighVolDeductTieColumn",
         beam(R"(, "Type2": 1)") + ", " + column, 0.0},
        // Beam 1 (0..3000, 240 wide, "Type2" 1) stems into main beam 2 (300 x
        // 1200) at its axis: its end inside it, 150 x 240, by the layers.
        {"the main beam a secondary beam is under", "TQTKBeamOverHighVolDeductBelowBoardSlab",
         LineElement(1, 15, 1, 0, 0, 3000, 0, 240, 3600, 4500, R"(, "Material": "混凝土", "Type2": 1)") + ", " +
             LineElement(2, 15, 1, 3000, -2000, 3000, 2000, 300, 3300, 4500, R"(, "Material": "混凝土", "Type2": 1)"),
         150.0 * 240 * 300 * 6},
        {"a main beam is under no secondary beam", "TQTKBeamOverHighVolDeductBelowBoardSlab",
         LineElement(1, 15, 1, 3000, -2000, 3000, 2000, 300, 3300, 4500, R"(, "Material": "混凝土", "Type2": 1)") +
             ", " + LineElement(2, 15, 1, 0, 0, 3000, 0, 240, 3600, 4500, R"(, "Material": "混凝土", "Type2": 1)"),
         0.0},
        // Lintel 2 of "Len" 1500 centred at x 3000: the beam over that length.
        {"the beam over a lintel's length", "TQTKBeamOverHighVolGiveLintelIntLength",
         CBeam + R"(, {"id": 2, "type": 12, "floor": 1, "props": {"SectionWidth": 240, "Len": 1500, "BottomElev":)"
                 R"( 2300, "TopElev": 2500, "StartPtTopElev": 2500, "EndPtTopElev": 2500}, "shape": {"kind": "line",)"
                 R"( "start": [2000, 0], "end": [4000, 0], "width": 240}})",
         1500.0 * 300 * 300 * 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(c.elements);
        EXPECT_NEAR(Run(c.rule, 1, 2), c.expected, 1.0);
    }
}

}  // namespace
