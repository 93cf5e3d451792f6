#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonEarthwork.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

namespace {

TVRMPolygon2d Square(double x, double y, double size)
{
    return TVRMPolygon2d(std::vector<TVRMPoint2d>{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}});
}

TVRMMultiPolygon2d SquareSet(double size)
{
    TVRMMultiPolygon2d set;
    set.Add(Square(0, 0, size));
    return set;
}

// The modes of one session, read back by backfill and earthwork types of the
// same kinds; a new session starts from nothing.
TEST(EarthStrategyListTest, DeductModesByEarthKind)
{
    StartCalculationSession({});
    TQTKEarthStrategyList& list = GetEarthStrategyList();
    list.SetDeductMode(41, 87, 3);
    list.SetDeductMode(0, 42, 5);  // a wall is no earth kind: nothing is stored
    struct Case {
        int subject, object;
        std::uint8_t mode;
    };
    const Case cases[] = {
        {0, 40, 1},                             // a wall against an excavation
        {40, 25, 1},                            // an excavation against a column
        {42, 45, 0},                            // never set
        {44, 40, 3},                            // ditch backfill against excavated earth: kinds 1 and 0
        {88, 43, 3}, {41, 87, 3}, {40, 44, 0},  // the pair the other way round
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetEarthStrategyList().GetDeductMode(c.subject, c.object), c.mode) << c.subject << "/" << c.object;

    StartCalculationSession({});
    EXPECT_EQ(GetEarthStrategyList().GetDeductMode(44, 40), 0);
    EXPECT_EQ(&GetEarthStrategyList(), &list);

    GetEarthStrategyList().SetDeductMode(42, 42, 7);
    GetEarthStrategyList().Clear();
    EXPECT_EQ(GetEarthStrategyList().GetDeductMode(45, 89), 0);
}

TEST(EarthStrategyListTest, EarthKindsOfElementTypes)
{
    const std::pair<int, int> cases[] = {{40, 0}, {43, 0}, {87, 0}, {41, 1},  {44, 1},  {88, 1},  {42, 2},
                                         {45, 2}, {89, 2}, {0, -1}, {39, -1}, {46, -1}, {86, -1}, {90, -1}};
    for (const auto& [type, kind] : cases)
        EXPECT_EQ(TQTKEarthStrategyList::IndexOfEarthKind(type), kind) << type;
}

TEST(EarthworkOutlineTest, OffsetPolygonEdges)
{
    // One width: the first edge (the south side) moves out, the others stay.
    EXPECT_NEAR(OffsetPolygonEdges(SquareSet(2000), {500})->Area(), 2000.0 * 2500, 1e-6);
    EXPECT_NEAR(GetOffsetPolygonArea(SquareSet(2000), {500, 0, 300}), 2000.0 * 2800, 1e-6);
    EXPECT_NEAR(GetOffsetPolygonArea(SquareSet(2000), {}), 2000.0 * 2000, 1e-6);
    // The widths run on over the rings: the fifth width is the second ring's first edge.
    TVRMMultiPolygon2d two = SquareSet(1000);
    two.Add(Square(5000, 0, 1000));
    const auto moved = OffsetPolygonEdges(two, {0, 0, 0, 0, 200, 100});
    ASSERT_EQ(moved->GetCount(), 2);
    EXPECT_NEAR(moved->GetItems(0).Area(), 1e6, 1e-6);
    EXPECT_NEAR(moved->GetItems(1).Area(), 1100.0 * 1200, 1e-6);
    // A ring that collapses is kept as it was.
    EXPECT_NEAR(GetOffsetPolygonArea(SquareSet(1000), {-600, -600, -600, -600}), 1e6, 1e-6);
    EXPECT_TRUE(OffsetPolygonEdges(TVRMMultiPolygon2d(), {100})->IsEmpty());
}

