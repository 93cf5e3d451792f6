// The beam formwork rules. A deduction works on the shell the original rule
// filled, so each case runs the original formwork rule first (the beam's
// left, right, bottom and top faces) and then the rule under test.
//
// Beam 1 is 240 x 500 along x from 0 to 6000 (y -120 to 120) from 2500 to
// 3000 unless a case says otherwise: sides 6000 x 500 each, bottom 6000 x
// 240, a level top without formwork. The superposition kinds: a neighbour
// that takes precedence also takes the beam faces lying on its own surface
// (facing the same way); otherwise only the faces inside it or touching it.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamFormBoardAreaCalculator.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/BeamStrategies/BeamRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Beam(int id, int type, double x0, double y0, double x1, double y1, double height, double top,
                 const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": )" + std::to_string(height) +
           R"(, "TopElev": )" + std::to_string(top) + R"(, "Material": "混凝土")" + props +
           R"(}, "shape": {"kind": "line", "start": [)" + std::to_string(x0) + ", " + std::to_string(y0) +
           "], \"end\": [" + std::to_string(x1) + ", " + std::to_string(y1) + "]}}";
}

std::string Beam1(const std::string& props = "")
{
    return Beam(1, 15, 0, 0, 6000, 0, 500, 3000, props);
}

std::string Wall(int id, double x0, double y0, double x1, double y1, double thickness, double top,
                 const std::string& props = R"(, "Material": "砖")")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": )" +
           std::to_string(thickness) + R"(, "BottomElev": 0, "TopElev": )" + std::to_string(top) + props +
           R"(}, "shape": {"kind": "line", "start": [)" + std::to_string(x0) + ", " + std::to_string(y0) +
           "], \"end\": [" + std::to_string(x1) + ", " + std::to_string(y1) + "]}}";
}

std::string Elements(const std::vector<std::string>& items)
{
    std::string text = "[";
    for (const std::string& item : items)
        text += (text.size() > 1 ? ", " : "") + item;
    return text + "]";
}

struct TFormworkCase {
    const char* name;
    const char* rule;
    std::vector<std::string> elements;
    std::vector<int> priorities;
    int object;
    double expected;
};

void RunFormworkCases(const std::vector<TFormworkCase>& cases)
{
    for (const TFormworkCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", " + c.rule);
        const auto building = BeamBuilding(Elements(c.elements), c.priorities);
        EXPECT_NEAR(RunAfterFormwork(c.rule, *building, 1, c.object), c.expected, 1.0);
    }
}

// The original rules on beam 1 alone and with a 20 mm brick mould; the
// foundation beam's sides on a 240 x 500 foundation beam.
TEST(BeamFormworkRules, OriginalFacesAndBrickMoulds)
{
    struct TCase {
        const char* rule;
        int type;
        const char* props;
        double expected;
    };
    const char* const mould = R"(, "BrickMoldThickness": 20)";
    const std::vector<TCase> cases = {
        {"TQTKBeamOriginalFormboardArea", 15, "", 2 * 6000.0 * 500 + 6000.0 * 240},
        {"TQTKBeamLeftOriginalFromboardArea", 15, "", 6000.0 * 500},
        {"TQTKBeamLeftOriginalFromboardArea", 15, mould, 6000.0 * 500},
        {"TQTKBeamLeftOriginalFromboardAreaConsiderBrick", 15, "", 6000.0 * 500},
        {"TQTKBeamLeftOriginalFromboardAreaConsiderBrick", 15, mould, 0.0},
        {"TQTKBeamRightOriginalFromboardArea", 15, mould, 6000.0 * 500},
        {"TQTKBeamRightOriginalFromboardAreaConsiderBrick", 15, "", 6000.0 * 500},
        {"TQTKBeamRightOriginalFromboardAreaConsiderBrick", 15, mould, 0.0},
        {"TQTKBeamBottomOriginalFromboardArea", 15, "", 6000.0 * 240},
        {"TQTKBeamEndOriginalFromboardArea", 15, "", 2 * 240.0 * 500},
        {"TQTKFDBeamOriginalSideFormBoardArea", 47, mould, 2 * 6000.0 * 500},
        {"TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness", 47, "", 2 * 6000.0 * 500},
        {"TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness", 47, mould, 0.0},
        {"TQTKBeamFormBoardAddHaunchedFromBoardArea", 15, "", 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + c.props);
        const auto building = BeamBuilding(Elements({Beam(1, c.type, 0, 0, 6000, 0, 500, 3000, c.props)}));
        EXPECT_NEAR(RunBeamRule(c.rule, *building, 1, 0), c.expected, 1.0);
    }
}

