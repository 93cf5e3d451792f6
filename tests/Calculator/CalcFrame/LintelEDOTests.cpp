// The lintel element object on small buildings: the calculation line cut back
// to its supports by the hang-out setting, the section without a width, the
// solid and its formwork against the wall it lies in, the extended solid
// cache, the projection on walls and the alcove offset.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr double CAreaTol = 1e-2;

// A building with the lintel settings ("HangOutLintelCalcMethod") and the given elements.
std::unique_ptr<TTestBuilding> Building(const std::string& elements, int hangOut = 0)
{
    const std::string text = R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "databases": [{"name": "NormCalcRule", "tables": [
          {"name": "QTKLintelCalcSettings", "fields": [{"name": "HangOutLintelCalcMethod", "type": "integer"},
            {"name": "ArchLintelFormboardMethod", "type": "integer"}],
           "rows": [{"HangOutLintelCalcMethod": )" +
                             std::to_string(hangOut) + R"(, "ArchLintelFormboardMethod": 0}]},
          {"name": "QTKBeamCalcSettings", "fields": [{"name": "BeamFormboardAngle", "type": "float"}],
           "rows": [{"BeamFormboardAngle": 75}]}]}], "elements": [)" +
                             elements + "]}";
    auto building = TTestBuilding::FromText(text);
    building->Activate();
    return building;
}

Ref<IQTKLintelCalcEDO> LintelEdo(TTestBuilding& building, int id)
{
    Ref<IQTKLintelCalcEDO> lintel = RefCast<IQTKLintelCalcEDO>(GetCalcEDO(building.Record(id), true));
    EXPECT_TRUE(lintel) << "element " << id;
    if (lintel)
        lintel->ClearQtyItems();
    return lintel;
}

// A 240-thick wall along x from 0 to 6000 (id 1), a 1500 x 1500 window in it
// at 2250-3750 from 900 to 2400 (id 2), a 240 x 200 lintel over the window
// from x 2000 to 4000, 2400 to 2600 (id 3), and a wall across at x 8000 (id 4).
const char* const CLintelInWall = R"(
    {"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240},
     "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
    {"id": 2, "type": 5, "floor": 1, "parent": 1, "props": {"OpeningWidth": 1500, "OpeningHeight": 1500},
     "shape": {"kind": "opening", "at": 3000, "bottom": 900}},
    {"id": 3, "type": 12, "floor": 1, "parent": 2, "props": {"SectionWidth": 240, "SectionHeight": 200,
     "TopElev": 2600, "StartPtTopElev": 2600, "EndPtTopElev": 2600},
     "shape": {"kind": "line", "start": [2000, 0], "end": [4000, 0], "width": 240, "bottom": 2400, "top": 2600}},
    {"id": 4, "type": 0, "floor": 1, "props": {"Thickness": 240},
     "shape": {"kind": "line", "start": [8000, -3000], "end": [8000, 3000], "width": 240, "bottom": 0,
     "top": 3000}})";

TEST(LintelEDOTest, SolidAndFormworkInItsWall)
{
    auto building = Building(CLintelInWall);
    const auto lintel = LintelEdo(*building, 3);
    ASSERT_TRUE(lintel);
    const TVRMCustomLine2d* line = lintel->GetCalcLine();
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->StartPt().x, 2000.0, 1e-6);
    EXPECT_NEAR(line->EndPt().x, 4000.0, 1e-6);
    EXPECT_NEAR(lintel->GetVolumeCalc()->GetVolume(), 240.0 * 200 * 2000, 1.0);
    // The sides lie flush with the wall's faces and stay; the ends lie in the wall.
    EXPECT_NEAR(lintel->CalcSideFormboardArea(), 2 * 200.0 * 2000, CAreaTol);
    EXPECT_NEAR(lintel->CalcEndFormboardArea(), 0.0, CAreaTol);
    TQTKShellCalc3d* formwork = lintel->GetFormboardShellCalc();
    EXPECT_NEAR(formwork->GetArea(), 2 * 200.0 * 2000, CAreaTol);
    // The calculator took the shell over: later faces go to a new shell.
    EXPECT_NEAR(lintel->CalcSideFormboardArea(), 2 * 200.0 * 2000, CAreaTol);
    EXPECT_EQ(lintel->GetFormboardShellCalc(), formwork);
    EXPECT_NEAR(formwork->GetArea(), 2 * 200.0 * 2000, CAreaTol);
    // The bottom over the window only: the bearings lie on the wall.
    EXPECT_NEAR(lintel->GetBottomShellCalc()->GetArea(), 240.0 * 1500, CAreaTol);
    EXPECT_NEAR(lintel->GetAlcoveOffset(building->Record(1)), 0.0, 0.0);
}

TEST(LintelEDOTest, ProjectionOnWalls)
{
    auto building = Building(CLintelInWall);
    const auto lintel = LintelEdo(*building, 3);
    ASSERT_TRUE(lintel);
    const auto expectHostProjection = [](const Ref<IQTKSectionPoly>& projection) {
        ASSERT_TRUE(projection);
        const TVRMMultiPolygon2d* polygon = projection->GetPolygon();
        ASSERT_EQ(polygon->GetCount(), 1);
        const TVRMBox2d box = polygon->Box();
        EXPECT_NEAR(box.min.x, 2000.0, 1e-6);
        EXPECT_NEAR(box.max.x, 4000.0, 1e-6);
        EXPECT_NEAR(box.min.y, 2400.0, 1e-6);
        EXPECT_NEAR(box.max.y, 2600.0, 1e-6);
        EXPECT_NEAR(polygon->SignArea(), 2000.0 * 200, CAreaTol);
    };
    // Nil: the host wall (the window's wall).
    const Ref<IQTKSectionPoly> host = lintel->CalcProjectionOnWall(nullptr);
    expectHostProjection(host);
    EXPECT_EQ(lintel->CalcProjectionOnWall(nullptr).get(), host.get());
    // A wall across the lintel: an empty projection, kept for that wall.
    const Ref<IQTKSectionPoly> across = lintel->CalcProjectionOnWall(building->Record(4));
    ASSERT_TRUE(across);
    EXPECT_EQ(across->GetPolygon()->GetCount(), 0);
    EXPECT_EQ(lintel->CalcProjectionOnWall(building->Record(4)).get(), across.get());
    // The host wall again: computed anew.
    const Ref<IQTKSectionPoly> again = lintel->CalcProjectionOnWall(building->Record(1));
    EXPECT_NE(again.get(), host.get());
    expectHostProjection(again);
}

TEST(LintelEDOTest, ExtendedSolidKeyedOnSourceModeAndDistance)
{
    auto building = Building(CLintelInWall);
    const auto lintel = LintelEdo(*building, 3);
    const auto extendable = RefCast<IQTKExtendableCalcEdo>(Ref<IQTKCalculatorEDO>(lintel));
    ASSERT_TRUE(extendable);
    IRDXRecord* a = building->Record(1);
    IRDXRecord* b = building->Record(4);
    EXPECT_EQ(extendable->GetExtendedPolyhedron(a, true, 0.0).get(), lintel->GetOriginalPolyhedronIntf().get());
    const Ref<IQTKPolyhedron3dIntf> first = extendable->GetExtendedPolyhedron(a, true, 50.0);
    ASSERT_TRUE(first);
    EXPECT_EQ(extendable->GetExtendedPolyhedron(a, true, 50.0).get(), first.get());
    // Another source, another side or another distance builds its own solid.
    const Ref<IQTKPolyhedron3dIntf> other = extendable->GetExtendedPolyhedron(b, true, 50.0);
    EXPECT_NE(other.get(), first.get());
    EXPECT_NE(extendable->GetExtendedPolyhedron(b, false, 50.0).get(), other.get());
    // Without a source the whole section grows: 340 x 300 along the 2000 line.
    EXPECT_NEAR(extendable->GetExtendedPolyhedron(nullptr, true, 50.0)->GetPolyhedron()->GetVolume(),
                340.0 * 300 * 2000, 1.0);
}

// A lintel along x from 0 to 3000, 240 wide, 2100 to 2300.
std::string Lintel(const std::string& props = R"("SectionWidth": 240, )", double axisOffset = 120)
{
    return R"({"id": 1, "type": 12, "floor": 1, "props": {)" + props +
           R"("SectionHeight": 200, "TopElev": 2300}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0],
           "width": 240, "axisOffset": )" +
           std::to_string(axisOffset) + R"(, "bottom": 2100, "top": 2300}})";
}

