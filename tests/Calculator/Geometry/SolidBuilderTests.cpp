// Solids of line elements between their side lines, of gradient, arched and
// haunched beams and of the same grown by an offset, against closed forms.
#include <gtest/gtest.h>

#include <cmath>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Host/ElementModel/QTKBeamSolidBuilders.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

class TSolidBuilderTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240,
           "bottom": 0, "top": 3000}},
          {"id": 2, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240,
           "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 0}},
          {"id": 3, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240,
           "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 6000}},
          {"id": 4, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "mid": [3000, 3000],
           "width": 240, "bottom": 0, "top": 3000}},
          {"id": 10, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 11, "type": 15, "props": {"SectionTypeID": 1, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 12, "type": 15, "props": {"SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 13, "type": 15, "props": {"SectionTypeID": 3, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 20, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500, "EndPtGradChangeHeight": 700},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "startBottom": 2500,
           "startTop": 3000, "endBottom": 2300, "endTop": 3000}},
          {"id": 21, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 700, "EndPtGradChangeHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "startBottom": 2300,
           "startTop": 3000, "endBottom": 2500, "endTop": 3000}},
          {"id": 22, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500, "EndPtGradChangeHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
          {"id": 30, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
                     "sectionInfo": {"archHeight": 1000, "startIndex": 0, "endIndex": 3}}},
          {"id": 40, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 600},
           "haunches": [{"startA": 500, "startB": 250, "endA": 500, "endB": 250, "width": 250}],
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000,
                     "sectionInfo": {"haunch": 1}}}])");
    }
    TVRMCustomLine2d Line(double x0, double y0, double x1, double y1) { return TVRMCustomLine2d({x0, y0}, {x1, y1}); }
};

double Volume(const std::unique_ptr<TVRMPolyhedron3d>& solid)
{
    return solid ? solid->GetVolume() : -1.0;
}

TEST_F(TSolidBuilderTest, PrismBetweenSideLines)
{
    struct Case {
        const char* name;
        int id;
        double width;
        double volume;  // -1: no solid
    };
    const Case cases[] = {
        {"level wall", 1, 240, 240.0 * 5000 * 3000},
        {"top down to the bottom at the end", 2, 240, -1},
        {"sloping top", 3, 240, 240.0 * 5000 * 4500},
        {"arc axis", 4, 240, -1},
        {"section type 0", 10, 200, 200.0 * 6000 * 500},
        {"section type 1", 11, 200, -1},
        {"no section type", 12, 200, -1},
        {"rectangular section of another type", 13, 200, 200.0 * 6000 * 500},
        {"gradient beam", 20, 200, -1},
        {"arched beam", 30, 250, -1},
        {"haunched beam", 40, 250, -1},
    };
    TFakeEDOScope scope;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double half = c.width / 2;
        const double length = c.id >= 10 ? 6000 : 5000;
        auto build = [&](auto& edo) {
            edo.leftLine = Line(0, half, length, half);
            edo.rightLine = Line(0, -half, length, -half);
            return TQTKSolidBuilder::BuildLineEntSolid(&edo);
        };
        const auto solid = c.id >= 10 ? build(scope.Attach<TFakeBeamEDO>(DrawObj(c.id)))
                                      : build(scope.Attach<TFakeLineEntEDO>(DrawObj(c.id)));
        EXPECT_NEAR(Volume(solid), c.volume, std::abs(c.volume) * 1e-9);
    }
}

TEST_F(TSolidBuilderTest, PrismSectionsAndExpandedPrism)
{
    EXPECT_TRUE(TQTKSolidBuilder::IsPrismSection(DrawObj(10)));
    EXPECT_FALSE(TQTKSolidBuilder::IsPrismSection(DrawObj(11)));
    EXPECT_FALSE(TQTKSolidBuilder::IsPrismSection(DrawObj(12)));
    EXPECT_TRUE(TQTKSolidBuilder::IsPrismSection(DrawObj(13)));
    const TVRMCustomLine2d left = Line(0, 120, 5000, 120), right = Line(0, -120, 5000, -120);
    const auto plain = TQTKSolidBuilder::BuildPrismBetweenLines(DrawObj(1), left, right);
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildExpandedSolidBetweenLines(DrawObj(1), left, 0.0, right)), Volume(plain),
                1e-3);
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildExpandedSolidBetweenLines(DrawObj(1), left, 50.0, right)),
                240.0 * 5000 * 3100, 1e-3);
    // No elevation test when expanded: a wall whose top meets its bottom still gets a solid.
    EXPECT_NE(TQTKSolidBuilder::BuildExpandedSolidBetweenLines(DrawObj(2), left, 0.0, right), nullptr);
    EXPECT_EQ(TQTKSolidBuilder::BuildExpandedSolidBetweenLines(DrawObj(4), left, 0.0, right), nullptr);
}

