// The main of a rule-case program (qtk_add_rule_cases): every row of its case
// files becomes a test, beside a check of the rules it knows.
#include <gtest/gtest.h>

#include <string>

#include "tests/Support/RegistryChecks.h"
#include "tests/Support/RuleCases.h"

TEST(RuleCaseRegistry, EveryKnownRuleIsUniqueCreatableAndOfItsOwnClass)
{
    const TStrategyRegistry& registry = RuleCaseRegistry();
    EXPECT_EQ(RegistryProblems(registry, [&](const std::string& name) { return registry.CreateStrategy(name); }),
              std::vector<std::string>{});
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::string files = QTK_RULE_CASE_FILES;
    for (size_t start = 0; start <= files.size();) {
        const size_t end = std::min(files.find('|', start), files.size());
        if (end > start)
            RegisterRuleCaseTests(files.substr(start, end - start), RuleCaseRegistry());
        start = end + 1;
    }
    return RUN_ALL_TESTS();
}
