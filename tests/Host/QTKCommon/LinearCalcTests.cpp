#include <cmath>

#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "QTKCommonTestUtils.h"

namespace {

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

}  // namespace

using LinearCalc = TQTKSessionTest;

TEST(NumRangeCalc, FirstMarkKeepsTheOverlap)
{
    TVRMNumRangeCalc2d calc(0.0, 5000.0);
    EXPECT_DOUBLE_EQ(calc.AppendRange(1000, 3000, 1), 2000);
    EXPECT_DOUBLE_EQ(calc.AppendRange(4000, 2000, 2), 1000);  // only 3000..4000 was still free
    EXPECT_DOUBLE_EQ(calc.AppendRange(1500, 2500, 3), 0);
    EXPECT_DOUBLE_EQ(calc.GetLengthFor(1), 2000);
    EXPECT_DOUBLE_EQ(calc.GetLengthFor(2), 1000);
    EXPECT_DOUBLE_EQ(calc.GetNullLength(), 2000);
    EXPECT_DOUBLE_EQ(calc.GetAllLength(), 5000);
    // A sliver within the tolerance is ignored; an end within it snaps.
    EXPECT_DOUBLE_EQ(calc.AppendRange(4000.0005, 4000.0009, 4), 0);
    EXPECT_DOUBLE_EQ(calc.AppendRange(4000.0005, 4500, 4), 500);
    EXPECT_DOUBLE_EQ(calc.GetUnits()[3].start, 4000);
    // A range of failed geometry marks nothing.
    EXPECT_DOUBLE_EQ(calc.AppendRange(std::nan(""), 4800, 5), 0);
    EXPECT_DOUBLE_EQ(calc.AppendRange(0, std::nan(""), 5), 0);
    EXPECT_DOUBLE_EQ(calc.GetLengthFor(5), 0);
    EXPECT_DOUBLE_EQ(calc.GetNullLength(), 1500);
    calc.SetFactor(0.5);
    EXPECT_DOUBLE_EQ(calc.GetNullLength(), 750);
}

TEST(NumRangeCalc, DeleteSameMarkJoinsNeighbours)
{
    TVRMNumericalCalc2d calc(100, 0, false);  // either order of bounds
    calc.AppendRange(0, 20, 1);
    calc.AppendRange(20, 50, 1);
    calc.AppendRange(60, 70, 2);
    EXPECT_EQ(calc.GetUnits().size(), 5u);
    calc.DeleteSameMark();
    ASSERT_EQ(calc.GetUnits().size(), 4u);
    EXPECT_DOUBLE_EQ(calc.GetUnits()[0].next, 50);
    EXPECT_DOUBLE_EQ(calc.GetLengthFor(1), 50);
    calc.ClearMarks();
    EXPECT_DOUBLE_EQ(calc.GetNullLength(), 100);
}

// A height range appended by record id: a cap from 1000 to 2000, a raft over 1500..2500.
TEST_F(LinearCalc, RangesAppendedWithTheirRecord)
{
    TVRMNumericalCalc2d cap(1000, 2000, false, 1.0);
    EXPECT_DOUBLE_EQ(cap.Append(1500, 2500, 7, TestRecord(7), CVRMEpsilon), 500);
    EXPECT_DOUBLE_EQ(cap.Append(1200, 1800, 8), 300);
    EXPECT_DOUBLE_EQ(cap.GetLengthFor(7), 500);
    EXPECT_DOUBLE_EQ(cap.GetNullLength(), 200);
    // A line calculator takes ranges of lengths along its line as well as polygons.
    TQTKLinearCalc2d line(TVRMCustomLine2d({0, 0}, {5000, 0}), true);
    EXPECT_DOUBLE_EQ(line.Append(1000, 2000, 3, TestRecord(3)), 1000);
    EXPECT_NEAR(line.Append(Rect(1500, -100, 2500, 100), 4), 500, 1e-9);
    EXPECT_EQ(Details().GetCount(), 0);
}

TEST_F(LinearCalc, PolygonsMarkStillUncoveredPiecesOfALine)
{
    TQTKLinearCalc2d calc(TVRMCustomLine2d({0, 0}, {5000, 0}), true, 1.0, 0.0);
    EXPECT_DOUBLE_EQ(calc.Append(Rect(1000, -100, 3000, 100), 1), 2000);
    EXPECT_DOUBLE_EQ(calc.Append(Rect(2500, -100, 4000, 100), 2), 1000);
    EXPECT_DOUBLE_EQ(calc.Append(Rect(6000, -100, 7000, 100), 3), 0);  // off the line
    EXPECT_NEAR(calc.GetLengthFor(1), 2000, 1e-9);
    EXPECT_NEAR(calc.GetLengthFor(2), 1000, 1e-9);
    EXPECT_NEAR(calc.GetNullLength(), 2000, 1e-9);
    EXPECT_NEAR(calc.TestLength(Rect(0, -1, 500, 1)), 500, 1e-9);

    const TVRMSeg2dList free = calc.BuildSubLines(CQTKNullMark);
    ASSERT_EQ(free.GetCount(), 2);
    EXPECT_TRUE(free.GetItems(1).StartPt().IsEqualTo({4000, 0}));
    const TVRMSeg2dList marked = calc.GetMarkedSegs();
    ASSERT_EQ(marked.GetCount(), 1);  // neighbouring pieces of two marks join
    EXPECT_NEAR(marked.GetTotalLength(), 3000, 1e-9);
    EXPECT_NEAR(calc.GetMarkedSegs(2).GetTotalLength(), 1000, 1e-9);
}

