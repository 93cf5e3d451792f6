// Trenches and their units through the element-object API: the section's
// extent, the hollow by the ring and face-run methods, the whole solid, the
// free heads, the side walls' free-head kinds and the relation answers.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

std::string N(double v)
{
    return std::to_string(v);
}

struct TAxis {
    double x0, y0, x1, y1;
};

// A trench on Axis, "Width" 600, "AxisOffset" 300, from Bottom to Top.
std::string TrenchOn(int id, const TAxis& a, double bottom = 0, double top = 600)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 80, "props": {"Width": 600, "AxisOffset": 300, "Height": )" + N(top - bottom) +
           R"(, "StartPtBottomElev": )" + N(bottom) + R"(}, "shape": {"kind": "line", "start": [)" + N(a.x0) + ", " +
           N(a.y0) + R"(], "end": [)" + N(a.x1) + ", " + N(a.y1) + R"(], "width": 600, "axisOffset": 300, "bottom": )" +
           N(bottom) + R"(, "top": )" + N(top) + "}}";
}

// A trench along x from X0 to X0 + Length at y = Y.
std::string Trench(int id, double y, double length = 3000, double x0 = 0)
{
    return TrenchOn(id, {x0, y, x0 + length, y});
}

// A unit of trench Parent on Axis: its section spans x0..x1 across the
// trench (to the right positive) and Bottom..Top.
std::string UnitOn(int id, int parent, const TAxis& a, int type, double x0, double x1, double bottom, double top,
                   const std::string& extraProps = "")
{
    const double w = x1 - x0, h = top - bottom;
    return R"({"id": )" + std::to_string(id) + R"(, "type": 84, "parent": )" + std::to_string(parent) +
           R"(, "props": {"EDOPID": )" + std::to_string(parent) + R"(, "Type": )" + std::to_string(type) +
           R"(, "Offset": )" + N((x0 + x1) / 2) + R"(, "BottomElev": )" + N(bottom) + R"(, "SectionWidth": )" + N(w) +
           extraProps + R"(}, "shape": {"kind": "line", "start": [)" + N(a.x0) + ", " + N(a.y0) + R"(], "end": [)" +
           N(a.x1) + ", " + N(a.y1) + R"(], "width": )" + N(w) + R"(, "axisOffset": )" + N(-x0) + R"(, "bottom": )" +
           N(bottom) + R"(, "top": )" + N(top) + R"(, "section": [[)" + N(x0) + ", 0], [" + N(x1) + ", 0], [" + N(x1) +
           ", " + N(h) + "], [" + N(x0) + ", " + N(h) + "]]}}";
}

std::string Unit(int id, int parent, double y, int type, double x0, double x1, double bottom, double top,
                 double length = 3000, double xs = 0)
{
    return UnitOn(id, parent, {xs, y, xs + length, y}, type, x0, x1, bottom, top);
}

// The ring section's units on Axis: bottom board 600 x 100, side walls 100
// x 400 at +-(200..300), cover board 600 x 100 (ids Id + 1 .. Id + 4).
std::string RingUnits(int id, const TAxis& a, bool cover = true, double rightTop = 500)
{
    std::string s = UnitOn(id + 1, id, a, 0, -300, 300, 0, 100) + "," + UnitOn(id + 2, id, a, 1, -300, -200, 100, 500) +
                    "," + UnitOn(id + 3, id, a, 1, 200, 300, 100, rightTop);
    if (cover)
        s += "," + UnitOn(id + 4, id, a, 2, -300, 300, 500, 600);
    return s;
}

std::string RingOn(int id, const TAxis& a, bool cover = true, double rightTop = 500)
{
    return TrenchOn(id, a) + "," + RingUnits(id, a, cover, rightTop);
}

std::string Ring(int id, double y, bool cover = true, double rightTop = 500)
{
    return RingOn(id, {0, y, 3000, y}, cover, rightTop);
}

class TTrenchTest : public TGeometryModelTest {
protected:
    template <class T>
    Ref<T> Edo(int id)
    {
        const Ref<T> edo = RefCast<T>(GetCalcEDO(Record(id), true));
        EXPECT_TRUE(edo) << id;
        return edo;
    }
};

double Volume(const TVRMPolyhedron3d* solid)
{
    return solid ? solid->GetVolume() : 0.0;
}

