#include <gtest/gtest.h>

#include <limits>

#include "Geometry3dTestUtils.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"

namespace {

TVRMMultiPolygon2d Plan(std::initializer_list<std::vector<TVRMPoint2d>> rings)
{
    TVRMMultiPolygon2d set;
    for (const auto& r : rings)
        set.Add(TVRMPolygon2d(r));
    return set;
}

const std::vector<TVRMPoint2d> kSquare{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};

void ExpectNormals(const TVRMPolyhedron3d& solid, const std::vector<TVRMVector3d>& normals)
{
    ASSERT_EQ(solid.GetFaceCount(), static_cast<int>(normals.size()));
    for (size_t i = 0; i < normals.size(); ++i)
        EXPECT_TRUE(solid.GetFace(static_cast<int>(i)).GetNormal().IsEqualTo(normals[i], 1e-12)) << i;
}

TEST(Build3dTest, PrismsOnLevelsAndPlanes)
{
    auto prism = TVRMPolyhedron3d::CreatePrism(Plan({kSquare}), 0, 3000);
    ExpectNormals(*prism, {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}});
    EXPECT_DOUBLE_EQ(prism->GetFace(4).GetLoop(0)[0].z, 3000);
    EXPECT_DOUBLE_EQ(prism->GetVolume(), 3e9);

    auto slab = TVRMPolyhedron3d::CreateOnPlane(Plan({kSquare}), TVRMPlane3d({0, 0, 1}, {0, 0, 3000}), 120);
    ASSERT_EQ(slab->GetFaceCount(), 6);
    EXPECT_DOUBLE_EQ(slab->GetBox().min.z, 2880);
    EXPECT_EQ(slab->GetFace(4).GetNormal(), (TVRMVector3d{0, 0, 1}));
    EXPECT_DOUBLE_EQ(slab->GetFace(4).GetLoop(0)[0].z, 3000);

    // Sloped plane 1:10 along x: the solid is the plan area times the thickness across the plane.
    const TVRMPlane3d sloped({-0.1, 0, 1}, {0, 0, 3000});
    auto onSlope = TVRMPolyhedron3d::CreateOnPlane(Plan({kSquare}), sloped, 120);
    EXPECT_NEAR(onSlope->GetVolume(), 1e6 * std::sqrt(1.01) * 120, 1e-5);
    EXPECT_TRUE(onSlope->GetFace(onSlope->GetFaceCount() - 2).GetPlane().IsSamePlane(sloped));
    EXPECT_FALSE(TVRMPolyhedron3d::CreateOnPlane(Plan({kSquare}), TVRMPlane3d({1, 0, 0}, {}), 120)->HasFaces());

    const TVRMFace3d face = TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}});
    auto fromFace = TVRMPolyhedron3d::CreateFromFace(face, 10);
    EXPECT_DOUBLE_EQ(fromFace->GetBox().max.z, 10);
    EXPECT_DOUBLE_EQ(fromFace->GetFace(fromFace->GetFaceCount() - 1).GetLoop(0)[0].z, 10);
    EXPECT_DOUBLE_EQ(fromFace->GetVolume(), 1e7);
}

TEST(Build3dTest, SlopedPrismKeepsTopSecondToLast)
{
    bool failed = true;
    auto pit = TVRMPolyhedron3d::CreateSlopedPrism(Plan({kSquare}), -2000, 1000, {500, 500, 500, 500}, failed);
    ASSERT_FALSE(failed);
    ASSERT_EQ(pit->GetFaceCount(), 6);
    EXPECT_EQ(pit->GetFace(4).GetNormal(), (TVRMVector3d{0, 0, 1}));
    EXPECT_DOUBLE_EQ(pit->GetFace(4).GetArea(), 4e6);
    const double a1 = 1e6, a2 = 4e6;
    EXPECT_NEAR(pit->GetVolume(), 1000 / 3.0 * (a1 + a2 + std::sqrt(a1 * a2)), 1e-3);

    // Widths that swallow an edge cannot keep the edge structure.
    pit = TVRMPolyhedron3d::CreateSlopedPrism(Plan({kSquare}), 0, 1000, {-600, 0, -600, 0}, failed);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(pit->HasFaces());
}

