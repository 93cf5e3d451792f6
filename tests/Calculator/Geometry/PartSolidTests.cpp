// Part-solid deductions, the part of a solid inside a band beside a line and
// the prism beside a beam.
#include <gtest/gtest.h>

#include <optional>

#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
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
    std::optional<TFakeEDOScope> scope_;
};

// Wall 1 along x (240 thick, 3000 high); wall 2 crosses it at x = 3000. Wall
// 2 gives way to a column that took its half south of wall 1's axis, so only
// its northern half comes off wall 1: 240 x 120 x 3000, not the whole 240 x
// 240 x 3000 crossing.
TEST_F(TPartSolidTest, DeductPartSolidRemovesWhatTheNeighbourKeeps)
{
    Load(R"([
      {"id": 1, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 2, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 3, "type": 0, "props": {"Thickness": 240},
       "shape": {"kind": "line", "start": [0, 5000], "end": [6000, 5000], "width": 240, "bottom": 0, "top": 3000}}])");
    scope_.emplace();
    scope_->Attach<TFakeWallEDO>(DrawObj(2)).partSolid = Box(2880, 0, 0, 3120, 2000, 3000);
    scope_->Attach<TFakeWallEDO>(DrawObj(3));  // no part solid

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

// A 240 x 500 x 6000 beam beside a wall line along x; the band 240 wide on
// the line's right (south). Without neighbours the line is not lengthened.
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
    }
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

}  // namespace
