// Measuring routines of the expression builders: rectangles of polygons,
// element outlines and faces, bands along a line, coping shells, the length
// of an arc on an inclined plane, beam sections and bedding end faces.
#include <cmath>
#include <numbers>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

TEST(ExprMeasure, PolygonRectangles)
{
    double width = 0, length = 0;
    const TVRMRectangle2d rectangle({1500, 500}, 1500, 500, 0.3);
    ASSERT_TRUE(GetPolygonRectSize(&rectangle, width, length));
    EXPECT_NEAR(width, 1000, 1e-9);
    EXPECT_NEAR(length, 3000, 1e-9);
    const TVRMPolygon2d upright(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}, {1000, 3000}, {0, 3000}});
    ASSERT_TRUE(GetPolygonRectSize(&upright, width, length));
    EXPECT_NEAR(length, 3000, 1e-9);
    const TVRMPolygon2d pentagon(std::vector<TVRMPoint2d>{{0, 0}, {3000, 0}, {3000, 1000}, {1500, 1500}, {0, 1000}});
    EXPECT_FALSE(GetPolygonRectSize(&pentagon, width, length));
    EXPECT_FALSE(GetPolygonRectSize(nullptr, width, length));

    const TVRMFace3d face = TVRMFace3d::FromLoop({{0, 0, 0}, {0, 0, 1200}, {4000, 0, 1200}, {4000, 0, 0}});
    ASSERT_TRUE(GetFaceRectSize(&face, width, length));
    EXPECT_NEAR(width, 1200, 1e-9);
    EXPECT_NEAR(length, 4000, 1e-9);
    double bottom = 0, top = 0;
    ASSERT_TRUE(GetFaceElevRange(face, bottom, top));
    EXPECT_EQ(bottom, 0);
    EXPECT_EQ(top, 1200);
    const TVRMFace3d level = TVRMFace3d::FromLoop({{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}});
    EXPECT_FALSE(GetFaceElevRange(level, bottom, top));
}

TEST(ExprMeasure, ArcLengthOnAPlane)
{
    const TVRMCustomLine2d quarter = TVRMCustomLine2d::ArcByCenter({0, 0}, 1000, 0, std::numbers::pi / 2);
    EXPECT_NEAR(CalcArcLengthOnPlane(quarter, {0, 0, 1}), 1570.8, 0.01);

    // The plane z = x / 2: the lifted arc measured with fine chords.
    const TVRMVector3d normal = TVRMVector3d(-0.5, 0, 1).Unit();
    double fine = 0.0;
    const int steps = 200000;
    TVRMPoint3d last{1000, 0, 500};
    for (int i = 1; i <= steps; ++i) {
        const double t = std::numbers::pi / 2 * i / steps;
        const TVRMPoint3d p{1000 * std::cos(t), 1000 * std::sin(t), 500 * std::cos(t)};
        fine += p.DistanceTo(last);
        last = p;
    }
    EXPECT_NEAR(CalcArcLengthOnPlane(quarter, normal), fine, 0.1);
    // The same arc the other way round, and a straight segment lifted.
    EXPECT_NEAR(CalcArcLengthOnPlane(quarter.Reversed(), normal), fine, 0.1);
    EXPECT_NEAR(CalcArcLengthOnPlane(TVRMCustomLine2d({0, 0}, {2000, 0}), normal), std::hypot(2000, 1000), 1e-9);
    // A vertical plane: the plan length, never NaN.
    const double vertical = CalcArcLengthOnPlane(quarter, {1, 0, 0});
    EXPECT_NEAR(vertical, 1000 * std::numbers::pi / 2, 1e-6);
    EXPECT_NEAR(CalcArcLengthOnPlane(TVRMCustomLine2d({0, 0}, {3000, 0}), {0, 1, 0}), 3000, 1e-9);
}

// A band along (0,0)-(4000,0): a side face of height Height, end faces of 240 at both ends.
std::unique_ptr<TVRMPolyhedronShell3d> Band(double otherSideHeight, bool endFaces)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    shell->AddFace(TVRMCustomLine2d({0, 0}, {4000, 0}), false, 0, 1200, 0, 1200);
    if (otherSideHeight > 0)
        shell->AddFace(TVRMCustomLine2d({4000, 240}, {0, 240}), false, 0, otherSideHeight, 0, otherSideHeight);
    if (endFaces) {
        shell->AddFace(TVRMCustomLine2d({0, 240}, {0, 0}), false, 0, 1200, 0, 1200);
        shell->AddFace(TVRMCustomLine2d({4000, 0}, {4000, 240}), false, 0, 1200, 0, 1200);
    }
    return shell;
}

