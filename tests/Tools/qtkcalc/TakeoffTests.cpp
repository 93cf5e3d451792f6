// The take-off: a small building under a rule table of test rules (the
// quantities are the volumes of the element solids, so every number is known
// by hand), the same bill on one and on eight threads, one floor alone, and
// rule tables that cannot be used or that fail on one element.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Tools/qtkcalc/CalcCommand.h"
#include "Tools/qtkcalc/QTKTakeoff.h"
#include "Tools/qtkcalc/TakeoffCommand.h"

namespace {

// The element's own volume, written as "<m3><体积>".
class TTakeoffTestVolume final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                     const TableSourceRef& rules) override
    {
        // Settings the table has and one it lacks (reported once).
        GetSettingRow(rules, "QTKTestSettings");
        GetSettingRow(rules, "QTKMissingSettings");
        const double volume = GetCalcEDO(subject, true)->GetOriginalPolyhedron()->GetVolume();
        if (IsExprMode(subject.get()))
            AddExprText(subject.get(), FloatToStr(volume / 1e9) + "<体积>");
        return volume;
    }
};

// What the object's solid covers of the subject's.
class TTakeoffTestDeductOverlap final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                     const TableSourceRef&) override
    {
        TQTKSolidCalc3d calc(GetCalcEDO(subject, true)->GetOriginalPolyhedron()->Clone(), subject);
        return calc.Subtract(*GetCalcEDO(object, true)->GetOriginalPolyhedron(), object.get());
    }
};

// A deduction whose boolean the geometry refused (noted as the solid
// calculators note it), on the column only.
class TTakeoffTestRefusedBoolean final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef&, const RecordRef& object, const TableSourceRef&, const TableSourceRef&) override
    {
        if (object->GetID() == 21)
            MakeGeometryFailure(object.get(), CVRMBoolSubtract);
        return 0.0;
    }
};

// Fails on the wall of the second floor only.
class TTakeoffTestRaise final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&, const TableSourceRef&) override
    {
        if (subject->GetID() == 12)
            throw std::runtime_error("no solid for this wall");
        return 1e9;
    }
};

const TStrategyRegistry& TestRules()
{
    static const TStrategyRegistry registry = [] {
        TStrategyRegistry rules;
        QTK_REGISTER(rules, TTakeoffTestVolume);
        QTK_REGISTER(rules, TTakeoffTestDeductOverlap);
        QTK_REGISTER(rules, TTakeoffTestRaise);
        QTK_REGISTER(rules, TTakeoffTestRefusedBoolean);
        return rules;
    }();
    return registry;
}

IQTKCalcStrategy* TestGetStrategy(const char* name)
{
    Ref<IQTKCalcStrategy> rule = TestRules().CreateStrategy(name ? name : "");
    IQTKCalcStrategy* raw = rule.get();
    raw->AddRef();
    return raw;
}

std::filesystem::path Fixture(const char* name)
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return std::filesystem::path(dir ? dir : "tests/fixtures") / "takeoff" / name;
}

nlohmann::json ReadJson(const std::filesystem::path& file)
{
    std::ifstream in(file);
    return nlohmann::json::parse(in);
}

// A copy of the test rule table with a change, in a file of its own.
std::filesystem::path RulesWith(const std::string& tag, const std::function<void(nlohmann::json&)>& change)
{
    nlohmann::json rules = ReadJson(Fixture("rules.json"));
    change(rules);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("qtk-takeoff-" + tag + ".json");
    std::ofstream(file) << rules.dump(1);
    return file;
}

nlohmann::json& Table(nlohmann::json& rules, const std::string& name)
{
    for (nlohmann::json& table : rules["tables"])
        if (table["name"] == name)
            return table;
    throw std::runtime_error("no table " + name);
}

TQTKTakeoffResult RunTestTakeoff(const std::filesystem::path& rules, int threads = 1,
                                 std::vector<std::string> floors = {}, bool details = false)
{
    const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(Fixture("building.json"));
    AttachRuleSet(*model, rules);
    TQTKTakeoffOptions options;
    options.threads = threads;
    options.floors = std::move(floors);
    options.details = details;
    options.strategyEntry = TestGetStrategy;
    options.isRegistered = [](const std::string& name) { return TestRules().FindClass(name) != nullptr; };
    return RunTakeoff(*model, options);
}

