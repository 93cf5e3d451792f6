// The floor area object (type 58): its solid over the storey, the polygons,
// area and method the area rules keep on it, and the clear space height
// above it (from the floor areas above, else from the slabs above), also
// with many threads asking at once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

// A floor area over x0..x1, y0..y1 with its top at Top (on floor 1 unless said; 0: none).
std::string FloorArea(int id, double x0, double y0, double x1, double y1, double top, int floor = 1)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 58, )" +
           (floor ? R"("floor": )" + std::to_string(floor) + ", " : std::string()) + R"("props": {"TopElev": )" +
           Num(top) + R"(, "BottomElev": )" + Num(top) + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) +
           ", " + Num(y0) + "], [" + Num(x1) + ", " + Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) +
           ", " + Num(y1) + R"(]], "elevation": {"kind": "level", "elev": )" + Num(top) + "}}}";
}

std::string Slab(int id, double x0, double x1, double top)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "floor": 1, "props": {"Thickness": 100, "TopElev": )" +
           Num(top) + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", -1000], [" + Num(x1) +
           ", -1000], [" + Num(x1) + ", 5000], [" + Num(x0) + R"(, 5000]], "elevation": {"kind": "level", "elev": )" +
           Num(top) + R"(}, "thickness": 100}})";
}

// Floors 1 (0, 3 m) and 2 (3 m, 3 m); settings "QTKFloorAreaCalcSettings"
// with the two methods (none when Untop is negative).
std::unique_ptr<TTestBuilding> Building(const std::string& elements, int untop = 1, int top = 0)
{
    std::string settings;
    if (untop >= 0)
        settings = R"({"name": "QTKFloorAreaCalcSettings", "fields": [{"name": "ID", "type": "integer"},
            {"name": "UnTopFloorAreaGetFloorCalcSetting", "type": "integer"},
            {"name": "TopFloorAreaGetFloorCalcSetting", "type": "integer"}],
            "rows": [{"ID": 1, "UnTopFloorAreaGetFloorCalcSetting": )" +
                   std::to_string(untop) + R"(, "TopFloorAreaGetFloorCalcSetting": )" + std::to_string(top) + "}]}";
    auto building = TTestBuilding::FromText(
        R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [)" + settings +
        R"(]}], "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0},
                       {"ID": 2, "Name": "F2", "StructuralElevation": 3.0, "Height": 3.0}],
        "elements": [)" +
        elements + "]}");
    building->Activate();
    return building;
}

Ref<IQTKFloorAreaCalcEDO> FloorAreaEdo(const TTestBuilding& building, int id)
{
    Ref<IQTKFloorAreaCalcEDO> edo = RefCast<IQTKFloorAreaCalcEDO>(GetCalcEDO(building.Record(id), true));
    EXPECT_TRUE(edo) << "element " << id;
    return edo;
}

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMRectangle2d({(x0 + x1) / 2, (y0 + y1) / 2}, (x1 - x0) / 2, (y1 - y0) / 2));
    return set;
}

TEST(FloorAreaEDOTest, SolidOverTheStoreyAndAFloorAreaWithoutFloor)
{
    const auto building = Building(FloorArea(1, 0, 0, 2000, 3000, 0, 2) + ", " + FloorArea(2, 0, 0, 1000, 1000, 0, 0));
    const TVRMPolyhedron3d* solid = FloorAreaEdo(*building, 1)->GetOriginalPolyhedron();
    ASSERT_NE(solid, nullptr);
    EXPECT_NEAR(solid->GetBox().min.z, 3000, 1e-6);
    EXPECT_NEAR(solid->GetBox().max.z, 6000, 1e-6);
    EXPECT_NEAR(solid->GetVolume(), 2000.0 * 3000 * 3000, 1e-3);
    EXPECT_THROW(FloorAreaEdo(*building, 2)->GetOriginalPolyhedron(), EQTKAssertionFailed);
}

TEST(FloorAreaEDOTest, AreaRulesKeepTheirPolygonsAreaAndMethodUntilClearQtyItems)
{
    const auto building = Building(FloorArea(1, 0, 0, 2000, 2000, 0));
    const Ref<IQTKFloorAreaCalcEDO> edo = FloorAreaEdo(*building, 1);
    // Without added polygons only the own outline is taken off.
    EXPECT_NEAR(edo->GetUncoveredPolygon(Rect(0, 0, 4000, 2000))->Area(), 2000.0 * 2000, 1e-3);
    edo->AddAreaPolygon(std::make_unique<TVRMMultiPolygon2d>(Rect(2000, 0, 3000, 2000)));
    edo->SetArea(5e6);
    edo->SetAreaCalcMethod(1);
    EXPECT_NEAR(edo->GetUncoveredPolygon(Rect(0, 0, 4000, 2000))->Area(), 1000.0 * 2000, 1e-3);
    EXPECT_EQ(edo->GetArea(), 5e6);
    EXPECT_EQ(edo->GetAreaCalcMethod(), 1);
    EXPECT_EQ(edo->GetTopElevMinusTwo(), -2.0);
    edo->ClearQtyItems();
    EXPECT_NEAR(edo->GetUncoveredPolygon(Rect(0, 0, 4000, 2000))->Area(), 2000.0 * 2000, 1e-3);
    EXPECT_EQ(edo->GetArea(), 0.0);
    EXPECT_EQ(edo->GetAreaCalcMethod(), 0);
}

