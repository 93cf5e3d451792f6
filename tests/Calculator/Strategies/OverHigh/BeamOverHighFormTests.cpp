// The beam over-height formwork rules. Storey 1 at 0 (B = 0), critical
// height 3.6 m. The beam's formwork shell is filled by the ordinary original
// rules first, as the host runs them; the over-height formwork is cut from it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighFormBoardAreaCalculator.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

const std::string CConcrete = R"(, "Material": "混凝土")";
const std::string CBrick = R"(, "Material": "砖")";

// Method 3, H = 300 from 3.6 m: layers 3600-3900, 3900-4200 and 4200-4500
// weighted 1, 2 and 3.
TOverHighSettings Layers()
{
    TOverHighSettings s;
    s.method = 3, s.partition = 0.3, s.start = 3.6;
    return s;
}

// Method 0 with a null start: one piece of weight 1 holding the whole beam.
TOverHighSettings OnePiece()
{
    return TOverHighSettings();
}

class TBeamOverHighFormTest : public TOverHighTest {
protected:
    void LoadBeam(const std::string& elements, const TOverHighSettings& s, bool detailMode = false,
                  const std::string& moreTables = "")
    {
        Load(elements, OverHighSettingsTable("QTKBeamCalcSettings", s) + (moreTables.empty() ? "" : ", " + moreTables),
             detailMode);
    }
    // The beam's sides and soffit join its formwork shell.
    void FillSidesAndSoffit()
    {
        Run("TQTKBeamLeftOriginalFromboardArea", 1);
        Run("TQTKBeamRightOriginalFromboardArea", 1);
        Run("TQTKBeamBottomOriginalFromboardArea", 1);
    }
    Ref<IQTKBeamCalcEDO> Beam() { return RefCast<IQTKBeamCalcEDO>(Edo(1)); }
    double OverhighArea()
    {
        const TVRMOverhighShellCalc3d* calc = Beam()->GetOverhighFormboardCalc();
        return calc ? calc->GetArea() : 0.0;
    }
};

// Beam 1: 300 x 900 x 6000 along x (y -150..150), 3600 to 4500.
const std::string CBeam = LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3600, 4500, CConcrete);

// Sides 2 x 6000 x 300 in each layer, the soffit 6000 x 300 in the lowest.
TEST_F(TBeamOverHighFormTest, OriginalIsTheWeightedSidesAndSoffitPerLayer)
{
    const double sides = 2 * 6000.0 * 300, soffit = 6000.0 * 300;
    const double expected = 3 * sides + 2 * sides + 1 * (sides + soffit);
    struct Case {
        const char* name;
        bool detailMode;
        bool volumeFirst;
    };
    const Case cases[] = {
        {"normal mode", false, false},
        {"detail mode", true, false},
        {"after the over-height volume", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(CBeam, Layers(), c.detailMode);
        FillSidesAndSoffit();
        if (c.volumeFirst)
            Run("TQTKBeamOriginalOverHighVol", 1);
        EXPECT_NEAR(Run("TQTKBeamOriginalOverHighFormBoardArea", 1), expected, 1.0);
        EXPECT_NE(Beam()->GetOverhighVolumeCalc(), nullptr);
        EXPECT_NE(Beam()->GetOverhighValueList(), nullptr);
    }
}

// A haunch of L 600, h 300, w 0 whose top is at 4200 lies in the weight-2
// layer: its two sloped sides, 2 x 300 x 600 / 2, weighted 2. A haunch
// from 3800 to 4100 straddles layers 1 and 2: (0 + 100) / 0.5 x 100 =
// 20,000 below 3900 and (100 + 300) / 0.5 x 200 = 160,000 above.
TEST_F(TBeamOverHighFormTest, HaunchesAddTheirSidesLayerByLayer)
{
    struct Case {
        const char* name;
        double top;
        bool detailMode;
        bool volumeFirst;
        double expected;
    };
    const Case cases[] = {
        {"in the weight-2 layer", 4200, false, false, 2 * 300.0 * 600},
        {"the same in detail mode", 4200, true, false, 2 * 300.0 * 600},
        {"the same after the volume rule", 4200, false, true, 2 * 300.0 * 600},
        {"straddling two layers", 4100, false, false, 1 * 20'000.0 + 2 * 160'000.0},
        {"below the critical height", 3500, false, false, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string haunched = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 300,
            "SectionHeight": 900, "TopElev": 4500, "Material": "混凝土"},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]},
            "haunches": [{"startA": 600, "startB": 300, "length": 600, "height": 300, "width": 0, "startTop": )" +
                                     std::to_string(c.top) + "}]}";
        LoadBeam(haunched, Layers(), c.detailMode);
        FillSidesAndSoffit();
        if (c.volumeFirst)
            Run("TQTKBeamOriginalOverHighVol", 1);
        EXPECT_NEAR(Run("TQTKBeamOverHighFormBoardAreaAddHaunchingArea", 1), c.expected, 1.0);
    }
}

