#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <thread>

#include "Geometry2dTestUtils.h"

using IF = TVRMIntersectFunc2d;

namespace {

constexpr double Pi = std::numbers::pi;

TVRMMultiPolygon2d CircleSet(double cx, double cy, double r)
{
    return SetOf({TVRMPolygon2d::CreateCircle({cx, cy}, r)});
}

// Room 6000 x 4500 with a 400 x 400 column in a corner and a 240 wall band across.
struct Footprints {
    TVRMMultiPolygon2d room = BoxSet(0, 0, 6000, 4500);
    TVRMMultiPolygon2d column = BoxSet(-200, -200, 200, 200);
    TVRMMultiPolygon2d wall = BoxSet(-120, 2000, 6120, 2240);
};

}  // namespace

TEST(Boolean2d, RectilinearShapesAreExact)
{
    const Footprints f;
    EXPECT_EQ(IF::SyncSubPolygon(f.room, f.column)->Area(), 6000.0 * 4500 - 200 * 200);
    EXPECT_EQ(IF::IntPolygon(f.room, f.wall)->Area(), 6000.0 * 240);
    const auto split = IF::SyncSubPolygon(f.room, f.wall);
    EXPECT_EQ(split->GetCount(), 2);
    EXPECT_EQ(split->Area(), 6000.0 * 4260);
    EXPECT_EQ(IF::MergePolygon(f.room, f.wall)->Area(), 6000.0 * 4500 + 2 * 120 * 240);
    // Exact input coordinates come back unchanged.
    const auto cut = IF::IntPolygon(BoxSet(0.1234, 0.5678, 1000.3333, 2000.7777), BoxSet(-1, -1, 500.25, 3000));
    const TVRMBox2d box = cut->Box();
    EXPECT_EQ(box.min.x, 0.1234);
    EXPECT_EQ(box.max.y, 2000.7777);
    EXPECT_EQ(box.max.x, 500.25);
    // A hole in the result runs clockwise.
    const auto framed = IF::SyncSubPolygon(BoxSet(0, 0, 1000, 1000), BoxSet(400, 400, 600, 600));
    ASSERT_EQ(framed->GetCount(), 2);
    EXPECT_EQ(framed->IsHole(0) + framed->IsHole(1), 1);
    EXPECT_EQ(framed->SignArea(), 1e6 - 4e4);
}

TEST(Boolean2d, ArcShapesWithinClosedForms)
{
    const double r = 1000;
    // Three quarters of a circle; lens of two circles at distance r; a ring around a column.
    const double lens = 2 * r * r * std::acos(0.5) - 0.5 * r * std::sqrt(3.0) * r;
    struct Case {
        const char* name;
        std::unique_ptr<TVRMMultiPolygon2d> result;
        double area;
    };
    Case cases[] = {
        {"circle minus quadrant", IF::SyncSubPolygon(CircleSet(0, 0, r), BoxSet(0, 0, 2000, 2000)), 0.75 * Pi * r * r},
        {"lens", IF::IntPolygon(CircleSet(0, 0, r), CircleSet(r, 0, r)), lens},
        {"two circles", IF::MergePolygon(CircleSet(0, 0, r), CircleSet(r, 0, r)), 2 * Pi * r * r - lens},
        {"annulus", IF::SyncSubPolygon(CircleSet(5e5, 5e5, r), CircleSet(5e5, 5e5, r / 2)), 0.75 * Pi * r * r},
        {"square minus circle", IF::SyncSubPolygon(BoxSet(-r, -r, r, r), CircleSet(0, 0, r)), (4 - Pi) * r * r},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.result->Area(), c.area, 1e-6 * c.area);
        // The arcs come back as arcs, not as thousands of chords.
        EXPECT_GT(ArcVertexCount(*c.result), 0);
        EXPECT_LT(c.result->GetEdgeCount(), 12);
    }
    // An untouched circle comes back as the same circle.
    const auto same = IF::MergePolygon(CircleSet(0, 0, r), BoxSet(5000, 5000, 6000, 6000));
    ASSERT_EQ(same->GetCount(), 2);
    EXPECT_NEAR(same->Area(), Pi * r * r + 1e6, 1e-9 * (Pi * r * r + 1e6));
}