TEST_F(TTrenchTest, RingSectionHollowWholeSolidAndFreeHeads)
{
    Load("[" + Ring(1, 0) + "]");
    const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
    EXPECT_NEAR(Volume(trench->GetOriginalPolyhedron()), (600.0 * 600 - 400.0 * 400) * 3000, 10);
    EXPECT_NEAR(Volume(trench->GetHoleSolid()), 400.0 * 400 * 3000, 10);
    EXPECT_NEAR(Volume(trench->GetWholeSolid()), 6e8 + 4.8e8, 10);
    EXPECT_NEAR(Edo<IQTKLineEdoInfo>(1)->GetWidth(), 600, 1e-9);
    EXPECT_NEAR(trench->GetSideWallWidth(), 100, 1e-9);
    EXPECT_NEAR(trench->GetPlanPolygon()->Area(), 600.0 * 3000, 1e-3);
    EXPECT_TRUE(trench->IsStartFreeHead());
    EXPECT_TRUE(trench->IsEndFreeHead());
    for (const TVRMPolyhedron3d* head : {trench->GetStartFreeHeadSolid(), trench->GetEndFreeHeadSolid()}) {
        ASSERT_NE(head, nullptr);
        EXPECT_NEAR(Volume(head), 400.0 * 400 * 100, 1);
        // The face towards the hollow last: 100 inside the trench's end.
        const TVRMFace3d& last = head->GetFace(head->GetFaceCount() - 1);
        const double x = last.GetBox().min.x;
        EXPECT_TRUE(std::abs(x - 100) < 1e-6 || std::abs(x - 2900) < 1e-6) << x;
    }
}

TEST_F(TTrenchTest, FaceRunClosesAnOpenTop)
{
    struct Case {
        const char* name;
        double rightTop, hollow;
    };
    const Case cases[] = {
        {"walls level", 500, 400.0 * 400 * 3000},
        {"the lower wall top closes", 450, 400.0 * 350 * 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + Ring(1, 0, false, c.rightTop) + "]");
        const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
        EXPECT_NEAR(Volume(trench->GetHoleSolid()), c.hollow, 10);
        EXPECT_NEAR(Volume(trench->GetWholeSolid()), Volume(trench->GetOriginalPolyhedron()) + c.hollow, 10);
    }
}

TEST_F(TTrenchTest, NoHollowWithoutAnEnclosure)
{
    struct Case {
        const char* name;
        std::string units;
    };
    const Case cases[] = {
        {"bottom board only", Unit(2, 1, 0, 0, -300, 300, 0, 100)},
        {"one side wall only", Unit(2, 1, 0, 1, 200, 300, 0, 400)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + Trench(1, 0) + "," + c.units + "]");
        const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
        EXPECT_EQ(trench->GetHoleSolid(), nullptr);
        EXPECT_NEAR(Volume(trench->GetWholeSolid()), Volume(trench->GetOriginalPolyhedron()), 1e-6);
        EXPECT_FALSE(trench->GetStartFreeHeadSolid()->HasFaces());
        EXPECT_FALSE(trench->GetEndFreeHeadSolid()->HasFaces());
    }
}

// Without side walls: "Width" and "AxisOffset" and the shape outline. Side
// walls of 100 and 150: the larger thickness, the extent between their outer faces.
TEST_F(TTrenchTest, SectionExtent)
{
    Load("[" + Trench(1, 0) + "," + Unit(2, 1, 0, 0, -300, 300, 0, 100) + "," + Trench(10, 5000) + "," +
         Unit(11, 10, 5000, 0, -400, 400, 0, 100) + "," + Unit(12, 10, 5000, 1, -400, -300, 100, 500) + "," +
         Unit(13, 10, 5000, 1, 200, 350, 100, 500) + "]");
    struct Case {
        int id;
        double width, axisOffset, sideWall, plan;
    };
    // Trench 10: all units span -400..400, the side walls -400..350: 750
    // wide, axis offset 300 + (-400) - (-400) = 300.
    for (const Case& c : {Case{1, 600, 300, 0, 600.0 * 3000}, Case{10, 750, 300, 150, 750.0 * 3000}}) {
        SCOPED_TRACE(c.id);
        EXPECT_NEAR(Edo<IQTKLineEdoInfo>(c.id)->GetWidth(), c.width, 1e-9);
        EXPECT_NEAR(Edo<IQTKLineEdoInfo>(c.id)->GetAxisOffset(), c.axisOffset, 1e-9);
        EXPECT_NEAR(Edo<IQTKTrenchCalcEDO>(c.id)->GetSideWallWidth(), c.sideWall, 1e-9);
        EXPECT_NEAR(Edo<IQTKTrenchCalcEDO>(c.id)->GetPlanPolygon()->Area(), c.plan, 1e-3);
    }
}

