// Ribbon windows and ribbon openings (types 8, 9): the calculation band over
// the walls they cross, relation band, cutting solids by frame, outline on a
// wall in both wall directions, end heights under beams, filling-area
// details, and the width and height calculators of a chain of segments.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKRibbonUtils.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Interface.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/CalcFrame/QtyTable.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr double CTol = 1e-6;
constexpr double CVolTol = 1.0;

std::string Num(double v)
{
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

std::string Pt(double x, double y)
{
    std::string text = "[";
    text += Num(x);
    text += ", ";
    text += Num(y);
    text += "]";
    return text;
}

// A wall along (x0,y0)-(x1,y1), from 0 to 3000.
std::string Wall(int id, double x0, double y0, double x1, double y1, double thickness = 240, double axisOffset = 120,
                 const std::string& arc = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": )" + Num(thickness) +
           R"(, "AxisOffset": )" + Num(axisOffset) +
           R"(, "BottomElev": 0, "TopElev": 3000}, "shape": {"kind": "line", "start": )" + Pt(x0, y0) + R"(, "end": )" +
           Pt(x1, y1) + arc + "}}";
}

// A ribbon segment (type 8 window, 9 opening) 100 wide on its axis, from Bottom to Top; Parent: the previous segment.
std::string RibbonJson(int id, int type, double x0, double y0, double x1, double y1, int parent = 0,
                       double bottom = 900, double top = 2400, const std::string& props = "",
                       const std::string& arc = "", double width = 100)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1)" +
           (parent ? R"(, "parent": )" + std::to_string(parent) : std::string()) + R"(, "props": {)" + props +
           R"(}, "shape": {"kind": "line", "start": )" + Pt(x0, y0) + R"(, "end": )" + Pt(x1, y1) + R"(, "width": )" +
           Num(width) + R"(, "axisOffset": )" + Num(width / 2) + R"(, "bottom": )" + Num(bottom) + R"(, "top": )" +
           Num(top) + arc + "}}";
}

// A beam along x from X0 to X1 on y = 0, 200 wide, from Bottom to Top.
std::string Beam(int id, double x0, double x1, double bottom, double top)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 15, "floor": 1, "props": {"SectionWidth": 200, "SectionHeight": )" + Num(top - bottom) +
           R"(, "TopElev": )" + Num(top) + R"(}, "shape": {"kind": "line", "start": )" + Pt(x0, 0) + R"(, "end": )" +
           Pt(x1, 0) + R"(, "width": 200, "bottom": )" + Num(bottom) + R"(, "top": )" + Num(top) + "}}";
}

class TRibbonTest : public ::testing::Test {
protected:
    void Load(const std::string& elements, bool detailMode = false)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate(detailMode);
    }
    void TearDown() override
    {
        SetDeductDetailContainer(nullptr);
        building_.reset();
    }
    IRDXRecord* Record(int id) const { return building_->Record(id); }
    Ref<IQTKRibbonOpeningCalcEDO> Ribbon(int id) const
    {
        auto edo = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(Record(id), true));
        EXPECT_TRUE(edo) << "element " << id;
        return edo;
    }
    const TVRMMultiPolygon2d& Outline(int id) const { return building_->DrawObj(id)->GetShape()->GetOutline(); }
    const TVRMPolyhedron3d* Solid(int id) const { return GetCalcEDO(Record(id), true)->GetOriginalPolyhedron(); }

    std::unique_ptr<TTestBuilding> building_;
};

// ---------------------------------------------------------------------------
// The element objects

TEST_F(TRibbonTest, FactoryMakesRibbonWindowsAndOpenings)
{
    Load(RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 9, 0, 5000, 3000, 5000));
    const auto window = GetCalcEDO(Record(1), true);
    const auto opening = GetCalcEDO(Record(2), true);
    EXPECT_TRUE(RefCast<IQTKRibbonWinCalcEDO>(window));
    EXPECT_TRUE(RefCast<IQTKWallHollowCalcEDO>(window));
    EXPECT_TRUE(RefCast<IQTKRibbonOpeningCalcEDO>(opening));
    EXPECT_FALSE(RefCast<IQTKRibbonWinCalcEDO>(opening));
    EXPECT_TRUE(RefCast<IQTKWallHollowCalcEDO>(opening));
}