// A 250 x 600 beam with two haunches (500 long, 250 deep, 250 wide) at its
// ends: the total formwork is taken on the beam without its haunches
// (sides 2 x 6000 x 600, bottom 6000 x 250), the haunch rule adds each
// haunch's two side triangles, its end face and its sloping face, less the
// 500 x 250 of beam bottom it covers; together no face counts twice.
TEST(BeamFormworkRules, HaunchesAreAddedOnceToTheBeamWithoutThem)
{
    const auto building = BeamBuilding(R"([{"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 250,
        "SectionHeight": 600}, "haunches": [{"startA": 500, "startB": 250, "endA": 500, "endB": 250, "width": 250}],
        "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000,
        "sectionInfo": {"haunch": 1}}}])");
    const double beam = 2 * 6000.0 * 600 + 6000.0 * 250;
    const double haunch = 2 * 500.0 * 250 / 2 + 250.0 * 250 + 250 * std::hypot(500.0, 250.0) - 500.0 * 250;
    EXPECT_NEAR(RunBeamRule("TQTKBeamOriginalFormboardArea", *building, 1, 0), beam, 1.0);
    EXPECT_NEAR(RunBeamRule("TQTKBeamFormBoardAddHaunchedFromBoardArea", *building, 1, 0), 2 * haunch, 0.01);
    const auto edo = RefCast<IQTKBeamCalcEDO>(GetCalcEDO(building->Record(1), true));
    EXPECT_FALSE(edo->GetUseArchSolid());
    EXPECT_NEAR(edo->GetFormboardShell()->GetArea(), beam + 2 * haunch, 0.01);
    // A beam that is no foundation beam gets nothing from the foundation beam's haunch rule.
    EXPECT_NEAR(RunBeamRule("TQTKFDBeamFormBoardAddHaunchedFromBoardArea", *building, 1, 0), 0.0, 1e-9);
}

