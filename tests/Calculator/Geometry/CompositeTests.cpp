#include <gtest/gtest.h>

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

class TCompositeTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 500, "type": 52, "props": {"AxisOffset": 0}, "shape": {"kind": "point", "insertPt": [0, 0],
           "size": [2000, 2000], "bottom": 0, "top": 600}},
          {"id": 501, "type": 82, "parent": 500, "props": {"CompositeEDOPID": 500},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": 0, "top": 300}},
          {"id": 509, "type": 25, "parent": 500, "props": {"SectionWidth": 100, "SectionHeight": 100},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 600, "top": 900}},
          {"id": 502, "type": 82, "parent": 500, "props": {"CompositeEDOPID": 500},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 300, "top": 600}},

          {"id": 510, "type": 52, "shape": {"kind": "point", "insertPt": [9000, 0], "size": [2000, 2000],
           "bottom": 0, "top": 600}},
          {"id": 511, "type": 82, "parent": 510,
           "shape": {"kind": "point", "insertPt": [9000, 0], "size": [1000, 1000], "bottom": 300, "top": 600}},
          {"id": 512, "type": 82, "parent": 510,
           "shape": {"kind": "point", "insertPt": [9000, 0], "size": [2000, 2000], "bottom": 0, "top": 300}},

          {"id": 520, "type": 52, "props": {"AxisOffset": 75}, "shape": {"kind": "point", "insertPt": [20000, 0],
           "size": [1000, 1000], "bottom": 0, "top": 300}},

          {"id": 530, "type": 53, "shape": {"kind": "point", "insertPt": [30000, 0], "size": [3000, 1000],
           "bottom": 0, "top": 300}},
          {"id": 532, "type": 83, "parent": 530,
           "shape": {"kind": "point", "insertPt": [29500, 0], "size": [1000, 1000], "bottom": 0, "top": 300}},
          {"id": 531, "type": 83, "parent": 530,
           "shape": {"kind": "point", "insertPt": [30500, 0], "size": [1000, 1000], "bottom": 0, "top": 300}},

          {"id": 540, "type": 51, "props": {"AxisOffset": 300},
           "shape": {"kind": "line", "start": [0, 10000], "end": [6000, 10000], "width": 1000, "bottom": 0,
                     "top": 600}},
          {"id": 541, "type": 81, "parent": 540, "props": {"Offset": 0, "BottomElev": 0},
           "shape": {"kind": "line", "start": [0, 10000], "end": [6000, 10000], "width": 1000, "axisOffset": 500,
                     "bottom": 0, "top": 300}},
          {"id": 542, "type": 81, "parent": 540, "props": {"Offset": 0, "BottomElev": 300},
           "shape": {"kind": "line", "start": [0, 10000], "end": [6000, 10000], "width": 600, "axisOffset": 300,
                     "bottom": 300, "top": 600}},

          {"id": 543, "type": 84, "parent": 540,
           "shape": {"kind": "line", "start": [0, 10000], "end": [6000, 10000], "width": 200, "bottom": 600,
                     "top": 900}},

          {"id": 550, "type": 51, "shape": {"kind": "line", "start": [0, 20000], "end": [6000, 20000], "width": 1000,
           "startBottom": 0, "startTop": 300, "endBottom": 1000, "endTop": 1300}},
          {"id": 551, "type": 81, "parent": 550, "props": {"Offset": 0, "BottomElev": 300},
           "shape": {"kind": "line", "start": [0, 20000], "end": [6000, 20000], "width": 1000, "bottom": 300,
                     "top": 600}},

          {"id": 600, "type": 70, "param": {"polyID": 174, "values": {"H": 1200}},
           "shape": {"kind": "point", "insertPt": [40000, 0], "size": [500, 500], "bottom": 0, "top": 300}},
          {"id": 601, "type": 70, "parent": 600, "subID": 1,
           "shape": {"kind": "point", "insertPt": [40000, 0], "size": [100, 100], "bottom": 0, "top": 300}},
          {"id": 602, "type": 70, "parent": 600, "subID": 2,
           "shape": {"kind": "point", "insertPt": [40000, 0], "size": [100, 100], "bottom": 0, "top": 300}},
          {"id": 603, "type": 70, "parent": 600, "subID": 1,
           "shape": {"kind": "point", "insertPt": [40000, 0], "size": [100, 100], "bottom": 0, "top": 300}}])");
    }
    std::vector<int> Ids(const TRecordList& records)
    {
        std::vector<int> ids;
        for (const RecordRef& r : records)
            ids.push_back(r->GetID());
        return ids;
    }
};