TEST(Build3dTest, OffsetBottomRingsCarrySlopedPrisms)
{
    const std::vector<TVRMPoint2d> rectangle{{0, 0}, {1000, 0}, {1000, 2000}, {0, 2000}};
    const std::vector<TVRMPoint2d> l{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, 2000}, {0, 2000}};
    struct Case {
        const char* name;
        std::vector<TVRMPoint2d> ring;
        std::vector<double> widths;
        int code;
        int edges;           // of the ring returned
        double top, volume;  // of the pit 1000 deep standing on it: prismoid h/6 (A0 + 4 Am + A1)
    };
    const Case cases[] = {
        {"rectangle pit", rectangle, {500, 500, 500, 500}, 0, 4, 6e6, 1000 / 6.0 * (2e6 + 4 * 3.75e6 + 6e6)},
        {"steep and upright sides", rectangle, {500, 0, 500, 0}, 0, 4, 3e6, 1000 / 6.0 * (2e6 + 4 * 2.5e6 + 3e6)},
        // Outward by d: 3e6 + 8000 d + 4 d^2 (five convex corners, one reflex).
        {"L pit", l, {500, 500, 500, 500, 500, 500}, 0, 6, 8e6, 1000 / 6.0 * (3e6 + 4 * 5.25e6 + 8e6)},
        {"zero-length edge",
         {{0, 0}, {1000, 0}, {1000, 0}, {1000, 2000}, {0, 2000}},
         {500, 300, 500, 500, 500},
         1,
         4,
         6e6,
         1000 / 6.0 * (2e6 + 4 * 3.75e6 + 6e6)},
        {"edges in line",
         {{0, 0}, {400, 0}, {1000, 0}, {1000, 2000}, {0, 2000}},
         {500, 500, 500, 500, 500},
         1,
         4,
         6e6,
         1000 / 6.0 * (2e6 + 4 * 3.75e6 + 6e6)},
        {"inward widths swallow the ring", rectangle, {0, -600, 0, -600}, 2, 4, 0, 0},
        {"edges in line with different widths",
         {{0, 0}, {400, 0}, {1000, 0}, {1000, 2000}, {0, 2000}},
         {500, 300, 500, 500, 500},
         2,
         5,
         0,
         0},
        {"a width missing", rectangle, {500, 500, 500}, 3, 4, 0, 0},
        {"clockwise ring", {rectangle.rbegin(), rectangle.rend()}, {500, 500, 500, 500}, 3, 4, 0, 0},
    };
    for (const auto& c : cases) {
        TVRMPolygon2d bottom;
        std::vector<double> widths;
        const int code = TVRMPolyhedron3d::GetOffsetBottomPoly(TVRMPolygon2d(c.ring), c.widths, bottom, widths);
        EXPECT_EQ(code, c.code) << c.name;
        EXPECT_EQ(bottom.GetEdgeCount(), c.edges) << c.name;
        bool failed = false;
        TVRMMultiPolygon2d plan;
        plan.Add(bottom);
        auto pit = TVRMPolyhedron3d::CreateSlopedPrism(plan, -1000, 1000, widths, failed);
        EXPECT_EQ(failed, code >= 2) << c.name;
        if (code >= 2) {  // the ring and widths as given
            EXPECT_EQ(bottom.GetCount(), static_cast<int>(c.ring.size())) << c.name;
            EXPECT_EQ(widths, c.widths) << c.name;
            continue;
        }
        ASSERT_EQ(pit->GetFaceCount(), c.edges + 2) << c.name;
        const TVRMFace3d& top = pit->GetFace(pit->GetFaceCount() - 2);
        EXPECT_EQ(top.GetNormal(), (TVRMVector3d{0, 0, 1})) << c.name;
        EXPECT_NEAR(top.GetArea(), c.top, 1e-6) << c.name;
        EXPECT_NEAR(pit->GetVolume(), c.volume, 1e-3) << c.name;
    }
    // A round pit serves as given.
    TVRMPolygon2d bottom;
    std::vector<double> widths;
    EXPECT_EQ(
        TVRMPolyhedron3d::GetOffsetBottomPoly(TVRMPolygon2d::CreateCircle({0, 0}, 1000), {500, 500}, bottom, widths),
        0);
}