const TQTKTakeoffItem& Item(const TQTKTakeoffResult& result, int elementId, const std::string& code)
{
    for (const TQTKTakeoffElement& element : result.elements)
        if (element.id == elementId)
            for (const TQTKTakeoffItem& item : element.items)
                if (item.code == code)
                    return item;
    throw std::runtime_error("no item " + code + " of element " + std::to_string(elementId));
}

std::string Bill(const TQTKTakeoffResult& result, TQTKBillFormat format, bool details)
{
    std::ostringstream out;
    WriteBill(result, format, details, out);
    return out.str();
}

TEST(Takeoff, BillsEveryItemNetOfItsDeductions)
{
    const TQTKTakeoffResult result = RunTestTakeoff(Fixture("rules.json"), 1, {}, true);
    ASSERT_TRUE(result.failures.empty()) << result.failures.front();
    ASSERT_EQ(result.elements.size(), 3u);  // the window has no bill item
    EXPECT_EQ(result.missingSettings, std::vector<std::string>{"QTKMissingSettings"});
    // Floors in table order, elements by record id.
    EXPECT_EQ(result.elements[0].id, 11);
    EXPECT_EQ(result.elements[1].id, 21);
    EXPECT_EQ(result.elements[2].id, 12);
    EXPECT_EQ(result.elements[2].floorName, "第2层");

    // Wall 6000 x 240 x 3000 = 4.32 m3, less the window 1.5 x 1.5 x 0.24 =
    // 0.54 and the column's 200 x 240 x 3000 = 0.144 inside the wall's end.
    const TQTKTakeoffItem& wall = Item(result, 11, "TJ");
    EXPECT_NEAR(wall.quantity, 4.32 - 0.54 - 0.144, 1e-9);
    EXPECT_EQ(wall.expression, "4.32<体积>-0.54<扣窗>-0.144<扣柱>");
    ASSERT_EQ(wall.changes.size(), 2u);
    EXPECT_EQ(wall.changes[0].objectId, 30);
    EXPECT_EQ(wall.changes[0].rule, "TTakeoffTestDeductOverlap");
    EXPECT_NEAR(wall.changes[1].amount, 0.144, 1e-9);
    // The column 0.4 x 0.4 x 3: nothing deducts from it.
    EXPECT_NEAR(Item(result, 21, "TJ").quantity, 0.48, 1e-9);
    EXPECT_EQ(Item(result, 21, "TJ").expression, "0.48<体积>");
    EXPECT_NEAR(Item(result, 12, "TJ").quantity, 4.32, 1e-9);

    const std::string table = Bill(result, TQTKBillFormat::Table, true);
    EXPECT_NE(table.find("− 0.540 m3 element 30 C1 window TTakeoffTestDeductOverlap"), std::string::npos) << table;
    EXPECT_NE(table.find("grand total"), std::string::npos);
    // Per code over every kind: 3.636 + 0.48 + 4.32.
    EXPECT_NE(table.find("    TJ            8.436 m3\n"), std::string::npos) << table;
}

TEST(Takeoff, OneAndEightThreadsGiveTheSameBill)
{
    const TQTKTakeoffResult one = RunTestTakeoff(Fixture("rules.json"), 1, {}, true);
    const TQTKTakeoffResult eight = RunTestTakeoff(Fixture("rules.json"), 8, {}, true);
    for (TQTKBillFormat format : {TQTKBillFormat::Table, TQTKBillFormat::Csv, TQTKBillFormat::Json})
        EXPECT_EQ(Bill(one, format, true), Bill(eight, format, true));
}

TEST(Takeoff, OneFloorAloneHasTheNumbersOfTheWholeTakeoff)
{
    const TQTKTakeoffResult whole = RunTestTakeoff(Fixture("rules.json"));
    const TQTKTakeoffResult first = RunTestTakeoff(Fixture("rules.json"), 1, {"首层"});
    ASSERT_EQ(first.elements.size(), 2u);
    EXPECT_EQ(first.floorNames, std::vector<std::string>{"首层"});
    for (const TQTKTakeoffElement& element : first.elements)
        EXPECT_DOUBLE_EQ(element.items.at(0).quantity, Item(whole, element.id, "TJ").quantity);
    EXPECT_EQ(RunTestTakeoff(Fixture("rules.json"), 1, {"2"}).elements.at(0).id, 12);  // a floor by id
    EXPECT_THROW(RunTestTakeoff(Fixture("rules.json"), 1, {"屋面"}), EQTKTakeoffError);
}

