// Solids of line, face and point elements and their face orders.
#include <cmath>
#include <string>

#include "tests/Host/ElementModel/ElementModelTestUtils.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> SolidOf(const std::string& element)
{
    const auto model = LoadElements(element);
    auto solid = model->GetElement(0)->BuildPolyhedron(true, nullptr, 0, 0);
    EXPECT_NE(solid, nullptr);
    return solid;
}

TEST(ElementSolid, StraightWallHasItsEndFacesLast)
{
    const auto solid = SolidOf(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    ASSERT_EQ(solid->GetFaceCount(), 6);
    EXPECT_NEAR(solid->GetVolume(), 4.32e9, 1e-3);
    const int n = solid->GetFaceCount();
    ExpectNormal(solid->GetFace(n - 2), {-1, 0, 0});
    ExpectNormal(solid->GetFace(n - 1), {1, 0, 0});
    // Sides right (-y) and left (+y), then top and bottom.
    ExpectNormal(solid->GetFace(0), {0, -1, 0});
    ExpectNormal(solid->GetFace(1), {0, 1, 0});
    ExpectNormal(solid->GetFace(2), {0, 0, 1});
    ExpectNormal(solid->GetFace(3), {0, 0, -1});
    const TVRMBox3d box = solid->GetBox();
    EXPECT_NEAR(box.min.y, -120, 1e-9);
    EXPECT_NEAR(box.max.y, 120, 1e-9);
}

TEST(ElementSolid, AxisOffsetPutsTheLeftFaceAtThatDistance)
{
    const auto solid = SolidOf(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "AxisOffset": 40, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    EXPECT_NEAR(solid->GetBox().max.y, 40, 1e-9);
    EXPECT_NEAR(solid->GetBox().min.y, -200, 1e-9);
}

TEST(ElementSolid, ArcWallVolumeIsWidthHeightArcLength)
{
    // Quarter circle of radius 5000 around the origin, counter-clockwise.
    const auto model = LoadElements(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [5000, 0], "end": [0, 5000], "radius": 5000, "arcKind": 1}})");
    const auto* shape = ShapeOf<IQTKLineShape>(*model, 1);
    ASSERT_TRUE(shape->GetLine().IsArc());
    const double arcLength = 5000 * CVRMPi / 2;
    EXPECT_NEAR(shape->GetLine().Length(), arcLength, 1e-6);
    const auto solid = model->GetElement(0)->BuildPolyhedron();
    EXPECT_NEAR(solid->GetVolume() / (240 * 3000 * arcLength), 1.0, 1e-6);
    const int n = solid->GetFaceCount();
    ExpectNormal(solid->GetFace(n - 2), {0, -1, 0});  // start at (5000, 0), tangent +y
    ExpectNormal(solid->GetFace(n - 1), {-1, 0, 0});  // end at (0, 5000), tangent -x
}

TEST(ElementSolid, SlopedTopWall)
{
    const auto solid = SolidOf(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "StartPtTopElev": 3000,
            "EndPtTopElev": 3600}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    EXPECT_NEAR(solid->GetVolume(), 6000.0 * 240 * 3300, 1e-2);
    EXPECT_NEAR(solid->GetBox().max.z, 3600, 1e-9);
    ExpectNormal(solid->GetFace(solid->GetFaceCount() - 1), {1, 0, 0});
}

TEST(ElementSolid, BeamWithAnExplicitSectionIsSweptWithItsCapsLast)
{
    // An L-shaped section 300 wide: 600 deep under the axis half, 200 elsewhere.
    const auto solid = SolidOf(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "BottomElev": 2400, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0],
                      "section": [[-150, 0], [0, 0], [0, 400], [150, 400], [150, 600], [-150, 600]]}})");
    EXPECT_NEAR(solid->GetVolume(), 4000.0 * (150 * 600 + 150 * 200), 1e-2);
    const int n = solid->GetFaceCount();
    ExpectNormal(solid->GetFace(n - 2), {-1, 0, 0});
    ExpectNormal(solid->GetFace(n - 1), {1, 0, 0});
}

