// Whether an opening belongs to a wall or a line element, whether a wall lies
// within a beam's width, and the outline area hole-size limits compare with.
// Each test is pinned on fixtures just inside and just outside its limit,
// with the lines drawn both ways.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Relations/RelationFixtures.h"
#include "tests/Support/TestBuilding.h"

using namespace relations_test;

namespace {

class TRelationTest : public ::testing::Test {
protected:
    void Load(const std::string& elements)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate();
    }
    IRDXRecord* Record(int id) const { return building_->Record(id); }

    std::unique_ptr<TTestBuilding> building_;
};

// ---------------------------------------------------------------------------
// IsOpeningInWall: a wall 240 thick on its axis (faces at y = +120 left and
// y = -120 right of its +x direction) and a ribbon window 120 deep whose axis
// is its left face (AxisOffset 0), so its band lies right of its line when it
// runs with the wall and left of it when it runs against it.

struct TRibbonInWallCase {
    const char* name;
    double y;       // the ribbon window's line, from x 1000 to 3000 or back
    bool reversed;  // the line runs from x 3000 to 1000
    bool expected;
};

class TOpeningInWallTest : public TRelationTest, public ::testing::WithParamInterface<TRibbonInWallCase> {};

TEST_P(TOpeningInWallTest, RibbonWindowBandWithinTheWall)
{
    const TRibbonInWallCase& c = GetParam();
    const double x0 = c.reversed ? 3000 : 1000, x1 = c.reversed ? 1000 : 3000;
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Line(2, 8, x0, c.y, x1, c.y, 120, 0, 900, 2400));
    EXPECT_EQ(IsOpeningInWall(Record(1), Record(2)), c.expected);
}

// With the wall: band [d, d + 120] with d = -y; against it: [d - 120, d].
// The length tolerance is 0.0010123456789.
INSTANTIATE_TEST_SUITE_P(Cases, TOpeningInWallTest,
                         ::testing::Values(TRibbonInWallCase{"OnTheAxis", 60, false, true},
                                           TRibbonInWallCase{"FlushWithLeftFace", 120, false, true},
                                           TRibbonInWallCase{"LeftFaceByTolerance", 120.0005, false, true},
                                           TRibbonInWallCase{"OutOfLeftFaceBy1mm", 121, false, false},
                                           TRibbonInWallCase{"FlushWithRightFace", 0, false, true},
                                           TRibbonInWallCase{"OutOfRightFaceBy1mm", -1, false, false},
                                           TRibbonInWallCase{"ReversedOnTheAxis", -60, true, true},
                                           TRibbonInWallCase{"ReversedFlushWithLeftFace", 0, true, true},
                                           TRibbonInWallCase{"ReversedLeftFaceByTolerance", 0.0005, true, true},
                                           TRibbonInWallCase{"ReversedOutOfLeftFaceBy1mm", 1, true, false},
                                           TRibbonInWallCase{"ReversedFlushWithRightFace", -120, true, true},
                                           TRibbonInWallCase{"ReversedOutOfRightFaceBy1mm", -121, true, false},
                                           // Overlapping the wall by half its depth is not being in it.
                                           TRibbonInWallCase{"HalfOutOfTheWall", 180, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TRelationTest, OpeningInWallByItsHostWall)
{
    // Wall 1 holds the door; wall 2 is parallel to it, wall 3 crosses it; the
    // ribbon window 5 crosses wall 1.
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Line(2, 0, 0, 3000, 6000, 3000, 240, 120) + "," +
         Line(3, 0, 3000, -2000, 3000, 2000, 240, 120) + "," + Opening(4, 4, 1, 1500, 900, 2100, 0) + "," +
         Line(5, 8, 1000, -500, 1000, 500, 120, 60, 900, 2400));
    struct {
        const char* name;
        int wall, opening;
        bool expected;
    } cases[] = {{"DoorInItsWall", 1, 4, true},
                 {"DoorWithParallelWall", 2, 4, true},
                 {"DoorWithCrossingWall", 3, 4, false},
                 {"RibbonAcrossTheWall", 1, 5, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsOpeningInWall(Record(c.wall), Record(c.opening)), c.expected) << c.name;
}

TEST_F(TRelationTest, HoleOnLineEnt)
{
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Line(2, 0, 3000, -2000, 3000, 2000, 240, 120) + "," +
         Opening(3, 5, 1, 1500, 1500, 1800, 900) + "," + Line(4, 8, 4000, 0, 5000, 0, 120, 60, 900, 2400) + "," +
         Column(5, 0, 0, 400, 400));
    struct {
        const char* name;
        int lineEnt, hole;
        bool expected;
    } cases[] = {{"WindowOfParallelWall", 1, 3, true},
                 {"WindowOfCrossingWall", 2, 3, false},
                 {"ParallelRibbonWindow", 1, 4, true},
                 {"CrossingRibbonWindow", 2, 4, false},
                 {"AnyOtherElement", 2, 5, true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsHoleOnLineEnt(Record(c.lineEnt), Record(c.hole)), c.expected) << c.name;
}

// ---------------------------------------------------------------------------
// IsOpeningOnFaceSide: a wall 240 thick along +x whose axis is 40 from its
// left face (band from -40 to +200 in signed distance, positive right: faces
// at y = +40 and y = -200), a finish on its left face, and a ribbon opening
// 120 deep with its axis on its left face. The opening is on the finish's
// side when its band touches or overlaps the wall's band.

struct TFaceSideCase {
    const char* name;
    double y;       // the opening's line, from x 1000 to 3000 or back
    bool reversed;  // the line runs from x 3000 to 1000
    int parent;     // the opening's owner: 1 the finish's wall, 4 another wall, 0 none
    bool expected;
};

class TOpeningOnFaceSideTest : public TRelationTest, public ::testing::WithParamInterface<TFaceSideCase> {};

TEST_P(TOpeningOnFaceSideTest, OpeningBandReachesTheWall)
{
    const TFaceSideCase& c = GetParam();
    const double x0 = c.reversed ? 3000 : 1000, x1 = c.reversed ? 1000 : 3000;
    const std::string opening = Line(3, 9, x0, c.y, x1, c.y, 120, 0, 900, 2400);
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 40) + "," + WithParent(Line(2, 36, 0, 40, 6000, 40, 20, 0), 1) + "," +
         (c.parent ? WithParent(opening, c.parent) : opening) + "," + Line(4, 0, 0, -9000, 6000, -9000, 240, 120));
    EXPECT_EQ(IsOpeningOnFaceSide(Record(2), Record(3)), c.expected);
}

