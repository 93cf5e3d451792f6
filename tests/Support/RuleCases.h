// The rule-case runner: a family's rules tested from a table. A case file is
// JSON beside the family's tests:
//
//   {"fixture": "building.json",                 (default model of the rows)
//    "cases": [
//      {"rule": "TQTKExampleColumnVolume", "subject": 20,
//       "expected": 480000000, "tolerance": 1, "expr": "0.48<体积>"},
//      {"rule": "...", "elements": [...], "subject": 1, "object": 2,
//       "expected": 0, "detailMode": true, "details": ["2 0.06"]}]}
//
// A row names its rule, its model (a "fixture" model file relative to the
// case file, or inline "elements" of a model file on one storey), the subject
// element and optionally the object element, the expected quantity as the
// rule returns it (mm, mm², mm³) with its "tolerance" (default 0.001), and
// optionally the expected expression text "expr" and, in "detailMode", the
// expected "details" ("<element id> <expression>", then " (original)" or
// " (addition)" when so marked). Every row becomes one test named after the
// file, the row and the rule; qtk_add_rule_cases (cmake/QTKHelpers.cmake)
// makes the test program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class TStrategyRegistry;

struct TRuleCase {
    std::filesystem::path file;
    int row = 0;  // 1-based
    std::string rule;
    std::string fixture;      // relative to the case file's folder
    nlohmann::json elements;  // or inline elements
    int subject = 0;
    std::optional<int> object;
    double expected = 0.0;
    double tolerance = 0.001;
    std::optional<std::string> expr;
    bool detailMode = false;
    std::optional<std::vector<std::string>> details;
    std::string error;  // the row (or file) cannot be read
};

// The rows of a case file; an unreadable file gives one row carrying the error.
std::vector<TRuleCase> LoadRuleCases(const std::filesystem::path& file);

// Runs one row: empty when it passes, else what went wrong, beginning with
// the file, the row and the rule.
std::string RunRuleCase(const TRuleCase& ruleCase, const TStrategyRegistry& registry);

// Every row of the file as a GoogleTest test (before RUN_ALL_TESTS).
void RegisterRuleCaseTests(const std::filesystem::path& file, const TStrategyRegistry& registry);

// The rules a case program knows: the library's rule units and the test-only
// units its sources add with QTK_RULE_CASE_UNIT.
using TRuleUnitRegistration = void (*)(TStrategyRegistry& registry);
const TStrategyRegistry& RuleCaseRegistry();
struct TRuleCaseUnit {
    explicit TRuleCaseUnit(TRuleUnitRegistration registration);
};
#define QTK_RULE_CASE_UNIT(registration)                      \
    static const TRuleCaseUnit qtkRuleCaseUnit_##registration \
    {                                                         \
        registration                                          \
    }
