#include <gtest/gtest.h>

#include "Geometry3dTestUtils.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// One face: the square z = 0, x, y in [0, 1000], normal +z.
TVRMPolyhedronShell3d SquareShell()
{
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}));
    return shell;
}

struct KindCase {
    const char* name;
    TVRMBox3d solid;
    double removed[4];  // by superposition bit value 0..3
    double kept[3];     // intersection, by bit value 0..2; < 0: not checked
};

const KindCase kCases[] = {
    {"crosses the interior", {{200, 200, -100}, {400, 400, 100}}, {4e4, 4e4, 4e4, 4e4}, {4e4, 4e4, 4e4}},
    {"flush below", {{0, 0, -100}, {500, 1000, 0}}, {0, 0, 5e5, 5e5}, {0, 0, 5e5}},
    {"contact above", {{0, 0, 0}, {500, 1000, 100}}, {0, 5e5, 0, 5e5}, {0, 5e5, 0}},
    {"edge contact only", {{1000, 0, -100}, {1200, 1000, 100}}, {0, 0, 0, 0}, {0, 0, 0}},
    {"partial", {{800, 800, -100}, {1200, 1200, 100}}, {4e4, 4e4, 4e4, 4e4}, {4e4, 4e4, 4e4}},
    {"flush within PL", {{0, 0, -100}, {500, 1000, 1e-6}}, {0, 0, 5e5, 5e5}, {-1, -1, -1}},
    {"beyond PL: interior", {{0, 0, -100}, {500, 1000, 1e-4}}, {5e5, 5e5, 5e5, 5e5}, {-1, -1, -1}},
};

TEST(Shell3dTest, SuperpositionKindsOfSubtractAndIntersect)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        auto solid = TVRMPolyhedron3d::CreateBox(c.solid);
        for (int kinds = 0; kinds < 4; ++kinds) {
            SCOPED_TRACE(kinds);
            TVRMPolyhedronShell3d shell = SquareShell();
            EXPECT_NEAR(shell.Subtract(*solid, kinds), c.removed[kinds], 1e-6);
            EXPECT_NEAR(shell.GetArea(), 1e6 - c.removed[kinds], 1e-6);
            // Removing the same solid again removes nothing.
            EXPECT_NEAR(shell.Subtract(*solid, kinds), 0, 1e-6);
            if (kinds < 3 && c.kept[kinds] >= 0) {
                TVRMPolyhedronShell3d inside = SquareShell();
                ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(inside, *solid, CVRMBoolIntersect, kinds));
                EXPECT_NEAR(inside.GetArea(), c.kept[kinds], 1e-6);
            }
        }
    }
    // The partial overlap leaves one L-shaped face.
    TVRMPolyhedronShell3d shell = SquareShell();
    shell.Subtract(*TVRMPolyhedron3d::CreateBox(kCases[4].solid), CVRMSuperpositionBoth);
    ASSERT_EQ(shell.GetFaceCount(), 1);
    EXPECT_EQ(shell.GetFace(0).GetLoopCount(), 1);
    EXPECT_EQ(shell.GetFace(0).GetLoop(0).size(), 6u);
    EXPECT_DOUBLE_EQ(shell.GetArea(), 960000);
    EXPECT_EQ(shell.GetFace(0).GetNormal(), (TVRMVector3d{0, 0, 1}));
}