TEST(Takeoff, RuleTablesThatCannotBeUsedAreReportedByTableRowAndField)
{
    struct Case {
        const char* name;
        std::function<void(nlohmann::json&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"expression", [](nlohmann::json& r) { Table(r, "InternalQtyCalcRule")["rows"][1]["SubjectMatchExpr"] = "(("; },
         "主体匹配表达式[((]解析错误"},
        {"no-rule-table",
         [](nlohmann::json& r) {
             auto& tables = r["tables"];
             tables.erase(std::remove_if(tables.begin(), tables.end(),
                                         [](auto& t) { return t["name"] == "InternalQtyCalcRule"; }),
                          tables.end());
         },
         "no table \"InternalQtyCalcRule\""},
        {"no-type-row", [](nlohmann::json& r) { Table(r, "ElementTypeDict")["rows"].erase(1); },
         "no row for element type 5 (window, element 30)"},
        {"no-calc-rule", [](nlohmann::json& r) { Table(r, "InternalQtyCalcRule")["rows"][2]["CalcRuleID"] = 99; },
         "table \"InternalQtyCalcRule\", row 3, field \"CalcRuleID\": no row 99 in \"CalcRule\""},
        {"no-original", [](nlohmann::json& r) { Table(r, "InternalQtyDict")["rows"].erase(3); },
         "bill item 56: no original quantity"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            RunTestTakeoff(RulesWith(c.name, c.change));
            ADD_FAILURE() << "no error";
        } catch (const EQTKTakeoffError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(Takeoff, ARuleThatRaisesFailsItsItemOnly)
{
    const auto rules = RulesWith("raise", [](nlohmann::json& r) {
        Table(r, "InternalQtyCalcRule")["rows"][1]["CalcRuleID"] = 3;  // wall volume raises on wall 12
    });
    const TQTKTakeoffResult result = RunTestTakeoff(rules);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_NE(result.failures[0].find("element 12 Q2 (wall), item TJ 墙体积, rule TTakeoffTestRaise"),
              std::string::npos)
        << result.failures[0];
    EXPECT_NE(result.failures[0].find("no solid for this wall"), std::string::npos);
    EXPECT_FALSE(Item(result, 12, "TJ").failure.empty());
    EXPECT_TRUE(Item(result, 11, "TJ").failure.empty());
    EXPECT_NEAR(Item(result, 21, "TJ").quantity, 0.48, 1e-9);
    EXPECT_NE(Bill(result, TQTKBillFormat::Table, false).find("FAILED"), std::string::npos);
}

TEST(Takeoff, ABooleanTheGeometryRefusedFailsTheItem)
{
    const auto rules = RulesWith("refused", [](nlohmann::json& r) {
        Table(r, "CalcRule")["rows"][1]["StrategyName"] = "TTakeoffTestRefusedBoolean";
    });
    const TQTKTakeoffResult result = RunTestTakeoff(rules);
    // Both walls relate to the column (wall 12 stands on its top); the column's own item is fine.
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_NE(
        result.failures[0].find("element 11 Q1 (wall), item TJ 墙体积, rule TTakeoffTestRefusedBoolean, object 21: "
                                "the solid subtraction failed (object 21)"),
        std::string::npos)
        << result.failures[0];
    EXPECT_FALSE(Item(result, 12, "TJ").failure.empty());
    EXPECT_TRUE(Item(result, 21, "TJ").failure.empty());
}

TEST(Takeoff, UnregisteredRuleNamesAreReportedOnceAndMarked)
{
    const auto rules = RulesWith(
        "unregistered", [](nlohmann::json& r) { Table(r, "CalcRule")["rows"][1]["StrategyName"] = "TQTKNoSuchRule"; });
    const TQTKTakeoffResult result = RunTestTakeoff(rules);
    EXPECT_EQ(result.unregistered, std::vector<std::string>{"TQTKNoSuchRule"});
    EXPECT_TRUE(Item(result, 11, "TJ").unregistered);
    EXPECT_NEAR(Item(result, 11, "TJ").quantity, 4.32, 1e-9);  // the neutral rule deducts nothing
    EXPECT_FALSE(Item(result, 21, "TJ").unregistered);
}

struct TCommandRun {
    int code = 0;
    std::string out, err;
};

TCommandRun RunCommand(const std::string& rules)
{
    TTakeoffCommandOptions options;
    options.modelPath = Fixture("building.json").string();
    options.rulesPath = rules;
    options.threads = 2;
    std::ostringstream out, err;
    const int code = RunTakeoffCommand(options, out, err, false);
    return {code, out.str(), err.str()};
}

TEST(TakeoffCommand, ExitCodes)
{
    // The library knows none of the test rules: the bill is printed with
    // every name reported once, exit 2.
    const TCommandRun unregistered = RunCommand(Fixture("rules.json").string());
    EXPECT_EQ(unregistered.code, 2);
    EXPECT_NE(unregistered.out.find("grand total"), std::string::npos);
    const auto once = [&](const std::string& text) {
        const size_t first = unregistered.err.find(text);
        return first != std::string::npos && unregistered.err.find(text, first + 1) == std::string::npos;
    };
    EXPECT_TRUE(once("rule \"TTakeoffTestVolume\" is not registered")) << unregistered.err;
    EXPECT_NE(unregistered.err.find("takeoff: 3 elements, 3 quantities, 0 failed"), std::string::npos);

    const TCommandRun bad = RunCommand(
        RulesWith("bad-command", [](nlohmann::json& r) { Table(r, "ElementTypeDict")["rows"].erase(0); }).string());
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("no row for element type 0"), std::string::npos) << bad.err;

    const TCommandRun missing = RunCommand("no-such-rules.json");
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no-such-rules.json"), std::string::npos);
}

// The golden building under the registered wall rules: four 240 brick walls
// on a 6000 x 4500 axis rectangle (0-2800, mitred at the corners), a window
// 1500 x 1500 (sill 900) and a door 1000 x 2100, two 400 x 400 columns on the
// long walls' axes, a 240 x 500 beam along wall 2 (2300-2800) and a 120 slab
// on the axis rectangle (2680-2800). Each deduction removes what is left of
// its overlap, in the table's order: openings, columns, beams, slab.
TEST(Takeoff, GoldenBuildingByHand)
{
    const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(Fixture("golden-building.json"));
    AttachRuleSet(*model, Fixture("golden-rules.json"));
    TQTKTakeoffOptions options;
    options.details = true;
    const TQTKTakeoffResult result = RunTakeoff(*model, options);
    ASSERT_TRUE(result.failures.empty()) << result.failures.front();
    EXPECT_TRUE(result.unregistered.empty());

    // Mitred plans: a long wall's band inside the slab (the inner half) is
    // the trapezoid 6000 x 120 less the two corner triangles, 705,600 mm2; a
    // short wall's 525,600 mm2. A column covers 400 x 240 of its wall, of
    // which 400 x 120 lies under the slab.
    constexpr double kWindow = 1.5 * 1.5 * 0.24, kDoor = 1.0 * 2.1 * 0.24;
    constexpr double kColumn = 0.4 * 0.24 * 2.8;
    constexpr double kLongSlab = (705600.0 - 400 * 120) * 120 / 1e9, kShortSlab = 525600.0 * 120 / 1e9;
    // The beam along wall 2: its band (5880..6120) over wall 2's mitred plan,
    // the outer half 4500 x 120 and the inner trapezoid 525,600 mm2, 500 high;
    // it holds the slab's part of wall 2 as well.
    constexpr double kBeam = (4500.0 * 120 + 525600) * 500 / 1e9;
    struct Case {
        int wall;
        double original, net;
    };
    const Case cases[] = {
        {1, 4.032, 4.032 - kWindow - kColumn - kLongSlab},
        {2, 3.024, 3.024 - kBeam},
        {3, 4.032, 4.032 - kDoor - kColumn - kLongSlab},
        {4, 3.024, 3.024 - kShortSlab},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wall);
        const TQTKTakeoffItem& item = Item(result, c.wall, "TJ");
        EXPECT_NEAR(item.quantity, c.net, 1e-9);
        double changes = 0;
        for (const auto& change : item.changes)
            changes += change.amount;
        EXPECT_NEAR(c.original - changes, c.net, 1e-9);
    }
    // Expressions in m3 to 4 decimals; a change of 0 writes nothing.
    EXPECT_EQ(Item(result, 1, "TJ").expression, "4.032-0.54<扣窗>-0.2688<扣柱>-0.0789<扣板>");
    EXPECT_EQ(Item(result, 2, "TJ").expression, "3.024-0.5328<扣梁>");
    EXPECT_EQ(Item(result, 3, "TJ").expression, "4.032-0.504<扣门>-0.2688<扣柱>-0.0789<扣板>");
    EXPECT_EQ(Item(result, 4, "TJ").expression, "3.024-0.0631<扣板>");
    EXPECT_NEAR(Item(result, 7, "TJ").quantity, 0.4 * 0.4 * 2.8, 1e-9);

    // The beam by its middle line, 240 x 500 x 4500, less the slab by fact:
    // the slab ends on the beam's axis, so it takes the inner half band
    // 120 x 4500 over its 120 thickness.
    constexpr double kBeamUnderSlab = 120.0 * 4500 * 120 / 1e9;
    EXPECT_NEAR(Item(result, 9, "TJ").quantity, 0.24 * 0.5 * 4.5 - kBeamUnderSlab, 1e-9);
    EXPECT_EQ(Item(result, 9, "TJ").expression, "0.24<宽度>*0.5<高度>*4.5<中心线长度>-0.0648<扣板>");
    // The slab 6000 x 4500 x 120 less the two columns by fact: each column
    // (centred on the slab's edge) has 400 x 200 of its plan inside it.
    constexpr double kColumnInSlab = 400.0 * 200 * 120 / 1e9;
    EXPECT_NEAR(Item(result, 10, "TJ").quantity, 6.0 * 4.5 * 0.12 - 2 * kColumnInSlab, 1e-9);
    EXPECT_EQ(Item(result, 10, "TJ").expression, "(6*4.5)*0.12<厚度>-0.0096<扣柱>-0.0096<扣柱>");
}

// Asking for the details changes no number of the bill: the sample building
// (its concrete wall's formwork among them) bills alike both ways.
TEST(Takeoff, TheSampleBillsAlikeWithDetailsAndWithout)
{
    const std::filesystem::path root = QTK_SOURCE_ROOT;
    TQTKTakeoffResult results[2];
    for (const bool details : {false, true}) {
        const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(root / "examples/building.json");
        AttachRuleSet(*model, root / "examples/rules/sample-rules.json");
        TQTKTakeoffOptions options;
        options.details = details;
        results[details] = RunTakeoff(*model, options);
        ASSERT_TRUE(results[details].failures.empty()) << results[details].failures.front();
    }
    ASSERT_EQ(results[0].elements.size(), results[1].elements.size());
    for (const TQTKTakeoffElement& element : results[0].elements)
        for (const TQTKTakeoffItem& item : element.items) {
            SCOPED_TRACE(std::to_string(element.id) + " " + item.code);
            EXPECT_NEAR(Item(results[1], element.id, item.code).quantity, item.quantity, 1e-9);
        }

    // The concrete wall Q2 (1019): both side faces 5.76 long (between the
    // brick walls' faces) and 3.7 high; its door M2 (0.9 x 2.1, on the floor
    // above the wall's bottom) takes both faces less the reveal all round,
    // 2 x 0.9 x 2.1 - (2 x 2.1 + 2 x 0.9) x 0.24.
    const TQTKTakeoffItem& formwork = Item(results[1], 1019, "MBMJ");
    ASSERT_FALSE(formwork.changes.empty());
    EXPECT_EQ(formwork.expression.rfind("42.624-2.34<扣门>", 0), 0u) << formwork.expression;
    EXPECT_EQ(formwork.changes[0].objectId, 1025);
    EXPECT_NEAR(formwork.changes[0].amount, 2 * 0.9 * 2.1 - (2 * 2.1 + 2 * 0.9) * 0.24, 1e-9);
    // Each 100 mm layer of the insulating wall BW1 (5 x 2.8) less its
    // opening DK1 (1 x 1).
    for (const int layer : {1061, 1062}) {
        SCOPED_TRACE(layer);
        const TQTKTakeoffItem& volume = Item(results[1], layer, "TJ");
        EXPECT_NEAR(volume.quantity, 5 * 0.1 * 2.8 - 1 * 0.1 * 1, 1e-9);
        EXPECT_EQ(volume.expression, "1.4-0.1<扣洞口>");
    }
}

// A formwork rule of the concrete wall Q2 (1019) run alone by qtkcalc calc,
// with nothing billed before it, gives what the take-off bills for it: the
// door M2 (1025) 2 x 0.9 x 2.1 - (2 x 2.1 + 2 x 0.9) x 0.24 = 2.34 m2 and
// each column its sides on the wall's faces.
TEST(Takeoff, AFormworkRuleRunAloneGivesWhatTheTakeoffBills)
{
    const std::filesystem::path root = QTK_SOURCE_ROOT;
    const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(root / "examples/building.json");
    AttachRuleSet(*model, root / "examples/rules/sample-rules.json");
    const TQTKTakeoffResult result = RunTakeoff(*model, TQTKTakeoffOptions{});
    ASSERT_TRUE(result.failures.empty()) << result.failures.front();
    const TQTKTakeoffItem& formwork = Item(result, 1019, "MBMJ");
    ASSERT_FALSE(formwork.changes.empty());
    EXPECT_EQ(formwork.changes[0].objectId, 1025);
    EXPECT_NEAR(formwork.changes[0].amount, 2 * 0.9 * 2.1 - (2 * 2.1 + 2 * 0.9) * 0.24, 1e-9);
    for (const TQTKTakeoffChange& change : formwork.changes) {
        if (change.amount == 0.0)
            continue;
        SCOPED_TRACE(change.rule + " with " + std::to_string(change.objectId));
        TCalcCommandOptions options;
        options.modelPath = (root / "examples/building.json").string();
        options.rulesPath = (root / "examples/rules/sample-rules.json").string();
        options.rule = change.rule;
        options.subject = 1019;
        options.object = change.objectId;
        std::ostringstream out, err;
        ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
        const std::string text = out.str();
        const auto at = text.find("quantity ");
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_NEAR(std::stod(text.substr(at + 9)) / 1e6, change.amount, 1e-9) << text;
    }
}

// The over-height formwork of the concrete wall Q3 (2042, storey 2 from 3300
// to 7200, critical height 3.6 m: one piece from 6900) run alone cuts both
// side faces (5760 long between the outer walls' faces): 2 x 5760 x 300.
TEST(Takeoff, AnOverHeightFormworkRuleRunAloneCutsBothSideFaces)
{
    const std::filesystem::path root = QTK_SOURCE_ROOT;
    TCalcCommandOptions options;
    options.modelPath = (root / "examples/building.json").string();
    options.rulesPath = (root / "examples/rules/sample-rules.json").string();
    options.rule = "TQTKWallOverHighFormBoardOriginalArea";
    options.subject = 2042;
    std::ostringstream out, err;
    ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("quantity 3456000\n"), std::string::npos) << out.str();
}