TEST(Build3dTest, BandsAlongLinesAndArcs)
{
    auto wall = TVRMPolyhedron3d::CreateBand(TVRMCustomLine2d({0, 0}, {5000, 0}), 200, 100, 0, 3000, 0, 3000);
    ExpectNormals(*wall, {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}});
    EXPECT_DOUBLE_EQ(wall->GetFace(0).GetLoop(0)[0].y, -100);
    EXPECT_DOUBLE_EQ(wall->GetVolume(), 5000 * 200 * 3000.0);

    // Sloped top from 3000 to 4000: the mean height.
    auto gable = TVRMPolyhedron3d::CreateBand(TVRMCustomLine2d({0, 0}, {5000, 0}), 200, 100, 0, 3000, 0, 4000);
    EXPECT_NEAR(gable->GetVolume(), 5000 * 200 * 3500.0, 1e-3);

    // Along a half circle of radius 5000 (centre line in the band's middle): section times arc length.
    const TVRMCustomLine2d arc({5000, 0}, {-5000, 0}, 5000, CVRMArcKindCCWMajor);
    auto curved = TVRMPolyhedron3d::CreateBand(arc, 200, 100, 0, 3000, 0, 3000);
    const double volume = 200 * 3000 * CVRMPi * 5000;
    EXPECT_NEAR(curved->GetVolume(), volume, 1e-9 * volume);
    EXPECT_GT(curved->GetFaceCount(), 6);
    EXPECT_EQ(curved->GetFace(curved->GetFaceCount() - 2).GetNormal(), (TVRMVector3d{0, 0, 1}));
    const TVRMFace3d& top = curved->GetFace(curved->GetFaceCount() - 2);
    EXPECT_NEAR(top.GetArea(), 200 * CVRMPi * 5000, 1e-9 * 200 * CVRMPi * 5000);
    // The outer curved side (a run of facets) has the analytic area R * sweep * h.
    double outer = 0;
    for (const auto& f : curved->GetFaces())
        if (f.GetArc() && SameValue(f.GetArc()->radius, 5100, 1e-9))
            outer += f.GetArea();
    EXPECT_NEAR(outer, 5100 * CVRMPi * 3000, 1e-9 * 5100 * CVRMPi * 3000);
}

TEST(Build3dTest, SolidBetweenTwoLines)
{
    // Wall sides 200 apart, top rising from 3000 to 4000 along the wall.
    const TVRMCustomLine2d left({0, 100}, {5000, 100}), right({0, -100}, {5000, -100});
    auto wall = TVRMPolyhedron3d::CreateBetweenLines(left, 0, 3000, 0, 4000, right, 0, 3000, 0, 4000);
    ASSERT_EQ(wall->GetFaceCount(), 6);
    EXPECT_NEAR(wall->GetVolume(), 5000 * 200 * 3500.0, 1e-3);
    EXPECT_GT(wall->GetFace(4).GetNormal().z, 0.9);
    EXPECT_EQ(wall->GetFace(5).GetNormal(), (TVRMVector3d{0, 0, -1}));
    // Tops that differ across and along: the top is split into two triangles.
    auto twisted = TVRMPolyhedron3d::CreateBetweenLines(left, 0, 3000, 0, 3000, right, 0, 3000, 0, 4000);
    ASSERT_EQ(twisted->GetFaceCount(), 7);
    const TVRMVector3d up = twisted->GetFace(4).GetNormal();
    EXPECT_GT(up.z, 0);
    // The twisted top is two planes through the diagonal; the volume follows from them.
    EXPECT_NEAR(twisted->GetVolume(), 5000 * 200 * 3000.0 + 5000 * 200 * 1000.0 / 3, 1e-3);
}

