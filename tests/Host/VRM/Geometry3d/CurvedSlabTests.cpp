// Curved slab solids: an arched slab (a cylindrical shell under its top
// surface, exact over a plan that is a rectangle along the axis), domed and
// conical slabs (shells about a vertical axis, exact over the circle of their
// reach), with the top and bottom facet runs recorded in the solid's data;
// invalid input gives an empty solid.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return plan;
}

double RunArea(const TVRMPolyhedron3d& solid, int first, int count)
{
    double area = 0;
    for (int i = first; i < first + count; ++i)
        area += solid.GetFace(i).GetArea();
    return area;
}

struct TArchCase {
    const char* name;
    TVRMCustomLine2d axis;
    TVRMMultiPolygon2d plan;
    double halfThickness, axisElev, radius;
    double sweep;   // angle of the top surface over the plan
    double length;  // along the axis
};

void PrintTo(const TArchCase& c, std::ostream* os)
{
    *os << c.name;
}

class TCylinderSlabTest : public ::testing::TestWithParam<TArchCase> {};

TEST_P(TCylinderSlabTest, ExactVolumeAndSurfaces)
{
    const TArchCase& c = GetParam();
    const auto solid = TVRMPolyhedron3d::CreateCylinderSlab(c.plan, c.axis, c.halfThickness, c.axisElev, c.radius);
    ASSERT_TRUE(solid->HasFaces());
    const double inner = c.radius - 2 * c.halfThickness;
    EXPECT_NEAR(solid->GetVolume(), c.sweep / 2 * (c.radius * c.radius - inner * inner) * c.length,
                1e-6 * solid->GetVolume());
    const auto& data = solid->GetData();
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[0], 4);  // two springing faces and two ends first
    EXPECT_EQ(data[2], data[0] + data[1]);
    EXPECT_EQ(data[2] + data[3], solid->GetFaceCount());
    EXPECT_NEAR(RunArea(*solid, data[0], data[1]), c.radius * c.sweep * c.length, 1e-6 * c.radius * c.length);
    EXPECT_NEAR(RunArea(*solid, data[2], data[3]), inner * c.sweep * c.length, 1e-6 * c.radius * c.length);
    for (int i = data[0]; i < data[0] + data[1]; ++i)
        EXPECT_GT(solid->GetFace(i).GetNormal().z, 0) << "top facet " << i;
    // Facet corners lie on the circle; the facets stay under it by at most their sagitta.
    EXPECT_LE(solid->GetBox().max.z, c.axisElev + c.radius + 1e-6);
    EXPECT_GE(solid->GetBox().max.z, c.axisElev + c.radius * std::cos(CVRMArcFacetAngle / 2) - 1e-6);
}

// Chord 6000 and rise 1000: R = (3000^2 + 1000^2) / 2000 = 5000.
const TArchCase CArchCases[] = {
    {"half_cylinder_along_x", {{0, 0}, {6000, 0}}, Rect(0, -5000, 6000, 5000), 60, 3000, 5000, CVRMPi, 6000},
    {"chord_6000_rise_1000",
     {{0, 0}, {6000, 0}},
     Rect(0, -3000, 6000, 3000),
     60,
     -1000,
     5000,
     2 * std::asin(0.6),
     6000},
    {"axis_along_y_off_centre", {{1000, 0}, {1000, 4000}}, Rect(-2000, 0, 4000, 4000), 100, 0, 3000, CVRMPi, 4000},
};

