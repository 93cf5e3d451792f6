// qtkcalc calc on the sample building: column KZ1 (1001, 400 x 400) less
// beam KL1 (1007, 240 x 500, top 3300), which starts at the column's centre:
// the beam takes the column's half 200 x 240 x 500 under 3300, written as its
// section 0.2 x 0.24 = 0.048 m2 times 0.5 m.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Tools/qtkcalc/CalcCommand.h"

namespace {

TEST(ColumnSample, CalcColumnVolumeLessBeamByFact)
{
    TCalcCommandOptions options;
    options.modelPath = QTK_SAMPLE_BUILDING;
    options.rule = "TQTKColumnVolDeductByFact";
    options.subject = 1001;
    options.object = 1007;
    options.expr = true;
    std::ostringstream out, err;
    ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("quantity 24000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("= 0.024 m3"), std::string::npos) << text;
    EXPECT_NE(text.find("expression 0.048<面积>*0.5<高度>\n"), std::string::npos) << text;
    EXPECT_TRUE(err.str().empty()) << err.str();
}

}  // namespace
