// The rule-case runner on rows that must fail: the message says which file,
// row and rule, and what was expected and got; a bad row never crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/Support/RuleCases.h"
#include "tests/Support/TestBuilding.h"

namespace {

// A case file in a folder of its own beside a copy-free reference to the
// example fixture; returns its path.
std::filesystem::path WriteCaseFile(const std::string& name, const std::string& text)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qtk-rule-cases";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / name;
    std::ofstream(file) << text;
    return file;
}

const char* const CColumn = R"([{"id": 20, "type": 25, "floor": 1,
  "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0, "TopElev": 3000},
  "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400]}}])";

TEST(RuleCaseRunner, FailingRowsSayWhatAndWhere)
{
    struct TCase {
        const char* what;
        std::string row;
        std::vector<std::string> message;  // fragments the message holds
    };
    const std::vector<TCase> cases = {
        {"wrong expected value",
         std::string(R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 1, "elements": )") + CColumn +
             "}",
         {"bad.json row 1", "rule TQTKExampleColumnVolume", "expected 1 (within 0.001), got 480000000"}},
        {"wrong expression",
         std::string(R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 480000000, "expr": "1<体积>",
            "elements": )") +
             CColumn + "}",
         {"bad.json row 1", "expected expression \"1<体积>\", got \""}},
        {"wrong details",
         std::string(R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 480000000, "detailMode": true,
            "details": ["20 1"], "elements": )") +
             CColumn + "}",
         {"bad.json row 1", "expected details [\"20 1\"], got ["}},
        {"unknown rule",
         R"({"rule": "TQTKNoSuchRule", "subject": 20, "expected": 0, "fixture": "none.json"})",
         {"bad.json row 1", "rule \"TQTKNoSuchRule\" is not registered"}},
        {"missing fixture",
         R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 0, "fixture": "none.json"})",
         {"bad.json row 1", "fixture ", "none.json not found"}},
        {"missing element",
         std::string(R"({"rule": "TQTKExampleColumnVolume", "subject": 21, "expected": 0, "elements": )") + CColumn +
             "}",
         {"bad.json row 1", "no element 21 in the model"}},
        {"model with an error",
         R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 0, "elements": [{"id": -1}]})",
         {"bad.json row 1", "model cannot be loaded: "}},
        {"row without a subject",
         R"({"rule": "TQTKExampleColumnVolume", "expected": 0, "elements": []})",
         {"bad.json row 1", "no \"subject\""}},
        {"rule raising",
         R"({"rule": "TQTKExampleColumnVolumeDeductBeam", "subject": 20, "expected": 0, "elements": )" +
             std::string(CColumn) + "}",
         {"bad.json row 1", "the rule raised: "}},
    };
    for (const TCase& c : cases) {
        const auto rows = LoadRuleCases(WriteCaseFile("bad.json", R"({"cases": [)" + c.row + "]}"));
        ASSERT_EQ(rows.size(), 1u) << c.what;
        const std::string message = RunRuleCase(rows[0], RuleCaseRegistry());
        for (const std::string& fragment : c.message)
            EXPECT_NE(message.find(fragment), std::string::npos)
                << c.what << ": \"" << fragment << "\" not in: " << message;
    }
}

TEST(RuleCaseRunner, UnreadableCaseFileIsOneFailingRow)
{
    for (const char* text : {"{\"cases\": [", "{}", "[1, 2]"}) {
        const auto rows = LoadRuleCases(WriteCaseFile("broken.json", text));
        ASSERT_EQ(rows.size(), 1u) << text;
        EXPECT_NE(RunRuleCase(rows[0], RuleCaseRegistry()).find("broken.json row 0: case file cannot be read: "),
                  std::string::npos)
            << text;
    }
    const auto rows = LoadRuleCases(std::filesystem::temp_directory_path() / "qtk-no-such-cases.json");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(RunRuleCase(rows[0], RuleCaseRegistry()).find("cannot be opened"), std::string::npos);
}

TEST(RuleCaseRunner, RowsAreNumberedAndPassingRowsSayNothing)
{
    const std::string row =
        std::string(R"({"rule": "TQTKExampleColumnVolume", "subject": 20, "expected": 480000000, "elements": )") +
        CColumn + "}";
    const auto rows = LoadRuleCases(WriteCaseFile("good.json", R"({"cases": [)" + row + "," + row + "]}"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].row, 2);
    EXPECT_EQ(RunRuleCase(rows[1], RuleCaseRegistry()), "");
}

}  // namespace