TEST(Shell3dTest, FacesFromSolidsAndPlanLines)
{
    auto box = Box(0, 0, 0, 1000, 1000, 3000);
    TVRMPolyhedronShell3d sides(*box, std::vector<int>{0, 1, 2, 3});
    EXPECT_DOUBLE_EQ(sides.GetArea(), 4 * 3e6);
    EXPECT_EQ(sides.GetFace(2).GetTag(), 2);
    // A column against the side x = 1000 takes the strip it covers (contact: kind set 1).
    auto column = Box(1000, 400, 0, 1400, 800, 3000);
    EXPECT_NEAR(sides.Subtract(*column, CVRMSuperpositionContact), 400 * 3000.0, 1e-6);
    EXPECT_NEAR(sides.Subtract(*column, CVRMSuperpositionFlush), 0, 1e-6);

    TVRMPolyhedronShell3d wall;
    wall.AddFace(TVRMCustomLine2d({0, 0}, {5000, 0}), true, 0, 3000, 0, 3000);
    wall.AddFace(TVRMCustomLine2d({0, 0}, {5000, 0}), false, 0, 3000, 0, 2000);
    ASSERT_EQ(wall.GetFaceCount(), 2);
    EXPECT_TRUE(wall.GetFace(0).GetNormal().IsEqualTo({0, 1, 0}, 1e-15));
    EXPECT_TRUE(wall.GetFace(1).GetNormal().IsEqualTo({0, -1, 0}, 1e-15));
    EXPECT_DOUBLE_EQ(wall.GetArea(), 1.5e7 + 1.25e7);

    // Quarter arc of radius 1000: the curved face keeps its analytic area.
    TVRMPolyhedronShell3d curved;
    curved.AddFace(TVRMCustomLine2d({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW), false, 0, 3000, 0, 3000);
    EXPECT_GT(curved.GetFaceCount(), 1);
    EXPECT_NEAR(curved.GetArea(), 1000 * CVRMPi / 2 * 3000, 1e-9 * 4.7e6);

    TVRMMultiPolygon2d square;
    square.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}));
    TVRMPolyhedronShell3d around;
    around.AddFace(square, 0, 3000, false);
    ASSERT_EQ(around.GetFaceCount(), 4);
    EXPECT_TRUE(around.GetFace(0).GetNormal().IsEqualTo({0, -1, 0}, 1e-15));
    around.Negate();
    EXPECT_TRUE(around.GetFace(0).GetNormal().IsEqualTo({0, 1, 0}, 1e-15));
}

TEST(Shell3dTest, CutSidesAndFacesInThePlane)
{
    TVRMPolyhedronShell3d wall;
    wall.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {1000, 0, 1000}, {0, 0, 1000}}));
    std::unique_ptr<TVRMPolyhedronShell3d> upper;
    auto lower = wall.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 300}), upper);
    EXPECT_DOUBLE_EQ(lower->GetArea(), 300000);
    EXPECT_DOUBLE_EQ(upper->GetArea(), 700000);

    for (double nz : {1.0, -1.0}) {
        TVRMPolyhedronShell3d level;
        TVRMFace3d face = TVRMFace3d::FromLoop({{0, 0, 500}, {1000, 0, 500}, {1000, 1000, 500}, {0, 1000, 500}});
        level.AddFace(face, nz < 0);
        auto first = level.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 500}), upper);
        EXPECT_EQ(first->GetFaceCount(), nz > 0 ? 1 : 0);
        EXPECT_EQ(upper->GetFaceCount(), nz > 0 ? 0 : 1);
    }
}

TEST(Shell3dTest, SimpleFaceJoinsCoplanarNeighbours)
{
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {400, 0, 0}, {400, 1000, 0}, {0, 1000, 0}}));
    shell.AddFace(TVRMFace3d::FromLoop({{400, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {400, 1000, 0}}));
    shell.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {0, 0, 100}, {1000, 0, 100}, {1000, 0, 0}}));
    shell.SimpleFace();
    ASSERT_EQ(shell.GetFaceCount(), 2);
    EXPECT_DOUBLE_EQ(shell.GetArea(), 1e6 + 1e5);
}

TEST(Shell3dTest, CutBetweenTwoLinesKeepsTheRegion)
{
    // A wall face along y = 0 (x 0..5000, z 0..3000, normal -y) kept between two lines
    // running from x = 1000 to 3000: inside the region, and on its side y = 0 (whose
    // outward normal +y meets the face: a contact piece, kept when kind 0 is chosen).
    struct Case {
        const char* name;
        TVRMCustomLine2d left, right;
        double kept[4];  // by superposition bit value 0..3
    };
    const Case cases[] = {
        {"face across the region", {{1000, 100}, {3000, 100}}, {{1000, -100}, {3000, -100}}, {6e6, 6e6, 6e6, 6e6}},
        {"face on the region's side", {{1000, 0}, {3000, 0}}, {{1000, -200}, {3000, -200}}, {0, 6e6, 0, 6e6}},
        {"face outside", {{1000, 300}, {3000, 300}}, {{1000, 100}, {3000, 100}}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int kinds = 0; kinds < 4; ++kinds) {
            TVRMPolyhedronShell3d wall;
            wall.AddFace(TVRMCustomLine2d({0, 0}, {5000, 0}), false, 0, 3000, 0, 3000);
            ASSERT_TRUE(TVRMNewPolyBooleanOperator::Cut(wall, c.left, c.right, kinds));
            EXPECT_NEAR(wall.GetArea(), c.kept[kinds], 1e-6) << kinds;
        }
    }
}

}  // namespace