TEST_F(TSolidBuilderTest, GradientBeams)
{
    const TVRMCustomLine2d line = Line(0, 0, 6000, 0);
    struct Case {
        const char* name;
        int id;
        double from, to;  // the piece along x
    };
    // Heights 500 -> 700 vanish 6000 x 500 / 200 before the start; 700 -> 500
    // vanish 6000 x 700 / 200 after the start; equal heights: the line itself.
    const Case cases[] = {{"growing", 20, -15000, 6000}, {"shrinking", 21, 0, 21000}, {"equal", 22, 0, 6000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TVRMCustomLine2d piece = TQTKSolidBuilder::GetGradientBeamLine(DrawObj(c.id), line, 0.0);
        EXPECT_NEAR(piece.StartPt().x, c.from, 1e-6);
        EXPECT_NEAR(piece.EndPt().x, c.to, 1e-6);
        EXPECT_NEAR(piece.StartPt().y, 0.0, 1e-9);
    }
    // Along the line: 200 x 6000 x (500 + 700) / 2.
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildGradientBeamSolid(DrawObj(20), line, 100, 200)), 200.0 * 6000 * 600, 1.0);
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildGradientBeamSolid(DrawObj(21), line, 100, 200)), 200.0 * 6000 * 600, 1.0);
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildGradientBeamSolid(DrawObj(22), line, 100, 200)), 200.0 * 6000 * 500, 1.0);
    // On a line reaching 1000 past each end the height goes on changing: 200 x 8000 x (500 - 33.3 + 700 + 33.3) / 2.
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildGradientBeamSolid(DrawObj(20), Line(-1000, 0, 7000, 0), 100, 200)),
                200.0 * 8000 * 600, 1.0);
    // Grown by 50: 300 wide, heights 600 and 800 from 50 above the top.
    auto grown = TQTKSolidBuilder::BuildGradientBeamOffsetSolid(DrawObj(20), line, 50, 100, 200);
    EXPECT_NEAR(Volume(grown), 300.0 * 6000 * 700, 1.0);
    const auto box = grown->GetBox();
    EXPECT_NEAR(box.max.z, 3050.0, 1e-6);
    EXPECT_NEAR(box.min.z, 3050.0 - 800, 1e-6);
}

// A ring sector of an arch whose intrados has chord C and rise F, radial
// thickness H, W wide.
double ArchVolume(double chord, double rise, double height, double width)
{
    const double radius = (chord * chord / 4 + rise * rise) / (2 * rise);
    const double halfAngle = std::asin(chord / 2 / radius);
    return width * halfAngle * ((radius + height) * (radius + height) - radius * radius);
}

TEST_F(TSolidBuilderTest, ArchedBeam)
{
    const TVRMCustomLine2d line = Line(0, 0, 6000, 0);
    // R = 5000, half angle asin 0.6.
    const double expected = 250 * std::asin(0.6) * (5500.0 * 5500 - 5000.0 * 5000);
    EXPECT_NEAR(ArchVolume(6000, 1000, 500, 250), expected, 1e-6 * expected);
    const auto arch = TQTKSolidBuilder::BuildArchBeamSolid(DrawObj(30), line, 125, 250);
    EXPECT_NEAR(Volume(arch), expected, 1e-3 * expected);
    // The intrados springs at the bottom at both ends and rises 1000 in the middle.
    const auto box = arch->GetBox();
    EXPECT_NEAR(box.min.z, 2500.0, 1.0);
    EXPECT_NEAR(box.min.y, -125.0, 1e-6);
    EXPECT_NEAR(box.max.y, 125.0, 1e-6);
    // Grown by 50: 50 more at both ends of the chord, 100 wider and higher, the
    // bottom 50 lower; the rise (shape kind 1) stays.
    const double grown = ArchVolume(6100, 1000, 600, 350);
    EXPECT_NEAR(Volume(TQTKSolidBuilder::BuildArchBeamOffsetSolid(DrawObj(30), line, 50, 125, 250)), grown,
                1e-3 * grown);
    EXPECT_GT(grown, expected);
}

