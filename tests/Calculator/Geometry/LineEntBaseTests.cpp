// The line element object base and its thickness and section branches on
// small models of joined walls and beams: joined lines against the fixture
// table of the line calculators, end faces, plain offsets of elements that do
// not join, actual widths, length rates, the end lists after a cache clear
// and the solid without the elements an element gives way to.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <numeric>
#include <sstream>
#include <thread>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

// Walls joining walls, and beams joining beams, as their own objects will.
class TTestWallEDO final : public TQTKHasThicknessInfoLineEntCalcEDO {
public:
    explicit TTestWallEDO(IQTKElementDrawObj* drawObj) : TQTKHasThicknessInfoLineEntCalcEDO(0, drawObj) {}

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({0, 1}); }
};

// A wall whose width reads 0 (the model refuses one; other hosts need not).
class TTestZeroWidthWallEDO final : public TQTKHasThicknessInfoLineEntCalcEDO {
public:
    explicit TTestZeroWidthWallEDO(IQTKElementDrawObj* drawObj) : TQTKHasThicknessInfoLineEntCalcEDO(0, drawObj) {}
    double GetWidth() override { return 0.0; }
    using TQTKHasThicknessInfoLineEntCalcEDO::BuildSolid;

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({0, 1}); }
};

class TTestBeamEDO final : public TQTKHasSectionInfoLineEntCalcEDO {
public:
    explicit TTestBeamEDO(IQTKElementDrawObj* drawObj) : TQTKHasSectionInfoLineEntCalcEDO(0, drawObj) {}

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({15, 17, 18, 47}); }
};

// A strip foundation, a parapet: their families' own connect types.
class TTestStripFDEDO final : public TQTKHasSectionInfoLineEntCalcEDO {
public:
    explicit TTestStripFDEDO(IQTKElementDrawObj* drawObj) : TQTKHasSectionInfoLineEntCalcEDO(0, drawObj) {}

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({51}); }
};

class TTestParapetEDO final : public TQTKHasSectionInfoLineEntCalcEDO {
public:
    explicit TTestParapetEDO(IQTKElementDrawObj* drawObj) : TQTKHasSectionInfoLineEntCalcEDO(0, drawObj) {}

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({69}); }
};

class TLineEntBaseTest : public TGeometryModelTest {
protected:
    void TearDown() override
    {
        fakes_.Detach();
        TGeometryModelTest::TearDown();
    }
    template <class T>
    T& Attach(int id)
    {
        return fakes_.Attach<T>(DrawObj(id));
    }
    TFakeEDOScope fakes_;
};

struct TWall {
    int id;
    double x0, y0, x1, y1;
    double width = 240;
};

// The model text of a list of 240 (or given) walls from 0 to 3000.
std::string Walls(std::initializer_list<TWall> walls)
{
    std::ostringstream text;
    text << "[";
    for (const TWall& w : walls)
        text << (&w == walls.begin() ? "" : ",") << R"({"id": )" << w.id
             << R"(, "type": 0, "shape": {"kind": "line", "start": [)" << w.x0 << ", " << w.y0 << "], \"end\": ["
             << w.x1 << ", " << w.y1 << "], \"width\": " << w.width << R"(, "bottom": 0, "top": 3000}})";
    text << "]";
    return text.str();
}

