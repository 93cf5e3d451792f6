#include "tests/Support/RuleCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/QTKStrategyUnits.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr const char* CNeutralRule = "TQTKCalcStrategy";

std::vector<TRuleUnitRegistration>& TestUnits()
{
    static std::vector<TRuleUnitRegistration> units;
    return units;
}

TRuleCase ReadRow(const nlohmann::json& row, const std::string& defaultFixture)
{
    TRuleCase c;
    if (!row.is_object()) {
        c.error = "a row is an object";
        return c;
    }
    const auto text = [&](const char* key, std::string& into) {
        if (row.contains(key))
            into = row.at(key).get<std::string>();
    };
    text("rule", c.rule);
    c.fixture = defaultFixture;
    text("fixture", c.fixture);
    if (row.contains("elements")) {
        c.elements = row.at("elements");
        c.fixture.clear();
    }
    if (c.rule.empty())
        c.error = "no \"rule\"";
    else if (!row.contains("subject"))
        c.error = "no \"subject\"";
    else if (!row.contains("expected"))
        c.error = "no \"expected\" quantity";
    else if (c.fixture.empty() && c.elements.is_null())
        c.error = "no model: give \"fixture\" or \"elements\"";
    if (!c.error.empty())
        return c;
    c.subject = row.at("subject").get<int>();
    if (row.contains("object") && !row.at("object").is_null())
        c.object = row.at("object").get<int>();
    c.expected = row.at("expected").get<double>();
    if (row.contains("tolerance"))
        c.tolerance = row.at("tolerance").get<double>();
    if (row.contains("expr"))
        c.expr = row.at("expr").get<std::string>();
    if (row.contains("detailMode"))
        c.detailMode = row.at("detailMode").get<bool>();
    if (row.contains("details"))
        c.details = row.at("details").get<std::vector<std::string>>();
    return c;
}

std::string Describe(const TRuleCase& c)
{
    std::string text = c.file.filename().string() + " row " + std::to_string(c.row);
    if (!c.rule.empty()) {
        text += " (rule " + c.rule + ", subject " + std::to_string(c.subject);
        if (c.object)
            text += ", object " + std::to_string(*c.object);
        text += ")";
    }
    return text + ": ";
}

std::string DetailText(const TQTKDeductDetail& detail)
{
    std::string text =
        std::to_string(detail.GetRecord() ? detail.GetRecord()->GetID() : 0) + " " + detail.GetDedcutExpr();
    if (detail.GetIsOriginalQty())
        text += " (original)";
    else if (detail.GetIsAddition())
        text += " (addition)";
    return text;
}

std::string Join(const std::vector<std::string>& items)
{
    std::string text = "[";
    for (size_t i = 0; i < items.size(); ++i)
        text += (i ? ", \"" : "\"") + items[i] + "\"";
    return text + "]";
}

std::unique_ptr<TTestBuilding> LoadModel(const TRuleCase& c, std::string& problem)
{
    try {
        if (c.fixture.empty())
            return TTestBuilding::FromElements(c.elements.dump());
        const std::filesystem::path path = c.file.parent_path() / c.fixture;
        if (!std::filesystem::exists(path)) {
            problem = "fixture " + path.string() + " not found";
            return nullptr;
        }
        return TTestBuilding::FromFile(path);
    } catch (const std::exception& error) {
        problem = "model cannot be loaded: " + std::string(error.what());
        return nullptr;
    }
}

class TRuleCaseTest : public ::testing::Test {
public:
    TRuleCaseTest(TRuleCase c, const TStrategyRegistry& registry) : case_(std::move(c)), registry_(registry) {}
    void TestBody() override
    {
        const std::string problem = RunRuleCase(case_, registry_);
        if (!problem.empty())
            ADD_FAILURE_AT(case_.file.string().c_str(), case_.row) << problem;
    }

private:
    TRuleCase case_;
    const TStrategyRegistry& registry_;
};

std::string TestName(std::string text)
{
    for (char& ch : text)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return text;
}

}  // namespace

