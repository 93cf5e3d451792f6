#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"

namespace {

TEST(FRoundTest, HalfAwayFromZeroAfterTheNudge)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {0.12345, 4, 0.1235},          // half up
        {-0.12345, 4, -0.1235},        // half away from zero
        {0.00004999, 4, 0.0},          // below half
        {6.25, 4, 6.25},               // already exact
        {987.654 * 0.001, 4, 0.9877},  // a product of two decimals
        {2.5, 0, 3.0},                 // to whole numbers
        {-2.5, 0, -3.0},               // to whole numbers, negative
        {1234.56789, 2, 1234.57},      // two places
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(FRound(c.value, c.decimals, 1e-12), c.expected) << c.value;
    EXPECT_FALSE(std::signbit(FRound(-0.00001, 4, 1e-12))) << "-0 comes back as 0";
}

TEST(FloatToStrTest, GeneralNumberFormat)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.24, "0.24"},
        {3.0, "3"},
        {FRound(987.654 * 0.001, 4, 1e-12), "0.9877"},
        {FRound(6.25, 4, 1e-12), "6.25"},
        {1234567.5, "1234567.5"},
        {0.00001, "0.00001"},
        {0.000009, "9E-6"},
        {1e-6, "1E-6"},
        {1.5e-6, "1.5E-6"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {123456789012345678.0, "1.23456789012346E17"},
        {-0.0, "0"},
        {-12.5, "-12.5"},
        {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary residue
        {100.0, "100"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
}

TEST(FormatTest, TemplatesOfExpressionTexts)
{
    EXPECT_EQ(Format("%g<长度>*%g<宽度>", {3.6, 0.24}), "3.6<长度>*0.24<宽度>");
    EXPECT_EQ(Format("(%s)*%g", {"1.2+3", 2}), "(1.2+3)*2");
    EXPECT_EQ(Format("InternalQtyID = %d", {42}), "InternalQtyID = 42");
    EXPECT_EQ(Format("(%s=%d)and(SameText(%s, %s))", {"A", 1, "Name", "'x'"}), "(A=1)and(SameText(Name, 'x'))");
    EXPECT_EQ(Format("%.2f|%5d|%-4s|%%", {1.005, 7, "ab"}), "1.00|    7|ab  |%");
    EXPECT_EQ(Format("%1:s-%0:s", {"a", "b"}), "b-a");
}

TEST(FormatTest, MissingOrIncompatibleArgumentRaises)
{
    EXPECT_THROW(Format("%g and %g", {1.0}), EConvertError);
    EXPECT_THROW(Format("%d", {1.5}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("trailing %", {}), EConvertError);
}

}  // namespace