INSTANTIATE_TEST_SUITE_P(Cases, TCylinderSlabTest, ::testing::ValuesIn(CArchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CylinderSlab, InvalidInputGivesAnEmptySolid)
{
    const TVRMCustomLine2d axis{{0, 0}, {6000, 0}};
    const TVRMMultiPolygon2d plan = Rect(0, -3000, 6000, 3000);
    EXPECT_FALSE(TVRMPolyhedron3d::CreateCylinderSlab(plan, axis, 0, 0, 5000)->HasFaces());
    EXPECT_FALSE(TVRMPolyhedron3d::CreateCylinderSlab(plan, axis, 2500, 0, 5000)->HasFaces());
    EXPECT_FALSE(TVRMPolyhedron3d::CreateCylinderSlab({}, axis, 60, 0, 5000)->HasFaces());
    EXPECT_FALSE(TVRMPolyhedron3d::CreateCylinderSlab(plan, TVRMCustomLine2d({0, 0}, {6000, 0}, 5000, 1), 60, 0, 5000)
                     ->HasFaces());
}

// Domed and conical slabs. Closed forms over a circle of radius a about the
// centre, thickness T, inner sphere r = R - T, springing at sin(alpha) = a / R:
// the spherical shell sector V = 2 pi / 3 (1 - cos alpha) (R^3 - r^3), its
// caps 2 pi R^2 (1 - cos alpha) and 2 pi r^2 (1 - cos alpha), its springing
// cone pi sin(alpha) (R^2 - r^2). A cone of slope k (beta = atan k, s =
// sqrt(1 + k^2)) with its edge square to it: by Pappus over the section,
// V = pi (a^2 T - a T^2 sin beta + T^3 sin^2 beta / 3) / cos beta, top
// pi a^2 s, bottom pi (a - T sin beta)^2 s, edge pi T (2a - T sin beta); a
// funnel's edge is upright: V = pi a^2 T s, top and bottom pi a^2 s, edge
// 2 pi a T s.
TVRMMultiPolygon2d Circle(double x, double y, double radius)
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d::CreateCircle({x, y}, radius));
    return plan;
}

struct TRevolvedCase {
    const char* name;
    std::function<std::unique_ptr<TVRMPolyhedron3d>()> build;
    double volume, top, bottom, sides;
    double highest;  // the top surface's highest point
};

void PrintTo(const TRevolvedCase& c, std::ostream* os)
{
    *os << c.name;
}

TRevolvedCase Dome(const char* name, double a, double radius, double thickness, double centreElev)
{
    const double r = radius - thickness, sine = a / radius, cap = 1 - std::sqrt(1 - sine * sine);
    return {name,
            [=] {
                return TVRMPolyhedron3d::CreateDomeSlab(Circle(0, 0, a), {0, 0}, thickness / 2, centreElev, radius);
            },
            2 * CVRMPi / 3 * cap * (radius * radius * radius - r * r * r),
            2 * CVRMPi * radius * radius * cap,
            2 * CVRMPi * r * r * cap,
            CVRMPi * sine * (radius * radius - r * r),
            centreElev + radius};
}

// A cone of radius 3000 about (1000, 2000) rising Rise from 3000, over the circle of radius a.
TRevolvedCase Cone(const char* name, double a, double rise, double t)
{
    const double k = rise / 3000, s = std::hypot(1.0, k), sine = k / s, cosine = 1 / s;
    const auto build = [=] {
        return TVRMPolyhedron3d::CreateConeSlab(Circle(1000, 2000, a), {1000, 2000}, t / 2, 3000, 3000, rise);
    };
    const double highest = 3000 + rise - std::min(0.0, k * a);
    if (k < 0)
        return {name,   build, CVRMPi * a * a * t * s, CVRMPi * a * a * s, CVRMPi * a * a * s, 2 * CVRMPi * a * t * s,
                highest};
    const double inner = a - t * sine;
    return {name,
            build,
            CVRMPi * (a * a * t - a * t * t * sine + t * t * t * sine * sine / 3) / cosine,
            CVRMPi * a * a * s,
            CVRMPi * inner * inner * s,
            CVRMPi * t * (a + inner),
            highest};
}

class TRevolvedSlabTest : public ::testing::TestWithParam<TRevolvedCase> {};