// The null points move inwards as pieces at the ends of a 5000 line get marked.
TEST_F(LinearCalc, StartAndEndNullPoints)
{
    struct Case {
        const char* name;
        std::vector<TVRMMultiPolygon2d> covers;
        bool has;
        double start, end;  // x of the null points
    } cases[] = {
        {"nothing marked", {}, true, 0, 5000},
        {"middle only", {Rect(2000, -100, 3000, 100)}, true, 0, 5000},
        {"start covered", {Rect(-500, -100, 900, 100)}, true, 900, 5000},
        {"both ends", {Rect(-500, -100, 900, 100), Rect(4200, -100, 5500, 100)}, true, 900, 4200},
        {"start then middle", {Rect(0, -100, 1000, 100), Rect(1000, -100, 2000, 100)}, true, 2000, 5000},
        {"all", {Rect(-1, -100, 5001, 100)}, false, 0, 0},
    };
    for (const Case& c : cases) {
        TQTKLinearCalc2d calc(TVRMCustomLine2d({0, 0}, {5000, 0}), false);
        for (size_t i = 0; i < c.covers.size(); ++i)
            calc.Append(c.covers[i], static_cast<int>(i) + 1);
        TVRMPoint2d start{-1, -1}, end{-1, -1};
        EXPECT_EQ(calc.GetStartNullPoint(start), c.has) << c.name;
        EXPECT_EQ(calc.GetEndNullPoint(end), c.has) << c.name;
        if (!c.has) {
            EXPECT_TRUE(start.IsEqualTo({-1, -1})) << c.name << ": point unchanged";
            continue;
        }
        EXPECT_TRUE(start.IsEqualTo({c.start, 0})) << c.name << ": start " << start.x;
        EXPECT_TRUE(end.IsEqualTo({c.end, 0})) << c.name << ": end " << end.x;
    }
    // Along an arc: a half circle of radius 1000 with its first quarter marked.
    TQTKLinearCalc2d arc(TVRMCustomLine2d({1000, 0}, {-1000, 0}, 1000, CVRMArcKindCCWMajor), false);
    arc.AppendRange(0, CVRMPi * 500, 1);
    TVRMPoint2d start, end;
    ASSERT_TRUE(arc.GetStartNullPoint(start));
    ASSERT_TRUE(arc.GetEndNullPoint(end));
    EXPECT_TRUE(start.IsEqualTo({0, 1000}, 1e-6));
    EXPECT_TRUE(end.IsEqualTo({-1000, 0}, 1e-6));
}

TEST_F(LinearCalc, ArcBaseLineMeasuresAlongTheArc)
{
    // Half circle of radius 1000 from (1000,0) to (-1000,0), counter-clockwise.
    TQTKLinearCalc2d calc(TVRMCustomLine2d({1000, 0}, {-1000, 0}, 1000, CVRMArcKindCCWMajor), true);
    EXPECT_NEAR(calc.GetAllLength(), CVRMPi * 1000, 1e-6);
    // The quarter in x > 0 is covered.
    EXPECT_NEAR(calc.Append(Rect(0, -10, 2000, 2000), 7), CVRMPi * 500, 1e-3);
    EXPECT_NEAR(calc.GetNullLength(), CVRMPi * 500, 1e-3);
    const TVRMSeg2dList free = calc.BuildSubLines(CQTKNullMark);
    ASSERT_EQ(free.GetCount(), 1);
    EXPECT_TRUE(free.GetItems(0).IsArc());
    EXPECT_TRUE(free.GetItems(0).StartPt().IsEqualTo({0, 1000}, 1e-3));
    EXPECT_NEAR(free.GetTotalLength(), CVRMPi * 500, 1e-3);
}

TEST_F(LinearCalc, AppendYMarksAProfileBand)
{
    // A vertical edge in a profile plane (x along the wall, y elevation).
    TQTKLinearCalc2d calc(TVRMCustomLine2d({100, 0}, {100, 3000}), false);
    EXPECT_NEAR(calc.AppendY(900, 2100, 5), 1200, 1e-9);
    EXPECT_NEAR(calc.GetLengthFor(5), 1200, 1e-9);
}