TEST_F(TCompositeTest, UnitListsAndTypes)
{
    EXPECT_EQ(Ids(GetCompositeUnitRecords(Record(500))), (std::vector<int>{501, 502}));  // the column is no unit
    EXPECT_EQ(Ids(GetCompositeUnitRecords(Record(540))), (std::vector<int>{541, 542, 543}));
    EXPECT_TRUE(GetCompositeUnitRecords(Record(520)).empty());
    EXPECT_TRUE(GetCompositeUnitRecords(nullptr).empty());
    const ViewRef children = GetCompositeChildRecords(Record(500));
    ASSERT_TRUE(children);
    ASSERT_EQ(children->GetRowCount(), 2);
    EXPECT_EQ(children->GetRow(0)->GetID(), 501);
    EXPECT_EQ(children->GetRow(1)->GetID(), 502);
    EXPECT_EQ(GetCompositeUnitType(51), 81);
    EXPECT_EQ(GetCompositeUnitType(1), 86);
    EXPECT_EQ(GetCompositeUnitType(15), -1);
}

// The bottom unit is the first whichever way the units are numbered.
TEST_F(TCompositeTest, FirstUnitIsTheBottomUnit)
{
    struct Case {
        int id;
        bool first, last;
    };
    const Case cases[] = {
        {501, true, false},  {502, false, true},  // numbered upwards
        {512, true, false},  {511, false, true},  // numbered downwards
        {531, true, false},  {532, false, true},  // side by side: the lower id first
        {509, false, false},                      // not a unit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsFirstCompositeUnit(DrawObj(c.id)), c.first) << c.id;
        EXPECT_EQ(IsLastCompositeUnit(DrawObj(c.id)), c.last) << c.id;
    }
    EXPECT_FALSE(IsFirstCompositeUnit(nullptr));
}

TEST_F(TCompositeTest, CompositeSolids)
{
    EXPECT_NEAR(BuildCompositeSolid(DrawObj(500))->GetVolume(), 2000.0 * 2000 * 300 + 1000.0 * 1000 * 300, 1.0);
    EXPECT_FALSE(BuildCompositeSolid(DrawObj(520))->HasFaces());
    EXPECT_DOUBLE_EQ(GetCompositeAxisOffset(DrawObj(520)), 75);
}

TEST_F(TCompositeTest, StripUnitsAlongAPieceOfTheLine)
{
    // Least unit offset 0 - 1000 / 2 below the strip's 300.
    EXPECT_DOUBLE_EQ(GetCompositeAxisOffset(DrawObj(540)), -200);
    double offset = 0, width = 0;
    GetUnitWidthAndOffset(DrawObj(542), offset, width, -200);
    EXPECT_DOUBLE_EQ(width, 600);
    EXPECT_DOUBLE_EQ(offset, 100);

    const TVRMCustomLine2d segment({1000, 10000}, {4000, 10000});
    const auto lower = BuildLineSegmentSolid(segment, DrawObj(541), true, true);
    EXPECT_NEAR(lower->GetVolume(), 1000.0 * 300 * 3000, 1.0);
    EXPECT_NEAR(lower->GetBox().min.z, 0, 1e-6);
    const auto upper = BuildLineSegmentSolid(segment, DrawObj(542), true, true);
    EXPECT_NEAR(upper->GetVolume(), 600.0 * 300 * 3000, 1.0);
    EXPECT_NEAR(upper->GetBox().min.z, 300, 1e-6);  // a level line: the unit's own bottom unscaled
    EXPECT_NEAR(BuildCompositeSegmentSolid(segment, DrawObj(540), true)->GetVolume(), 1.44e9 + 1.8e8, 10.0);
    // Another kind of unit: its own solid over the piece.
    const auto trench = BuildLineSegmentSolid(segment, DrawObj(543), true, true);
    EXPECT_NEAR(trench->GetVolume(), 200.0 * 300 * 3000, 1.0);
    EXPECT_NEAR(trench->GetBox().min.x, 1000, 1e-6);
    // A sloping strip: the unit's bottom is measured along the slope.
    const double k = std::hypot(6000.0, 1000.0) / 6000.0;
    const auto sloped = BuildLineSegmentSolid(TVRMCustomLine2d({0, 20000}, {6000, 20000}), DrawObj(551), true, false);
    EXPECT_NEAR(sloped->GetBox().min.z, 300 * k, 1e-6);
}