struct TBandCase {
    const char* name;
    std::string elements;
    double width, axisOffset;
};

TEST_F(TRibbonTest, CalculationBandSpansTheCrossedWalls)
{
    // Ribbon 1 (100 wide) along +x on y = 0 from 0 to 3000. Arc: centre at
    // the origin, radius 300, a quarter counter-clockwise.
    const std::string arc = R"(, "radius": 300, "arcKind": 1)";
    // clang-format off
    const TBandCase cases[] = {
        {"centred on a 240 wall: EL = ER = 120, T = 240, O = EL + 1.5 T, B = 4 T",
         RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + Wall(2, -1000, 0, 4000, 0), 960, 480},
        {"on an arc of radius 300, 2 T > R: B = min(T + 60, R - 15), O = min(2 B / 3 + EL, R - 25)",
         RibbonJson(1, 8, 300, 0, 0, 300, 0, 900, 2400, "", arc) + ", " + Wall(2, 300, 0, 0, 300, 240, 120, arc), 285, 275},
        {"no crossed wall: T = W", RibbonJson(1, 8, 0, 0, 3000, 0), 400, 200},
        {"a perpendicular wall is not spanned", RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + Wall(2, 1500, -2000, 1500, 2000), 400,
         200},
        {"wall 100 to the right, axis offset 120: EL 50, ER 220", RibbonJson(1, 8, 0, 0, 3000, 0) + ", " +
         Wall(2, -1000, -100, 4000, -100), 4 * 270, 50 + 1.5 * 270},
        {"wall drawn the other way, its body on the ribbon's left: EL 240, ER 50",
         RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + Wall(2, 4000, 0, -1000, 0, 240, 0), 4 * 290, 240 + 1.5 * 290},
    };
    // clang-format on
    for (const TBandCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.elements);
        const auto ribbon = Ribbon(1);
        ASSERT_TRUE(ribbon);
        auto* object = dynamic_cast<IQTKLineEdoInfo*>(ribbon.get());
        ASSERT_TRUE(object);
        // Outside a layout the segment shows its drawn width.
        EXPECT_NEAR(object->GetWidth(), 100, CTol);
        EXPECT_FALSE(ribbon->IsRecalculating());
        // The plan polygon follows the band: width x length.
        const double length = ribbon->GetMidLine()->Length();
        EXPECT_NEAR(ribbon->GetPlanPolygon()->Area(), c.width * length, 1e-3 * c.width * length);
        // Its left edge lies the band axis offset left of the axis.
        const TVRMCustomLine2d& axis = dynamic_cast<const IQTKLineShape*>(building_->DrawObj(1)->GetShape())->GetLine();
        EXPECT_NEAR(TVRMPositionFunc2d::SignedDistanceTo(ribbon->GetLeftLine()->MiddlePoint(), axis, false),
                    -c.axisOffset, 1e-6);
        // The drawn-width lines stay as drawn.
        EXPECT_NEAR(TVRMPositionFunc2d::SignedDistanceTo(ribbon->GetCalcLeftLine()->MiddlePoint(), axis, false), -50,
                    1e-6);
    }
}

TEST_F(TRibbonTest, RelationBandIsTheWholeRibbonWidenedTo120)
{
    // A 100 segment and its child 300 wide: the first widened to 120 (10
    // beyond each face), the second kept; both share one solid.
    Load(RibbonJson(1, 9, 0, 0, 3000, 0) + ", " + RibbonJson(2, 9, 3000, 0, 3000, 3000, 1, 900, 2400, "", "", 300));
    const auto root = GetCalcEDO(Record(1), true)->GetRelationPolyhedronIntf();
    const auto child = GetCalcEDO(Record(2), true)->GetRelationPolyhedronIntf();
    ASSERT_TRUE(root && child);
    const TVRMBox3d box = root->GetPolyhedron()->GetBox();
    EXPECT_NEAR(box.min.y, -60, CTol);
    EXPECT_NEAR(box.min.x, 0, CTol);
    EXPECT_NEAR(box.max.x, 3150, CTol);
    EXPECT_NEAR(box.max.y, 3000, CTol);
    EXPECT_NEAR(box.min.z, 900, CTol);
    EXPECT_NEAR(box.max.z, 2400, CTol);
    // 3000 x 120 and 3000 x 300, overlapping on [2850, 3000] x [-60, 0].
    const double volume = (3000.0 * 120 + 3000.0 * 300 - 150.0 * 60) * 1500;
    EXPECT_NEAR(root->GetPolyhedron()->GetVolume(), volume, CVolTol);
    EXPECT_NEAR(child->GetPolyhedron()->GetVolume(), volume, CVolTol);
}