TEST_F(TTrenchTest, SideWallFreeHeadKinds)
{
    // 1: one side wall on a bottom board; 10: two of equal rank; 20: a
    // middle wall between two that do not face each other (no hollow); 40: a
    // "Type" 5 unit.
    Load("[" + Trench(1, 0) + "," + Unit(2, 1, 0, 0, -300, 300, 0, 100) + "," + Unit(3, 1, 0, 1, 200, 300, 100, 500) +
         "," + Ring(10, 5000) + "," + Trench(20, 10000) + "," + Unit(21, 20, 10000, 1, -300, -200, 100, 300) + "," +
         Unit(22, 20, 10000, 1, -50, 50, 100, 500) + "," + Unit(23, 20, 10000, 1, 200, 300, 350, 500) + "," +
         Trench(40, 20000) + "," + Unit(41, 40, 20000, 5, -300, 300, 0, 100) + "]");
    struct Case {
        const char* name;
        int unit, kind;
    };
    const Case cases[] = {
        {"the only side wall", 3, 2}, {"left of two", 12, 0},  {"right of two", 13, 1},
        {"left of three", 21, 0},     {"middle wall", 22, -1}, {"right of three", 23, 1},
        {"bottom board", 11, -1},     {"cover board", 14, -1}, {"Type 5: a cover board", 41, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(c.unit)->GetFreeHeadKind(), c.kind) << c.name;
    // The only side wall plasters the last face of each free head: the
    // hollow over the bottom board left of the wall, closed at the wall's
    // top, 500 x 400.
    const auto shell = Edo<IQTKTrenchUnitCalcEDO>(3)->GetFreeHeadPlasteringShell(2);
    EXPECT_EQ(shell->GetFaceCount(), 2);
    EXPECT_NEAR(shell->GetArea(), 2 * 500.0 * 400, 1e-3);
    const auto ring = Edo<IQTKTrenchUnitCalcEDO>(12)->GetFreeHeadPlasteringShell(2);
    EXPECT_EQ(ring->GetFaceCount(), 2);
    EXPECT_NEAR(ring->GetArea(), 2 * 400.0 * 400, 1e-3);
    // "Type" 5 is a cover board: it plasters nothing (a bottom board would
    // plaster its top in a trench without hollow).
    EXPECT_FALSE(Edo<IQTKTrenchUnitCalcEDO>(41)->BuildPlasteringShell()->HasFaces());
    // A middle wall in a trench without hollow plasters nothing.
    EXPECT_EQ(Edo<IQTKTrenchCalcEDO>(20)->GetHoleSolid(), nullptr);
    EXPECT_FALSE(Edo<IQTKTrenchUnitCalcEDO>(22)->BuildPlasteringShell()->HasFaces());
}

TEST_F(TTrenchTest, UnitsOfOneTrenchNeverIntersectAndFlagsClear)
{
    Load("[" + Ring(1, 0) + "]");
    for (int other : {3, 4, 5})
        EXPECT_FALSE(Edo<IQTKCalculatorEDO>(2)->IsIntersectWith(Record(other))) << other;
    EXPECT_FALSE(Edo<IQTKCalculatorEDO>(1)->IsIntersectWith(Record(2)));
    const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
    trench->SetFreeHeadAdded(true);
    EXPECT_TRUE(trench->IsFreeHeadAdded());
    trench->ClearQtyItems();
    EXPECT_FALSE(trench->IsFreeHeadAdded());
    // The units lie along the trench.
    const Ref<IQTKTrenchUnitCalcEDO> wall = Edo<IQTKTrenchUnitCalcEDO>(3);
    EXPECT_NEAR(Volume(wall->GetOriginalPolyhedron()), 100.0 * 400 * 3000, 10);
    EXPECT_NEAR(wall->GetUnitLine()->Length(), 3000, 1e-6);
    EXPECT_GE(wall->GetStartFaceIndex(), 0);
    EXPECT_GE(wall->GetEndFaceIndex(), 0);
}

// A stem trench (10, along y) whose start lies in a through-trench (1, along
// x from 0 to 6000): the stem stops at the through-trench's left side wall
// (y 200..300), and its hollow goes on through that wall.
TEST_F(TTrenchTest, TeeJunction)
{
    const TAxis through{0, 0, 6000, 0}, stem{3000, 0, 3000, 3000};
    Load("[" + RingOn(1, through) + "," + RingOn(10, stem) + "]");
    const Ref<IQTKTrenchCalcEDO> a = Edo<IQTKTrenchCalcEDO>(1), b = Edo<IQTKTrenchCalcEDO>(10);
    EXPECT_NEAR(Volume(a->GetHoleSolid()), 400.0 * 400 * 6000, 10);
    EXPECT_NEAR(Volume(b->GetHoleSolid()), 400.0 * 400 * (3000 - 300) + 400.0 * 400 * 100, 10);
    EXPECT_NEAR(b->GetHoleSolid()->GetBox().min.y, 200, 1e-6);
    // The stem's start stands against a trench of the same elevations: not free.
    EXPECT_TRUE(a->IsStartFreeHead());
    EXPECT_TRUE(a->IsEndFreeHead());
    EXPECT_FALSE(b->IsStartFreeHead());
    EXPECT_TRUE(b->IsEndFreeHead());
    EXPECT_FALSE(b->GetStartFreeHeadSolid()->HasFaces());
    EXPECT_NEAR(Volume(b->GetEndFreeHeadSolid()), 400.0 * 400 * 100, 1);
    // Codes 7 (A through) and 5 (the stem's start in A): the stem takes A off, not the other way.
    EXPECT_FALSE(a->IsIntersectTrench(Record(10)));
    EXPECT_TRUE(b->IsIntersectTrench(Record(1)));
    EXPECT_NEAR(a->GetLength(), 6000, 1e-6);
    EXPECT_NEAR(b->GetLength(), 3000 - 300, 1e-6);
    // The stem's units plaster the hollow through the wall too (100 more);
    // the through-trench's units only their own length.
    struct Case {
        const char* name;
        int unit;
        double area;
    };
    const Case cases[] = {
        {"stem bottom board", 11, 400.0 * (2700 + 100)}, {"stem left wall", 12, 400.0 * (2700 + 100)},
        {"stem right wall", 13, 400.0 * (2700 + 100)},   {"through bottom board", 2, 400.0 * 6000},
        {"through right wall", 4, 400.0 * 6000},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(Edo<IQTKTrenchUnitCalcEDO>(c.unit)->BuildPlasteringShell()->GetArea(), c.area, 1e-3) << c.name;
}

// The stem's range -100..700 encloses the through-trench's 0..600: the
// through-trench does not close the stem's start, and the stem does not
// cross it; the through-trench (enclosed) does.
TEST_F(TTrenchTest, TeeAgainstAnEnclosedTrench)
{
    const TAxis through{0, 0, 6000, 0}, stem{3000, 0, 3000, 3000};
    Load("[" + RingOn(1, through) + "," + TrenchOn(10, stem, -100, 700) + "," + RingUnits(10, stem) + "]");
    const Ref<IQTKTrenchCalcEDO> a = Edo<IQTKTrenchCalcEDO>(1), b = Edo<IQTKTrenchCalcEDO>(10);
    EXPECT_TRUE(b->IsElevOverlapped(Record(1)));
    EXPECT_FALSE(a->IsElevOverlapped(Record(10)));
    EXPECT_TRUE(b->IsStartFreeHead());
    EXPECT_FALSE(b->IsIntersectTrench(Record(1)));
    EXPECT_TRUE(a->IsIntersectTrench(Record(10)));
}

// The bottom board's answer to the other trench at a T (stem code 5, through
// code 7, the stem connected at its start): 2 only for the lower whole solid.
TEST_F(TTrenchTest, BottomBoardFreeHeadOfAtATee)
{
    struct Case {
        const char* name;
        bool throughCover, stemCover;
        int stemOfThrough, throughOfStem;
    };
    const Case cases[] = {
        {"equal heights", true, true, 0, 0},
        {"the stem lower (no cover)", true, false, 2, 0},
        {"the through-trench lower", false, true, 0, 2},
    };
    const TAxis through{0, 0, 6000, 0}, stem{3000, 0, 3000, 3000};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + RingOn(1, through, c.throughCover) + "," + RingOn(10, stem, c.stemCover) + "]");
        EXPECT_EQ(Edo<IQTKTrenchCalcEDO>(10)->GetConnectedTrenches(true), 2);
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(11)->IsFreeHeadOf(Record(1)), c.stemOfThrough);
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(2)->IsFreeHeadOf(Record(10)), c.throughOfStem);
    }
}