std::vector<TRuleCase> LoadRuleCases(const std::filesystem::path& file)
{
    std::vector<TRuleCase> cases;
    try {
        std::ifstream in(file);
        if (!in)
            throw std::runtime_error("cannot be opened");
        const nlohmann::json doc = nlohmann::json::parse(in);
        const std::string fixture = doc.value("fixture", std::string());
        int row = 0;
        for (const nlohmann::json& item : doc.at("cases")) {
            TRuleCase c;
            try {
                c = ReadRow(item, fixture);
            } catch (const std::exception& error) {
                c.error = error.what();
            }
            c.file = file;
            c.row = ++row;
            cases.push_back(std::move(c));
        }
    } catch (const std::exception& error) {
        TRuleCase c;
        c.file = file;
        c.error = "case file cannot be read: " + std::string(error.what());
        cases.push_back(std::move(c));
    }
    return cases;
}

std::string RunRuleCase(const TRuleCase& c, const TStrategyRegistry& registry)
{
    if (!c.error.empty())
        return Describe(c) + c.error;
    const TQTKStrategyClass ruleClass = registry.FindClass(c.rule);
    if (!ruleClass && CompareText(c.rule, CNeutralRule) != 0)
        return Describe(c) + "rule \"" + c.rule + "\" is not registered";
    std::string problem;
    const std::unique_ptr<TTestBuilding> building = LoadModel(c, problem);
    if (!building)
        return Describe(c) + problem;
    IRDXRecord* subject = building->Record(c.subject);
    IRDXRecord* object = c.object ? building->Record(*c.object) : nullptr;
    if (!subject)
        return Describe(c) + "no element " + std::to_string(c.subject) + " in the model";
    if (c.object && !object)
        return Describe(c) + "no element " + std::to_string(*c.object) + " in the model";

    TQTKCalculationScopeOptions options;
    options.session.detailMode = c.detailMode;
    options.exprMode = c.expr.has_value();
    TQTKCalculationScope& scope = building->Activate(std::move(options));
    scope.BeginQuantity(c.subject, c.rule);
    const Ref<IQTKCalcStrategy> rule(ruleClass ? ruleClass() : new TQTKCalcStrategy());
    double got = 0.0;
    try {
        got = rule->Calculate(RecordRef(subject), RecordRef(object), GBusiness(), GCalculatorSetting());
    } catch (const std::exception& error) {
        return Describe(c) + "the rule raised: " + error.what();
    }

    std::vector<std::string> problems;
    if (!(std::fabs(got - c.expected) <= c.tolerance))
        problems.push_back("expected " + FloatToStr(c.expected) + " (within " + FloatToStr(c.tolerance) + "), got " +
                           FloatToStr(got));
    if (c.expr) {
        const std::string text = scope.ExprText(c.subject, c.rule).value_or("(none)");
        if (text != *c.expr)
            problems.push_back("expected expression \"" + *c.expr + "\", got \"" + text + "\"");
    }
    if (c.details) {
        std::vector<std::string> details;
        for (int i = 0; i < scope.Details().GetCount(); ++i)
            details.push_back(DetailText(*scope.Details().GetItems(i)));
        if (details != *c.details)
            problems.push_back("expected details " + Join(*c.details) + ", got " + Join(details));
    }
    if (problems.empty())
        return {};
    std::string text = Describe(c);
    for (size_t i = 0; i < problems.size(); ++i)
        text += (i ? "; " : "") + problems[i];
    return text;
}

void RegisterRuleCaseTests(const std::filesystem::path& file, const TStrategyRegistry& registry)
{
    const std::string suite = TestName(file.stem().string());
    for (TRuleCase& c : LoadRuleCases(file)) {
        const std::string name = TestName("row" + std::to_string(c.row) + (c.rule.empty() ? "" : "_" + c.rule));
        const int line = c.row;
        ::testing::RegisterTest(
            suite.c_str(), name.c_str(), nullptr, nullptr, file.string().c_str(), line,
            [c = std::move(c), &registry]() -> ::testing::Test* { return new TRuleCaseTest(c, registry); });
    }
}

TRuleCaseUnit::TRuleCaseUnit(TRuleUnitRegistration registration)
{
    TestUnits().push_back(registration);
}

const TStrategyRegistry& RuleCaseRegistry()
{
    static const TStrategyRegistry registry = [] {
        TStrategyRegistry r;
        RegisterAllStrategyUnits(r);
        for (TRuleUnitRegistration registration : TestUnits())
            registration(r);
        return r;
    }();
    return registry;
}