TEST_P(TRevolvedSlabTest, ExactVolumeAndSurfaces)
{
    const TRevolvedCase& c = GetParam();
    const auto solid = c.build();
    ASSERT_TRUE(solid->HasFaces());
    EXPECT_NEAR(solid->GetVolume(), c.volume, 1e-9 * c.volume);
    const auto& data = solid->GetData();
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[2], data[0] + data[1]);
    EXPECT_EQ(data[2] + data[3], solid->GetFaceCount()) << "the bottom run last, the top run before it";
    EXPECT_NEAR(RunArea(*solid, 0, data[0]), c.sides, 1e-9 * c.top);
    EXPECT_NEAR(RunArea(*solid, data[0], data[1]), c.top, 1e-9 * c.top);
    EXPECT_NEAR(RunArea(*solid, data[2], data[3]), c.bottom, 1e-9 * c.top);
    EXPECT_NEAR(solid->GetSurfaceArea(), c.sides + c.top + c.bottom, 1e-9 * c.top);
    for (int i = data[0]; i < data[0] + data[1]; ++i)
        EXPECT_GT(solid->GetFace(i).GetNormal().z, 0) << "top facet " << i;
    for (int i = data[2]; i < data[2] + data[3]; ++i)
        EXPECT_LT(solid->GetFace(i).GetNormal().z, 0) << "bottom facet " << i;
    EXPECT_NEAR(solid->GetBox().max.z, c.highest, 1e-6);
}

// Chord 6000 and rise 1000 from 3000: R = 5000 about (0, 0, -1000).
const TRevolvedCase CRevolvedCases[] = {
    Dome("dome_chord_6000_rise_1000", 3000, 5000, 120, -1000),
    Dome("hemisphere_radius_3000", 3000, 3000, 200, 0),
    Dome("dome_past_its_span", 4000, 5000, 120, -1000),
    Cone("cone_rise_1000_off_origin", 3000, 1000, 120),
    Cone("steep_cone_rise_6000", 3000, 6000, 150),
    Cone("funnel_rise_minus_1000", 3000, -1000, 120),
};