// ---------------------------------------------------------------------------
// Cutting solids

struct TCutCase {
    const char* name;
    int type;
    std::string props;
    double volume;
};

TEST_F(TRibbonTest, CuttingSolidOfAFreeSegment)
{
    // 3000 long, band 960 wide (on a 240 wall), 900 to 2400. A window's frame
    // of 60 takes 30 off each free end, the bottom and the top.
    // clang-format off
    const TCutCase cases[] = {
        {"window, frame 60", 8, R"("FillingWidth": 60, "FillingHeight": 200)", 2940.0 * 960 * 1440},
        {"window without a frame: the whole solid", 8, R"("FillingWidth": 0, "FillingHeight": 200)", 3000.0 * 960 * 1500},
        {"opening: the whole solid, frame or not", 9, R"("FillingWidth": 60)", 3000.0 * 960 * 1500},
    };
    // clang-format on
    for (const TCutCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(RibbonJson(1, c.type, 0, 0, 3000, 0, 0, 900, 2400, c.props) + ", " + Wall(2, -1000, 0, 4000, 0));
        const auto hollow = RefCast<IQTKWallHollowCalcEDO>(GetCalcEDO(Record(1), true));
        ASSERT_TRUE(hollow);
        EXPECT_NEAR(Solid(1)->GetVolume(), 3000.0 * 960 * 1500, CVolTol);
        const TVRMPolyhedron3d* cut = hollow->GetCutSolid();
        ASSERT_TRUE(cut);
        EXPECT_EQ(hollow->GetCutSolid(), cut) << "built once";
        EXPECT_NEAR(cut->GetVolume(), c.volume, CVolTol);
    }
}

TEST_F(TRibbonTest, CuttingSolidOfAJoinedSegmentKeepsItsEnds)
{
    // A chain of three windows around a corner; the middle one meets a
    // segment at both ends: only the bottom and top strips (30 of 1500 each).
    Load(RibbonJson(1, 8, 0, 0, 3000, 0, 0, 900, 2400, R"("FillingWidth": 60)") + ", " +
         RibbonJson(2, 8, 3000, 0, 3000, 3000, 1, 900, 2400, R"("FillingWidth": 60)") + ", " +
         RibbonJson(3, 8, 3000, 3000, 6000, 3000, 2, 900, 2400, R"("FillingWidth": 60)"));
    const auto middle = Ribbon(2);
    ASSERT_TRUE(middle);
    EXPECT_FALSE(middle->IsStartUnconnected());
    EXPECT_FALSE(middle->IsEndUnconnected());
    const double whole = Solid(2)->GetVolume();
    EXPECT_NEAR(RefCast<IQTKWallHollowCalcEDO>(middle)->GetCutSolid()->GetVolume(), whole * 1440 / 1500, CVolTol);
    // The first one is free at its start: an end strip 30 x 400 goes too.
    const auto first = Ribbon(1);
    EXPECT_TRUE(first->IsStartUnconnected());
    EXPECT_FALSE(first->IsEndUnconnected());
    EXPECT_NEAR(RefCast<IQTKWallHollowCalcEDO>(first)->GetCutSolid()->GetVolume(),
                (Solid(1)->GetVolume() / 1500 - 30.0 * 400) * 1440, CVolTol);
}

// ---------------------------------------------------------------------------
// Outline on a wall

struct TSectionCase {
    const char* name;
    std::string wall;
    double x0, x1;
};

