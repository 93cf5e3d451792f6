#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>
#include <string>
#include <thread>

#include "LineTestModel.h"

using namespace LineTest;

namespace {

constexpr double Tol = 2e-3;  // lengths below are given to 3 decimals

TElement E(int id, const TVRMCustomLine2d& axis, double width = 240, double axisOffset = -1)
{
    return TElement{id, axis, width, axisOffset < 0 ? width / 2 : axisOffset};
}

TElement Raised(TElement e, double bottom, double top)
{
    e.bottom = bottom, e.top = top;
    return e;
}

TElement InGroup(TElement e, int group)
{
    e.group = group;
    return e;
}

struct TExpect {
    int id;
    double mid, left, right;
};

struct TFixture {
    const char* name;
    std::vector<TElement> elements;
    TCalcKind kind;
    std::vector<TExpect> expect;
    std::map<int, int> rank = {};
    TQTKLinePriorityFunc priority = nullptr;
};

class LineCalculator : public ::testing::Test {
protected:
    void SetUp() override { ClearLineExtendRegistry(); }
    void TearDown() override { ClearLineExtendRegistry(); }

    static TModel Build(const std::vector<TElement>& elements) { return TModel(elements); }
};

// The left and right ends of each end lie on one cut line, with the middle end on it too.
void ExpectEndsOnOneLine(const TLines& r)
{
    for (const bool atStart : {true, false}) {
        const TVRMPoint2d l = atStart ? r.left.StartPt() : r.left.EndPt();
        const TVRMPoint2d m = atStart ? r.mid.StartPt() : r.mid.EndPt();
        const TVRMPoint2d q = atStart ? r.right.StartPt() : r.right.EndPt();
        EXPECT_NEAR((q - l).CrossProduct(m - l) / (q - l).Length(), 0.0, 1e-6);
    }
}

const TVRMCustomLine2d Arc = TVRMCustomLine2d({5000, 0}, {2000, 3000}, 3000, CVRMArcKindCCW);
const TVRMCustomLine2d Skew = Seg(5000, 0, 5000 + 1500, 1500 * std::sqrt(3.0));

}  // namespace

