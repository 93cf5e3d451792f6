#include <gtest/gtest.h>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::vector<int> Ids(const TRecordList& list)
{
    std::vector<int> ids;
    for (const auto& record : list)
        ids.push_back(record ? record->GetID() : -1);
    return ids;
}

std::vector<int> RelatedIds(IQTKCalculatorEDO& edo)
{
    std::vector<int> ids;
    for (int i = 0; i < edo.GetRelatedCount(); ++i)
        ids.push_back(edo.GetRelated(i)->GetID());
    return ids;
}

Ref<IQTKCalculatorEDO> NewEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
{
    return Ref<IQTKCalculatorEDO>(new TQTKCalculatorEDO(mode, drawObj));
}

TEST(CalculatorEDOTest, OnlyAVirtualWallOverridesItsMode)
{
    struct TCase {
        int typeId;
        TTestProps props;
        std::uint8_t mode, expected;
    };
    const std::vector<TCase> cases = {
        {0, {{"Type", std::int64_t{255}}}, 0, 2},  // virtual wall
        {0, {{"Type", std::int64_t{1}}}, 0, 0},
        {0, {}, 1, 1},
        {15, {{"Type", std::int64_t{255}}}, 0, 0},  // a beam of that type is no virtual wall
    };
    TTestBuilding model;
    int id = 1;
    for (const TCase& c : cases) {
        auto* drawObj = model.AddLine(id++, c.typeId, 0, 0, 1000, 0, 200, 0, 3000, c.props);
        Ref<IQTKCalculatorEDO> edo = NewEDO(c.mode, drawObj);
        EXPECT_EQ(edo->GetMode(), c.expected) << "type " << c.typeId;
        EXPECT_EQ(edo->IsModeChanged(), c.expected != 2);
    }
}

TEST(CalculatorEDOTest, MaterialAndTypeReadFromTheElement)
{
    TTestBuilding model;
    auto* plain = model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    auto* nullType = model.AddPoint(2, 25, 0, 0, 400, 400, 0, 3000, {{"Type", TRDXValue{}}, {"Material", "混凝土"}});
    auto* typed = model.AddPoint(3, 25, 0, 0, 400, 400, 0, 3000, {{"Type", std::int64_t{3}}});
    EXPECT_EQ(NewEDO(2, plain)->GetMaterial(), "");
    EXPECT_EQ(NewEDO(2, plain)->GetType(), -1);
    EXPECT_EQ(NewEDO(2, nullType)->GetType(), 0);
    EXPECT_EQ(NewEDO(2, nullType)->GetMaterial(), "混凝土");
    EXPECT_EQ(NewEDO(2, typed)->GetType(), 3);
}

TEST(CalculatorEDOTest, QuantityItemsIntersectionCacheAndFlags)
{
    TTestBuilding model;
    auto* drawObj = model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.AddPoint(2, 25, 0, 0, 400, 400, 0, 3000);
    Ref<IQTKCalculatorEDO> edo = NewEDO(2, drawObj);

    edo->AddQtyItem("Volume", 1.5);
    edo->AddQtyItem("VOLUME", 2.5);
    EXPECT_DOUBLE_EQ(edo->GetQtyItem("volume"), 1.5);  // first wins, any letter case
    EXPECT_DOUBLE_EQ(edo->GetQtyItem("Area"), 0.0);
    edo->ClearQtyItems();
    EXPECT_DOUBLE_EQ(edo->GetQtyItem("Volume"), 0.0);

    bool intersects = true;
    EXPECT_FALSE(edo->FindIntersectCache(model.Record(2), intersects));
    edo->AddIntersectCache(model.Record(2), false);
    edo->AddIntersectCache(model.Record(2), true);
    EXPECT_TRUE(edo->FindIntersectCache(model.Record(2), intersects));
    EXPECT_FALSE(intersects);

    EXPECT_EQ(edo->GetMaterialLevel(), 2147483647);  // no material table: no rank
    EXPECT_FALSE(edo->IsOptionBit1Set());
    edo->SetOptionBit2(true);
    EXPECT_TRUE(edo->IsOptionBit2Set());
    EXPECT_FALSE(edo->IsOptionBit1Set());
    edo->SetOptionBit2(false);
    EXPECT_FALSE(edo->IsOptionBit2Set());
}

