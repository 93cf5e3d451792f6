// Part-solid deductions, the part of a solid inside a band beside a line,
// the prisms beside a beam and between segments, the cut at a line's side and
// the swept solids and shells of line elements.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntSweep.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

class TPartSolidTest : public TGeometryModelTest {
protected:
    void TearDown() override
    {
        scope_.reset();
        TGeometryModelTest::TearDown();
    }
    // Wall 1 along x from 0 to 6000, wall 2 crossing it at x = 3000 with the
    // part solid of its northern half (x 2880-3120, y 0-2000) up to
    // NeighbourTop, wall 3 apart without a part solid; all 240 thick.
    void LoadCrossingWalls(double top, double neighbourTop)
    {
        const std::string wall = R"({"id": %d, "type": 0, "props": {"Thickness": 240}, "shape": {"kind": "line",
            "start": [%d, %d], "end": [%d, %d], "width": 240, "bottom": 0, "top": %g}})";
        char text[1024];
        std::snprintf(text, sizeof text, ("[" + wall + "," + wall + "," + wall + "]").c_str(), 1, 0, 0, 6000, 0, top, 2,
                      3000, -2000, 3000, 2000, neighbourTop, 3, 0, 5000, 6000, 5000, top);
        Load(text);
        scope_.emplace();
        scope_->Attach<TFakeWallEDO>(DrawObj(2)).partSolid = Box(2880, 0, 0, 3120, 2000, neighbourTop);
        scope_->Attach<TFakeWallEDO>(DrawObj(3));
    }
    std::optional<TFakeEDOScope> scope_;
};

