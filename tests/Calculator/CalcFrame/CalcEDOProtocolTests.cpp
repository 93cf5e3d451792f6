#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>
#include <typeinfo>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "tests/Support/TestBuilding.h"

namespace {

TEST(CalcEDOCreaterTest, EveryTypeIdAnswers)
{
    TTestBuilding model;
    struct TCase {
        int typeId;
        TTestProps props;
        std::uint8_t expectedMode;
    };
    const std::vector<TCase> cases = {
        {2, {}, 0},
        {57, {}, 0},
        {85, {}, 0},
        {90, {}, 0},
        {-1, {}, 0},
        {15, {}, 0},
        {17, {}, 0},
        {19, {}, 0},
        {21, {}, 0},
        {30, {}, 0},
        {32, {}, 2},  // a room always has mode 2
        {55, {{"Shape", std::int64_t{1}}}, 0},
        {84, {{"Type", std::int64_t{7}}}, 0},
        {64, {{"Shape", std::int64_t{0}}}, 0},
        {64, {{"Shape", std::int64_t{1}}}, 0},
    };
    int id = 1;
    for (const TCase& c : cases) {
        auto* drawObj = model.AddPoint(id++, c.typeId, 0, 0, 100, 100, 0, 100, c.props);
        Ref<IQTKCalculatorEDO> edo = TQTKCalcEDOCreater::CreateCalcEDO(c.typeId, 0, drawObj);
        ASSERT_TRUE(edo) << c.typeId;
        EXPECT_EQ(edo->GetMode(), c.expectedMode) << c.typeId;
        EXPECT_EQ(edo->GetElementDrawObj(), drawObj);
        EXPECT_EQ(edo->GetPrepareState(), CQTKEdoNew);
    }
    auto* badEave = model.AddPoint(id, 64, 0, 0, 100, 100, 0, 100, {{"Shape", std::int64_t{2}}});
    EXPECT_THROW(TQTKCalcEDOCreater::CreateCalcEDO(64, 0, badEave), EQTKAssertionFailed);
}

TEST(CalcEDOProtocolTest, OneObjectPerElementPreparedOnRequest)
{
    TTestBuilding model;
    model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.Activate();
    Ref<IQTKCalculatorEDO> unprepared = GetCalcEDO(model.Record(1), false);
    EXPECT_EQ(unprepared->GetPrepareState(), CQTKEdoNew);
    EXPECT_EQ(unprepared->GetMode(), 2);
    Ref<IQTKCalculatorEDO> prepared = GetCalcEDO(model.Record(1), true);
    EXPECT_EQ(prepared, unprepared);
    EXPECT_EQ(prepared->GetPrepareState(), CQTKEdoPrepared);
    EXPECT_EQ(GetCalcEDOCount(), 1);
    EXPECT_EQ(GetCalcEDORecords().front()->GetID(), 1);
}

TEST(CalcEDOProtocolTest, RecordsWithoutADrawObject)
{
    TTestBuilding model;
    IRDXRecord* foreign = model.AddForeignRecord(7);
    EXPECT_EQ(GetRecordDrawObj(nullptr), nullptr);
    EXPECT_THROW(GetRecordDrawObj(foreign), EQTKNotElementDrawObj);
    EXPECT_THROW(GetCalcEDO(foreign, true), EQTKNotElementDrawObj);
    EXPECT_THROW(GetCalcEDO(static_cast<IRDXRecord*>(nullptr), true), EQTKAssertionFailed);
}

// An element object that counts its preparations, can be made to fail them
// or to wait in them, and notes the order in which objects were prepared.
class TProbeEDO final : public TQTKCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;
    void Prepare(IRDXRecord* record) override
    {
        prepares.fetch_add(1);
        if (log)
            log->push_back(record->GetID());
        while (hold.load())
            std::this_thread::yield();
        if (failures.load() > 0) {
            failures.fetch_sub(1);
            throw std::runtime_error("shape cannot be built");
        }
        TQTKCalculatorEDO::Prepare(record);
    }
    std::atomic<int> prepares{0};
    std::atomic<int> failures{0};
    std::atomic<bool> hold{false};
    std::vector<int>* log = nullptr;
};

Ref<TProbeEDO> AttachProbe(IQTKElementDrawObj* drawObj)
{
    Ref<TProbeEDO> probe(new TProbeEDO(2, drawObj));
    drawObj->SetCalcEDO(probe.get());
    return probe;
}

TEST(CalcEDOProtocolTest, AFailedPreparationIsRepeatedByTheNextRequest)
{
    TTestBuilding model;
    auto probe = AttachProbe(model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000));
    model.Activate();
    probe->failures = 1;
    EXPECT_THROW(GetOrCreateCalcEDO(probe->GetElementDrawObj(), true), std::runtime_error);
    EXPECT_EQ(probe->GetPrepareState(), CQTKEdoNew);
    GetCalcEDO(model.Record(1), true);
    EXPECT_EQ(probe->prepares.load(), 2);
    EXPECT_EQ(probe->GetPrepareState(), CQTKEdoPrepared);
    GetCalcEDO(model.Record(1), true);
    EXPECT_EQ(probe->prepares.load(), 2);
}