TEST(CalculatorEDOTest, ListArgumentsAndUnbuiltListsAreChecked)
{
    TTestBuilding model;
    auto* drawObj = model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.Activate();
    Ref<IQTKCalculatorEDO> edo = GetCalcEDO(model.Record(1), false);
    EXPECT_THROW(edo->GetRelated(0), EQTKAssertionFailed);
    EXPECT_THROW(edo->GetRelatedByType(25, nullptr), EQTKAssertionFailed);

    TRecordList list{RecordRef(model.Record(1))};
    EXPECT_TRUE(edo->GetRelatedByTypeOrNil(-1, &list));
    EXPECT_EQ(Ids(list), (std::vector<int>{1, -1}));
    EXPECT_FALSE(edo->GetRelatedByTypeOrNil(25, &list));
    EXPECT_TRUE(list.empty());
    (void)drawObj;
}

TEST(CalculatorEDOTest, MergedSolidIsEmptyWithoutSubSolids)
{
    TTestBuilding model;
    Ref<IQTKCalculatorEDO> edo = NewEDO(2, model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000));
    ASSERT_NE(edo->GetMergedSolid(), nullptr);
    EXPECT_FALSE(edo->GetMergedSolid()->HasFaces());
    EXPECT_EQ(edo->GetMergedSolid(), edo->GetMergedSolid());
}

TEST(CalculatorEDOTest, OriginalSolidIsBuiltOnceAndReplacedBySetter)
{
    TTestBuilding model;
    Ref<IQTKCalculatorEDO> iedo = NewEDO(2, model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000));
    auto* edo = dynamic_cast<TQTKCalculatorEDO*>(iedo.get());
    EXPECT_FALSE(edo->HasOriginalPolyhedron());
    Ref<IQTKPolyhedron3dIntf> first = edo->GetOriginalPolyhedronIntf();
    EXPECT_NEAR(first->GetPolyhedron()->GetVolume(), 400.0 * 400 * 3000, 1.0);
    EXPECT_EQ(edo->GetOriginalPolyhedronIntf(), first);
    edo->SetOriginalPolyhedron(TVRMPolyhedron3d::CreateBox({{0, 0, 0}, {10, 10, 10}}));
    EXPECT_NEAR(edo->GetOriginalPolyhedron()->GetVolume(), 1000.0, 1e-6);
    EXPECT_NEAR(first->GetPolyhedron()->GetVolume(), 400.0 * 400 * 3000, 1.0);  // a reader keeps the old one
    edo->SetOriginalPolyhedron(nullptr);
    EXPECT_FALSE(edo->HasOriginalPolyhedron());
}

TEST(CalculatorEDOTest, OriginalSolidDetailGoesToTheCurrentContainer)
{
    TTestBuilding model;
    Ref<IQTKCalculatorEDO> iedo = NewEDO(2, model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000));
    auto* edo = dynamic_cast<TQTKCalculatorEDO*>(iedo.get());
    edo->AddOriginalSolidDetail(nullptr);  // no container: nothing
    TQTKDeductDetailContainer container;
    SetDeductDetailContainer(&container);
    edo->SetOriginalQty(4.8e8);
    edo->AddOriginalSolidDetail(nullptr);
    SetDeductDetailContainer(nullptr);
    ASSERT_EQ(container.GetCount(), 1);
    auto* detail = dynamic_cast<TQTKSolidDeductDetail*>(container.GetItems(0));
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->GetIsOriginalQty());
    EXPECT_EQ(detail->GetRecord()->GetID(), 1);
    EXPECT_NEAR(detail->GetSolid()->GetVolume(), 4.8e8, 1.0);
    EXPECT_NE(detail->GetSolid(), edo->GetOriginalPolyhedron());
}

