// Opening positions against columns and beams, join priority of line
// elements, the connected search at an end, and junction precedence, on small
// models whose line elements are test objects.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

TVRMMultiPolygon2d Ring(std::initializer_list<TVRMPoint2d> points)
{
    TVRMPolygon2d ring;
    for (const TVRMPoint2d& p : points)
        ring.Add(p);
    TVRMMultiPolygon2d set;
    set.Add(ring);
    return set;
}

Ref<IQTKSectionPoly> Section(std::initializer_list<TVRMPoint2d> points)
{
    return MakeRef<TQTKSectionPoly>(std::make_unique<TVRMMultiPolygon2d>(Ring(points)));
}

// ---------------------------------------------------------------------------
// Opening positions

class TOpeningPositionTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        // Walls along x and along y, each with a 400 column standing on it
        // from 1800 to 2200; openings 1000 wide at several places.
        Load(R"([
          {"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 2, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 0], "end": [0, 6000]}},
          {"id": 10, "type": 25, "props": {"BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "point", "insertPt": [2000, 0], "size": [400, 400]}},
          {"id": 20, "type": 25, "props": {"BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "point", "insertPt": [0, 2000], "size": [400, 400]}},
          {"id": 31, "type": 4, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 2000}},
          {"id": 32, "type": 4, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 1300}},
          {"id": 33, "type": 4, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 2300}},
          {"id": 34, "type": 4, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 4000}},
          {"id": 42, "type": 4, "parent": 2, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 1300}},
          {"id": 43, "type": 4, "parent": 2, "props": {"OpeningWidth": 1000, "OpeningHeight": 2100},
           "shape": {"kind": "opening", "at": 2300}},
          {"id": 50, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 300},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2700, "top": 3000}},
          {"id": 51, "type": 5, "parent": 1, "props": {"OpeningWidth": 1000, "OpeningHeight": 1200},
           "shape": {"kind": "opening", "at": 1500}}])");
    }
};

TEST_F(TOpeningPositionTest, SpanAgainstColumn)
{
    struct Case {
        const char* name;
        int column, opening;
        bool endIn, over;
    };
    // Spans: 31 1500-2500 over the whole column; 32 800-1800 ending on its
    // near face, 33 1800-2800 starting on it and running in (the nudged end
    // decides); 34 3500-4500 apart. 42 and 43 are 32 and 33 on the wall along y.
    const Case cases[] = {
        {"crosses", 10, 31, false, true},          {"ends on face, x", 10, 32, true, false},
        {"starts on face, x", 10, 33, true, true}, {"apart", 10, 34, false, false},
        {"ends on face, y", 20, 42, true, false},  {"starts on face, y", 20, 43, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsOpeningEndInElement(Record(c.column), Record(c.opening)), c.endIn);
        EXPECT_EQ(IsOpeningOverElement(Record(c.column), Record(c.opening)), c.over);
    }
}