// With the wall the opening's band is [d, d + 120], against it [d - 120, d],
// d = -y the signed distance of its line from the wall's.
INSTANTIATE_TEST_SUITE_P(Cases, TOpeningOnFaceSideTest,
                         ::testing::Values(TFaceSideCase{"InTheWall", -40, false, 0, true},
                                           TFaceSideCase{"TouchingTheRightFace", -200, false, 0, true},
                                           TFaceSideCase{"OffTheRightFaceBy1mm", -201, false, 0, false},
                                           TFaceSideCase{"TouchingTheLeftFace", 160, false, 0, true},
                                           TFaceSideCase{"OffTheLeftFaceBy1mm", 161, false, 0, false},
                                           TFaceSideCase{"ReversedInTheWall", -100, true, 0, true},
                                           TFaceSideCase{"ReversedTouchingTheRightFace", -320, true, 0, true},
                                           TFaceSideCase{"ReversedOffTheRightFaceBy1mm", -321, true, 0, false},
                                           TFaceSideCase{"ReversedTouchingTheLeftFace", 40, true, 0, true},
                                           TFaceSideCase{"ReversedOffTheLeftFaceBy1mm", 41, true, 0, false},
                                           // An opening of the finish's own wall is on its side wherever it lies.
                                           TFaceSideCase{"FarOpeningOfTheFinishsWall", -2000, false, 1, true},
                                           TFaceSideCase{"FarOpeningOfAnotherWall", -2000, false, 4, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TRelationTest, OpeningOnFaceSideNeedsParallelLinesAndALineHost)
{
    // Finish 2 on wall 1, finish 6 on column 5; ribbon opening 3 across the
    // wall, 4 along it.
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + WithParent(Line(2, 36, 0, 120, 6000, 120, 20, 0), 1) + "," +
         Line(3, 9, 2000, -1000, 2000, 1000, 120, 60, 900, 2400) + "," +
         Line(4, 9, 1000, 0, 3000, 0, 120, 60, 900, 2400) + "," + Column(5, 7000, 0, 7400, 400) + "," +
         WithParent(Line(6, 36, 7000, 400, 7400, 400, 20, 0), 5));
    struct {
        const char* name;
        int finish, opening;
        bool expected;
    } cases[] = {{"AcrossTheWall", 2, 3, false}, {"AlongTheWall", 2, 4, true}, {"FinishOnAColumn", 6, 4, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsOpeningOnFaceSide(Record(c.finish), Record(c.opening)), c.expected) << c.name;
}

// ---------------------------------------------------------------------------
// IsWallWithinBeamWidth: a beam 240 wide on its axis along +x (faces at
// y = +120 and -120); walls parallel to it.

struct TWithinBeamCase {
    const char* name;
    double thickness, axisOffset;  // the wall's
    double y;                      // its line
    bool reversed;
    bool expected;
};

class TWallWithinBeamTest : public TRelationTest, public ::testing::WithParamInterface<TWithinBeamCase> {};

TEST_P(TWallWithinBeamTest, WallBandWithinBeamBand)
{
    const TWithinBeamCase& c = GetParam();
    const double x0 = c.reversed ? 5000 : 1000, x1 = c.reversed ? 1000 : 5000;
    Load(Beam(1, 0, 0, 6000, 0, 240, 120) + "," + Line(2, 0, x0, c.y, x1, c.y, c.thickness, c.axisOffset));
    EXPECT_EQ(IsWallWithinBeamWidth(Record(1), Record(2)), c.expected);
}

// A wall with AxisOffset 0 lies right of its line: [-y, -y + T] running with
// the beam, [-y - T, -y] against it.
INSTANTIATE_TEST_SUITE_P(
    Cases, TWallWithinBeamTest,
    ::testing::Values(TWithinBeamCase{"SameWidthCentred", 240, 120, 0, false, true},
                      TWithinBeamCase{"SameWidthCentredReversed", 240, 120, 0, true, true},
                      TWithinBeamCase{"ThinnerFlushWithLeftFace", 200, 0, 120, false, true},
                      TWithinBeamCase{"ThinnerFlushWithRightFace", 200, 0, 80, false, true},
                      TWithinBeamCase{"ThinnerOutOfRightFaceBy1mm", 200, 0, 79, false, false},
                      TWithinBeamCase{"ThinnerReversedFlushWithLeftFace", 200, 0, -80, true, true},
                      TWithinBeamCase{"ThinnerReversedFlushWithRightFace", 200, 0, -120, true, true},
                      TWithinBeamCase{"ThinnerReversedOutOfLeftFaceBy1mm", 200, 0, -79, true, false},
                      TWithinBeamCase{"ThinnerCentred", 200, 100, 0, false, true},
                      TWithinBeamCase{"Thicker", 300, 150, 0, false, false},
                      TWithinBeamCase{"FarOnTheLeft", 120, 60, 2000, false, false},
                      TWithinBeamCase{"FarOnTheRight", 120, 60, -2000, false, false},
                      TWithinBeamCase{"FarOnTheLeftReversed", 120, 60, 2000, true, false},
                      TWithinBeamCase{"FarOnTheRightReversed", 120, 60, -2000, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TRelationTest, WallAcrossTheBeamIsNotWithinIt)
{
    Load(Beam(1, 0, 0, 6000, 0, 240, 120) + "," + Line(2, 0, 3000, 0, 3000, 3000, 120, 60));
    EXPECT_FALSE(IsWallWithinBeamWidth(Record(1), Record(2)));
}

// Drawn without "AxisOffset", a beam and a wall are centred on their axes:
// a 200 wall whose axis is 20 left of a 240 beam's is flush with the beam's
// left face; 21 left, it sticks out by 1 mm.
TEST_F(TRelationTest, ElementsWithoutAxisOffsetAreCentredOnTheirAxes)
{
    const auto element = [](int id, int type, double y, const char* width) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
               R"(, "floor": 1, "props": {)" + width + R"(, "BottomElev": 2500, "TopElev": 3000},
                  "shape": {"kind": "line", "start": [0, )" +
               std::to_string(y) + R"(], "end": [6000, )" + std::to_string(y) + "]}}";
    };
    for (const auto& [y, within] : {std::pair{20.0, true}, std::pair{-20.0, true}, std::pair{21.0, false}}) {
        SCOPED_TRACE(y);
        Load(element(1, 15, 0, R"("SectionWidth": 240, "SectionHeight": 500)") + "," +
             element(2, 0, y, R"("Thickness": 200)"));
        EXPECT_EQ(IsWallWithinBeamWidth(Record(1), Record(2)), within);
    }
}

// ---------------------------------------------------------------------------
// GetOpeningOutlineArea

TEST_F(TRelationTest, OpeningOutlineArea)
{
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Opening(2, 5, 1, 1500, 1500, 1800, 900) + "," +
         Opening(3, 4, 1, 4000, 900, 2100, 0) + "," + Line(4, 8, 3000, 0, 6000, 0, 120, 60, 900, 2400));
    // The ribbon window by its section on its wall: 3000 long, 900 to 2400.
    TFakeEDOScope scope;
    auto& ribbon = scope.Attach<TFakeRibbonOpeningEDO>(building_->DrawObj(4));
    auto section = std::make_unique<TVRMMultiPolygon2d>();
    section->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{3000, 900}, {6000, 900}, {6000, 2400}, {3000, 2400}}));
    ribbon.section = MakeRef<TQTKSectionPoly>(std::move(section));
    struct {
        const char* name;
        int opening;
        double expected;
    } cases[] = {{"Window1500x1800", 2, 1500.0 * 1800.0},
                 {"Door900x2100", 3, 900.0 * 2100.0},
                 {"RibbonWindowBySection", 4, 3000.0 * 1500.0},
                 {"NoElement", 99, 0.0}};
    for (const auto& c : cases)
        EXPECT_NEAR(GetOpeningOutlineArea(Record(c.opening)), c.expected, 1e-6) << c.name;
}

}  // namespace
