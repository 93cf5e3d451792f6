#include <gtest/gtest.h>

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

class TBeamShapeTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 101, "type": 15, "props": {"SectionWidth": 200, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
                     "sectionInfo": {"archHeight": 300, "startIndex": 0, "endIndex": 3}}},
          {"id": 102, "type": 15, "props": {"SectionWidth": 200},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
                     "sectionInfo": {"archHeight": 300, "startIndex": -1, "endIndex": 3}}},
          {"id": 103, "type": 15, "props": {"SectionWidth": 200, "CalcAloneBeamFinishQty": 1},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000}},
          {"id": 104, "type": 0, "props": {"Thickness": 200, "CalcAloneBeamFinishQty": 0},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 0, "top": 3000,
                     "sectionInfo": {"archHeight": 300}}},
          {"id": 105, "type": 12, "props": {"SectionWidth": 200},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "bottom": 2100, "top": 2300,
                     "sectionInfo": {"archHeight": 100, "startIndex": 0, "endIndex": 3}}},
          {"id": 110, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500, "EndPtGradChangeHeight": 700}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 111, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500, "EndPtGradChangeHeight": 500}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 112, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 113, "type": 17, "props": {"SectionTypeID": 0, "SectionHeight": 500, "EndPtGradChangeHeight": 700}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 114, "type": 47, "props": {"SectionHeight": 500, "EndPtGradChangeHeight": 700}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 115, "type": 15, "props": {"SectionTypeID": 1, "SectionHeight": 500, "EndPtGradChangeHeight": 700}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 120, "type": 15, "props": {"SectionWidth": 200},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
                     "sectionInfo": {"haunch": 150}}},
          {"id": 121, "type": 47, "props": {"SectionWidth": 200},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
                     "sectionInfo": {"haunch": 150}}},
          {"id": 130, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
                     "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000,
                                   "axis": [[3000, 0], [3000, 4000]]}}},
          {"id": 131, "type": 19, "props": {"Thickness": 120, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
          {"id": 140, "type": 15, "props": {"SectionWidth": 200, "StartPtTopElev": 3000, "EndPtTopElev": 7000},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "startBottom": 2500, "startTop": 3000,
                     "endBottom": 6500, "endTop": 7000}},
          {"id": 141, "type": 12, "props": {"SectionWidth": 200, "StartPtTopElev": 3000, "EndPtTopElev": 7000},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "startBottom": 2500, "startTop": 3000,
                     "endBottom": 6500, "endTop": 7000}}])");
    }
};