// Brick wall 2 under the beam along its axis, 300 thick, with door 3 at
// x 3000, 1000 wide. The reveal strip under the beam in each layer is the
// length of the door's jambs and head within the beam's outline on the wall
// and the layer, times the beam's 300: the rule gives the door's deduction
// less 3 a3 + 2 a2 + a1.
//  - a door 4400 high through the beam (the wall up to the beam's top):
//    a1 = a2 = 2 x 300 x 300, a3 = (2 x 200 + 1000) x 300;
//  - a door up to the beam's soffit (3600, the wall up to it): the beam
//    rests on its head, a1 = 1000 x 300, a2 = a3 = 0.
TEST_F(TBeamOverHighFormTest, DoorUnderTheBeamGivesItsWeightedRevealStrip)
{
    const auto wall = [](double top) { return LineElement(2, 0, 1, 0, 0, 6000, 0, 300, 0, top, CBrick); };
    const auto door = [](double height) {
        return R"({"id": 3, "type": 4, "floor": 1, "parent": 2, "props": {"OpeningWidth": 1000, "OpeningHeight": )" +
               std::to_string(height) +
               R"(, "AboveFloorHeight": 0, "EDOPID": 2}, "shape": {"kind": "opening", "at": 3000}})";
    };
    struct Case {
        const char* name;
        double wallTop, doorHeight;
        bool detailMode, volumeFirst;
        double strips;
    };
    const double a12 = 2 * 300.0 * 300, a3 = (2 * 200.0 + 1000) * 300;
    const Case cases[] = {
        {"through the beam", 4500, 4400, false, false, 3 * a3 + 2 * a12 + a12},
        {"through the beam, detail mode", 4500, 4400, true, false, 3 * a3 + 2 * a12 + a12},
        {"through the beam, volume first", 4500, 4400, false, true, 3 * a3 + 2 * a12 + a12},
        {"the beam on the door's head", 3600, 3600, false, false, 1000.0 * 300},
        {"the beam on the door's head, detail mode", 3600, 3600, true, false, 1000.0 * 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(CBeam + ", " + wall(c.wallTop) + ", " + door(c.doorHeight), Layers(), c.detailMode);
        FillSidesAndSoffit();
        if (c.volumeFirst)
            Run("TQTKBeamOriginalOverHighVol", 1);
        else
            Run("TQTKBeamOriginalOverHighFormBoardArea", 1);
        const double before = OverhighArea();
        const double result = Run("TQTKBeamOverHighFormBoardAreaDeductHole", 1, 3);
        const double deducted = before - OverhighArea();
        EXPECT_NEAR(deducted - result, c.strips, 1.0);
    }
}

// A beam whose top is at the critical height: every rule gives 0 and nothing is stored.
TEST_F(TBeamOverHighFormTest, BeamAtTheCriticalHeightGivesNothing)
{
    const char* rules[] = {
        "TQTKBeamOriginalOverHighFormBoardArea",
        "TQTKBeamOverHighFormBoardAreaDeductByFact",
        "TQTKBeamOverHighFormBoardAreaDeductParallelWall",
        "TQTKBeamOverHighFormBoardAreaDeductNotParallelWall",
        "TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall",
        "TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall",
        "TQTKOutBeamOverHighFormBoardDeductParallelAndNotParallelWall",
        "TQTKBeamOverHighFormBoardAreaGiveWallFormBoardArea",
        "TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness",
        "TQTKOutBeamOverHighFormBoardDeductWall",
        "TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall",
        "TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall2",
        "TQTKBeamOverHighFormBoardAreaAddHaunchingArea",
        "TQTKBeamOverHighFormBoardAreaDeductHole",
    };
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        LoadBeam(LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 2700, 3600, CConcrete) + ", " +
                     LineElement(2, 0, 1, 0, 0, 6000, 0, 300, 0, 2700, CBrick),
                 Layers());
        FillSidesAndSoffit();
        EXPECT_NEAR(Run(rule, 1, 2), 0.0, 1e-6);
        EXPECT_EQ(Beam()->GetOverhighVolumeCalc(), nullptr);
        EXPECT_EQ(Beam()->GetOverhighFormboardCalc(), nullptr);
        EXPECT_EQ(Beam()->GetOverhighValueList(), nullptr);
    }
}

