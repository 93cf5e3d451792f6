#include <gtest/gtest.h>

#include <limits>

#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(ComparisonTest, ToleranceTable)
{
    struct Case {
        double a, b;
        bool same, greater, less, greaterEqual, lessEqual;
        int compare;
    };
    const Case cases[] = {
        // a, b, Same, >, <, >=, <=, Compare
        {3600.001, 3600, true, false, false, true, true, 0},     // within the tolerance
        {3600.0011, 3600, false, true, false, true, false, 1},   // just beyond it, above
        {3600, 3600.0011, false, false, true, false, true, -1},  // just beyond it, below
        {3600, 3600.001, true, false, false, true, true, 0},     // within it, below
        {kInf, kInf, true, false, false, true, true, 0},         // equal infinities
        {-kInf, -kInf, true, false, false, true, true, 0},       // equal infinities
        {kInf, 1e300, false, true, false, true, false, 1},       // infinity beyond any number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        EXPECT_EQ(SameValue(c.a, c.b, CVRMEpsilon), c.same);
        EXPECT_EQ(GreaterThan(c.a, c.b, CVRMEpsilon), c.greater);
        EXPECT_EQ(LessThan(c.a, c.b, CVRMEpsilon), c.less);
        EXPECT_EQ(GreaterEqualThan(c.a, c.b, CVRMEpsilon), c.greaterEqual);
        EXPECT_EQ(LessEqualThan(c.a, c.b, CVRMEpsilon), c.lessEqual);
        EXPECT_EQ(CompareValue(c.a, c.b, CVRMEpsilon), c.compare);
    }
    EXPECT_FALSE(SameValue(kNaN, kNaN));
    EXPECT_TRUE(SameValue(1.0, 1.0004, 0.0004 + 1e-12));
}

TEST(RoundingTest, HostRoundFloorCeil)
{
    struct Case {
        double x;
        int64_t round, floor, ceil;
    };
    const Case cases[] = {
        {2.5, 3, 2, 3},
        {2.4999999999, 3, 2, 3},
        {17.996, 18, 17, 18},
        {2.9999999999, 3, 3, 3},
        {2.0000000001, 2, 2, 2},
        {-2.5, -2, -3, -2},
        {0.0, 0, 0, 0},
        {-0.4, 0, -1, 0},
        // Values no integer holds: NaN is 0, the rest the nearest bound.
        {kNaN, 0, 0, 0},
        {kInf, kMax, kMax, kMax},
        {-kInf, kMin, kMin, kMin},
        {1e300, kMax, kMax, kMax},
        {-1e300, kMin, kMin, kMin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(Round(c.x), c.round);
        EXPECT_EQ(Floor(c.x), c.floor);
        EXPECT_EQ(Ceil(c.x), c.ceil);
    }
}

TEST(RoundingTest, HalvesToEvenOnlyWhereAsked)
{
    EXPECT_EQ(RoundHalfEven(3000.0 / 1200), 2);
    EXPECT_EQ(RoundHalfEven(4200.0 / 1200), 4);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(Round(3000.0 / 1200), 3);
    EXPECT_EQ(RoundHalfEven(kNaN), 0);
    EXPECT_EQ(RoundHalfEven(kInf), kMax);
    EXPECT_EQ(RoundHalfEven(-1e300), kMin);
}

}  // namespace
