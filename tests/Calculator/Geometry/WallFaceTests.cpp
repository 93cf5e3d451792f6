// Lengths along a wall's face: the junction lines of a fill wall laid in a
// concrete wall, beam and lintel faces of higher formwork priority, alcove
// sides; and the band of a wall that a slab cuts, with its solid under the
// slab's top. Walls, beams, alcoves and slabs are the real element objects;
// the lintel (and a slab with a solid of another face order) are test objects.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKStrategiesCommonWallFace.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

std::string Num(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A wall along y = Y from X0 to X1, Width thick (centred), from 0 to Top; Props added.
std::string Wall(int id, double x0, double x1, double y, double width, double top, const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "props": {"Thickness": )" + Num(width) +
           R"(, "BottomElev": 0, "TopElev": )" + Num(top) + props + R"(}, "shape": {"kind": "line", "start": [)" +
           Num(x0) + ", " + Num(y) + "], \"end\": [" + Num(x1) + ", " + Num(y) + R"(], "width": )" + Num(width) +
           R"(, "bottom": 0, "top": )" + Num(top) + "}}";
}

const char* const CConcrete = R"(, "Material": "混凝土")";
const char* const CFill = R"(, "Material": "砖", "IsFillWall": true)";

// A 250 x 600 beam from (x0, y0) to (x1, y1), 2400 to 3000; Props added.
std::string Beam(int id, double x0, double y0, double x1, double y1, const std::string& props)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 600,
           "SectionTypeID": 0)" +
           props + R"(}, "shape": {"kind": "line", "start": [)" + Num(x0) + ", " + Num(y0) + "], \"end\": [" + Num(x1) +
           ", " + Num(y1) + R"(], "width": 250, "bottom": 2400, "top": 3000}})";
}

// A level slab over [x0, x1] x [y0, y1], top at Top, Thickness thick.
std::string Slab(int id, double x0, double x1, double y0, double y1, double top, double thickness)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "props": {"Thickness": )" + Num(thickness) +
           R"(, "TopElev": )" + Num(top) + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", " + Num(y0) +
           "], [" + Num(x1) + ", " + Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) + ", " + Num(y1) +
           R"(]], "elev": )" + Num(top) + R"(, "thickness": )" + Num(thickness) + "}}";
}

// The base lines of a calculator as (length, x of the start, y of the start), in order.
std::vector<double> Lengths(const TVRMMultiPolyLinearCalc2d& calc)
{
    std::vector<double> lengths;
    for (int i = 0; i < calc.GetCount(); ++i)
        lengths.push_back(calc.GetItems(i)->GetLine().Length());
    return lengths;
}

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

class TWallFaceTest : public TGeometryModelTest {
protected:
    void LoadElements(const std::string& elements) { Load("[" + elements + "]"); }
};

// Fill wall 2 (120 thick, 60 off the middle line) laid in concrete wall 1
// (0 to 6000 along x, 0 to 3000 high): the overlay's edges inside the wall's
// profile [0, 6000] x [0, 3000]; its edges on the profile's outline are no junction.
TEST_F(TWallFaceTest, FillWallJunctionLinesAreTheOverlayEdgesInsideTheProfile)
{
    struct Case {
        const char* name;
        std::string fill;
        std::vector<double> lengths;  // the junction lines, in overlay edge order; empty: nil
    };
    const Case cases[] = {
        {"in the middle, full height: its two ends", Wall(2, 1000, 4000, 60, 120, 3000, CFill), {3000, 3000}},
        {"reaching the wall's end: one end", Wall(2, 3000, 6000, 60, 120, 3000, CFill), {3000}},
        {"lower than the wall: its ends and its top", Wall(2, 1000, 4000, 60, 120, 2000, CFill), {2000, 3000, 2000}},
        {"not a fill wall: no overlay", Wall(2, 1000, 4000, 60, 120, 3000, R"(, "Material": "砖")"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 240, 3000, CConcrete) + "," + c.fill);
        const auto calc = BuildWallJunctionLinearCalc(Record(1), Record(2));
        if (c.lengths.empty()) {
            EXPECT_EQ(calc, nullptr);
            continue;
        }
        ASSERT_NE(calc, nullptr);
        const std::vector<double> lengths = Lengths(*calc);
        ASSERT_EQ(lengths.size(), c.lengths.size());
        for (size_t i = 0; i < lengths.size(); ++i)
            EXPECT_NEAR(lengths[i], c.lengths[i], 1e-6) << i;
        EXPECT_NEAR(calc->GetNullLength(), calc->GetAllLength(), 1e-9) << "base lines start unmarked";
        TearDown();
    }
}