TEST_F(LineCalculator, JoinedLengthsOfTheDesignFixtures)
{
    const TElement a = E(1, Seg(0, 0, 5000, 0));
    const TElement b = E(2, Seg(5000, 0, 5000, 3000));
    const TElement c370 = E(1, Seg(0, 0, 8000, 0), 370);
    const TElement stem = E(2, Seg(4000, 0, 4000, 3000));
    auto oneSided = [](IQTKLineEdoInfo* x, IQTKLineEdoInfo* y) { return x->GetID() == 2 && y->GetID() == 1 ? -1 : 0; };
    auto materialOnly = [](IQTKLineEdoInfo* x, IQTKLineEdoInfo* y) {
        return x->GetID() == 1 && y->GetID() == 2 ? 2 : 0;
    };
    const TFixture fixtures[] = {
        {"L, equal", {a, b}, TCalcKind::Actual, {{1, 5000, 4880, 5120}, {2, 3000, 2880, 3120}}},
        {"L, equal, midline", {a, b}, TCalcKind::Midline, {{1, 5000, 4880, 5120}, {2, 3000, 2880, 3120}}},
        {"L, A wins", {a, b}, TCalcKind::Actual, {{1, 5120, 5120, 5120}, {2, 2880, 2880, 2880}}, {{1, 1}}},
        {"L, A wins, midline", {a, b}, TCalcKind::Midline, {{1, 5120, 5120, 5120}, {2, 3000, 3000, 3000}}, {{1, 1}}},
        {"L, B lower bottom",
         {a, Raised(b, -500, 3000)},
         TCalcKind::Actual,
         {{1, 4880, 4880, 4880}, {2, 3120, 3120, 3120}}},
        {"L, no elevation overlap",
         {a, Raised(b, 3000, 6000)},
         TCalcKind::Actual,
         {{1, 5000, 5000, 5000}, {2, 3000, 3000, 3000}}},
        {"T", {c370, stem}, TCalcKind::Actual, {{1, 8000, 8000, 8000}, {2, 2815, 2815, 2815}}},
        {"T, midline", {c370, stem}, TCalcKind::Midline, {{1, 8000, 8000, 8000}, {2, 3000, 3000, 3000}}},
        {"T, stem wins", {c370, stem}, TCalcKind::Actual, {{1, 8000, 8000, 8000}, {2, 3185, 3185, 3185}}, {{2, 1}}},
        {"X",
         {E(1, Seg(0, 0, 8000, 0)), E(2, Seg(4000, -3000, 4000, 3000))},
         TCalcKind::Actual,
         {{1, 8000, 8000, 8000}, {2, 6000, 6000, 6000}}},
        {"X, unequal",
         {E(1, Seg(0, 0, 8000, 0)), E(2, Seg(4000, -3000, 4000, 3000), 370)},
         TCalcKind::Actual,
         {{1, 8000, 8000, 8000}, {2, 6000, 6000, 6000}}},
        {"L, 370 with axis offset 120",
         {E(1, a.axis, 370, 120), E(2, b.axis, 370, 120)},
         TCalcKind::Actual,
         {{1, 5065, 4880, 5250}, {2, 3065, 2880, 3250}}},
        {"L, 240 and 370", {a, E(2, b.axis, 370)}, TCalcKind::Actual, {{1, 5000, 4815, 5185}, {2, 3000, 2880, 3120}}},
        {"skew L", {a, E(2, Skew)}, TCalcKind::Actual, {{1, 5000, 4930.718, 5069.282}, {2, 3000, 2930.718, 3069.282}}},
        {"collinear, flush left",
         {E(1, a.axis, 240, 120), E(2, Seg(5000, 0, 9000, 0), 370, 120)},
         TCalcKind::Actual,
         {{1, 5000, 5000, 5000}, {2, 4000, 4000, 4000}}},
        {"arc meeting a line",
         {a, E(2, Arc)},
         TCalcKind::Actual,
         {{1, 4997.595, 4877.499, 5117.691}, {2, 4714.791, 4403.859, 5020.914}}},
        {"three ends",
         {E(1, Seg(0, 0, 4000, 0)), E(2, Seg(4000, 0, 4000, 3000)), E(3, Seg(4000, 0, 8000, 0))},
         TCalcKind::Actual,
         {{1, 4000, 4000, 4000}, {2, 2880, 2880, 2880}, {3, 4000, 4000, 4000}}},
        {"four ends",
         {E(1, Seg(0, 0, 3000, 0)), E(2, Seg(0, 0, 0, 3000)), E(3, Seg(0, 0, -3000, 0)), E(4, Seg(0, 0, 0, -3000))},
         TCalcKind::Actual,
         {{1, 3000, 3000, 3000}, {2, 2880, 2880, 2880}, {3, 3000, 3000, 3000}, {4, 2880, 2880, 2880}}},
        {"two stems into one through element",
         {c370, stem, E(3, Seg(4000, 0, 4000, -3000))},
         TCalcKind::Actual,
         {{1, 8000, 8000, 8000}, {2, 2815, 2815, 2815}, {3, 2815, 2815, 2815}}},
        {"Y of three equal ends, the first pair mitres",
         {E(1, Seg(0, 0, 3000, 0)), E(2, Seg(0, 0, -1500, 1500 * std::sqrt(3.0))),
          E(3, Seg(0, 0, -1500, -1500 * std::sqrt(3.0)))},
         TCalcKind::Actual,
         {{1, 3000, 2930.718, 3069.282}, {2, 3000, 3069.282, 2930.718}, {3, 2930.718, 2930.718, 2930.718}}},
        {"overshoot",
         {E(1, Seg(-150, 0, 5000, 0), 200), E(2, Seg(0, 0, 0, 3000), 200)},
         TCalcKind::Actual,
         {{1, 5150, 5150, 5150}, {2, 2900, 2900, 2900}}},
        {"overshoot, midline",
         {E(1, Seg(-150, 0, 5000, 0), 200), E(2, Seg(0, 0, 0, 3000), 200)},
         TCalcKind::Midline,
         {{1, 5150, 5150, 5150}, {2, 3000, 3000, 3000}}},
        {"parallel overlap",
         {a, E(2, Seg(3000, 0, 8000, 0))},
         TCalcKind::Actual,
         {{1, 5000, 5000, 5000}, {2, 5000, 5000, 5000}}},
        {"beam and wall do not join",
         {InGroup(E(1, Seg(0, 0, 6000, 0), 250), 1), E(2, Seg(6000, -2000, 6000, 2000))},
         TCalcKind::Actual,
         {{1, 6000, 6000, 6000}, {2, 4000, 4000, 4000}}},
        {"beams, secondary into main",
         {E(1, Seg(0, 0, 8000, 0), 300), E(2, Seg(4000, 0, 4000, 5000), 250)},
         TCalcKind::Midline,
         {{1, 8000, 8000, 8000}, {2, 5000, 5000, 5000}}},
        {"partition gives way one-sidedly",
         {a, E(2, b.axis, 120)},
         TCalcKind::Actual,
         {{1, 5060, 5060, 5060}, {2, 2880, 2880, 2880}},
         {},
         oneSided},
        {"finishes on inner faces",
         {E(1, Seg(0, 120, 4880, 120), 20, 20), E(2, Seg(4880, 120, 4880, 3000), 20, 20)},
         TCalcKind::Actual,
         {{1, 4870, 4860, 4880}, {2, 2870, 2860, 2880}}},
        {"material pair, ordinary",
         {a, b},
         TCalcKind::Actual,
         {{1, 5120, 5120, 5120}, {2, 2880, 2880, 2880}},
         {},
         materialOnly},
        {"material pair, material only", {a, b}, TCalcKind::OnlyMaterial, {{1, 5000, 4880, 5120}}, {}, materialOnly},
    };
    // Joined bodies that only touch: their plan polygons do not overlap.
    const std::set<std::string> touching = {"L, equal",
                                            "L, A wins",
                                            "L, B lower bottom",
                                            "T",
                                            "L, 370 with axis offset 120",
                                            "L, 240 and 370",
                                            "skew L",
                                            "collinear, flush left",
                                            "three ends",
                                            "four ends",
                                            "overshoot",
                                            "two stems into one through element",
                                            "partition gives way one-sidedly",
                                            "finishes on inner faces",
                                            "material pair, ordinary"};
    for (const TFixture& f : fixtures) {
        SCOPED_TRACE(f.name);
        TModel model = Build(f.elements);
        model.rank = f.rank;
        if (f.priority)
            model.priority = f.priority;
        if (touching.count(f.name)) {
            TVRMMultiPolygon2d plans;
            for (const TElement& e : f.elements) {
                const TLines r = model.Calc(e.id, f.kind);
                plans.Add(TVRMPolygon2d::CreateBetweenLines(r.left, r.right));
            }
            EXPECT_NEAR(TVRMIntersectFunc2d::MergePolygon(plans)->Area(), plans.Area(), 1);
        }
        for (const TExpect& x : f.expect) {
            SCOPED_TRACE(x.id);
            const TLines r = model.Calc(x.id, f.kind);
            EXPECT_NEAR(r.mid.Length(), x.mid, Tol);
            EXPECT_NEAR(r.left.Length(), x.left, Tol);
            EXPECT_NEAR(r.right.Length(), x.right, Tol);
            ExpectEndsOnOneLine(r);
            // Lines keep the axis direction (arcs their centre and sense).
            const TVRMCustomLine2d axis = model.Get(x.id)->GetLine();
            EXPECT_TRUE(TVRMPositionFunc2d::IsSameDirection(r.mid, axis));
            EXPECT_TRUE(TVRMPositionFunc2d::IsParallel(r.left, axis));
            // The same answer whatever order the neighbours are listed in.
            TTestLineEdo* self = model.Get(x.id);
            std::reverse(self->start.begin(), self->start.end());
            std::reverse(self->end.begin(), self->end.end());
            const TLines again = model.Calc(x.id, f.kind);
            EXPECT_EQ(again.mid.StartPt(), r.mid.StartPt());
            EXPECT_EQ(again.right.EndPt(), r.right.EndPt());
        }
    }
}