// Walls and slabs by fact, beams by cut priority, slabs flush at the bottom.
TEST(BeamFormworkRules, DeductionsByPrecedence)
{
    // Concrete wall 2 under the beam (0 to 2500) with fill wall 3 laid in it
    // (x 1000 to 4000, y 0 to 120): the wall routine takes the concrete
    // wall's own solid, the bottom less 3000 x 120. A brick wall takes its
    // solid as it is: the whole bottom.
    const std::string concrete = Wall(2, 0, 0, 6000, 0, 240, 2500, R"(, "Material": "混凝土")");
    const std::string brick = Wall(2, 0, 0, 6000, 0, 240, 2500);
    const std::string fill = Wall(3, 1000, 60, 4000, 60, 120, 2500, R"(, "Material": "砖", "IsFillWall": true)");
    // Beam 2 across beam 1's end: beam 1 butts into it (x 2880 to 3000 of
    // beam 1 inside beam 2: its sides there, 2 x 120 x 500, and, flush with
    // beam 2's bottom, 120 x 240 of its bottom when it gives way).
    const std::string shortBeam = Beam(1, 15, 0, 0, 3000, 0, 500, 3000);
    const std::string crossBeam = Beam(2, 15, 3000, -2000, 3000, 2000, 500, 3000);
    // Slab 4 north of the beam's axis, 120 thick (2880 to 3000) on a 240 x
    // 120 beam (2880 to 3000): the beam's left side lies in it (6000 x 120)
    // and the north half of its bottom (6000 x 120) is flush with the slab's
    // bottom; reaching 5 mm lower, the slab takes that half too.
    const std::string lowBeam = Beam(1, 15, 0, 0, 6000, 0, 120, 3000);
    const auto slab = [](double thickness) {
        return R"({"id": 4, "type": 19, "floor": 1, "props": {"Thickness": )" + std::to_string(thickness) +
               R"(, "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "face",
               "outline": [[-1000, 0], [7000, 0], [7000, 3000], [-1000, 3000]]}})";
    };
    RunFormworkCases({
        {"concrete wall with a fill wall",
         "TQTKBeamFormBoardAreaDeductByFact",
         {Beam1(), concrete, fill},
         {},
         2,
         6000.0 * 240 - 3000.0 * 120},
        {"brick wall", "TQTKBeamFormBoardAreaDeductByFact", {Beam1(), brick}, {}, 2, 6000.0 * 240},
        {"beam butting into another beam gives way",
         "TQTKBeamFormBoardAreaDeductBeam",
         {shortBeam, crossBeam},
         {15},
         2,
         2 * 120.0 * 500 + 120.0 * 240},
        {"the same by fact",
         "TQTKBeamFormBoardAreaDeductByFact",
         {shortBeam, crossBeam},
         {15},
         2,
         2 * 120.0 * 500 + 120.0 * 240},
        {"slab lower in priority, flush at the bottom",
         "TQTKBeamFormBoardAreaDeductSameBottomElevBoard",
         {lowBeam, slab(120)},
         {15, 19},
         4,
         6000.0 * 120 + 6000.0 * 120},
        {"slab lower in priority, thinner",
         "TQTKBeamFormBoardAreaDeductSameBottomElevBoard",
         {lowBeam, slab(100)},
         {15, 19},
         4,
         6000.0 * 100},
        {"slab lower in priority by fact: the flush half stays",
         "TQTKBeamFormBoardAreaDeductByFact",
         {lowBeam, slab(120)},
         {15, 19},
         4,
         6000.0 * 120},
        {"slab first by fact",
         "TQTKBeamFormBoardAreaDeductByFact",
         {lowBeam, slab(120)},
         {19, 15},
         4,
         6000.0 * 120 + 6000.0 * 120},
    });
    // Beam 2 does not give way to the beam butting into it: only the side
    // face of beam 2 inside beam 1 (240 x 500) goes, not the bottom flush with
    // beam 1's.
    const auto building = BeamBuilding(Elements({shortBeam, crossBeam}), {15});
    EXPECT_NEAR(RunAfterFormwork("TQTKBeamFormBoardAreaDeductBeam", *building, 2, 1), 240.0 * 500, 1.0);
}