// Wall 1 (concrete, 240, 0 to 3000) holds the member; the calculator's base
// lines are the wall's profile edges, so a projection [x0, x1] x [2400, 3000]
// marks x1 - x0 of the top edge.
TEST_F(TWallFaceTest, PriorBeamFacesMarkOnlyMembersThatWinTheFormwork)
{
    struct Case {
        const char* name;
        std::string member;
        bool fakeLintel;
        double marked;
    };
    const Case cases[] = {
        {"concrete beam along the wall", Beam(2, 1000, 0, 5000, 0, CConcrete), false, 4000},
        {"brick beam along the wall: lower priority", Beam(2, 1000, 0, 5000, 0, R"(, "Material": "砖")"), false, 0},
        {"concrete beam across the wall", Beam(2, 3000, -2000, 3000, 2000, CConcrete), false, 0},
        {"concrete lintel", R"({"id": 2, "type": 12, "props": {"Material": "混凝土"}, "shape": {"kind": "line",
           "start": [2000, 0], "end": [3000, 0], "width": 240, "bottom": 2700, "top": 3000}})",
         true, 1000},
        {"brick lintel", R"({"id": 2, "type": 12, "props": {"Material": "砖"}, "shape": {"kind": "line",
           "start": [2000, 0], "end": [3000, 0], "width": 240, "bottom": 2700, "top": 3000}})",
         true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 240, 3000, CConcrete) + "," + c.member);
        {
            TFakeEDOScope scope;
            if (c.fakeLintel)
                scope.Attach<TFakeLintelEDO>(DrawObj(2)).projection =
                    MakeRef<TQTKSectionPoly>(std::make_unique<TVRMMultiPolygon2d>(Rect(2000, 2700, 3000, 3000)));
            ASSERT_NE(GetCalcEDO(Record(1), true)->IndexOfRelated(Record(2)), -1) << "the member touches the wall";
            const Ref<IQTKWallCalcEDO> wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(Record(1), true));
            TVRMMultiPolyLinearCalc2d calc;
            calc.Add(*wall->GetProfilePolygon());
            AppendPriorBeamFaces(Record(1), Record(1), calc, 1);
            EXPECT_NEAR(calc.GetLengthFor(1), c.marked, 1e-6);
            EXPECT_NEAR(calc.GetNullLength(), 2 * (6000.0 + 3000) - c.marked, 1e-6);
        }
        TearDown();
    }
}

// Alcove 2 (1000 wide, 2000 high, centred at 3000) in wall 1 (200 thick, 0 to 3000 high).
TEST_F(TWallFaceTest, AlcoveSideLinesAreItsSidesAndHead)
{
    struct Case {
        const char* name;
        double bottom;
        double length;  // of the side lines
    };
    const Case cases[] = {
        {"from the floor: two sides and the head", 0, 2000 + 2000 + 1000},
        {"above a sill: the sill too", 500, 2000 + 2000 + 1000 + 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 200, 3000) + R"(, {"id": 2, "type": 13, "parent": 1, "props": {
            "OpeningWidth": 1000, "OpeningHeight": 2000, "Depth": 120, "BottomElev": )" +
                     Num(c.bottom) + R"(}, "shape": {"kind": "opening", "at": 3000}})");
        const auto calc = BuildAlcoveSideLinearCalc(Record(1), Record(2));
        ASSERT_NE(calc, nullptr);
        EXPECT_NEAR(calc->GetAllLength(), c.length, 1e-6);
        // The alcoves of the wall mark its own outline on the wall's profile edges: its floor line only.
        TVRMMultiPolyLinearCalc2d profile;
        profile.Add(Rect(0, 0, 6000, 3000));
        AppendAlcoveFaces(Record(1), Record(1), profile, 1);
        EXPECT_NEAR(profile.GetLengthFor(1), c.bottom == 0 ? 1000 : 0, 1e-6);
        TearDown();
    }
}