// GetConnectedTrenches asks each end about that end's own neighbours: 0
// where nothing meets the trench or three elements meet.
TEST_F(TTrenchTest, ConnectedTrenchCounts)
{
    struct Case {
        const char* name;
        std::string model;
        int id, atStart, atEnd;
    };
    const TAxis through{0, 0, 6000, 0}, stem{3000, 0, 3000, 3000}, down{3000, 0, 3000, -3000};
    const Case cases[] = {
        {"alone", RingOn(1, through), 1, 0, 0},
        {"joined only at its start", RingOn(1, through) + "," + RingOn(10, stem), 10, 2, 0},
        {"three at its start", RingOn(1, through) + "," + RingOn(10, stem) + "," + RingOn(20, down), 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + c.model + "]");
        EXPECT_EQ(Edo<IQTKTrenchCalcEDO>(c.id)->GetConnectedTrenches(true), c.atStart);
        EXPECT_EQ(Edo<IQTKTrenchCalcEDO>(c.id)->GetConnectedTrenches(false), c.atEnd);
    }
}

// A 6000 trench with free ends: a 240 wall across the middle (code 10)
// takes 240 off; a wider trench across it (code 8) its 800 plan once, also
// with a wall inside that trench's plan.
TEST_F(TTrenchTest, LengthLessWhatCrossesIt)
{
    const std::string wall = R"({"id": 30, "type": 0, "props": {"Thickness": 240}, "shape": {"kind": "line",
        "start": [3000, -2000], "end": [3000, 2000], "bottom": 0, "top": 3000}})";
    const TAxis across{3000, -2000, 3000, 2000};
    const std::string wide = TrenchOn(10, across) + "," + UnitOn(11, 10, across, 0, -400, 400, 0, 100) + "," +
                             UnitOn(12, 10, across, 1, -400, -300, 100, 500) + "," +
                             UnitOn(13, 10, across, 1, 300, 400, 100, 500);
    struct Case {
        const char* name;
        std::string crossing;
        double length;
    };
    const Case cases[] = {
        {"nothing", "", 6000},
        {"a 240 wall", "," + wall, 6000 - 240},
        {"a wider trench", "," + wide, 6000 - 800},
        {"a wider trench and a wall in it", "," + wide + "," + wall, 6000 - 800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + RingOn(1, {0, 0, 6000, 0}) + c.crossing + "]");
        EXPECT_TRUE(Edo<IQTKTrenchCalcEDO>(1)->IsStartFreeHead());
        EXPECT_TRUE(Edo<IQTKTrenchCalcEDO>(1)->IsEndFreeHead());
        EXPECT_NEAR(Edo<IQTKTrenchCalcEDO>(1)->GetLength(), c.length, 1e-6);
    }
}