TEST_F(TRibbonTest, OutlineOnAWallInBothDirections)
{
    // The ribbon from x = 0 to 3000, 900 to 2400, in a wall whose middle line
    // starts 1000 before it (same way) or 2000 beyond its end (the other way).
    const TSectionCase cases[] = {
        {"wall the same way", Wall(2, -1000, 0, 4000, 0), 1000, 4000},
        {"wall the other way", Wall(2, 5000, 0, -1000, 0), 2000, 5000},
    };
    for (const TSectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(RibbonJson(1, 9, 0, 0, 3000, 0) + ", " + c.wall);
        const auto ribbon = Ribbon(1);
        const Ref<IQTKSectionPoly> onWall = ribbon->GetSectionPolyOnWall(Record(2));
        ASSERT_TRUE(onWall && onWall->GetPolygon());
        const TVRMBox2d box = onWall->GetPolygon()->Box();
        EXPECT_NEAR(box.min.x, c.x0, CTol);
        EXPECT_NEAR(box.max.x, c.x1, CTol);
        EXPECT_NEAR(box.min.y, 900, CTol);
        EXPECT_NEAR(box.max.y, 2400, CTol);
        EXPECT_NEAR(onWall->GetPolygon()->Area(), 3000.0 * 1500, 1e-3);
        // Without a wall: along the ribbon from its bottom at the start.
        const TVRMBox2d own = ribbon->GetSectionPolyOnWall(nullptr)->GetPolygon()->Box();
        EXPECT_NEAR(own.min.x, 0, CTol);
        EXPECT_NEAR(own.max.x, 3000, CTol);
        EXPECT_NEAR(own.min.y, 0, CTol);
        EXPECT_NEAR(own.max.y, 1500, CTol);
    }
}

// ---------------------------------------------------------------------------
// Width calculator

TEST_F(TRibbonTest, SlopeRate)
{
    const TVRMCustomLine2d line({0, 0}, {3000, 0});
    EXPECT_NEAR(TQTKRibbonWidthCalculator::GetSlopeRate(line, 900, 900), 1.0, CTol);
    EXPECT_NEAR(TQTKRibbonWidthCalculator::GetSlopeRate(line, 4000, 0), 5.0 / 3.0, CTol);
    EXPECT_NEAR(TQTKRibbonWidthCalculator::GetSlopeRate(TVRMCustomLine2d({5, 5}, {5, 5}), 4000, 0), 1.0, CTol);
}

struct TDeductCase {
    const char* name;
    TVRMPolygon2d polygon;
    double solidBottom, solidTop;
    double decrease;
    double endX;  // where the segment's band lines end afterwards
};

TEST_F(TRibbonTest, WidthCalculatorDeductsPolygons)
{
    // Ribbon 0..3000 on y = 0 (drawn 100 wide, 900 to 2400, free at both
    // ends); a polygon with a solid between two elevations deducts.
    const auto rect = [](double x0, double y0, double x1, double y1) {
        return TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    };
    // clang-format off
    const TDeductCase cases[] = {
        {"a wall over the last 1000: the free end moves to its face", rect(2000, -500, 3500, 500), 0, 3000, 1000, 2000},
        {"over the middle 1000: the ends stay", rect(1000, -500, 2000, 500), 0, 3000, 1000, 3000},
        {"touching the outline only: nothing", rect(3000, -500, 4000, 500), 0, 3000, 0, 3000},
        {"a solid above the bottom faces: nothing", rect(2000, -500, 3500, 500), 2500, 3000, 0, 3000},
    };
    // clang-format on
    for (const TDeductCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + Wall(2, 2500, -2000, 2500, 2000, 1000, 500));
        const auto ribbon = Ribbon(1);
        const Ref<IQTKRibbonWidthCalculator> width = ribbon->GetWidthCalculator();
        ASSERT_TRUE(width);
        EXPECT_EQ(ribbon->GetWidthCalculator(), width) << "built once";
        ASSERT_EQ(width->GetWidthInfos().size(), 1u);
        EXPECT_TRUE(width->GetWidthInfos()[0].StartFree);
        EXPECT_TRUE(width->GetWidthInfos()[0].EndFree);
        EXPECT_NEAR(width->GetNullLength(), 3000, CTol);
        TVRMMultiPolygon2d polygon;
        polygon.Add(c.polygon);
        const auto solid = TVRMPolyhedron3d::CreatePrism(polygon, c.solidBottom, c.solidTop - c.solidBottom);
        EXPECT_NEAR(width->DeductPolygon(&polygon, solid.get(), Record(2)), c.decrease, CTol);
        EXPECT_NEAR(width->GetNullLength(), 3000 - c.decrease, CTol);
        EXPECT_NEAR(ribbon->GetMidLine()->EndPt().x, c.endX, CTol);
        EXPECT_NEAR(Solid(1)->GetBox().max.x, c.endX, CTol);
    }
}