TEST_F(TCompositeTest, ParametricSubElementsById)
{
    std::vector<int> ids;
    for (const auto& sub : GetParamSubDrawObjsByIds(Record(600), {2, 1, 9}))
        ids.push_back(sub->GetIndexKey());
    EXPECT_EQ(ids, (std::vector<int>{602, 601, 603}));
}

class TUnitNetSolidTest : public TGeometryModelTest {};

TEST_F(TUnitNetSolidTest, LowerRankedNeighboursAreTakenOffACopy)
{
    Load(R"([
      {"id": 700, "type": 53, "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000],
       "bottom": 0, "top": 1000}},
      {"id": 701, "type": 83, "parent": 700, "shape": {"kind": "point", "insertPt": [0, 0],
       "size": [2000, 2000], "bottom": 0, "top": 1000}},
      {"id": 710, "type": 25, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400],
       "bottom": 500, "top": 3000}},
      {"id": 711, "type": 25, "shape": {"kind": "point", "insertPt": [800, 800], "size": [400, 400],
       "bottom": 500, "top": 3000}}])");
    // The first column ranks before the unit, the second after it.
    GMaterialHelper().Add(701, 10);
    GMaterialHelper().Add(710, 5);
    GMaterialHelper().Add(711, 20);
    const Ref<IQTKCalculatorEDO> unit = GetCalcEDO(Record(701), true);
    const double whole = 2000.0 * 2000 * 1000;
    const auto net = BuildUnitNetSolid(unit.get());
    ASSERT_NE(net, nullptr);
    EXPECT_NEAR(net->GetVolume(), whole - 400.0 * 400 * 500, 10.0);
    EXPECT_NEAR(unit->GetOriginalPolyhedron()->GetVolume(), whole, 1.0);
    EXPECT_EQ(BuildUnitNetSolid(GetCalcEDO(Record(710), true).get()), nullptr);
}

// The line of a composite as its unit objects see it.
class TLineInfo final : public TInterfacedObject, public IQTKLineEdoInfo {
public:
    int GetID() override { return 1; }
    TVRMCustomLine2d GetLine() override { return TVRMCustomLine2d({0, 0}, {6000, 0}); }
    double GetWidth() override { return 1000; }
    double GetAxisOffset() override { return 300; }
    bool IsMidlineConnectable() override { return true; }
    double GetActualWidth() override { return 1000; }
    double GetActualAxisOffset() override { return 300; }
    IQTKLineShape* GetShape() override { return nullptr; }
    IRDXRecord* GetRecord() override { return nullptr; }
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return {}; }
};

TEST(CompositeLineTest, UnitLineAcrossTheAxis)
{
    // -200 - 1000 / 2 - 100 + 600 / 2 = -500: the line moves 500 to its left.
    auto info = MakeRef<TLineInfo>();
    const TVRMCustomLine2d line = OffsetUnitLine(*info, -200, 1000, 100, 600);
    EXPECT_TRUE(line.StartPt().IsEqualTo({0, 500}, 1e-9));
    EXPECT_TRUE(line.EndPt().IsEqualTo({6000, 500}, 1e-9));
}

}  // namespace

