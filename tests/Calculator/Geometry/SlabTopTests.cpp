// Tops of walls and beams under the slabs resting on them: over-height tops,
// scaffold heights to the slab bottoms and the crossing elevations of sloped
// slabs. The wall and beam objects are test objects with plain side lines.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "Calculator/Common/QTKStrategiesCommonSlabTop.h"
#include "Host/Runtime/Assert.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

std::string Num(double v)
{
    std::string text = std::to_string(v);
    return text;
}

// A wall (id 1) along x from 0 to 6000, 240 thick, with the given tops (in
// its properties and its shape, or in its shape only).
std::string Wall(double startTop, double endTop, int type = 0, bool endProps = true)
{
    const std::string props = endProps ? R"(, "StartPtTopElev": )" + Num(startTop) + R"(, "EndPtTopElev": )" +
                                             Num(endTop) + R"(, "StartPtBottomElev": 0, "EndPtBottomElev": 0)"
                                       : std::string();
    return R"({"id": 1, "type": )" + std::to_string(type) + R"(, "props": {"Thickness": 240)" + props + R"(},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "startBottom": 0,
           "endBottom": 0, "startTop": )" +
           Num(startTop) + R"(, "endTop": )" + Num(endTop) + "}}";
}

// A face slab over x0..x1, y -1000..1000, level at Elev or rising by Ratio
// from x0, Thickness thick.
std::string Slab(int id, double x0, double x1, double elev, double thickness, double ratio = 0.0, int type = 19)
{
    const std::string elevation =
        ratio == 0.0 ? R"({"kind": "level", "elev": )" + Num(elev) + "}"
                     : R"({"kind": "ratio", "edge": 3, "elev": )" + Num(elev) + R"(, "ratio": )" + Num(ratio) + "}";
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "props": {"Thickness": )" +
           Num(thickness) + R"(, "TopElev": )" + Num(elev) + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) +
           ", -1000], [" + Num(x1) + ", -1000], [" + Num(x1) + ", 1000], [" + Num(x0) + R"(, 1000]], "elevation": )" +
           elevation + R"(, "thickness": )" + Num(thickness) + "}}";
}

class TSlabTopTest : public TGeometryModelTest {
protected:
    // Loads the elements; element 1 gets a test object with its middle line on
    // the x axis and its side lines 120 to either side.
    template <class TFake = TFakeWallEDO>
    TFake& LoadWith(const std::string& elements)
    {
        Load("[" + elements + "]");
        scope_.emplace();
        auto& edo = scope_->Attach<TFake>(DrawObj(1));
        edo.midLine = TVRMCustomLine2d({0, 0}, {6000, 0});
        edo.leftLine = TVRMCustomLine2d({0, 120}, {6000, 120});
        edo.rightLine = TVRMCustomLine2d({0, -120}, {6000, -120});
        return edo;
    }
    void TearDown() override
    {
        scope_.reset();
        TGeometryModelTest::TearDown();
    }

    std::optional<TFakeEDOScope> scope_;
};

TEST_F(TSlabTopTest, WallOverhighTopUnderSlabsThatCoverIt)
{
    struct Case {
        const char* name;
        double startTop, endTop;
        std::string slabs;
        int topMode;
        double top;
    };
    const Case cases[] = {
        {"a slab over half the wall: the wall's own top", 3000, 3000, Slab(2, 0, 3000, 3100, 120), 0, 3000},
        {"a slab over the whole wall: its underside", 3000, 3000, Slab(2, -500, 6500, 3100, 120), 0, 2980},
        {"two slabs covering it together: the lower underside", 3000, 3000,
         Slab(2, -500, 3000, 3100, 120) + ", " + Slab(3, 3000, 6500, 3100, 150), 0, 2950},
        {"a sloping wall under a level slab, mode 0: the mean top", 3000, 3600, Slab(2, -500, 6500, 3100, 200), 0,
         3300},
        {"mode 2: the lower top", 3000, 3600, Slab(2, -500, 6500, 3100, 200), 2, 3000},
        {"mode 1: the higher top", 3000, 3600, Slab(2, -500, 6500, 3100, 200), 1, 3600},
        {"no slab", 3000, 3000, "", 3, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWith(Wall(c.startTop, c.endTop) + (c.slabs.empty() ? "" : ", " + c.slabs));
        EXPECT_NEAR(GetWallOverhighTopElev(Record(1), 0, c.topMode), c.top, 1e-6);
        TearDown();
    }
}

TEST_F(TSlabTopTest, BeamTopUnderTheThickestSlabOfTheHighestSurface)
{
    // A beam 300 wide, 2700 to 3300, under two slabs whose surface is at 3300.
    auto& beam = LoadWith<TFakeBeamEDO>(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "SectionHeight": 600, "StartPtTopElev": 3300,
            "EndPtTopElev": 3300, "StartPtBottomElev": 2700, "EndPtBottomElev": 2700},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 300, "bottom": 2700, "top": 3300}},)" +
        Slab(2, -500, 3000, 3300, 100) + ", " + Slab(3, 3000, 6500, 3300, 120));
    (void)beam;
    EXPECT_NEAR(GetBeamOverhighTopElev(Record(1), 0, 0), 3180, 1e-6);
}

