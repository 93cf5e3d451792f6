#include <gtest/gtest.h>

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

// A wedge along y: bottom (0), vertical face x = 1000 (1), slope rising 45
// degrees towards +x (2), sides y = 0 (3) and y = 1000 (4).
std::unique_ptr<TVRMPolyhedron3d> Wedge()
{
    TQTKSolidData data;
    data.vertices = {{0, 0, 0}, {1000, 0, 0}, {1000, 0, 1000}, {0, 1000, 0}, {1000, 1000, 0}, {1000, 1000, 1000}};
    data.faces = {{0, 3, 4, 1}, {1, 4, 5, 2}, {0, 2, 5, 3}, {0, 1, 2}, {3, 5, 4}};
    return BuildSolidFromData(data);
}

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

// An arched top over the axis x = 0 (running along y): base 3000.
Ref<TQTKFaceShape> ArchShape(double chord, double rise)
{
    TQTKFaceShapeData data;
    data.outline = Rect(-3000, 0, 3000, 1000);
    data.elevKind = CQTKFaceElevCylinder;
    data.elevInfo = MakeRef<TQTKFaceElevKind4Info>(TQTKCurvedSurfaceData{chord, rise, false, 3000.0},
                                                   TVRMCustomLine2d({0, 0}, {0, 1000}));
    return MakeRef<TQTKFaceShape>(std::move(data));
}

