// Floors, project elevations, element kinds, type levels, column ranges and
// match-expression values read from a small model.
#include <array>

#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/RDX/PXEIntf.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"

namespace {

class RecordQueryTest : public TCalcModelTest {
protected:
    void SetUp() override { StartSession(model_); }
    IRDXRecord* R(int id) { return Record(model_, id); }
    IRDXRecord* Floor(int id) { return model_.GetRDXModel()->FindTable("Floor")->GetRecordByID(id); }
    TQTKElementModel& model_ = Model("records.json");
};

TEST_F(RecordQueryTest, FloorKinds)
{
    // Elements on the foundation floor (StartFloorNo 0), the basements -1 and -2, the first
    // floor, and without floor.
    struct Case {
        int element;
        bool foundation, basement, first;
    };
    const std::array<Case, 5> cases{{{26, true, false, false},
                                     {14, false, true, false},
                                     {15, false, true, false},
                                     {11, false, false, true},
                                     {31, false, false, false}}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsOnFoundationFloor(R(c.element)), c.foundation) << c.element;
        EXPECT_EQ(IsOnBasementFloor(R(c.element)), c.basement) << c.element;
        EXPECT_EQ(IsOnFirstFloor(R(c.element)), c.first) << c.element;
    }
    EXPECT_EQ(GetRecordFloor(R(31)), nullptr);
    EXPECT_TRUE(IsFoundationFloorRecord(Floor(1)));
    EXPECT_FALSE(IsFoundationFloorRecord(Floor(2)));
    EXPECT_FALSE(IsFoundationFloorRecord(nullptr));
}

TEST_F(RecordQueryTest, FloorsOfARegion)
{
    EXPECT_EQ(FindFirstFloorOfRegion(Floor(2))->GetID(), 4);
    EXPECT_EQ(FindFirstFloorOfRegion(Floor(7))->GetID(), 6);
    // -3 m comes first in the table, -6 m is lower.
    EXPECT_EQ(FindLowestBasementFloor(Floor(4))->GetID(), 3);
    EXPECT_EQ(FindLowestBasementFloor(Floor(6))->GetID(), 7);
    EXPECT_EQ(FindLowestBasementFloor(Floor(8)), nullptr);  // a region without basements
    EXPECT_EQ(FindLowestBasementFloor(nullptr), nullptr);
    EXPECT_TRUE(IsFirstFloorOfRegion(Floor(1)));
    EXPECT_FALSE(IsFirstFloorOfRegion(Floor(4)));
    EXPECT_TRUE(IsFirstFloorOfRegion(Floor(6)));
}

TEST_F(RecordQueryTest, ElevationsInMillimetres)
{
    EXPECT_DOUBLE_EQ(GetFloorStructuralElev(R(14)), -3000.0);
    EXPECT_DOUBLE_EQ(GetFloorStructuralElev(R(12), true), 0.0);
    EXPECT_DOUBLE_EQ(GetFloorStructuralElev(R(31)), 0.0);
    EXPECT_DOUBLE_EQ(GetProjectGroundElev(R(11)), -450.0);
    // The rule context holds no project table: the business data answers.
    EXPECT_DOUBLE_EQ(GetProjectGroundElev(RuleSet(model_)), -450.0);
    EXPECT_DOUBLE_EQ(GetBeamFormboardAngle(RuleSet(model_)), 22.5);
    EXPECT_DOUBLE_EQ(GetBeamFormboardAngle(TableSourceRef(model_.GetBusiness())), 0.0);
}

TEST_F(RecordQueryTest, RegionFlag)
{
    TQTKCalcSessionOptions options;
    options.regions = {{1, true, 0.0}};
    StartSession(model_, options);
    EXPECT_TRUE(GetRegionFlag(R(11)));
    EXPECT_TRUE(GetRegionFlag(R(31)));  // no floor
    options.regions = {{1, false, 0.0}};
    StartSession(model_, options);
    EXPECT_FALSE(GetRegionFlag(R(11)));
    StartSession(model_);
    EXPECT_FALSE(GetRegionFlag(R(11)));  // unknown region
}

TEST_F(RecordQueryTest, WallBeamAndSlabKinds)
{
    EXPECT_TRUE(IsVirtualWallRecord(R(11)));
    EXPECT_FALSE(IsPartitionWallRecord(R(11)));
    EXPECT_TRUE(IsPartitionWallRecord(R(12)));
    // A wall without "Type" is neither; a beam with "Type" 255 is no virtual wall.
    EXPECT_FALSE(IsVirtualWallRecord(R(13)));
    EXPECT_FALSE(IsPartitionWallRecord(R(13)));
    EXPECT_FALSE(IsVirtualWallRecord(R(14)));
    EXPECT_TRUE(IsNonFloorSlabRecord(R(18)));
    EXPECT_FALSE(IsNonFloorSlabRecord(R(19)));  // no "IsFloorSlab"
    EXPECT_TRUE(IsSingleBeamRecord(R(14)));
    EXPECT_FALSE(IsSingleBeamRecord(R(15)));  // "Type2" null
    EXPECT_FALSE(IsSingleBeamRecord(R(11)));  // no "Type2"
}

