#include <gtest/gtest.h>

#include "Geometry3dTestUtils.h"

namespace {

using Ring = std::vector<std::pair<double, double>>;
const Ring kLShape{{0, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {1000, 2000}, {0, 2000}};

TEST(Polyhedron3dTest, BoxFaceOrderAndMeasures)
{
    auto box = Box(0, 0, 0, 1000, 1000, 3000);
    ASSERT_EQ(box->GetFaceCount(), 6);
    const TVRMVector3d normals[] = {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(box->GetFace(i).GetNormal().IsEqualTo(normals[i], 1e-15)) << i;
        EXPECT_EQ(box->GetFace(i).GetTag(), i);
        EXPECT_TRUE(box->GetFace(i).IsRectangle());
    }
    EXPECT_DOUBLE_EQ(box->GetFace(4).GetPlane().GetBasePoint().z, 3000);
    EXPECT_DOUBLE_EQ(box->GetVolume(), 3e9);
    EXPECT_DOUBLE_EQ(box->GetFace(0).GetArea(), 3e6);
    EXPECT_DOUBLE_EQ(box->GetFace(0).GetLength(), 8000);
    EXPECT_EQ(box->GetVertexCount(), 8);
    EXPECT_TRUE(TVRMPolyhedron3d().GetVolume() == 0 && !TVRMPolyhedron3d().HasFaces());
}

TEST(Polyhedron3dTest, PrismsWithNotchesAndHoles)
{
    auto l = Prism({kLShape}, 0, 300);
    EXPECT_EQ(l->GetFaceCount(), 8);
    EXPECT_DOUBLE_EQ(l->GetVolume(), 3e6 * 300);
    EXPECT_DOUBLE_EQ(l->GetFace(6).GetArea(), 3e6);  // top n-2
    EXPECT_FALSE(l->GetFace(6).IsRectangle());

    auto holed =
        Prism({{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}, {{400, 400}, {400, 600}, {600, 600}, {600, 400}}}, 0, 100);
    EXPECT_EQ(holed->GetFaceCount(), 10);
    EXPECT_DOUBLE_EQ(holed->GetVolume(), (1e6 - 4e4) * 100);
    const TVRMFace3d& top = holed->GetFace(8);
    EXPECT_EQ(top.GetLoopCount(), 2);
    TVRMPoint3d inside;
    ASSERT_TRUE(top.GetOnePointInLoop(inside));
    EXPECT_EQ(top.VertexPosition(inside), 0);
    EXPECT_EQ(top.VertexPosition({500, 500, 100}), -1);  // in the hole
    EXPECT_EQ(top.VertexPosition({400, 500, 100}), 1);
    EXPECT_EQ(top.VertexPosition({100, 100, 101}), -1);  // off the plane
    EXPECT_EQ(holed->VertexPosition({200, 200, 50}), 0);
    EXPECT_EQ(holed->VertexPosition({500, 500, 50}), 2);
    EXPECT_EQ(holed->VertexPosition({1000, 500, 50}), 1);
    EXPECT_EQ(holed->VertexPosition({1000.0005, 500, 50}), 1);
    EXPECT_EQ(holed->VertexPosition({1200, 500, 50}), 2);
}

TEST(Polyhedron3dTest, ExtrusionCapsAndSides)
{
    // On a plane by a thickness: extruded against the plane normal, cap on the plane n-2.
    const TVRMLoop3d ring{{0, 0, 3000}, {1000, 0, 3000}, {1000, 1000, 3000}, {0, 1000, 3000}};
    auto slab = TVRMPolyhedron3d::CreateExtrusion({ring}, {0, 0, 1}, {0, 0, -120}, true);
    ASSERT_EQ(slab->GetFaceCount(), 6);
    EXPECT_DOUBLE_EQ(slab->GetVolume(), 1.2e8);
    EXPECT_EQ(slab->GetFace(4).GetNormal(), (TVRMVector3d{0, 0, 1}));
    EXPECT_DOUBLE_EQ(slab->GetFace(4).GetLoop(0)[0].z, 3000);
    EXPECT_DOUBLE_EQ(slab->GetBox().min.z, 2880);
    // Side faces still follow the ring's edges and face outward.
    EXPECT_TRUE(slab->GetFace(0).GetNormal().IsEqualTo({0, -1, 0}, 1e-15));

    // Prism on a sloped plane keeps the volume area x thickness.
    const TVRMVector3d n = TVRMVector3d{-0.1, 0, 1}.Unit();
    TVRMLoop3d sloped;
    for (auto [x, y] : Ring{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}})
        sloped.push_back({x, y, 3000 + 0.1 * x});
    auto onSlope = TVRMPolyhedron3d::CreateExtrusion({sloped}, n, n * -120, true);
    EXPECT_NEAR(onSlope->GetVolume(), 1e6 * std::sqrt(1.01) * 120, 1e-6);

    EXPECT_FALSE(TVRMPolyhedron3d::CreateExtrusion({ring}, {0, 0, 1}, {100, 0, 0}, true)->HasFaces());
}

TEST(Polyhedron3dTest, LoftKeepsTopSecondToLast)
{
    // Frustum: 1000 square bottom, 2000 square top (slopes of 500 per side), 1000 high.
    const TVRMLoop3d bottom{{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}};
    const TVRMLoop3d top{{-500, -500, 1000}, {1500, -500, 1000}, {1500, 1500, 1000}, {-500, 1500, 1000}};
    auto frustum = TVRMPolyhedron3d::CreateLoft(bottom, top);
    ASSERT_EQ(frustum->GetFaceCount(), 6);
    EXPECT_EQ(frustum->GetFace(4).GetNormal(), (TVRMVector3d{0, 0, 1}));
    EXPECT_DOUBLE_EQ(frustum->GetFace(4).GetArea(), 4e6);
    const double h = 1000, a1 = 1e6, a2 = 4e6;
    EXPECT_NEAR(frustum->GetVolume(), h / 3 * (a1 + a2 + std::sqrt(a1 * a2)), 1e-3);
}

TEST(Polyhedron3dTest, CloneKeepsOrderAndData)
{
    auto l = Prism({kLShape}, 0, 300);
    l->SetData({1, 2, 3});
    l->ExchangeFace(0, 6);
    auto copy = l->Clone();
    ASSERT_EQ(copy->GetFaceCount(), l->GetFaceCount());
    for (int i = 0; i < l->GetFaceCount(); ++i)
        EXPECT_EQ(copy->GetFace(i).GetTag(), l->GetFace(i).GetTag());
    EXPECT_EQ(copy->GetFace(0).GetTag(), 6);
    EXPECT_EQ(copy->GetData(), (std::vector<int32_t>{1, 2, 3}));
    copy->Move({0, 0, 100});
    EXPECT_DOUBLE_EQ(copy->GetBox().min.z, 100);
    EXPECT_DOUBLE_EQ(l->GetBox().min.z, 0);
    copy->Negate();
    EXPECT_DOUBLE_EQ(copy->GetVolume(), -l->GetVolume());
}

TEST(Polyhedron3dTest, IntersectantCountsTouching)
{
    auto a = Box(0, 0, 0, 1000, 1000, 1000);
    struct Case {
        TVRMBox3d b;
        bool meets;
    };
    const Case cases[] = {
        {{{500, 500, 500}, {1500, 1500, 1500}}, true},     // overlap
        {{{1000, 0, 0}, {2000, 1000, 1000}}, true},        // shared face
        {{{1000, 1000, 1000}, {2000, 2000, 2000}}, true},  // shared vertex
        {{{1001, 0, 0}, {2000, 1000, 1000}}, false},       // apart
        {{{200, 200, 200}, {300, 300, 300}}, true},        // nested
        {{{-100, 400, 1000}, {1100, 600, 1100}}, true},    // crossing edges on a shared plane
    };
    for (const auto& c : cases) {
        auto b = TVRMPolyhedron3d::CreateBox(c.b);
        EXPECT_EQ(IsIntersectant(*a, *b), c.meets) << c.b.min.x << "," << c.b.min.z;
        EXPECT_EQ(IsIntersectant(*b, *a), c.meets);
    }
    // Crossed bars touching along a square where neither has a vertex inside the other.
    auto bar1 = Box(0, 1000, 0, 3000, 2000, 1000);
    auto bar2 = Box(1000, 0, 1000, 2000, 3000, 2000);
    EXPECT_TRUE(IsIntersectant(*bar1, *bar2));
    EXPECT_FALSE(IsIntersectant(*bar1, TVRMPolyhedron3d()));
}

TEST(Polyhedron3dTest, MergeFaceJoinsCoplanarPieces)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    // Split the top into two rectangles.
    TVRMPolyhedron3d split;
    for (int i = 0; i < 4; ++i)
        split.AddFace(box->GetFace(i));
    split.AddFace(TVRMFace3d::FromLoop({{0, 0, 1000}, {400, 0, 1000}, {400, 1000, 1000}, {0, 1000, 1000}}, 4));
    split.AddFace(TVRMFace3d::FromLoop({{400, 0, 1000}, {1000, 0, 1000}, {1000, 1000, 1000}, {400, 1000, 1000}}, 4));
    split.AddFace(box->GetFace(5));
    ASSERT_EQ(split.GetFaceCount(), 7);
    EXPECT_EQ(split.MergeFace(TVRMPlane3d({0, 0, 1}, {0, 0, 1000})), 4);
    ASSERT_EQ(split.GetFaceCount(), 6);
    EXPECT_EQ(split.GetFace(4).GetLoop(0).size(), 4u);
    EXPECT_DOUBLE_EQ(split.GetFace(4).GetArea(), 1e6);
    EXPECT_EQ(split.MergeFace(TVRMPlane3d({0, 0, -1}, {0, 0, 1000})), -1);
}

TEST(Polyhedron3dTest, DivideUpSeparatesBodiesAndKeepsCavities)
{
    TVRMPolyhedron3d two;
    auto first = Box(0, 0, 0, 100, 100, 100), second = Box(500, 0, 0, 600, 100, 100);
    for (const auto* body : {first.get(), second.get()})
        for (const auto& f : body->GetFaces())
            two.AddFace(f);
    // A cavity inside the first body.
    auto cavity = Box(25, 25, 25, 75, 75, 75);
    cavity->Negate();
    for (const auto& f : cavity->GetFaces())
        two.AddFace(f);
    auto parts = two.DivideUp();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_DOUBLE_EQ(parts[0]->GetVolume() + parts[1]->GetVolume(), 2e6 - 125000);
    EXPECT_EQ(parts[0]->GetFaceCount() + parts[1]->GetFaceCount(), 18);
}

}  // namespace