TEST_F(TOpeningPositionTest, OpeningAgainstBeamSides)
{
    // The beam's outline on the wall, starting at its top left: edge 1 is its
    // bottom (running +x), edge 3 its top (running -x).
    struct Case {
        const char* name;
        std::initializer_list<TVRMPoint2d> opening;
        bool onSide;
    };
    const Case cases[] = {
        // A window under the beam, counter-clockwise: its top edge runs -x along the beam's bottom.
        {"top edge -x on the bottom", {{1000, 1500}, {2000, 1500}, {2000, 2700}, {1000, 2700}}, false},
        // The same clockwise: the top edge runs +x.
        {"top edge +x on the bottom", {{1000, 1500}, {1000, 2700}, {2000, 2700}, {2000, 1500}}, true},
        // Standing on the beam's top, counter-clockwise: its bottom edge runs +x on the top edge.
        {"bottom edge +x on the top", {{1000, 3000}, {2000, 3000}, {2000, 3500}, {1000, 3500}}, false},
        {"touching neither", {{1000, 900}, {2000, 900}, {2000, 2100}, {1000, 2100}}, true},
    };
    TFakeEDOScope scope;
    auto& beam = scope.Attach<TFakeBeamInfoEDO>(DrawObj(50));
    auto& window = scope.Attach<TFakeWallHollowEDO>(DrawObj(51));
    beam.projection = Section({{0, 3000}, {0, 2700}, {6000, 2700}, {6000, 3000}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.section = Section(c.opening);
        EXPECT_EQ(IsOpeningOnBeamSide(Record(50), Record(51), Record(1)), c.onSide);
    }
    beam.projection = nullptr;
    EXPECT_FALSE(IsOpeningOnBeamSide(Record(50), Record(51), Record(1)));
}

// ---------------------------------------------------------------------------
// Join priority

class TJoinPriorityTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        material_ =
            MakeRef<TRDXTable>("Material", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""},
                                                                     {"ElementTypeID", TRDXFieldType::Integer, ""},
                                                                     {"Description", TRDXFieldType::Text, ""},
                                                                     {"Level", TRDXFieldType::Integer, ""}});
        material_->AddRow({std::int64_t{1}, std::int64_t{81}, std::string("C30"), std::int64_t{1}});
        material_->AddRow({std::int64_t{2}, std::int64_t{81}, std::string("C15"), std::int64_t{2}});
        material_->AddRow({std::int64_t{3}, std::int64_t{81}, std::string("砖"), std::int64_t{5}});
        TQTKCalcSessionOptions options;
        options.materialTable = TableRef(material_.get());
        Load(R"([
          {"id": 1, "type": 0, "props": {"Thickness": 240, "InnerOuterFlag": 0},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "bottom": 0, "top": 3000}},
          {"id": 2, "type": 0, "props": {"Thickness": 240, "InnerOuterFlag": 2},
           "shape": {"kind": "line", "start": [5000, 0], "end": [5000, 3000], "bottom": 0, "top": 3000}},
          {"id": 3, "type": 1, "props": {"Thickness": 240},
           "shape": {"kind": "line", "start": [0, 0], "end": [0, 3000], "bottom": 0, "top": 3000}},
          {"id": 4, "type": 0, "props": {"Thickness": 240, "InnerOuterFlag": 0},
           "shape": {"kind": "line", "start": [0, 3000], "end": [5000, 3000], "bottom": 0, "top": 3000}},
          {"id": 10, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000}},
          {"id": 11, "type": 47, "props": {"SectionWidth": 250, "SectionHeight": 500},
           "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "bottom": 2500, "top": 3000}},
          {"id": 12, "type": 15, "props": {"SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [0, 4000], "bottom": 2400, "top": 3000}},
          {"id": 20, "type": 51, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000,
           "bottom": -1000, "top": 0}},
          {"id": 21, "type": 81, "parent": 20, "props": {"Material": "C30"},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -1000, "top": -700}},
          {"id": 22, "type": 81, "parent": 20, "props": {"Material": "砖"},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 600, "bottom": -700, "top": 0}},
          {"id": 30, "type": 51, "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "width": 1000,
           "bottom": -1000, "top": 0}},
          {"id": 31, "type": 81, "parent": 30, "props": {"Material": "C15"},
           "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "width": 1000, "bottom": -1000,
           "top": -700}},
          {"id": 32, "type": 81, "parent": 30, "props": {"Material": "C30"},
           "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "width": 600, "bottom": -700, "top": 0}},
          {"id": 40, "type": 51, "shape": {"kind": "line", "start": [0, 4000], "end": [6000, 4000], "width": 1000,
           "bottom": -1000, "top": 0}},
          {"id": 41, "type": 81, "parent": 40, "props": {"Material": "C15"},
           "shape": {"kind": "line", "start": [0, 4000], "end": [6000, 4000], "width": 1000, "bottom": -1000,
           "top": 0}}])",
             options);
    }
    IQTKCalculatorEDO* Edo(int id) { return GetCalcEDO(Record(id), true).get(); }

    Ref<TRDXTable> material_;
};