// Under a slab (500..620) a trench takes the void that it and the slab close
// in the block around it; a void open to the block's side or bottom is none.
TEST_F(TTrenchTest, HollowUnderASlab)
{
    const TAxis axis{0, 0, 3000, 0};
    const std::string bottom = UnitOn(2, 1, axis, 0, -300, 300, 0, 100);
    const std::string left = UnitOn(3, 1, axis, 1, -300, -200, 100, 500);
    const std::string right = UnitOn(4, 1, axis, 1, 200, 300, 100, 500);
    const std::string slab = R"({"id": 9, "type": 19, "props": {"Thickness": 120, "TopElev": 620}, "shape":
        {"kind": "face", "outline": [[-1000, -2000], [4000, -2000], [4000, 2000], [-1000, 2000]]}})";
    struct Case {
        const char* name;
        std::string units;
        double hollow;
    };
    const Case cases[] = {
        {"closed by the slab", bottom + "," + left + "," + right, 400.0 * 400 * 3000},
        {"open to the side", bottom + "," + left, 0},
        {"open to the bottom", left + "," + right, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + TrenchOn(1, axis) + "," + c.units + "," + slab + "]");
        const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
        EXPECT_NEAR(Volume(trench->GetHoleSolid()), c.hollow, 10);
        EXPECT_NEAR(Volume(trench->GetWholeSolid()), Volume(trench->GetOriginalPolyhedron()) + c.hollow, 10);
    }
}

}  // namespace

namespace {

// Side walls of a higher material rank ("Level" 5 against 1) take the free
// heads: of two walls, a higher-ranked right wall carries both; walls that
// overlap across the trench are ranked by their left and their right faces.
TEST_F(TTrenchTest, FreeHeadKindsByRankAndOverlap)
{
    const Ref<TRDXTable> material =
        MakeRef<TRDXTable>("Material", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""},
                                                                 {"ElementTypeID", TRDXFieldType::Integer, ""},
                                                                 {"Description", TRDXFieldType::Text, ""},
                                                                 {"Level", TRDXFieldType::Integer, ""}});
    material->AddRow({std::int64_t{1}, std::int64_t{84}, std::string("C30"), std::int64_t{1}});
    material->AddRow({std::int64_t{2}, std::int64_t{84}, std::string("C15"), std::int64_t{5}});
    TQTKCalcSessionOptions options;
    options.materialTable = TableRef(material.get());
    const TAxis a{0, 0, 3000, 0}, b{0, 5000, 3000, 5000}, c{0, 10000, 3000, 10000};
    const std::string c30 = R"(, "Material": "C30")", c15 = R"(, "Material": "C15")";
    Load("[" + TrenchOn(1, a) + "," + UnitOn(2, 1, a, 0, -300, 300, 0, 100, c30) + "," +
             UnitOn(3, 1, a, 1, -300, -200, 100, 500, c30) + "," + UnitOn(4, 1, a, 1, 200, 300, 100, 500, c15) + "," +
             TrenchOn(10, b) + "," + UnitOn(11, 10, b, 0, -300, 300, 0, 100, c30) + "," +
             UnitOn(12, 10, b, 1, -300, -200, 100, 500, c30) + "," + UnitOn(13, 10, b, 1, -50, 50, 100, 500, c15) +
             "," + UnitOn(14, 10, b, 1, 200, 300, 100, 500, c30) + "," + TrenchOn(20, c) + "," +
             UnitOn(21, 20, c, 0, -300, 300, 0, 100) + "," + UnitOn(22, 20, c, 1, -300, 0, 100, 500) + "," +
             UnitOn(23, 20, c, 1, -100, 300, 100, 500) + "]",
         options);
    struct Case {
        const char* name;
        int unit, kind;
    };
    const Case cases[] = {
        {"left wall under a higher-ranked right wall", 3, -1},
        {"higher-ranked right wall", 4, 2},
        {"outer wall beside a higher-ranked middle wall", 12, -1},
        {"higher-ranked middle wall", 13, 2},
        {"other outer wall", 14, -1},
        // -300..0 and -100..300: the first starts further left, the second ends further right.
        {"overlapping, further left", 22, 0},
        {"overlapping, further right", 23, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(c.unit)->GetFreeHeadKind(), c.kind) << c.name;
}