TEST(Boolean2d, RoundColumnsApartFromEverythingElse)
{
    // Circles that touch no other ring: inside the room, outside it, in the room's courtyard.
    TVRMMultiPolygon2d frame = SetOf({Box2d(0, 0, 10000, 10000), Box2d(4000, 4000, 6000, 6000)});
    frame.GetItems(1).Reverse();
    const double room = 1e8 - 4e6, c = Pi * 300 * 300;
    struct Case {
        const char* name;
        TVRMPoint2d centre;
        double difference, intersection, union_;
    };
    for (const Case& k :
         {Case{"inside", {2000, 2000}, room - c, c, room}, Case{"outside", {20000, 0}, room, 0, room + c},
          Case{"in the courtyard", {5000, 5000}, room, 0, room + c}}) {
        SCOPED_TRACE(k.name);
        const TVRMMultiPolygon2d column = CircleSet(k.centre.x, k.centre.y, 300);
        EXPECT_NEAR(IF::SyncSubPolygon(frame, column)->Area(), k.difference, 1e-9 * room);
        EXPECT_NEAR(IF::IntPolygon(frame, column)->Area(), k.intersection, 1e-9 * room);
        EXPECT_NEAR(IF::MergePolygon(frame, column)->Area(), k.union_, 1e-9 * room);
        EXPECT_NEAR(IF::SyncSubPolygon(column, frame)->Area(), c - k.intersection, 1e-9 * room);
    }
    // Two columns, one inside the other's circle: the general way, same answer.
    const TVRMMultiPolygon2d nested =
        SetOf({TVRMPolygon2d::CreateCircle({0, 0}, 500), TVRMPolygon2d::CreateCircle({0, 0}, 200)});
    EXPECT_NEAR(IF::MergePolygon(nested)->Area(), Pi * 500 * 500, 1e-6);
    EXPECT_NEAR(IF::SyncSubPolygon(CircleSet(0, 0, 500), CircleSet(0, 0, 200))->SignArea(),
                Pi * (500 * 500 - 200 * 200), 1e-6);
}

TEST(Boolean2d, CutByLineAndSectionBand)
{
    TVRMMultiPolygon2d left, right;
    IF::Cut(BoxSet(0, 0, 1000, 1000), TVRMCustomLine2d({300, 0}, {300, 1}), left, right);
    EXPECT_EQ(left.Area(), 300.0 * 1000);
    EXPECT_EQ(right.Area(), 700.0 * 1000);
    IF::Cut(BoxSet(0, 0, 1000, 1000), TVRMCustomLine2d({2000, 0}, {2000, 1}), left, right);
    EXPECT_EQ(left.Area(), 1e6);
    EXPECT_TRUE(right.IsEmpty());
    IF::Cut(CircleSet(0, 0, 1000), TVRMCustomLine2d({0, 0}, {1, 1}), left, right);
    EXPECT_NEAR(left.Area(), Pi * 1e6 / 2, 1e-6 * Pi * 1e6);
    EXPECT_NEAR(right.Area(), Pi * 1e6 / 2, 1e-6 * Pi * 1e6);
    EXPECT_EQ(IF::IntPolygon(BoxSet(0, 0, 1000, 3000), 1200, 800)->Area(), 1000.0 * 400);
    EXPECT_TRUE(IF::IntPolygon(BoxSet(0, 0, 1000, 3000), 5000, 6000)->IsEmpty());
    EXPECT_TRUE(IF::IsMultiPolyInt(BoxSet(0, 0, 10, 10), BoxSet(5, 5, 15, 15)));
    EXPECT_FALSE(IF::IsMultiPolyInt(BoxSet(0, 0, 10, 10), BoxSet(10, 0, 15, 15)));
    EXPECT_FALSE(IF::IsMultiPolyInt(BoxSet(0, 0, 10, 10), BoxSet(9.9995, 0, 15, 15)));
}