TEST_F(LineCalculator, EqualLCornerMitresAndReportsItsNeighbours)
{
    TModel model = Build({E(1, Seg(0, 0, 5000, 0)), E(2, Seg(5000, 0, 5000, 3000))});
    const TLines a = model.Calc(1);
    const TLines b = model.Calc(2);
    // Middle lines meet at the corner, inner side lines at the inner corner, outer at the outer.
    EXPECT_TRUE(a.mid.EndPt().IsEqualTo({5000, 0}));
    EXPECT_TRUE(b.mid.StartPt().IsEqualTo({5000, 0}));
    EXPECT_TRUE(a.left.EndPt().IsEqualTo({4880, 120}));
    EXPECT_TRUE(b.left.StartPt().IsEqualTo({4880, 120}));
    EXPECT_TRUE(a.right.EndPt().IsEqualTo({5120, -120}));
    EXPECT_TRUE(b.right.StartPt().IsEqualTo({5120, -120}));
    EXPECT_TRUE(a.StartIDs().empty());
    EXPECT_EQ(a.EndIDs(), std::vector<int>{2});
    EXPECT_EQ(b.StartIDs(), std::vector<int>{1});
    EXPECT_EQ(a.info->GetEndConnectedID(1), 2);
    EXPECT_TRUE(a.info->IsStartFree(1));
    // Extensions reach the neighbour's far face from the joined middle line.
    EXPECT_NEAR(a.endExt, 240, Tol);
    EXPECT_NEAR(a.startExt, 0, Tol);
    EXPECT_NEAR(b.startExt, 240, Tol);
    EXPECT_NEAR(b.endExt, 0, Tol);
    EXPECT_GE(a.mid.Length() + a.endExt, 5120 - Tol);
    // The connected-id info is keyed by the index key the caller gives.
    TLineCalcArgs args;
    args.self = model.Get(1);
    args.provider = model.Get(1);
    args.key = 77;
    TVRMCustomLine2d mid, left, right;
    Ref<IQTKConnectedEdoIDInfo> info;
    TQTKActualMiddleCalculator(args).Calculate(mid, left, right, info);
    EXPECT_TRUE(info->IsEndConnected(77));
    EXPECT_TRUE(info->IsEndFree(1));
}

