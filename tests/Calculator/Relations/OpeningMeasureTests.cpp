// Measures of openings for finish rules: the length of an opening's edges
// inside a finish face (the sill by the opening's height above the floor),
// the reveal depth to a finish and the reveal area within a skirt.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Relations/RelationFixtures.h"
#include "tests/Support/TestBuilding.h"

using namespace relations_test;

namespace {

constexpr double CTol = 1e-6;

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

Ref<IQTKSectionPoly> Section(double x0, double y0, double x1, double y1)
{
    return MakeRef<TQTKSectionPoly>(std::make_unique<TVRMMultiPolygon2d>(Rect(x0, y0, x1, y1)));
}

// A wall-face finish (36) on wall 1's left face (y = 120), 20 thick.
std::string Finish(int id, int parent, const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 36, "floor": 1, "parent": )" + std::to_string(parent) +
           R"(, "props": {"Thickness": 20)" + (props.empty() ? "" : ", " + props) + R"(}, "shape": )" +
           LineShape(0, 120, 6000, 120) + "}";
}

// ---------------------------------------------------------------------------
// GetHollowSideLength: a 1500 x 1800 window at 750-2250 along a 6000 wall,
// from 900 to 2700, inside a finish face polygon.

TEST(TOpeningMeasureTest, HollowSideLengthCountsTheSillAboveTheFloor)
{
    struct {
        const char* name;
        double aboveFloor;
        TVRMMultiPolygon2d face;
        double expected;
    } cases[] = {{"OnTheFloorInTheWholeFace", 0, Rect(0, 0, 6000, 3000), 1500 + 2 * 1800},
                 {"AboveTheFloorInTheWholeFace", 900, Rect(0, 0, 6000, 3000), 2 * 1500 + 2 * 1800},
                 {"OnTheFloorInTheLowerFace", 0, Rect(0, 0, 6000, 1800), 2 * 900},
                 {"AboveTheFloorInTheLowerFace", 900, Rect(0, 0, 6000, 1800), 1500 + 2 * 900},
                 {"FaceBesideTheWindow", 900, Rect(3000, 0, 6000, 3000), 0}};
    for (const auto& c : cases) {
        auto building = TTestBuilding::FromElements(
            "[" + Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," +
            Opening(2, 5, 1, 1500, 1500, 1800, 900, R"("AboveFloorHeight": )" + Num(c.aboveFloor)) + "," +
            Finish(3, 1) + "]");
        building->Activate();
        EXPECT_NEAR(GetHollowSideLength(building->Record(2), building->Record(3), &c.face), c.expected, CTol) << c.name;
    }
}

// A ribbon window's sill counts when its bottom is above the floor's
// structural elevation (0).
TEST(TOpeningMeasureTest, HollowSideLengthOfARibbonWindow)
{
    struct {
        const char* name;
        double bottom;
        double expected;
    } cases[] = {{"AboveTheFloor", 900, 2 * 3000 + 2 * 1500}, {"OnTheFloor", 0, 3000 + 2 * 1500}};
    for (const auto& c : cases) {
        auto building = TTestBuilding::FromElements("[" + Line(1, 0, 0, 0, 6000, 0, 240, 120) + "," +
                                                    Line(2, 8, 3000, 0, 6000, 0, 120, 60, c.bottom, c.bottom + 1500) +
                                                    "," + Finish(3, 1) + "]");
        building->Activate();
        TFakeEDOScope scope;
        scope.Attach<TFakeRibbonOpeningEDO>(building->DrawObj(2)).section =
            Section(3000, c.bottom, 6000, c.bottom + 1500);
        const TVRMMultiPolygon2d face = Rect(0, 0, 6000, 3000);
        EXPECT_NEAR(GetHollowSideLength(building->Record(2), building->Record(3), &face), c.expected, CTol) << c.name;
    }
}

// ---------------------------------------------------------------------------
// GetHoleSideArea: a ribbon window in a 240 wall (faces at y = +-120) and a
// finish 20 thick on its left face.

// A ribbon window whose frame object reports it is not set (or has none).
class TFramedDrawObj : public TQTKElementDrawObj, public IQTKOpeningFrameOwner {
public:
    TFramedDrawObj(TQTKElementDrawObjData data, bool hasFrame, bool set)
        : TQTKElementDrawObj(std::move(data)), frame_(hasFrame ? MakeRef<TFrame>(set) : nullptr)
    {
    }
    IQTKOpeningFrame* GetOpeningFrame() const override { return frame_.get(); }

private:
    class TFrame : public TInterfacedObject, public IQTKOpeningFrame {
    public:
        explicit TFrame(bool set) : set_(set) {}
        bool IsSet() const override { return set_; }

    private:
        bool set_;
    };
    Ref<TFrame> frame_;
};

struct THoleSideCase {
    const char* name;
    int type;            // 8 ribbon window (with a frame), 9 ribbon opening
    bool hasFrame, set;  // the draw object's frame object
    int outer;           // the finish's "InnerOuterFlag"
    bool block;
    double lineY;  // the window's calculation middle line
    double expected;
};

