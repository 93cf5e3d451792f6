// Measures of openings for finish rules: the length of an opening's edges
// inside a finish face (the sill by the opening's height above the floor),
// the reveal depth to a finish and the reveal area within a skirt.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Relations/RelationFixtures.h"
#include "tests/Support/TestBuilding.h"

using namespace relations_test;

namespace {

constexpr double CTol = 1e-6;

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

Ref<IQTKSectionPoly> Section(double x0, double y0, double x1, double y1)
{
    return MakeRef<TQTKSectionPoly>(std::make_unique<TVRMMultiPolygon2d>(Rect(x0, y0, x1, y1)));
}

// A wall-face finish (36) on wall 1's left face (y = 120), 20 thick.
std::string Finish(int id, int parent, const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 36, "floor": 1, "parent": )" + std::to_string(parent) +
           R"(, "props": {"Thickness": 20)" + (props.empty() ? "" : ", " + props) + R"(}, "shape": )" +
           LineShape(0, 120, 6000, 120) + "}";
}

// ---------------------------------------------------------------------------
// GetHollowSideLength: a 1500 x 1800 window at 750-2250 along a 6000 wall,
// from 900 to 2700, inside a finish face polygon.

TEST(TOpeningMeasureTest, HollowSideLengthCountsTheSillAboveTheFloor)
{
    struct {
        const char* name;
        double aboveFloor;
        TVRMMultiPolygon2d face;
        double expected;
    } cases[] = {{"OnTheFloorInTheWholeFace", 0, Rect(0, 0, 6000, 3000), 1500 + 2 * 1800},
                 {"AboveTheFloorInTheWholeFace", 900, Rect(0, 0, 6000, 3000), 2 * 1500 + 2 * 1800},
                 {"OnTheFloorInTheLowerFace", 0, Rect(0, 0, 6000, 1800), 2 * 900},
                 {"AboveTheFloorInTheLowerFace", 900, Rect(0, 0, 6000, 1800), 1500 + 2 * 900},
                 {"FaceBesideTheWindow", 900, Rect(3000, 0, 6000, 3000), 0}};
    for (const auto& c : cases) {
        auto building = TTestBuilding::FromElements(
            "[" + Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," +
            Opening(2, 5, 1, 1500, 1500, 1800, 900, R"("AboveFloorHeight": )" + Num(c.aboveFloor)) + "," +
            Finish(3, 1) + "]");
        building->Activate();
        EXPECT_NEAR(GetHollowSideLength(building->Record(2), building->Record(3), &c.face), c.expected, CTol) << c.name;
    }
}

// A ribbon window's sill counts when its bottom is above the floor's
// structural elevation (0).
TEST(TOpeningMeasureTest, HollowSideLengthOfARibbonWindow)
{
    struct {
        const char* name;
        double bottom;
        double expected;
    } cases[] = {{"AboveTheFloor", 900, 2 * 3000 + 2 * 1500}, {"OnTheFloor", 0, 3000 + 2 * 1500}};
    for (const auto& c : cases) {
        auto building = TTestBuilding::FromElements("[" + Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," +
                                                    Line(2, 8, 3000, 0, 6000, 0, 120, 60, c.bottom, c.bottom + 1500) +
                                                    "," + Finish(3, 1) + "]");
        building->Activate();
        TFakeEDOScope scope;
        scope.Attach<TFakeRibbonOpeningEDO>(building->DrawObj(2)).section =
            Section(3000, c.bottom, 6000, c.bottom + 1500);
        const TVRMMultiPolygon2d face = Rect(0, 0, 6000, 3000);
        EXPECT_NEAR(GetHollowSideLength(building->Record(2), building->Record(3), &face), c.expected, CTol) << c.name;
    }
}

// ---------------------------------------------------------------------------
// GetHoleSideArea: a ribbon window in a 240 wall (faces at y = +-120) and a
// finish 20 thick on its left face.

