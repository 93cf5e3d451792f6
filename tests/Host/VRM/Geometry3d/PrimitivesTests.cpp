#include <gtest/gtest.h>

#include <limits>

#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

namespace {

TEST(Plane3dTest, IntersectCodes)
{
    const TVRMPlane3d plane({0, 0, 1}, {0, 0, 0});
    struct Case {
        TVRMPoint3d p1, p2;
        int code;
    };
    const Case cases[] = {
        {{0, 0, -1}, {0, 0, 1}, CVRMPlaneEdgeCrosses},  {{0, 0, 0}, {0, 0, 1}, CVRMPlaneEdgeFirstEnd},
        {{0, 0, 1}, {0, 0, 0}, CVRMPlaneEdgeSecondEnd}, {{0, 0, 0}, {1, 0, 0}, CVRMPlaneEdgeInPlane},
        {{0, 0, 1}, {0, 0, 2}, CVRMPlaneEdgeNone},      {{0, 0, 5e-6}, {3, 0, -5e-6}, CVRMPlaneEdgeInPlane},
    };
    for (const auto& c : cases) {
        TVRMPoint3d x{9, 9, 9};
        EXPECT_EQ(plane.Intersect(c.p1, c.p2, x), c.code);
        if (c.code == CVRMPlaneEdgeCrosses) {
            EXPECT_TRUE(x.IsEqualTo({0, 0, 0}, 1e-12));
        }
    }
}

TEST(Plane3dTest, DistanceSolveAndComparisons)
{
    const TVRMPlane3d sloped({-0.1, 0, 1}, {0, 0, 3000});
    double z = 0;
    ASSERT_TRUE(sloped.GetZ(1000, 50, z));
    EXPECT_NEAR(z, 3100, 1e-9);
    EXPECT_NEAR(sloped.GetNormal().Length(), 1, 1e-15);
    EXPECT_GT(sloped.GetDistance({0, 0, 3100}), 0);
    EXPECT_LT(sloped.GetDistance({0, 0, 2900}), 0);

    const TVRMPlane3d wall({1, 0, 0}, {5, 0, 0});
    EXPECT_FALSE(wall.GetZ(0, 0, z));
    double x = 0;
    ASSERT_TRUE(wall.GetX(7, 8, x));
    EXPECT_DOUBLE_EQ(x, 5);

    const TVRMPlane3d flat({0, 0, 1}, {0, 0, 0});
    EXPECT_TRUE(flat.IsSuperposition(TVRMPlane3d({0, 0, -1}, {10, 10, 5e-6})));
    EXPECT_FALSE(flat.IsSuperposition(TVRMPlane3d({0, 0, 1}, {0, 0, 2e-5})));
    EXPECT_TRUE(flat.IsParallelism(TVRMPlane3d({0, 0, -1}, {0, 0, 7})));
    EXPECT_FALSE(flat.IsSamePlane(TVRMPlane3d({0, 0, -1}, {0, 0, 0})));
    EXPECT_TRUE(flat.IsSamePlane(TVRMPlane3d({0, 0, 2}, {4, 0, 0})));
    EXPECT_EQ(TVRMPlane3d({0, 0, 0}, {1, 2, 3}).GetNormal(), (TVRMVector3d{0, 0, 1}));
}

TEST(Box3dTest, MeetingAndOpenBoxes)
{
    const TVRMBox3d unit({0, 0, 0}, {1, 1, 1});
    EXPECT_TRUE(unit.Meets({{1, 0, 0}, {2, 1, 1}}));
    EXPECT_FALSE(unit.Meets({{1.002, 0, 0}, {2, 1, 1}}));
    EXPECT_FALSE(unit.Meets(TVRMBox3d()));
    EXPECT_TRUE(TVRMBox3d::Open().IsOpen());
    EXPECT_FALSE(unit.IsOpen());
    EXPECT_TRUE(TVRMBox3d::Open().Meets(unit));
    // Open in height only (a plan query), and open by infinite bounds.
    const TVRMBox3d column({0, 0, -2147483647.0}, {1, 1, 2147483647.0});
    EXPECT_TRUE(column.IsOpen());
    EXPECT_TRUE(column.Meets({{0.5, 0.5, 1e9}, {2, 2, 1e9 + 1}}));
    EXPECT_FALSE(column.Meets({{3, 0, 0}, {4, 1, 1}}));
    const double inf = std::numeric_limits<double>::infinity();
    const TVRMBox3d row({-inf, 0, 0}, {inf, 1, 1});
    EXPECT_TRUE(row.IsOpen());
    EXPECT_TRUE(row.Meets({{-1e12, 0, 0}, {-1e12 + 1, 1, 1}}));
    EXPECT_FALSE(row.Meets({{0, 2, 0}, {1, 3, 1}}));
    TVRMBox3d grown;
    EXPECT_FALSE(grown.IsValid());
    grown.Extend({1, 2, 3});
    grown.Extend({-1, 5, 0});
    EXPECT_EQ(grown.min, (TVRMPoint3d{-1, 2, 0}));
    EXPECT_EQ(grown.max, (TVRMPoint3d{1, 5, 3}));
}

TEST(Point3dTest, VectorOperations)
{
    const TVRMVector3d x{1, 0, 0}, y{0, 2, 0};
    EXPECT_EQ(x.CrossProduct(y), (TVRMVector3d{0, 0, 2}));
    EXPECT_NEAR(x.AngleBetween(y), CVRMPi / 2, 1e-15);
    EXPECT_TRUE(x.IsParallel({-3, 0, 0}));
    EXPECT_FALSE(x.IsParallel({0, 0, 0}));
    EXPECT_TRUE(TVRMVector3d(0, 0, 0).Unit().IsZeroVector(0));
    EXPECT_TRUE(TVRMPoint3d(1, 1, 1).IsEqualTo({1.0005, 1, 1}));
}

}  // namespace
