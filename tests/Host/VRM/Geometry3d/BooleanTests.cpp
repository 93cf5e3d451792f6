#include <gtest/gtest.h>

#include <cmath>

#include "Geometry3dTestUtils.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

using Path = TVRMBooleanPath;

// Runs a chain of operations on both engines; both must give the expected volume.
struct Step {
    std::unique_ptr<TVRMPolyhedron3d> other;
    int kind;
};

void ExpectChain(const char* name, const TVRMPolyhedron3d& subject, const std::vector<Step>& steps, double volume,
                 bool prismPath = true)
{
    SCOPED_TRACE(name);
    for (Path path : {Path::Auto, Path::Prism, Path::General}) {
        if (path == Path::Prism && !prismPath)
            continue;
        SCOPED_TRACE(static_cast<int>(path));
        TVRMPolyhedron3d a = subject;
        for (const auto& s : steps)
            ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *s.other, s.kind, path));
        EXPECT_NEAR(a.GetVolume(), volume, 1e-9 * std::max(1.0, subject.GetVolume()));
        EXPECT_EQ(a.HasFaces(), volume > 0);
    }
}

std::vector<Step> One(std::unique_ptr<TVRMPolyhedron3d> other, int kind)
{
    std::vector<Step> steps;
    steps.push_back({std::move(other), kind});
    return steps;
}

TEST(Boolean3dTest, TouchingCoplanarAndNestedBoxes)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    ExpectChain("minus a box sharing a face", *box, One(Box(1000, 0, 0, 2000, 1000, 1000), CVRMBoolSubtract), 1e9);
    ExpectChain("minus a box sharing part of a face", *box, One(Box(0, 0, 500, 1000, 1000, 1500), CVRMBoolSubtract),
                5e8);
    ExpectChain("minus a nested box", *box, One(Box(250, 250, 250, 750, 750, 750), CVRMBoolSubtract), 1e9 - 1.25e8);
    ExpectChain("minus a flush notch", *box, One(Box(0, 0, 0, 500, 1000, 500), CVRMBoolSubtract), 7.5e8);
    ExpectChain("minus itself", *box, One(Box(0, 0, 0, 1000, 1000, 1000), CVRMBoolSubtract), 0);
    ExpectChain("minus a cover", *box, One(Box(-10, -10, -10, 1010, 1010, 1010), CVRMBoolSubtract), 0);
    ExpectChain("with a box on top", *box, One(Box(0, 0, 1000, 1000, 1000, 2000), CVRMBoolUnion), 2e9);
    ExpectChain("with an offset box", *box, One(Box(500, 500, 500, 1500, 1500, 1500), CVRMBoolUnion), 2e9 - 1.25e8);
    ExpectChain("common part", *box, One(Box(500, 500, 500, 1500, 1500, 1500), CVRMBoolIntersect), 1.25e8);
    ExpectChain("common part of touching boxes", *box, One(Box(1000, 0, 0, 2000, 1000, 1000), CVRMBoolIntersect), 0);
    ExpectChain("apart", *box, One(Box(2000, 0, 0, 3000, 1000, 1000), CVRMBoolSubtract), 1e9);
}

TEST(Boolean3dTest, BothEnginesAgreeOnShiftedBoxes)
{
    // B = A shifted by whole and half sizes: apart, touching, overlapping, coplanar, equal.
    auto a = Box(0, 0, 0, 1000, 1000, 1000);
    auto overlap = [](double lo, double hi) { return std::max(0.0, std::min(1000.0, hi) - std::max(0.0, lo)); };
    for (double dx : {-1000.0, -500.0, 0.0, 500.0, 1000.0})
        for (double dz : {-1000.0, -500.0, 0.0, 500.0}) {
            auto b = Box(dx, 250, dz, dx + 1000, 750, dz + 1000);
            const double common = overlap(dx, dx + 1000) * 500 * overlap(dz, dz + 1000);
            const double expected[] = {common, 1e9 + 5e8 - common, 1e9 - common};
            for (int kind : {CVRMBoolIntersect, CVRMBoolUnion, CVRMBoolSubtract})
                for (Path path : {Path::Prism, Path::General}) {
                    SCOPED_TRACE(testing::Message()
                                 << dx << " " << dz << " kind " << kind << " path " << static_cast<int>(path));
                    TVRMPolyhedron3d r = *a;
                    ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(r, *b, kind, path));
                    EXPECT_NEAR(r.GetVolume(), expected[kind], 1e-6);
                }
        }
}