// Ditches 10 and 11 (the second without slope), excavations 20 to 23, pit 30,
// backfills 40 (sloping) and 41, backfill units 50 and 51 of them, and a
// wall 60. The earthwork objects are test objects.
class TEarthworkMeasureTest : public TGeometryModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 10, "type": 41, "props": {"BottomWidth": 1000, "LeftWorkingFaceWidth": 200,
           "RightWorkingFaceWidth": 200, "LeftSlopeFactor": 0.5, "RightSlopeFactor": 0.33},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -2300, "top": 0}},
          {"id": 11, "type": 41, "props": {"BottomWidth": 1000, "LeftWorkingFaceWidth": 200,
           "RightWorkingFaceWidth": 200, "LeftSlopeFactor": 0.5, "RightSlopeFactor": 0.33},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -2300, "top": 0}},
          {"id": 20, "type": 40, "props": {"SlopeFactor": 0.4},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500}},
          {"id": 21, "type": 40, "props": {"SlopeFactor": 0.5},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500, "edges": [{"kind": "slope", "slopeFactor": 0.3, "workingFaceWidth": 0}, null,
           {"kind": "slope", "slopeFactor": 0.6, "workingFaceWidth": 300}, null]}},
          {"id": 22, "type": 40, "props": {"SlopeFactor": 0.7},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500, "edges": [{"kind": "slope", "slopeFactor": 0.3, "workingFaceWidth": 0}, null,
           {"kind": "slope", "slopeFactor": 0.6, "workingFaceWidth": 300}, null]}},
          {"id": 23, "type": 40, "props": {"SlopeFactor": 0.4},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -1500, "top": 0}},
          {"id": 30, "type": 42, "props": {"SlopeFactor": 0.25},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1500, 1500], "bottom": -1500, "top": 0,
           "edges": [null, {"kind": "slope", "slopeFactor": 0.45, "workingFaceWidth": 0}, null, null]}},
          {"id": 40, "type": 43, "props": {"SlopeFactor": 0.4},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500}},
          {"id": 41, "type": 43, "props": {"SlopeFactor": 0.4},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500}},
          {"id": 50, "type": 87, "props": {"SlopeFactor": 0.2},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500}},
          {"id": 51, "type": 87, "props": {"SlopeFactor": 0.2},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
           "depth": 1500}},
          {"id": 60, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 3000, "SlopeFactor": 0.9},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}}])");
        scope_.emplace();
        for (int id : {10, 11}) {
            auto& ditch = scope_->Attach<TFakeDitchEarthEDO>(DrawObj(id));
            ditch.cutDepth = 1500;
            ditch.wetDepth = 500;
            ditch.frozenDepth = 300;
            ditch.workingFace = true;
            ditch.slope = id == 10;
        }
        for (int id : {20, 21, 22, 23, 30}) {
            auto& pit = scope_->Attach<TFakePitEarthEDO>(DrawObj(id));
            pit.slope = true;
            if (id == 20)
                pit.slopeBottom = SquareSet(2000);
        }
        scope_->Attach<TFakeEarthBackfillEDO>(DrawObj(40)).slope = true;
        scope_->Attach<TFakeEarthBackfillEDO>(DrawObj(41)).slope = false;
        scope_->Attach<TFakeEarthBackfillUnitEDO>(DrawObj(50)).backfill = Record(40);
        scope_->Attach<TFakeEarthBackfillUnitEDO>(DrawObj(51)).backfill = Record(41);
    }
    void TearDown() override
    {
        scope_.reset();
        TGeometryModelTest::TearDown();
    }

    std::optional<TFakeEDOScope> scope_;
};

// Base width 1000 + 200 + 200; the two slopes add (0.5 + 0.33) x depth, the
// depths running 0 / 1500 / 2000 / 2300 from the bottom.
TEST_F(TEarthworkMeasureTest, DitchLayerWidths)
{
    struct Case {
        int layer;
        bool atLowerDepth;
        double width;
    };
    const Case cases[] = {
        {0, true, 1400},
        {0, false, 1400 + 0.83 * 1500},
        {1, true, 1400 + 0.83 * 1500},
        {1, false, 3060},
        {2, true, 1400 + 0.83 * 2000},
        {2, false, 1400 + 0.83 * 2300},
        {-1, false, 3309},
        {7, true, 3060},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(GetDitchEarthLayerWidth(Record(10), c.layer, c.atLowerDepth), c.width, 1e-9)
            << c.layer << (c.atLowerDepth ? " lower" : " upper");
        EXPECT_NEAR(GetDitchEarthLayerWidth(Record(11), c.layer, c.atLowerDepth), 1400, 1e-9) << c.layer;
    }
    // Without working faces the bottom width stands alone.
    scope_->Attach<TFakeDitchEarthEDO>(DrawObj(11)).cutDepth = 1500;
    EXPECT_NEAR(GetDitchEarthLayerWidth(Record(11), 0, false), 1000, 1e-9);
    // A record without an earthwork object.
    EXPECT_THROW(GetDitchEarthLayerWidth(Record(60), 0, true), EQTKAssertionFailed);
}

