// Insulating walls and their units: the units laid out between the wall's
// side lines, their solids, outer units, end faces and the over-height value
// list the unit owns.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

// An insulating wall (id 1) along (0,0)-(6000,0), 300 thick on its axis, its
// left side at y = 150; InnerOuterFlag 1 makes it an outer wall.
std::string Wall(int innerOuterFlag, double startTop = 3000, double endTop = 3000)
{
    return R"({"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 300, "InnerOuterFlag": )" +
           std::to_string(innerOuterFlag) +
           R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 300,
        "axisOffset": 150, "startBottom": 0, "startTop": )" +
           Num(startTop) + R"(, "endBottom": 0, "endTop": )" + Num(endTop) + "}}";
}

// A unit of the wall whose centre line runs at y = Y.
std::string Unit(int id, double thickness, double y, double startTop = 3000, double endTop = 3000)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": )" +
           Num(thickness) + R"(}, "shape": {"kind": "line", "start": [0, )" + Num(y) + R"(], "end": [6000, )" + Num(y) +
           R"(], "width": )" + Num(thickness) + R"(, "axisOffset": )" + Num(thickness / 2) +
           R"(, "startBottom": 0, "startTop": )" + Num(startTop) + R"(, "endBottom": 0, "endTop": )" + Num(endTop) +
           "}}";
}

class TInsulatingWallTest : public ::testing::Test {
protected:
    void Load(const std::string& elements)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate();
    }
    Ref<IQTKInsulatingWallUnitCalcEDO> Unit(int id) const
    {
        auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(building_->Record(id), true));
        EXPECT_TRUE(unit) << "unit " << id;
        return unit;
    }
    static void ExpectLine(const TVRMCustomLine2d& line, double y, const char* what)
    {
        SCOPED_TRACE(what);
        EXPECT_NEAR(line.StartPt().x, 0, 1e-6);
        EXPECT_NEAR(line.EndPt().x, 6000, 1e-6);
        EXPECT_NEAR(line.StartPt().y, y, 1e-6);
        EXPECT_NEAR(line.EndPt().y, y, 1e-6);
    }
    std::unique_ptr<TTestBuilding> building_;
};

TEST_F(TInsulatingWallTest, SingleUnitTakesTheWallsSideLines)
{
    Load(Wall(0) + "," + ::Unit(2, 300, 0));
    const auto wall = RefCast<IQTKInsulatingWallCalcEDO>(GetCalcEDO(building_->Record(1), true));
    ASSERT_TRUE(wall);
    ASSERT_EQ(wall->GetUnitList().size(), 1u);
    const auto unit = Unit(2);
    ExpectLine(*unit->GetLeftLine(), 150, "left");
    EXPECT_NE(unit->GetLeftLine(), wall->GetLeftLine()) << "a copy";
    EXPECT_EQ(unit->GetLeftLine()->StartPt(), wall->GetLeftLine()->StartPt());
    EXPECT_EQ(unit->GetRightLine()->EndPt(), wall->GetRightLine()->EndPt());
    ExpectLine(*unit->GetRightLine(), -150, "right");
    ExpectLine(*unit->GetMidLine(), 0, "middle");
    EXPECT_NEAR(unit->GetOriginalPolyhedron()->GetVolume(), 6000.0 * 300 * 3000, 1e-3);
    EXPECT_NEAR(unit->GetPlanPolygon()->Area(), 6000.0 * 300, 1e-6);
    EXPECT_NEAR(unit->GetProfilePolygon()->Area(), 6000.0 * 3000, 1e-6);
    EXPECT_NEAR(unit->GetAverageHeight(), 3000, 1e-9);
    EXPECT_NEAR(unit->GetMidFaceShellCalc()->GetArea(), 6000.0 * 3000, 1e-3);
}