INSTANTIATE_TEST_SUITE_P(Cases, TRevolvedSlabTest, ::testing::ValuesIn(CRevolvedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Simpson's rule on [a, b].
double Simpson(const std::function<double(double)>& f, double a, double b, int n = 400)
{
    if (b <= a)
        return 0;
    const double h = (b - a) / n;
    double sum = f(a) + f(b);
    for (int i = 1; i < n; ++i)
        sum += f(a + i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

// Volume over the square [-b, b]^2 about the centre of a shell of revolution
// of thickness h(rho), smooth but for a kink at `knee`: eight times the
// octant's integral of h(rho) rho over rho <= b / cos(theta).
double VolumeOverSquare(const std::function<double(double)>& h, double b, double knee)
{
    const auto overRho = [&](double theta) {
        const double reach = b / std::cos(theta);
        const auto f = [&](double rho) { return h(rho) * rho; };
        return Simpson(f, 0, std::min(reach, knee)) + Simpson(f, knee, reach);
    };
    const double split = knee <= b ? 0 : std::acos(b / knee);
    return 8 * (Simpson(overRho, 0, split) + Simpson(overRho, split, CVRMPi / 4));
}

// Over a square the shell is trimmed to the square's prism; a facet that the
// cut splits takes the measures of its part of the surface, so the volume is
// that of the shell over the square (up to slivers of surface between a
// facet's latitude chords and arcs).
TEST(DomeAndConeSlab, TrimmedToASquarePlanInSlabFaceOrder)
{
    const double b = 2000, reach = b * std::sqrt(2.0), t = 120;
    struct TCase {
        const char* name;
        std::unique_ptr<TVRMPolyhedron3d> solid;
        double knee;
        std::function<double(double)> thickness;
    };
    // Dome: R = 5000 about (0, 0, -1000); under the springing cone past r sin(alpha).
    const double radius = 5000, inner = radius - t, sine = reach / radius, cot = std::sqrt(1 - sine * sine) / sine;
    // Cone: slope 1/3, the edge square to it past reach - T sin(beta).
    const double k = 1.0 / 3, s = std::hypot(1.0, k);
    TCase cases[] = {
        {"dome", TVRMPolyhedron3d::CreateDomeSlab(Rect(-b, -b, b, b), {0, 0}, t / 2, -1000, radius), inner * sine,
         [&](double rho) {
             const double top = std::sqrt(radius * radius - rho * rho);
             return top - (rho <= inner * sine ? std::sqrt(inner * inner - rho * rho) : rho * cot);
         }},
        {"cone", TVRMPolyhedron3d::CreateConeSlab(Rect(-b, -b, b, b), {0, 0}, t / 2, 3000, 3000, 1000),
         reach - t * k / s, [&](double rho) { return rho <= reach - t * k / s ? t * s : (reach - rho) * (k + 1 / k); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.solid->HasFaces());
        const double volume = VolumeOverSquare(c.thickness, b, c.knee);
        EXPECT_NEAR(c.solid->GetVolume(), volume, 1e-5 * volume);
        const TVRMBox3d box = c.solid->GetBox();
        EXPECT_NEAR(box.min.x, -b, 1e-6);
        EXPECT_NEAR(box.max.y, b, 1e-6);
        const auto& data = c.solid->GetData();
        ASSERT_EQ(data.size(), 4u);
        EXPECT_EQ(data[2], data[0] + data[1]);
        EXPECT_EQ(data[2] + data[3], c.solid->GetFaceCount());
        for (int i = data[0]; i < data[0] + data[1]; ++i)
            EXPECT_GT(c.solid->GetFace(i).GetNormal().z, 0) << "top facet " << i;
        for (int i = data[2]; i < data[2] + data[3]; ++i)
            EXPECT_LT(c.solid->GetFace(i).GetNormal().z, 0) << "bottom facet " << i;
        for (int i = 0; i < data[0]; ++i)
            EXPECT_LT(std::fabs(c.solid->GetFace(i).GetNormal().z), 0.9) << "side " << i;
    }
}

TEST(DomeAndConeSlab, InvalidInputGivesAnEmptySolid)
{
    const TVRMMultiPolygon2d plan = Circle(0, 0, 3000);
    EXPECT_FALSE(TVRMPolyhedron3d::CreateDomeSlab(plan, {0, 0}, 0, 0, 5000)->HasFaces());
    EXPECT_FALSE(TVRMPolyhedron3d::CreateDomeSlab(plan, {0, 0}, 2500, 0, 5000)->HasFaces()) << "no inner sphere";
    EXPECT_FALSE(TVRMPolyhedron3d::CreateDomeSlab({}, {0, 0}, 60, 0, 5000)->HasFaces());
    EXPECT_FALSE(TVRMPolyhedron3d::CreateConeSlab(plan, {0, 0}, 60, 0, 0, 1000)->HasFaces()) << "no radius";
    EXPECT_FALSE(TVRMPolyhedron3d::CreateConeSlab({}, {0, 0}, 60, 0, 3000, 1000)->HasFaces());
    // Slope 30: the edge square to the cone would reach 1000 * 30 / sqrt(901) ~ 999.4 in.
    EXPECT_FALSE(TVRMPolyhedron3d::CreateConeSlab(Circle(0, 0, 900), {0, 0}, 500, 0, 100, 3000)->HasFaces());
}

}  // namespace

namespace {

// A plan cut through the centre holds half the shell: half its volume and of each surface, up
// to what pieces of facets leave out (as over a square), and every face stays planar (the
// trim once joined facets of two latitudes across slivers of the cut into one bent face).
TEST(DomeAndConeSlab, HalfDiscThroughTheCentreHoldsHalfTheShell)
{
    const double a = 3000, radius = 5000, t = 120;
    const TRevolvedCase whole = Dome("dome", a, radius, t, -1000);
    const auto half = TVRMIntersectFunc2d::SubPolygon(Circle(0, 0, a), Rect(-4000, -4000, 0, 4000));
    const auto solid = TVRMPolyhedron3d::CreateDomeSlab(*half, {0, 0}, t / 2, -1000, radius);
    ASSERT_TRUE(solid->HasFaces());
    EXPECT_NEAR(solid->GetVolume(), whole.volume / 2, 1e-6 * whole.volume);
    const auto& data = solid->GetData();
    ASSERT_EQ(data.size(), 4u);
    EXPECT_NEAR(RunArea(*solid, data[0], data[1]), whole.top / 2, 1e-4 * whole.top);
    EXPECT_NEAR(RunArea(*solid, data[2], data[3]), whole.bottom / 2, 1e-4 * whole.top);
    for (const TVRMFace3d& face : solid->GetFaces())
        for (const auto& loop : face.GetLoops())
            for (const auto& p : loop)
                EXPECT_NEAR(face.GetPlane().GetDistance(p), 0, 1e-6) << "every face planar";
}

}  // namespace