// The take-off frees an element's cache after each of its quantities on the
// element's own thread while rules on other threads deduct it. Beam 1 butts
// into beam 2 as above; each beam's formwork less the other, its cache freed
// after each, on two threads at once gives what it gives alone.
TEST(BeamFormworkRules, BeamsFreeTheirCachesWhileTheOtherDeductsThemOnTwoThreads)
{
    const auto building = BeamBuilding(
        Elements({Beam(1, 15, 0, 0, 3000, 0, 500, 3000), Beam(2, 15, 3000, -2000, 3000, 2000, 500, 3000)}), {15});
    struct TSide {
        int subject;
        int object;
        double expected;
    };
    const std::vector<TSide> sides = {{1, 2, 2 * 120.0 * 500 + 120.0 * 240}, {2, 1, 240.0 * 500}};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (const TSide& side : sides)
        threads.emplace_back([&building, &wrong, side] {
            for (int i = 0; i < 20; ++i) {
                const double area =
                    RunAfterFormwork("TQTKBeamFormBoardAreaDeductBeam", *building, side.subject, side.object);
                if (std::abs(area - side.expected) > 1.0)
                    ++wrong;
                GetCalcEDO(building->Record(side.subject), true)->FreeCalcCache();
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

// Beam 1 (240 x 400, 2600 to 3000) from 0 to 3000 stems into beam 2 (300 x
// 600, 2400 to 3000) across it at 3000: beam 1 is the secondary beam. Inside
// beam 2 (x 2850 to 3000) lie both its sides, 2 x 150 x 400, and its bottom,
// 150 x 240. The main beam gives nothing to its secondary beam.
// Slab 4 north of beam 1's axis (the 240 x 500 beam along x to 6000), 120
// thick: by fact it takes the beam's left side where it lies in the slab,
// 6000 x 120; the slab's cut along the beam (its band 10 wider than the
// beam on each side, the slab's thickness deep) takes the right side's top
// 120 too.
TEST(BeamFormworkRules, SecondaryBeamsAndSlabCuts)
{
    const std::string secondary = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240,
        "SectionHeight": 400, "TopElev": 3000, "Material": "混凝土", "Type2": 1},
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0]}})";
    const std::string main = R"({"id": 2, "type": 15, "floor": 1, "props": {"SectionWidth": 300,
        "SectionHeight": 600, "TopElev": 3000, "Material": "混凝土", "Type2": 1},
        "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000]}})";
    const std::string slab = R"({"id": 4, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000,
        "Material": "混凝土"}, "shape": {"kind": "face", "outline": [[-1000, 0], [7000, 0], [7000, 3000],
        [-1000, 3000]]}})";
    RunFormworkCases({
        {"secondary beam",
         "TQTKBeamFromBoardAreaDeductSubBeam",
         {secondary, main},
         {},
         2,
         2 * 150.0 * 400 + 150.0 * 240},
        {"slab by fact", "TQTKBeamFormBoardAreaDeductByFact", {Beam1(), slab}, {}, 4, 6000.0 * 120},
        {"slab with its cut", "TQTKBeamFormBoardAreaDeductSlabForFUJIAN", {Beam1(), slab}, {}, 4, 2 * 6000.0 * 120},
    });
    const auto building = BeamBuilding(Elements({secondary, main}));
    EXPECT_NEAR(RunAfterFormwork("TQTKBeamFromBoardAreaDeductSubBeam", *building, 2, 1), 0.0, 1e-6);
}