TEST_F(TSolidBuilderTest, ArchDescriptionOnALine)
{
    TQTKArchBeamInfo info;
    info.count = 2;
    info.first = {1, 0, 2000, 2, 300};
    info.second = {2, 4000, -1, 1, -200};
    // On a middle line starting 240 before the axis: positions move on by 240.
    TQTKSolidBuilder::ShiftArchInfo(info, Line(-240, 0, 6240, 0), Line(0, 0, 6000, 0));
    EXPECT_EQ(info.first.start, 240);
    EXPECT_EQ(info.first.end, 2240);
    EXPECT_EQ(info.second.start, 4240);
    EXPECT_EQ(info.second.end, -1);
    // Grown by 300: the first part leaves the line at its start (lengthened by
    // 60, every position moves on by 60), the second reaches its end.
    TVRMCustomLine2d path = Line(-240, 0, 6240, 0);
    TQTKSolidBuilder::ExtendArchInfo(info, 300, path);
    EXPECT_NEAR(path.StartPt().x, -300, 1e-9);
    EXPECT_NEAR(path.EndPt().x, 6540, 1e-9);
    EXPECT_EQ(info.first.start, 0);
    EXPECT_EQ(info.first.end, 2600);
    EXPECT_EQ(info.first.rise, 600);  // shape kind 2: the rise moves outwards
    EXPECT_EQ(info.second.start, 4000);
    EXPECT_EQ(info.second.end, 6840);
    EXPECT_EQ(info.second.rise, -200);
}

TEST_F(TSolidBuilderTest, HaunchedBeam)
{
    TFakeEDOScope scope;
    auto& beam = scope.Attach<TFakeBeamEDO>(DrawObj(40));
    const auto body = Box(0, -125, 2400, 6000, 125, 3000);
    // 9.0e8 and two haunches of 500 x 250 / 2 x 250.
    const auto haunched = TQTKSolidBuilder::BuildHaunchedBeamSolid(&beam, *body);
    EXPECT_NEAR(Volume(haunched), 9.0e8 + 2 * (500.0 * 250 / 2 * 250), 1.0);
    EXPECT_NEAR(haunched->GetBox().min.z, 2400.0 - 250, 1e-6);
    EXPECT_NEAR(body->GetVolume(), 9.0e8, 1.0);  // the given solid is left as it was

    // Grown by D = 50: the section 350 x 700 along the line, and each haunch
    // triangle (legs A = 500 along, B = 250 down) offset by 50 (its mitred
    // offset is the triangle scaled about its incentre), 350 wide, less what
    // the grown body already holds (x >= 0, z >= bottom - 50).
    const double a = 500, b = 250, d = 50;
    const double c = std::hypot(a, b);
    const double inradius = (a + b - c) / 2;
    const double k = (inradius + d) / inradius;
    const double v2x = inradius + k * (a - inradius);                 // far corner of the grown triangle
    const double v3z = -inradius - k * (b - inradius);                // its low corner (at x = -d)
    const double slope = (d - v3z) / (v2x + d);                       // rise of the grown hypotenuse
    const double crossing = -d + (-d - v3z) / slope;                  // where it meets z = -d
    const double outside = k * k * a * b / 2 - d * (v2x + crossing);  // grown triangle less the body
    const double expected = 350.0 * 700 * 6000 + 2 * 350 * outside;
    const auto grown = TQTKSolidBuilder::BuildHaunchedBeamOffsetSolid(DrawObj(40), Line(0, 0, 6000, 0), d, 125, 250);
    EXPECT_NEAR(Volume(grown), expected, 1e-6 * expected);
}

}  // namespace