TEST(Build3dTest, RoundColumnMeasuresAreAnalytic)
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d::CreateCircle({100, 200}, 300));
    auto column = TVRMPolyhedron3d::CreatePrism(plan, 0, 3000);
    const double area = CVRMPi * 300 * 300;
    EXPECT_NEAR(column->GetVolume(), area * 3000, 1e-9 * area * 3000);
    EXPECT_NEAR(column->GetFace(column->GetFaceCount() - 2).GetArea(), area, 1e-9 * area);
    EXPECT_NEAR(column->GetFace(column->GetFaceCount() - 1).GetArea(), area, 1e-9 * area);
    double side = 0;
    for (int i = 0; i + 2 < column->GetFaceCount(); ++i)
        side += column->GetFace(i).GetArea();
    EXPECT_NEAR(side, 2 * CVRMPi * 300 * 3000, 1e-9 * 2 * CVRMPi * 300 * 3000);
    // Cut at a level: the pieces keep the analytic volume.
    std::unique_ptr<TVRMPolyhedron3d> upper;
    auto lower = column->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 1000}), upper);
    EXPECT_NEAR(lower->GetVolume(), area * 1000, 1e-9 * area * 3000);
    EXPECT_NEAR(upper->GetVolume(), area * 2000, 1e-9 * area * 3000);
}

TEST(Build3dTest, SweepCutRegionAndProjection)
{
    // Section 200 wide, 300 high, hanging below the path (reference at its top middle).
    auto beam = TVRMPolyhedron3d::CreateSweep(Plan({{{-100, -300}, {100, -300}, {100, 0}, {-100, 0}}}),
                                              TVRMCustomLine2d({0, 0}, {5000, 0}), {0, 0}, 3000, 3000);
    ASSERT_EQ(beam->GetFaceCount(), 6);
    EXPECT_DOUBLE_EQ(beam->GetVolume(), 200 * 300 * 5000.0);
    EXPECT_DOUBLE_EQ(beam->GetBox().max.z, 3000);
    EXPECT_EQ(beam->GetFace(4).GetNormal(), (TVRMVector3d{-1, 0, 0}));
    EXPECT_EQ(beam->GetFace(5).GetNormal(), (TVRMVector3d{1, 0, 0}));
    EXPECT_TRUE(beam->GetFace(0).GetNormal().IsEqualTo({0, 0, -1}, 1e-12));

    // The same section along a quarter circle of radius 5000 (centre on its left).
    auto curvedBeam =
        TVRMPolyhedron3d::CreateSweep(Plan({{{-100, -300}, {100, -300}, {100, 0}, {-100, 0}}}),
                                      TVRMCustomLine2d({5000, 0}, {0, 5000}, 5000, CVRMArcKindCCW), {0, 0}, 3000, 3000);
    const double arcLength = 5000 * CVRMPi / 2;
    EXPECT_NEAR(curvedBeam->GetVolume(), 200 * 300 * arcLength, 1e-9 * 200 * 300 * arcLength);
    EXPECT_NEAR(curvedBeam->GetSurfaceArea() - 2 * 200 * 300, 2 * 300 * arcLength + 2 * 200 * arcLength,
                1e-9 * 1000 * arcLength);

    auto region = TVRMPolyhedron3d::BuildCutPolyhedron(
        TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({0, 500}, {1000, 500}), {{0, 0, 0}, {10, 10, 300}});
    EXPECT_DOUBLE_EQ(region->GetVolume(), 1000 * 500 * 300.0);

    // Trim a long wall at the ends of its side lines.
    TVRMPolyhedron3d wall = *Box(-1000, -100, 0, 6000, 100, 3000);
    ASSERT_TRUE(TVRMNewPolyBooleanOperator::Cut(wall, TVRMCustomLine2d({0, 100}, {5000, 100}),
                                                TVRMCustomLine2d({0, -100}, {5000, -100})));
    EXPECT_NEAR(wall.GetVolume(), 5000 * 200 * 3000.0, 1e-3);

    auto l = TVRMPolyhedron3d::CreatePrism(
        Plan({{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, 2000}, {0, 2000}}}), 0, 300);
    EXPECT_DOUBLE_EQ(l->GetProjectiveXYPoly()->Area(), 3e6);
}

