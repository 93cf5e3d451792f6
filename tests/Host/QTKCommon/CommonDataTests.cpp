#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "QTKCommonTestUtils.h"

using CommonData = TQTKSessionTest;

TEST_F(CommonData, ExprTextsFirstWriterWinsAndAppendNeedsAText)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(7);
    EXPECT_EQ(data, GetEdoGlobalData(7));
    data->SetCurQty("MJ", "MJ", "面积");
    EXPECT_FALSE(data->AppendExprText("-1<扣>"));
    EXPECT_TRUE(data->AddExprText("3.6<长度>*0.24<宽度>"));
    EXPECT_FALSE(data->AddExprText("9<面积>"));
    EXPECT_TRUE(data->AppendExprText("-0.1<扣>"));
    std::string text;
    ASSERT_TRUE(data->GetExprText("mj", text));  // keys compare without case
    EXPECT_EQ(text, "3.6<长度>*0.24<宽度>-0.1<扣>");
    data->SetCurQty("TJ", "TJ", "体积");
    EXPECT_TRUE(data->AddExprText("1<体积>"));
    data->ClearExprTexts();
    EXPECT_FALSE(data->GetExprText("MJ", text));
    EXPECT_TRUE(data->AddExprText("2<体积>"));
}

TEST_F(CommonData, CurrentDeductionAndExpressionModeLastForTheSession)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(7);
    EXPECT_EQ(data->GetCurDeductCode(), "");
    EXPECT_FALSE(data->GetIsExprMode());
    data->SetCurQty("TJ", "TJ", "体积");
    data->SetCurDeduct("KFJ", "扣房间");
    data->SetIsExprMode(true);
    EXPECT_EQ(GetEdoGlobalData(7)->GetCurQtyCode(), "TJ");
    EXPECT_EQ(GetEdoGlobalData(7)->GetCurQtyDesc(), "体积");
    EXPECT_EQ(GetEdoGlobalData(7)->GetCurDeductCode(), "KFJ");
    EXPECT_EQ(GetEdoGlobalData(7)->GetCurDeductName(), "扣房间");
    EXPECT_TRUE(GetEdoGlobalData(7)->GetIsExprMode());
    EXPECT_FALSE(GetEdoGlobalData(8)->GetIsExprMode());  // per record
    StartCalculationSession({});
    data = GetEdoGlobalData(7);
    EXPECT_EQ(data->GetCurQtyKey(), "");
    EXPECT_EQ(data->GetCurDeductName(), "");
    EXPECT_FALSE(data->GetIsExprMode());
}

TEST_F(CommonData, PerRecordDataIsSafeFromSeveralThreads)
{
    constexpr int threads = 6, records = 50;
    std::vector<std::thread> pool;
    std::atomic<int> stored{0};
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            for (int id = 0; id < records; ++id) {
                TQTKEdoGlobalData* data = GetEdoGlobalData(1000 + id);
                data->SetCurQty("K", "K", "");
                stored += data->AddExprText(std::to_string(t)) ? 1 : 0;
                data->GetExprContainer().AddValueItem(nullptr, "K", t, 1.0);
            }
        });
    for (auto& th : pool)
        th.join();
    EXPECT_EQ(stored.load(), records);  // one writer per record won
    for (int id = 0; id < records; ++id)
        EXPECT_EQ(GetEdoGlobalData(1000 + id)->GetExprContainer().GetCount(), threads);
}

TEST_F(CommonData, DetailModeBelongsToTheThreadAndSessionsResetIt)
{
    EXPECT_FALSE(GIsDetailMode);
    GIsDetailMode = true;
    bool seenByOther = true;
    std::thread([&] { seenByOther = GIsDetailMode; }).join();
    EXPECT_FALSE(seenByOther);
    {
        TQTKDetailModeScope off(false);
        EXPECT_FALSE(GIsDetailMode);
    }
    EXPECT_TRUE(GIsDetailMode);

    TQTKCalcSessionOptions options;
    options.detailMode = true;
    StartCalculationSession(options);
    EXPECT_TRUE(GIsDetailMode);
    EXPECT_EQ(GetDeductDetailContainer(), nullptr);  // a new session forgets the thread's container
    std::thread([&] { seenByOther = GIsDetailMode; }).join();
    EXPECT_TRUE(seenByOther);
}