TEST_F(TRibbonTest, WidthCalculatorOfANonRootSegmentIsEmpty)
{
    Load(RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1));
    EXPECT_EQ(GetRibbonRootRecord(Record(2)).get(), Record(1));
    EXPECT_EQ(GetSameTypeChildRecord(Record(1)).get(), Record(2));
    EXPECT_FALSE(GetSameTypeChildRecord(Record(2)));
    const auto child = Ribbon(2)->GetWidthCalculator();
    EXPECT_TRUE(child->GetWidthInfos().empty());
    EXPECT_NEAR(child->GetNullLength(), 0, CTol);
    const auto root = Ribbon(1)->GetWidthCalculator();
    ASSERT_EQ(root->GetWidthInfos().size(), 2u);
    EXPECT_NEAR(root->GetNullLength(), 6000, 1.0);
}

TEST_F(TRibbonTest, WidthCalculatorWritesLengthDetails)
{
    // In detail mode: the ribbon's own length when built, one detail per
    // deducting element with what it covered.
    Load(RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + Wall(2, 2500, -2000, 2500, 2000, 1000, 500), true);
    TQTKDeductDetailContainer container;
    SetDeductDetailContainer(&container);
    const auto width = Ribbon(1)->GetWidthCalculator();
    ASSERT_EQ(container.GetCount(), 1);
    const auto* own = dynamic_cast<const TQTKLine2dDeductDetail*>(container.GetItems(0));
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->GetIsOriginalQty());
    EXPECT_NEAR(own->GetLength(), 3000, CTol);
    width->DeductPolygon(&Outline(2), Solid(2), Record(2));
    SetDeductDetailContainer(nullptr);
    ASSERT_EQ(container.GetCount(), 2);
    const auto* wall = dynamic_cast<const TQTKLine2dDeductDetail*>(container.GetItems(1));
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->GetRecord().get(), Record(2));
    EXPECT_FALSE(wall->GetIsOriginalQty());
    EXPECT_NEAR(wall->GetLength(), 1000, CTol);
    EXPECT_NEAR(wall->GetSegments().GetTotalLength(), 1000, CTol);
}

// ---------------------------------------------------------------------------
// Height calculator

struct THeightCase {
    const char* name;
    std::string elements;
    double first, second;
};

TEST_F(TRibbonTest, EndHeights)
{
    const std::string chain = RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1) + ", " +
                              RibbonJson(3, 8, 3000, 3000, 6000, 3000, 2, 1000, 2000);
    const std::string ring = RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1) + ", " +
                             RibbonJson(3, 8, 3000, 3000, 0, 3000, 2) + ", " + RibbonJson(4, 8, 0, 3000, 0, 0, 3);
    const std::string single = RibbonJson(1, 8, 0, 0, 3000, 0);
    // clang-format off
    const THeightCase cases[] = {
        {"three segments: First from the first (1500), Second from the last (1000)", chain, 1500, 1000},
        {"a closed ring has no free end", ring, 0, 0},
        {"a beam along a third of the axis does not count", single + ", " + Beam(5, -500, 1000, 2100, 2700), 1500, 1500},
        {"a beam along two thirds lowers the start it covers to 2100", single + ", " + Beam(5, -500, 2000, 2100, 2700),
         1200, 1500},
    };
    // clang-format on
    for (const THeightCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.elements);
        const auto height = Ribbon(1)->GetHeightCalculator();
        ASSERT_TRUE(height);
        EXPECT_EQ(Ribbon(1)->GetHeightCalculator(), height) << "built once";
        EXPECT_NEAR(height->GetFirstEndNullLength(), c.first, CTol);
        EXPECT_NEAR(height->GetSecondEndNullLength(), c.second, CTol);
    }
}

