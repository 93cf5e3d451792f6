#include <gtest/gtest.h>

#include "Geometry3dTestUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

struct CutCase {
    const char* name;
    TVRMPlane3d plane;
    double first, second;
};

void ExpectCut(const TVRMPolyhedron3d& solid, const CutCase& c)
{
    SCOPED_TRACE(c.name);
    const double before = solid.GetVolume();
    std::unique_ptr<TVRMPolyhedron3d> second;
    auto first = solid.Cut(c.plane, second);
    ASSERT_TRUE(first && second);
    EXPECT_NEAR(first->GetVolume(), c.first, 1e-9 * before);
    EXPECT_NEAR(second->GetVolume(), c.second, 1e-9 * before);
    EXPECT_EQ(first->HasFaces(), c.first > 0);
    EXPECT_EQ(second->HasFaces(), c.second > 0);
    EXPECT_DOUBLE_EQ(solid.GetVolume(), before);  // input unchanged
    // Every part lies on its side of the plane.
    for (const auto& p : first->GetVertices())
        EXPECT_LE(c.plane.GetDistance(p), CVRMPlaneEpsilon);
    for (const auto& p : second->GetVertices())
        EXPECT_GE(c.plane.GetDistance(p), -CVRMPlaneEpsilon);
}

TEST(Cut3dTest, BoxSidesFollowThePlaneNormal)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    const CutCase cases[] = {
        {"z=400 up", TVRMPlane3d({0, 0, 1}, {0, 0, 400}), 4e8, 6e8},
        {"z=500 down", TVRMPlane3d({0, 0, -1}, {0, 0, 500}), 5e8, 5e8},
        {"z=400 down", TVRMPlane3d({0, 0, -1}, {0, 0, 400}), 6e8, 4e8},
        {"along the top face", TVRMPlane3d({0, 0, 1}, {0, 0, 1000}), 1e9, 0},
        {"along the bottom face", TVRMPlane3d({0, 0, 1}, {0, 0, 0}), 0, 1e9},
        {"within PL of the top", TVRMPlane3d({0, 0, 1}, {0, 0, 1000 - 5e-6}), 1e9, 0},
        {"outside", TVRMPlane3d({0, 0, 1}, {0, 0, 2000}), 1e9, 0},
        {"diagonal through two edges", TVRMPlane3d({1, 1, 0}, {1000, 0, 0}), 5e8, 5e8},
        {"through one vertex", TVRMPlane3d({1, 1, 1}, {1000, 0, 0}), 1e9 / 6, 1e9 - 1e9 / 6},
    };
    for (const auto& c : cases)
        ExpectCut(*box, c);
}

TEST(Cut3dTest, CutFaceOrderAndCaps)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    std::unique_ptr<TVRMPolyhedron3d> upper;
    auto lower = box->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 400}), upper);
    // Sides keep their order and tags; the cap closes the part last.
    ASSERT_EQ(lower->GetFaceCount(), 6);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lower->GetFace(i).GetTag(), i);
    EXPECT_EQ(lower->GetFace(5).GetNormal(), (TVRMVector3d{0, 0, 1}));
    EXPECT_DOUBLE_EQ(lower->GetFace(5).GetArea(), 1e6);
    EXPECT_EQ(upper->GetFace(5).GetNormal(), (TVRMVector3d{0, 0, -1}));
    EXPECT_DOUBLE_EQ(lower->GetFace(0).GetArea(), 4e5);
}