// The twin table: beam 1, 240 x 500 along x from 3600 to 4100, lies wholly
// in one piece of weight 1 (method 0, start null), so every over-height
// rule gives what its ordinary twin gives on the same building (the hand
// value in the last column).
TEST_F(TBeamOverHighFormTest, OnePieceOfWeightOneGivesWhatTheTwinGives)
{
    const std::string beam = LineElement(1, 15, 1, 0, 0, 6000, 0, 240, 3600, 4100, CConcrete);
    const std::string wallUnder = LineElement(2, 0, 1, 0, 0, 6000, 0, 240, 0, 3600, CBrick);
    const std::string wallSpan = LineElement(2, 0, 1, 1000, 0, 4000, 0, 240, 0, 3600, CBrick);
    const std::string wallAcross = LineElement(2, 0, 1, 3000, -2000, 3000, 2000, 200, 0, 3600, CBrick);
    // A wall across the beam up to its top: the beam's sides and soffit in it.
    const std::string wallThrough = LineElement(2, 0, 1, 3000, -2000, 3000, 2000, 240, 0, 4100, CBrick);
    const double crossing = 2 * 240.0 * 500 + 240.0 * 240;
    // Slab 4 north of the beam's axis, 120 thick, its top on the beam's: by
    // fact the beam's left side in it; with its cut along the beam the right
    // side's top 120 too.
    const std::string slab = R"({"id": 4, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 4100,
        "Material": "混凝土"}, "shape": {"kind": "face", "outline": [[-1000, 0], [7000, 0], [7000, 3000],
        [-1000, 3000]]}})";
    const auto door = [](double height) {
        return R"({"id": 3, "type": 4, "floor": 1, "parent": 2, "props": {"OpeningWidth": 1000, "OpeningHeight": )" +
               std::to_string(height) +
               R"(, "AboveFloorHeight": 0, "EDOPID": 2}, "shape": {"kind": "opening", "at": 3000}})";
    };
    // Stair 5, a straight flight 3000 x 1200 (y 2400..3600, clear of beam 1)
    // rising from its flight edge at x 0, 1500 ("Height" less "StepHeight")
    // over its 3000 run: its top from 3600 to 5100, 200 thick. Sloping beam
    // 6 (240 x 400) over its axis rests on it with the same slope, its soffit
    // from 3600 to 5100: the soffit lies on the flight along the whole run,
    // 240 x 3000 x sqrt(1 + 0.5^2).
    const std::string flight = R"({"id": 5, "type": 29, "floor": 1, "props": {"Height": 1650, "StepHeight": 150,
        "Thickness": 200}, "shape": {"kind": "face", "outline": [[0, 2400], [3000, 2400], [3000, 3600], [0, 3600]],
        "elevation": {"kind": "ratio", "edge": 3, "elev": 3600, "ratio": 0.5},
        "edges": [null, null, null, {"kind": "flight", "flag": 1}]}})";
    const std::string beamOnFlight = R"({"id": 6, "type": 15, "floor": 1, "props": {"SectionWidth": 240,
        "SectionHeight": 400, "StartPtBottomElev": 3600, "EndPtBottomElev": 5100, "StartPtTopElev": 4000,
        "EndPtTopElev": 5500, "Material": "混凝土"},
        "shape": {"kind": "line", "start": [0, 3000], "end": [3000, 3000]}})";
    struct Case {
        const char* overhigh;
        const char* twin;
        std::string elements;
        int object;
        double expected;
        int subject = 1;
    };
    const Case cases[] = {
        {"TQTKBeamOverHighFormBoardAreaDeductBeelineStearSeg", "TQTKBeamFormBoardAreaDeductBeelineStearSeg",
         beamOnFlight + ", " + flight, 5, 240.0 * 3000 * std::sqrt(1.25), 6},
        {"TQTKBeamOverHighFormBoardAreaDeductByFact", "TQTKBeamFormBoardAreaDeductByFact", wallUnder, 2, 6000.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaDeductParallelWall", "TQTKBeamFormBoardAreaDeductParallelWall", wallUnder, 2,
         6000.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaDeductNotParallelWall", "TQTKBeamFormBoardAreaDeductNotParallelWall", wallUnder,
         2, 0.0},
        {"TQTKBeamOverHighFormBoardAreaDeductNotParallelWall", "TQTKBeamFormBoardAreaDeductNotParallelWall", wallAcross,
         2, 200.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaGiveWallFormBoardArea", "TQTKBeamFormBoardAreaGiveWallFormBoardArea", wallSpan,
         2, 3000.0 * (2 * 500 + 240)},
        {"TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall",
         "TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall", wallSpan, 2, 3000.0 * (2 * 500 + 240)},
        {"TQTKOutBeamOverHighFormBoardDeductWall", "TQTKOutBeamFormBoardDeductWall", wallAcross, 2, 0.0},
        {"TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall2",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWall", wallUnder, 2, 6000.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaDeductHole", "TQTKBeamFormBoardAreaDeductWallHole",
         LineElement(2, 0, 1, 0, 0, 6000, 0, 200, 0, 3600, CBrick) + ", " + door(3600), 3, -1000.0 * 200},
        {"TQTKBeamOriginalOverHighFormBoardArea", "TQTKBeamOriginalFormboardArea", wallUnder, 0,
         2 * 6000.0 * 500 + 6000.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall",
         "TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall", wallThrough, 2, crossing},
        {"TQTKOutBeamOverHighFormBoardDeductParallelAndNotParallelWall",
         "TQTKOutBeamFormBoardDeductWallDeductNotParallelWall", wallThrough, 2, crossing},
        {"TQTKBeamOverHighFormBoardAreaDeductByFact", "TQTKBeamFormBoardAreaDeductByFact", slab, 4, 6000.0 * 120},
        {"TQTKBeamOverHighFormBoardAreaDeductSlabForFUJIAN", "TQTKBeamFormBoardAreaDeductSlabForFUJIAN", slab, 4,
         2 * 6000.0 * 120},
        {"TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom", wallUnder, 2, 6000.0 * 240},
        {"TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom",
         LineElement(2, 0, 1, 0, 0, 6000, 0, 240, 0, 4100, CBrick), 2, 6000.0 * 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.overhigh) + " / " + c.twin);
        LoadBeam(beam + ", " + c.elements, OnePiece());
        Run("TQTKBeamOriginalFormboardArea", c.subject);
        const double twin = Run(c.twin, c.subject, c.object);
        EXPECT_NEAR(twin, c.expected, 1.0);
        LoadBeam(beam + ", " + c.elements, OnePiece());
        Run("TQTKBeamOriginalFormboardArea", c.subject);
        EXPECT_NEAR(Run(c.overhigh, c.subject, c.object), twin, 1.0);
    }
}