TEST_F(TJoinPriorityTest, Walls)
{
    TFakeEDOScope scope;
    auto& w1 = scope.Attach<TFakeWallInfoEDO>(DrawObj(1));
    auto& w2 = scope.Attach<TFakeWallInfoEDO>(DrawObj(2));
    auto& insulating = scope.Attach<TFakeInsulatingWallInfoEDO>(DrawObj(3));
    auto& w4 = scope.Attach<TFakeWallInfoEDO>(DrawObj(4));
    w1.typeDictValue = 3;
    w4.typeDictValue = 1;
    struct Case {
        const char* name;
        IQTKCalculatorEDO *a, *b;
        int expected;
    };
    const Case cases[] = {
        {"insulating over wall", &insulating, &w1, 1},
        {"wall under insulating", &w1, &insulating, -1},
        // "InnerOuterFlag" 0 against 2: a sign, never 2 (2 means "same kind" to the material pair)
        {"flag 0 against 2", &w1, &w2, -1},
        {"flag 2 against 0", &w2, &w1, 1},
        // all else equal: the lower dictionary level of "Type" takes priority
        {"type level 3 against 1", &w1, &w4, -1},
        {"type level 1 against 3", &w4, &w1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompareWallJoinPriority(c.a, c.b), c.expected);
        EXPECT_EQ(CompareLineEdoPriority(c.a, c.b), c.expected);
    }
    EXPECT_EQ(CompareWallMaterialPair(&w2, &w1, CompareLineEdoPriority), 1);
    // A wall against a beam has no join priority.
    auto& beam = scope.Attach<TFakeBeamInfoEDO>(DrawObj(10));
    EXPECT_EQ(CompareLineEdoPriority(&w1, &beam), 0);
}

TEST_F(TJoinPriorityTest, Beams)
{
    TFakeEDOScope scope;
    auto& beam = scope.Attach<TFakeBeamInfoEDO>(DrawObj(10));
    auto& fdBeam = scope.Attach<TFakeBeamInfoEDO>(DrawObj(11));
    auto& higher = scope.Attach<TFakeBeamInfoEDO>(DrawObj(12));
    EXPECT_EQ(CompareBeamKindForJoin(&fdBeam, &beam), 1);  // 15 - 0 > 0
    EXPECT_EQ(CompareBeamEdoPriority(&fdBeam, &beam), 1);
    EXPECT_EQ(CompareBeamEdoPriority(&beam, &fdBeam), -1);
    EXPECT_EQ(CompareLineEdoPriority(&fdBeam, &beam), 1);
    // Same kind: the section height decides, unless a dictionary level does first.
    EXPECT_EQ(CompareBeamEdoPriority(&higher, &beam), 1);
    beam.typeValues[1] = 0;
    higher.typeValues[1] = 2;
    EXPECT_EQ(CompareBeamEdoPriority(&higher, &beam), -1);
    EXPECT_EQ(CompareBeamJoinPriority(&higher, &beam), -1);
    higher.typeValues[1] = 0;
    EXPECT_EQ(CompareBeamSectionHeight(&beam, &higher), -1);
    // Equal in everything: the rules' order still gives 1.
    EXPECT_EQ(CompareBeamJoinPriority(&beam, &beam), 1);
}

TEST_F(TJoinPriorityTest, StripFoundationsByUnitMaterial)
{
    int rank = 0;
    bool allSame = false;
    GetCompositeMaterialRank(Record(20), rank, allSame);
    EXPECT_EQ(rank, 1);
    EXPECT_FALSE(allSame);
    GetCompositeMaterialRank(Record(41), rank, allSame);  // a unit, not a composite: no units
    EXPECT_EQ(rank, CVRMMaxInt);
    EXPECT_TRUE(allSame);
    // 20 (C30, brick) against 30 (C15, C30): both mixed, no priority.
    EXPECT_EQ(CompareStripFDPriority(Edo(20), Edo(30)), 0);
    // 40 is all C15 (rank 2) against 20's lowest rank 1: 20 takes priority.
    EXPECT_EQ(CompareStripFDPriority(Edo(40), Edo(20)), -1);
    EXPECT_EQ(CompareStripFDPriority(Edo(20), Edo(40)), 1);
    // The foundations keep their units' ranks: asked again, the same answers.
    for (auto [id, expectedRank, expectedSame] : {std::tuple{20, 1, false}, {30, 1, false}, {40, 2, true}}) {
        dynamic_cast<IQTKStripFDCalcEDO*>(Edo(id))->GetUnitsMaterialRank(rank, allSame);
        EXPECT_EQ(rank, expectedRank) << id;
        EXPECT_EQ(allSame, expectedSame) << id;
    }
    EXPECT_EQ(CompareStripFDPriority(Edo(20), Edo(40)), 1);
}

