#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectPoint(const TVRMPoint2d& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Quarter of the circle of radius 1000 around the origin, counter-clockwise from (1000,0) to (0,1000).
TVRMCustomLine2d QuarterArc()
{
    return TVRMArc2d({1000, 0}, {0, 1000}, 1000, CVRMArcKindCCW);
}

}  // namespace

TEST(Vector2d, QuarterTurnsAndProducts)
{
    const TVRMVector2d x{1, 0};
    EXPECT_EQ(x.RotateHalfPi(true), (TVRMVector2d{0, -1}));
    EXPECT_EQ(x.RotateHalfPi(false), (TVRMVector2d{0, 1}));
    EXPECT_DOUBLE_EQ(x.CrossProduct({0, 1}), 1.0);
    EXPECT_DOUBLE_EQ((TVRMVector2d{3, 4}).InnerProduct({4, -3}), 0.0);
    EXPECT_NEAR(x.AngleTo({0, -1}), -Pi / 2, 1e-15);
    EXPECT_NEAR((TVRMVector2d{0, -1}).Angle(), 1.5 * Pi, 1e-15);
    EXPECT_EQ((TVRMVector2d{0, 0}).Normal(), (TVRMVector2d{0, 0}));
    // Parallel either way within the tolerance on unit vectors; a zero vector is parallel to nothing.
    EXPECT_TRUE(x.IsParallelTo({-1000, 1.9}, 0.002));
    EXPECT_FALSE(x.IsParallelTo({1000, 2.1}, 0.002));
    EXPECT_FALSE(x.IsParallelTo({0, 0}, 0.002));
}

TEST(Line2d, StraightMeasuresAndExtension)
{
    TVRMCustomLine2d line({0, 0}, {10, 0});
    EXPECT_DOUBLE_EQ(line.Length(), 10.0);
    EXPECT_FALSE(line.IsArc());
    EXPECT_DOUBLE_EQ(line.LengthAtPoint({-3, 7}), -3.0);
    EXPECT_DOUBLE_EQ(line.LengthAtPoint({14, -7}), 14.0);
    ExpectPoint(line.PointAtLength(-2), -2, 0);
    const TVRMCustomLine2d sub = line.SubLine(-5, 15);
    ExpectPoint(sub.StartPt(), -5, 0);
    ExpectPoint(sub.EndPt(), 15, 0);
    line.ExtendBack(2);
    line.ExtendForward(-3);
    ExpectPoint(line.StartPt(), -2, 0);
    ExpectPoint(line.EndPt(), 7, 0);
    EXPECT_FALSE(TVRMCustomLine2d({1, 1}, {1, 1}).IsValidaty());
}

TEST(Arc2d, CentreSweepAndLength)
{
    const TVRMCustomLine2d arc = QuarterArc();
    TVRMPoint2d c;
    ASSERT_TRUE(arc.CenterPt(c));
    ExpectPoint(c, 0, 0);
    EXPECT_NEAR(arc.Sweep(), Pi / 2, 1e-15);
    EXPECT_NEAR(arc.Length(), 500 * Pi, 1e-9);
    ExpectPoint(arc.MiddlePoint(), 1000 / std::sqrt(2.0), 1000 / std::sqrt(2.0));
    double s, e;
    bool cw;
    ASSERT_TRUE(arc.StartAndEndAngle(s, e, cw));
    EXPECT_NEAR(s, 0.0, 1e-15);
    EXPECT_NEAR(e, Pi / 2, 1e-15);
    EXPECT_FALSE(cw);
    // Tangents follow the turning sense; the reversed arc turns clockwise.
    const TVRMVector2d t0 = arc.StartDirection();
    EXPECT_NEAR(t0.x, 0.0, 1e-15);
    EXPECT_NEAR(t0.y, 1.0, 1e-15);
    const TVRMCustomLine2d back = arc.Reversed();
    EXPECT_EQ(back.ArcKind(), CVRMArcKindCW);
    ASSERT_TRUE(back.CenterPt(c));
    ExpectPoint(c, 0, 0);
    EXPECT_TRUE(back.EndDirection().IsEqualTo({0, -1}, 1e-12));
}

TEST(Arc2d, KindsPlaceTheCentre)
{
    // Chord (0,0)-(2000,0), radius 2000: kinds 1/4 have the centre left of the chord, 2/3 right.
    struct Case {
        int kind;
        double centreY;
        double sweep;
    };
    const double minor = 2 * std::asin(0.5);
    for (const Case& c :
         {Case{1, std::sqrt(3.0) * 1000, minor}, Case{2, -std::sqrt(3.0) * 1000, minor},
          Case{3, -std::sqrt(3.0) * 1000, 2 * Pi - minor}, Case{4, std::sqrt(3.0) * 1000, 2 * Pi - minor}}) {
        const TVRMCustomLine2d arc({0, 0}, {2000, 0}, 2000, c.kind);
        TVRMPoint2d centre;
        ASSERT_TRUE(arc.CenterPt(centre)) << c.kind;
        ExpectPoint(centre, 1000, c.centreY, 1e-9);
        EXPECT_NEAR(arc.Sweep(), c.sweep, 1e-14) << c.kind;
        EXPECT_EQ(GetSweepArcKind(arc.IsClockwise(), arc.Sweep()), c.kind);
    }
    // A radius shorter than half the chord cannot be drawn: measured as the chord.
    const TVRMCustomLine2d invalid({0, 0}, {2000, 0}, 900, 1);
    TVRMPoint2d centre;
    EXPECT_FALSE(invalid.IsValidaty());
    EXPECT_FALSE(invalid.CenterPt(centre));
    EXPECT_DOUBLE_EQ(invalid.Length(), 2000.0);
}

