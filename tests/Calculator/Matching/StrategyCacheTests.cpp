// The strategy cache: one rule object per rule id, the default rule where no
// rule applies, the message for a module without the export, and misses on
// several threads at once.
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <random>
#include <thread>

#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Common/QTKCalcStrategys.h"
#include "Host/QTKCommon/QTKHostMessage.h"
#include "Host/RDX/PXEIntf.h"

namespace {

// A loaded library that does not export GetStrategy.
TQTKStrategyModule ModuleWithoutExport()
{
    Dl_info info{};
    EXPECT_NE(dladdr(reinterpret_cast<void*>(&RDXEngine), &info), 0);
    return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
}

class StrategyCacheTest : public TCalcModelTest {
protected:
    void SetUp() override
    {
        StartSession(model_);
        cache_.ruleTable = TableRef(RuleSet(model_)->GetDatabase()->GetTable("CalcRule"));
        cache_.defaultStrategy = MakeRef<TQTKCalcStrategy>();
        SetHostMessageCallback([this](std::string_view message) {
            ++messages_;
            lastMessage_ = std::string(message);
        });
    }
    void TearDown() override
    {
        SetHostMessageCallback(nullptr);
        TCalcModelTest::TearDown();
    }

    TQTKElementModel& model_ = Model("matching.json");
    TQTKStrategyCache cache_;
    std::atomic<int> messages_{0};
    std::string lastMessage_;
};

TEST_F(StrategyCacheTest, OneStrategyPerRuleId)
{
    const TQTKStrategyModule module = GetCalculatorModule();
    ASSERT_NE(module, nullptr);
    const Ref<IQTKCalcStrategy> five = GetStrategyByRuleId(cache_, 5, module);
    const Ref<IQTKCalcStrategy> zero = GetStrategyByRuleId(cache_, 0, module);
    EXPECT_NE(five, nullptr);
    EXPECT_NE(five, cache_.defaultStrategy);
    EXPECT_NE(zero, cache_.defaultStrategy);  // id 0 is a rule id like any other
    EXPECT_NE(zero, five);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 5, module), five);
    EXPECT_EQ(cache_.ruleIds, (std::vector<int>{0, 5}));
    EXPECT_EQ(messages_, 0);
}

TEST_F(StrategyCacheTest, DefaultStrategyWhereNoRuleApplies)
{
    const TQTKStrategyModule module = GetCalculatorModule();
    // A negative id is answered without the cache.
    EXPECT_EQ(GetStrategyByRuleId(cache_, -1, module), cache_.defaultStrategy);
    EXPECT_TRUE(cache_.ruleIds.empty());
    // A row without a name, an id without a row, no module: cached as the default.
    EXPECT_EQ(GetStrategyByRuleId(cache_, 6, module), cache_.defaultStrategy);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 99, module), cache_.defaultStrategy);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 5, nullptr), cache_.defaultStrategy);
    EXPECT_EQ(cache_.ruleIds, (std::vector<int>{5, 6, 99}));
    EXPECT_EQ(messages_, 0);
}

TEST_F(StrategyCacheTest, MissingExportIsReportedOncePerRuleId)
{
    const TQTKStrategyModule module = ModuleWithoutExport();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 5, module), cache_.defaultStrategy);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 0, module), cache_.defaultStrategy);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 5, module), cache_.defaultStrategy);
    EXPECT_EQ(GetStrategyByRuleId(cache_, 0, module), cache_.defaultStrategy);
    EXPECT_EQ(messages_, 2);
    EXPECT_EQ(lastMessage_, "找不到策略库");
    dlclose(module);
}

TEST_F(StrategyCacheTest, MissesOnSeveralThreads)
{
    const TQTKStrategyModule module = GetCalculatorModule();
    constexpr int threadCount = 8;
    std::vector<std::vector<Ref<IQTKCalcStrategy>>> seen(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&, t] {
            std::vector<int> ids(300);
            std::iota(ids.begin(), ids.end(), 0);
            std::shuffle(ids.begin(), ids.end(), std::mt19937(t));
            seen[t].resize(ids.size());
            for (int id : ids)
                seen[t][static_cast<size_t>(id)] = GetStrategyByRuleId(cache_, id, module);
        });
    for (auto& thread : threads)
        thread.join();
    std::vector<int> expected(300);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(cache_.ruleIds, expected);
    ASSERT_EQ(cache_.strategies.size(), 300u);
    for (int t = 0; t < threadCount; ++t)
        for (size_t id = 0; id < 300; ++id)
            ASSERT_EQ(seen[t][id], cache_.strategies[id]) << "thread " << t << ", id " << id;
    EXPECT_NE(cache_.strategies[5], cache_.defaultStrategy);
}

}  // namespace