TEST_F(TLineEntBaseTest, JoinedLinesOfTheFixtureTable)
{
    // F1 (L), F2 (T, 370 through), F6 (unequal L), F3 (X), each far from the others.
    Load(Walls({{1, 0, 0, 5000, 0},
                {2, 5000, 0, 5000, 3000},
                {3, 20000, 0, 28000, 0, 370},
                {4, 24000, 0, 24000, 3000},
                {5, 40000, 0, 45000, 0},
                {6, 45000, 0, 45000, 3000, 370},
                {7, 60000, 0, 68000, 0},
                {8, 64000, -3000, 64000, 3000}}));
    std::vector<TTestWallEDO*> w(9, nullptr);
    for (int id = 1; id <= 8; ++id)
        w[id] = &Attach<TTestWallEDO>(id);
    struct Case {
        int id;
        double mid, left, right;
    };
    // Lengths of the middle / left / right lines (mm).
    const Case cases[] = {
        {1, 5000, 4880, 5120}, {2, 3000, 2880, 3120},  // F1 mitre
        {3, 8000, 8000, 8000}, {4, 2815, 2815, 2815},  // F2: the stem stops at the through wall's near face
        {5, 5000, 4815, 5185}, {6, 3000, 2880, 3120},  // F6
        {7, 8000, 8000, 8000}, {8, 6000, 6000, 6000},  // F3: nobody trimmed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_NEAR(w[c.id]->GetMidLine()->Length(), c.mid, 1e-3);
        EXPECT_NEAR(w[c.id]->GetLeftLine()->Length(), c.left, 1e-3);
        EXPECT_NEAR(w[c.id]->GetRightLine()->Length(), c.right, 1e-3);
    }
    EXPECT_FALSE(w[1]->IsEndUnconnected());
    EXPECT_TRUE(w[1]->IsStartUnconnected());
    EXPECT_EQ(w[1]->GetEndConnectedRecord()->GetID(), 2);
    EXPECT_EQ(w[1]->GetStartConnectedRecord(), nullptr);
    // After a cache clear the end lists are gathered again: the same answers.
    w[1]->ClearCalcCache();
    EXPECT_FALSE(w[1]->IsEndUnconnected());
    EXPECT_TRUE(w[1]->IsStartUnconnected());
    ASSERT_EQ(w[1]->GetEndLineEdoInfos().size(), 1u);
    EXPECT_EQ(w[1]->GetEndLineEdoInfos()[0]->GetID(), 2);
    // The same-kind lists of a wall hold its walls too.
    EXPECT_EQ(w[1]->GetEndSameKindLineEdoInfos().size(), 1u);
}

TEST_F(TLineEntBaseTest, ClosedRectangleAndItsSolids)
{
    // F4: a 6000 x 4000 axis rectangle of 240 walls, counter-clockwise: the left sides are inside.
    Load(Walls({{1, 0, 0, 6000, 0}, {2, 6000, 0, 6000, 4000}, {3, 6000, 4000, 0, 4000}, {4, 0, 4000, 0, 0}}));
    std::vector<TTestWallEDO*> w;
    for (int id = 1; id <= 4; ++id)
        w.push_back(&Attach<TTestWallEDO>(id));
    double mid = 0, inner = 0, outer = 0, volume = 0, area = 0;
    for (TTestWallEDO* wall : w) {
        mid += wall->GetMidLine()->Length();
        inner += wall->GetLeftLine()->Length();
        outer += wall->GetRightLine()->Length();
        area += wall->GetPlanPolygon()->Area();
        volume += wall->GetOriginalPolyhedron()->GetVolume();
        // End faces last, facing along the line at the start and end.
        const std::vector<int> faces = wall->GetEndFaceIndexes();
        const int n = wall->GetOriginalPolyhedron()->GetFaceCount();
        EXPECT_EQ(faces, (std::vector<int>{n - 2, n - 1}));
    }
    EXPECT_NEAR(mid, 20000, 1e-3);
    EXPECT_NEAR(inner, 2 * (5760 + 3760), 1e-3);
    EXPECT_NEAR(outer, 20960, 1e-3);
    EXPECT_NEAR(area, 4800000, 1e-2);
    // The mitred walls fill the ring exactly once: 3000 high.
    EXPECT_NEAR(volume, (6240.0 * 4240 - 5760.0 * 3760) * 3000, 1.0);
    // Each extended middle line reaches 240 further at both ends.
    EXPECT_NEAR(w[0]->GetExtendedMidLine()->Length(), 6000 + 2 * 240, 1e-3);
}