// Units lie where their centre lines run: 100 thick at y = 100 (150..50), 200 thick at y = -50 (50..-150).
TEST_F(TInsulatingWallTest, UnitsAreLaidAlongTheirCentreLines)
{
    Load(Wall(0) + "," + ::Unit(2, 100, 100) + "," + ::Unit(3, 200, -50));
    struct {
        int id;
        double left, mid, right, volume;
    } const cases[] = {
        {2, 150, 100, 50, 6000.0 * 100 * 3000},
        {3, 50, -50, -150, 6000.0 * 200 * 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto unit = Unit(c.id);
        ExpectLine(*unit->GetLeftLine(), c.left, "left");
        ExpectLine(*unit->GetMidLine(), c.mid, "middle");
        ExpectLine(*unit->GetRightLine(), c.right, "right");
        EXPECT_NEAR(unit->GetOriginalPolyhedron()->GetVolume(), c.volume, 1e-3);
        EXPECT_EQ(unit->GetEndFaceIndexes().size(), 2u);
    }
}

TEST_F(TInsulatingWallTest, OnlyTheLowestAndHighestIdsAreOuterUnits)
{
    struct {
        const char* name;
        int innerOuterFlag;
        bool leftOuter2, rightOuter2, leftOuter3, rightOuter3;
    } const cases[] = {
        {"outer wall: 2 on the left, 3 on the right", 1, true, false, false, true},
        {"inner wall: no outer unit", 0, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(c.innerOuterFlag) + "," + ::Unit(2, 100, 100) + "," + ::Unit(3, 200, -50));
        EXPECT_EQ(Unit(2)->IsLeftOuterUnit(), c.leftOuter2);
        EXPECT_EQ(Unit(2)->IsRightOuterUnit(), c.rightOuter2);
        EXPECT_EQ(Unit(3)->IsLeftOuterUnit(), c.leftOuter3);
        EXPECT_EQ(Unit(3)->IsRightOuterUnit(), c.rightOuter3);
    }
}

// End faces stand only where the end has a height: 300 wide, as high as the
// end. The side-face shell holds both side faces (6000 long, the mean height
// high) from the start; asking for the end faces or a side face again puts
// nothing in again.
TEST_F(TInsulatingWallTest, EndFacesOnlyWhereTheElevationsDiffer)
{
    struct {
        const char* name;
        double startTop, endTop, area;
    } const cases[] = {
        {"both ends", 3000, 2000, 300.0 * 3000 + 300.0 * 2000},
        {"equal start elevations: no start face", 0, 3000, 300.0 * 3000},
        {"equal end elevations: no end face", 2000, 0, 300.0 * 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(0, c.startTop, c.endTop) + "," + ::Unit(2, 300, 0, c.startTop, c.endTop));
        const auto unit = Unit(2);
        const double sides = 2 * 6000.0 * (c.startTop + c.endTop) / 2;
        EXPECT_NEAR(unit->GetEndFormboardArea(), c.area, 1e-3);
        EXPECT_NEAR(unit->GetSideFaceShell()->GetArea(), sides + c.area, 1e-3) << "added to the side faces";
        EXPECT_NEAR(unit->GetEndFormboardArea(), c.area, 1e-3);
        unit->AddLeftSideFace();
        unit->AddRightSideFace();
        EXPECT_NEAR(unit->GetSideFaceShell()->GetArea(), sides + c.area, 1e-3) << "nothing added again";
        EXPECT_NEAR(unit->GetSideFaceShellCalc()->GetArea(), sides + c.area, 1e-3);
    }
}

// The unit owns the list the over-height rules store: a new list drops the
// one it replaces, FreeCalcCache the last.
TEST_F(TInsulatingWallTest, UnitOwnsItsOverhighValueList)
{
    Load(Wall(0) + "," + ::Unit(2, 300, 0));
    const auto unit = Unit(2);
    auto first = std::make_shared<TFloatList>();
    const std::weak_ptr<TFloatList> firstRef = first;
    unit->SetOverhighValueList(std::move(first));
    auto second = std::make_shared<TFloatList>();
    const std::weak_ptr<TFloatList> secondRef = second;
    unit->SetOverhighValueList(std::move(second));
    EXPECT_TRUE(firstRef.expired());
    EXPECT_EQ(unit->GetOverhighValueList(), secondRef.lock());
    const auto volume = unit->GetVolumeCalc();
    unit->FreeCalcCache();
    EXPECT_TRUE(secondRef.expired());
    EXPECT_EQ(unit->GetOverhighValueList(), nullptr);
    EXPECT_NE(unit->GetVolumeCalc(), volume) << "made again after the free";
}

}  // namespace