TEST(Cut3dTest, NonConvexSolidsWithHoles)
{
    // Square ring with a hole, cut through the hole and at the notch level of an L step.
    auto holed = Prism({{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}, {{400, 400}, {400, 600}, {600, 600}, {600, 400}}},
                       0, 1000);
    const double half = (500000.0 - 200.0 * 100.0) * 1000;
    ExpectCut(*holed, {"through the hole", TVRMPlane3d({1, 0, 0}, {500, 0, 0}), half, half});
    ExpectCut(*holed, {"along the hole's side", TVRMPlane3d({1, 0, 0}, {400, 0, 0}), 4e8, 6e8 - 4e7});
    ExpectCut(*holed, {"level", TVRMPlane3d({0, 0, 1}, {0, 0, 250}), 0.25 * 9.6e8, 0.75 * 9.6e8});

    // U in elevation: two legs under a bar, cut below the bar into two separate legs.
    std::vector<TVRMLoop3d> u{{{0, 0, 0},
                               {300, 0, 0},
                               {300, 0, 700},
                               {700, 0, 700},
                               {700, 0, 0},
                               {1000, 0, 0},
                               {1000, 0, 1000},
                               {0, 0, 1000}}};
    auto arch = TVRMPolyhedron3d::CreateExtrusion(u, {0, -1, 0}, {0, 200, 0}, false);
    const double total = (1e6 - 400.0 * 700) * 200;
    ASSERT_NEAR(arch->GetVolume(), total, 1e-6);
    ExpectCut(*arch,
              {"legs", TVRMPlane3d({0, 0, 1}, {0, 0, 350}), 2 * 300 * 350 * 200.0, total - 2 * 300 * 350 * 200.0});
    ExpectCut(*arch, {"at the soffit", TVRMPlane3d({0, 0, 1}, {0, 0, 700}), 2 * 300 * 700 * 200.0, 1000 * 300 * 200.0});
    std::unique_ptr<TVRMPolyhedron3d> top;
    auto legs = arch->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 350}), top);
    EXPECT_EQ(legs->DivideUp().size(), 2u);
    // The soffit lies in the plane: the bar's bottom face stays with the upper part.
    legs = arch->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 700}), top);
    EXPECT_EQ(top->GetFaceCount(), 6);
}

TEST(Cut3dTest, StepFaceInThePlane)
{
    // L step in elevation: a low block with a tower; the plane runs along the step's top.
    std::vector<TVRMLoop3d> l{
        {{0, 0, 0}, {2000, 0, 0}, {2000, 0, 1000}, {1000, 0, 1000}, {1000, 0, 2000}, {0, 0, 2000}}};
    auto step = TVRMPolyhedron3d::CreateExtrusion(l, {0, -1, 0}, {0, 1000, 0}, false);
    ExpectCut(*step, {"step level", TVRMPlane3d({0, 0, 1}, {0, 0, 1000}), 2e9, 1e9});
    ExpectCut(*step, {"step level, reversed", TVRMPlane3d({0, 0, -1}, {0, 0, 1000}), 1e9, 2e9});
    std::unique_ptr<TVRMPolyhedron3d> tower;
    auto low = step->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 1000}), tower);
    EXPECT_EQ(low->GetFaceCount(), 6);
    EXPECT_EQ(tower->GetFaceCount(), 6);
}

TEST(Cut3dTest, BooleanResultsCutCleanly)
{
    // Wall with two windows (900..2400 high), built by each engine, cut through and along the openings.
    for (TVRMBooleanPath path : {TVRMBooleanPath::Prism, TVRMBooleanPath::General}) {
        TVRMPolyhedron3d wall = *Box(0, 0, 0, 6000, 200, 3000);
        for (double x : {1000.0, 3500.0})
            ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(wall, *Box(x, 0, 900, x + 1000, 200, 2400),
                                                                   CVRMBoolSubtract, path));
        const double total = 6000 * 200 * 3000.0 - 2 * 1000 * 200 * 1500.0;
        ASSERT_NEAR(wall.GetVolume(), total, 1e-6);
        const double perHeight = 6000 * 200.0, inOpenings = 4000 * 200.0;
        const CutCase cases[] = {
            {"through the openings", TVRMPlane3d({0, 0, 1}, {0, 0, 1500}), 900 * perHeight + 600 * inOpenings,
             total - 900 * perHeight - 600 * inOpenings},
            {"at the sills", TVRMPlane3d({0, 0, 1}, {0, 0, 900}), 900 * perHeight, total - 900 * perHeight},
            {"along a jamb", TVRMPlane3d({1, 0, 0}, {1000, 0, 0}), 1000 * 200 * 3000.0, total - 1000 * 200 * 3000.0},
            {"through an opening", TVRMPlane3d({-1, 0, 0}, {1500, 0, 0}),
             total - (1500 * 200 * 3000.0 - 500 * 200 * 1500.0), 1500 * 200 * 3000.0 - 500 * 200 * 1500.0},
        };
        for (const auto& c : cases)
            ExpectCut(wall, c);
    }
}

}  // namespace