// Wall 1 along x (240 thick, 3000 high); wall 2 crosses it at x = 3000. Wall
// 2 gives way to a column that took its half south of wall 1's axis, so only
// its northern half comes off wall 1: 240 x 120 x 3000, not the whole 240 x
// 240 x 3000 crossing.
TEST_F(TPartSolidTest, DeductPartSolidRemovesWhatTheNeighbourKeeps)
{
    LoadCrossingWalls(3000, 3000);
    struct Case {
        const char* name;
        double (*deduct)(TQTKSolidCalc3d&, IRDXRecord*);
        int neighbour;
        double removed;
    };
    const Case cases[] = {
        {"deduct", DeductPartSolid, 2, 240.0 * 120 * 3000},
        {"add (the same subtraction)", AddPartSolid, 2, 240.0 * 120 * 3000},
        {"a neighbour without a part solid", DeductPartSolid, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQTKSolidCalc3d calc(Box(0, -120, 0, 6000, 120, 3000), RecordRef(Record(1)));
        EXPECT_NEAR(c.deduct(calc, Record(c.neighbour)), c.removed, 1);
        EXPECT_NEAR(calc.GetVolume(), 6000.0 * 240 * 3000 - c.removed, 1);
    }
}

// Wall 1 (240 x 6000) is measured above 3600 in two over-height pieces,
// 3600-4600 weighted 1 and 4600-5600 weighted 2. Wall 2 crosses it and keeps
// only its northern half (the column took the rest), up to 5000: it takes
// 240 x 120 from the whole lower piece and from the lower 400 of the upper.
TEST_F(TPartSolidTest, OverhighPiecesLoseWhatTheNeighbourKeeps)
{
    LoadCrossingWalls(5600, 5000);
    const double crossing = 240.0 * 120;
    struct Case {
        const char* name;
        double (*deduct)(TVRMOverhighSolidCalc3d&, IRDXRecord*);
        int neighbour;
        double removed;
    };
    const Case cases[] = {
        {"crossing", OverhighDeductCrossingPart, 2, crossing * 1000 * 1 + crossing * 400 * 2},
        {"parallel (the same subtraction)", OverhighDeductParallelPart, 2, crossing * 1000 * 1 + crossing * 400 * 2},
        {"a neighbour without a part solid", OverhighDeductCrossingPart, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVRMOverhighSolidCalc3d calc;
        for (int i = 0; i < 2; ++i)
            calc.Add(std::make_unique<TVRMOverhighSolidCalcItem3d>(
                Box(0, -120, 3600 + 1000.0 * i, 6000, 120, 4600 + 1000.0 * i), RecordRef(Record(1)), nullptr, 1.0 + i));
        const double whole = 6000.0 * 240 * 1000 * (1 + 2);
        EXPECT_NEAR(c.deduct(calc, Record(c.neighbour)), c.removed, 1);
        EXPECT_NEAR(calc.GetVolume(), whole - c.removed, 1);
    }
}

// A 240 x 500 x 6000 beam beside a wall line along x; the band 240 wide on
// the line's right (south). Without neighbours the line is not lengthened.
// What the band holds, and the rest of the beam.
TEST_F(TPartSolidTest, CutSolidByLineBandKeepsThePartInsideTheBand)
{
    Load(R"([])");
    const TVRMCustomLine2d wallLine({0, 0}, {6000, 0});
    struct Case {
        const char* name;
        double southEdge;  // the beam spans y from southEdge to southEdge + 240
        bool rightSide;
        double volume;
    };
    const Case cases[] = {
        {"beam in the band: all of it", -240, true, 240.0 * 500 * 6000},
        {"beam half in: half of it", -360, true, 120.0 * 500 * 6000},
        {"beam outside: nothing", -600, true, 0},
        {"beam on the other side of the line", -240, false, 0},
        {"left band", 0, false, 240.0 * 500 * 6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto beam = Box(0, c.southEdge, 2500, 6000, c.southEdge + 240, 3000);
        const auto inside = CutSolidByLineBand(*beam, wallLine, c.rightSide, 240);
        ASSERT_TRUE(inside);
        EXPECT_NEAR(inside->GetVolume(), c.volume, 1);
        EXPECT_EQ(inside->HasFaces(), c.volume > 0);
        // The rest: the beam less the band.
        EXPECT_NEAR(CutLineBandFromSolid(*beam, wallLine, c.rightSide, 240)->GetVolume(), 240.0 * 500 * 6000 - c.volume,
                    1);
    }
    // Without a band (no width) the rest is all of it.
    const auto beam = Box(0, -240, 2500, 6000, 0, 3000);
    EXPECT_NEAR(CutLineBandFromSolid(*beam, wallLine, true, 0)->GetVolume(), 240.0 * 500 * 6000, 1);
}

// A quarter arc of radius 200 (centre at the origin) with a band 240 wide on
// the centre's side: the band is the sector under the arc.
TEST_F(TPartSolidTest, NarrowArcBandIsTheSector)
{
    Load(R"([])");
    const double sector = CVRMPi * 200 * 200 / 4;
    const auto block = Box(-1000, -1000, 0, 1000, 1000, 100);
    struct Case {
        const char* name;
        TVRMCustomLine2d arc;
        bool rightSide;
    };
    const Case cases[] = {
        {"counter-clockwise arc, band on its left", TVRMCustomLine2d::ArcByCenter({0, 0}, 200, 0, CVRMPi / 2), false},
        {"clockwise arc, band on its right", TVRMCustomLine2d::ArcByCenter({0, 0}, 200, CVRMPi / 2, -CVRMPi / 2), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto inside = CutSolidByLineBand(*block, c.arc, c.rightSide, 240);
        EXPECT_NEAR(inside->GetVolume(), sector * 100, sector * 100 * 2e-3);  // arc facets
    }
}

// A beam 300 wide whose top rises from 3300 to 3900 over its 6000 length
// (bottom 2700): the prism beside the piece from x = 1000 to 3000 is 700 high
// at its start and 900 at its end.
TEST_F(TPartSolidTest, BeamSidePrism)
{
    Load(R"([{"id": 1, "type": 15, "props": {"SectionWidth": 300, "SectionHeight": 600},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 300, "startBottom": 2700,
       "endBottom": 2700, "startTop": 3300, "endTop": 3900}}])");
    const TVRMCustomLine2d piece({1000, 0}, {3000, 0});
    const auto prism = BuildBeamSidePrism(Record(1), piece.StartPt(), piece, piece.EndPt());
    EXPECT_NEAR(prism->GetVolume(), 300.0 * 2000 * (700 + 900) / 2, 1);
    const TVRMBox3d box = prism->GetBox();
    EXPECT_NEAR(box.min.y, -150, 1e-6);
    EXPECT_NEAR(box.max.y, 150, 1e-6);
}

// A wall along x whose solid reaches 60 to the left of its line (+y) and
// 180 to the right. The plane through the line's start splits it; the part
// away from the normal comes first.
TEST_F(TPartSolidTest, CutSolidAtLineSide)
{
    Load(R"([
      {"id": 1, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 2, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [6000, 0], "end": [0, 0], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 3, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}}])");
    scope_.emplace();
    for (int id : {1, 2})
        scope_->Attach<TFakeSolidEDO>(DrawObj(id)).solid = *Box(0, -180, 0, 6000, 60, 3000);
    scope_->Attach<TFakeSolidEDO>(DrawObj(3));  // no solid

    const double strip = 6000.0 * 3000;
    struct Case {
        const char* name;
        int wall;
        bool clockwiseNormal;
        double first, second;
    };
    const Case cases[] = {
        {"normal to the right (-y): the left part first", 1, true, strip * 60, strip * 180},
        {"normal to the left (+y): the right part first", 1, false, strip * 180, strip * 60},
        {"the line reversed turns the normal round", 2, true, strip * 180, strip * 60},
        {"an element without a solid", 3, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TVRMPolyhedron3d> second;
        const auto first = CutSolidAtLineSide(Record(c.wall), c.clockwiseNormal, second);
        ASSERT_TRUE(first && second);
        EXPECT_NEAR(first->GetVolume(), c.first, 1);
        EXPECT_NEAR(second->GetVolume(), c.second, 1);
    }
}

