// Arched slab solids: a cylindrical shell under its top surface, exact over a
// plan that is a rectangle along the axis, with the top and bottom facet runs
// recorded in the solid's data; invalid input gives an empty solid.
#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