TEST(Arc2d, LengthsOutsideTheArcAndPieces)
{
    const TVRMCustomLine2d arc = QuarterArc();
    // Before the start the length is negative, past the end beyond the length.
    EXPECT_NEAR(arc.LengthAtPoint({1000, -100}), 1000 * std::atan2(-100.0, 1000.0), 1e-9);
    EXPECT_NEAR(arc.LengthAtPoint({-100, 1000}), 1000 * (Pi - std::atan2(1000.0, 100.0)), 1e-9);
    // A piece outside 0..L extends the arc along its circle.
    const TVRMCustomLine2d longer = arc.SubLine(-500 * Pi, 1000 * Pi);
    EXPECT_NEAR(longer.Sweep(), 1.5 * Pi, 1e-12);
    EXPECT_EQ(longer.ArcKind(), CVRMArcKindCCWMajor);
    ExpectPoint(longer.StartPt(), 0, -1000, 1e-9);
    ExpectPoint(longer.EndPt(), -1000, 0, 1e-9);
    TVRMCustomLine2d extended = arc;
    extended.ExtendForward(500 * Pi);
    ExpectPoint(extended.EndPt(), -1000, 0, 1e-9);
    // A reversed piece travels the other way.
    const TVRMCustomLine2d reversed = arc.SubLine(500 * Pi, 0);
    EXPECT_TRUE(reversed.IsClockwise());
    ExpectPoint(reversed.EndPt(), 1000, 0, 1e-9);
    // Box covers the top of the arc.
    const TVRMBox2d box = TVRMCustomLine2d({1000, 0}, {-1000, 0}, 1000, CVRMArcKindCCW).Box();
    EXPECT_NEAR(box.max.y, 1000, 1e-9);
}

TEST(Arc2d, ThroughThreePointsAndInverse)
{
    const TVRMCustomLine2d arc = TVRMArc2d::ArcBy3Points({1000, 0}, {0, 1000}, {-1000, 0});
    EXPECT_NEAR(arc.Radius(), 1000, 1e-9);
    EXPECT_EQ(arc.ArcKind(), CVRMArcKindCCWMajor);  // a half circle counts as major
    const TVRMCustomLine2d cw = TVRMArc2d::ArcBy3Points({-1000, 0}, {0, 1000}, {1000, 0});
    EXPECT_TRUE(cw.IsClockwise());
    EXPECT_FALSE(TVRMArc2d::ArcBy3Points({0, 0}, {1, 1}, {2, 2}).IsArc());
    const TVRMCustomLine2d other = TVRMArc2d::ArcInverse(QuarterArc());
    EXPECT_NEAR(other.Length(), 1500 * Pi, 1e-9);
    EXPECT_TRUE(other.IsClockwise());
}

TEST(Lines2d, PolylineAndSegmentList)
{
    TVRMLines2d lines = TVRMLines2d::FromLines({TVRMCustomLine2d({0, 0}, {1000, 0}), QuarterArc().Reversed()});
    EXPECT_EQ(lines.GetCount(), 3);
    lines = TVRMLines2d::FromLines(
        {TVRMCustomLine2d({0, 1000}, {1000, 0}), TVRMCustomLine2d({1000, 0}, {1000, 1000}, 1000, 1)});
    EXPECT_NEAR(lines.Length(), 1000 * std::sqrt(2.0) + 1000 * Pi / 3, 1e-9);
    const double before = lines.Length();
    lines.Reverse();
    EXPECT_NEAR(lines.Length(), before, 1e-9);
    ExpectPoint(lines.Vertices().front().pt, 1000, 1000);
    EXPECT_TRUE(lines.GetEdge(0).IsClockwise());

    TVRMSeg2dList list;
    list.Add(TVRMCustomLine2d({0, 0}, {3, 4}));
    list.Add(QuarterArc());
    EXPECT_NEAR(list.GetTotalLength(), 5 + 500 * Pi, 1e-9);
}

TEST(Line2d, DirectionAndTangentAtPoints)
{
    // The unit direction of travel at a point's foot (and at a length along the line).
    const double h = 1 / std::sqrt(2.0);
    struct Case {
        const char* name;
        TVRMCustomLine2d line;
        TVRMPoint2d p;
        double length;
        TVRMVector2d tangent;
    };
    const Case cases[] = {
        {"straight", TVRMCustomLine2d({0, 0}, {0, 10}), {5, 3}, 3, {0, 1}},
        {"straight, past the end", TVRMCustomLine2d({0, 0}, {10, 10}), {30, 30}, 20 * std::sqrt(2.0), {h, h}},
        {"arc at its end", QuarterArc(), {0, 1000}, 500 * Pi, {-1, 0}},
        {"arc at its middle, off the arc", QuarterArc(), {2000, 2000}, 250 * Pi, {-h, h}},
        {"clockwise arc at its start", QuarterArc().Reversed(), {0, 1000}, 0, {1, 0}},
        {"clockwise arc at its end", QuarterArc().Reversed(), {1000, 0}, 500 * Pi, {0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.line.TangentAt(c.p).IsEqualTo(c.tangent, 1e-12));
        EXPECT_TRUE(c.line.DirectionAt(c.length).IsEqualTo(c.tangent, 1e-12));
    }
}