// The formwork priorities list the beams first, then the slabs. Beam 2 (240
// x 500) across beam 1's end at x 6000: beam 1 butts into it and gives way,
// its sides and soffit inside it, 2 x 120 x 500 + 120 x 240. Slab 4 north of
// beam 1's axis, 500 thick with its top on the beam's: the beam's left side
// in it, 6000 x 500, and the north half of its soffit flush with the slab's
// bottom, 6000 x 120.
TEST_F(TBeamOverHighFormTest, OnePieceWithFormworkPrioritiesGivesWhatTheTwinGives)
{
    const std::string priorities = R"({"name": "QTKOtherCalcSetting", "fields": [{"name": "ID", "type": "integer"},
        {"name": "FormboardPriority", "type": "detail", "fields": [{"name": "ElementFormboardPriority",
         "type": "integer"}]}], "rows": [{"ID": 1, "FormboardPriority": [{"ElementFormboardPriority": 15},
         {"ElementFormboardPriority": 19}]}]})";
    const std::string beam = LineElement(1, 15, 1, 0, 0, 6000, 0, 240, 3600, 4100, CConcrete);
    const std::string slab = R"({"id": 4, "type": 19, "floor": 1, "props": {"Thickness": 500, "TopElev": 4100,
        "Material": "混凝土"}, "shape": {"kind": "face", "outline": [[-1000, 0], [7000, 0], [7000, 3000],
        [-1000, 3000]]}})";
    struct Case {
        const char* overhigh;
        const char* twin;
        std::string elements;
        int object;
        double expected;
    };
    const Case cases[] = {
        {"TQTKBeamOverHighFormBoardAreaDeductBeam", "TQTKBeamFormBoardAreaDeductBeam",
         LineElement(2, 15, 1, 6000, -2000, 6000, 2000, 240, 3600, 4100, CConcrete), 2, 2 * 120.0 * 500 + 120.0 * 240},
        {"TQTKBeamOverHighFormBoardAreaDeductSameBottomElevBoard", "TQTKBeamFormBoardAreaDeductSameBottomElevBoard",
         slab, 4, 6000.0 * 500 + 6000.0 * 120},
    };
    for (const Case& c : cases) {
        for (const char* rule : {c.twin, c.overhigh}) {
            SCOPED_TRACE(rule);
            LoadBeam(beam + ", " + c.elements, OnePiece(), false, priorities);
            Run("TQTKBeamOriginalFormboardArea", 1);
            EXPECT_NEAR(Run(rule, 1, c.object), c.expected, 1.0);
        }
    }
}