// An element object that keeps its original solid in the shared cache and
// counts how often it builds it.
class TCachedSolidEDO final : public TQTKCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;
    int builds = 0;
    auto LineInfos() { return GetLineEdoInfos(); }

protected:
    bool IsOriginalPolyhedronOwned() const override { return false; }
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override
    {
        ++builds;
        return TQTKCalculatorEDO::BuildOriginalPolyhedron();
    }
};

TEST(CalculatorEDOTest, ACachedSolidIsRebuiltAfterEviction)
{
    TTestBuilding model;
    const int saved = GOriginalPolyhedronList.GetMaximum();
    GOriginalPolyhedronList.SetMaximum(1);
    EXPECT_THROW(Ref<TCachedSolidEDO>(new TCachedSolidEDO(2, model.AddPoint(9, 25, 0, 0, 1, 1, 0, 1)))->LineInfos(),
                 EQTKAssertionFailed);
    Ref<TCachedSolidEDO> a(new TCachedSolidEDO(2, model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000)));
    Ref<TCachedSolidEDO> b(new TCachedSolidEDO(2, model.AddPoint(2, 25, 0, 0, 400, 400, 0, 3000)));
    Ref<IQTKPolyhedron3dIntf> held = a->GetOriginalPolyhedronIntf();
    a->GetOriginalPolyhedronIntf();
    EXPECT_EQ(a->builds, 1);
    b->GetOriginalPolyhedronIntf();  // evicts A's solid
    EXPECT_FALSE(a->HasOriginalPolyhedron());
    EXPECT_NEAR(held->GetPolyhedron()->GetVolume(), 4.8e8, 1.0);
    a->GetOriginalPolyhedron();
    EXPECT_EQ(a->builds, 2);
    GOriginalPolyhedronList.Clear();
    GOriginalPolyhedronList.SetMaximum(saved);
}

// A wall (20) on the x axis, a door (30) in it and a slab (10) resting on it:
// each finds the ones it touches, whichever side builds first, in ascending
// record id.
TEST(RelatedListTest, WallDoorAndSlabFindEachOtherFromBothSides)
{
    for (int first : {10, 20, 30}) {
        TTestBuilding model;
        model.AddFace(10, 19, -1000, -2000, 7000, 2000, 3120, 120);
        TQTKElementDrawObj* wallObj = model.AddLine(20, 0, 0, 0, 6000, 0, 240, 0, 3000);
        model.SetParent(model.AddPoint(30, 4, 1000, -120, 2000, 120, 0, 2100), wallObj);  // a door sits in its wall
        model.AddPoint(40, 25, 20000, 0, 20400, 400, 0, 3000);                            // far away
        model.Activate();
        GetCalcEDO(model.Record(first), true)->GetRelatedCount();
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(20), true)), (std::vector<int>{10, 30})) << first;
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(30), true)), (std::vector<int>{20})) << first;
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(10), true)), (std::vector<int>{20})) << first;
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(40), true)), (std::vector<int>{})) << first;

        Ref<IQTKCalculatorEDO> wall = GetCalcEDO(model.Record(20), true);
        TRecordList list;
        EXPECT_TRUE(wall->GetRelatedByType(4, &list));
        EXPECT_EQ(Ids(list), (std::vector<int>{30}));
        EXPECT_TRUE(wall->GetRelatedByTypes(MakeElementTypeSet({4, 19}), &list));
        EXPECT_EQ(Ids(list), (std::vector<int>{10, 30}));
        EXPECT_FALSE(wall->GetRelatedByType(25, &list));
        EXPECT_EQ(wall->IndexOfRelated(model.Record(30)), 1);
        EXPECT_EQ(wall->IndexOfRelated(model.Record(40)), -1);
    }
}