class THoleSideTest : public ::testing::TestWithParam<THoleSideCase> {};

TEST_P(THoleSideTest, RevealDepth)
{
    const THoleSideCase& c = GetParam();
    TTestBuilding building;
    TQTKElementDrawObj* wall = building.AddLine(1, 0, 0, 0, 6000, 0, 240, 0, 3000, {{"Thickness", TRDXValue(240.0)}});
    building.SetNextDrawObjMaker([&c](TQTKElementDrawObjData data) {
        return Ref<TQTKElementDrawObj>(new TFramedDrawObj(std::move(data), c.hasFrame, c.set));
    });
    TQTKElementDrawObj* ribbon =
        building.AddLine(2, c.type, 1000, 0, 4000, 0, 120, 900, 2400, {{"FrameThickness", TRDXValue(60.0)}});
    TQTKElementDrawObj* finish =
        building.AddLine(3, 36, 0, 120, 6000, 120, 20, 0, 3000,
                         {{"Thickness", TRDXValue(20.0)}, {"InnerOuterFlag", TRDXValue(c.outer)}});
    building.SetParent(ribbon, wall);
    building.SetParent(finish, wall);
    building.Activate();
    TFakeEDOScope scope;
    scope.Attach<TFakeRibbonOpeningEDO>(ribbon).midLine = TVRMCustomLine2d({1000, c.lineY}, {4000, c.lineY});
    scope.Attach<TFakeWallAttachEDO>(finish).hostSideLine = TVRMCustomLine2d({0, 120}, {6000, 120});
    EXPECT_NEAR(GetHoleSideArea(building.Record(2), building.Record(3), c.block), c.expected, CTol);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, THoleSideTest,
    ::testing::Values(
        // Frame object not set: the wall's thickness and the finish's layer inside, nothing outside.
        THoleSideCase{"FrameNotSetInner", 8, true, false, 0, true, 0, 240 + 20},
        THoleSideCase{"FrameNotSetInnerPlastering", 8, true, false, 0, false, 0, 240},
        THoleSideCase{"FrameNotSetOuter", 8, true, false, 1, true, 0, 0},
        // Otherwise the distance to the finish's side of the wall, less half the frame.
        THoleSideCase{"FrameSetOnTheAxis", 8, true, true, 0, true, 0, 120 - 30 + 20},
        THoleSideCase{"NoFrameObjectOnTheAxis", 8, false, false, 0, true, 0, 120 - 30 + 20},
        THoleSideCase{"FrameWithinHalfItsThicknessOfTheFace", 8, false, false, 0, true, 95, 0},
        THoleSideCase{"FrameJustBeyondHalfItsThickness", 8, false, false, 0, true, 89, 31 - 30 + 20},
        THoleSideCase{"RibbonOpeningHasNoFrame", 9, false, false, 0, true, 95, 25 + 20}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// GetSkirtHoleSideArea: a skirt 100 high along the wall's left face, a
// ribbon opening 1000 long in the wall, reveal depth 120 + 20 (the distance
// of its line on the wall's axis to the face, and the skirt's layer).

TEST(TOpeningMeasureTest, SkirtRevealsAtTheOpeningsEnds)
{
    struct {
        const char* name;
        double x0, x1;  // the opening's line
        double expected;
    } cases[] = {{"InTheMiddle", 2000, 3000, 100 * 2 * 140},
                 {"ReversedInTheMiddle", 3000, 2000, 100 * 2 * 140},
                 {"OverTheSkirtsEnd", 5500, 6500, 100 * 1 * 140},
                 // The start 800 inside, the end 200 beyond the end.
                 {"StartInsideEndBeyond", 5200, 6200, 100 * 1 * 140},
                 {"BeyondTheSkirt", 7000, 8000, 0}};
    for (const auto& c : cases) {
        TTestBuilding building;
        TQTKElementDrawObj* wall =
            building.AddLine(1, 0, 0, 0, 9000, 0, 240, 0, 3000, {{"Thickness", TRDXValue(240.0)}});
        TQTKElementDrawObj* ribbon =
            building.AddLine(2, 9, c.x0, 0, c.x1, 0, 120, 0, 2100, {{"FrameThickness", TRDXValue(60.0)}});
        TQTKElementDrawObj* skirt = building.AddLine(3, 38, 0, 120, 6000, 120, 20, 0, 100,
                                                     {{"Thickness", TRDXValue(20.0)}, {"Height", TRDXValue(100.0)}});
        building.SetParent(ribbon, wall);
        building.SetParent(skirt, wall);
        building.Activate();
        TFakeEDOScope scope;
        scope.Attach<TFakeRibbonOpeningEDO>(ribbon).midLine = TVRMCustomLine2d({c.x0, 0}, {c.x1, 0});
        auto& skirtEdo = scope.Attach<TFakeWallAttachEDO>(skirt);
        skirtEdo.hostSideLine = skirtEdo.calcLine = TVRMCustomLine2d({0, 120}, {6000, 120});
        EXPECT_NEAR(GetSkirtHoleSideArea(building.Record(3), building.Record(2), true), c.expected, CTol) << c.name;
    }
}

}  // namespace