// The face-run method's rows by the roles present (the ring's units,
// bottom board 0..100, walls 100..500 at -300..-200 and 200..300, cover
// 500..600): each closes the rest of the ring's opening.
TEST_F(TTrenchTest, FaceRunRows)
{
    const TAxis a{0, 0, 3000, 0};
    const std::string bottom = UnitOn(2, 1, a, 0, -300, 300, 0, 100), left = UnitOn(3, 1, a, 1, -300, -200, 100, 500),
                      right = UnitOn(4, 1, a, 1, 200, 300, 100, 500), cover = UnitOn(5, 1, a, 2, -300, 300, 500, 600);
    const std::string wrapped = R"({"id": 2, "type": 84, "parent": 1, "props": {"EDOPID": 1, "Type": 0, "Offset": 0,
        "BottomElev": 0, "SectionWidth": 600}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0],
        "width": 600, "axisOffset": 300, "bottom": 0, "top": 100,
        "section": [[0, 100], [-300, 100], [-300, 0], [300, 0], [300, 100]]}})";
    struct Case {
        const char* name;
        std::string units;
        double width;  // the hollow is Width x 400 x 3000
    };
    const Case cases[] = {
        {"cover, bottom, left", cover + "," + bottom + "," + left, 500},
        {"cover, left, right", cover + "," + left + "," + right, 400},
        {"cover, bottom", cover + "," + bottom, 600},
        {"cover, right", cover + "," + right, 500},
        {"cover, left", cover + "," + left, 500},
        {"left, right", left + "," + right, 400},
        {"bottom, right", bottom + "," + right, 500},
        // Its top listed from its middle: the run is its last edge, then its first.
        {"bottom whose run wraps, left, right", wrapped + "," + left + "," + right, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + TrenchOn(1, a) + "," + c.units + "]");
        EXPECT_NEAR(Volume(Edo<IQTKTrenchCalcEDO>(1)->GetHoleSolid()), c.width * 400 * 3000, 10);
    }
}

// A right side wall whose section has no edge facing the hollow (a low flat
// triangle) takes no part: the hollow is closed as for a bottom board and a
// left wall, over the board's right end up to the wall's top: 500 x 400.
TEST_F(TTrenchTest, FaceRunRoleWithoutQualifyingEdgeIsAbsent)
{
    const TAxis a{0, 0, 3000, 0};
    const std::string flat = R"({"id": 4, "type": 84, "parent": 1, "props": {"EDOPID": 1, "Type": 1, "Offset": 250,
        "BottomElev": 100, "SectionWidth": 100}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0],
        "width": 100, "axisOffset": -200, "bottom": 100, "top": 120,
        "section": [[200, 0], [300, 0], [250, 20]]}})";
    Load("[" + TrenchOn(1, a) + "," + UnitOn(2, 1, a, 0, -300, 300, 0, 100) + "," +
         UnitOn(3, 1, a, 1, -300, -200, 100, 500) + "," + flat + "]");
    EXPECT_NEAR(Volume(Edo<IQTKTrenchCalcEDO>(1)->GetHoleSolid()), 500.0 * 400 * 3000, 10);
}

}  // namespace