// Unit prisms stacked along x from 0, built whole: volume and surface area by
// hand (sides, bottom, top, steps, ends), the steps of one level facing one
// way in one face, and the end faces last. Each prism: its edges across at
// Low and High (y), ending at x = 6000 or, with Mitre, on the end edge from
// (6500, -500) to (5500, 500); its levels.
TEST(StackedUnitPrismsTest, StackedPrismsAreBuiltWhole)
{
    struct TPrism {
        double low, high, bottom, top;
    };
    const struct {
        const char* name;
        std::vector<TPrism> prisms;
        bool mitre;
        double volume, area;
        int faces, stepLoops;  // stepLoops: loops of the first step face (0: no steps)
    } cases[] = {
        {"narrower on top", {{-500, 500, 0, 300}, {-300, 300, 300, 600}}, false, 2.88e9, 20.16e6, 9, 2},
        {"wider on top", {{-300, 300, 0, 300}, {-500, 500, 300, 600}}, false, 2.88e9, 20.16e6, 9, 2},
        // Up 300 on the low side, out 200 on the high side: one step face each way.
        {"shifted across", {{-500, 500, 0, 300}, {-200, 700, 300, 600}}, false, 3.42e9, 22.74e6, 10, 1},
        {"three levels, given top first",
         {{-100, 100, 400, 600}, {-500, 500, 0, 200}, {-300, 300, 200, 400}},
         false,
         2.16e9,
         6e6 + 1.2e6 + 2 * 6000 * 600 + 2 * 2.4e6 + 2 * 360000,
         12,
         2},
        // The lower plan a trapezoid of 1000 x (6500 + 5500) / 2, the upper 600 x 6000.
        {"mitred end",
         {{-500, 500, 0, 300}, {-300, 300, 300, 600}},
         true,
         2.88e9,
         6e6 + 3.6e6 + 2.4e6 + 300 * (6500 + 5500 + 6300 + 5700) + 480000 * (1 + std::sqrt(2.0)),
         9,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TVRMCustomLine2d> lines;
        lines.reserve(2 * c.prisms.size());
        std::vector<TQTKUnitPrism> prisms;
        for (const TPrism& p : c.prisms) {
            // On the mitre, a line at y ends at x = 6000 - y.
            const auto line = [&](double y) {
                lines.emplace_back(TVRMPoint2d{0, y}, TVRMPoint2d{c.mitre ? 6000 - y : 6000, y});
                return &lines.back();
            };
            const TVRMCustomLine2d* low = line(p.low);
            const TVRMCustomLine2d* high = line(p.high);
            prisms.push_back({low, high, p.low, p.high, p.bottom, p.top});
        }
        const std::unique_ptr<TVRMPolyhedron3d> solid = BuildStackedUnitPrisms(prisms);
        ASSERT_NE(solid, nullptr);
        EXPECT_NEAR(solid->GetVolume(), c.volume, 1.0);
        EXPECT_NEAR(solid->GetSurfaceArea(), c.area, 1.0);
        ASSERT_EQ(solid->GetFaceCount(), c.faces);
        const TVRMFace3d& start = solid->GetFace(c.faces - 2);
        const TVRMFace3d& end = solid->GetFace(c.faces - 1);
        EXPECT_NEAR(start.GetNormal().x, -1.0, 1e-9);
        EXPECT_NEAR(end.GetNormal().x, c.mitre ? std::sqrt(0.5) : 1.0, 1e-9);
        EXPECT_EQ(start.GetVertexCount(), 4 * static_cast<int>(c.prisms.size()));
        // Bottom, then the first prism's two sides, then its steps.
        EXPECT_EQ(solid->GetFace(3).GetLoopCount(), c.stepLoops);
        EXPECT_NEAR(std::abs(solid->GetFace(3).GetNormal().z), 1.0, 1e-9);
    }
}

// Prisms that do not stack so are left to the union: a gap between levels,
// an edge in line with the one below, prisms that only touch across.
TEST(StackedUnitPrismsTest, OthersAreRefused)
{
    const TVRMCustomLine2d a({0, -500}, {6000, -500}), b({0, 500}, {6000, 500}), c({0, -300}, {6000, -300}),
        d({0, 0}, {6000, 0});
    const struct {
        const char* name;
        std::vector<TQTKUnitPrism> prisms;
    } cases[] = {
        {"a gap between levels", {{&a, &b, -500, 500, 0, 300}, {&c, &d, -300, 0, 310, 600}}},
        {"an edge in line", {{&a, &b, -500, 500, 0, 300}, {&a, &d, -500, 0, 300, 600}}},
        {"touching across only", {{&a, &d, -500, 0, 0, 300}, {&d, &b, 0, 500, 300, 600}}},
        {"none", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildStackedUnitPrisms(c.prisms), nullptr) << c.name;
}