TEST_F(CommonData, SessionSwitchesResetAtSessionStart)
{
    {
        TQTKSessionSwitchLock lock;
        GStripFDCalclineType = 3;
        GDitchEarthCalclineType = 2;
        EXPECT_EQ(GStripFDCalclineType, 3);
        uint8_t seen = 0;
        std::thread([&] { seen = GDitchEarthCalclineType; }).join();
        EXPECT_EQ(seen, 2);  // one value for the session
    }
    TQTKCalcSessionOptions options;
    options.billRule = true;
    options.multiThread = true;
    options.regions = {{4, true, 1200.0}};
    StartCalculationSession(options);
    EXPECT_EQ(GStripFDCalclineType, 0);
    EXPECT_EQ(GDitchEarthCalclineType, 0);
    EXPECT_EQ(GIsBillRule, 1);
    EXPECT_TRUE(IsCalculatorMultiThread());
    ASSERT_NE(GetRegionInfo(4), nullptr);
    EXPECT_DOUBLE_EQ(GetRegionInfo(4)->elevation, 1200.0);
    EXPECT_EQ(GetRegionInfo(5), nullptr);
    EXPECT_EQ(GExternalWallInfos(), nullptr);
    EXPECT_FALSE(GBusiness());
}

TEST_F(CommonData, HostSourcesBelongToTheSession)
{
    const Ref<TRDXDatabase> business(new TRDXDatabase("Business"));
    const Ref<TRDXDatabase> settings(new TRDXDatabase("NormCalcRule"));
    TQTKCalcSessionOptions options;
    options.business = TableSourceRef(business.get());
    options.calculatorSetting = TableSourceRef(settings.get());
    options.materialTable = TableRef(TestRecord(1)->GetTable());
    options.reportRecord = RecordRef(TestRecord(3));
    StartCalculationSession(options);
    IRDXTableSource* seen[2] = {};
    std::thread([&] { seen[0] = GBusiness().get(), seen[1] = GCalculatorSetting().get(); }).join();
    EXPECT_EQ(seen[0], business.get());
    EXPECT_EQ(seen[1], settings.get());
    EXPECT_EQ(GMaterialTable().get(), TestRecord(1)->GetTable());
    EXPECT_EQ(GReportRecord().get(), TestRecord(3));
    StartCalculationSession({});
    EXPECT_FALSE(GBusiness());
    EXPECT_FALSE(GCalculatorSetting());
    EXPECT_FALSE(GMaterialTable());  // may be nil
    EXPECT_FALSE(GReportRecord());
}

TEST_F(CommonData, MaterialLevelsKeepTheFirstValue)
{
    int level = 0;
    EXPECT_FALSE(GMaterialHelper().Find(3, level));
    GMaterialHelper().Add(3, 5);
    GMaterialHelper().Add(3, 9);
    ASSERT_TRUE(GMaterialHelper().Find(3, level));
    EXPECT_EQ(level, 5);
    StartCalculationSession({});
    EXPECT_FALSE(GMaterialHelper().Find(3, level));
}

TEST_F(CommonData, ExternalWallInfosByFloor)
{
    auto infos = std::make_shared<TQTKFloorExternalInfoContr>();
    TQTKFloorExternalInfo floor;
    floor.floorId = 2;
    floor.ringEdges = {{{11, true}, {12, false}}};
    infos->Add(floor);
    TQTKCalcSessionOptions options;
    options.externalWallInfos = infos;
    StartCalculationSession(options);
    ASSERT_NE(GExternalWallInfos(), nullptr);
    ASSERT_NE(GExternalWallInfos()->GetWallInfo(2), nullptr);
    EXPECT_EQ(GExternalWallInfos()->GetWallInfo(2)->ringEdges[0][1].wallId, 12);
    EXPECT_EQ(GExternalWallInfos()->GetWallInfo(3), nullptr);
}