// The prism along the part of a line along x (0 to 6000) between the second
// and third of the segments' end points taken onto it.
TEST_F(TPartSolidTest, PrismFromSegments)
{
    Load(R"([])");
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    const TQTKPrismValues level{240, 120, 0, 3000, 0, 3000};
    const TQTKPrismValues rising{240, 120, 0, 3000, 0, 3600};
    struct Case {
        const char* name;
        TVRMCustomLine2d segment1, segment2;
        TQTKPrismValues values;
        double volume;
    };
    const Case cases[] = {
        // Feet 0 (the first end, before the line, is taken to its start), 5000, 300, 6000: 300 to 5000.
        {"side lines of different lengths",
         {{-500, 120}, {5000, 120}},
         {{300, -120}, {6500, -120}},
         level,
         240.0 * 4700 * 3000},
        {"segments running the other way",
         {{5000, 120}, {-500, 120}},
         {{6500, -120}, {300, -120}},
         level,
         240.0 * 4700 * 3000},
        // The piece from 300 to 5000 carries the values at its own ends: 3000 to 3600.
        {"top rising along the piece",
         {{-500, 120}, {5000, 120}},
         {{300, -120}, {6500, -120}},
         rising,
         240.0 * 4700 * 3300},
        {"segments meeting the line at one point", {{2000, 500}, {2000, -500}}, {{2000, 100}, {2000, 900}}, level, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto prism = BuildPrismFromSegments(line, c.segment1, c.segment2, c.values);
        ASSERT_TRUE(prism);
        EXPECT_NEAR(prism->GetVolume(), c.volume, 1);
        EXPECT_EQ(prism->HasFaces(), c.volume > 0);
    }
}

// Line elements along x from 0 to 6000. The cut lines run 500 either side of
// the line: the solid builder's prism between them is 1000 wide, the swept
// section only as wide as the section.
constexpr const char* CSweptElements = R"([
  {"id": 1, "type": 0, "props": {"Thickness": 240, "AxisOffset": 120, "SectionTypeID": 0},
   "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
  {"id": 2, "type": 15, "props": {"SectionTypeID": 2, "SectionWidth": 500, "SectionHeight": 600, "AxisOffset": 250},
   "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 500, "axisOffset": 250,
             "bottom": 2400, "top": 3000, "section": [[[-150, 0], [150, 0], [250, 600], [-250, 600]]]}},
  {"id": 3, "type": 15, "props": {"SectionTypeID": 2, "SectionWidth": 500, "SectionHeight": 600, "AxisOffset": 250},
   "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 500, "axisOffset": 250,
             "startBottom": 2400, "startTop": 3000, "endBottom": 3000, "endTop": 3600,
             "section": [[[-150, 0], [150, 0], [250, 600], [-250, 600]]]}}])";