TEST(FloorAreaEDOTest, SpaceHeightFromTheFloorAreasAbove)
{
    // Floor area 1 (0..2000 square, top 0) under floor areas 2 and 3.
    struct Case {
        const char* name;
        std::string above;
        int untop, top;
        double height;
    };
    const Case cases[] = {
        {"100 higher does not count: the storey", FloorArea(2, 0, 0, 2000, 2000, 100), 1, 0, 3000},
        {"101 higher counts", FloorArea(2, 0, 0, 2000, 2000, 101), 1, 0, 101},
        {"a cover under 0.25 m2 does not count", FloorArea(2, 0, 0, 400, 400, 2000), 1, 0, 3000},
        {"two covers, method 1: the higher",
         FloorArea(2, 0, 0, 1000, 2000, 2000) + ", " + FloorArea(3, 1000, 0, 2000, 2000, 2800), 1, 0, 2800},
        {"two covers, method 2: the lower",
         FloorArea(2, 0, 0, 1000, 2000, 2000) + ", " + FloorArea(3, 1000, 0, 2000, 2000, 2800), 2, 0, 2000},
        {"a cover, method 0: the storey", FloorArea(2, 0, 0, 2000, 2000, 2000), 0, 0, 3000},
        {"no settings: the storey", FloorArea(2, 0, 0, 2000, 2000, 2000), -1, 0, 3000},
        {"top floor area, method 1: the lowest slab above",
         Slab(2, -500, 1000, 2500) + ", " + Slab(3, 1000, 2500, 2700), 1, 1, 2502},
        {"top floor area, method 2: the highest slab above",
         Slab(2, -500, 1000, 2500) + ", " + Slab(3, 1000, 2500, 2700), 1, 2, 2702},
        {"top floor area, nothing above: the storey", "", 1, 1, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building =
            Building(FloorArea(1, 0, 0, 2000, 2000, 0) + (c.above.empty() ? "" : ", " + c.above), c.untop, c.top);
        EXPECT_NEAR(FloorAreaEdo(*building, 1)->GetSpaceHeight(), c.height, 1e-6);
    }
    const auto building = Building(FloorArea(1, 0, 0, 2000, 2000, 0) + ", " + FloorArea(2, 0, 0, 2000, 2000, 2000), 3);
    EXPECT_THROW(FloorAreaEdo(*building, 1)->GetSpaceHeight(), EQTKAssertionFailed);
}

TEST(FloorAreaEDOTest, ManyThreadsPrepareAndAskAtOnce)
{
    // A stack of 16 floor areas 1000 apart: each one's space is 1000, the
    // top one's the storey (nothing above it).
    constexpr int CCount = 16;
    std::string elements;
    for (int i = 1; i <= CCount; ++i)
        elements += (i > 1 ? ", " : "") + FloorArea(i, 0, 0, 2000, 2000, 1000.0 * (CCount - i));
    const auto building = Building(elements, 2, 0);
    std::vector<Ref<IQTKCalculatorEDO>> edos;
    for (int i = 1; i <= CCount; ++i)
        edos.push_back(GetCalcEDO(building->Record(i), false));
    std::vector<std::thread> threads;
    std::vector<int> wrong(16, 0);
    for (int t = 0; t < 16; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round)
                for (int i = 0; i < CCount; ++i) {
                    IQTKCalculatorEDO* edo = edos[static_cast<size_t>((i + t) % CCount)].get();
                    if (t < 8) {  // preparing and clearing
                        edo->Prepare(building->Record((i + t) % CCount + 1));
                        edo->ClearCalcCache();
                        edo->ClearQtyItems();
                    } else {  // reading
                        const double expected = (i + t) % CCount == 0 ? 3000.0 : 1000.0;
                        const double height =
                            RefCast<IQTKFloorAreaCalcEDO>(Ref<IQTKCalculatorEDO>(edo))->GetSpaceHeight();
                        if (height != expected)
                            ++wrong[static_cast<size_t>(t)];
                    }
                }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(16, 0));
}

}  // namespace