// Foundation beam 1 of TrenchUnderFDBeam: a crossing trench takes the beam's
// sides and bottom inside its whole solid, 2 x 1000 x 500 + 1000 x 240; a
// parallel one nothing.
TEST(BeamFormworkRules, TrenchAcrossTheFoundationBeam)
{
    struct TCase {
        const char* name;
        bool across;
        double expected;
    };
    const std::vector<TCase> cases = {{"across", true, 2 * 1000.0 * 500 + 1000.0 * 240}, {"along", false, 0.0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFakeEDOScope fakes;
        const auto building = TrenchUnderFDBeam(c.across, fakes);
        EXPECT_NEAR(RunAfterFormwork("TQTKFDBeamFormBoardAreaDeductTrench", *building, 1, 3), c.expected, 0.01);
    }
}

// Walls along and across the beam.
TEST(BeamFormworkRules, WallsAlongAndAcross)
{
    const std::string under240 = Wall(2, 0, 0, 6000, 0, 240, 2500);
    const std::string under300 = Wall(2, 0, 0, 6000, 0, 300, 2500);
    // A wall across the beam at 3000 up to 3000: the beam's sides and bottom
    // inside it, 2 x 240 x 500 + 240 x 240.
    const std::string across = Wall(2, 3000, -2000, 3000, 2000, 240, 3000);
    const double crossing = 2 * 240.0 * 500 + 240.0 * 240;
    // A parallel wall from 1000 to 4000: the beam's section over its span,
    // both sides and the bottom over 3000.
    const std::string part = Wall(2, 1000, 0, 4000, 0, 240, 2500);
    const double span = 3000.0 * (2 * 500 + 240);
    RunFormworkCases({
        {"parallel", "TQTKBeamFormBoardAreaDeductParallelWall", {Beam1(), under240}, {}, 2, 6000.0 * 240},
        {"crossing", "TQTKBeamFormBoardAreaDeductParallelWall", {Beam1(), across}, {}, 2, 0.0},
        {"parallel", "TQTKBeamFormBoardAreaDeductNotParallelWall", {Beam1(), under240}, {}, 2, 0.0},
        {"crossing", "TQTKBeamFormBoardAreaDeductNotParallelWall", {Beam1(), across}, {}, 2, crossing},
        {"parallel", "TQTKBeamFormBoardAreaGiveWallFormBoardArea", {Beam1(), part}, {}, 2, span},
        {"crossing", "TQTKBeamFormBoardAreaGiveWallFormBoardArea", {Beam1(), across}, {}, 2, 0.0},
        {"parallel", "TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall", {Beam1(), part}, {}, 2, span},
        {"crossing",
         "TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall",
         {Beam1(), across},
         {},
         2,
         crossing},
        // A wall as thick as the beam goes first; a thicker one is no part of the beam.
        {"as thick", "TQTKBeamFormBoardAreaGiveWallWhenSameThickness", {Beam1(), under240}, {}, 2, 6000.0 * 240},
        {"thicker", "TQTKBeamFormBoardAreaGiveWallWhenSameThickness", {Beam1(), under300}, {}, 2, 0.0},
        {"thicker",
         "TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall",
         {Beam1(), under300},
         {},
         2,
         6000.0 * 240},
        {"crossing",
         "TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall",
         {Beam1(), across},
         {},
         2,
         crossing},
        {"crossing", "TQTKOutBeamFormBoardDeductWall", {Beam1(), across}, {}, 2, 0.0},
        {"crossing", "TQTKOutBeamFormBoardDeductWallDeductNotParallelWall", {Beam1(), across}, {}, 2, crossing},
    });
}

// An outer beam in the band of a 240 outer wall that reaches its top (0 to
// 3000): the beam's bottom lies inside the wall. With the wall's left face
// external the beam's left side lies in it: the wall's left half takes that
// side (6000 x 500) and the left half of the bottom with both kinds; the
// right half, lowered 1 mm, takes the right half of the bottom by contact
// and leaves the right side, which only lies on it. With both faces external
// the whole wall goes first (both sides and the bottom); with neither the
// wall touches only (the bottom).
TEST(BeamFormworkRules, OuterBeamFlushWithAnExternalWallFace)
{
    struct TCase {
        const char* name;
        bool left, right;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"left face external", true, false, 6000.0 * 500 + 6000.0 * 240},
        {"right face external", false, true, 6000.0 * 500 + 6000.0 * 240},
        {"both faces external", true, true, 2 * 6000.0 * 500 + 6000.0 * 240},
        {"no face external", false, false, 6000.0 * 240},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* rule :
             {"TQTKOutBeamFormBoardDeductWall", "TQTKOutBeamFormBoardDeductWallDeductNotParallelWall"}) {
            SCOPED_TRACE(rule);
            const auto building = BeamBuilding(Elements({Beam1(), Wall(2, 0, 0, 6000, 0, 240, 3000)}));
            const auto wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(building->Record(2), true));
            wall->SetLeftSideExternal(c.left);
            wall->SetRightSideExternal(c.right);
            EXPECT_NEAR(RunAfterFormwork(rule, *building, 1, 2), c.expected, 1.0);
        }
    }
}