TEST(Boolean2d, RobustnessCorpus)
{
    const double far = 1e6;
    struct Case {
        const char* name;
        TVRMMultiPolygon2d a, b;
        double union_, intersection, difference;
    };
    TVRMMultiPolygon2d outerWithTouchingHole = SetOf({Box2d(0, 0, 100, 100), Box2d(0, 40, 20, 60)});
    outerWithTouchingHole.GetItems(1).Reverse();
    const TVRMPolygon2d spiky(
        std::vector<TVRMPoint2d>{{0, 0}, {100, 0}, {100, 50}, {100.0004, 50}, {100, 50.0001}, {100, 100}, {0, 100}});
    const Case cases[] = {
        {"touching at a corner", BoxSet(0, 0, 10, 10), BoxSet(10, 10, 20, 20), 200, 0, 100},
        {"shared edge", BoxSet(0, 0, 10, 10), BoxSet(10, 0, 20, 10), 200, 0, 100},
        {"shared part of an edge", BoxSet(0, 0, 10, 10), BoxSet(10, 3, 20, 7), 140, 0, 100},
        {"hole touching the outer ring", outerWithTouchingHole, BoxSet(0, 0, 50, 100), 10000, 5000 - 400, 5000},
        {"sliver under the tolerance", BoxSet(0, 0, 10, 10), BoxSet(9.9995, 0, 20, 10), 200, 0, 99.995},
        {"spike under the tolerance", SetOf({spiky}), BoxSet(50, 0, 150, 100), 15000, 5000, 5000},
        {"far from the origin", BoxSet(far, far, far + 3000, far + 2000),
         BoxSet(far + 1000, far - 500, far + 1240, far + 2500), 6e6 + 240 * 1000, 240 * 2000, 6e6 - 240 * 2000},
        {"same polygon", BoxSet(0, 0, 10, 10), BoxSet(0, 0, 10, 10), 100, 100, 0},
        {"degenerate ring", BoxSet(0, 0, 10, 10), BoxSet(0, 0, 10, 0), 100, 0, 100},
        {"empty operand", BoxSet(0, 0, 10, 10), TVRMMultiPolygon2d(), 100, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(IF::MergePolygon(c.a, c.b)->Area(), c.union_, 1e-3);
        EXPECT_NEAR(IF::IntPolygon(c.a, c.b)->Area(), c.intersection, 1e-3);
        EXPECT_NEAR(IF::SyncSubPolygon(c.a, c.b)->Area(), c.difference, 1e-3);
    }
    // Far from the origin the rectilinear result is still exact.
    EXPECT_EQ(IF::IntPolygon(cases[6].a, cases[6].b)->Area(), 240.0 * 2000);
    // Input the engine cannot take raises the boolean exception.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(IF::MergePolygon(BoxSet(0, 0, nan, 10), BoxSet(0, 0, 1, 1)), EVRMIntersectException);
    EXPECT_THROW(IF::SyncSubPolygon(BoxSet(0, 0, 1e15, 10), BoxSet(0, 0, 1, 1)), EVRMIntersectException);
}

TEST(Boolean2d, RandomShapesKeepAreaIdentities)
{
    // Circles, stars, grid rectangles and stadiums thrown together: |A u B| = |A| + |B| - |A n B|,
    // |A - B| = |A| - |A n B|, and the position code agrees with the overlap.
    std::mt19937 rng(7);
    const auto u = [&rng](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    const auto ring = [&](int kind) {
        const TVRMPoint2d c{u(-1000, 1000), u(-1000, 1000)};
        if (kind == 0)
            return TVRMPolygon2d::CreateCircle(c, u(50, 800));
        if (kind == 1) {
            std::vector<TVRMPoint2d> pts;
            const int n = 3 + static_cast<int>(rng() % 8);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * Pi * i / n + u(0, 0.5), r = u(100, 900);
                pts.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
            }
            return TVRMPolygon2d(pts);
        }
        if (kind == 2)
            return Box2d(std::round(c.x), std::round(c.y), std::round(c.x + u(50, 1500)),
                         std::round(c.y + u(50, 1500)));
        const double w = u(200, 1500), r = u(100, 600);
        return TVRMPolygon2d(std::vector<TVRMVertex2d>{{c},
                                                       {{c.x + w, c.y}, r, CVRMArcKindCCWMajor},
                                                       {{c.x + w, c.y + 2 * r}},
                                                       {{c.x, c.y + 2 * r}, r, CVRMArcKindCCWMajor}});
    };
    const auto set = [&] {
        TVRMMultiPolygon2d s;
        for (int i = 1 + static_cast<int>(rng() % 3); i > 0; --i)
            s.Add(ring(static_cast<int>(rng() % 4)));
        return *IF::MergePolygon(s);
    };
    for (int k = 0; k < 150; ++k) {
        SCOPED_TRACE(k);
        const TVRMMultiPolygon2d a = set(), b = set();
        const double areaA = a.Area(), areaB = b.Area(), common = IF::IntPolygon(a, b)->Area();
        const double tol = 1e-7 * std::max(areaA, areaB);
        EXPECT_NEAR(IF::MergePolygon(a, b)->Area(), areaA + areaB - common, tol);
        EXPECT_NEAR(IF::SyncSubPolygon(a, b)->Area(), areaA - common, tol);
        EXPECT_NEAR(IF::SyncSubPolygon(b, a)->Area(), areaB - common, tol);
        const int code = TVRMPositionFunc2d::MultiPolyMultiPolyPosition(a, b);
        EXPECT_EQ(code == 0 || code == 2, common < 1.0) << code << " " << common;
    }
}

TEST(Boolean2d, SubtractionFromSeveralThreads)
{
    const Footprints f;
    std::vector<double> areas(8, 0.0);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < areas.size(); ++i)
        threads.emplace_back([&, i] {
            for (int k = 0; k < 50; ++k)
                areas[i] =
                    IF::SyncSubPolygon(*IF::SyncSubPolygon(f.room, f.column), CircleSet(3000, 3000, 300))->Area();
        });
    for (std::thread& t : threads)
        t.join();
    for (double a : areas)
        EXPECT_NEAR(a, 6000.0 * 4500 - 200 * 200 - Pi * 300 * 300, 1e-6 * a);
}