TEST_F(TLineEntBaseTest, SolidWithoutPriorElementsCountsEachPlaceOnce)
{
    // A T of unequal walls: the stem (240) into the through wall (370), and
    // an equal crossing, whose square stays in both (the tie rule).
    Load(Walls(
        {{1, 0, 0, 8000, 0, 370}, {2, 4000, 0, 4000, 3000}, {3, 20000, 0, 28000, 0}, {4, 24000, -3000, 24000, 3000}}));
    auto& through = Attach<TTestWallEDO>(1);
    auto& stem = Attach<TTestWallEDO>(2);
    auto& e = Attach<TTestWallEDO>(3);
    auto& f = Attach<TTestWallEDO>(4);
    const double tVolumes =
        through.GetSolidWithoutPriorElements()->GetVolume() + stem.GetSolidWithoutPriorElements()->GetVolume();
    EXPECT_NEAR(tVolumes, (370.0 * 8000 + 240.0 * (3000 - 185)) * 3000, 1.0);
    const double xVolumes =
        e.GetSolidWithoutPriorElements()->GetVolume() + f.GetSolidWithoutPriorElements()->GetVolume();
    EXPECT_NEAR(xVolumes, (240.0 * 8000 + 240.0 * 6000) * 3000, 1.0);  // the crossing square counted in both
}

TEST_F(TLineEntBaseTest, PlainOffsetsLengthRateAndActualWidth)
{
    Load(R"([
      {"id": 1, "type": 15, "props": {"SectionHeight": 500, "AxisOffset": 0},
       "shape": {"kind": "line", "start": [0, 0], "end": [200, 0], "width": 300, "axisOffset": 0, "bottom": 2500, "top": 3000}},
      {"id": 2, "type": 15, "props": {"SectionHeight": 500, "StartPtTopElev": 3000, "EndPtTopElev": 4000},
       "shape": {"kind": "line", "start": [0, 5000], "end": [1000, 5000], "width": 200, "startBottom": 2500,
                 "startTop": 3000, "endBottom": 3500, "endTop": 4000}},
      {"id": 3, "type": 15, "props": {"SectionHeight": 500, "StartPtTopElev": 3000, "EndPtTopElev": 3000},
       "shape": {"kind": "line", "start": [0, 9000], "end": [6000, 9000], "width": 200, "bottom": 2500, "top": 3000}},
      {"id": 10, "type": 0, "shape": {"kind": "line", "start": [0, 20000], "end": [5000, 20000], "width": 240,
       "bottom": 0, "top": 3000}},
      {"id": 11, "type": 68, "parent": 10, "props": {"Thickness": 50},
       "shape": {"kind": "line", "start": [0, 20145], "end": [5000, 20145], "width": 50, "bottom": 0, "top": 3000}},
      {"id": 12, "type": 68, "parent": 10, "props": {"Thickness": 30},
       "shape": {"kind": "line", "start": [0, 19865], "end": [5000, 19865], "width": 30, "bottom": 0, "top": 3000}}])");
    // A beam shorter than its width does not join: its axis (axis offset 0)
    // is its left line, the middle 150 and the right 300 to the right.
    auto& stub = Attach<TTestBeamEDO>(1);
    EXPECT_FALSE(stub.IsMidlineConnectable());
    EXPECT_NEAR(stub.GetLeftLine()->StartPt().y, 0.0, 1e-9);
    EXPECT_NEAR(stub.GetMidLine()->StartPt().y, -150.0, 1e-9);
    EXPECT_NEAR(stub.GetRightLine()->StartPt().y, -300.0, 1e-9);
    // Length rates: rising 1000 over 1000, and level.
    auto& rising = Attach<TTestBeamEDO>(2);
    auto& level = Attach<TTestBeamEDO>(3);
    rising.Prepare(Record(2));
    level.Prepare(Record(3));
    EXPECT_NEAR(rising.GetLengthRate(), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(level.GetLengthRate(), 1.0);
    EXPECT_TRUE(level.IsMidlineConnectable());
    // Two insulating layers, 50 on the left, 30 on the right.
    auto& wall = Attach<TTestWallEDO>(10);
    EXPECT_NEAR(wall.GetActualWidth(), 320.0, 1e-9);
    EXPECT_NEAR(wall.GetActualAxisOffset(), 120.0 + 50, 1e-9);
    EXPECT_EQ(wall.GetInsulatingLayerRecord(true)->GetID(), 11);
    EXPECT_EQ(wall.GetInsulatingLayerRecord(false)->GetID(), 12);
}