TEST(FaceShellTest, BoxShellsByNormal)
{
    const auto box = Box(0, 0, 0, 1000, 2000, 300);
    EXPECT_EQ(FaceTags(*BuildTopOrBottomFaceShell(*box, true)), (std::vector<int>{4}));
    EXPECT_EQ(FaceTags(*BuildTopOrBottomFaceShell(*box, false)), (std::vector<int>{5}));
    EXPECT_EQ(FaceTags(*BuildVerticalFaceShell(*box)), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(FaceTags(*BuildNonVerticalFaceShell(*box)), (std::vector<int>{4, 5}));
    EXPECT_DOUBLE_EQ(BuildTopOrBottomFaceShell(*box, true)->GetArea(), 2e6);
    EXPECT_FALSE(BuildFaceShell(*box, {})->HasFaces());
}

TEST(FaceShellTest, ShellBySlopeAgainstTheAngle)
{
    const auto wedge = Wedge();
    struct Case {
        TQTKFaceCodeSet classes;
        double angle;
        std::vector<int> faces;
    };
    const Case cases[] = {
        {CQTKSlopeSteep, 90, {1, 3, 4}},        // any tilt is flat: only vertical faces are steep
        {CQTKSlopeUp, 90, {2}},                 //
        {CQTKSlopeUp, 60, {2}},                 // 45 degree slope flatter than 60
        {CQTKSlopeUp, 30, {}},                  // and steeper than 30
        {CQTKSlopeSteep, 30, {1, 2, 3, 4}},     //
        {CQTKSlopeSteep, 0, {1, 2, 3, 4}},      // no angle: only level faces are flat
        {CQTKSlopeDown | CQTKSlopeUp, 0, {0}},  //
        {CQTKSlopeSteep | CQTKSlopeDown, 45.0001, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FaceTags(*BuildShellBySlope(*wedge, c.classes, c.angle)), c.faces)
            << "classes " << int(c.classes) << " angle " << c.angle;
}

TEST(FaceShellTest, ClassifyFaceDirectionByAngle)
{
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    const double s = std::sqrt(0.5);
    struct Case {
        TVRMVector3d normal;
        double angle;
        int code;
    };
    const Case cases[] = {
        {{0, 0, 1}, 30, CQTKFaceDirTop},
        {{0, 0, 1}, 0, CQTKFaceDirTop},  // a missing formwork angle keeps top faces on top
        {{0, 0, -1}, 0, CQTKFaceDirBottom},
        {{0, 0, 1}, -5, CQTKFaceDirTop},
        {{0, -1, 0}, 30, CQTKFaceDirRight},
        {{0, 1, 0}, 30, CQTKFaceDirLeft},
        {{1, 0, 0}, 30, CQTKFaceDirAlong},
        {{0, -s, s}, 30, CQTKFaceDirRight},  // 45 degree face steeper than 30
        {{0, -s, s}, 60, CQTKFaceDirTop},
        {{0, -s, s}, 90, CQTKFaceDirTop},
        {{0, -s, s}, 0, CQTKFaceDirRight},
        {{0, -s, -s}, 60, CQTKFaceDirBottom},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyFaceDirection(c.normal, {3000, -100, 0}, line, c.angle), c.code)
            << c.normal.x << "," << c.normal.y << "," << c.normal.z << " at " << c.angle;
    EXPECT_THROW(ClassifyFaceDirection({0, 0, 0}, {0, 0, 0}, line, 45), EQTKAssertionFailed);
}

TEST(FaceShellTest, ShellByDirectionAgainstABeamLine)
{
    // Faces: 0 right (-y), 1 end (+x), 2 left (+y), 3 start (-x), 4 top, 5 bottom.
    const auto beam = Box(0, -100, 0, 6000, 100, 500);
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    struct Case {
        TQTKFaceCodeSet codes;
        std::vector<int> given;
        std::vector<int> faces;
    };
    const Case cases[] = {
        {MakeFaceCodeSet({5}), {3, 1}, {3, 1}},  // exactly the given faces
        {MakeFaceCodeSet({5}), {}, {}},
        {MakeFaceCodeSet({1, 2}), {0}, {2}},           // the given faces are skipped
        {MakeFaceCodeSet({3, 5}), {1, 3}, {1, 3, 5}},  // with 5 among others nothing is skipped
        {MakeFaceCodeSet({4}), {4}, {}},
        {MakeFaceCodeSet({3, 4}), {}, {4, 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FaceTags(*BuildShellByDirection(*beam, line, c.codes, c.given, 45)), c.faces)
            << "codes " << int(c.codes);
    std::vector<int> indices{7};
    GetFaceIndicesByDirection(*beam, line, MakeFaceCodeSet({1, 2, 9}), indices, {2}, 45);
    EXPECT_EQ(indices, (std::vector<int>{0}));
}

TEST(FaceShellTest, SlopedSurfaceAreas)
{
    const TVRMMultiPolygon2d plan = Rect(0, 0, 4000, 3000);
    std::string reason;
    // A 1:2 slope rising along y, defined three ways.
    const double onSlope = 12e6 * std::sqrt(1.25);
    EXPECT_NEAR(GetSlopedSurfaceArea(plan, TQTKSlopeRatioElevInfo::Create(plan, 0, 0.0, 0.5, reason).get()), onSlope,
                1e-3);
    EXPECT_NEAR(GetSlopedSurfaceArea(
                    plan, TQTKSlopeByPointsElevInfo::Create(plan, {{{0, 0}, {1, 0}, {2, 1500}}}, reason).get()),
                onSlope, 1e-3);
    EXPECT_NEAR(GetSlopedSurfaceArea(plan, TQTKSlopeByEdgeElevInfo::Create(plan, 0, 0.0, {3, 1500}, reason).get()),
                onSlope, 1e-3);
    EXPECT_DOUBLE_EQ(GetSlopedSurfaceArea(plan, TQTKSlopeRatioElevInfo::Create(plan, 0, 0.0, 0.75, reason).get()),
                     15e6);
    EXPECT_DOUBLE_EQ(GetSlopedSurfaceArea(plan, MakeRef<TQTKLevelElevInfo>(3000.0).get()), 12e6);
    EXPECT_DOUBLE_EQ(GetSlopedSurfaceArea(plan, nullptr), 12e6);
}

// Three points of which two coincide define no plane.
class TDegeneratePoints final : public TQTKPlanarElevInfo, public IQTKSlopeByPointsInfo {
public:
    TDegeneratePoints() : TQTKPlanarElevInfo(0, 0, 0) {}
    TQTKSlopePoint GetPoint(int index) const override { return {index == 1 ? 1 : 0, 100.0 * index}; }
};

TEST(FaceShellTest, DegenerateSlopeGivesZeroNotNaN)
{
    const TVRMMultiPolygon2d plan = Rect(0, 0, 4000, 3000);
    EXPECT_EQ(GetSlopedSurfaceArea(plan, MakeRef<TDegeneratePoints>().get()), 0.0);
    EXPECT_EQ(GetSlopedSurfaceArea(TVRMMultiPolygon2d(), MakeRef<TDegeneratePoints>().get()), 0.0);
}

TEST(FaceShellTest, ArchedSurfaceAreaMatchesTheCylinder)
{
    // Chord 6000, rise 1000: radius 5000, half angle asin(0.6).
    const auto arch = ArchShape(6000, 1000);
    const IQTKFaceElevInfo* info = arch->GetFaceElevInfo();
    const double halfAngle = std::asin(0.6);
    const double across = GetSlopedSurfaceArea(Rect(-3000, 0, 3000, 4000), info);
    EXPECT_NEAR(across, 4000 * 5000 * 2 * halfAngle, 4000 * 5000 * 1e-6);
    // Half the arch and 2000 of level surface beyond its foot.
    const double beyond = GetSlopedSurfaceArea(Rect(0, 0, 5000, 4000), info);
    EXPECT_NEAR(beyond, 4000 * 5000 * halfAngle + 4000 * 2000, 4000 * 5000 * 1e-6);
    // A triangle: the section width changes along the arch.
    TVRMMultiPolygon2d triangle;
    triangle.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {3000, 0}, {0, 3000}}));
    // Integral of (3000 - d) * R / sqrt(R² - d²) over 0..3000 with R = 5000.
    const double exact = 3000 * 5000 * halfAngle - 5000 * (5000 - 4000);
    EXPECT_NEAR(GetSlopedSurfaceArea(triangle, info), exact, exact * 1e-5);
    // A zero rise is a level surface.
    EXPECT_DOUBLE_EQ(GetSlopedSurfaceArea(Rect(-3000, 0, 3000, 4000), ArchShape(6000, 0)->GetFaceElevInfo()), 24e6);
}

TEST(FaceShellTest, DomeSurfaceAreaMatchesTheSphericalCap)
{
    // Span 6000, rise 1000: radius 5000, cap area 2 pi R h.
    const auto dome = MakeRef<TQTKFaceElevKind5Info>(TQTKCurvedSurfaceData{6000, 1000, false, 0.0}, TVRMPoint2d{0, 0});
    const double cap = 2 * CVRMPi * 5000 * 1000, disc = CVRMPi * 9e6;
    EXPECT_NEAR(GetSlopedSurfaceArea(Rect(-5000, -5000, 5000, 5000), dome.get()), 1e8 - disc + cap, 1e8 * 1e-6);
    EXPECT_NEAR(GetSlopedSurfaceArea(Rect(0, 0, 5000, 5000), dome.get()), 25e6 - disc / 4 + cap / 4, 25e6 * 1e-6);
    const auto level = MakeRef<TQTKFaceElevKind5Info>(TQTKCurvedSurfaceData{6000, 0, false, 0.0}, TVRMPoint2d{0, 0});
    EXPECT_DOUBLE_EQ(GetSlopedSurfaceArea(Rect(0, 0, 5000, 5000), level.get()), 25e6);
}

TEST(FaceShellTest, ConeSurfaceArea)
{
    const auto cone = MakeRef<TQTKFaceElevKind6Info>(TQTKCurvedSurfaceData{3000, 3000, false, 0.0}, TVRMPoint2d{0, 0});
    const double disc = CVRMPi * 9e6;
    EXPECT_NEAR(GetSlopedSurfaceArea(Rect(-5000, -5000, 5000, 5000), cone.get()), 1e8 - disc + disc * std::sqrt(2.0),
                1e8 * 1e-5);
}

TEST(FaceShellTest, SlopedShapeTests)
{
    EXPECT_TRUE(IsSlopedFaceShape(ArchShape(6000, 1000).get()));
    EXPECT_TRUE(IsSlopedFaceRising(ArchShape(6000, 1000).get()));
    EXPECT_FALSE(IsSlopedFaceRising(ArchShape(6000, -500).get()));
    TQTKFaceShapeData level;
    level.outline = Rect(0, 0, 1000, 1000);
    const auto flat = MakeRef<TQTKFaceShape>(std::move(level));
    EXPECT_FALSE(IsSlopedFaceShape(flat.get()));
    EXPECT_FALSE(IsSlopedFaceShape(nullptr));
    EXPECT_THROW(IsSlopedFaceRising(flat.get()), EQTKAssertionFailed);
}

TEST(FaceShellTest, ArchTopTakesTheFeetFacingAway)
{
    // The axis lies 4000 below the base (R = 5000): the block's foot is there.
    const auto block = Box(2000, 0, -1000, 3000, 1000, 3000);
    const auto arch = ArchShape(6000, 1000);
    EXPECT_EQ(FaceTags(*BuildSlopedTopOrBottomShell(*block, *arch, true)), (std::vector<int>{1, 4}));
    EXPECT_EQ(FaceTags(*BuildSlopedTopOrBottomShell(*block, *arch, false)), (std::vector<int>{3, 5}));
    // Zero rise: level, the foot is the base and no side face is taken.
    EXPECT_EQ(FaceTags(*BuildSlopedTopOrBottomShell(*block, *ArchShape(6000, 0), true)), (std::vector<int>{4}));
    EXPECT_EQ(FaceTags(*BuildSlopeSideFaceShell(*block, *arch, true)), (std::vector<int>{4}));
    EXPECT_EQ(FaceTags(*BuildSlopeSideFaceShell(*block, *arch, false)), (std::vector<int>{5}));
}

TEST(FaceShellTest, DeleteFacesOffTheArch)
{
    // The surface stands at about 3330 over x = 2500.
    const auto block = Box(2000, 0, 0, 3000, 1000, 5000);
    const auto arch = ArchShape(6000, 1000);
    auto above = BuildNonVerticalFaceShell(*block);
    DeleteFacesOffSlope(*above, *arch, true);
    EXPECT_EQ(FaceTags(*above), (std::vector<int>{5}));
    auto below = BuildNonVerticalFaceShell(*block);
    DeleteFacesOffSlope(*below, *arch, false);
    EXPECT_EQ(FaceTags(*below), (std::vector<int>{4}));
}

class TFaceShapeShellTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 5, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 3000], [0, 3000]]}},
          {"id": 40, "type": 25, "floor": 1, "props": {"SectionWidth": 400, "SectionHeight": 400,
           "BottomElev": 0, "TopElev": 2880}, "shape": {"kind": "point", "insertPt": [200, 200]}}])");
    }
};