TEST(CalcEDOProtocolTest, DetailModePreparesTheOwnerFirst)
{
    for (bool detailMode : {true, false}) {
        TTestBuilding model;
        auto* wall = model.AddLine(1, 0, 0, 0, 6000, 0, 240, 0, 3000);
        auto* door = model.AddPoint(2, 4, 1000, -120, 2000, 120, 0, 2100);
        model.SetParent(door, wall);
        std::vector<int> order;
        auto wallProbe = AttachProbe(wall);
        auto doorProbe = AttachProbe(door);
        wallProbe->log = doorProbe->log = &order;
        model.Activate(detailMode);
        GetCalcEDO(model.Record(2), true);
        EXPECT_EQ(order, (detailMode ? std::vector<int>{1, 2} : std::vector<int>{2})) << detailMode;
    }
}

TEST(CalcEDOProtocolTest, ConcurrentRequestsCreateAndPrepareOnce)
{
    TTestBuilding model;
    model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    auto probe = AttachProbe(model.AddPoint(2, 25, 1000, 0, 1400, 400, 0, 3000));
    model.Activate();
    probe->hold = true;  // the first preparation waits until all threads are asking
    std::vector<std::future<std::pair<IQTKCalculatorEDO*, IQTKCalculatorEDO*>>> answers;
    std::atomic<int> started{0};
    for (int t = 0; t < 8; ++t)
        answers.push_back(std::async(std::launch::async, [&] {
            started.fetch_add(1);
            Ref<IQTKCalculatorEDO> created = GetCalcEDO(model.Record(1), true);
            Ref<IQTKCalculatorEDO> prepared = GetCalcEDO(model.Record(2), true);
            EXPECT_EQ(prepared->GetPrepareState(), CQTKEdoPrepared);
            EXPECT_EQ(created->GetPrepareState(), CQTKEdoPrepared);
            return std::make_pair(created.get(), prepared.get());
        }));
    while (started.load() < 8)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    probe->hold = false;
    std::set<IQTKCalculatorEDO*> created;
    for (auto& answer : answers) {
        auto [a, b] = answer.get();
        created.insert(a);
        EXPECT_EQ(b, probe.get());
    }
    EXPECT_EQ(created.size(), 1u);
    EXPECT_EQ(GetCalcEDOCount(), 1);
    EXPECT_EQ(probe->prepares.load(), 1);
}

TEST(CalcEDOProtocolTest, DifferentRecordsDoNotBlockEachOther)
{
    TTestBuilding model;
    auto slow = AttachProbe(model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000));
    model.AddPoint(2, 25, 1000, 0, 1400, 400, 0, 3000);
    model.Activate();
    slow->hold = true;
    auto waiting = std::async(std::launch::async, [&] { GetCalcEDO(model.Record(1), true); });
    while (slow->prepares.load() == 0)
        std::this_thread::yield();
    auto other = std::async(std::launch::async, [&] { return GetCalcEDO(model.Record(2), true)->GetPrepareState(); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(other.get(), CQTKEdoPrepared);
    slow->hold = false;
    waiting.get();
}

// Threads building the related lists of touching columns at the same time
// (each list reaches into its neighbours' lists) end with the same lists as
// one thread would: every column related to its touching neighbours only.
TEST(CalcEDOProtocolTest, RelatedListsBuiltOnSeveralThreadsAtOnce)
{
    TTestBuilding model;
    const int side = 6;
    for (int i = 0; i < side * side; ++i)
        model.AddPoint(i + 1, 25, (i % side) * 500.0, (i / side) * 500.0, (i % side) * 500.0 + 500,
                       (i / side) * 500.0 + 500, 0, 3000);
    model.Activate();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < side * side; ++k)
                GetCalcEDO(model.Record((k * 7 + t * 5) % (side * side) + 1), true)->GetRelatedCount();
        });
    for (auto& thread : threads)
        thread.join();
    for (int i = 0; i < side * side; ++i) {
        std::vector<int> expected;
        for (int j = 0; j < side * side; ++j)
            if (j != i && std::abs(j % side - i % side) <= 1 && std::abs(j / side - i / side) <= 1)
                expected.push_back(j + 1);
        Ref<IQTKCalculatorEDO> edo = GetCalcEDO(model.Record(i + 1), true);
        std::vector<int> ids;
        for (int k = 0; k < edo->GetRelatedCount(); ++k)
            ids.push_back(edo->GetRelated(k)->GetID());
        EXPECT_EQ(ids, expected) << i + 1;
    }
    EXPECT_EQ(GetCalcEDOCount(), side * side);
}

}  // namespace