// Relates every candidate the search box and the kind filters let through,
// without the solid test, so that a test sees exactly those candidates.
class TAcceptAllEDO final : public TQTKCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;
    bool TryAddRelated(IRDXRecord* record) override
    {
        AddRelated(record);
        return true;
    }
};

void AttachAcceptAll(IQTKElementDrawObj* drawObj)
{
    drawObj->SetCalcEDO(new TAcceptAllEDO(2, drawObj));
}

// The host's relation test has the last word over touching solids.
class TRejectingEDO final : public TQTKCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;
    bool IsHostRelated(IRDXRecord* record) override { return record->GetID() != rejected; }
    int rejected = 0;
};

TEST(RelatedListTest, TheHostRelationTestCanRejectATouchingElement)
{
    TTestBuilding model;
    auto* column = model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.AddPoint(2, 25, 400, 0, 800, 400, 0, 3000);
    model.AddPoint(3, 25, 0, 400, 400, 800, 0, 3000);
    Ref<TRejectingEDO> edo(new TRejectingEDO(2, column));
    edo->rejected = 3;
    column->SetCalcEDO(edo.get());
    model.Activate();
    EXPECT_EQ(RelatedIds(*edo), (std::vector<int>{2}));
}

// What element objects share across a model (the elements with wide search
// boxes, found with the model's element table and box service) goes when the
// calculation ends: the model's table and box service are held by nothing of
// the library afterwards, whether or not wide searchers were found.
TEST(RelatedListTest, AnEndedCalculationHoldsNoTableOrBoxServiceOfItsModel)
{
    const auto refCount = [](const IInterface* object) {
        return dynamic_cast<const TInterfacedObject*>(object)->RefCount();
    };
    const struct {
        const char* name;
        int secondType;  // 25 a column; 48 a raft (a wide search box)
    } cases[] = {{"columns only", 25}, {"a raft among them", 48}};
    for (const auto& c : cases) {
        TTestBuilding model;
        model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
        if (c.secondType == 48)
            model.AddFace(2, 48, -1000, -1000, 2000, 2000, 0, 500);
        else
            model.AddPoint(2, 25, 400, 0, 800, 400, 0, 3000);
        const TableRef table(model.Record(1)->GetTable());
        const int tableRefs = refCount(table.get());
        model.Activate();
        const Ref<IQTKBoxService> service(GetQTKModelRuntimeOptions().GetBoxService());
        const int serviceRefs = refCount(service.get());
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(1), true)), (std::vector<int>{2})) << c.name;
        EXPECT_GT(refCount(table.get()), tableRefs) << c.name;  // the shared searchers hold it meanwhile
        model.Deactivate();
        EXPECT_EQ(refCount(table.get()), tableRefs) << c.name;
        EXPECT_EQ(refCount(service.get()), serviceRefs - 1) << c.name;  // no longer the runtime's either
    }
}

// A host element that does not count one neighbour among its relations.
class TRefusingDrawObj final : public TQTKElementDrawObj {
public:
    TRefusingDrawObj(TQTKElementDrawObjData data, int refused) : TQTKElementDrawObj(std::move(data)), refused_(refused)
    {
    }
    bool IsRelated(const IRDXRecord* record, int flag = 1) const override
    {
        return record->GetID() != refused_ && TQTKElementDrawObj::IsRelated(record, flag);
    }

private:
    int refused_;
};

// The host element's own test decides, not an override of the element object.
TEST(RelatedListTest, AHostRefusalKeepsATouchingElementOut)
{
    TTestBuilding model;
    model.SetNextDrawObjMaker(
        [](TQTKElementDrawObjData data) { return MakeRef<TRefusingDrawObj>(std::move(data), 3); });
    model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.AddPoint(2, 25, 400, 0, 800, 400, 0, 3000);
    model.AddPoint(3, 25, 0, 400, 400, 800, 0, 3000);
    model.Activate();
    Ref<IQTKCalculatorEDO> column = GetCalcEDO(model.Record(1), true);
    EXPECT_EQ(RelatedIds(*column), (std::vector<int>{2}));
    EXPECT_TRUE(column->IsIntersectWith(model.Record(3)));  // the solids do touch
    EXPECT_FALSE(column->IsHostRelated(model.Record(3)));
}