TEST(UnitTexts, MetresSquareAndCubicMetres)
{
    struct Case {
        std::string text, expected;
    } cases[] = {
        {MMToM(987.654), "0.9877"}, {MMToM(5000), "5"},    {MM2ToM2(864000), "0.864"}, {MM2ToM2(-123450), "-0.1235"},
        {MM3ToM3(3.6e9), "3.6"},    {MM3ToM3(49990), "0"}, {MM3ToM3(5.4e8), "0.54"},   {MM2ToM2(6.25e6), "6.25"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(UnitTexts, UnitChangeByTheQuantityUnit)
{
    EXPECT_EQ(GetUnitFunctioin("M3")(2.5e9), "2.5");
    EXPECT_EQ(GetUnitFunctioin("平方米")(2.5e6), "2.5");
    EXPECT_EQ(GetUnitFunctioin("m")(2500), "2.5");
    EXPECT_EQ(GetUnitFunctioin("个")(3.00004), "3");
    EXPECT_EQ(UnitChange(TestRecord(1), 1.2e9), "1.2");  // "m3"
    EXPECT_EQ(UnitChange(TestRecord(2), 1.2e6), "1.2");  // "m2"
    EXPECT_EQ(UnitChange(nullptr, 7.5), "7.5");
}

TEST_F(CommonData, DetailContainerOwnsAddsDeletesAndAppends)
{
    TQTKDeductDetailContainer& c = Details();
    EXPECT_EQ(GetDeductDetailContainer(), &c);
    EXPECT_FALSE(AddDeductDetail(std::make_unique<TQTKDeductDetail>(TestRecord(1), "TJ", "体积", "1")));
    GIsDetailMode = true;
    EXPECT_TRUE(AddDeductDetail(std::make_unique<TQTKDeductDetail>(TestRecord(1), "TJ", "体积", "1")));
    c.Add(std::make_unique<TQTKDeductDetail>(TestRecord(2), "TJ", "体积", "2"));
    c.Add(nullptr);
    ASSERT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.GetLast()->GetDedcutExpr(), "2");
    c.GetLast()->SetDedcutExpr("2.5");
    c.GetLast()->SetIsOriginalQty(true);
    EXPECT_TRUE(c.GetItems(1)->GetIsOriginalQty());
    c.GetLast()->AddCorrecticeEDO(std::make_unique<TQTKCorrectiveEDO>(TestRecord(5), nullptr));
    ASSERT_EQ(c.GetLast()->GetCorrectiveEDOCount(), 1);
    EXPECT_EQ(c.GetLast()->GetCorrectiveEDO(0)->GetRecord().get(), TestRecord(5));

    TQTKDeductDetailContainer other;
    other.Add(std::make_unique<TQTKPoly2dDeductDetail>(TestRecord(3), "MJ", "面积", TVRMMultiPolygon2d{},
                                                       TVRMMultiPolygon2d{}, "0.5"));
    c.Append(other);
    EXPECT_EQ(other.GetCount(), 0);
    ASSERT_EQ(c.GetCount(), 3);
    EXPECT_NE(dynamic_cast<TQTKPoly2dDeductDetail*>(c.GetItems(2)), nullptr);
    c.Delete(0);
    EXPECT_EQ(c.GetItems(0)->GetDedcutExpr(), "2.5");
    EXPECT_THROW(c.Delete(5), EQTKAssertionFailed);
    c.Clear();
    EXPECT_EQ(c.GetLast(), nullptr);
    SetDeductDetailContainer(nullptr);  // detail mode without a container records nothing
    EXPECT_FALSE(IsDetailRecording());
    EXPECT_FALSE(AddDeductDetail(std::make_unique<TQTKDeductDetail>(TestRecord(1), "TJ", "体积", "1")));
}

TEST_F(CommonData, ExprContainerTextsPerQuantity)
{
    TQTKCalcInternalExprContainer c;
    c.AddValueItem(TestRecord(1), "MJ", 2.5e6, 1.0, CQTKUnitArea);
    c.AddValueItem(TestRecord(1), "TJ", 3.6e9, 1.0, CQTKUnitVolume);
    c.AddValueItem(TestRecord(1), "MJ", 1e6, 0.5, CQTKUnitArea);
    c.Add(std::make_unique<TQTKCalcInternalOriginalExprItem>(TestRecord(1), "MJ", "3<长度>*2<高度>", 1.0, true));
    EXPECT_EQ(c.GetCount(), 4);
    EXPECT_EQ(c.GetExprText("MJ"), "2.5 + 1 * 0.5 + 3<长度>*2<高度>");
    EXPECT_EQ(c.GetExprText("TJ"), "3.6");
    EXPECT_EQ(c.GetExprText("CD"), "");
    c.Clear();
    EXPECT_EQ(c.GetCount(), 0);
}

TEST_F(CommonData, HostListsAndSubjectBelongToTheSession)
{
    GCalcEDORecords().Add(Ref<IInterface>(TestRecord(4)));
    GEdoQtyManager().Add(false, 25, "TJ", {4, 0.48});
    GEdoQtyManager().Add(false, 25, "TJ", {5, 0.5});
    const auto found = GEdoQtyManager().FindInternalQty(false, 25, "tj");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_DOUBLE_EQ(found[1].value, 0.5);
    EXPECT_TRUE(GEdoQtyManager().FindInternalQty(true, 25, "TJ").empty());

    GSubjectEDO = TestRecord(4);
    IRDXRecord* seenByOther = TestRecord(1);
    std::thread([&] { seenByOther = GSubjectEDO.get(); }).join();
    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(GSubjectEDO.get(), TestRecord(4));

    StartCalculationSession({});
    EXPECT_EQ(GCalcEDORecords().GetCount(), 0);
    EXPECT_TRUE(GEdoQtyManager().FindInternalQty(false, 25, "TJ").empty());
    EXPECT_FALSE(GSubjectEDO);
}

TEST(ThreadSyncUtil, ReadsAndPolygonSubtractionThroughOneUnit)
{
    IRDXRecord* record = TestRecord(2);
    EXPECT_TRUE(FieldExist(record, "unit"));
    EXPECT_FALSE(FieldExist(record, "Thickness"));
    EXPECT_EQ(FieldValueInteger(record, "ID", -1), 2);
    EXPECT_DOUBLE_EQ(FieldValueFloat(record, "Unit", 1.5), 1.5);  // not a number: the default
    const ViewRef view = SyncCreateRdxStaticView(record->GetTable(), "ID > 7");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->GetRowCount(), 2);

    TVRMMultiPolygon2d a, b;
    a.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}));
    b.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{500, 0}, {1500, 0}, {1500, 1000}, {500, 1000}}));
    EXPECT_NEAR(SyncSubPolygon(a, b)->Area(), 5e5, 1e-6);
}