// Ring beam 1 (type 18) on a brick wall along it. The wall reaching the
// ring beam's bottom (2500) takes its bottom by contact; lowered 1 mm it
// takes nothing. Of a wall up to the ring beam's top, the part below the
// ring beam takes the bottom.
TEST(BeamFormworkRules, RingBeamOnAMasonryWall)
{
    const std::string ring = Beam(1, 18, 0, 0, 6000, 0, 500, 3000);
    RunFormworkCases({
        {"wall up to the ring beam",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWall",
         {ring, Wall(2, 0, 0, 6000, 0, 240, 2500)},
         {},
         2,
         6000.0 * 240},
        {"wall 1 mm lower",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWall",
         {ring, Wall(2, 0, 0, 6000, 0, 240, 2499)},
         {},
         2,
         0.0},
        {"wall across",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWall",
         {ring, Wall(2, 3000, -2000, 3000, 2000, 240, 2500)},
         {},
         2,
         0.0},
        {"wall up to the ring beam",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom",
         {ring, Wall(2, 0, 0, 6000, 0, 240, 2500)},
         {},
         2,
         6000.0 * 240},
        {"wall through the ring beam: its part below",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom",
         {ring, Wall(2, 0, 0, 6000, 0, 240, 3000)},
         {},
         2,
         6000.0 * 240},
        {"wall 1 mm lower",
         "TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom",
         {ring, Wall(2, 0, 0, 6000, 0, 240, 2499)},
         {},
         2,
         0.0},
    });
}

// Ring beam 1 over lintel 3 (240 wide, 2300 to 2500): along it, the ring
// beam's section over the lintel's 2000 (x 2000 to 4000) takes both sides
// and the bottom there; across it (at x 3000), the lintel's top touches
// 240 x 240 of the bottom.
TEST(BeamFormworkRules, RingBeamOverALintel)
{
    const std::string ring = Beam(1, 18, 0, 0, 6000, 0, 500, 3000);
    const auto lintel = [](double x0, double y0, double x1, double y1) {
        return R"({"id": 3, "type": 12, "floor": 1, "props": {"SectionWidth": 240, "BottomElev": 2300,
            "TopElev": 2500, "StartPtTopElev": 2500, "EndPtTopElev": 2500, "Material": "混凝土"},
            "shape": {"kind": "line", "start": [)" +
               std::to_string(x0) + ", " + std::to_string(y0) + "], \"end\": [" + std::to_string(x1) + ", " +
               std::to_string(y1) + R"(], "width": 240}})";
    };
    RunFormworkCases({
        {"along",
         "TQTKTieBeamFormBoardAreaDeductLintel",
         {ring, lintel(2000, 0, 4000, 0)},
         {},
         3,
         2000.0 * (2 * 500 + 240)},
        {"across", "TQTKTieBeamFormBoardAreaDeductLintel", {ring, lintel(3000, -1000, 3000, 1000)}, {}, 3, 240.0 * 240},
    });
}