TEST_F(TBeamShapeTest, ShapeKinds)
{
    struct Case {
        int id;
        bool arch, partialArch, gradient, haunched, slopedFace, alone;
    };
    const Case cases[] = {
        {101, true, false, false, false, false, false},  {102, true, true, false, false, false, false},
        {103, false, false, false, false, false, true},  {104, false, false, false, false, false, false},
        {105, true, false, false, false, false, false},  {110, false, false, true, false, false, false},
        {111, false, false, false, false, false, false},  // equal heights: not a gradient beam
        {112, false, false, false, false, false, false}, {113, false, false, false, false, false, false},
        {114, false, false, true, false, false, false},  {115, false, false, false, false, false, false},
        {120, false, false, false, true, false, false},  {121, false, false, false, true, false, false},
        {130, false, false, false, false, true, false},  {131, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(IsArchRecord(Record(c.id)), c.arch);
        EXPECT_EQ(IsPartialArchDrawObj(DrawObj(c.id)), c.partialArch);
        EXPECT_EQ(IsGradientBeamRecord(Record(c.id)), c.gradient);
        EXPECT_EQ(IsHaunchedBeamRecord(Record(c.id)), c.haunched);
        EXPECT_EQ(IsSlopedFaceRecord(Record(c.id)), c.slopedFace);
        EXPECT_EQ(IsCalcAloneBeamFinishQty(Record(c.id)), c.alone);
    }
    EXPECT_FALSE(IsArchRecord(nullptr));
}

TEST_F(TBeamShapeTest, InclinedLineNormal)
{
    TVRMVector3d n;
    GetInclinedLineNormal(DrawObj(103), n);
    EXPECT_TRUE(n.IsEqualTo({0, 0, 1}, 1e-12));
    GetInclinedLineNormal(DrawObj(140), n);  // rising 45 degrees along +x
    EXPECT_TRUE(n.IsEqualTo({-std::sqrt(0.5), 0, std::sqrt(0.5)}, 1e-12));
    GetInclinedLineNormal(DrawObj(141), n);  // a lintel's axis is taken level
    EXPECT_TRUE(n.IsEqualTo({0, 0, 1}, 1e-12));
    GetInclinedLineNormal(DrawObj(131), n);  // no line shape
    EXPECT_TRUE(n.IsEqualTo({0, 0, 1}, 1e-12));
    EXPECT_THROW(GetInclinedLineNormal(nullptr, n), EQTKAssertionFailed);
}

TEST_F(TBeamShapeTest, LevelBeamFacesAgainstItsLine)
{
    // Faces: 0 right (-y), 1 end (+x), 2 left (+y), 3 start (-x), 4 top, 5 bottom.
    const auto beam = Box(0, -100, 2500, 6000, 100, 3000);
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    const TVRMCustomLine2d inner({1000, 0}, {5000, 0});
    const std::vector<int> expected{2, 5, 1, 5, 4, 3};
    const std::vector<int> away{2, 3, 1, 3, 4, 3};  // end faces away from a shorter line's ends
    for (int i = 0; i < beam->GetFaceCount(); ++i) {
        EXPECT_EQ(ClassifyFaceByLine(line, beam->GetFace(i), {0, 0, 1}, 200), expected[i]) << i;
        EXPECT_EQ(ClassifyFaceByLine(inner, beam->GetFace(i), {0, 0, 1}, 200), away[i]) << i;
        EXPECT_EQ(ClassifyFaceByLine(inner, beam->GetFace(i), {0, 0, 1}, 1), expected[i]) << i;
    }
    EXPECT_EQ(ClassifyFaceByLine(line, TVRMFace3d(), {0, 0, 1}, 200), 0);

    std::vector<int> indices;
    GetInclinedFaceIndices(DrawObj(103), *beam, inner, MakeFaceCodeSet({3}), {}, indices);
    EXPECT_EQ(indices, (std::vector<int>{1, 3, 5}));
    GetInclinedFaceIndices(DrawObj(103), *beam, line, MakeFaceCodeSet({1, 2, 3}), {5}, indices);
    EXPECT_EQ(indices, (std::vector<int>{0, 2}));
    // A shell's end faces are end faces wherever the line ends.
    TQTKShellCalc3d calc(BuildFaceShell(*beam, {0, 1, 2, 3, 4, 5}), RecordRef(Record(103)));
    GetInclinedShellFaceIndices(DrawObj(103), calc, inner, MakeFaceCodeSet({3}), {}, indices);
    EXPECT_EQ(indices, (std::vector<int>{5}));
    GetInclinedShellFaceIndices(DrawObj(103), calc, inner, MakeFaceCodeSet({5}), {3}, indices);
    EXPECT_EQ(indices, (std::vector<int>{1}));
    GetBeamEndFaceIndices(DrawObj(103), *beam, indices);
    EXPECT_EQ(indices, (std::vector<int>{1, 3}));
}

TEST(BeamShapeFaceTest, FaceAtFortyFiveDegreesFallsThrough)
{
    // A face on z = y, normal (0, -1, 1) / sqrt 2.
    const TVRMFace3d face = TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 1000}, {0, 1000, 1000}});
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    EXPECT_EQ(ClassifyFaceByLine(line, face, {0, 0, 1}, 200), CQTKFaceDirRight);
    EXPECT_EQ(ClassifyFaceByLine(line, face, {0, -1, 0}, 200), CQTKFaceDirRight);
    EXPECT_EQ(ClassifyFaceByLine(line, face, {0, -0.6, 0.8}, 200), CQTKFaceDirTop);
    EXPECT_EQ(ClassifyFaceByLine(line, face, {0, 0.6, -0.8}, 200), CQTKFaceDirBottom);
}

TEST(BeamShapeFaceTest, SideFacesOfLinesAndArcs)
{
    const auto beam = Box(0, -100, 0, 6000, 100, 500);
    const TVRMCustomLine2d line({0, 0}, {6000, 0});
    EXPECT_EQ(GetArcSideFaceIndices(line, *beam, true, 0, {}), (std::vector<int>{2}));
    EXPECT_EQ(GetArcSideFaceIndices(line, *beam, false, 0, {}), (std::vector<int>{0}));
    EXPECT_EQ(GetArcSideFaceIndices(line, *beam, true, 1, {2, 0}), (std::vector<int>{}));
    EXPECT_EQ(GetArcSideFaceIndices(line, *beam, false, 1, {2, 0}), (std::vector<int>{0}));

    // A band along a counter-clockwise quarter circle of radius 5000.
    const TVRMCustomLine2d arc({5000, 0}, {0, 5000}, 5000, CVRMArcKindCCW);
    const auto band = TVRMPolyhedron3d::CreateBand(arc, 200, 100, 0, 300, 0, 300);
    const auto outer = GetArcSideFaceIndices(arc, *band, false, 0, {});
    const auto inner = GetArcSideFaceIndices(arc, *band, true, 0, {});
    ASSERT_FALSE(outer.empty());
    EXPECT_EQ(outer.size(), inner.size());
    for (int i : outer) {
        const TVRMFace3d& f = band->GetFace(i);
        EXPECT_GT(f.GetNormal().InnerProduct(f.GetPlane().GetBasePoint()), 0.0) << "faces away from the centre";
    }
    for (int i : inner) {
        const TVRMFace3d& f = band->GetFace(i);
        EXPECT_LT(f.GetNormal().InnerProduct(f.GetPlane().GetBasePoint()), 0.0) << "faces the centre";
    }
}

}  // namespace