namespace {

// An element table with walls (types 0 and 1) among other rows.
Ref<TRDXTable> ElementTable()
{
    Ref<TRDXTable> t(new TRDXTable(
        "ElementDrawObj", {{"ID", TRDXFieldType::Integer, ""}, {"ElementTypeID", TRDXFieldType::Integer, ""}}));
    const int types[] = {0, 25, 1, 15, 0};
    for (int i = 0; i < 5; ++i)
        t->AddRow({int64_t{i + 1}, int64_t{types[i]}});
    return t;
}

std::vector<int> IdsOf(const TQTKWallList& walls)
{
    std::vector<int> ids;
    for (const RecordRef& r : walls)
        ids.push_back(r->GetID());
    return ids;
}

}  // namespace

TEST_F(CommonData, WallListIsKeptForTheSessionOutsideDetailMode)
{
    const Ref<TRDXTable> table = ElementTable();
    EXPECT_EQ(IdsOf(CollectWallRecords(table.get())), (std::vector<int>{1, 3, 5}));
    EXPECT_TRUE(CollectWallRecords(nullptr).empty());

    const auto first = GAllWallList(table.get());
    EXPECT_EQ(IdsOf(*first), (std::vector<int>{1, 3, 5}));
    table->AddRow({int64_t{6}, int64_t{0}});
    EXPECT_EQ(GAllWallList(table.get()), first);  // built once
    {
        TQTKDetailModeScope detail(true);
        const auto fresh = GAllWallList(table.get());
        EXPECT_NE(fresh, first);
        EXPECT_EQ(fresh->size(), 4u);
    }
    StartCalculationSession({});
    EXPECT_EQ(GAllWallList(table.get())->size(), 4u);
    EXPECT_EQ(first->size(), 3u);  // a list handed out stays valid
}