TEST_F(TSlabTopTest, SlopedSlabElevationByCrossingMode)
{
    // The slab rises 1 in 10 from x = 1000 (3000) to x = 5000 (3400); the
    // wall's top follows the same slope, so the slab rests on it.
    LoadWith(Wall(2900, 3500) + ", " + Slab(2, 1000, 5000, 3000, 100, 0.1));
    const double vertical = 100 * std::sqrt(1.01);  // thickness x the surface's slope factor
    struct Case {
        int mode;
        double elev;
    };
    const Case cases[] = {{0, 3200}, {1, 3400}, {2, 3000}, {3, 3200}};
    for (const Case& c : cases) {
        EXPECT_NEAR(GetFaceElevAtLineCrossing(Record(1), Record(2), c.mode), c.elev, 1e-6) << c.mode;
        EXPECT_NEAR(GetFaceElevAtMidLineCrossing(Record(1), Record(2), c.mode), c.elev, 1e-6) << c.mode;
        EXPECT_NEAR(GetWallTopUnderSlab(Record(1), c.mode, 0), c.elev - vertical, 1e-6) << c.mode;
    }
    EXPECT_THROW(GetFaceElevAtLineCrossing(Record(1), Record(2), 4), EQTKAssertionFailed);
}

TEST_F(TSlabTopTest, WallLineInsideTheSlabReadsAtItsEnds)
{
    // The slab reaches past both wall ends: the middle line has no crossing
    // with the outline and is read over its whole length.
    LoadWith(Wall(2400, 3000) + ", " + Slab(2, -1000, 7000, 2300, 100, 0.1));
    EXPECT_NEAR(GetFaceElevAtLineCrossing(Record(1), Record(2), 1), 3000, 1e-6);
    EXPECT_NEAR(GetFaceElevAtLineCrossing(Record(1), Record(2), 2), 2400, 1e-6);
}

TEST_F(TSlabTopTest, ScaffoldHeightToSlabBottom)
{
    struct Case {
        const char* name;
        std::string slabs;
        TVRMCustomLine2d line;
        double height;
        bool endProps = true;
    };
    const Case cases[] = {
        {"no slab: the wall's higher top", "", TVRMCustomLine2d({0, 0}, {6000, 0}), 3600},
        {"a level slab (type 20) over the line: its underside", Slab(2, -500, 6500, 3700, 120, 0.0, 20),
         TVRMCustomLine2d({0, 0}, {6000, 0}), 3580},
        {"a level slab (type 20) away from the line: the top", Slab(2, -500, 6500, 3700, 120, 0.0, 20),
         TVRMCustomLine2d({0, 3000}, {6000, 3000}), 3600},
        {"tops on the shape only: the shape's higher top", "", TVRMCustomLine2d({0, 0}, {6000, 0}), 3600, false},
        {"tops on the shape only, a slab over the line", Slab(2, -500, 6500, 3700, 120, 0.0, 20),
         TVRMCustomLine2d({0, 0}, {6000, 0}), 3580, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWith(Wall(3000, 3600, 0, c.endProps) + (c.slabs.empty() ? "" : ", " + c.slabs));
        EXPECT_NEAR(GetScaffoldHeightToSlabBottom(Record(1), c.line, 0), c.height, 1e-6);
        // The wall's top by mode reads the same ends.
        EXPECT_NEAR(GetWallTopByMode(Record(1), 1), 3600, 1e-6);
        EXPECT_NEAR(GetWallTopByMode(Record(1), 0), 3300, 1e-6);
        TearDown();
    }
}

TEST_F(TSlabTopTest, WallCrossingFaceNeedsTwoCrossings500Apart)
{
    struct Case {
        double width;
        bool crossing;
    };
    const Case cases[] = {{500, true}, {499, false}, {8000, false}};
    for (const Case& c : cases) {
        LoadWith(Wall(3000, 3000) + ", " + Slab(2, 1000, 1000 + c.width, 3100, 120));
        EXPECT_EQ(IsWallCrossingFace(Record(1), Record(2)), c.crossing) << c.width;
        TearDown();
    }
}

}  // namespace