TEST_F(TLineEntBaseTest, EndFaceOrder)
{
    const TVRMCustomLine2d left({0, 120}, {5000, 120}), right({0, -120}, {5000, -120});
    // Box faces: -y, +x (the end face), +y, -x (the start face), top, bottom.
    auto box = Box(0, -120, 0, 5000, 120, 3000);
    int start = 0, end = 0;
    TQTKLineEntBaseCalcEDO::LocateEndFaces(*box, left, right, start, end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 5);
    EXPECT_NEAR(box->GetFace(5).GetNormal().x, 1.0, 1e-9);
    // End face at N-2 and start face at N-1: swapped.
    box->ExchangeFace(4, 5);
    TQTKLineEntBaseCalcEDO::LocateEndFaces(*box, left, right, start, end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 5);
    EXPECT_NEAR(box->GetFace(4).GetNormal().x, -1.0, 1e-9);
    // Side lines reaching past the solid's end: no end face there, order kept.
    auto shorter = Box(0, -120, 0, 4000, 120, 3000);
    TQTKLineEntBaseCalcEDO::LocateEndFaces(*shorter, left, right, start, end);
    EXPECT_EQ(end, -1);
    EXPECT_EQ(start, 3);
}

TEST_F(TLineEntBaseTest, SameLinesOnEightThreads)
{
    // A ring with an inner wall; eight threads ask every wall for its lines in different orders.
    const std::string model = Walls({{1, 0, 0, 6000, 0},
                                     {2, 6000, 0, 6000, 4000},
                                     {3, 6000, 4000, 0, 4000},
                                     {4, 0, 4000, 0, 0},
                                     {5, 3000, 0, 3000, 4000}});
    auto lengths = [&](int threads) {
        Load(model);
        std::vector<TTestWallEDO*> w;
        for (int id = 1; id <= 5; ++id)
            w.push_back(&Attach<TTestWallEDO>(id));
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&, t] {
                for (int k = 0; k < 5; ++k) {
                    TTestWallEDO* wall = w[(k + t) % 5];
                    wall->GetMidLine();
                    wall->GetSolidWithoutPriorElements();
                    wall->GetAttachWallFacePolygon();
                }
            });
        for (auto& thread : pool)
            thread.join();
        std::vector<double> result;
        for (TTestWallEDO* wall : w)
            result.insert(result.end(), {wall->GetMidLine()->Length(), wall->GetLeftLine()->Length(),
                                         wall->GetSolidWithoutPriorElements()->GetVolume()});
        fakes_.Detach();
        TGeometryModelTest::TearDown();
        return result;
    };
    const std::vector<double> one = lengths(1);
    const std::vector<double> eight = lengths(8);
    ASSERT_EQ(one.size(), eight.size());
    for (size_t i = 0; i < one.size(); ++i)
        EXPECT_NEAR(one[i], eight[i], 1e-6) << i;
    EXPECT_NEAR(one[0], 6000, 1e-3);
    EXPECT_NEAR(one[12], 3760, 1e-3);  // the inner wall between the faces
}

TEST_F(TLineEntBaseTest, FactoryReachesTheLineBranches)
{
    // One element of each line kind, each far from the others.
    std::ostringstream text;
    text << "[";
    // (Ribbons, 8 and 9, have their own object: their solid follows a calculation band.)
    const int types[] = {0, 1, 63, 15, 17, 18, 47, 69};
    constexpr int count = static_cast<int>(std::size(types));
    for (int i = 0; i < count; ++i)
        text << (i ? "," : "") << R"({"id": )" << i + 1 << R"(, "type": )" << types[i]
             << R"(, "props": {"SectionHeight": 500}, "shape": {"kind": "line", "start": [0, )" << i * 5000
             << R"(], "end": [6000, )" << i * 5000 << R"(], "width": 200, "bottom": 2500, "top": 3000}})";
    text << "]";
    Load(text.str());
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(types[i]);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(i + 1), true);
        auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo.get());
        ASSERT_NE(line, nullptr);
        EXPECT_NE(dynamic_cast<IQTKLineEdoInfo*>(edo.get()), nullptr);
        // By thickness (walls, post-cast strips) or by section (beams, parapets).
        const bool bySection = types[i] >= 15 && types[i] != 63;
        EXPECT_EQ(dynamic_cast<TQTKHasSectionInfoLineEntCalcEDO*>(edo.get()) != nullptr, bySection);
        EXPECT_EQ(dynamic_cast<TQTKHasThicknessInfoLineEntCalcEDO*>(edo.get()) != nullptr, !bySection);
        EXPECT_NEAR(line->GetMidLine()->Length(), 6000, 1e-6);
        EXPECT_NEAR(edo->GetOriginalPolyhedron()->GetVolume(), 200.0 * 6000 * 500, 1.0);
    }
}

