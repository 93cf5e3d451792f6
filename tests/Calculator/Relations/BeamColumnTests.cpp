// Relation tests of beams, slabs, stairs, columns and openings: the beam on a
// parallel wall, on an outer wall, over a flight, on a thinner parallel wall
// and on a wall face; the opening's wall, its slab and the room horizon at its
// bottom; the column standing alone; coincident planes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Relations/RelationFixtures.h"
#include "tests/Support/TestBuilding.h"

using namespace relations_test;

namespace {

class TBeamColumnTest : public ::testing::Test {
protected:
    void Load(const std::string& elements)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate();
    }
    IRDXRecord* Record(int id) const { return building_->Record(id); }
    // A plain element object on Id that relates exactly the given elements
    // (besides any it touches).
    void Relate(int id, const std::vector<int>& related)
    {
        auto& edo = scope_.Attach<TFakePlainEDO>(building_->DrawObj(id));
        for (int other : related)
            edo.AddRelated(Record(other));
    }

    std::unique_ptr<TTestBuilding> building_;
    TFakeEDOScope scope_;
};

// ---------------------------------------------------------------------------
// IsBeamOnParallelElement: a parallel wall covers at least 200 of the beam,
// or all of it (each parallel wall measured alone).

TEST_F(TBeamColumnTest, BeamOnParallelElement)
{
    // Beams 150 and 1000 long; walls far aside (only their lines' ends along
    // the beam count) covering 150 and 200; a crossing wall.
    Load(Beam(1, 0, 0, 150, 0, 240, 120) + "," + Beam(2, 0, 0, 1000, 0, 240, 120) + "," +
         Line(3, 0, 0, 5000, 150, 5000, 240, 120) + "," + Line(4, 0, 0, 6000, 200, 6000, 240, 120) + "," +
         Line(5, 0, 500, 7000, 500, 9000, 240, 120));
    struct {
        const char* name;
        int beam;
        std::vector<int> walls;
        bool expected;
    } cases[] = {{"WholeShortBeamCovered", 1, {3}, true},
                 {"150OfALongBeam", 2, {3}, false},
                 {"200OfALongBeam", 2, {4}, true},
                 {"OnlyACrossingWall", 2, {5}, false},
                 {"AnyParallelWallMayDecide", 2, {3, 4}, true},
                 {"NoWall", 2, {}, false}};
    for (const auto& c : cases) {
        Relate(c.beam, c.walls);
        EXPECT_EQ(IsBeamOnParallelElement(Record(c.beam)), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsOnThinnerParallelWall (beam A, wall B): the parallel beam X related to
// both decides by the wall's "Thickness" against X's "SectionHeight". Beam A
// is 300 deep and the wall 240 thick, so the other reading (A's depth below
// the wall's thickness) would answer the other way in every case below.

TEST_F(TBeamColumnTest, OnThinnerParallelWall)
{
    // Apart from each other: only the relations the test gives count, and of
    // a parallel beam only how much of the wall's line its line spans.
    Load(Beam(1, 0, 20000, 3000, 20000, 240, 120, 300) + "," + Line(2, 0, 0, 0, 6000, 0, 240, 120) + "," +
         Beam(3, 0, 10000, 6000, 10000, 240, 120, 500) + "," + Beam(4, 0, 12000, 6000, 12000, 240, 120, 200) + "," +
         Beam(5, 3000, 14000, 3000, 16000, 240, 120, 800) + "," + Beam(6, 5999.5, 18000, 7000, 18000, 240, 120, 800));
    struct {
        const char* name;
        int x;
        bool expected;
    } cases[] = {{"DeeperParallelBeam", 3, true},
                 {"ShallowerParallelBeam", 4, false},
                 {"CrossingBeamIsSkipped", 5, true},
                 {"OverlapOfHalfAMillimetreIsSkipped", 6, true}};
    for (const auto& c : cases) {
        Relate(1, {c.x});
        Relate(2, {c.x});
        EXPECT_EQ(IsOnThinnerParallelWall(Record(1), Record(2)), c.expected) << c.name;
    }
    // X must be related to A too.
    Relate(1, {});
    Relate(2, {4});
    EXPECT_TRUE(IsOnThinnerParallelWall(Record(1), Record(2)));
}

// ---------------------------------------------------------------------------
// IsWallWithinBeamWidth's neighbours in the beam rules: a beam as outer beam.

TEST_F(TBeamColumnTest, OuterBeamByWalls)
{
    struct {
        const char* name;
        int firstFlag, secondFlag;  // of the walls under 0-4000 and 4000-6000
        bool expected;
    } cases[] = {{"MostlyOnOuterWall", 1, 0, true}, {"MostlyOnInnerWall", 0, 1, false}, {"AllInner", 0, 0, false}};
    for (const auto& c : cases) {
        Load(Beam(1, 0, 0, 6000, 0, 240, 120, 500, 3000) + "," +
             Line(2, 0, 0, 0, 4000, 0, 240, 120, 0, 2500, R"("InnerOuterFlag": )" + std::to_string(c.firstFlag)) + "," +
             Line(3, 0, 4000, 0, 6000, 0, 240, 120, 0, 2500, R"("InnerOuterFlag": )" + std::to_string(c.secondFlag)));
        EXPECT_EQ(IsOuterBeamByWalls(Record(1)), c.expected) << c.name;
    }
}

// A beam whose property definition shows "InnerOuterFlag" answers by it.
class TDefinedPropsDrawObj : public TQTKElementDrawObj, public IQTKPropDefinitions {
public:
    TDefinedPropsDrawObj(TQTKElementDrawObjData data, std::string visible)
        : TQTKElementDrawObj(std::move(data)), visible_(std::move(visible))
    {
    }
    std::string GetVisibleFlagExpr(std::string_view name) const override
    {
        return name == "InnerOuterFlag" ? visible_ : "";
    }

private:
    std::string visible_;
};

TEST_F(TBeamColumnTest, OuterBeamByItsShownFlag)
{
    struct {
        const char* name;
        const char* visible;
        int flag;
        bool expected;  // the wall under it is inner
    } cases[] = {{"ShownOuter", "ID > 0", 1, true},
                 {"ShownInner", "ID > 0", 0, false},
                 {"HiddenOuterByInnerWall", "ID > 1000", 1, false},
                 {"NoExpression", "", 1, false}};
    for (const auto& c : cases) {
        building_ = std::make_unique<TTestBuilding>();
        const std::string visible = c.visible;
        building_->SetNextDrawObjMaker([visible](TQTKElementDrawObjData data) {
            return Ref<TQTKElementDrawObj>(new TDefinedPropsDrawObj(std::move(data), visible));
        });
        building_->AddLine(1, 15, 0, 0, 6000, 0, 240, 2500, 3000,
                           {{"SectionWidth", TRDXValue(240.0)},
                            {"SectionHeight", TRDXValue(500.0)},
                            {"InnerOuterFlag", TRDXValue(c.flag)}});
        building_->AddLine(2, 0, 0, 0, 6000, 0, 240, 0, 2500,
                           {{"Thickness", TRDXValue(240.0)}, {"InnerOuterFlag", TRDXValue(0)}});
        building_->Activate();
        EXPECT_EQ(IsOuterBeamByWalls(Record(1)), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsBeamOverStairSegment: a stair 3000 x 1200 whose flight edge is its edge at
// x = 0; rise "Height" - "StepHeight" = 1500 over the 3000 edge, rising away
// from the flight edge.

TEST_F(TBeamColumnTest, BeamOverStairSegment)
{
    struct {
        const char* name;
        double startTop, endTop;
        bool expected;
    } cases[] = {{"SlopeOfTheFlight", 1000, 2500, true},
                 {"Level", 2500, 2500, false},
                 {"SlopingTheOtherWay", 2500, 1000, false},
                 {"SteeperThanTheFlight", 1000, 2600, false}};
    for (const auto& c : cases) {
        const std::string beam =
            R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 400, "StartPtTopElev": )" +
            Num(c.startTop) + R"(, "EndPtTopElev": )" + Num(c.endTop) + R"(, "StartPtBottomElev": )" +
            Num(c.startTop - 400) + R"(, "EndPtBottomElev": )" + Num(c.endTop - 400) + R"(}, "shape": )" +
            LineShape(0, 600, 3000, 600) + "}";
        Load(beam + "," +
             Face(2, 29, 0, 0, 3000, 1200, R"("Height": 1650, "StepHeight": 150, "TopElev": 0)",
                  R"(, "edges": [null, null, null, {"kind": "flight", "flag": 1}])"));
        EXPECT_EQ(IsBeamOverStairSegment(Record(1), Record(2)), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Openings: the wall found, the slab and the room horizon at the bottom.

TEST_F(TBeamColumnTest, FindOpeningWallTakesTheLastParallelOne)
{
    // Apart from each other: only the relations the test gives count.
    Load(Line(1, 8, 1000, 0, 3000, 0, 120, 60, 900, 2400) + "," + Line(2, 0, 0, -8000, 6000, -8000, 240, 120) + "," +
         Line(3, 1, 0, 5000, 6000, 5000, 100, 50) + "," + Line(4, 0, 2000, 10000, 2000, 13000, 240, 120));
    RecordRef wall;
    Relate(1, {2, 3, 4});
    EXPECT_TRUE(FindOpeningWall(Record(1), wall));
    EXPECT_EQ(wall.get(), Record(3));
    Relate(1, {4});
    EXPECT_FALSE(FindOpeningWall(Record(1), wall));
    EXPECT_EQ(wall, nullptr);
}

// Slabs and room horizons are level, so they stand apart in plan (only the
// relations the test gives count).
// Doors, windows, door-windows and openings (4-7) are never outside a slab;
// alcoves are not when their bottom lies within a non-floor slab's thickness,
// ribbon windows also within a room horizon at their bottom; other elements are.
TEST_F(TBeamColumnTest, OpeningOutsideSlab)
{
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Opening(2, 4, 1, 1000, 900, 2100, 50) + "," +
         Opening(3, 13, 1, 3000, 900, 1500, 50) + "," + Opening(4, 13, 1, 5000, 900, 1500, 500) + "," +
         Face(5, 19, 20000, 0, 21000, 1000, R"("TopElev": 100, "Thickness": 120, "IsFloorSlab": 0)") + "," +
         Face(6, 19, 22000, 0, 23000, 1000, R"("TopElev": 100, "Thickness": 120, "IsFloorSlab": 1)") + "," +
         Line(7, 8, 10000, 0, 12000, 0, 120, 60, 900, 2400) + "," +
         Line(8, 8, 10000, 5000, 12000, 5000, 120, 60, 1000, 2400) + "," +
         Face(9, 33, 24000, 0, 25000, 1000, R"("TopElev": 900)"));
    struct {
        const char* name;
        int opening;
        std::vector<int> related;
        bool expected;
    } cases[] = {{"DoorSillInANonFloorSlab", 2, {5}, false},
                 {"DoorSillInAFloorSlab", 2, {6}, false},
                 {"DoorAwayFromSlabs", 2, {}, false},
                 {"AlcoveBottomInANonFloorSlab", 3, {5}, false},
                 {"AlcoveBottomInAFloorSlab", 3, {6}, true},
                 {"AlcoveAboveTheSlab", 4, {5}, true},
                 {"RibbonWindowOnARoomHorizon", 7, {9}, false},
                 {"RibbonWindowAboveTheRoomHorizon", 8, {9}, true},
                 {"AWall", 1, {5}, true}};
    for (const auto& c : cases) {
        Relate(c.opening, c.related);
        EXPECT_EQ(IsOpeningOutsideSlab(Record(c.opening)), c.expected) << c.name;
    }
}

// One room horizon's "TopElev" within 10 of the window's bottom (900).
TEST_F(TBeamColumnTest, OneRelatedAtTopElev)
{
    Load(Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," + Opening(2, 5, 1, 1500, 1500, 1800, 900) + "," +
         Face(3, 33, 20000, 0, 21000, 1000, R"("TopElev": 900)") + "," +
         Face(4, 33, 22000, 0, 23000, 1000, R"("TopElev": 900)") + "," +
         Face(5, 33, 24000, 0, 25000, 1000, R"("TopElev": 910)") + "," +
         Face(6, 33, 26000, 0, 27000, 1000, R"("TopElev": 911)") + "," +
         Face(7, 19, 28000, 0, 29000, 1000, R"("TopElev": 2700, "Thickness": 120)"));
    struct {
        const char* name;
        std::vector<int> related;
        int type;
        bool expected;
    } cases[] = {{"OneAtTheBottom", {3}, 33, true},    {"TwoAtTheSameElevation", {3, 4}, 33, false},
                 {"OneTenAbove", {5}, 33, true},       {"OneElevenAbove", {6}, 33, false},
                 {"OneOfTwoWithin", {3, 6}, 33, true}, {"None", {}, 33, false},
                 {"SlabAtTheTop", {7}, 19, true}};
    for (const auto& c : cases) {
        Relate(2, c.related);
        EXPECT_EQ(HasOneRelatedAtTopElev(Record(2), c.type), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsAloneColumn / IsIndependentColumn: a 400 x 400 column.

TEST_F(TBeamColumnTest, AloneAndIndependentColumn)
{
    struct {
        const char* name;
        std::string wall;
        bool alone, independent;  // independent at the floor (0)
    } cases[] = {
        {"WallRunningIntoIt", Line(2, 0, 200, 200, 5000, 200, 240, 120), false, false},
        {"WallOneMillimetreAway", Line(2, 0, 401, 200, 5000, 200, 240, 120), true, true},
        {"WallRunningIntoItAboveTheFloor", Line(2, 0, 200, 200, 5000, 200, 240, 120, 1000, 3000), false, true},
        {"NoWall", Line(2, 0, 3000, 3000, 5000, 3000, 240, 120), true, true},
    };
    for (const auto& c : cases) {
        Load(Column(1, 0, 0, 400, 400) + "," + c.wall);
        EXPECT_EQ(IsAloneColumn(Record(1)), c.alone) << c.name;
        EXPECT_EQ(IsIndependentColumn(Record(1), true, 0.0), c.independent) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsBeamSideOnWallFace: a wall 240 thick along +x on its axis (left face
// y = +120, right face y = -120) and a beam parallel to it. A side matches
// when the beam's middle line lies half the beam's width from that face and
// the face is external: the beam's side lies in the wall's face.

TEST_F(TBeamColumnTest, BeamSideOnWallFace)
{
    struct {
        const char* name;
        std::string beam;
        bool leftExternal, rightExternal;
        int side;  // expected; 0: no side, the test is false
    } cases[] = {
        {"CentredLeftExternal", Beam(1, 0, 0, 6000, 0, 240, 120), true, false, 1},
        {"CentredRightExternal", Beam(1, 0, 0, 6000, 0, 240, 120), false, true, 2},
        {"CentredBothExternal", Beam(1, 0, 0, 6000, 0, 240, 120), true, true, 3},
        {"CentredNoExternalSide", Beam(1, 0, 0, 6000, 0, 240, 120), false, false, 0},
        // Outside against the left face: its middle line 120 beyond the face.
        {"AgainstTheLeftFace", Beam(1, 0, 240, 6000, 240, 240, 120), true, true, 1},
        {"AgainstTheLeftFaceReversed", Beam(1, 6000, 240, 0, 240, 240, 120), true, false, 1},
        {"AgainstTheLeftFaceOnlyRightExternal", Beam(1, 0, 240, 6000, 240, 240, 120), false, true, 0},
        {"AgainstTheRightFace", Beam(1, 0, -240, 6000, -240, 240, 120), false, true, 2},
        // 2 x 120.0005 = 240.001 is within 0.0010123456789 of 240; 240.002 is not.
        {"AgainstTheLeftFaceByTolerance", Beam(1, 0, 240.0005, 6000, 240.0005, 240, 120), true, false, 1},
        {"OffTheLeftFaceBy1Micron", Beam(1, 0, 240.001, 6000, 240.001, 240, 120), true, false, 0},
        {"OneMillimetreInside", Beam(1, 0, 239, 6000, 239, 240, 120), true, false, 0},
        // A wider beam centred on the wall has no side in a face; against it, it has.
        {"WiderCentred", Beam(1, 0, 0, 6000, 0, 300, 150), true, true, 0},
        {"WiderAgainstTheLeftFace", Beam(1, 0, 270, 6000, 270, 300, 150), true, false, 1},
        // The beam's middle line decides, not its axis: axis at y = 360 on its
        // left face, band 120 to 360, middle at y = 240.
        {"OffCentreAxisAgainstTheLeftFace", Beam(1, 0, 360, 6000, 360, 240, 0), true, false, 1},
        {"Crossing", Beam(1, 3000, -2000, 3000, 2000, 240, 120), true, true, 0},
    };
    for (const auto& c : cases) {
        Load(c.beam + "," + Line(2, 0, 0, 0, 6000, 0, 240, 120));
        TFakeEDOScope scope;
        auto& wall = scope.Attach<TFakeWallEDO>(building_->DrawObj(2));
        wall.leftLine = TVRMCustomLine2d({0, 120}, {6000, 120});
        wall.rightLine = TVRMCustomLine2d({0, -120}, {6000, -120});
        wall.leftExternal = c.leftExternal;
        wall.rightExternal = c.rightExternal;
        int side = -1;
        EXPECT_EQ(IsBeamSideOnWallFace(Record(1), Record(2), side), c.side != 0) << c.name;
        EXPECT_EQ(side, c.side) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsSameBottomElev: a beam 500 deep with its top at 3000 (bottom 2500) under a
// slab; the slab's bottom is its top less its thickness.

TEST_F(TBeamColumnTest, SameBottomElev)
{
    const std::string level = Beam(1, 0, 0, 6000, 0, 240, 120, 500, 3000);
    // Rising 600 along the beam; its bottom at the start is still 2500.
    const std::string sloping =
        R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 500, "StartPtTopElev": 3000, "EndPtTopElev": 3600, "StartPtBottomElev": 2500, "EndPtBottomElev": 3100}, "shape": )" +
        LineShape(0, 0, 6000, 0) + "}";
    struct {
        const char* name;
        std::string beam;
        double slabTop, thickness;
        std::string elevation;  // the slab's face elevation; empty: level at its top
        bool expected;
    } cases[] = {{"SlabBottomOnTheBeamBottom", level, 2620, 120, "", true},
                 {"SlabTopOnTheBeamBottom", level, 2500, 120, "", false},
                 {"SlabBottomOnTheBeamTop", level, 3120, 120, "", false},
                 {"WithinTolerance", level, 2620.001, 120, "", true},
                 {"BeyondTolerance", level, 2620.002, 120, "", false},
                 {"SlopingBeam", sloping, 2620, 120, "", false},
                 // Rising 0.1 from its edge at x = -1000: 2620 at the beam's start,
                 // its bottom there 2500, but the slab slopes.
                 {"SlopedSlab", level, 2620, 120,
                  R"(, "elevation": {"kind": "ratio", "edge": 3, "elev": 2520, "ratio": 0.1}, "depth": 120)", false}};
    for (const auto& c : cases) {
        Load(c.beam + "," +
             Face(2, 19, -1000, -1000, 7000, 1000,
                  R"("TopElev": )" + Num(c.slabTop) + R"(, "Thickness": )" + Num(c.thickness), c.elevation));
        EXPECT_EQ(IsSameBottomElev(Record(1), Record(2)), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------------------
// IsSamePlane: coincident and facing the same way.

TEST(TPlaneRelationTest, SamePlane)
{
    const TVRMPlane3d base({0, 0, 1}, {0, 0, 3000});
    struct {
        const char* name;
        TVRMPlane3d other;
        bool expected;
    } cases[] = {{"SamePlaneOtherBasePoint", TVRMPlane3d({0, 0, 1}, {500, 800, 3000}), true},
                 {"CoincidentFacingDown", TVRMPlane3d({0, 0, -1}, {0, 0, 3000}), false},
                 {"ParallelOneMillimetreAbove", TVRMPlane3d({0, 0, 1}, {0, 0, 3001}), false},
                 {"Tilted", TVRMPlane3d({0, 0.1, 1}, {0, 0, 3000}), false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsSamePlane(base, c.other), c.expected) << c.name;
}

}  // namespace