// Beam 1 (240 x 400, 3700 to 4100) from 0 to 3000 stems into beam 2 (300 x
// 600, 3500 to 4100) across it at 3000, both over the critical height in one
// piece of weight 1: beam 1 is the secondary beam, its sides and soffit
// inside beam 2 (x 2850 to 3000) go, 2 x 150 x 400 + 150 x 240; the main
// beam gives nothing to its secondary beam.
TEST_F(TBeamOverHighFormTest, SecondaryBeamAsTheTwin)
{
    const std::string beams = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240,
        "SectionHeight": 400, "TopElev": 4100, "Material": "混凝土", "Type2": 1},
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0]}},
        {"id": 2, "type": 15, "floor": 1, "props": {"SectionWidth": 300, "SectionHeight": 600, "TopElev": 4100,
        "Material": "混凝土", "Type2": 1}, "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000]}})";
    struct Case {
        const char* name;
        int subject, object;
        double expected;
    };
    const Case cases[] = {
        {"secondary beam", 1, 2, 2 * 150.0 * 400 + 150.0 * 240},
        {"main beam", 2, 1, 0.0},
    };
    for (const Case& c : cases) {
        for (const char* rule : {"TQTKBeamFromBoardAreaDeductSubBeam", "TQTKBeamOverHighFromBoardAreaDeductSubBeam"}) {
            SCOPED_TRACE(std::string(c.name) + ": " + rule);
            LoadBeam(beams, OnePiece());
            Run("TQTKBeamOriginalFormboardArea", c.subject);
            EXPECT_NEAR(Run(rule, c.subject, c.object), c.expected, 1.0);
        }
    }
}