TEST_F(TLineEntBaseTest, SameKindNeighbours)
{
    // At (6000, 0): a wall meets a parapet and a strip foundation meets a
    // strip foundation and a wall; each end list holds its connect types,
    // each same-kind list its family's set.
    Load(R"([
      {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 2, "type": 69, "props": {"SectionHeight": 3000}, "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 3, "type": 1, "shape": {"kind": "line", "start": [0, 0], "end": [0, 4000], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 11, "type": 51, "props": {"SectionHeight": 500}, "shape": {"kind": "line", "start": [0, 20000], "end": [6000, 20000], "width": 1000, "bottom": -500, "top": 0}},
      {"id": 12, "type": 51, "props": {"SectionHeight": 500}, "shape": {"kind": "line", "start": [6000, 20000], "end": [6000, 24000], "width": 1000, "bottom": -500, "top": 0}},
      {"id": 13, "type": 0, "shape": {"kind": "line", "start": [6000, 20000], "end": [10000, 20000], "width": 240, "bottom": -500, "top": 3000}}])");
    auto& wall = Attach<TTestWallEDO>(1);
    Attach<TTestParapetEDO>(2);
    Attach<TTestWallEDO>(3);
    auto& strip = Attach<TTestStripFDEDO>(11);
    Attach<TTestStripFDEDO>(12);
    Attach<TTestWallEDO>(13);
    auto ids = [](const TQTKLineEdoInfoArray& infos) {
        std::vector<int> result;
        for (const auto& info : infos)
            result.push_back(info->GetID());
        return result;
    };
    struct Case {
        const char* name;
        TQTKLineEdoInfoArray infos;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"wall end: walls only", wall.GetEndLineEdoInfos(), {}},
        {"wall end, same kind: walls, insulating walls, parapets", wall.GetEndSameKindLineEdoInfos(), {2}},
        {"wall start, same kind", wall.GetStartSameKindLineEdoInfos(), {3}},
        {"strip end: strip foundations", strip.GetEndLineEdoInfos(), {12}},
        {"strip end, same kind: strip foundations only", strip.GetEndSameKindLineEdoInfos(), {12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ids(c.infos), c.expected);
    }
    EXPECT_TRUE(wall.IsEndUnconnected());
    EXPECT_FALSE(strip.IsEndUnconnected());
}

