// The composite line element (strip foundations, trenches): the section
// minimum offset, unit lines laid across straight, joined and arc elements,
// the units' sections along the joined middle line, the solid as the union of
// the units, and the units laid again whenever the element is prepared.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoComplexLineEntCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

constexpr double CTol = 1e-6;

struct TUnit {
    int id;
    double width, bottom, top, offset;
    int type = 81;
};

struct TStrip {
    int id;
    double x0, y0, x1, y1;
    double width = 1000, axisOffset = 500;
    std::vector<TUnit> units;
    int type = 51;
};

// Strip foundations from 0 to 600 with their units laid along the same axis.
std::string Strips(std::initializer_list<TStrip> strips)
{
    std::ostringstream text;
    text << "[";
    bool first = true;
    const auto line = [&](const TStrip& s, double width, double axisOffset, double bottom, double top) {
        text << R"("shape": {"kind": "line", "start": [)" << s.x0 << ", " << s.y0 << "], \"end\": [" << s.x1 << ", "
             << s.y1 << "], \"width\": " << width << ", \"axisOffset\": " << axisOffset << ", \"bottom\": " << bottom
             << ", \"top\": " << top << "}}";
    };
    for (const TStrip& s : strips) {
        text << (first ? "" : ",") << R"({"id": )" << s.id << R"(, "type": )" << s.type << R"(, "props": {"Width": )"
             << s.width << R"(, "AxisOffset": )" << s.axisOffset << "}, ";
        line(s, s.width, s.axisOffset, 0, 600);
        first = false;
        for (const TUnit& u : s.units) {
            text << R"(, {"id": )" << u.id << R"(, "type": )" << u.type << R"(, "parent": )" << s.id
                 << R"(, "props": {"Offset": )" << u.offset << R"(, "BottomElev": )" << u.bottom << "}, ";
            line(s, u.width, u.width / 2, u.bottom, u.top);
        }
    }
    text << "]";
    return text.str();
}

// A unit that notes what its composite lays for it.
class TTestUnitEDO final : public TQTKCalculatorEDO, public IQTKComplexLineEntUnitCalcEDO {
public:
    explicit TTestUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    void RebuildFromParent() override
    {
        const IQTKElementDrawObj* parent = GetElementDrawObj()->GetParentDrawObj();
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(parent->GetRecord(), false);
        auto* composite = dynamic_cast<IQTKHasSectionInfoComplexLineEntCalcEDO*>(edo.get());
        ++rebuilds;
        line = composite->GetUnitAxisLine(0, 1000, 500);
        volume = composite->BuildSectionSolid(GetElementDrawObj()->GetRecord())->GetVolume();
    }
    int rebuilds = 0;
    TVRMCustomLine2d line;
    double volume = 0;
};

class TComplexLineEntTest : public TGeometryModelTest {
protected:
    void TearDown() override
    {
        for (IQTKElementDrawObj* drawObj : attached_)
            drawObj->SetCalcEDO(nullptr);
        TGeometryModelTest::TearDown();
    }
    IQTKHasSectionInfoComplexLineEntCalcEDO& Composite(int id)
    {
        edos_.push_back(GetCalcEDO(Record(id), true));
        auto* composite = dynamic_cast<IQTKHasSectionInfoComplexLineEntCalcEDO*>(edos_.back().get());
        EXPECT_NE(composite, nullptr) << id;
        return *composite;
    }
    TTestUnitEDO& AttachUnit(int id)
    {
        IQTKElementDrawObj* drawObj = DrawObj(id);
        Ref<TTestUnitEDO> edo(new TTestUnitEDO(drawObj));
        edo->SetPrepareState(CQTKEdoPrepared);
        drawObj->SetCalcEDO(static_cast<IQTKCalculatorEDO*>(edo.get()));
        attached_.push_back(drawObj);
        return *edo;
    }
    std::vector<Ref<IQTKCalculatorEDO>> edos_;
    std::vector<IQTKElementDrawObj*> attached_;
};

void ExpectLine(const TVRMCustomLine2d& line, TVRMPoint2d start, TVRMPoint2d end)
{
    EXPECT_NEAR(line.StartPt().x, start.x, CTol);
    EXPECT_NEAR(line.StartPt().y, start.y, CTol);
    EXPECT_NEAR(line.EndPt().x, end.x, CTol);
    EXPECT_NEAR(line.EndPt().y, end.y, CTol);
}