// Ring beam 1 (240 x 500, 3600 to 4100) over lintel 3 (240 wide, 3400 to
// 3600), in one piece of weight 1. Across it (at x 3000) both rules take the
// 240 x 240 of soffit the lintel's top touches. Along it (x 2000 to 4000)
// they differ: the twin takes the ring beam's section over the lintel, both
// sides and the soffit, 2000 x (2 x 500 + 240); the over-height rule the
// lintel's solid and the soffit over the lintel, 2000 x 240.
TEST_F(TBeamOverHighFormTest, RingBeamOverALintelWithBothValues)
{
    const std::string ring = LineElement(1, 18, 1, 0, 0, 6000, 0, 240, 3600, 4100, CConcrete);
    const auto lintel = [](double x0, double y0, double x1, double y1) {
        return R"({"id": 3, "type": 12, "floor": 1, "props": {"SectionWidth": 240, "BottomElev": 3400,
            "TopElev": 3600, "StartPtTopElev": 3600, "EndPtTopElev": 3600, "Material": "混凝土"},
            "shape": {"kind": "line", "start": [)" +
               std::to_string(x0) + ", " + std::to_string(y0) + "], \"end\": [" + std::to_string(x1) + ", " +
               std::to_string(y1) + R"(], "width": 240}})";
    };
    struct Case {
        const char* name;
        std::string lintel;
        double overhigh, twin;
    };
    const Case cases[] = {
        {"along", lintel(2000, 0, 4000, 0), 2000.0 * 240, 2000.0 * (2 * 500 + 240)},
        {"across", lintel(3000, -1000, 3000, 1000), 240.0 * 240, 240.0 * 240},
    };
    for (const Case& c : cases) {
        for (const auto& [rule, expected] : {std::pair{"TQTKTieBeamOverHighFormBoardAreaDeductLinTel", c.overhigh},
                                             std::pair{"TQTKTieBeamFormBoardAreaDeductLintel", c.twin}}) {
            SCOPED_TRACE(std::string(c.name) + ": " + rule);
            LoadBeam(ring + ", " + c.lintel, OnePiece());
            Run("TQTKBeamOriginalFormboardArea", 1);
            EXPECT_NEAR(Run(rule, 1, 3), expected, 1.0);
        }
    }
}