// The sample bills no layer formwork; a layer formwork rule run alone by
// qtkcalc calc finds both side faces of the 100 mm layer BW1-外层 (1061): its
// opening DK1 (1063, 1 x 1 through the layer) takes 1 x 1 off each face.
TEST(Takeoff, ALayerFormworkRuleRunAloneFindsBothSideFaces)
{
    const std::filesystem::path root = QTK_SOURCE_ROOT;
    TCalcCommandOptions options;
    options.modelPath = (root / "examples/building.json").string();
    options.rulesPath = (root / "examples/rules/sample-rules.json").string();
    options.rule = "TQTKInsulatingUnitFormBoardDeductHollow";
    options.subject = 1061;
    options.object = 1063;
    std::ostringstream out, err;
    ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
    const std::string text = out.str();
    const auto at = text.find("quantity ");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NEAR(std::stod(text.substr(at + 9)), 2 * 1000.0 * 1000, 0.01) << text;
}

TEST(TakeoffCommand, TheSampleBuildingBillsCompletely)
{
    // make run: every element type of the sample has its dictionary row and
    // every quantity of the sample table is computed.
    const std::filesystem::path root = QTK_SOURCE_ROOT;
    TTakeoffCommandOptions options;
    options.modelPath = (root / "examples/building.json").string();
    options.rulesPath = (root / "examples/rules/sample-rules.json").string();
    options.threads = 2;
    std::ostringstream out, err;
    EXPECT_EQ(RunTakeoffCommand(options, out, err, false), 0) << err.str();
    EXPECT_NE(out.str().find("grand total"), std::string::npos);
}

}  // namespace