TEST_F(TPartSolidTest, LineEntSweptSolid)
{
    Load(CSweptElements);
    const TVRMCustomLine2d left({0, 500}, {6000, 500}), right({0, -500}, {6000, -500});
    const TVRMCustomLine2d shortLeft({1000, 500}, {5000, 500}), shortRight({1000, -500}, {5000, -500});
    const double trapezoid = (300.0 + 500) / 2 * 600;
    struct Case {
        const char* name;
        int element;
        const TVRMCustomLine2d &cut1, &cut2;
        double volume;
        double top;  // of the solid's box
    };
    const Case cases[] = {
        {"a wall: the solid builder's prism between the cut lines", 1, left, right, 1000.0 * 6000 * 3000, 3000},
        {"a trapezoid beam: its section swept, trimmed to the cut lines", 2, shortLeft, shortRight, trapezoid * 4000,
         3000},
        // Along the rising beam the section's top is on the top elevation: 3100 at x = 1000, 3500 at 5000.
        {"a rising trapezoid beam", 3, shortLeft, shortRight, trapezoid * 4000, 3500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto solid = BuildLineEntSweptSolid(DrawObj(c.element), c.cut1, c.cut2);
        ASSERT_TRUE(solid);
        EXPECT_NEAR(solid->GetVolume(), c.volume, 1e-9 * std::max(1.0, c.volume));
        EXPECT_EQ(solid->HasFaces(), c.volume > 0);
        if (solid->HasFaces()) {
            EXPECT_NEAR(solid->GetBox().max.z, c.top, 1e-6);
        }
    }
}

// The faces of single section lines of the trapezoid beam, trimmed to the
// cut lines from x = 1000 to 5000.
TEST_F(TPartSolidTest, LineEntSweptShell)
{
    Load(CSweptElements);
    const TVRMCustomLine2d shortLeft({1000, 500}, {5000, 500}), shortRight({1000, -500}, {5000, -500});
    const TVRMCustomLine2d bottom({-150, 0}, {150, 0});
    const TVRMCustomLine2d rightSide({150, 0}, {250, 600});
    // A section of the beam's own width drawn from x = 0: with "AxisOffset"
    // 250 its reference point is (250, 500), so its bottom hangs 500 below the top.
    TVRMMultiPolygon2d ownSection;
    ownSection.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {500, 0}, {500, 500}, {0, 500}}));
    const TVRMCustomLine2d ownBottom({0, 0}, {500, 0});
    // An upright line 150 left of the axis stands on the cut line 150 left
    // of the line: kept.
    const TVRMCustomLine2d onCut({-150, 0}, {-150, 600});
    const TVRMCustomLine2d cutLeft({1000, 150}, {5000, 150}), cutRight({1000, -500}, {5000, -500});
    TVRMMultiPolygon2d flat;
    flat.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {500, 0}, {250, 0}}));
    struct Case {
        const char* name;
        int element;
        std::vector<TVRMCustomLine2d> lines;
        const TVRMMultiPolygon2d* section;
        const TVRMCustomLine2d &cut1, &cut2;
        double area;
        double bottom;  // of the shell's faces
    };
    const Case cases[] = {
        {"bottom line", 2, {bottom}, nullptr, shortLeft, shortRight, 300.0 * 4000, 2400},
        {"bottom and a slanting side",
         2,
         {bottom, rightSide},
         nullptr,
         shortLeft,
         shortRight,
         (300.0 + std::hypot(100, 600)) * 4000,
         2400},
        {"a section given: its box places the lines",
         2,
         {ownBottom},
         &ownSection,
         shortLeft,
         shortRight,
         500.0 * 4000,
         2500},
        {"a face on a cut line", 2, {onCut}, nullptr, cutLeft, cutRight, 600.0 * 4000, 2400},
        {"a section without area", 2, {ownBottom}, &flat, shortLeft, shortRight, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto shell = BuildLineEntSweptShell(DrawObj(c.element), c.lines, c.cut1, c.section, c.cut2);
        ASSERT_TRUE(shell);
        EXPECT_NEAR(shell->GetArea(), c.area, 1e-9 * std::max(1.0, c.area));
        EXPECT_EQ(shell->HasFaces(), c.area > 0);
        double low = shell->HasFaces() ? 1e300 : 0;
        for (const TVRMFace3d& face : shell->GetFaces())
            low = std::min(low, face.GetBox().min.z);
        EXPECT_NEAR(low, c.bottom, 1e-6);
    }
}

// A line without length or a section without area gives no solid and no
// faces (nothing is divided by their sizes).
TEST(PartSolidSweepGuards, NothingToSweep)
{
    TTestBuilding building;
    const TTestProps props{{"SectionTypeID", std::int64_t{2}}, {"AxisOffset", 250.0}};
    building.AddLine(1, 15, 3000, 0, 3000, 0, 500, 2400, 3000, props);  // no length
    building.AddLine(2, 15, 0, 0, 6000, 0, 500, 3000, 3000, props);     // no height: a section without area
    building.Activate();
    const TVRMCustomLine2d left({0, 250}, {6000, 250}), right({0, -250}, {6000, -250});
    const std::vector<TVRMCustomLine2d> bottom{TVRMCustomLine2d({-250, 0}, {250, 0})};
    for (int id : {1, 2}) {
        SCOPED_TRACE(id);
        const auto solid = BuildLineEntSweptSolid(building.DrawObj(id), left, right);
        ASSERT_TRUE(solid);
        EXPECT_FALSE(solid->HasFaces());
        EXPECT_EQ(solid->GetVolume(), 0.0);
        const auto shell = BuildLineEntSweptShell(building.DrawObj(id), bottom, left, nullptr, right);
        ASSERT_TRUE(shell);
        EXPECT_FALSE(shell->HasFaces());
        EXPECT_EQ(shell->GetArea(), 0.0);
    }
}

}  // namespace