namespace {

std::string Wall(int id, const TAxis& a, int type = 0)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "props": {"Thickness": 240}, "shape": {"kind": "line", "start": [)" + N(a.x0) + ", " + N(a.y0) +
           R"(], "end": [)" + N(a.x1) + ", " + N(a.y1) + R"(], "bottom": 0, "top": 3000}})";
}

std::string Strip(int id, const TAxis& a)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 51, "props": {"Width": 1000, "AxisOffset": 500}, "shape": {"kind": "line", "start": [)" +
           N(a.x0) + ", " + N(a.y0) + R"(], "end": [)" + N(a.x1) + ", " + N(a.y1) +
           R"(], "width": 1000, "bottom": -1000, "top": 0}})";
}

// Trench 1 from (0, 0) to (3000, 0) meeting a wall or strip foundation 30.
TEST_F(TTrenchTest, ConnectedWallsAndStripFoundations)
{
    const TAxis trench{0, 0, 3000, 0};
    struct Case {
        const char* name;
        std::string other;
        bool wall, connected;
    };
    const Case cases[] = {
        {"wall across the middle (10)", Wall(30, {1500, -2000, 1500, 2000}), true, true},
        {"wall the trench's end stands in (6)", Wall(30, {3000, -2000, 3000, 2000}), true, true},
        {"wall standing on the trench (7)", Wall(30, {1500, 300, 1500, 3000}), true, true},
        {"parallel wall beside it", Wall(30, {0, 420, 3000, 420}), true, true},
        {"wall at a corner of a lone trench (1)", Wall(30, {0, 0, 0, -3000}), true, false},
        {"wall at a corner where another trench joins (1)",
         Wall(30, {0, 0, 0, -3000}) + "," + RingOn(10, {0, 0, 0, 3000}), true, true},
        {"strip foundation across, the trench narrower (8)", Strip(30, {1500, -2000, 1500, 2000}), false, true},
        {"strip foundation the trench's end stands in (6)", Strip(30, {3000, -2000, 3000, 2000}), false, false},
        {"parallel strip foundation under it", Strip(30, {0, 0, 3000, 0}), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + RingOn(1, trench) + "," + c.other + "]");
        const Ref<IQTKTrenchCalcEDO> t = Edo<IQTKTrenchCalcEDO>(1);
        EXPECT_EQ(c.wall ? t->IsConnectedWall(Record(30)) : t->IsConnectedStripFD(Record(30)), c.connected);
    }
}

// The bottom board's IsFreeHeadOf by junction code (equal whole heights):
// an L of two connected trenches 0, a crossing 2 both ways, no contact 0.
TEST_F(TTrenchTest, BottomBoardFreeHeadOfByJunction)
{
    struct Case {
        const char* name;
        std::string second;
        int ownOfOther, otherOfOwn;
    };
    const Case cases[] = {
        {"L (2 and 1)", RingOn(10, {3000, 0, 3000, 3000}), 0, 0},
        {"crossing (8 and 10)",
         TrenchOn(10, {1500, -2000, 1500, 2000}) + "," +
             UnitOn(11, 10, {1500, -2000, 1500, 2000}, 0, -400, 400, 0, 100) + "," +
             UnitOn(12, 10, {1500, -2000, 1500, 2000}, 1, -400, -300, 100, 500) + "," +
             UnitOn(13, 10, {1500, -2000, 1500, 2000}, 1, 300, 400, 100, 500) + "," +
             UnitOn(14, 10, {1500, -2000, 1500, 2000}, 2, -400, 400, 500, 600),
         2, 2},
        {"apart (0)", RingOn(10, {0, 5000, 3000, 5000}), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("[" + RingOn(1, {0, 0, 3000, 0}) + "," + c.second + "]");
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(2)->IsFreeHeadOf(Record(10)), c.ownOfOther);
        EXPECT_EQ(Edo<IQTKTrenchUnitCalcEDO>(11)->IsFreeHeadOf(Record(1)), c.otherOfOwn);
    }
}

}  // namespace

namespace {

// What is filled on first request (free-head solids, a unit's deducted solid,
// a side wall's free-head kind) is filled once: threads asking together all
// get the same answer.
TEST_F(TTrenchTest, FilledOnceUnderConcurrentRequests)
{
    Load("[" + RingOn(1, {0, 0, 3000, 0}) + "]");
    const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(1);
    const Ref<IQTKTrenchUnitCalcEDO> wall = Edo<IQTKTrenchUnitCalcEDO>(3);
    struct TSeen {
        const TVRMPolyhedron3d *start, *end, *deducted;
        int kind;
    };
    constexpr int CThreads = 8;
    std::vector<TSeen> seen(CThreads);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < CThreads; ++i)
        threads.emplace_back([&, i] {
            while (!go.load())
                std::this_thread::yield();
            seen[i] = {trench->GetStartFreeHeadSolid(), trench->GetEndFreeHeadSolid(), wall->GetDeductedSolid(),
                       wall->GetFreeHeadKind()};
        });
    go.store(true);
    for (std::thread& t : threads)
        t.join();
    for (const TSeen& s : seen) {
        EXPECT_EQ(s.start, seen[0].start);
        EXPECT_EQ(s.end, seen[0].end);
        EXPECT_EQ(s.deducted, seen[0].deducted);
        EXPECT_EQ(s.kind, 0);
    }
    EXPECT_NEAR(Volume(seen[0].start), 400.0 * 400 * 100, 1);
    EXPECT_NEAR(Volume(seen[0].deducted), 100.0 * 400 * 3000, 10);
}

}  // namespace