TEST_F(RecordQueryTest, InnerAndOuter)
{
    EXPECT_TRUE(IsOuterWallRecord(R(11)));
    EXPECT_TRUE(IsInnerWallRecord(R(12)));
    EXPECT_TRUE(IsInnerWallRecord(R(13)));  // no flag
    // The unit's own flag says outer; its insulating wall is inner.
    EXPECT_TRUE(IsInnerWallRecord(R(21)));
    EXPECT_FALSE(IsOuterWallRecord(R(21)));
    EXPECT_TRUE(IsOuterDrawObj(model_.FindElement(21)));
}

TEST_F(RecordQueryTest, TypeLevels)
{
    const IQTKElementDrawObj* virtualWall = model_.FindElement(11);
    EXPECT_EQ(GetTypeLevel(virtualWall, 0), 3);
    EXPECT_EQ(GetTypeLevel(virtualWall, 1), CQTKNoLevel);  // no "Type1"
    EXPECT_EQ(GetTypeLevel(virtualWall, 3), 2147483647);
    EXPECT_EQ(GetTypeLevel(model_.FindElement(14), 2), 7);
    EXPECT_EQ(GetTypeLevel(model_.FindElement(13), 0), CQTKNoLevel);
    EXPECT_EQ(GetEdoTypeLevel(GetCalcEDO(R(11), true).get(), 0), 3);
}

TEST_F(RecordQueryTest, ShapesAndLists)
{
    EXPECT_NE(GetRecordLineShape(R(11)), nullptr);
    EXPECT_EQ(GetRecordLineShape(R(16)), nullptr);
    // The unit's line is its insulating wall's.
    EXPECT_EQ(GetRecordLineShape(R(21)), GetRecordLineShape(R(20)));
    EXPECT_TRUE(IsLineEntsParallel(R(11), R(13)));
    EXPECT_FALSE(IsLineEntsParallel(R(11), R(16)));
    EXPECT_TRUE(GetParamSubDrawObjs(R(11), 1).empty());
    const std::array<int, 3> items{4, 8, 15};
    EXPECT_TRUE(IsIntegerInArray(8, items));
    EXPECT_FALSE(IsIntegerInArray(16, items));
    EXPECT_FALSE(IsIntegerInArray(1, {}));
}

TEST_F(RecordQueryTest, ColumnNetRangeStopsAtItsCap)
{
    double top = 0.0, bottom = 0.0;
    GetColumnNetElevRange(GetCalcEDO(R(16), true).get(), top, bottom);
    EXPECT_DOUBLE_EQ(top, 3000.0);
    EXPECT_DOUBLE_EQ(bottom, 0.0);
}

TEST_F(RecordQueryTest, MatchFieldValues)
{
    TPXEValue value;
    GetMatchFieldValue(R(15), "Type2", value);  // a null integer of a beam
    EXPECT_EQ(value.GetDataType(), pdtInteger);
    EXPECT_EQ(value.AsInteger(), -1);
    GetMatchFieldValue(R(13), "Type2", value);  // of another element
    EXPECT_EQ(value.AsInteger(), 0);
    GetMatchFieldValue(R(14), "SectionHeight", value);
    EXPECT_EQ(value.GetDataType(), pdtInteger);
    EXPECT_EQ(value.AsFloat(), 600.0);
    GetMatchFieldValue(R(11), "Material", value);
    EXPECT_EQ(value.GetString(), "混凝土");
    GetMatchFieldValue(R(12), "Type", value);
    EXPECT_EQ(value.AsInteger(), 254);
    // Only the insulating wall defines the code: its unit answers with it.
    GetMatchFieldValue(R(21), "InsulationCode", value);
    EXPECT_EQ(value.AsInteger(), 7);
    // Not a property: the record's own field, else null.
    GetMatchFieldValue(R(11), "FloorID", value);
    EXPECT_EQ(value.AsInteger(), 4);
    GetMatchFieldValue(R(11), "NoSuchField", value);
    EXPECT_TRUE(value.IsNull());
}

// The short-limb kind of a wall comes from its wall object, for every kind
// and through the compiled matchers' entry too; an element without a wall
// object answers from its properties and fields (a beam has neither: null).
TEST_F(RecordQueryTest, ShortArmShearWallKindFromTheWallObject)
{
    TFakeEDOScope scope;
    TFakeWallEDO& wall = scope.Attach<TFakeWallEDO>(model_.FindElement(13));
    for (std::uint8_t kind : {0, 1, 2, 3, 4, 5}) {
        wall.shortArmKind = kind;
        TPXEValue value;
        GetMatchFieldValue(R(13), "ShortArmShearWall", value);
        EXPECT_EQ(value.GetDataType(), pdtInteger);
        EXPECT_EQ(value.AsInteger(), kind);
        TQTKMatchFieldSlot slot;
        TPXEValue compiled;
        GetMatchFieldValue(R(13), model_.FindElement(13), "ShortArmShearWall", compiled, slot);
        EXPECT_EQ(compiled.AsInteger(), kind);
    }
    TPXEValue value;
    GetMatchFieldValue(R(14), "ShortArmShearWall", value);
    EXPECT_TRUE(value.IsNull());
}

}  // namespace