TEST_F(TLineEntBaseTest, ExtendedSolidCache)
{
    // A free 200 x 500 beam, 6000 long, and a wall.
    Load(R"([
      {"id": 1, "type": 15, "props": {"SectionTypeID": 0, "SectionHeight": 500},
       "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 2500, "top": 3000}},
      {"id": 2, "type": 0, "shape": {"kind": "line", "start": [0, 5000], "end": [6000, 5000], "width": 240, "bottom": 0, "top": 3000}}])");
    auto& beam = Attach<TTestBeamEDO>(1);
    beam.Prepare(Record(1));
    const Ref<IQTKPolyhedron3dIntf> grown = beam.GetExtendedPolyhedron(nullptr, false, 50);
    ASSERT_NE(grown, nullptr);
    // 50 wider on each side, 50 lower and higher.
    EXPECT_NEAR(grown->GetPolyhedron()->GetVolume(), 300.0 * 6000 * 600, 1.0);
    // Asked again: the same solid, not built again.
    EXPECT_EQ(beam.GetExtendedPolyhedron(nullptr, false, 50).get(), grown.get());
    // Distance 0 is kept apart and does not displace the other one.
    const Ref<IQTKPolyhedron3dIntf> plain = beam.GetExtendedPolyhedron(nullptr, false, 0);
    EXPECT_NEAR(plain->GetPolyhedron()->GetVolume(), 200.0 * 6000 * 500, 1.0);
    EXPECT_EQ(beam.GetExtendedPolyhedron(nullptr, false, 50).get(), grown.get());
    EXPECT_EQ(beam.GetExtendedPolyhedron(nullptr, false, 0).get(), plain.get());
    // Another mode or distance: built anew, in place of the old one.
    const Ref<IQTKPolyhedron3dIntf> otherMode = beam.GetExtendedPolyhedron(nullptr, true, 50);
    EXPECT_NE(otherMode.get(), grown.get());
    EXPECT_EQ(beam.GetExtendedPolyhedron(nullptr, true, 50).get(), otherMode.get());
    EXPECT_NE(beam.GetExtendedPolyhedron(nullptr, false, 50).get(), grown.get());
    EXPECT_NEAR(beam.GetExtendedPolyhedron(nullptr, false, 20)->GetPolyhedron()->GetVolume(), 240.0 * 6000 * 540, 1.0);
    // A negative distance is a programming error.
    EXPECT_THROW(beam.GetExtendedPolyhedron(nullptr, false, -1), EQTKAssertionFailed);
    // A wall without width has an empty solid, not an error.
    auto& flat = Attach<TTestZeroWidthWallEDO>(2);
    const auto empty = flat.BuildSolid();
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->HasFaces());
}

TEST_F(TLineEntBaseTest, JoinedLinesOfCollinearAndArcWalls)
{
    // F8: collinear, 240 then 370, both 120 from their left faces (flush
    // left); F9: a straight 240 wall meeting a 240 arc wall (centre (2000,
    // 20000), radius 3000, counter-clockwise) at its end.
    Load(R"([
      {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240, "axisOffset": 120, "bottom": 0, "top": 3000}},
      {"id": 2, "type": 0, "shape": {"kind": "line", "start": [5000, 0], "end": [9000, 0], "width": 370, "axisOffset": 120, "bottom": 0, "top": 3000}},
      {"id": 3, "type": 0, "shape": {"kind": "line", "start": [0, 20000], "end": [5000, 20000], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 4, "type": 0, "shape": {"kind": "line", "start": [5000, 20000], "end": [2000, 23000], "radius": 3000, "arcKind": 1,
       "width": 240, "bottom": 0, "top": 3000}}])");
    std::vector<TTestWallEDO*> w(5, nullptr);
    for (int id = 1; id <= 4; ++id)
        w[id] = &Attach<TTestWallEDO>(id);
    struct Case {
        int id;
        double mid, left, right;
    };
    const Case cases[] = {
        {1, 5000, 5000, 5000},
        {2, 4000, 4000, 4000},  // square at the contact, the step left as drawn
        {3, 4997.595, 4877.499, 5117.691},
        {4, 4714.791, 4403.859, 5020.914},  // the arc from the mitre's inner and outer corners
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_NEAR(w[c.id]->GetMidLine()->Length(), c.mid, 1e-3);
        EXPECT_NEAR(w[c.id]->GetLeftLine()->Length(), c.left, 1e-3);
        EXPECT_NEAR(w[c.id]->GetRightLine()->Length(), c.right, 1e-3);
    }
    // The 370 wall's middle line runs 65 right of its axis.
    EXPECT_NEAR(w[2]->GetMidLine()->StartPt().y, -65.0, 1e-9);
    EXPECT_TRUE(w[4]->GetMidLine()->IsArc());
    EXPECT_EQ(w[1]->GetEndConnectedRecord()->GetID(), 2);
    EXPECT_EQ(w[2]->GetStartConnectedRecord()->GetID(), 1);
}

TEST_F(TLineEntBaseTest, EndFacesOfAReversedWall)
{
    // Drawn from x = 5000 back to 0: the start face is at x = 5000 and faces +x.
    Load(Walls({{1, 5000, 0, 0, 0}}));
    auto& wall = Attach<TTestWallEDO>(1);
    const TVRMPolyhedron3d& solid = *wall.GetOriginalPolyhedron();
    const int n = solid.GetFaceCount();
    ASSERT_EQ(wall.GetEndFaceIndexes(), (std::vector<int>{n - 2, n - 1}));
    EXPECT_NEAR(solid.GetFace(n - 2).GetNormal().x, 1.0, 1e-9);
    EXPECT_NEAR(solid.GetFace(n - 1).GetNormal().x, -1.0, 1e-9);
    EXPECT_NEAR(solid.GetFace(n - 2).GetBox().min.x, 5000.0, 1e-9);
}

