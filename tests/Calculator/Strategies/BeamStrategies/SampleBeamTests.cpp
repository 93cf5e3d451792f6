// qtkcalc calc and the take-off on the sample building: beam 1008's volume
// along its middle line, and what slab 1027 takes of it by fact, with their
// expressions.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "Host/ElementModel/QTKElementModel.h"
#include "Tools/qtkcalc/CalcCommand.h"
#include "Tools/qtkcalc/QTKTakeoff.h"

namespace {

struct TRun {
    int code = 0;
    std::string out, err;
};

TRun RunOnSample(const char* rule, int subject, std::optional<int> object, bool withRules = false)
{
    TCalcCommandOptions options;
    options.modelPath = std::string(QTK_SOURCE_ROOT) + "examples/building.json";
    if (withRules)
        options.rulesPath = std::string(QTK_SOURCE_ROOT) + "examples/rules/sample-rules.json";
    options.rule = rule;
    options.subject = subject;
    options.object = object;
    options.expr = true;
    options.details = true;
    std::ostringstream out, err;
    const int code = RunCalcCommand(options, out, err);
    return {code, out.str(), err.str()};
}

// Beam 1008 runs on the axis from (4500,0) to (9000,0), 240 wide (y -120 to
// 120) and 500 high (2800 to 3300); at (9000,0) it meets beam 1013 in a
// mitred corner, its inner half a trapezoid 4500 x 120 less the corner
// triangle 120 x 120 / 2 and its outer half 4500 x 120 plus the same
// triangle: 4500 x 240 in all. Volume 4.5 x 0.24 x 0.5 = 0.54 m3.
// Slab 1027 covers x 4500..9000, y 0..6000, 3180 to 3300: it holds the inner
// half under it, (540,000 - 7,200) mm2 x 120 = 63,936,000 mm3; the beam's
// volume less the slab is 476,064,000 mm3.
TEST(SampleBeams, BeamVolumeByMiddleLineLessTheSlabByFact)
{
    const TRun original = RunOnSample("TQTKBeamOriginalVolumeByMiddleLine", 1008, std::nullopt);
    ASSERT_EQ(original.code, 0) << original.err;
    EXPECT_NE(original.out.find("quantity 540000000\n"), std::string::npos) << original.out;
    EXPECT_NE(original.out.find("expression 0.24<宽度>*0.5<高度>*4.5<中心线长度>\n"), std::string::npos)
        << original.out;

    const TRun slab = RunOnSample("TQTKBeamVolDeductByFact", 1008, 1027);
    ASSERT_EQ(slab.code, 0) << slab.err;
    EXPECT_NE(slab.out.find("quantity 63936000\n"), std::string::npos) << slab.out;
    // The details: the beam's own volume, then the part the slab took.
    EXPECT_NE(slab.out.find("element 1008 [TQTKBeamVolDeductByFact] 1.08<面积>*0.5<高度> (original)"),
              std::string::npos)
        << slab.out;
    EXPECT_NE(slab.out.find("element 1027 [TQTKBeamVolDeductByFact] 0.5328<面积>*0.12<高度>\n"), std::string::npos)
        << slab.out;
}

// Lintel 1051 over door 1021, 240 x 120 and 1500 long: 0.0288 m2 x 1.5 m.
// Beam 1008's clear length: its middle line, 4500, less what column 1003 at
// its start (400 square) takes, 200. Its scaffold height under the sample
// rules' condition 1, from the floor (0) to the underside of slab 1027
// (3300 - 120).
TEST(SampleBeams, LintelVolumeClearLengthAndScaffoldHeight)
{
    struct TCase {
        const char* rule;
        int subject;
        std::optional<int> object;
        bool withRules;
        const char* quantity;
        const char* expression;
    };
    const TCase cases[] = {
        {"TQTKLintelOriginalVol", 1051, std::nullopt, false, "quantity 43200000\n",
         "expression 0.0288<截面面积>*1.5<长度>\n"},
        {"TQTKBeamClearLengthOrigianlLength", 1008, std::nullopt, false, "quantity 4500\n", "expression (none)\n"},
        {"TQTKBeamClearLengthDeductByFact", 1008, 1003, false, "quantity 200\n", "expression (none)\n"},
        {"TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev", 1008, std::nullopt, true, "quantity 3180\n",
         "expression (none)\n"},
        // Without the rule tables the scaffold condition is 0: no scaffold.
        {"TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev", 1008, std::nullopt, false, "quantity 0\n",
         "expression (none)\n"},
    };
    for (const TCase& c : cases) {
        const TRun run = RunOnSample(c.rule, c.subject, c.object, c.withRules);
        ASSERT_EQ(run.code, 0) << c.rule << run.err;
        EXPECT_NE(run.out.find(c.quantity), std::string::npos) << c.rule << run.out;
        EXPECT_NE(run.out.find(c.expression), std::string::npos) << c.rule << run.out;
    }
}

// make run: the sample rules bill beam 1008's volume by its middle line less
// slab 1027 by fact, 0.54 - 0.063936 m3, with the deduction in its
// expression, and its formwork less the slab, columns and walls.
TEST(SampleBeams, TakeoffBillsTheBeamVolumeLessTheSlab)
{
    const Ref<TQTKElementModel> model =
        TQTKElementModel::LoadFromFile(std::string(QTK_SOURCE_ROOT) + "examples/building.json");
    AttachRuleSet(*model, std::string(QTK_SOURCE_ROOT) + "examples/rules/sample-rules.json");
    const TQTKTakeoffResult result = RunTakeoff(*model, TQTKTakeoffOptions());
    ASSERT_TRUE(result.failures.empty()) << result.failures.front();
    const auto item = [&result](const std::string& code) -> const TQTKTakeoffItem* {
        for (const TQTKTakeoffElement& element : result.elements)
            for (const TQTKTakeoffItem& found : element.items)
                if (element.id == 1008 && found.code == code)
                    return &found;
        return nullptr;
    };
    const TQTKTakeoffItem* volume = item("TJ");
    ASSERT_NE(volume, nullptr);
    EXPECT_NEAR(volume->quantity, 0.54 - 0.063936, 1e-9);
    EXPECT_EQ(volume->expression, "0.24<宽度>*0.5<高度>*4.5<中心线长度>-0.0639<扣板>");
    // Its formwork: both sides and the bottom, (0.5 x 2 + 0.24) x 4.5 m2 as
    // the mitred sides (4.38 and 4.62 long) sum up; the slab first takes the
    // 120 of the inner side it holds, 4.38 x 0.12.
    const TQTKTakeoffItem* formwork = item("MBMJ");
    ASSERT_NE(formwork, nullptr);
    EXPECT_EQ(formwork->expression.rfind("(0.5<高度>*2+0.24<宽度>)*4.5<中心线长度>-0.5256<扣板>", 0), 0u)
        << formwork->expression;
}

}  // namespace