namespace {

// Quantity 445 of a trench and 580 or 634 of a unit, with an empty detail
// container: one detail of the original solid, marked as the original
// quantity, its text the stored original quantity in the quantity's unit;
// another quantity or a container already used: nothing added.
TEST_F(TTrenchTest, OriginalQuantityDetails)
{
    Load("[" + RingOn(1, {0, 0, 3000, 0}) + "]");
    const Ref<TRDXTable> qty = MakeRef<TRDXTable>(
        "Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}, {"Unit", TRDXFieldType::Text, ""}});
    for (const int id : {445, 446, 580, 634, 581})
        qty->AddRow({std::int64_t{id}, std::string("m3")});
    struct Case {
        const char* name;
        int element, qtyId;
        bool containerUsed;
        double solid;  // the detail's solid volume; 0: no detail added
    };
    const double trench = 6e8, wall = 100.0 * 400 * 3000;
    const Case cases[] = {
        {"trench 445", 1, 445, false, trench},           {"trench 446", 1, 446, false, 0},
        {"trench 445, container used", 1, 445, true, 0}, {"side wall 580", 3, 580, false, wall},
        {"side wall 634", 3, 634, false, wall},          {"side wall 581", 3, 581, false, 0},
    };
    TQTKDetailModeScope mode(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(c.element), true);
        edo->SetOriginalQty(1.5e9);
        TQTKDeductDetailContainer container;
        if (c.containerUsed)
            container.Add(std::make_unique<TQTKDeductDetail>(RecordRef(Record(c.element)), "", "", "1"));
        SetDeductDetailContainer(&container);
        edo->FillDeductDetail(qty->GetRecordByID(c.qtyId));
        SetDeductDetailContainer(nullptr);
        const int added = container.GetCount() - (c.containerUsed ? 1 : 0);
        EXPECT_EQ(added, c.solid > 0 ? 1 : 0);
        if (added == 1) {
            const auto* detail = dynamic_cast<const TQTKSolidDeductDetail*>(container.GetItems(0));
            ASSERT_NE(detail, nullptr);
            EXPECT_TRUE(detail->GetIsOriginalQty());
            EXPECT_EQ(detail->GetDedcutExpr(), "1.5");
            EXPECT_NEAR(Volume(detail->GetSolid()), c.solid, 10);
        }
    }
}

// The sample building's cable trench DG1: 800 wide, side walls 100 thick,
// 6000 long with free ends: hollow 600 x 400 x 6000, end walls 600 x 400 x 100.
TEST_F(TTrenchTest, TheSampleBuildingsTrench)
{
    building_ = TTestBuilding::FromFile(TTestBuilding::FixturesDir() / "../../examples/building.json");
    building_->Activate();
    const Ref<IQTKTrenchCalcEDO> trench = Edo<IQTKTrenchCalcEDO>(115);
    EXPECT_NEAR(Volume(trench->GetHoleSolid()), 600.0 * 400 * 6000, 10);
    EXPECT_NEAR(Volume(trench->GetWholeSolid()), 800.0 * 600 * 6000, 10);
    EXPECT_NEAR(trench->GetLength(), 6000, 1e-6);
    EXPECT_NEAR(Volume(trench->GetStartFreeHeadSolid()), 600.0 * 400 * 100, 1);
    EXPECT_NEAR(Volume(trench->GetEndFreeHeadSolid()), 600.0 * 400 * 100, 1);
}

}  // namespace

namespace {

// A unit prepared before its trench is laid again when the trench is
// prepared, on whichever thread asks for it first: the solid the unit handed
// out before stays readable (a rule on the unit's own thread may hold it)
// and holds what the new one holds, the bottom board's 600 x 100 x 3000.
TEST_F(TTrenchTest, UnitSolidHandedOutBeforeTheTrenchIsPreparedStaysReadable)
{
    Load("[" + RingOn(1, {0, 0, 3000, 0}) + "]");
    const Ref<IQTKCalculatorEDO> unit = GetCalcEDO(Record(2), true);
    const TVRMPolyhedron3d* before = unit->GetOriginalPolyhedron();
    GetCalcEDO(Record(1), true);
    const TVRMPolyhedron3d* after = unit->GetOriginalPolyhedron();
    EXPECT_NE(before, after) << "the trench laid the unit again";
    EXPECT_NEAR(Volume(before), 600.0 * 100 * 3000, 10);
    EXPECT_NEAR(Volume(after), 600.0 * 100 * 3000, 10);
}

// Trenches prepared on several threads at once, each thread in its own
// order (a trench lays other trenches' side walls while it is prepared):
// the hollows come out as prepared one by one.
TEST_F(TTrenchTest, PreparedOnSeveralThreads)
{
    // A frame of four trenches at L corners with a middle trench at two Ts.
    Load("[" + RingOn(10, {0, 0, 6000, 0}) + "," + RingOn(20, {6000, 0, 6000, 4000}) + "," +
         RingOn(30, {6000, 4000, 0, 4000}) + "," + RingOn(40, {0, 4000, 0, 0}) + "," +
         RingOn(50, {3000, 0, 3000, 4000}) + "]");
    const std::vector<int> ids{10, 20, 30, 40, 50};
    constexpr int CThreads = 4;
    std::vector<std::vector<double>> hollows(CThreads);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < CThreads; ++t)
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            std::vector<double>& seen = hollows[t];
            seen.assign(ids.size(), 0.0);
            for (size_t k = 0; k < ids.size(); ++k) {
                const size_t i = (k + t) % ids.size();
                const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(Record(ids[i]), true));
                seen[i] = trench ? Volume(trench->GetHoleSolid()) : -1.0;
            }
        });
    go.store(true);
    for (std::thread& t : threads)
        t.join();
    // Along the frame's centre lines, and the middle trench between the
    // inner faces (3400) and through two side walls (2 x 100).
    const double ring = 400.0 * 400;
    const std::vector<double> expected{ring * 6000, ring * 4000, ring * 6000, ring * 4000, ring * 3600};
    for (int t = 0; t < CThreads; ++t)
        for (size_t i = 0; i < ids.size(); ++i)
            EXPECT_NEAR(hollows[t][i], expected[i], 10) << "thread " << t << ", trench " << ids[i];
}

}  // namespace