TEST_F(TLineEntBaseTest, ExtensionStopsWhereTopMeetsBottom)
{
    // Two L corners. 1 and 2: the first wall rises 1.5 at its end (less than
    // 2), so its higher top takes the corner (to 5120) and its extension of
    // 240 stays. 3 and 4: the first wall's top falls from 3000 to 20 at the
    // corner (to 4880, giving way to the higher wall) and would meet its
    // bottom 5000 x 3000 / 2980 along: its extended line stops there.
    Load(R"([
      {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240,
       "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 3001.5}},
      {"id": 2, "type": 0, "shape": {"kind": "line", "start": [5000, 0], "end": [5000, 3000], "width": 240, "bottom": 0, "top": 3000}},
      {"id": 3, "type": 0, "shape": {"kind": "line", "start": [0, 10000], "end": [5000, 10000], "width": 240,
       "startBottom": 0, "startTop": 3000, "endBottom": 0, "endTop": 20}},
      {"id": 4, "type": 0, "shape": {"kind": "line", "start": [5000, 10000], "end": [5000, 13000], "width": 240, "bottom": 0, "top": 3000}}])");
    std::vector<TTestWallEDO*> w(5, nullptr);
    for (int id = 1; id <= 4; ++id)
        w[id] = &Attach<TTestWallEDO>(id);
    struct Case {
        int id;
        double from, to;  // the extended middle line along its axis
    };
    const Case cases[] = {{1, 0, 5120 + 240}, {2, 120 - 240, 3000}, {3, 0, 5000 * 3000 / 2980.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const TVRMCustomLine2d& line = *w[c.id]->GetExtendedMidLine();
        const TVRMCustomLine2d axis = w[c.id]->GetLine();
        EXPECT_NEAR(axis.LengthAtPoint(line.StartPt()), c.from, 1e-6);
        EXPECT_NEAR(axis.LengthAtPoint(line.EndPt()), c.to, 1e-6);
    }
}

// The union of the walls' solids, each counted once.
double UnionVolume(const std::vector<const TVRMPolyhedron3d*>& solids)
{
    auto all = solids.front()->Clone();
    for (size_t i = 1; i < solids.size(); ++i)
        TVRMNewPolyBooleanOperator::BooleanOperate(*all, *solids[i], CVRMBoolUnion);
    return all->GetVolume();
}

TEST_F(TLineEntBaseTest, SolidsWithoutPriorElementsFillTheUnion)
{
    // L (240 and 370), T (a 240 stem into a 370 wall and a 370 stem into a
    // 240 wall) and X (240 through 370), each far from the others.
    Load(Walls({{1, 0, 0, 5000, 0},
                {2, 5000, 0, 5000, 3000, 370},
                {3, 20000, 0, 28000, 0, 370},
                {4, 24000, 0, 24000, 3000},
                {5, 40000, 0, 48000, 0},
                {6, 44000, 0, 44000, 3000, 370},
                {7, 60000, 0, 68000, 0},
                {8, 64000, -3000, 64000, 3000, 370}}));
    std::vector<TTestWallEDO*> w(9, nullptr);
    for (int id = 1; id <= 8; ++id)
        w[id] = &Attach<TTestWallEDO>(id);
    struct Case {
        const char* name;
        std::vector<int> ids;
    };
    const Case cases[] = {{"L", {1, 2}}, {"T, wider through", {3, 4}}, {"T, wider stem", {5, 6}}, {"X", {7, 8}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double sum = 0.0;
        std::vector<const TVRMPolyhedron3d*> originals;
        for (int id : c.ids) {
            sum += w[id]->GetSolidWithoutPriorElements()->GetVolume();
            originals.push_back(w[id]->GetOriginalPolyhedron());
        }
        EXPECT_NEAR(sum, UnionVolume(originals), 1.0);
    }
    // The X by hand: 240 x 8000 + 370 x (6000 - 240), 3000 high.
    EXPECT_NEAR(w[7]->GetSolidWithoutPriorElements()->GetVolume() + w[8]->GetSolidWithoutPriorElements()->GetVolume(),
                (240.0 * 8000 + 370.0 * 6000 - 240.0 * 370) * 3000, 1.0);
}

TEST_F(TLineEntBaseTest, EightThreadsAskingInEveryOrder)
{
    // A 3 x 3 grid of 3000 rooms, every grid line split at every crossing:
    // corners, T nodes and nodes of four ends. Eight threads ask every wall,
    // each in its own order, for what rules and the neighbours' calculators
    // ask (end lists, actual widths, lines, polygons, the solid without prior
    // elements), one of them clearing caches on the way; nothing may block,
    // and the answers are those of one thread.
    std::vector<TWall> walls;
    int id = 1;
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j < 3; ++j) {
            walls.push_back({id++, j * 3000.0, i * 3000.0, (j + 1) * 3000.0, i * 3000.0, i % 3 == 0 ? 370.0 : 240.0});
            walls.push_back({id++, i * 3000.0, j * 3000.0, i * 3000.0, (j + 1) * 3000.0, 240.0});
        }
    std::ostringstream text;
    text << "[";
    for (const TWall& w : walls)
        text << (w.id == 1 ? "" : ",") << R"({"id": )" << w.id << R"(, "type": 0, "shape": {"kind": "line", "start": [)"
             << w.x0 << ", " << w.y0 << "], \"end\": [" << w.x1 << ", " << w.y1 << "], \"width\": " << w.width
             << R"(, "bottom": 0, "top": 3000}})";
    text << "]";
    const int count = static_cast<int>(walls.size());
    auto answers = [&](int threads) {
        Load(text.str());
        std::vector<TTestWallEDO*> w;
        for (int k = 1; k <= count; ++k)
            w.push_back(&Attach<TTestWallEDO>(k));
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&, t] {
                for (int k = 0; k < count; ++k) {
                    TTestWallEDO* wall = w[static_cast<size_t>((k * (2 * t + 1) + t) % count)];
                    wall->GetStartLineEdoInfos();
                    wall->GetActualWidth();
                    wall->GetEndSameKindLineEdoInfos();
                    if (t == 0 && k % 5 == 0)
                        wall->ClearCalcCache();
                    wall->GetMidLine();
                    wall->GetExtendedMidLine();
                    wall->GetPlanPolygon();
                    wall->GetAttachWallFacePolygonWithInsulatingLayer();
                    wall->GetSolidWithoutPriorElements();
                    wall->IsEndUnconnected();
                }
            });
        for (auto& thread : pool)
            thread.join();
        std::vector<double> result;
        for (TTestWallEDO* wall : w)
            result.insert(result.end(),
                          {wall->GetMidLine()->Length(), wall->GetLeftLine()->Length(), wall->GetRightLine()->Length(),
                           wall->GetExtendedMidLine()->Length(), wall->GetPlanPolygon()->Area(),
                           wall->GetAttachWallFacePolygon()->Area(), wall->GetSolidWithoutPriorElements()->GetVolume(),
                           static_cast<double>(wall->GetStartLineEdoInfos().size()),
                           static_cast<double>(wall->GetEndLineEdoInfos().size())});
        fakes_.Detach();
        TGeometryModelTest::TearDown();
        return result;
    };
    const std::vector<double> one = answers(1);
    for (int round = 0; round < 3; ++round) {
        const std::vector<double> eight = answers(8);
        ASSERT_EQ(one.size(), eight.size());
        for (size_t i = 0; i < one.size(); ++i)
            EXPECT_NEAR(one[i], eight[i], 1e-6) << "round " << round << ", wall " << i / 9 + 1 << ", answer " << i % 9;
    }
    // The first wall runs from the grid's corner (mitred with the 240 wall
    // along y) to the first node, where the 370 line runs through.
    EXPECT_NEAR(one[0], 3000.0, 1e-6);
}

}  // namespace