// A wall across the lintel covering x from X to X + 240.
std::string WallAcross(int id, double x)
{
    const std::string axis = std::to_string(x + 120);
    return R"(, {"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": 240},
        "shape": {"kind": "line", "start": [)" +
           axis + ", -2000], \"end\": [" + axis + R"(, 2000], "width": 240, "bottom": 0, "top": 3000}})";
}

TEST(LintelEDOTest, CalculationLineByHangOut)
{
    struct Case {
        const char* name;
        int hangOut;
        std::string walls;
        double start, end;
    };
    const Case cases[] = {
        {"no hang-out setting: the whole centre line", 0, WallAcross(2, 100) + WallAcross(3, 2760), 0, 3000},
        {"hanging out 100, setting 120: cut back to the wall", 120, WallAcross(2, 100) + WallAcross(3, 2760), 100,
         3000},
        {"hanging out 150, setting 120: kept", 120, WallAcross(2, 150) + WallAcross(3, 2760), 0, 3000},
        {"hanging out at both ends within the setting", 120, WallAcross(2, 100) + WallAcross(3, 2660), 100, 2900},
        {"nothing under it, setting past its length: its own ends", 5000, "", 0, 3000},
        {"nothing under it, setting within its length", 120, "", 0, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Lintel() + c.walls, c.hangOut);
        const auto lintel = LintelEdo(*building, 1);
        ASSERT_TRUE(lintel);
        const TVRMCustomLine2d* line = lintel->GetCalcLine();
        ASSERT_NE(line, nullptr);
        EXPECT_NEAR(line->StartPt().x, c.start, 1e-6);
        EXPECT_NEAR(line->EndPt().x, c.end, 1e-6);
        EXPECT_NEAR(line->StartPt().y, 0.0, 1e-6);
        EXPECT_NEAR(lintel->GetVolumeCalc()->GetVolume(), 240.0 * 200 * (c.end - c.start), 1.0);
    }
}

TEST(LintelEDOTest, SectionAndPlacement)
{
    // Axis on the left face (axis offset 0): the lintel lies right of its
    // axis (y from -240 to 0) whatever its section polygon says.
    struct Case {
        const char* name;
        std::string props;
        double sectionMinX, sectionMaxX;
    };
    const Case cases[] = {
        {"with a section width: the shape's section", R"("SectionWidth": 240, )", 0, 240},
        {"section width null: centred on the axis", R"("SectionWidth": null, )", -120, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Lintel(c.props, 0));
        const auto lintel = LintelEdo(*building, 1);
        ASSERT_TRUE(lintel);
        const TVRMBox2d section = lintel->GetPlanPolygon()->Box();
        EXPECT_NEAR(section.min.x, c.sectionMinX, 1e-6);
        EXPECT_NEAR(section.max.x, c.sectionMaxX, 1e-6);
        EXPECT_NEAR(section.max.y - section.min.y, 200.0, 1e-6);
        const TVRMBox3d box = lintel->GetOriginalPolyhedron()->GetBox();
        EXPECT_NEAR(box.min.y, -240.0, 1e-6);
        EXPECT_NEAR(box.max.y, 0.0, 1e-6);
        EXPECT_NEAR(box.min.z, 2100.0, 1e-6);
        EXPECT_NEAR(box.max.z, 2300.0, 1e-6);
        EXPECT_NEAR(lintel->GetOriginalPolyhedron()->GetVolume(), 240.0 * 200 * 3000, 1.0);
    }
}

}  // namespace