TEST_F(CommonData, RoomSolidsArePerStoreyAndComputedOnce)
{
    int computed = 0;
    auto rooms = [&computed](double height) {
        return [&computed, height] {
            ++computed;
            TQTKSolidList solids;
            solids.push_back(Box(0, 0, 0, 1000, 1000, height));
            return solids;
        };
    };
    TQTKWallRoomInfo& info = GAllWallRoomInfo();
    EXPECT_EQ(info.GetCount(), 0);
    struct Step {
        int storey;
        double height;  // of the room the computation would give
        bool detailMode;
        int computedAfter;
        double volume;  // of the solid handed out
    } steps[] = {
        {1, 3000, false, 1, 3e9},                             // slot 1 filled
        {1, 2000, false, 1, 3e9},                             // a copy of the kept solid
        {0, 2000, false, 2, 2e9}, {1, 2500, true, 3, 2.5e9},  // detail mode: computed, not kept
        {1, 2500, false, 3, 3e9}, {5, 1000, false, 4, 1e9},   // no slot: computed each time
        {5, 1000, false, 5, 1e9},
    };
    for (const Step& s : steps) {
        TQTKDetailModeScope mode(s.detailMode);
        const TQTKSolidList solids = info.GetRoomSolids(s.storey, 3, rooms(s.height));
        ASSERT_EQ(solids.size(), 1u);
        EXPECT_NEAR(solids[0]->GetVolume(), s.volume, 1e-3) << "storey " << s.storey;
        EXPECT_EQ(computed, s.computedAfter) << "storey " << s.storey;
    }
    EXPECT_EQ(info.GetCount(), 3);
    EXPECT_TRUE(info.IsFilled(1));
    EXPECT_FALSE(info.IsFilled(2));
    EXPECT_FALSE(info.IsFilled(5));
    StartCalculationSession({});
    EXPECT_EQ(GAllWallRoomInfo().GetCount(), 0);
}

TEST_F(CommonData, RoomSolidsOfAStoreyAreComputedOnceUnderSeveralThreads)
{
    std::atomic<int> computed{0};
    std::vector<std::thread> pool;
    std::atomic<int> handedOut{0};
    for (int t = 0; t < 8; ++t)
        pool.emplace_back([&, t] {
            const TQTKSolidList solids = GAllWallRoomInfo().GetRoomSolids(t % 2, 2, [&] {
                ++computed;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                TQTKSolidList list;
                list.push_back(Box(0, 0, 0, 1000, 1000, 1000));
                return list;
            });
            handedOut += static_cast<int>(solids.size());
        });
    for (auto& th : pool)
        th.join();
    EXPECT_EQ(computed.load(), 2);
    EXPECT_EQ(handedOut.load(), 8);
}