// A ribbon window whose frame object reports it is not set (or has none).
class TFramedDrawObj : public TQTKElementDrawObj, public IQTKOpeningFrameOwner {
public:
    TFramedDrawObj(TQTKElementDrawObjData data, bool hasFrame, bool set)
        : TQTKElementDrawObj(std::move(data)), frame_(hasFrame ? MakeRef<TFrame>(set) : nullptr)
    {
    }
    IQTKOpeningFrame* GetOpeningFrame() const override { return frame_.get(); }

private:
    class TFrame : public TInterfacedObject, public IQTKOpeningFrame {
    public:
        explicit TFrame(bool set) : set_(set) {}
        bool IsSet() const override { return set_; }

    private:
        bool set_;
    };
    Ref<TFrame> frame_;
};

struct THoleSideCase {
    const char* name;
    int type;            // 8 ribbon window (with a frame), 9 ribbon opening
    bool hasFrame, set;  // the draw object's frame object
    int outer;           // the finish's "InnerOuterFlag"
    bool block;
    double lineY;  // the window's calculation middle line
    double expected;
};

class THoleSideTest : public ::testing::TestWithParam<THoleSideCase> {};

TEST_P(THoleSideTest, RevealDepth)
{
    const THoleSideCase& c = GetParam();
    TTestBuilding building;
    TQTKElementDrawObj* wall = building.AddLine(1, 0, 0, 0, 6000, 0, 240, 0, 3000, {{"Thickness", TRDXValue(240.0)}});
    building.SetNextDrawObjMaker([&c](TQTKElementDrawObjData data) {
        return Ref<TQTKElementDrawObj>(new TFramedDrawObj(std::move(data), c.hasFrame, c.set));
    });
    TQTKElementDrawObj* ribbon =
        building.AddLine(2, c.type, 1000, 0, 4000, 0, 120, 900, 2400, {{"FrameThickness", TRDXValue(60.0)}});
    TQTKElementDrawObj* finish =
        building.AddLine(3, 36, 0, 120, 6000, 120, 20, 0, 3000,
                         {{"Thickness", TRDXValue(20.0)}, {"InnerOuterFlag", TRDXValue(c.outer)}});
    building.SetParent(ribbon, wall);
    building.SetParent(finish, wall);
    building.Activate();
    TFakeEDOScope scope;
    scope.Attach<TFakeRibbonOpeningEDO>(ribbon).midLine = TVRMCustomLine2d({1000, c.lineY}, {4000, c.lineY});
    scope.Attach<TFakeWallAttachEDO>(finish).hostSideLine = TVRMCustomLine2d({0, 120}, {6000, 120});
    EXPECT_NEAR(GetHoleSideArea(building.Record(2), building.Record(3), c.block), c.expected, CTol);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, THoleSideTest,
    ::testing::Values(
        // Frame object not set: the wall's thickness and the finish's layer inside, nothing outside.
        THoleSideCase{"FrameNotSetInner", 8, true, false, 0, true, 0, 240 + 20},
        THoleSideCase{"FrameNotSetInnerPlastering", 8, true, false, 0, false, 0, 240},
        THoleSideCase{"FrameNotSetOuter", 8, true, false, 1, true, 0, 0},
        // Otherwise the distance to the finish's side of the wall, less half the frame.
        THoleSideCase{"FrameSetOnTheAxis", 8, true, true, 0, true, 0, 120 - 30 + 20},
        THoleSideCase{"NoFrameObjectOnTheAxis", 8, false, false, 0, true, 0, 120 - 30 + 20},
        THoleSideCase{"FrameWithinHalfItsThicknessOfTheFace", 8, false, false, 0, true, 95, 0},
        THoleSideCase{"FrameJustBeyondHalfItsThickness", 8, false, false, 0, true, 89, 31 - 30 + 20},
        THoleSideCase{"RibbonOpeningHasNoFrame", 9, false, false, 0, true, 95, 25 + 20}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// GetHoleBottomArea: the sill depth under a ribbon window 3000 long with a
// frame 60 thick, in a 240 wall on its axis along +x (left face y = +120,
// right face y = -120), standing on the floor (bottom 0) of the rooms beside
// the wall.

std::string Room(int id, double x0, double y0, double x1, double y1)
{
    return Face(id, 33, x0, y0, x1, y1, R"("TopElev": 0)");
}

TEST(TOpeningMeasureTest, SillDepthUnderARibbonWindow)
{
    const std::string left = Room(3, 0, 120, 6000, 5000), right = Room(4, 0, -5000, 6000, -120);
    // Spanning the wall's start; left of the window but no edge within 240 of it.
    const std::string spanning = Room(5, -2000, -2000, 500, 2000), aside = Room(5, -2000, 100, 500, 2000);
    struct {
        const char* name;
        std::string rooms;  // the rooms beside the wall, all related to the window
        int room;           // the room whose floor finish asks
        double y;           // the window's line
        bool reversedWall, crossingWall;
        double expected;
    } cases[] = {
        // One room at the window's bottom: the wall's thickness less the frame.
        {"OneRoomAtTheBottom", left, 3, 0, false, false, 240 - 60},
        // Two rooms at the bottom: each side from its face to the frame's face.
        {"LeftOfTwoRooms", left + "," + right, 3, 0, false, false, 120 - 30},
        {"RightOfTwoRooms", left + "," + right, 4, 0, false, false, 120 - 30},
        {"LeftOfTwoRoomsWindowTowardsIt", left + "," + right, 3, 30, false, false, 90 - 30},
        {"RightOfTwoRoomsWindowTowardsTheLeft", left + "," + right, 4, 30, false, false, 150 - 30},
        // The wall drawn the other way: the left room lies at its right line.
        {"LeftOfTwoRoomsReversedWall", left + "," + right, 3, 0, true, false, 120 - 30},
        {"RoomAroundBothFaces", left + "," + spanning, 5, 0, false, false, 240},
        {"NoRoomEdgeNearTheWindow", left + "," + aside, 5, 0, false, false, 0},
        {"NoParallelWall", left, 3, 0, false, true, 0},
    };
    for (const auto& c : cases) {
        const std::string wall = c.crossingWall   ? Line(1, 0, 2500, -3000, 2500, 3000, 240, 120)
                                 : c.reversedWall ? Line(1, 0, 6000, 0, 0, 0, 240, 120)
                                                  : Line(1, 0, 0, 0, 6000, 0, 240, 120);
        auto building = TTestBuilding::FromElements(
            "[" + wall + "," + Line(2, 8, 1000, c.y, 4000, c.y, 120, 60, 0, 2100, R"("FrameThickness": 60)") + "," +
            c.rooms + "]");
        building->Activate();
        TFakeEDOScope scope;
        auto& window = scope.Attach<TFakeRibbonOpeningEDO>(building->DrawObj(2));
        window.midLine = TVRMCustomLine2d({1000, c.y}, {4000, c.y});
        window.AddRelated(building->Record(1));
        for (int room : {3, 4, 5})
            if (building->Record(room))
                window.AddRelated(building->Record(room));
        auto& wallEdo = scope.Attach<TFakeWallEDO>(building->DrawObj(1));
        const TVRMCustomLine2d upper({0, 120}, {6000, 120}), lower({0, -120}, {6000, -120});
        wallEdo.leftLine = c.reversedWall ? lower.Reversed() : upper;
        wallEdo.rightLine = c.reversedWall ? upper.Reversed() : lower;
        EXPECT_NEAR(GetHoleBottomArea(building->Record(2), building->Record(c.room)), c.expected, CTol) << c.name;
    }
}

// ---------------------------------------------------------------------------
// GetFinishHoleSideArea: a ribbon window from x 1000 to 4000 in a 9000 wall,
// from 900 to 2400 (reveal edges: two sides of 1500, head and sill of 3000),
// and a finish on the wall's left face from the floor (0). A neighbouring
// ribbon opening at the window's end at x 4000 leaves that side's reveal only
// above and below itself.

std::string Neighbour(double x0, double y0, double x1, double y1, double bottom, double top,
                      const std::string& props = "")
{
    return Line(4, 9, x0, y0, x1, y1, 120, 60, bottom, top, props);
}

TEST(TOpeningMeasureTest, RibbonRevealLengthInAFinishFace)
{
    const TVRMMultiPolygon2d whole = Rect(0, 0, 9000, 3000), lower = Rect(0, 0, 9000, 1800), none;
    const std::string atEnd = Neighbour(4000, 0, 6000, 0, 1200, 2100);
    struct {
        const char* name;
        bool reversed;          // the window drawn from x 4000 to 1000
        std::string neighbour;  // empty: none
        double plasteringBottom;
        bool block, withDado;
        int dadoPid;  // the dado's "EDOPID": 1 the wall (the finish's), 6 a wall apart; 0: no dado
        const TVRMMultiPolygon2d* face;
        double expected;
    } cases[] = {
        {"WholeReveal", false, "", 0, false, false, 0, &whole, 2 * 1500 + 2 * 3000},
        {"ReversedWholeReveal", true, "", 0, false, false, 0, &whole, 2 * 1500 + 2 * 3000},
        {"EmptyFace", false, "", 0, false, false, 0, &none, 0},
        // The sill is left out where the finish starts at the window's bottom.
        {"SillOnThePlasteringBottom", false, "", 900, false, false, 0, &whole, 2 * 1500 + 3000},
        {"SillAboveTheBlockBottom", false, "", 900, true, false, 0, &whole, 2 * 1500 + 2 * 3000},
        // The shared side counts above 2100 and below 1200: 300 + 300.
        {"NeighbourAtTheEnd", false, atEnd, 0, false, false, 0, &whole, 1500 + 600 + 2 * 3000},
        {"ReversedNeighbourAtTheStart", true, atEnd, 0, false, false, 0, &whole, 1500 + 600 + 2 * 3000},
        {"NeighbourAsHighAsTheWindow", false, Neighbour(4000, 0, 6000, 0, 900, 2400), 0, false, false, 0, &whole,
         1500 + 2 * 3000},
        {"TallerNeighbour", false, Neighbour(4000, 0, 6000, 0, 0, 3000), 0, false, false, 0, &whole, 1500 + 2 * 3000},
        // 100 away: beyond a frame of 60 (the default), within one of 120.
        {"NeighbourBeyondItsFrame", false, Neighbour(4100, 0, 6000, 0, 1200, 2100), 0, false, false, 0, &whole,
         2 * 1500 + 2 * 3000},
        {"NeighbourWithinItsFrame", false, Neighbour(4100, 0, 6000, 0, 1200, 2100, R"("FrameThickness": 120)"), 0,
         false, false, 0, &whole, 1500 + 600 + 2 * 3000},
        {"CrossingNeighbour", false, Neighbour(4000, 0, 4000, -3000, 1200, 2100), 0, false, false, 0, &whole,
         2 * 1500 + 2 * 3000},
        // Up to 1800: the free side 900, the shared side below 1200, the sill.
        {"NeighbourInTheLowerFace", false, atEnd, 0, false, false, 0, &lower, 900 + 300 + 3000},
        // A dado up to 1200 (plastering) or 1500 (block) takes the sill and
        // the sides' lower parts first.
        {"PlasteringDadoTakenOut", false, "", 0, false, true, 1, &whole, 2 * 1500 + 2 * 3000 - (3000 + 2 * 300)},
        {"BlockDadoTakenOut", false, "", 0, true, true, 1, &whole, 2 * 1500 + 2 * 3000 - (3000 + 2 * 600)},
        {"DadoOfAnotherFinish", false, "", 0, false, true, 6, &whole, 2 * 1500 + 2 * 3000},
        {"DadoLeftWithoutTheFlag", false, "", 0, false, false, 1, &whole, 2 * 1500 + 2 * 3000},
        {"NeighbourAndDado", false, atEnd, 0, false, true, 1, &whole, 1200 + 300 + 3000},
    };
    for (const auto& c : cases) {
        const double x0 = c.reversed ? 4000 : 1000, x1 = c.reversed ? 1000 : 4000;
        std::string elements = Line(1, 0, 0, 0, 9000, 0, 240, 120) + "," +
                               WithParent(Line(2, 36, 0, 120, 9000, 120, 20, 0, 0, 3000, R"("EDOPID": 1)"), 1) + "," +
                               Line(3, 8, x0, 0, x1, 0, 120, 60, 900, 2400) + "," +
                               Line(6, 0, 0, 9000, 9000, 9000, 240, 120);
        if (!c.neighbour.empty())
            elements += "," + c.neighbour;
        if (c.dadoPid)
            elements += "," + WithParent(Line(5, 37, 0, 120, 9000, 120, 20, 0, 0, 1500,
                                              R"("EDOPID": )" + std::to_string(c.dadoPid)),
                                         1);
        auto building = TTestBuilding::FromElements("[" + elements + "]");
        building->Activate();
        TFakeEDOScope scope;
        auto& window = scope.Attach<TFakeRibbonOpeningEDO>(building->DrawObj(3));
        window.midLine = TVRMCustomLine2d({x0, 0}, {x1, 0});
        window.section = Section(1000, 900, 4000, 2400);
        if (!c.neighbour.empty())
            window.AddRelated(building->Record(4));
        auto& finish = scope.Attach<TFakeWallAttachEDO>(building->DrawObj(2));
        finish.plasteringBottom = c.plasteringBottom;
        if (c.dadoPid) {
            finish.AddRelated(building->Record(5));
            auto& dado = scope.Attach<TFakeWallAttachEDO>(building->DrawObj(5));
            dado.plasteringPolygon = Section(0, 0, 9000, 1200);
            dado.blockPolygon = Section(0, 0, 9000, 1500);
        }
        EXPECT_NEAR(GetFinishHoleSideArea(building->Record(3), building->Record(2), c.face, c.withDado, false, c.block,
                                          false, false),
                    c.expected, CTol)
            << c.name;
    }
}

// ---------------------------------------------------------------------------
// GetSkirtHoleSideArea: a skirt 100 high along the wall's left face, a
// ribbon opening 1000 long in the wall, reveal depth 120 + 20 (the distance
// of its line on the wall's axis to the face, and the skirt's layer).

TEST(TOpeningMeasureTest, SkirtRevealsAtTheOpeningsEnds)
{
    struct {
        const char* name;
        double x0, x1;  // the opening's line
        double expected;
    } cases[] = {{"InTheMiddle", 2000, 3000, 100 * 2 * 140},
                 {"ReversedInTheMiddle", 3000, 2000, 100 * 2 * 140},
                 {"OverTheSkirtsEnd", 5500, 6500, 100 * 1 * 140},
                 // The start 800 inside, the end 200 beyond the end.
                 {"StartInsideEndBeyond", 5200, 6200, 100 * 1 * 140},
                 {"BeyondTheSkirt", 7000, 8000, 0}};
    for (const auto& c : cases) {
        TTestBuilding building;
        TQTKElementDrawObj* wall =
            building.AddLine(1, 0, 0, 0, 9000, 0, 240, 0, 3000, {{"Thickness", TRDXValue(240.0)}});
        TQTKElementDrawObj* ribbon =
            building.AddLine(2, 9, c.x0, 0, c.x1, 0, 120, 0, 2100, {{"FrameThickness", TRDXValue(60.0)}});
        TQTKElementDrawObj* skirt = building.AddLine(3, 38, 0, 120, 6000, 120, 20, 0, 100,
                                                     {{"Thickness", TRDXValue(20.0)}, {"Height", TRDXValue(100.0)}});
        building.SetParent(ribbon, wall);
        building.SetParent(skirt, wall);
        building.Activate();
        TFakeEDOScope scope;
        scope.Attach<TFakeRibbonOpeningEDO>(ribbon).midLine = TVRMCustomLine2d({c.x0, 0}, {c.x1, 0});
        auto& skirtEdo = scope.Attach<TFakeWallAttachEDO>(skirt);
        skirtEdo.hostSideLine = skirtEdo.calcLine = TVRMCustomLine2d({0, 120}, {6000, 120});
        EXPECT_NEAR(GetSkirtHoleSideArea(building.Record(3), building.Record(2), true), c.expected, CTol) << c.name;
    }
}

}  // namespace