// A rule without an ordinary twin, by hand: a 400 x 400 column through beam 1
// (240 x 500, 3600 to 4100) at x 3000 holds its sides and soffit there, 2 x
// 400 x 500 + 400 x 240, when the beam is a single beam ("Type2" 0); a beam
// that is not gives nothing.
TEST_F(TBeamOverHighFormTest, SingleBeamAgainstATieColumn)
{
    struct Case {
        const char* name;
        std::string props;
        double expected;
    };
    const Case cases[] = {
        {"single beam", CConcrete + R"(, "Type2": 0)", 2 * 400.0 * 500 + 400.0 * 240},
        {"beam without a type", CConcrete, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(LineElement(1, 15, 1, 0, 0, 6000, 0, 240, 3600, 4100, c.props) + ", " +
                     PointElement(2, 25, 1, 2800, -200, 3200, 200, 0, 4100, CConcrete),
                 OnePiece());
        Run("TQTKBeamOriginalFormboardArea", 1);
        EXPECT_NEAR(Run("TQTKSingleBeamOverHighTieColumn", 1, 2), c.expected, 1.0);
    }
}

// Where the over-height rules differ from their twins, both values on the
// same building (beam 1 as above, one piece of weight 1). Brick wall 2 under
// the beam from x 1000 to 4000, 240 thick (within the beam's width): the
// twin takes the wall as going first, its top holding the soffit, 3000 x
// 240; the over-height rule takes the beam's section over the wall's span,
// its sides and soffit there, 3000 x (2 x 500 + 240). A 300 wall is wider
// than the beam: both give 0.
TEST_F(TBeamOverHighFormTest, StatedDifferencesFromTheTwinWithBothValues)
{
    const std::string beam = LineElement(1, 15, 1, 0, 0, 6000, 0, 240, 3600, 4100, CConcrete);
    struct Case {
        const char* name;
        const char* overhigh;
        const char* twin;
        std::string elements;
        int object;
        double twinValue, overhighValue;
    };
    const Case cases[] = {
        {"wall within the beam's width", "TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness",
         "TQTKBeamFormBoardAreaGiveWallWhenSameThickness", LineElement(2, 0, 1, 1000, 0, 4000, 0, 240, 0, 3600, CBrick),
         2, 3000.0 * 240, 3000.0 * (2 * 500 + 240)},
        {"wall wider than the beam", "TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness",
         "TQTKBeamFormBoardAreaGiveWallWhenSameThickness", LineElement(2, 0, 1, 1000, 0, 4000, 0, 300, 0, 3600, CBrick),
         2, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBeam(beam + ", " + c.elements, OnePiece());
        Run("TQTKBeamOriginalFormboardArea", 1);
        EXPECT_NEAR(Run(c.twin, 1, c.object), c.twinValue, 1.0);
        LoadBeam(beam + ", " + c.elements, OnePiece());
        Run("TQTKBeamOriginalFormboardArea", 1);
        EXPECT_NEAR(Run(c.overhigh, 1, c.object), c.overhighValue, 1.0);
    }
}

// The haunch rules measure different faces. Beam 1, 300 x 900 from 3600 to
// 4500 (one piece of weight 1), its haunch 600 long and 300 high across the
// beam's width (from 3900 to 4200): the over-height rule adds the haunch's
// two side triangles, 2 x 600 x 300 / 2; its twin also the end face 300 x
// 300 and the sloping face 300 x hypot(600, 300), less the 600 x 300 of
// soffit the haunch covers.
TEST_F(TBeamOverHighFormTest, HaunchRuleAndItsTwinWithBothValues)
{
    const std::string haunched = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 300,
        "SectionHeight": 900, "TopElev": 4500, "Material": "混凝土"},
        "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "sectionInfo": {"haunch": 1}},
        "haunches": [{"startA": 600, "startB": 300, "length": 600, "height": 300, "width": 0, "startTop": 4200}]})";
    const double sides = 2 * 600.0 * 300 / 2;
    LoadBeam(haunched, OnePiece());
    FillSidesAndSoffit();
    EXPECT_NEAR(Run("TQTKBeamOverHighFormBoardAreaAddHaunchingArea", 1), sides, 1.0);
    LoadBeam(haunched, OnePiece());
    Run("TQTKBeamOriginalFormboardArea", 1);
    EXPECT_NEAR(Run("TQTKBeamFormBoardAddHaunchedFromBoardArea", 1),
                sides + 300.0 * 300 + 300 * std::hypot(600.0, 300.0) - 600.0 * 300, 1.0);
}

}  // namespace