namespace {

TEST(LintelEDOTest, ArchedLintels)
{
    // 240 x 200 over 3000, the intrados rising 500 (one arch: crown at the
    // middle, R = (1500^2 + 500^2) / 1000 = 2500; half arch: crown at the
    // end, R = (3000^2 + 500^2) / 1000 = 9250). The section height is kept
    // vertically: volume 240 x 200 x 3000 either way; the bottom is 240 x the
    // intrados arc. The section's arcs count by their facets (5 degrees at
    // most): areas short by at most 1.3e-3, the crown below its arc by at
    // most the sagitta of a facet, R (1 - cos 2.5 degrees).
    struct Case {
        const char* name;
        int endIndex;
        double radius, arc;
    };
    const Case cases[] = {
        {"one arch", 3, 2500, 2 * 2500 * std::asin(1500.0 / 2500)},
        {"half arch", -1, 9250, 9250 * std::asin(3000.0 / 9250)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(R"({"id": 1, "type": 12, "floor": 1, "props": {"SectionWidth": 240,
            "SectionHeight": 200, "TopElev": 2300}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0],
            "width": 240, "bottom": 2100, "top": 2300, "sectionInfo": {"archHeight": 500, "startIndex": 0,
            "endIndex": )" + std::to_string(c.endIndex) +
                                 "}}}");
        const auto lintel = LintelEdo(*building, 1);
        ASSERT_TRUE(lintel);
        const TVRMPolyhedron3d* solid = lintel->GetOriginalPolyhedron();
        ASSERT_NE(solid, nullptr);
        EXPECT_NEAR(solid->GetVolume(), 240.0 * 200 * 3000, 1e-4 * 240 * 200 * 3000);
        const TVRMBox3d box = solid->GetBox();
        EXPECT_NEAR(box.min.x, 0.0, 1e-6);
        EXPECT_NEAR(box.max.x, 3000.0, 1e-6);
        EXPECT_NEAR(box.min.y, -120.0, 1e-6);
        EXPECT_NEAR(box.max.y, 120.0, 1e-6);
        EXPECT_NEAR(box.min.z, 2100.0, 1e-6);
        EXPECT_NEAR(box.max.z, 2800.0, c.radius * (1 - std::cos(2.5 * CVRMPi / 180)));
        EXPECT_NEAR(lintel->GetBottomShellCalc()->GetArea(), 240 * c.arc, 1.3e-3 * 240 * c.arc);
    }
}

}  // namespace
