// qtkcalc calc on the sample building with its rule tables (critical height
// 3.6 m from storey 2 at 3.3 m: 6900; one piece of weight 1): concrete wall
// Q3 (2042, 200 thick across the storey between the faces of the outer walls,
// 6000 - 2 x 120 = 5760 long, up to the slab's top at 7200) and beam KL1 (2007,
// 240 wide along x from 0 to 4500, 6700 to 7200) bill their parts above
// 6900, less slab B1 (2026, 120 thick, its top at 7200), with expressions.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "Tools/qtkcalc/CalcCommand.h"

namespace {

struct TCalcResult {
    std::string out, err;
    int code;
};

TCalcResult Calc(const char* rule, int subject, std::optional<int> object)
{
    TCalcCommandOptions options;
    options.modelPath = QTK_SAMPLE_ROOT "/examples/building.json";
    options.rulesPath = QTK_SAMPLE_ROOT "/examples/rules/sample-rules.json";
    options.rule = rule;
    options.subject = subject;
    options.object = object;
    options.expr = true;
    std::ostringstream out, err;
    const int code = RunCalcCommand(options, out, err);
    return {out.str(), err.str(), code};
}

TEST(OverhighSample, WallAndBeamOverHeightVolumesLessTheSlab)
{
    struct Case {
        const char* rule;
        int subject;
        std::optional<int> object;
        const char* quantity;
        const char* expression;
    };
    const Case cases[] = {
        // 200 x 5760 x (7200 - 6900).
        {"TQTKWallOriginOverhighVol", 2042, std::nullopt, "quantity 345600000\n",
         "expression 0.2<长度>*5.76<宽度>*0.3<高度>\n"},
        // The slab across the wall's width: 200 x 5760 x 120.
        {"TQTKWallOverhighVolDeductSlabByThickness", 2042, 2026, "quantity 138240000\n", nullptr},
        // 240 x 4500 x 300 (its plan, 1.08 m², times the piece's height).
        {"TQTKBeamOriginalOverHighVol", 2007, std::nullopt, "quantity 324000000\n",
         "expression 1.08<面积>*0.3<高度>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const TCalcResult result = Calc(c.rule, c.subject, c.object);
        ASSERT_EQ(result.code, 0) << result.err;
        EXPECT_NE(result.out.find(c.quantity), std::string::npos) << result.out;
        if (c.expression) {
            EXPECT_NE(result.out.find(c.expression), std::string::npos) << result.out;
        }
    }
}

// The slab lies wholly in the beam's one piece of weight 1 (7080 to 7200):
// the over-height volume loses what the regular volume loses.
TEST(OverhighSample, SlabTakesFromTheBeamsPieceWhatItTakesFromTheBeam)
{
    const TCalcResult overhigh = Calc("TQTKBeamOverhighVolDeductSlabByThinner", 2007, 2026);
    const TCalcResult regular = Calc("TQTKBeamVolDeductByFact", 2007, 2026);
    ASSERT_EQ(overhigh.code, 0) << overhigh.err;
    ASSERT_EQ(regular.code, 0) << regular.err;
    const auto quantity = [](const std::string& out) {
        const auto at = out.find("quantity ");
        return at == std::string::npos ? -1.0 : std::stod(out.substr(at + 9));
    };
    EXPECT_GT(quantity(regular.out), 0.0) << regular.out;
    EXPECT_NEAR(quantity(overhigh.out), quantity(regular.out), 1.0);
}

}  // namespace