TEST_F(LinearCalc, ContainersSumTheirLines)
{
    TVRMPolyLinearCalc2d edges(Rect(0, 0, 1000, 500).GetItems(0), false);
    ASSERT_EQ(edges.GetCount(), 4);
    EXPECT_DOUBLE_EQ(edges.GetAllLength(), 3000);
    // A wall along the bottom edge and the left edge.
    EXPECT_NEAR(edges.Append(Rect(-100, -100, 1100, 0), 1), 1000, 1e-9);
    EXPECT_NEAR(edges.Append(Rect(-100, -100, 0, 600), 2), 500, 1e-9);
    EXPECT_NEAR(edges.GetLengthFor(1), 1000, 1e-9);
    EXPECT_NEAR(edges.GetNullLength(), 1500, 1e-9);
    EXPECT_EQ(edges.GetMarkedSegs().GetCount(), 2);

    TVRMLinearCalcContr contr;
    contr.Add(TVRMCustomLine2d({0, 0}, {0, 3000}));
    contr.Add(TVRMCustomLine2d({900, 0}, {900, 2100}));
    EXPECT_NEAR(contr.AppendY(1000, 2000, 3), 2000, 1e-9);
    EXPECT_NEAR(contr.GetLengthFor(3), 2000, 1e-9);
    EXPECT_NEAR(contr.GetNullLength(), 3100, 1e-9);
}

TEST_F(LinearCalc, DetailModeWritesLengthDetailsWithoutChangingLengths)
{
    auto run = [] {
        TQTKLinearCalc2d calc(TVRMCustomLine2d({0, 0}, {5000, 0}), true);
        calc.Append(Rect(1000, -100, 3000, 100), 1, TestRecord(2));
        calc.Append(Rect(2500, -100, 4000, 100), 2, TestRecord(3));
        calc.Append(Rect(4500, -100, 4600, 100), 4, TestRecord(4), false);  // counted, not recorded
        return std::pair(calc.GetLengthFor(1), calc.GetNullLength());
    };
    const auto plain = run();
    EXPECT_EQ(Details().GetCount(), 0);
    GIsDetailMode = true;
    EXPECT_EQ(run(), plain);
    ASSERT_EQ(Details().GetCount(), 2);
    auto* second = dynamic_cast<TQTKLine2dDeductDetail*>(Details().GetItems(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetRecord().get(), TestRecord(3));
    EXPECT_EQ(second->GetDedcutExpr(), "1");
    EXPECT_NEAR(second->GetSegments().GetTotalLength(), 1000, 1e-9);
}

TEST_F(LinearCalc, PlanarCalcDeductsOnce)
{
    GIsDetailMode = true;
    TQTKPlanarCalc2d calc(Rect(0, 0, 4000, 3000), TestRecord(1));
    ASSERT_EQ(Details().GetCount(), 1);
    EXPECT_TRUE(Details().GetItems(0)->GetIsOriginalQty());
    EXPECT_EQ(Details().GetItems(0)->GetDedcutExpr(), "12");
    EXPECT_NEAR(calc.Sub(Rect(-500, -500, 1000, 1000), TestRecord(2)), 1e6, 1e-3);
    EXPECT_NEAR(calc.Sub(Rect(0, 0, 1000, 1000), TestRecord(2)), 0, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 11e6, 1e-3);
    ASSERT_EQ(Details().GetCount(), 2);
    EXPECT_EQ(Details().GetItems(1)->GetDedcutExpr(), "1*1");
}

TEST_F(LinearCalc, BandAppendMarksWhereThePolygonMeetsTheWallBand)
{
    // A wall 240 wide along (0,0)-(6000,0), its left face 120 left of the line.
    TQTKLinearCalc2d calc(TVRMCustomLine2d({0, 0}, {6000, 0}), true);
    // A slab reaching only 50 into the band from the left side still marks its stretch.
    EXPECT_NEAR(calc.Append(Rect(1000, 70, 2000, 3000), 240, 120, 1), 1000, 1e-6);
    // A slab on the right, clear of the band, marks nothing.
    EXPECT_NEAR(calc.Append(Rect(3000, -3000, 4000, -200), 240, 120, 2), 0, 1e-6);
    EXPECT_NEAR(calc.Append(Rect(3000, -3000, 4000, -100), 240, 120, 2), 1000, 1e-6);
    EXPECT_NEAR(calc.GetNullLength(), 4000, 1e-6);
}

TEST_F(LinearCalc, LineRestrictedToAPolygon)
{
    TQTKLinearCalc2d calc(TVRMCustomLine2d({-1000, 100}, {9000, 100}), Rect(0, 0, 6000, 250), true, 0.0, -6310, true,
                          true, 1.0);
    EXPECT_TRUE(calc.GetLine().StartPt().IsEqualTo({0, 100}));
    EXPECT_TRUE(calc.GetLine().EndPt().IsEqualTo({6000, 100}));
    EXPECT_NEAR(calc.GetAllLength(), 6000, 1e-6);
    TQTKLinearCalc2d missing(TVRMCustomLine2d({0, 1000}, {100, 1000}), Rect(0, 0, 10, 10), true, 0.0, -6309, true, true,
                             1.0);
    EXPECT_NEAR(missing.GetAllLength(), 0, 1e-12);
    EXPECT_NEAR(missing.GetNullLength(), 0, 1e-12);
}
