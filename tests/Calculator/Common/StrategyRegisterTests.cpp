#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "tests/Support/RegistryChecks.h"

namespace {

class TQTKTestVolumeRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef&, const RecordRef&, const TableSourceRef&, const TableSourceRef&) override
    {
        return 42.0;
    }
};
class TQTKTestOtherRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef&, const RecordRef&, const TableSourceRef&, const TableSourceRef&) override
    {
        return 7.0;
    }
};

class TTestMatcher : public TQTKObjectMatchCalcRule {
public:
    bool ObjectMatches() override { return true; }
};

TStrategyRegistry MakeRegistry()
{
    TStrategyRegistry r;
    QTK_REGISTER(r, TQTKTestVolumeRule);
    QTK_REGISTER(r, TQTKTestOtherRule);
    return r;
}

TEST(StrategyRegistryTest, LookupIgnoresLetterCase)
{
    const auto registry = MakeRegistry();
    for (const char* name : {"TQTKTestVolumeRule", "tqtktestvolumerule", "TQTKTESTVOLUMERULE"}) {
        auto rule = registry.CreateStrategy(name);
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(rule->Calculate(nullptr, nullptr, nullptr, nullptr), 42.0) << name;
    }
}

TEST(StrategyRegistryTest, EmptyOrUnknownNameGivesTheNeutralRule)
{
    const auto registry = MakeRegistry();
    for (const char* name : {"", "TQTKNoSuchRule", "TQTKTestVolumeRul"}) {
        auto rule = registry.CreateStrategy(name);
        ASSERT_TRUE(rule) << name;
        const auto& strategy = *rule.get();
        EXPECT_EQ(typeid(strategy), typeid(TQTKCalcStrategy)) << name;
        EXPECT_EQ(rule->Calculate(nullptr, nullptr, nullptr, nullptr), 0.0) << name;
    }
}

TEST(StrategyRegistryTest, SecondRegistrationKeepsTheFirstClassAndIsReported)
{
    auto registry = MakeRegistry();
    EXPECT_TRUE(registry.Duplicates().empty());
    EXPECT_FALSE(registry.RegisterStrategy("tqtktestvolumerule", &CreateStrategyInstance<TQTKTestOtherRule>));
    EXPECT_FALSE(QTK_REGISTER(registry, TQTKTestOtherRule));
    EXPECT_EQ(registry.Count(), 2);
    EXPECT_EQ(registry.CreateStrategy("TQTKTestVolumeRule")->Calculate(nullptr, nullptr, nullptr, nullptr), 42.0);
    EXPECT_EQ(registry.Duplicates(), (std::vector<std::string>{"tqtktestvolumerule", "TQTKTestOtherRule"}));
}

Ref<IQTKCalcStrategy> MakeByExport(const std::string& name)
{
    return Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
}

// The library's whole registry: it guards every rule family that registers.
TEST(StrategyRegistryTest, EveryRegisteredRuleIsUniqueCreatableAndOfItsOwnClass)
{
    EXPECT_EQ(RegistryProblems(GStrategyList(), MakeByExport), std::vector<std::string>{});
}

// The check itself, on registries with one fault each.
TEST(StrategyRegistryTest, RegistryCheckFindsEachKindOfFault)
{
    const auto make = [](const TStrategyRegistry& registry) {
        return [&registry](const std::string& name) { return registry.CreateStrategy(name); };
    };
    struct TCase {
        const char* what;
        std::function<void(TStrategyRegistry&)> fill;
        std::vector<std::string> problems;
    };
    const std::vector<TCase> cases = {
        {"sound", [](TStrategyRegistry& r) { QTK_REGISTER(r, TQTKTestVolumeRule); }, {}},
        {"case-only clash",
         [](TStrategyRegistry& r) {
             QTK_REGISTER(r, TQTKTestVolumeRule);
             r.RegisterStrategy("TQTKTestVOLUMERule", &CreateStrategyInstance<TQTKTestOtherRule>);
         },
         {"duplicate registration of TQTKTestVOLUMERule"}},
        {"class under another name",
         [](TStrategyRegistry& r) {
             r.RegisterStrategy("TQTKTestOtherRule", &CreateStrategyInstance<TQTKTestVolumeRule>);
         },
         {"TQTKTestOtherRule creates TQTKTestVolumeRule"}},
        {"not creatable",
         [](TStrategyRegistry& r) {
             r.RegisterStrategy("TQTKTestBrokenRule", []() -> TQTKCalcStrategy* { throw std::bad_alloc(); });
         },
         {"not creatable: TQTKTestBrokenRule: std::bad_alloc"}},
    };
    for (const TCase& c : cases) {
        TStrategyRegistry registry;
        c.fill(registry);
        EXPECT_EQ(RegistryProblems(registry, make(registry)), c.problems) << c.what;
    }
}

TEST(StrategyRegistryTest, EachCallMakesADistinctObjectWithNoMatcher)
{
    const auto registry = MakeRegistry();
    auto a = registry.CreateStrategy("TQTKTestOtherRule");
    auto b = registry.CreateStrategy("TQTKTestOtherRule");
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->GetMatchRule(), nullptr);
}

TEST(StrategyRegistryTest, MatchRuleIsSetReadBackAndNotFreedByTheRule)
{
    TTestMatcher matcher;  // owned here: the rule must not free it
    {
        auto rule = MakeRegistry().CreateStrategy("TQTKTestVolumeRule");
        rule->SetMatchRule(&matcher);
        EXPECT_EQ(rule->GetMatchRule(), &matcher);
    }
    EXPECT_TRUE(matcher.ObjectMatches());
}

TEST(GetStrategyTest, ExportedEntryNeverFailsAndHandsOverOneReference)
{
    IQTKCalcStrategy* raw = GetStrategy(nullptr);
    ASSERT_NE(raw, nullptr);
    auto rule = Ref<IQTKCalcStrategy>::Adopt(raw);
    EXPECT_EQ(rule->Calculate(nullptr, nullptr, nullptr, nullptr), 0.0);
    auto named = Ref<IQTKCalcStrategy>::Adopt(GetStrategy("SomeUnknownRule"));
    EXPECT_EQ(named->Calculate(nullptr, nullptr, nullptr, nullptr), 0.0);
}

}  // namespace