TEST(Boolean3dTest, ElementDeductionChains)
{
    // Beam 300 x 600 under a slab whose top is flush with the beam's, then a column through both.
    auto beam = Box(0, 0, 2400, 6000, 300, 3000);
    std::vector<Step> steps;
    steps.push_back({Box(-1000, -2000, 2880, 7000, 2000, 3000), CVRMBoolSubtract});
    steps.push_back({Box(-200, -200, 0, 400, 500, 3000), CVRMBoolSubtract});
    ExpectChain("beam - slab - column", *beam, steps, (6000 - 400) * 300 * 480.0);

    // Wall 200 thick, 3000 high, minus five windows 900 x 1500 from 900, exactly wall-thick.
    auto wall = Box(0, 0, 0, 10000, 200, 3000);
    std::vector<Step> windows;
    for (int i = 0; i < 5; ++i)
        windows.push_back({Box(500 + 1900.0 * i, 0, 900, 1400 + 1900.0 * i, 200, 2400), CVRMBoolSubtract});
    ExpectChain("wall - five windows", *wall, windows, 10000 * 200 * 3000.0 - 5 * 900 * 200 * 1500.0);

    // L-shaped slab minus a column notch at its corner.
    auto l = Prism({{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, 2000}, {0, 2000}}}, 2880, 3000);
    ExpectChain("L slab - column", *l, One(Box(900, 900, 0, 1100, 1100, 3000), CVRMBoolSubtract),
                (3e6 - 30000) * 120.0);
}

TEST(Boolean3dTest, PlansAlongTheAxesAndOthers)
{
    // Plans of the prism path: holes, rings meeting at a corner, slanted edges.
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    auto ring = Prism({{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}, {{250, 250}, {250, 750}, {750, 750}, {750, 250}}},
                      0, 1000);
    auto l = Prism({{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, 2000}, {0, 2000}}}, 0, 1000);
    auto triangle = Prism({{{0, 0}, {1000, 0}, {0, 1000}}}, 0, 1000);
    struct Case {
        const char* name;
        const TVRMPolyhedron3d& subject;
        std::unique_ptr<TVRMPolyhedron3d> other;
        int kind;
        double volume;
    };
    Case cases[] = {
        {"a column inside leaves a hole", *box, Box(400, 400, -100, 600, 600, 1100), CVRMBoolSubtract, 9.6e8},
        {"union of boxes meeting at a corner", *box, Box(1000, 1000, 0, 2000, 2000, 1000), CVRMBoolUnion, 2e9},
        {"union along part of an edge", *box, Box(1000, 0, 0, 2000, 500, 1000), CVRMBoolUnion, 1.5e9},
        {"a bar across a hole", *ring, Box(0, 450, 0, 1000, 550, 1000), CVRMBoolSubtract, 7e8},
        {"common part at a reflex corner", *l, Box(500, 500, 0, 1500, 1500, 1000), CVRMBoolIntersect, 7.5e8},
        {"a slanted edge", *triangle, Box(0, 0, 0, 400, 400, 1000), CVRMBoolSubtract, 3.4e8},
    };
    for (auto& c : cases)
        ExpectChain(c.name, c.subject, One(std::move(c.other), c.kind), c.volume);
}

TEST(Boolean3dTest, GeneralSolidsUseCorefinement)
{
    // A sloped solid (wedge) is not a prism: only the general path applies.
    const TVRMLoop3d bottom{{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}};
    const TVRMLoop3d top{{0, 0, 1000}, {1000, 0, 2000}, {1000, 1000, 2000}, {0, 1000, 1000}};
    auto wedge = TVRMPolyhedron3d::CreateLoft(bottom, top);
    ASSERT_DOUBLE_EQ(wedge->GetVolume(), 1.5e9);
    TVRMPolyhedron3d a = *wedge;
    EXPECT_FALSE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *Box(0, 0, 0, 500, 1000, 500), 2, Path::Prism));
    EXPECT_DOUBLE_EQ(a.GetVolume(), 1.5e9);
    ExpectChain("wedge - block", *wedge, One(Box(0, 0, 1000, 500, 1000, 3000), CVRMBoolSubtract), 1.5e9 - 1.25e8,
                false);
}

TEST(Boolean3dTest, ResultKeepsSubjectFaceOrderAndTags)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    for (Path path : {Path::Prism, Path::General}) {
        TVRMPolyhedron3d a = *box;
        a.SetData({7});
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *Box(400, -100, -100, 600, 1100, 1100), 2, path));
        ASSERT_GE(a.GetFaceCount(), 7);
        // Pieces of the subject's faces first, in its order and with its tags; B's faces last with -1.
        int last = -1;
        for (const auto& f : a.GetFaces()) {
            if (f.GetTag() < 0) {
                last = 100;
                continue;
            }
            EXPECT_LT(last, 100);
            EXPECT_GE(f.GetTag(), last);
            last = f.GetTag();
        }
        EXPECT_EQ(a.GetData(), std::vector<int32_t>{7});
        EXPECT_EQ(a.DivideUp().size(), 2u);
    }
}

TEST(Boolean3dTest, PositionOfTwoSolids)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    EXPECT_EQ(Position(*box, *Box(500, 0, 0, 1500, 1000, 1000)), 1);
    EXPECT_EQ(Position(*box, *Box(1000, 0, 0, 2000, 1000, 1000)), 2);
    EXPECT_EQ(Position(*box, *Box(1100, 0, 0, 2000, 1000, 1000)), 0);
    EXPECT_EQ(Position(*box, *Box(100, 100, 100, 200, 200, 200)), 1);
}

}  // namespace