// Beam 1 (240 x 500, 2100 to 2600) on brick wall 2 (0 to 2100) with door 3,
// 1000 x 2100, in the wall at 3000: the beam rests on the door's head. The
// door's own solid takes no beam face lying on it facing the same way, and
// the reveal strip under the beam, the head's 1000 by the thinner of the
// beam and the wall, is given back.
TEST(BeamFormworkRules, OpeningsUnderTheBeam)
{
    const std::string beam = Beam(1, 15, 0, 0, 6000, 0, 500, 2600);
    const auto wall = [](double thickness) { return Wall(2, 0, 0, 6000, 0, thickness, 2100); };
    const auto door = [](int floor, double at) {
        return R"({"id": 3, "type": 4, "floor": )" + std::to_string(floor) +
               R"(, "parent": 2, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100, "AboveFloorHeight": 0,
               "EDOPID": 2}, "shape": {"kind": "opening", "at": )" +
               std::to_string(at) + "}}";
    };
    // A concrete lintel over the door, inside the beam's foot.
    const std::string lintel = R"({"id": 4, "type": 12, "floor": 1, "parent": 3, "props": {"SectionWidth": 200,
        "BottomElev": 2100, "TopElev": 2200, "StartPtTopElev": 2200, "EndPtTopElev": 2200, "Material": "混凝土"},
        "shape": {"kind": "line", "start": [2400, 0], "end": [3600, 0], "width": 200}})";
    const std::string crossWall = Wall(2, 3000, -3000, 3000, 3000, 200, 2100);
    const char* const rule = "TQTKBeamFormBoardAreaDeductWallHole";
    RunFormworkCases({
        {"200 wall: the strip is the wall's width", rule, {beam, wall(200), door(1, 3000)}, {}, 3, -1000.0 * 200},
        {"300 wall: the strip is the beam's width", rule, {beam, wall(300), door(1, 3000)}, {}, 3, -1000.0 * 240},
        {"door on another floor", rule, {beam, wall(200), door(2, 3000)}, {}, 3, 0.0},
        {"door in a crossing wall", rule, {beam, crossWall, door(1, 3000)}, {}, 3, 0.0},
        {"lintel lower in priority over the door", rule, {beam, wall(200), door(1, 3000), lintel}, {15, 12}, 3, 0.0},
        {"lintel higher in priority over the door",
         rule,
         {beam, wall(200), door(1, 3000), lintel},
         {12, 15},
         3,
         -1000.0 * 200},
    });
}

TEST(BeamFormworkRules, EveryNameAnswersWithItsOwnClass)
{
    struct TCase {
        const char* name;
        bool (*isOf)(IQTKCalcStrategy*);
    };
    // clang-format off
#define QTK_BEAM_CASE(name) {#name, &IsRuleOf<name>}
    // clang-format on
    const std::vector<TCase> cases = {
        QTK_BEAM_CASE(TQTKBeamOriginalFormboardArea),
        QTK_BEAM_CASE(TQTKBeamLeftOriginalFromboardArea),
        QTK_BEAM_CASE(TQTKBeamLeftOriginalFromboardAreaConsiderBrick),
        QTK_BEAM_CASE(TQTKBeamRightOriginalFromboardArea),
        QTK_BEAM_CASE(TQTKBeamRightOriginalFromboardAreaConsiderBrick),
        QTK_BEAM_CASE(TQTKBeamBottomOriginalFromboardArea),
        QTK_BEAM_CASE(TQTKBeamEndOriginalFromboardArea),
        QTK_BEAM_CASE(TQTKFDBeamOriginalSideFormBoardArea),
        QTK_BEAM_CASE(TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness),
        QTK_BEAM_CASE(TQTKBeamFormBoardAddHaunchedFromBoardArea),
        QTK_BEAM_CASE(TQTKFDBeamFormBoardAddHaunchedFromBoardArea),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductByFact),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductSlabForFUJIAN),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductBeam),
        QTK_BEAM_CASE(TQTKBeamFromBoardAreaDeductSubBeam),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductSameBottomElevBoard),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductBeelineStearSeg),
        QTK_BEAM_CASE(TQTKFDBeamFormBoardAreaDeductTrench),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductParallelWall),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaGiveWallFormBoardArea),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaGiveWallWhenSameThickness),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKOutBeamFormBoardDeductWall),
        QTK_BEAM_CASE(TQTKOutBeamFormBoardDeductWallDeductNotParallelWall),
        QTK_BEAM_CASE(TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom),
        QTK_BEAM_CASE(TQTKTieBeamFormBoardAreaDeductParellelMasonryWall),
        QTK_BEAM_CASE(TQTKTieBeamFormBoardAreaDeductLintel),
        QTK_BEAM_CASE(TQTKBeamFormBoardAreaDeductWallHole),
    };
#undef QTK_BEAM_CASE
    for (const TCase& c : cases) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(c.name));
        EXPECT_TRUE(c.isOf(rule.get())) << c.name;
    }
}

}  // namespace