TEST_F(LineCalculator, TJunctionLeavesTheThroughElementWhole)
{
    TModel model = Build({E(1, Seg(0, 0, 8000, 0), 370), E(2, Seg(4000, 0, 4000, 3000))});
    const TLines through = model.Calc(1);
    const TLines stem = model.Calc(2);
    EXPECT_TRUE(stem.mid.StartPt().IsEqualTo({4000, 185}));
    EXPECT_EQ(stem.StartIDs(), std::vector<int>{1});
    EXPECT_TRUE(through.StartIDs().empty() && through.EndIDs().empty());
    EXPECT_NEAR(stem.startExt, 370, Tol);
    // Stem and through element touch along the near face and do not overlap.
    const double stemArea = TVRMPolygon2d::CreateBetweenLines(stem.left, stem.right).Area();
    EXPECT_NEAR(stemArea, 2815 * 240, 1);
}

TEST_F(LineCalculator, SkewCornerExtensionReachesPastTheFarFace)
{
    TModel model = Build({E(1, Seg(0, 0, 5000, 0)), E(2, Skew)});
    const TLines a = model.Calc(1);
    EXPECT_NEAR(a.endExt, 346.410, Tol);
    // The extended middle line leaves the neighbour's band.
    const TVRMPoint2d reach = a.mid.PointAtLength(a.mid.Length() + a.endExt);
    const TQTKLineEdoInfoArray neighbour{Ref<IQTKLineEdoInfo>(model.Get(2))};
    EXPECT_TRUE(GetConnectedEdos(neighbour, reach).size() <= 1);
    EXPECT_GE(TVRMPositionFunc2d::SignedDistanceTo(reach, model.Get(2)->GetLine()), 120 - Tol);
}

