// qtkcalc calc: a rule run on an element of a model file, and the clear
// messages for ids and files that do not exist.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "Tools/qtkcalc/CalcCommand.h"

namespace {

std::string FixturePath(const char* name)
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return std::string(dir ? dir : "tests/fixtures") + "/calc/" + name;
}

struct TRun {
    int code = 0;
    std::string out, err;
};

TRun RunCalc(const TCalcCommandOptions& options)
{
    std::ostringstream out, err;
    const int code = RunCalcCommand(options, out, err);
    return {code, out.str(), err.str()};
}

TEST(CalcCommand, RunsARuleOnAnElement)
{
    TCalcCommandOptions options;
    options.modelPath = FixturePath("matching.json");
    options.rule = "TQTKCalcStrategy";
    options.subject = 1;
    options.object = 10;
    options.expr = true;
    options.details = true;
    const TRun run = RunCalc(options);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("rule TQTKCalcStrategy on element 1 (wall) with element 10 (beam)"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("quantity 0\n"), std::string::npos);
    EXPECT_NE(run.out.find("expression (none)\n"), std::string::npos);
    EXPECT_NE(run.out.find("details: 0\n"), std::string::npos);
    // The base rule is not registered under a rule name of its own.
    EXPECT_NE(run.err.find("is not registered"), std::string::npos);
}

TEST(CalcCommand, ClearMessagesAndFailureCodes)
{
    struct Case {
        const char* model;
        int subject;
        int object;
        const char* message;
    };
    const Case cases[] = {{"matching.json", 99, 0, "no element with id 99"},
                          {"matching.json", 1, 98, "no element with id 98"},
                          {"no-such-model.json", 1, 0, "no-such-model.json"}};
    for (const Case& c : cases) {
        TCalcCommandOptions options;
        options.modelPath = FixturePath(c.model);
        options.rule = "TQTKCalcStrategy";
        options.subject = c.subject;
        if (c.object)
            options.object = c.object;
        const TRun run = RunCalc(options);
        EXPECT_EQ(run.code, 1) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

}  // namespace