// Area of a helicoid strip between radii a and b over the angle t, rising c per radian.
double HelicoidArea(double a, double b, double t, double c)
{
    auto f = [c](double r) { return (r * std::hypot(r, c) + c * c * std::asinh(r / c)) / 2; };
    return t * (f(b) - f(a));
}

TEST(Build3dTest, SweepsAlongArcsMeasureExactly)
{
    const double quarter = CVRMPi / 2;
    const TVRMCustomLine2d ccw({5000, 0}, {0, 5000}, 5000, CVRMArcKindCCW);
    const TVRMCustomLine2d cw({0, 5000}, {5000, 0}, 5000, CVRMArcKindCW);
    // A beam 300 wide and 600 high standing on its axis (the element model's reference point).
    const std::vector<TVRMPoint2d> beam{{-150, 0}, {150, 0}, {150, 600}, {-150, 600}};
    const std::vector<TVRMPoint2d> trapezoid{{-150, 0}, {150, 0}, {250, 600}, {-250, 600}};
    const double beamSides = (5150 + 4850) * quarter * 600 + (5150.0 * 5150 - 4850.0 * 4850) * quarter;
    const double slant = std::hypot(100, 600);
    const double trapezoidSides = quarter * ((5150 + 5250) / 2.0 * slant + (4850 + 4750) / 2.0 * slant) +
                                  quarter * ((5150.0 * 5150 - 4850.0 * 4850) + (5250.0 * 5250 - 4750.0 * 4750)) / 2;
    const double rise = 1000 / quarter;
    struct Case {
        const char* name;
        TVRMMultiPolygon2d section;
        TVRMPoint2d reference;
        const TVRMCustomLine2d& path;
        double startElevation, endElevation;
        double area, centroidRadius, sides;  // sides < 0: not checked
    };
    std::vector<TVRMPoint2d> clockwise(beam.rbegin(), beam.rend());
    const Case cases[] = {
        {"beam along a left turn", Plan({beam}), {0, 0}, ccw, 2400, 2400, 180000, 5000, beamSides},
        {"beam along a right turn", Plan({beam}), {0, 0}, cw, 2400, 2400, 180000, 5000, beamSides},
        {"section given clockwise", Plan({clockwise}), {0, 0}, ccw, 2400, 2400, 180000, 5000, beamSides},
        {"reference at a corner", Plan({beam}), {-150, 600}, ccw, 3000, 3000, 180000, 5150, -1},
        {"rising beam",
         Plan({beam}),
         {0, 0},
         ccw,
         2400,
         3400,
         180000,
         5000,
         (5150 + 4850) * quarter * 600 + 2 * HelicoidArea(4850, 5150, quarter, rise)},
        {"slanted sides", Plan({trapezoid}), {0, 0}, ccw, 2400, 2400, 240000, 5000, trapezoidSides},
        {"slanted sides rising", Plan({trapezoid}), {0, 0}, ccw, 2400, 3400, 240000, 5000, -1},
        {"hollow section",
         Plan({{{0, 0}, {400, 0}, {400, 800}, {0, 800}}, {{100, 100}, {100, 700}, {300, 700}, {300, 100}}}),
         {100, 800},
         cw,
         0,
         2000,
         200000,
         4900,
         -1},
    };
    for (const auto& c : cases) {
        auto solid = TVRMPolyhedron3d::CreateSweep(c.section, c.path, c.reference, c.startElevation, c.endElevation);
        const double volume = c.area * c.centroidRadius * quarter;
        EXPECT_NEAR(solid->GetVolume(), volume, 1e-9 * volume) << c.name;
        const int n = solid->GetFaceCount();
        ASSERT_GT(n, 2) << c.name;
        EXPECT_NEAR(solid->GetFace(n - 2).GetArea(), c.area, 1e-9 * c.area) << c.name;
        const TVRMVector2d back = -c.path.StartDirection();
        EXPECT_TRUE(solid->GetFace(n - 2).GetNormal().IsEqualTo({back.x, back.y, 0}, 1e-12)) << c.name;
        if (c.sides > 0) {
            EXPECT_NEAR(solid->GetSurfaceArea() - 2 * c.area, c.sides, 1e-9 * c.sides) << c.name;
        }
    }
}