TEST_F(LineCalculator, ClosedRectangleSumsToItsPerimeters)
{
    struct TCase {
        const char* name;
        double width, axisOffset, layer;
        bool actual;
        double mid, inner, outer, area;
    };
    const TCase cases[] = {
        {"240 centred", 240, 120, 0, false, 20000, 19040, 20960, 4800000},
        {"370, axis offset 120", 370, 120, 0, false, 20520, 19040, 22000, 370 * 20520},
        {"240 with outer layers, actual widths", 240, 120, 50, true, 20200, 19040, 21360, 290 * 20200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TModel model;
        const TVRMPoint2d corners[] = {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}};
        for (int i = 0; i < 4; ++i) {
            TElement e = E(i + 1, TVRMCustomLine2d(corners[i], corners[(i + 1) % 4]), c.width, c.axisOffset);
            e.rightLayer = c.layer;  // the outer side of a counter-clockwise ring
            model.Add(e);
        }
        double mid = 0, inner = 0, outer = 0, area = 0;
        for (int id = 1; id <= 4; ++id) {
            const TLines r = model.Calc(id, c.actual ? TCalcKind::Attach : TCalcKind::Actual, false, c.actual);
            mid += r.mid.Length(), inner += r.left.Length(), outer += r.right.Length();
            area += TVRMPolygon2d::CreateBetweenLines(r.left, r.right).Area();
            EXPECT_NEAR(r.startExt, c.width + c.layer, Tol);
            EXPECT_NEAR(r.endExt, c.width + c.layer, Tol);
        }
        EXPECT_NEAR(mid, c.mid, Tol);
        EXPECT_NEAR(inner, c.inner, Tol);
        EXPECT_NEAR(outer, c.outer, Tol);
        EXPECT_NEAR(area, c.area, 1);
    }
}

TEST_F(LineCalculator, InnerWallStopsAtTheRingFaces)
{
    TModel model;
    const TVRMPoint2d corners[] = {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}};
    for (int i = 0; i < 4; ++i)
        model.Add(E(i + 1, TVRMCustomLine2d(corners[i], corners[(i + 1) % 4])));
    model.Add(E(5, Seg(3000, 0, 3000, 4000)));
    double mid = 0;
    for (int id = 1; id <= 5; ++id)
        mid += model.Calc(id).mid.Length();
    EXPECT_NEAR(mid, 23760, Tol);
    EXPECT_NEAR(model.Calc(5).mid.Length(), 3760, Tol);
    EXPECT_NEAR(model.Calc(1).mid.Length(), 6000, Tol);
    EXPECT_NEAR(model.Calc(5, TCalcKind::Midline).mid.Length(), 4000, Tol);
}

TEST_F(LineCalculator, NodeOfThreeEndsReportsEveryMember)
{
    TModel model = Build({E(1, Seg(0, 0, 4000, 0)), E(2, Seg(4000, 0, 4000, 3000)), E(3, Seg(4000, 0, 8000, 0))});
    const TLines a = model.Calc(1), b = model.Calc(2), c = model.Calc(3);
    EXPECT_EQ(a.EndIDs(), (std::vector<int>{2, 3}));
    EXPECT_EQ(a.info->GetEndConnectedID(1), 3);
    EXPECT_EQ(c.StartIDs(), (std::vector<int>{1, 2}));
    EXPECT_EQ(c.info->GetStartConnectedID(3), 1);
    EXPECT_EQ(b.StartIDs(), (std::vector<int>{1, 3}));
    EXPECT_EQ(b.info->GetStartConnectedID(2), 1);
    // Plan areas: the node square belongs to the collinear pair only.
    double area = 0;
    for (const TLines* r : {&a, &b, &c})
        area += TVRMPolygon2d::CreateBetweenLines(r->left, r->right).Area();
    EXPECT_NEAR(area, 240 * (8000 + 2880), 1);
}

TEST_F(LineCalculator, EndsWithoutAJunctionAreNotConnected)
{
    {
        TModel model = Build({E(1, Seg(-150, 0, 5000, 0), 200), E(2, Seg(0, 0, 0, 3000), 200)});
        EXPECT_TRUE(model.Calc(1).info->IsStartFree(1));
        EXPECT_EQ(model.Calc(2).StartIDs(), std::vector<int>{1});
    }
    {
        TModel model = Build({E(1, Seg(0, 0, 5000, 0)), E(2, Seg(3000, 0, 8000, 0))});
        const TLines a = model.Calc(1);
        EXPECT_TRUE(a.info->IsEndFree(1));
        EXPECT_FALSE(model.Get(1)->end.empty());  // the overlap is still met at that end
    }
    {
        TModel model = Build({E(1, Seg(0, 0, 5000, 0)), Raised(E(2, Seg(5000, 0, 5000, 3000)), 3000, 6000)});
        const TLines a = model.Calc(1);
        EXPECT_TRUE(a.info->IsEndFree(1));
        EXPECT_NEAR(a.endExt, 0, Tol);
    }
}