// The host's relation tests: any other element of the model may be related
// (a record of another kind, or the element itself, may not), and elements
// the host links (parent and child) are related without touching.
TEST(RelatedListTest, HostRelationTests)
{
    TTestBuilding model;
    auto* wall = model.AddLine(1, 0, 0, 0, 6000, 0, 240, 0, 3000);
    auto* child = model.AddPoint(2, 4, 50000, 0, 51000, 240, 0, 2100);  // far away, but the wall's
    model.AddPoint(3, 25, 60000, 0, 60400, 400, 0, 3000);               // far away, not linked
    IRDXRecord* foreign = model.AddForeignRecord(4);
    model.SetParent(child, wall);
    model.Activate();
    Ref<IQTKCalculatorEDO> edo = GetCalcEDO(model.Record(1), true);
    struct Case {
        IRDXRecord* record;
        bool hostRelated;
    };
    for (const Case& c :
         {Case{model.Record(2), true}, Case{model.Record(3), true}, Case{foreign, false}, Case{model.Record(1), false}})
        EXPECT_EQ(edo->IsHostRelated(c.record), c.hostRelated) << c.record->GetID();
    EXPECT_TRUE(edo->TryAddRelated(model.Record(2)));
    EXPECT_FALSE(edo->TryAddRelated(model.Record(3)));
    EXPECT_EQ(edo->IndexOfRelated(model.Record(2)), 0);
    EXPECT_EQ(edo->IndexOfRelated(model.Record(3)), -1);
}

TEST(RelatedListTest, KindsThatAreNeverRelated)
{
    TTestBuilding model;
    auto* earth = model.AddPoint(1, 40, 0, 0, 5000, 5000, -2000, 0);  // excavated earth
    auto* column = model.AddPoint(2, 25, 1000, 1000, 1400, 1400, -2000, 3000);
    auto* room = model.AddPoint(3, 32, 0, 0, 5000, 5000, 0, 3000);
    model.AddLine(4, 0, 0, 1200, 5000, 1200, 240, -2000, 3000, {{"Type", std::int64_t{255}}});  // virtual wall
    model.AddPoint(5, 2, 0, 0, 5000, 5000, -2000, 3000);  // a kind without relations
    for (auto* drawObj : {earth, column, room})
        AttachAcceptAll(drawObj);
    model.Activate();
    EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(1), true)), (std::vector<int>{2, 3}));  // earth sees the room
    // A column sees virtual walls; the room finds the column, so the relation
    // is made from the room's side.
    EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(2), true)), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(3), true)), (std::vector<int>{1, 2}));
}

TEST(RelatedListTest, FloorAreaSearchesAboveItsBottomOnlyWithAFloorRow)
{
    for (bool hasFloor : {true, false}) {
        TTestBuilding model;
        if (hasFloor)
            model.AddFloor(0);
        AttachAcceptAll(model.AddFace(1, 58, 0, 0, 1000, 1000, 0, 0, {{"BottomElev", 0.0}}));  // floor area
        model.AddPoint(2, 25, 50000, 0, 50400, 400, -3000, 0);   // far away in plan, ending at the bottom
        model.AddFace(3, 19, 50000, 0, 60000, 1000, 600, 100);   // slab 500..600 above the bottom
        model.AddFace(4, 19, 50000, 0, 60000, 1000, 1600, 100);  // slab 1500..1600
        model.Activate();
        const std::vector<int> expected = hasFloor ? std::vector<int>{2, 3} : std::vector<int>{2};
        EXPECT_EQ(RelatedIds(*GetCalcEDO(model.Record(1), true)), expected) << hasFloor;
    }
}

}  // namespace