// Rings with non-finite or huge values, arc vertices included: the booleans
// and Cut (built on them) raise EVRMIntersectException, never anything worse.
TEST(Boolean2d, NonFiniteAndHugeInputRaisesTheBooleanError)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = std::numeric_limits<double>::max();
    auto arcRing = [](TVRMPoint2d afterArc, double radius) {
        // An arc edge from (0, 0) to afterArc, then straight edges back.
        return SetOf(
            {TVRMPolygon2d(std::vector<TVRMVertex2d>{{{0, 0}, radius, CVRMArcKindCCW}, {afterArc}, {{0, 1000}}})});
    };
    struct Case {
        const char* what;
        TVRMMultiPolygon2d set;
    };
    const Case cases[] = {
        {"a NaN vertex after an arc", arcRing({nan, 0}, 1000)},
        {"an arc to a NaN vertex with a huge radius", arcRing({nan, nan}, huge)},
        {"an arc of radius DBL_MAX to a vertex at 1e183", arcRing({1e183, 0}, huge)},
        {"coordinates around 1e183", BoxSet(-1e183, -1e183, 1e183, 1e183)},
    };
    const TVRMMultiPolygon2d other = BoxSet(0, 0, 100, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(IF::IntPolygon(c.set, other), EVRMIntersectException);
        EXPECT_THROW(IF::SyncSubPolygon(other, c.set), EVRMIntersectException);
        TVRMMultiPolygon2d left, right;
        EXPECT_THROW(IF::Cut(c.set, TVRMCustomLine2d({0, 0}, {1, 1}), left, right), EVRMIntersectException);
    }
}

// An arc whose circle cannot be computed (a non-finite end, a radius whose
// square overflows) is no arc: invalid, with no sweep.
TEST(Boolean2d, AnArcWithANonFiniteSweepIsInvalid)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = std::numeric_limits<double>::max();
    struct Case {
        const char* what;
        TVRMCustomLine2d arc;
    };
    for (const Case& c : {Case{"NaN end point", TVRMCustomLine2d({0, 0}, {nan, 0}, 1000, CVRMArcKindCCW)},
                          Case{"radius DBL_MAX", TVRMCustomLine2d({0, 0}, {1000, 0}, huge, CVRMArcKindCCW)},
                          Case{"infinite end point", TVRMCustomLine2d({0, 0}, {INFINITY, 0}, 1000, CVRMArcKindCW)}}) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.arc.GetArcData().valid);
        EXPECT_FALSE(c.arc.IsValidaty());
        EXPECT_EQ(c.arc.Sweep(), 0.0);
    }
    // A proper arc stays valid: a half circle of radius 500.
    const TVRMCustomLine2d half({0, 0}, {1000, 0}, 500, CVRMArcKindCCW);
    EXPECT_TRUE(half.GetArcData().valid);
    EXPECT_NEAR(half.Sweep(), Pi, 1e-12);
}