// The faces that single section lines of a 300 x 600 beam sweep: the same
// surfaces as the sweep of the whole section, each facing right of its line.
TEST(Build3dTest, SweptFacesOfSectionLines)
{
    const double quarter = CVRMPi / 2;
    const TVRMCustomLine2d straight({0, 0}, {6000, 0});
    const TVRMCustomLine2d ccw({5000, 0}, {0, 5000}, 5000, CVRMArcKindCCW);
    const TVRMCustomLine2d bottom({-150, 0}, {150, 0});
    const TVRMCustomLine2d right({150, 0}, {150, 600});
    const TVRMCustomLine2d bottomBack({150, 0}, {-150, 0});
    struct Case {
        const char* name;
        const TVRMCustomLine2d& profile;
        const TVRMCustomLine2d& path;
        double startElevation, endElevation;
        double area;
        double normalZ;  // of every face
    };
    const Case cases[] = {
        {"bottom along a straight path", bottom, straight, 0, 0, 300.0 * 6000, -1},
        {"bottom along a rising straight path", bottom, straight, 0, 800, 300.0 * std::hypot(6000, 800),
         -6000 / std::hypot(6000, 800)},
        {"the same line taken backwards faces up", bottomBack, straight, 0, 0, 300.0 * 6000, 1},
        {"outer side along a left turn", right, ccw, 0, 0, 5150 * quarter * 600, 0},
        {"bottom along a left turn", bottom, ccw, 0, 0, (5150.0 * 5150 - 4850.0 * 4850) * quarter / 2, -1},
        {"bottom along a rising turn", bottom, ccw, 0, 1000, HelicoidArea(4850, 5150, quarter, 1000 / quarter), 2},
        {"a path without length", bottom, TVRMCustomLine2d({0, 0}, {0, 0}), 0, 0, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto faces =
            TVRMPolyhedron3d::CreateSweptFaces(c.profile, c.path, {0, 600}, c.startElevation, c.endElevation);
        double area = 0;
        for (const auto& face : faces) {
            area += face.GetArea();
            if (c.normalZ <= 1)
                EXPECT_NEAR(face.GetNormal().z, c.normalZ, 1e-9);
        }
        EXPECT_NEAR(area, c.area, 1e-9 * std::max(1.0, c.area));
    }
}

TEST(Lines3dTest, SubtractIntersectAndCut)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    struct Case {
        TVRMPoint3d p, q;
        double inside;
    };
    const Case cases[] = {
        {{-500, 500, 500}, {1500, 500, 500}, 1000},  // through
        {{-500, 0, 500}, {1500, 0, 500}, 1000},      // along a face: the boundary counts
        {{-500, 0, 1000}, {1500, 0, 1000}, 1000},    // along an edge
        {{200, 200, 200}, {300, 300, 300}, std::sqrt(3.0) * 100},
        {{500, -500, 500}, {1500, 500, 500}, 0},  // touches an edge at one point
        {{-500, 2000, 500}, {1500, 2000, 500}, 0},
    };
    for (const auto& c : cases) {
        const double length = c.p.DistanceTo(c.q);
        TVRMPolyhedronLines3d lines;
        lines.AddEdge(c.p, c.q);
        TVRMPolyhedronLines3d kept = lines;
        EXPECT_NEAR(lines.Subtract(*box), c.inside, 1e-9);
        EXPECT_NEAR(lines.GetLength(), length - c.inside, 1e-9);
        EXPECT_NEAR(kept.Intersect(*box), length - c.inside, 1e-9);
        EXPECT_NEAR(kept.GetLength(), c.inside, 1e-9);
    }
    TVRMPolyhedronLines3d rail;
    rail.AddLine(TVRMCustomLine2d({0, 0}, {3000, 0}), 0, 3000);
    rail.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 1000}));
    EXPECT_NEAR(rail.GetLength(), 1000 * std::sqrt(2.0), 1e-9);
    rail.Move({0, 0, 5});
    EXPECT_DOUBLE_EQ(rail.GetEdge(0).start.z, 5);

    TVRMPolyhedronLines3d arc;
    arc.AddLine(TVRMCustomLine2d({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW), 0, 0);
    EXPECT_NEAR(arc.GetLength(), 1000 * CVRMPi / 2, 1.5);  // chords of the facets
}