// Wall 1 along x from 0 to 6000, 240 thick (band half width 130); slabs with tops at 3000.
TEST_F(TWallFaceTest, SlabCutFacePolygon)
{
    struct Case {
        const char* name;
        std::string slabs;  // the cutting slab is 3
        double x0, x1;      // the band along the wall
    };
    const Case cases[] = {
        {"over the middle line only", Slab(3, 1000, 3000, -50, 50, 3000, 120), 1000, 3000},
        {"over the right side line only", Slab(3, 1000, 3000, -1000, -100, 3000, 120), 1000, 3000},
        {"over the wall's start: lengthened by 1000", Slab(3, -1000, 2000, -1000, 1000, 3000, 120), -1000, 2000},
        {"a flush neighbour first keeps its stretch",
         Slab(2, 0, 3000, -1000, 1000, 3000, 120) + "," + Slab(3, 2000, 6000, -1000, 1000, 3000, 120), 3000, 7000},
        {"a neighbour 1000 lower is not flush",
         Slab(2, 0, 3000, -1000, 1000, 2000, 120) + "," + Slab(3, 2000, 6000, -1000, 1000, 3000, 120), 2000, 7000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 240, 3000) + "," + c.slabs);
        const auto polygon = GetSlabCutFacePolygon(DrawObj(1), DrawObj(3));
        ASSERT_TRUE(polygon);
        ASSERT_EQ(polygon->GetCount(), 1);
        const TVRMBox2d box = polygon->Box();
        EXPECT_NEAR(box.min.x, c.x0, 1e-6);
        EXPECT_NEAR(box.max.x, c.x1, 1e-6);
        EXPECT_NEAR(box.min.y, -130, 1e-6);
        EXPECT_NEAR(box.max.y, 130, 1e-6);
        EXPECT_NEAR(polygon->Area(), (c.x1 - c.x0) * 260, 1e-3);
        TearDown();
    }
}

TEST_F(TWallFaceTest, SlabsFlushWithEachOther)
{
    LoadElements(Slab(1, 0, 1000, 0, 1000, 3000, 120) + "," + Slab(2, 0, 1000, 0, 1000, 3120, 100) + "," +
                 Slab(3, 0, 1000, 0, 1000, 3121, 100) + "," + Wall(4, 0, 1000, 0, 240, 3000));
    struct Case {
        const char* name;
        int a, b;
        bool flush;
    };
    const Case cases[] = {
        {"120 apart, the larger depth 120", 1, 2, true},
        {"121 apart", 1, 3, false},
        {"A without a face shape", 4, 1, true},
        {"B without a face shape", 1, 4, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSlabFlushWith(DrawObj(c.a), DrawObj(c.b)), c.flush) << c.name;
}

// Wall 1 is 30 thick: the cut band is 50 wide, so a slab 1 long gives 50 mm2.
TEST_F(TWallFaceTest, SlabCutSolidNeedsMoreThan50Square)
{
    struct Case {
        const char* name;
        double length;  // of the slab along the wall
        double volume;
    };
    const Case cases[] = {
        {"50 mm2: empty", 1.0, 0.0},
        {"51 mm2: the slab's thickness deep", 1.02, 51.0 * 120},
        {"a slab 2000 long", 2000.0, 2000.0 * 50 * 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 30, 3000) + "," + Slab(3, 1000, 1000 + c.length, -500, 500, 3000, 120));
        const auto solid = BuildSlabCutSolid(DrawObj(1), DrawObj(3));
        ASSERT_TRUE(solid);
        EXPECT_NEAR(solid->GetVolume(), c.volume, 1e-6 * std::max(1.0, c.volume));
        if (c.volume > 0) {
            EXPECT_NEAR(solid->GetBox().min.z, 2880, 1e-6);
            EXPECT_NEAR(solid->GetBox().max.z, 3000, 1e-6);
        }
        TearDown();
    }
}

// The slab's top must be the second-to-last face of its solid: a box slab
// [1000, 3000] x [-500, 500] x [2880, 3000] over wall 1 (band 260 wide).
TEST_F(TWallFaceTest, SlabCutSolidAssertsTheTopFaceOrder)
{
    struct Case {
        const char* name;
        bool bottomSecondToLast;
    };
    const Case cases[] = {{"top second to last", false}, {"bottom second to last", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadElements(Wall(1, 0, 6000, 0, 240, 3000) + "," + Slab(3, 1000, 3000, -500, 500, 3000, 120));
        {
            TFakeEDOScope scope;
            auto& slab = scope.Attach<TFakeSlabEDO>(DrawObj(3));
            slab.thickness = 120;
            const auto box = Box(1000, -500, 2880, 3000, 500, 3000);
            std::vector<TVRMFace3d> faces;
            for (int i = 0; i < box->GetFaceCount(); ++i)
                faces.push_back(box->GetFace(i));
            if (c.bottomSecondToLast)
                std::swap(faces[faces.size() - 2], faces.back());
            slab.solid = TVRMPolyhedron3d(faces);
            if (c.bottomSecondToLast)
                EXPECT_THROW(BuildSlabCutSolid(DrawObj(1), DrawObj(3)), EQTKAssertionFailed);
            else
                EXPECT_NEAR(BuildSlabCutSolid(DrawObj(1), DrawObj(3))->GetVolume(), 2000.0 * 260 * 120, 1e-3);
        }
        TearDown();
    }
}

}  // namespace