// The calculators and the end lists of a segment hold its neighbours: the
// session end must let every segment go (held here by the test alone).
TEST_F(TRibbonTest, SessionEndFreesLinkedSegments)
{
    const struct {
        const char* name;
        std::string elements;
        int count;
    } cases[] = {
        {"three segments in a chain",
         RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1) + ", " +
             RibbonJson(3, 9, 3000, 3000, 6000, 3000, 2),
         3},
        {"a closed ring of four",
         RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1) + ", " +
             RibbonJson(3, 8, 3000, 3000, 0, 3000, 2) + ", " + RibbonJson(4, 8, 0, 3000, 0, 0, 3),
         4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.elements);
        std::vector<Ref<IQTKRibbonOpeningCalcEDO>> segments;
        for (int id = 1; id <= c.count; ++id) {
            segments.push_back(Ribbon(id));
            ASSERT_TRUE(segments.back());
            ASSERT_TRUE(segments.back()->GetHeightCalculator());
            ASSERT_TRUE(segments.back()->GetBottomWidthCalculator());
            ASSERT_TRUE(segments.back()->GetTopWidthCalculator());
            segments.back()->IsConnectedAtStart(Record(id == 1 ? c.count : id - 1));
        }
        FreeCalcEDOs();
        for (size_t i = 0; i < segments.size(); ++i)
            EXPECT_EQ(dynamic_cast<const TInterfacedObject&>(*segments[i]).RefCount(), 1) << "segment " << i + 1;
        segments.clear();
        building_.reset();
    }
}

// ---------------------------------------------------------------------------
// Details

TEST_F(TRibbonTest, FillingAreaDetailsLessTheFillingHeight)
{
    // Quantity 232: (average uncovered end height - "FillingHeight") x length;
    // 231: the whole average height.
    struct {
        int qtyId;
        double height;
    } const cases[] = {{232, 1500 - 50}, {231, 1500}};
    TQtyTable qty;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qtyId);
        Load(RibbonJson(1, 8, 0, 0, 3000, 0, 0, 900, 2400, R"("FillingWidth": 60, "FillingHeight": 50)"), true);
        TQTKDeductDetailContainer container;
        SetDeductDetailContainer(&container);
        GetCalcEDO(Record(1), true)->FillDeductDetail(qty.Qty(c.qtyId, "m2"));
        SetDeductDetailContainer(nullptr);
        ASSERT_EQ(container.GetCount(), 1);
        const auto* detail = dynamic_cast<const TQTKShellDeductDetail*>(container.GetItems(0));
        ASSERT_TRUE(detail);
        EXPECT_TRUE(detail->GetIsOriginalQty());
        EXPECT_EQ(detail->GetRecord().get(), Record(1));
        EXPECT_NEAR(detail->GetShell()->GetArea(), 3000 * c.height, 1e-3);
        EXPECT_EQ(detail->GetDedcutExpr(), MM2ToM2(3000 * c.height));
    }
}

// ---------------------------------------------------------------------------
// Threads

TEST_F(TRibbonTest, SegmentsLaidOutOnSeveralThreadsAgree)
{
    Load(RibbonJson(1, 8, 0, 0, 3000, 0) + ", " + RibbonJson(2, 8, 3000, 0, 3000, 3000, 1) + ", " +
         RibbonJson(3, 8, 3000, 3000, 6000, 3000, 2) + ", " + Wall(4, -1000, 0, 4000, 0));
    std::vector<double> lengths(8, 0.0), widths(8, 0.0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            const int id = 1 + t % 3;
            const auto edo = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(Record(id), true));
            lengths[t] = edo->GetMidLine()->Length() + RefCast<IQTKWallHollowCalcEDO>(edo)->GetCutSolid()->GetVolume();
            widths[t] = dynamic_cast<IQTKLineEdoInfo*>(edo.get())->GetWidth();
            edo->GetWidthCalculator();
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < 8; ++t) {
        const int id = 1 + t % 3;
        const auto edo = Ribbon(id);
        EXPECT_NEAR(lengths[t],
                    edo->GetMidLine()->Length() + RefCast<IQTKWallHollowCalcEDO>(edo)->GetCutSolid()->GetVolume(),
                    CVolTol);
        EXPECT_NEAR(widths[t], 100, CTol) << "wide mode stays with the thread laying the segment out";
    }
}

}  // namespace