TEST_F(TComplexLineEntTest, FactoryGivesStripFoundationsAndTrenchesTheCompositeBranch)
{
    Load(Strips({{1, 0, 0, 6000, 0, 1000, 500, {{2, 1000, 0, 300, 0}, {3, 600, 300, 600, 0}}},
                 {4, 0, 5000, 6000, 5000, 1000, 500, {{5, 1000, 0, 600, 0, 84}}, 80}}));
    for (int id : {1, 4}) {
        SCOPED_TRACE(id);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(id), true);
        EXPECT_NE(dynamic_cast<TQTKHasSectionInfoComplexLineEntCalcEDO*>(edo.get()), nullptr);
        EXPECT_NE(dynamic_cast<IQTKHasSectionInfoWithLengthRateCalcEDO*>(edo.get()), nullptr);
        EXPECT_NEAR(dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo.get())->GetMidLine()->Length(), 6000, CTol);
    }
    // The two units of the strip stacked: 1000 x 300 under 600 x 300, 6000 long.
    const double stacked = (1000.0 * 300 + 600.0 * 300) * 6000;
    const Ref<IQTKCalculatorEDO> strip = GetCalcEDO(Record(1), true);
    const TVRMPolyhedron3d* solid = strip->GetOriginalPolyhedron();
    EXPECT_NEAR(solid->GetVolume(), stacked, 1.0);
    auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(strip.get());
    EXPECT_EQ(line->GetStartFaceIndex(), solid->GetFaceCount() - 2);
    EXPECT_EQ(line->GetEndFaceIndex(), solid->GetFaceCount() - 1);
    // The relation solid is the units' union.
    EXPECT_NEAR(strip->GetRelationPolyhedronIntf()->GetPolyhedron()->GetVolume(), stacked, 1.0);
    const Ref<IQTKCalculatorEDO> trench = GetCalcEDO(Record(4), true);
    EXPECT_NEAR(trench->GetOriginalPolyhedron()->GetVolume(), 1000.0 * 600 * 6000, 1.0);
}