TEST(ElementSolid, ArcBeamWithAnExplicitSection)
{
    // A section symmetric about the axis sweeps the arc length times its area: the sweep keeps the
    // volume between its facets and the curved surfaces, so the volume is exact.
    const auto solid = SolidOf(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "BottomElev": 2400, "TopElev": 3000},
            "shape": {"kind": "line", "start": [5000, 0], "end": [0, 5000], "radius": 5000, "arcKind": 1,
                      "section": [[-150, 0], [150, 0], [150, 600], [-150, 600]]}})");
    EXPECT_NEAR(solid->GetVolume() / (300.0 * 600 * 5000 * CVRMPi / 2), 1.0, 1e-9);
    EXPECT_NEAR(solid->GetBox().min.z, 2400, 1e-9);
    const int n = solid->GetFaceCount();
    ExpectNormal(solid->GetFace(n - 2), {0, -1, 0});
    ExpectNormal(solid->GetFace(n - 1), {-1, 0, 0});
}

TEST(ElementSolid, SlabHasItsTopSecondToLastAndBottomLast)
{
    const auto solid = SolidOf(
        R"({"id": 1, "type": 19, "props": {"Thickness": 120, "TopElev": 3000},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}})");
    ASSERT_EQ(solid->GetFaceCount(), 6);
    EXPECT_NEAR(solid->GetVolume(), 6000.0 * 4000 * 120, 1e-2);
    ExpectNormal(solid->GetFace(4), {0, 0, 1});
    ExpectNormal(solid->GetFace(5), {0, 0, -1});
    EXPECT_NEAR(solid->GetFace(4).GetBox().min.z, 3000, 1e-9);
    EXPECT_NEAR(solid->GetFace(5).GetBox().min.z, 2880, 1e-9);
}

TEST(ElementSolid, SlopedSlabKeepsItsThicknessSquareToTheSurface)
{
    // Rising 1:10 along x away from edge 3 (x = 0, at 3000).
    const auto model = LoadElements(
        R"({"id": 1, "type": 19, "props": {"Thickness": 120},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
                      "elevation": {"kind": "ratio", "edge": 3, "elev": 3000, "ratio": 0.1}}})");
    const auto* face = ShapeOf<IQTKFaceShape>(*model, 1);
    const double factor = std::sqrt(1.01);
    EXPECT_NEAR(face->GetFaceElevInfo()->GetThicknessFactor(), factor, 1e-12);
    const auto solid = model->GetElement(0)->BuildPolyhedron();
    EXPECT_NEAR(solid->GetVolume(), 6000.0 * 4000 * 120 * factor, 1e-1);
    const int n = solid->GetFaceCount();
    EXPECT_GT(solid->GetFace(n - 2).GetNormal().z, 0.99);
    EXPECT_LT(solid->GetFace(n - 1).GetNormal().z, -0.99);
    const TVRMBox3d box = model->GetElement(0)->GetBox();
    EXPECT_NEAR(box.max.z, 3600, 1e-6);
    EXPECT_NEAR(box.min.z, 3000 - 120 * factor, 1e-6);
}

TEST(ElementSolid, RotatedColumn)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 25, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0,
            "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [1000, 1000], "rotation": 45}})");
    const auto solid = model->GetElement(0)->BuildPolyhedron();
    EXPECT_NEAR(solid->GetVolume(), 400.0 * 400 * 3000, 1e-2);
    const int n = solid->GetFaceCount();
    ExpectNormal(solid->GetFace(n - 2), {0, 0, 1});
    ExpectNormal(solid->GetFace(n - 1), {0, 0, -1});
    const double half = 200 * std::sqrt(2.0);
    const TVRMBox3d box = model->GetElement(0)->GetBox();
    EXPECT_NEAR(box.min.x, 1000 - half, 1e-6);
    EXPECT_NEAR(box.max.y, 1000 + half, 1e-6);
    const auto* point = ShapeOf<IQTKPointShape>(*model, 1);
    EXPECT_NEAR(point->GetRotateAngle(), CVRMPi / 4, 1e-12);
    // The first local corner (-200, -200) turned by 45 degrees lies straight below the insertion point.
    const TVRMPoint2d first = point->GetOutline().GetItems(0).GetVertex(0).pt;
    EXPECT_NEAR(first.x, 1000, 1e-9);
    EXPECT_NEAR(first.y, 1000 - half, 1e-9);
}