namespace {

TEST(Boolean3dTest, EndFacesAreMergedAndLocatedAfterADeduction)
{
    // Wall along +x (sides y = +-100) minus a column straddling its start: the start face splits in two.
    const TVRMCustomLine2d left({0, 100}, {5000, 100}), right({0, -100}, {5000, -100});
    TVRMPolyhedron3d wall = *Box(0, -100, 0, 5000, 100, 3000);
    ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(wall, *Box(-200, -50, 1000, 200, 50, 2000), 2));
    ASSERT_TRUE(wall.LocateEndFaces(left, right));
    const int n = wall.GetFaceCount();
    EXPECT_TRUE(wall.GetFace(n - 2).GetNormal().IsEqualTo({-1, 0, 0}, 1e-12));
    EXPECT_TRUE(wall.GetFace(n - 1).GetNormal().IsEqualTo({1, 0, 0}, 1e-12));
    EXPECT_DOUBLE_EQ(wall.GetFace(n - 2).GetArea(), 200 * 3000.0 - 100 * 1000.0);
    EXPECT_DOUBLE_EQ(wall.GetFace(n - 1).GetArea(), 200 * 3000.0);
    EXPECT_EQ(wall.MergeFace(left, right, true), n - 2);
    EXPECT_FALSE(wall.LocateEndFaces(TVRMCustomLine2d({100, 100}, {5000, 100}), right));

    TVRMEdgeIterator edges(wall.GetFace(n - 1));
    TVRMPoint3d p, q;
    int count = 0;
    double length = 0;
    while (edges.Next(p, q)) {
        ++count;
        length += p.DistanceTo(q);
    }
    EXPECT_EQ(count, 4);
    EXPECT_DOUBLE_EQ(length, 2 * (200 + 3000.0));
}

}  // namespace

namespace {

TEST(Boolean3dTest, InputsTheEnginesCannotTakeFailSoftly)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    // An open solid (top face missing) and a solid of two overlapping boxes' faces.
    TVRMPolyhedron3d open = *box;
    open.DeleteFace(4);
    TVRMPolyhedron3d overlapping = *box;
    auto other = Box(500, 500, 500, 1500, 1500, 1500);
    for (const auto& f : other->GetFaces())
        overlapping.AddFace(f);
    for (const TVRMPolyhedron3d* bad : {&open, &overlapping}) {
        TVRMPolyhedron3d a = *Box(200, 200, 200, 1200, 1200, 700);
        const double before = a.GetVolume();
        EXPECT_FALSE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *bad, CVRMBoolSubtract, Path::General));
        EXPECT_DOUBLE_EQ(a.GetVolume(), before);
    }
    // Empty operands.
    TVRMPolyhedron3d empty;
    TVRMPolyhedron3d a = *box;
    EXPECT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, empty, CVRMBoolSubtract));
    EXPECT_DOUBLE_EQ(a.GetVolume(), 1e9);
    EXPECT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, empty, CVRMBoolIntersect));
    EXPECT_FALSE(a.HasFaces());
    EXPECT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(empty, *box, CVRMBoolUnion));
    EXPECT_DOUBLE_EQ(empty.GetVolume(), 1e9);
    std::unique_ptr<TVRMPolyhedron3d> second;
    auto first = TVRMPolyhedron3d().Cut(TVRMPlane3d(), second);
    EXPECT_FALSE(first->HasFaces() || second->HasFaces());
}

TEST(Boolean3dTest, RoundColumnsKeepTheirAnalyticVolume)
{
    // A round column (radius 300, faceted every 5 degrees) under a slab, through a slab and
    // under a beam whose sides pass through facet corners (at 30 degrees): the cuts run
    // through facet corners, and every piece of a facet spans its whole width.
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d::CreateCircle({0, 0}, 300));
    auto column = TVRMPolyhedron3d::CreatePrism(plan, 0, 3000);
    const double area = CVRMPi * 300 * 300;
    const double strip = 2 * 150 * std::sqrt(300.0 * 300 - 150 * 150) + 300.0 * 300 * CVRMPi / 3;  // |y| <= 150
    struct Case {
        const char* name;
        std::unique_ptr<TVRMPolyhedron3d> other;
        double volume;
    };
    Case cases[] = {
        {"minus the slab on top", Box(-5000, -5000, 2880, 5000, 5000, 3000), area * 2880},
        {"minus a slab through", Box(-5000, -5000, 1000, 5000, 5000, 1200), area * 2800},
        {"minus a beam across", Box(-5000, -150, 2400, 5000, 150, 3000), area * 3000 - strip * 600},
    };
    for (auto& c : cases)
        ExpectChain(c.name, *column, One(std::move(c.other), CVRMBoolSubtract), c.volume);
}

}  // namespace