TEST(ExprMeasure, Bands)
{
    const TVRMCustomLine2d line({0, 0}, {4000, 0});
    double length = 0, endArea = 0, height = 0;
    const TQTKShellCalc3d band(Band(0, true), nullptr);
    ASSERT_TRUE(GetBandShellSize(&band, &line, length, endArea, height, 5.376e6));
    EXPECT_NEAR(length, 4000, 1e-6);
    EXPECT_NEAR(endArea, 576000, 1e-6);
    EXPECT_NEAR(height, 1200, 1e-9);
    const TQTKShellCalc3d uneven(Band(1000, false), nullptr);
    EXPECT_FALSE(GetBandShellSize(&uneven, &line, length, endArea, height, 8.8e6));
    EXPECT_FALSE(GetBandShellSize(&band, nullptr, length, endArea, height, 5.376e6));

    // A coping's formwork: two sides of 300, end faces, a level top of 240.
    auto coping = std::make_unique<TVRMPolyhedronShell3d>();
    coping->AddFace(TVRMCustomLine2d({0, 0}, {4000, 0}), false, 0, 300, 0, 300);
    coping->AddFace(TVRMCustomLine2d({4000, 240}, {0, 240}), false, 0, 300, 0, 300);
    coping->AddFace(TVRMCustomLine2d({0, 240}, {0, 0}), false, 0, 300, 0, 300);
    coping->AddFace(TVRMFace3d::FromLoop({{0, 0, 300}, {4000, 0, 300}, {4000, 240, 300}, {0, 240, 300}}));
    auto sloping = coping->Clone();
    sloping->AddFace(TVRMFace3d::FromLoop({{0, 0, 300}, {4000, 0, 1300}, {4000, 240, 1300}, {0, 240, 300}}));
    const TQTKShellCalc3d copingCalc(std::move(coping), nullptr);
    double horizontal = 0;
    ASSERT_TRUE(GetCopingShellSize(&copingCalc, &line, length, endArea, horizontal, height));
    EXPECT_NEAR(length, 8000, 1e-6);  // both sides
    EXPECT_NEAR(endArea, 72000, 1e-6);
    EXPECT_NEAR(horizontal, 960000, 1e-6);
    EXPECT_NEAR(height, 300, 1e-9);
    const TQTKShellCalc3d slopingCalc(std::move(sloping), nullptr);
    EXPECT_FALSE(GetCopingShellSize(&slopingCalc, &line, length, endArea, horizontal, height));
}

class TExprMeasureModelTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 4, "props": {"Width": 1500, "Len": 1800},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1800], "rotation": 30, "bottom": 0, "top": 2100}},
          {"id": 2, "type": 4, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1800], "rotation": 60, "bottom": 0, "top": 2100}},
          {"id": 3, "type": 4, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1800], "bottom": 0, "top": 2100}},
          {"id": 4, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600,
                                          "EndPtGradChangeHeight": 400},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000}},
          {"id": 5, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000,
                     "sectionInfo": {"archHeight": 300, "startIndex": 0, "endIndex": 3}}},
          {"id": 6, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000}},
          {"id": 7, "type": 55, "props": {"Shape": 1, "SectionTypeID": 0, "Thickness": 100, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 600, "bottom": -100, "top": 0}}])");
    }
};

TEST_F(TExprMeasureModelTest, ElementRectangles)
{
    struct Case {
        int id;
        double first, second;
        bool axisParallel;
    };
    for (const Case& c : std::vector<Case>{{1, 1500, 1800, false}, {2, 1800, 1500, false}, {3, 1500, 1800, true}}) {
        SCOPED_TRACE(c.id);
        double first = 0, second = 0;
        bool axisParallel = !c.axisParallel;
        ASSERT_TRUE(GetRecordRectSize(Record(c.id), first, second, axisParallel));
        EXPECT_NEAR(first, c.first, 1e-6);
        EXPECT_NEAR(second, c.second, 1e-6);
        EXPECT_EQ(axisParallel, c.axisParallel);
    }
}

TEST_F(TExprMeasureModelTest, BeamSections)
{
    double width = 0, height = 0;
    ASSERT_TRUE(GetBeamSectionSize(Record(4), width, height));
    EXPECT_EQ(width, 250);
    EXPECT_EQ(height, 500);
    ASSERT_TRUE(GetBeamSectionSize(Record(6), width, height));
    EXPECT_EQ(height, 600);
    EXPECT_FALSE(GetBeamSectionSize(Record(5), width, height));  // an arch
}

TEST_F(TExprMeasureModelTest, BeddingEndFaces)
{
    TFakeLineBeddingEDO& bedding = Attach<TFakeLineBeddingEDO>(7);
    const int key = DrawObj(7)->GetIndexKey();
    // Sides, then the start end face (0.06 m²) and the end end face (0.1 m²).
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMCustomLine2d({0, 0}, {6000, 0}), false, -100, 0, -100, 0);
    shell.AddFace(TVRMCustomLine2d({0, 600}, {0, 0}), false, -100, 0, -100, 0);
    shell.AddFace(TVRMCustomLine2d({6000, 0}, {6000, 1000}), false, -100, 0, -100, 0);
    struct Case {
        int startId, endId;
        double area;
    };
    for (const Case& c : std::vector<Case>{{11, 12, 160000}, {11, 0, 100000}, {0, 12, 100000}, {0, 0, 0}}) {
        SCOPED_TRACE(c.area);
        const auto end = [](int id) { return id ? TQTKConnectedEnd{{id}, id} : TQTKConnectedEnd{}; };
        bedding.info = MakeRef<TQTKConnectedEdoIDInfo>();
        bedding.info->SetEntry(key, end(c.startId), end(c.endId));
        EXPECT_NEAR(GetBeddingEndArea(Record(7), shell), c.area, 1e-6);
    }
    int shapeKind = -1, sectionType = -1;
    double b = 0, a = 0, thickness = 0, lineLength = 0;
    ASSERT_TRUE(GetBeddingSize(Record(7), shapeKind, sectionType, b, a, thickness, lineLength, nullptr));
    EXPECT_EQ(shapeKind, 1);
    EXPECT_EQ(a, 100);
    EXPECT_EQ(b, 600);
    EXPECT_EQ(lineLength, 6000);
}

}  // namespace