TEST(ElementSolid, DoorGoesThroughItsHostWallWithTheOutlineCapsLast)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
           {"id": 2, "type": 4, "parent": 1, "props": {"OpeningWidth": 900, "OpeningHeight": 2100},
            "shape": {"kind": "opening", "at": 1500}})");
    const IQTKElementDrawObj* door = model->FindElement(2);
    const auto solid = door->BuildPolyhedron(true, nullptr, 30);
    const int n = solid->GetFaceCount();
    ASSERT_EQ(n, 6);
    EXPECT_NEAR(solid->GetVolume(), 900.0 * 2100 * 300, 1e-2);
    EXPECT_NEAR(solid->GetFace(n - 1).GetArea(), 900.0 * 2100, 1e-3);
    ExpectNormal(solid->GetFace(n - 2), {0, -1, 0});
    ExpectNormal(solid->GetFace(n - 1), {0, 1, 0});
    const TVRMBox3d box = door->GetBox();
    EXPECT_NEAR(box.min.x, 1050, 1e-9);
    EXPECT_NEAR(box.max.x, 1950, 1e-9);
    EXPECT_NEAR(box.min.y, -120, 1e-9);
    EXPECT_NEAR(box.max.z, 2100, 1e-9);
    EXPECT_EQ(door->GetParentDrawObj(), model->FindElement(1));
    const auto* shape = ShapeOf<IQTKPointShape>(*model, 2);
    EXPECT_NEAR(shape->GetPolygon().Area(), 900.0 * 2100, 1e-6);  // in the wall plane
    EXPECT_NEAR(shape->GetOutline().Area(), 900.0 * 240, 1e-6);   // in plan
}

TEST(ElementSolid, ExplicitSolidAndSubSolids)
{
    const std::string box =
        R"({"vertices": [[0,0,0],[1000,0,0],[1000,1000,0],[0,1000,0],[0,0,500],[1000,0,500],[1000,1000,500],[0,1000,500]],
            "faces": [[0,3,2,1],[4,5,6,7],[0,1,5,4],[1,2,6,5],[2,3,7,6],[3,0,4,7]]})";
    const auto model =
        LoadElements(R"({"id": 1, "type": 73, "solid": )" + box + R"(, "subSolids": [)" + box + "," + box + "]}");
    const IQTKElementDrawObj* e = model->GetElement(0);
    EXPECT_NEAR(e->BuildPolyhedron()->GetVolume(), 5e8, 1e-3);
    EXPECT_NEAR(e->GetBox().max.z, 500, 1e-9);
    ASSERT_TRUE(e->HasSubSolids());
    const auto subs = e->GetSubSolids(true);
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_NEAR(subs[1]->GetVolume(), 5e8, 1e-3);
}

TEST(ElementSolid, FaceWithoutThicknessHasAnEmptySolid)
{
    const auto solid = SolidOf(
        R"({"id": 1, "type": 32, "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000], [0, 1000]]}})");
    EXPECT_FALSE(solid->HasFaces());
}

}  // namespace

namespace {

// A conical slab (thickness 120) over the square [0, 4000]^2 about its centre: the shell runs
// on to the corners, 2000 sqrt 2 out. Over a cone of radius 2000 rising R from 3000 (slope
// k = R / 2000, s = sqrt(1 + k^2)) the element's box reaches from the lower of the bottom under
// the apex (3000 + R - 120 s) and the bottom edge at the corners (the top there, 3000 + R -
// k 2000 sqrt 2, less 120 / s under a peak, 120 s under a funnel) up to the higher of the apex
// and that top; and it holds the element's solid.
TEST(ElementSolid, ConicalSlabBoxHoldsItsSolid)
{
    const struct {
        const char* name;
        double rise;
    } cases[] = {{"peak", 500}, {"steep peak", 6000}, {"funnel", -1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto model = LoadElements(
            R"({"id": 1, "type": 19, "props": {"Thickness": 120},
                "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 4000], [0, 4000]],
                          "elevation": {"kind": "cone", "first": 2000, "second": )" +
            std::to_string(c.rise) + R"(, "base": 3000, "center": [2000, 2000]}}})");
        const double k = c.rise / 2000, s = std::hypot(1.0, k), apex = 3000 + c.rise;
        const double rim = apex - k * 2000 * std::sqrt(2.0);
        const TVRMBox3d box = model->FindElement(1)->GetBox();
        EXPECT_NEAR(box.max.z, std::max(apex, rim), 1e-9);
        EXPECT_NEAR(box.min.z, std::min(apex - 120 * s, rim - (k > 0 ? 120 / s : 120 * s)), 1e-9);
        const TVRMBox3d solid = model->GetElement(0)->BuildPolyhedron()->GetBox();
        EXPECT_LE(box.min.z, solid.min.z + 1e-9);
        EXPECT_GE(box.max.z, solid.max.z - 1e-9);
    }
}

}  // namespace
