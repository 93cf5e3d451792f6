// Trenches and their units through the element-object API: the section's
// extent, the hollow by the ring and face-run methods, the whole solid, the
// free heads, the side walls' free-head kinds and the relation answers.
#include <gtest/gtest.h>

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

std::string N(double v)
{
    return std::to_string(v);
}

// A trench along x from 0 to Length at y = Y, "Width" 600, "AxisOffset" 300, 0 to 600.
std::string Trench(int id, double y, double length = 3000, double x0 = 0)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 80, "props": {"Width": 600, "AxisOffset": 300, "Height": 600, "StartPtBottomElev": 0},
        "shape": {"kind": "line", "start": [)" +
           N(x0) + ", " + N(y) + R"(], "end": [)" + N(x0 + length) + ", " + N(y) +
           R"(], "width": 600, "axisOffset": 300, "bottom": 0, "top": 600}})";
}

// A unit of trench Parent: its section spans x0..x1 across the trench (to
// the right positive) and Bottom..Top.
std::string Unit(int id, int parent, double y, int type, double x0, double x1, double bottom, double top,
                 double length = 3000, double xs = 0)
{
    const double w = x1 - x0, h = top - bottom;
    return R"({"id": )" + std::to_string(id) + R"(, "type": 84, "parent": )" + std::to_string(parent) +
           R"(, "props": {"EDOPID": )" + std::to_string(parent) + R"(, "Type": )" + std::to_string(type) +
           R"(, "Offset": )" + N((x0 + x1) / 2) + R"(, "BottomElev": )" + N(bottom) + R"(, "SectionWidth": )" + N(w) +
           R"(}, "shape": {"kind": "line", "start": [)" + N(xs) + ", " + N(y) + R"(], "end": [)" + N(xs + length) +
           ", " + N(y) + R"(], "width": )" + N(w) + R"(, "axisOffset": )" + N(-x0) + R"(, "bottom": )" + N(bottom) +
           R"(, "top": )" + N(top) + R"(, "section": [[)" + N(x0) + ", 0], [" + N(x1) + ", 0], [" + N(x1) + ", " +
           N(h) + "], [" + N(x0) + ", " + N(h) + "]]}}";
}

// The ring section: bottom board 600 x 100, side walls 100 x 400 at
// +-(200..300), cover board 600 x 100 (ids Id + 1 .. Id + 4).
std::string Ring(int id, double y, bool cover = true, double rightTop = 500)
{
    std::string s = Trench(id, y) + "," + Unit(id + 1, id, y, 0, -300, 300, 0, 100) + "," +
                    Unit(id + 2, id, y, 1, -300, -200, 100, 500) + "," +
                    Unit(id + 3, id, y, 1, 200, 300, 100, rightTop);
    if (cover)
        s += "," + Unit(id + 4, id, y, 2, -300, 300, 500, 600);
    return s;
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
    EXPECT_EQ(trench->GetConnectedTrenches(true), 1);  // alone at its start
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

}  // namespace