TEST_F(TFaceShapeShellTest, PolygonOnTheFacePlanes)
{
    const auto top = BuildFaceShapeShell(Record(5), Rect(0, 0, 1000, 1000), true);
    ASSERT_EQ(top->GetFaceCount(), 1);
    EXPECT_DOUBLE_EQ(top->GetArea(), 1e6);
    EXPECT_NEAR(top->GetFace(0).GetBox().min.z, 3000, 1e-9);
    EXPECT_NEAR(top->GetFace(0).GetNormal().z, 1.0, 1e-12);
    const auto bottom = BuildFaceShapeShell(Record(5), Rect(0, 0, 1000, 1000), false);
    EXPECT_NEAR(bottom->GetFace(0).GetBox().max.z, 2880, 1e-9);
    EXPECT_NEAR(bottom->GetFace(0).GetNormal().z, -1.0, 1e-12);
    EXPECT_DOUBLE_EQ(BuildFaceShapeOutlineShell(DrawObj(5), true)->GetArea(), 12e6);
    EXPECT_FALSE(BuildFaceShapeOutlineShell(DrawObj(40), true)->HasFaces());
}

TEST_F(TFaceShapeShellTest, TopOfTheSlabOverAPolygon)
{
    const auto slab = DrawObj(5)->BuildPolyhedron();
    const auto top = BuildClippedTopShell(Record(5), *slab, Rect(-500, -500, 1000, 1000));
    ASSERT_EQ(top->GetFaceCount(), 1);
    EXPECT_NEAR(top->GetArea(), 1e6, 1e-3);
    EXPECT_NEAR(top->GetFace(0).GetBox().min.z, 3000, 1e-6);
    EXPECT_FALSE(BuildClippedTopShell(Record(5), *slab, Rect(5000, 0, 6000, 1000))->HasFaces());
}

TEST_F(TFaceShapeShellTest, ColumnUnderTheSlabTakesItsContactFromTheBottom)
{
    TQTKShellCalc3d calc(BuildFaceShapeOutlineShell(DrawObj(5), false), RecordRef(Record(5)));
    const auto column = DrawObj(40)->BuildPolyhedron();
    EXPECT_NEAR(SubtractElementSolidFromShell(calc, *column, Record(40), 1, false), 160000, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 12e6 - 160000, 1e-3);
}

}  // namespace