TEST_F(TComplexLineEntTest, SectionMinOffset)
{
    Load(Strips({{1, 0, 0, 6000, 0, 1000, 500, {{2, 1000, 0, 300, 0}, {3, 600, 300, 600, 0}}},
                 {4, 0, 5000, 6000, 5000, 1000, 300, {{5, 1000, 0, 300, 0}, {6, 600, 300, 600, 200}}},
                 {7, 0, 10000, 6000, 10000, 1000, 300, {}},
                 // A unit of another kind does not count.
                 {8, 0, 15000, 6000, 15000, 1000, 500, {{9, 1000, 0, 300, 0}, {10, 200, 300, 600, -900, 84}}}}));
    struct Case {
        int id;
        double expected;
    };
    const Case cases[] = {
        {1, 0},     // centred units: 500 + (0 - 1000 / 2)
        {4, -200},  // 300 + min(0 - 500, 200 - 300)
        {7, 300},   // no units: "AxisOffset"
        {8, 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Composite(c.id).GetSectionMinOffset(), c.expected) << c.id;
}

// A free straight strip 1000 wide, its left face 300 left of the axis y = 0
// (middle line at y = -200): a unit line Offset to the left of the axis runs
// at y = Offset over the whole length.
TEST_F(TComplexLineEntTest, UnitLinesOfAStraightStrip)
{
    Load(Strips({{1, 0, 0, 6000, 0, 1000, 300, {{2, 1000, 0, 300, 0}}}}));
    IQTKHasSectionInfoComplexLineEntCalcEDO& strip = Composite(1);
    for (double offset : {300.0, -200.0, -700.0, -100.0, 1000.0}) {
        SCOPED_TRACE(offset);
        ExpectLine(strip.GetUnitAxisLine(offset, 1000, 300), {0, offset}, {6000, offset});
    }
    // The lower unit's side lines as its object lays them (P = 300, width 1000): the strip's faces.
    ExpectLine(strip.GetUnitAxisLine(300, 1000, 300), {0, 300}, {6000, 300});
    ExpectLine(*strip.GetLeftLine(), {0, 300}, {6000, 300});
    ExpectLine(strip.GetUnitAxisLine(300 - 1000, 1000, 300), {0, -700}, {6000, -700});
    ExpectLine(*strip.GetRightLine(), {0, -700}, {6000, -700});
}

// Two strips 1000 wide on centred axes meeting in an L at (6000, 0): the end
// edges are the mitre x + y = 6000, so a unit line follows it.
TEST_F(TComplexLineEntTest, UnitLinesFollowTheMitreOfAnL)
{
    Load(Strips({{1, 0, 0, 6000, 0, 1000, 500, {{2, 1000, 0, 600, 0}}},
                 {3, 6000, 0, 6000, 4000, 1000, 500, {{4, 1000, 0, 600, 0}}}}));
    IQTKHasSectionInfoComplexLineEntCalcEDO& a = Composite(1);
    IQTKHasSectionInfoComplexLineEntCalcEDO& b = Composite(3);
    struct Case {
        IQTKHasSectionInfoComplexLineEntCalcEDO* strip;
        double offset;
        TVRMPoint2d start, end;
    };
    const Case cases[] = {
        {&a, 250, {0, 250}, {5750, 250}},     // inner side: short of the corner
        {&a, -250, {0, -250}, {6250, -250}},  // outer side: past it
        {&a, 0, {0, 0}, {6000, 0}},
        {&b, 250, {5750, 250}, {5750, 4000}},  // B runs up: its left is -x
        {&b, -250, {6250, -250}, {6250, 4000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        ExpectLine(c.strip->GetUnitAxisLine(c.offset, 1000, 500), c.start, c.end);
    }
    // The units' sections along the joined lines: the two trapezoids of the L,
    // 1000 x (5500 + 6500) / 2 and 1000 x (3500 + 4500) / 2, 600 high, meeting
    // on the mitre without overlap.
    const std::unique_ptr<TVRMPolyhedron3d> pa = a.BuildSectionSolid(Record(2));
    const std::unique_ptr<TVRMPolyhedron3d> pb = b.BuildSectionSolid(Record(4));
    EXPECT_NEAR(pa->GetVolume(), 1000.0 * 6000 * 600, 10.0);
    EXPECT_NEAR(pb->GetVolume(), 1000.0 * 4000 * 600, 10.0);
    auto both = pa->Clone();
    TVRMNewPolyBooleanOperator::BooleanOperate(*both, *pb, CVRMBoolUnion);
    EXPECT_NEAR(both->GetVolume(), 1000.0 * 10000 * 600, 10.0);
    // The element's own solid is the same piece.
    EXPECT_NEAR(a.GetOriginalPolyhedron()->GetVolume(), pa->GetVolume(), 10.0);
    // Not a unit of this element, or no element: an empty solid, not a failure.
    EXPECT_FALSE(a.BuildSectionSolid(nullptr)->HasFaces());
}

// A quarter arc strip about (0, 0), radius 5000, 1000 wide on its axis: the
// start edge is the x axis, which a concentric unit line meets twice.
TEST_F(TComplexLineEntTest, UnitLinesOfAnArcStrip)
{
    const double r = 5000, h = r / std::sqrt(2.0);
    std::ostringstream text;
    text.precision(17);
    text << R"([{"id": 1, "type": 51, "props": {"Width": 1000, "AxisOffset": 500}, "shape": {"kind": "line",
        "start": [5000, 0], "end": [0, 5000], "mid": [)"
         << h << ", " << h << R"(], "width": 1000, "axisOffset": 500, "bottom": 0, "top": 600}}])";
    Load(text.str());
    IQTKHasSectionInfoComplexLineEntCalcEDO& strip = Composite(1);
    // Counter-clockwise: the centre is on the left, the left line is the inner one (radius 4500).
    struct Case {
        double offset, radius;
    };
    const Case cases[] = {
        {1000, 4000},   // inside the inner line: the crossing nearer the inner line's start
        {0, 5000},      // between the lines: the crossing nearer the edge's middle
        {-1000, 6000},  // outside the outer line: the crossing nearer the outer line's start
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        const TVRMCustomLine2d line = strip.GetUnitAxisLine(c.offset, 1000, 500);
        ASSERT_TRUE(line.IsArc());
        EXPECT_NEAR(line.Radius(), c.radius, CTol);
        ExpectLine(line, {c.radius, 0}, {0, c.radius});
        EXPECT_NEAR(line.Length(), M_PI * c.radius / 2, 1e-3);
    }
}

TEST_F(TComplexLineEntTest, UnitsAreLaidAgainAfterEveryPreparation)
{
    Load(Strips(
        {{1, 0, 0, 6000, 0, 1000, 500, {{2, 1000, 0, 300, 0}, {3, 600, 300, 600, 0}, {4, 200, 600, 900, 0, 84}}}}));
    TTestUnitEDO& lower = AttachUnit(2);
    TTestUnitEDO& upper = AttachUnit(3);
    TTestUnitEDO& other = AttachUnit(4);  // a trench unit under a strip foundation is not its unit
    const Ref<IQTKCalculatorEDO> strip = GetCalcEDO(Record(1), true);
    EXPECT_EQ(lower.rebuilds, 1);
    EXPECT_EQ(upper.rebuilds, 1);
    EXPECT_EQ(other.rebuilds, 0);
    ExpectLine(lower.line, {0, 0}, {6000, 0});
    EXPECT_NEAR(lower.volume, 1000.0 * 300 * 6000, 1.0);
    EXPECT_NEAR(upper.volume, 600.0 * 300 * 6000, 1.0);
    strip->Prepare(Record(1));
    EXPECT_EQ(lower.rebuilds, 2);
    EXPECT_EQ(upper.rebuilds, 2);
}

}  // namespace