TEST_F(TEarthworkMeasureTest, SlopeFactors)
{
    struct Case {
        int id;
        double factor;
    };
    const Case cases[] = {
        {10, 0.5},   // the larger of the ditch's two sides
        {11, 0.0},   // the ditch does not slope
        {20, 0.4},   // edges without slope information: the element's own factor on every edge
        {21, 0.6},   // the steepest edge
        {22, 0.7},   // edges without information take the element's factor
        {23, 0.0},   // no face outline: no edges
        {30, 0.45},  // the pit's point outline
        {40, 0.4},   // a sloping backfill
        {41, 0.0},   // a backfill without slope
        {50, 0.2},   // a unit of the sloping backfill, by its own outline
        {51, 0.0},   // a unit of the backfill without slope
    };
    for (const Case& c : cases) {
        double factor = -1;
        EXPECT_TRUE(GetEarthSlopeFactor(Record(c.id), factor));
        EXPECT_NEAR(factor, c.factor, 1e-12) << c.id;
    }
    // Any other element is no earthwork.
    double factor = -1;
    EXPECT_THROW(GetEarthSlopeFactor(Record(60), factor), EQTKAssertionFailed);
    EXPECT_THROW(GetMaxSlopeFactor(Record(60)), EQTKAssertionFailed);
    EXPECT_NEAR(GetMaxSlopeFactor(Record(11)), 0.5, 1e-12);
    EXPECT_NEAR(GetDrawObjSlopeFactor(DrawObj(60)), 0.9, 1e-12);
    EXPECT_NEAR(GetDrawObjSlopeFactor(DrawObj(10)), 0.0, 1e-12);
    EXPECT_NEAR(GetDrawObjSlopeFactor(nullptr), 0.0, 1e-12);
}

// Only a sloping excavation, ditch or pit object answers.
TEST_F(TEarthworkMeasureTest, ElementObjectSlopeFactor)
{
    const std::pair<int, double> sloping[] = {{10, 0.5}, {21, 0.6}, {30, 0.45}};
    for (const auto& [id, expected] : sloping) {
        double factor = -1;
        EXPECT_TRUE(GetEdoSlopeFactor(GetCalcEDO(Record(id), true).get(), factor)) << id;
        EXPECT_NEAR(factor, expected, 1e-12) << id;
    }
    for (int id : {11, 40, 50, 60}) {
        double factor = -1;
        EXPECT_FALSE(GetEdoSlopeFactor(GetCalcEDO(Record(id), true).get(), factor)) << id;
        EXPECT_EQ(factor, 0.0) << id;
    }
    double factor = -1;
    EXPECT_FALSE(GetEdoSlopeFactor(nullptr, factor));
}

TEST_F(TEarthworkMeasureTest, SlopeBottomOutlineOffset)
{
    EXPECT_NEAR(GetEarthPolygonOffsetArea(Record(20), {500}), 2000.0 * 2500, 1e-6);
    EXPECT_NEAR(GetEarthPolygonOffset(Record(20), {500, 500, 500, 500})->Area(), 3000.0 * 3000, 1e-6);
    // No slope bottom outline: nothing to move.
    EXPECT_TRUE(GetEarthPolygonOffset(Record(21), {500})->IsEmpty());
    EXPECT_THROW(GetEarthPolygonOffset(Record(10), {500}), EQTKAssertionFailed);
}

}  // namespace