TEST_F(TJoinPriorityTest, PartitionWallsAndRibbons)
{
    TFakeEDOScope scope;
    auto& a = scope.Attach<TFakeRibbonOpeningEDO>(DrawObj(1));
    auto& b = scope.Attach<TFakeRibbonOpeningEDO>(DrawObj(2));
    auto& wall = scope.Attach<TFakeWallInfoEDO>(DrawObj(4));
    EXPECT_EQ(CompareLineEdoPriority(&a, &b), 0);
    b.recalculating = true;
    EXPECT_EQ(CompareLineEdoPriority(&a, &b), -1);
    a.recalculating = true;
    EXPECT_EQ(CompareLineEdoPriority(&a, &b), 1);
    EXPECT_EQ(CompareLineEdoPriority(&a, &wall), 1);
    EXPECT_EQ(CompareLineEdoPriority(&wall, &a), -1);
}

// ---------------------------------------------------------------------------
// Connected search

class TConnectedSearchTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        // A closed 6000 x 4000 ring of walls (1-4, counter-clockwise) and three
        // walls meeting at one node (5-7) whose bands all overlap there.
        Load(R"([
          {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 2, "type": 0, "shape": {"kind": "line", "start": [6000, 0], "end": [6000, 4000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 3, "type": 0, "shape": {"kind": "line", "start": [6000, 4000], "end": [0, 4000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 4, "type": 0, "shape": {"kind": "line", "start": [0, 4000], "end": [0, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 5, "type": 0, "shape": {"kind": "line", "start": [20000, 0], "end": [25000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 6, "type": 0, "shape": {"kind": "line", "start": [25000, 0], "end": [25000, 3000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 7, "type": 0, "shape": {"kind": "line", "start": [25000, 0], "end": [28000, 3000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 8, "type": 0, "shape": {"kind": "line", "start": [25000, 0], "end": [28000, 0], "width": 240, "bottom": 5000, "top": 8000}}])");
    }
};

TEST_F(TConnectedSearchTest, EachNeighbourOnceNeverTheStart)
{
    TFakeEDOScope scope;
    std::vector<TFakeWallInfoEDO*> walls;
    for (int id = 1; id <= 8; ++id)
        walls.push_back(&scope.Attach<TFakeWallInfoEDO>(DrawObj(id)));
    // Every wall is a candidate of every other one (the related list of a real model).
    const TQTKLineCandidateFunc everyWall = [&](IQTKCalculatorEDO*, const TQTKElementTypeSet&, TRecordList& list) {
        list.clear();
        for (int id = 1; id <= 8; ++id)
            list.emplace_back(Record(id));
    };
    const TQTKLineCandidateFunc none = [](IQTKCalculatorEDO*, const TQTKElementTypeSet&, TRecordList& list) {
        list.clear();
    };
    auto ids = [](const TQTKLineEdoInfoArray& infos) {
        std::vector<int> result;
        for (const auto& info : infos)
            result.push_back(info->GetID());
        return result;
    };
    const TQTKElementTypeSet walltypes = MakeElementTypeSet({0, 1});
    struct Case {
        const char* name;
        int from;
        bool atStart;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"ring corner at the end", 1, false, {2}},
        {"ring corner at the start", 1, true, {4}},
        // 5's end meets 6 and 7; 8 stands above them; each once although 6 and 7 meet each other too
        {"node of three", 5, false, {6, 7}},
        {"node seen from a member", 6, true, {5, 7}},
        {"free end", 5, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ids(GetOverlappingLineEdoInfos(walls[c.from - 1], walltypes, c.atStart, everyWall)), c.expected);
    }
    EXPECT_TRUE(GetOverlappingLineEdoInfos(walls[0], walltypes, false, none).empty());
    // The element found is related to the one searching.
    EXPECT_GE(walls[4]->IndexOfRelated(Record(6)), 0);
}

// ---------------------------------------------------------------------------
// Junction precedence

class TJunctionPrecedenceTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 2, "type": 0, "shape": {"kind": "line", "start": [0, 1000], "end": [5000, 1000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 3, "type": 0, "shape": {"kind": "line", "start": [10000, 0], "end": [18000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 4, "type": 0, "shape": {"kind": "line", "start": [14000, 0], "end": [14000, 3000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 5, "type": 0, "shape": {"kind": "line", "start": [20000, 0], "end": [25000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 6, "type": 0, "shape": {"kind": "line", "start": [25000, 0], "end": [25000, 3000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 7, "type": 0, "shape": {"kind": "line", "start": [30000, 0], "end": [38000, 0], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 8, "type": 0, "shape": {"kind": "line", "start": [34000, -3000], "end": [34000, 3000], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 9, "type": 0, "shape": {"kind": "line", "start": [34000, -3000], "end": [34000, 3000], "width": 370, "bottom": 0, "top": 3000}},
          {"id": 10, "type": 15, "props": {"SectionHeight": 500}, "shape": {"kind": "line", "start": [0, 10000], "end": [6000, 10000], "width": 250, "bottom": 2500, "top": 3000}},
          {"id": 11, "type": 15, "props": {"SectionHeight": 500}, "shape": {"kind": "line", "start": [6000, 10000], "end": [6000, 14000], "width": 250, "bottom": 2500, "top": 3000, "sectionInfo": {"haunch": 150}}},
          {"id": 12, "type": 0, "shape": {"kind": "line", "start": [0, -1000], "end": [5000, -1000], "width": 240, "bottom": 0, "top": 2800}}])");
    }
};

TEST_F(TJunctionPrecedenceTest, GiveWayChain)
{
    TFakeEDOScope scope;
    std::vector<TFakeLineInfoEDO<IQTKWallCalcEDO>*> w(13, nullptr);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12})
        w[id] = &scope.Attach<TFakeWallInfoEDO>(DrawObj(id));
    auto& beam = scope.Attach<TFakeBeamInfoEDO>(DrawObj(10));
    auto& haunched = scope.Attach<TFakeBeamInfoEDO>(DrawObj(11));
    struct Case {
        const char* name;
        IQTKCalculatorEDO *a, *b;
        bool aCut, bCut;
    };
    const Case cases[] = {
        {"parallel apart: the higher id", w[1], w[2], false, true},
        {"stem into a through wall", w[4], w[3], true, false},
        {"equal L, not connected", w[5], w[6], false, false},
        // equal widths crossing (kind 9): the crossing stays in both
        {"equal crossing", w[7], w[8], false, false},
        {"narrower crossing", w[7], w[9], true, false},
        {"one of two beams haunched", &beam, &haunched, true, true},
        // the lower top gives way at the junction
        {"lower top", w[12], w[2], true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsLineEdoCutBy(c.a, c.b, false), c.aCut);
        EXPECT_EQ(IsLineEdoCutBy(c.b, c.a, false), c.bCut);
    }
    // The connection rule on the L: the one butting onto the other gives way;
    // connected both ways, the tie rule (not parallel, no haunches): neither.
    w[5]->ConnectAt(false, 6);
    EXPECT_TRUE(IsLineEdoCutBy(w[5], w[6], false));
    EXPECT_FALSE(IsLineEdoCutBy(w[6], w[5], false));
    w[6]->ConnectAt(true, 5);
    EXPECT_FALSE(IsLineEdoCutBy(w[5], w[6], false));
    EXPECT_FALSE(IsLineEdoCutBy(w[6], w[5], false));
    // Measured along its axis, an element that would give way at an L (kinds
    // 1, 2) does not; at a T it still does.
    w[6]->connected = MakeRef<TQTKConnectedEdoIDInfo>();
    w[5]->useAxisLength = true;
    EXPECT_TRUE(IsLineEdoCutBy(w[5], w[6], false));
    EXPECT_FALSE(IsLineEdoCutBy(w[5], w[6], true));
    w[4]->useAxisLength = true;
    EXPECT_TRUE(IsLineEdoCutBy(w[4], w[3], true));
    // Records: the same through their element objects.
    EXPECT_TRUE(IsLineEntCutBy(Record(4), Record(3), false));
}

TEST_F(TJunctionPrecedenceTest, JunctionKindTable)
{
    // The give-way column of the junction kinds, through the precedence
    // routine in both argument orders: (kind, A gives way, B gives way).
    TFakeEDOScope scope;
    std::vector<TFakeWallInfoEDO*> w(10, nullptr);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9})
        w[id] = &scope.Attach<TFakeWallInfoEDO>(DrawObj(id));
    struct Case {
        int a, b, kind, expected, mirrored;
    };
    const Case cases[] = {
        {4, 3, 5, -1, 1},                     // T: the stem gives way
        {3, 4, 7, 1, -1},  {7, 9, 8, -1, 1},  // narrower crossing
        {9, 7, 10, 1, -1}, {7, 8, 9, 0, 0},   // equal crossing: undecided
        {5, 6, 2, 0, 0},   {1, 2, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a * 100 + c.b);
        EXPECT_EQ(IntersectShape(w[c.a], w[c.b]), c.kind);
        EXPECT_EQ(CompareLineInfoByJunction(w[c.a], w[c.b]), c.expected);
        EXPECT_EQ(CompareLineEdosByJunction(w[c.b], w[c.a]), c.mirrored);
    }
}

TEST_F(TJunctionPrecedenceTest, NetLengthAndSubtractions)
{
    TFakeEDOScope scope;
    auto& through = scope.Attach<TFakeWallInfoEDO>(DrawObj(3));
    auto& stem = scope.Attach<TFakeWallInfoEDO>(DrawObj(4));
    auto& alone = scope.Attach<TFakeWallInfoEDO>(DrawObj(1));
    alone.midLine = TVRMCustomLine2d({0, 0}, {5000, 0});
    stem.midLine = TVRMCustomLine2d({14000, 0}, {14000, 3000});
    through.planPolygon = Ring({{10000, -120}, {18000, -120}, {18000, 120}, {10000, 120}});
    // Alone: its middle line's length.
    EXPECT_DOUBLE_EQ(GetLineEntNetLength(Record(1)), 5000.0);
    // The stem gives way to the through wall: less the 120 it covers.
    stem.AddRelated(Record(3));
    EXPECT_NEAR(GetLineEntNetLength(Record(4)), 2880.0, 1e-6);

    // The shell of the through wall's near face; a cutter flush with it
    // (its face on the same plane, facing the same way) and reaching into it.
    const auto cutter = Box(13880, -120, 0, 14120, 3000, 3000);
    auto shellOf = [] {
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        const auto solid = Box(10000, -120, 0, 18000, 120, 3000);
        for (int i = 0; i < solid->GetFaceCount(); ++i)
            shell->AddFace(solid->GetFace(i));
        return shell;
    };
    struct Case {
        const char* name;
        IQTKCalculatorEDO *a, *b;
        int kinds;
    };
    // The through wall does not give way: contact only ({0}); the stem does: contact and flush ({0, 1}).
    const Case cases[] = {{"not giving way", &through, &stem, 1}, {"giving way", &stem, &through, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQTKShellCalc3d byRoutine(shellOf(), RecordRef(Record(3)));
        TQTKShellCalc3d direct(shellOf(), RecordRef(Record(3)));
        const double removed = SubtractCutterFromShellCalc(c.a, c.b, byRoutine, cutter.get());
        EXPECT_GT(removed, 0.0);
        EXPECT_NEAR(removed, direct.Subtract(*cutter, Record(4), c.kinds), 1e-6);
    }
    TQTKSolidCalc3d solid(Box(10000, -120, 0, 18000, 120, 3000), RecordRef(Record(3)));
    EXPECT_EQ(SubtractCutterFromSolidCalc(&through, &stem, solid, cutter.get()), 0.0);
    TQTKSolidCalc3d stemSolid(Box(13880, -120, 0, 14120, 3000, 3000), RecordRef(Record(4)));
    const auto throughSolid = Box(10000, -120, 0, 18000, 120, 3000);
    EXPECT_NEAR(SubtractCutterFromSolidCalc(&stem, &through, stemSolid, throughSolid.get()), 240.0 * 240 * 3000, 1e-3);
}

}  // namespace

namespace {

class TGiveWayByTypeTest : public TGeometryModelTest {};

TEST_F(TGiveWayByTypeTest, BeamsAndBrickMoulds)
{
    // One element of each type at its own place; ids ascend with the table order.
    Load(R"([
      {"id": 1, "type": 15, "shape": {"kind": "line", "start": [0, 0], "end": [1000, 0], "width": 200, "bottom": 0, "top": 500}},
      {"id": 2, "type": 17, "shape": {"kind": "line", "start": [0, 1000], "end": [1000, 1000], "width": 200, "bottom": 0, "top": 500}},
      {"id": 3, "type": 12, "shape": {"kind": "line", "start": [0, 2000], "end": [1000, 2000], "width": 200, "bottom": 0, "top": 500}},
      {"id": 4, "type": 28, "shape": {"kind": "point", "insertPt": [5000, 0], "size": [400, 400], "bottom": 0, "top": 500}},
      {"id": 5, "type": 56, "shape": {"kind": "point", "insertPt": [6000, 0], "size": [400, 400], "bottom": 0, "top": 500}},
      {"id": 6, "type": 48, "shape": {"kind": "face", "outline": [[7000, 0], [8000, 0], [8000, 1000], [7000, 1000]], "thickness": 300}},
      {"id": 7, "type": 48, "shape": {"kind": "face", "outline": [[9000, 0], [10000, 0], [10000, 1000], [9000, 1000]], "thickness": 300}},
      {"id": 8, "type": 82, "shape": {"kind": "point", "insertPt": [11000, 0], "size": [400, 400], "bottom": 0, "top": 500}},
      {"id": 9, "type": 83, "shape": {"kind": "point", "insertPt": [12000, 0], "size": [400, 400], "bottom": 0, "top": 500}}])");
    struct Case {
        int a, b;
        bool beamCut, moldCut;
    };
    const Case cases[] = {
        // the higher beam type gives way; brick moulds: the junction chain, whose
        // tie rule makes the higher id of two parallel beams give way
        {2, 1, true, true},   {1, 2, false, false}, {1, 3, true, false},  // any beam to a lintel
        {3, 1, false, false}, {1, 4, false, true},                        // beam against column base, raft, sump, units
        {1, 6, false, true},  {4, 5, false, false},  // column base against sump: the lower id stays
        {5, 4, false, true},  {4, 6, false, true},  {6, 4, false, false}, {7, 6, false, true},  {6, 7, false, false},
        {9, 8, false, true},  {8, 9, false, false}, {8, 4, false, true},  {4, 8, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a * 100 + c.b);
        EXPECT_EQ(IsBeamCutByType(Record(c.a), Record(c.b)), c.beamCut);
        EXPECT_EQ(IsBrickMoldCutBy(Record(c.a), Record(c.b)), c.moldCut);
    }
    EXPECT_FALSE(IsBeamCutByType(nullptr, Record(1)));
}

}  // namespace

namespace {

// The junction kinds' give-way column, driven through the whole give-way
// chain (IsLineEdoCutBy) in both argument orders: walls alike in family,
// material and elevations, so the kind decides, or, where it leaves the pair
// undecided, the tie rule (parallel: the higher id gives way; else neither).
class TJunctionKindChainTest : public TGeometryModelTest {};

TEST_F(TJunctionKindChainTest, EveryKindInBothOrders)
{
    struct Pair {
        const char* name;
        double a[4], b[4];
        double widthA, widthB;
        int kind, mirrored;
        bool aCut, bCut;
    };
    // A has the lower id of each pair; widths 200 unless stated.
    const Pair pairs[] = {
        {"L at A's end", {0, 0, 5000, 0}, {5000, 0, 5000, 3000}, 200, 200, 2, 1, false, false},
        {"L at both starts", {0, 0, 5000, 0}, {0, 0, 0, 3000}, 200, 200, 1, 1, false, false},
        {"stub across B's start", {4950, 0, 5050, 0}, {5000, 0, 5000, 3000}, 200, 200, 3, 1, false, false},
        {"parallel overlap, A wider", {0, 0, 5000, 0}, {3000, 0, 8000, 0}, 240, 120, 4, 12, false, true},
        {"T, A the stem at its start", {5000, 0, 5000, 3000}, {0, 0, 8000, 0}, 200, 200, 5, 7, true, false},
        {"T, A the stem at its end", {5000, 3000, 5000, 0}, {0, 0, 8000, 0}, 200, 200, 6, 7, true, false},
        {"T, A through", {0, 0, 5000, 0}, {2500, 0, 2500, 3000}, 200, 200, 7, 5, false, true},
        {"X, A narrower", {0, 0, 5000, 0}, {2500, -2000, 2500, 2000}, 200, 300, 8, 10, true, false},
        {"X, equal", {0, 0, 5000, 0}, {2500, -2000, 2500, 2000}, 200, 200, 9, 9, false, false},
        {"X, A wider", {0, 0, 5000, 0}, {2500, -2000, 2500, 2000}, 300, 200, 10, 8, false, true},
        {"A inside B's band", {2450, -50, 2450, 50}, {0, 0, 5000, 0}, 200, 200, 11, 7, true, false},
        {"parallel overlap, A narrower", {0, 0, 5000, 0}, {3000, 0, 8000, 0}, 120, 240, 12, 4, true, false},
        {"overshoot at A's start", {-150, 0, 5000, 0}, {0, 0, 0, 3000}, 200, 200, 13, 5, false, true},
        {"overshoot at A's end", {0, 0, 5150, 0}, {5000, 0, 5000, 3000}, 200, 200, 14, 5, false, true},
        // the greater index key (the later element) gives way
        {"parallel overlap, equal", {0, 0, 5000, 0}, {3000, 0, 8000, 0}, 200, 200, 15, 15, false, true},
        {"collinear, end to end", {0, 0, 5000, 0}, {5000, 0, 8000, 0}, 200, 200, 2, 1, false, true},
        {"parallel apart", {0, 0, 5000, 0}, {0, 1000, 5000, 1000}, 200, 200, 0, 0, false, true},
        {"apart, not parallel", {0, 0, 5000, 0}, {8000, 0, 8000, 3000}, 200, 200, 0, 0, false, false},
    };
    std::ostringstream text;
    text << "[";
    int id = 0;
    for (const Pair& p : pairs) {
        const double y = 20000.0 * (id / 2);
        for (const auto& [line, width] : {std::pair(p.a, p.widthA), std::pair(p.b, p.widthB)})
            text << (id ? "," : "") << R"({"id": )" << ++id << R"(, "type": 0, "shape": {"kind": "line", "start": [)"
                 << line[0] << ", " << line[1] + y << "], \"end\": [" << line[2] << ", " << line[3] + y
                 << "], \"width\": " << width << R"(, "bottom": 0, "top": 3000}})";
    }
    text << "]";
    Load(text.str());
    TFakeEDOScope scope;
    id = 0;
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        auto& a = scope.Attach<TFakeWallInfoEDO>(DrawObj(++id));
        auto& b = scope.Attach<TFakeWallInfoEDO>(DrawObj(++id));
        EXPECT_EQ(IntersectShape(&a, &b), p.kind);
        EXPECT_EQ(IntersectShape(&b, &a), p.mirrored);
        EXPECT_EQ(IsLineEdoCutBy(&a, &b, false), p.aCut);
        EXPECT_EQ(IsLineEdoCutBy(&b, &a, false), p.bCut);
    }
}

}  // namespace