TEST(Build3dTest, InputsThatMakeNoSolidGiveAnEmptyOne)
{
    // Numbers that are no finite values, and tops below their bottoms (which would
    // turn the solid inside out), give the empty solid rather than a volume of NaN
    // or a negative one.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TVRMCustomLine2d axis({0, 0}, {5000, 0}), left({0, 100}, {5000, 100}), right({0, -100}, {5000, -100});
    const TVRMMultiPolygon2d square = Plan({kSquare});
    const TVRMMultiPolygon2d section = Plan({{{-100, -300}, {100, -300}, {100, 0}, {-100, 0}}});
    const TVRMFace3d face = TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}});
    bool failed = false;
    struct Case {
        const char* name;
        std::unique_ptr<TVRMPolyhedron3d> solid;
    };
    Case cases[] = {
        {"prism of height NaN", TVRMPolyhedron3d::CreatePrism(square, 0, nan)},
        {"prism from an infinite bottom", TVRMPolyhedron3d::CreatePrism(square, -inf, 3000)},
        {"sloped prism of height NaN", TVRMPolyhedron3d::CreateSlopedPrism(square, 0, nan, {1, 1, 1, 1}, failed)},
        {"sloped prism with a width NaN", TVRMPolyhedron3d::CreateSlopedPrism(square, 0, 1000, {nan, 1, 1, 1}, failed)},
        {"slab of thickness NaN", TVRMPolyhedron3d::CreateOnPlane(square, TVRMPlane3d({0, 0, 1}, {0, 0, 0}), nan)},
        {"face solid of thickness infinity", TVRMPolyhedron3d::CreateFromFace(face, inf)},
        {"band with a top NaN", TVRMPolyhedron3d::CreateBand(axis, 200, 100, 0, nan, 0, 3000)},
        {"band of width NaN", TVRMPolyhedron3d::CreateBand(axis, nan, 100, 0, 3000, 0, 3000)},
        {"band upside down", TVRMPolyhedron3d::CreateBand(axis, 200, 100, 3000, 0, 3000, 0)},
        {"band upside down at its end", TVRMPolyhedron3d::CreateBand(axis, 200, 100, 0, 3000, 3000, 0)},
        {"solid between lines upside down",
         TVRMPolyhedron3d::CreateBetweenLines(left, 3000, 0, 3000, 0, right, 3000, 0, 3000, 0)},
        {"solid between lines with a bottom NaN",
         TVRMPolyhedron3d::CreateBetweenLines(left, 0, 3000, 0, 3000, right, nan, 3000, 0, 3000)},
        {"sweep from an elevation NaN", TVRMPolyhedron3d::CreateSweep(section, axis, {0, 0}, nan, 3000)},
        {"sweep about a reference NaN", TVRMPolyhedron3d::CreateSweep(section, axis, {nan, 0}, 3000, 3000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.solid->HasFaces());
        EXPECT_EQ(c.solid->GetVolume(), 0.0);
    }
    EXPECT_TRUE(failed);
    // A band whose top meets its bottom at one end is a wedge, not a failure.
    EXPECT_NEAR(TVRMPolyhedron3d::CreateBand(axis, 200, 100, 0, 3000, 0, 0)->GetVolume(), 5000 * 200 * 1500.0, 1e-3);
}

}  // namespace