TEST_F(LineCalculator, AxisCalculateKeepsPlainOffsets)
{
    TModel model = Build({E(1, Seg(0, 0, 5000, 0)), E(2, Seg(5000, 0, 5000, 3000))});
    const TLines a = model.Calc(1, TCalcKind::Actual, true);
    EXPECT_NEAR(a.mid.Length(), 5000, Tol);
    EXPECT_NEAR(a.left.Length(), 5000, Tol);
    EXPECT_TRUE(a.left.StartPt().IsEqualTo({0, 120}));
    EXPECT_EQ(a.EndIDs(), std::vector<int>{2});
}

TEST_F(LineCalculator, DegenerateInputGivesPlainLinesAndNoConnections)
{
    TModel model = Build({E(1, Seg(0, 0, 0.0005, 0)), E(2, Seg(0, 0, 0, 3000))});
    const TLines r = model.Calc(1);
    EXPECT_TRUE(r.info->IsStartFree(1) && r.info->IsEndFree(1));
    // Without a provider the element is calculated alone.
    TLineCalcArgs args;
    args.self = model.Get(2);
    TVRMCustomLine2d mid, left, right;
    Ref<IQTKConnectedEdoIDInfo> info;
    TQTKMidlineCalculator(args).Calculate(mid, left, right, info);
    EXPECT_NEAR(mid.Length(), 3000, Tol);
    EXPECT_TRUE(left.StartPt().IsEqualTo({-120, 0}));
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->IsStartFree(2));
}

TEST_F(LineCalculator, ExtensionOwnerFoundByEndsOrByBand)
{
    TModel model = Build({E(1, Seg(0, 0, 8000, 0), 370), E(2, Seg(4000, 0, 4000, 3000))});
    const TLines stem = model.Calc(2);
    double endExt = -1, startExt = -1;
    // The joined middle line itself, reversed: the ends swap.
    CalcLineEDOExtendLength(stem.mid.Reversed(), endExt, startExt, 7);
    EXPECT_NEAR(endExt, 370, Tol);
    EXPECT_NEAR(startExt, 0, Tol);
    // The drawn axis: found by the band of an element of that type (or of any type).
    CalcLineEDOExtendLength(Seg(4000, 0, 4000, 3000), endExt, startExt, 0);
    EXPECT_NEAR(startExt, 370, Tol);
    CalcLineEDOExtendLength(Seg(4000, 0, 4000, 3000), endExt, startExt, -1);
    EXPECT_NEAR(startExt, 370, Tol);
    CalcLineEDOExtendLength(Seg(4000, 0, 4000, 3000), endExt, startExt, 7);  // no owner of that type
    EXPECT_EQ(startExt, 0);
    CalcLineEDOExtendLength(Seg(0, 900, 5000, 900), endExt, startExt);  // outside every band
    EXPECT_EQ(endExt, 0);
    EXPECT_EQ(startExt, 0);
    // A line of no element ending in the through element's band reaches past its far face.
    model.Calc(1);
    CalcLineEDOExtendLength(Seg(2000, -1000, 2000, -100), endExt, startExt);
    EXPECT_NEAR(endExt, 370, Tol);
    EXPECT_EQ(startExt, 0);
}

TEST_F(LineCalculator, SeveralThreadsGetTheSameLines)
{
    TModel model;
    const TVRMPoint2d corners[] = {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}};
    for (int i = 0; i < 4; ++i)
        model.Add(E(i + 1, TVRMCustomLine2d(corners[i], corners[(i + 1) % 4])));
    model.Add(E(5, Seg(3000, 0, 3000, 4000)));
    model.Link();
    double expected[6] = {};
    for (int id = 1; id <= 5; ++id)
        expected[id] = model.Calc(id).left.Length();
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                for (int id = 1; id <= 5; ++id)
                    mismatches[t] += model.Calc(id).left.Length() != expected[id];
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
