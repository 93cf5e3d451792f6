#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "QTKCommonTestUtils.h"

namespace {

// A wall face 3000 long and 2800 high in the plane y = 0, facing -y.
std::unique_ptr<TVRMPolyhedronShell3d> WallFace()
{
    return FaceShell({{0, 0, 0}, {3000, 0, 0}, {3000, 0, 2800}, {0, 0, 2800}});
}

// The square z = 0, x, y in [0, 1000], facing +z.
std::unique_ptr<TVRMPolyhedronShell3d> Square()
{
    return FaceShell({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}});
}

}  // namespace

using ShellCalc = TQTKSessionTest;

TEST_F(ShellCalc, BoxOverAWallFace)
{
    TQTKShellCalc3d calc(WallFace(), TestRecord(1));
    EXPECT_NEAR(calc.GetArea(), 8.4e6, 1e-3);
    EXPECT_NEAR(calc.Subtract(*Box(500, -100, 0, 1500, 100, 2000), TestRecord(2), 3), 2e6, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 6.4e6, 1e-3);
    EXPECT_NEAR(calc.Subtract(*Box(500, -100, 0, 1500, 100, 2000), TestRecord(2), 3), 0, 1e-3);
    EXPECT_NEAR(calc.Subtract(*Box(4000, -100, 0, 5000, 100, 2000), TestRecord(3), 3), 0, 1e-3);  // apart
    EXPECT_NEAR(calc.CalcArea(), 6.4e6, 1e-3);
}

TEST_F(ShellCalc, CutKeepsTheSideAgainstThePlaneNormal)
{
    for (const bool detailMode : {false, true}) {
        SCOPED_TRACE(detailMode);
        Details().Clear();
        GIsDetailMode = detailMode;
        TQTKShellCalc3d calc(WallFace(), TestRecord(1));
        calc.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 2500}), TestRecord(1));
        EXPECT_NEAR(calc.GetArea(), 7.5e6, 1e-3);
        calc.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 2600}), TestRecord(1));  // nothing beyond
        EXPECT_NEAR(calc.GetArea(), 7.5e6, 1e-3);
        // In detail mode: the original area, then the part cut off.
        ASSERT_EQ(Details().GetCount(), detailMode ? 2 : 0);
        if (detailMode) {
            auto* cut = dynamic_cast<TQTKShellDeductDetail*>(Details().GetItems(1));
            ASSERT_NE(cut, nullptr);
            EXPECT_FALSE(cut->GetIsOriginalQty());
            EXPECT_NEAR(cut->GetShell()->GetArea(), 9e5, 1e-3);
            EXPECT_NE(cut->GetDedcutExpr().find("0.3<"), std::string::npos) << cut->GetDedcutExpr();  // 3 x 0.3
        }
    }
}

// The superposition cases: area removed from the square by kind sets 0..3.
TEST_F(ShellCalc, SuperpositionKinds)
{
    struct Case {
        const char* name;
        TVRMBox3d solid;
        double removed[4];
    } cases[] = {
        {"crosses", {{200, 200, -100}, {400, 400, 100}}, {40000, 40000, 40000, 40000}},
        {"flush below", {{0, 0, -100}, {500, 1000, 0}}, {0, 0, 500000, 500000}},
        {"contact above", {{0, 0, 0}, {500, 1000, 100}}, {0, 500000, 0, 500000}},
        {"edge only", {{1000, 0, -100}, {1200, 1000, 100}}, {0, 0, 0, 0}},
        {"partial", {{800, 800, -100}, {1200, 1200, 100}}, {40000, 40000, 40000, 40000}},
        {"flush within PL", {{0, 0, -100}, {500, 1000, 1e-6}}, {0, 0, 500000, 500000}},
        {"interior beyond PL", {{0, 0, -100}, {500, 1000, 1e-4}}, {500000, 500000, 500000, 500000}},
    };
    for (const Case& c : cases) {
        for (int kinds = 0; kinds <= 3; ++kinds) {
            TQTKShellCalc3d calc(Square(), TestRecord(1));
            auto solid = TVRMPolyhedron3d::CreateBox(c.solid);
            EXPECT_NEAR(calc.Subtract(*solid, TestRecord(2), kinds), c.removed[kinds], 1e-2)
                << c.name << " kinds " << kinds;
            EXPECT_NEAR(calc.Subtract(*solid, TestRecord(2), kinds), 0, 1e-2) << c.name << " again";
        }
    }
}

// Flags of a subtraction: details and their texts only, never the amount.
TEST_F(ShellCalc, SubtractFlags)
{
    struct Case {
        bool detailMode, writeDetail, formulaText, ratio;
        int details;
        const char* text;
    } cases[] = {
        {true, true, true, false, 1, "0.1<长度>*0.1<宽度>"},
        {true, true, false, false, 1, "0.01"},
        {true, true, true, true, 1, "0.01"},  // a correction ratio: plain values
        {true, false, false, false, 0, nullptr},
        {false, true, true, false, 0, nullptr},
    };
    for (const Case& c : cases) {
        Details().Clear();
        GIsDetailMode = c.detailMode;
        TQTKShellCalc3d calc(Square(), nullptr);  // no record: no original detail
        calc.SetIsRatio(c.ratio);
        const double removed =
            calc.Subtract(*Box(0, 0, -50, 100, 100, 50), TestRecord(2), 3, nullptr, c.writeDetail, c.formulaText);
        EXPECT_NEAR(removed, 10000, 1e-3);
        ASSERT_EQ(Details().GetCount(), c.details);
        if (c.details) {
            auto* detail = dynamic_cast<TQTKShellDeductDetail*>(Details().GetItems(0));
            ASSERT_NE(detail, nullptr);
            EXPECT_EQ(detail->GetDedcutExpr(), c.text);
            EXPECT_NEAR(detail->GetShell()->GetArea(), 10000, 1e-3);
        }
    }
    // A display solid goes to the detail; the amount does not change.
    Details().Clear();
    GIsDetailMode = true;
    TQTKShellCalc3d calc(Square(), nullptr);
    auto shown = Box(0, 0, 0, 10, 10, 10);
    EXPECT_NEAR(calc.Subtract(*Box(0, 0, -50, 100, 100, 50), TestRecord(2), 3, shown.get()), 10000, 1e-3);
    EXPECT_NEAR(static_cast<TQTKShellDeductDetail*>(Details().GetItems(0))->GetSolid()->GetVolume(), 1000, 1e-6);
}

TEST_F(ShellCalc, CreationInDetailModeRecordsTheOriginalArea)
{
    GIsDetailMode = true;
    TQTKShellCalc3d calc(WallFace(), TestRecord(1));
    ASSERT_EQ(Details().GetCount(), 1);
    EXPECT_TRUE(Details().GetItems(0)->GetIsOriginalQty());
    EXPECT_EQ(Details().GetItems(0)->GetDedcutExpr(), "3<长度>*2.8<宽度>");
    {
        TQTKDetailModeScope off(false);
        TQTKShellCalc3d quiet(WallFace(), TestRecord(1));
    }
    EXPECT_EQ(Details().GetCount(), 1);
}

TEST_F(ShellCalc, AddShellFactorAndClear)
{
    TQTKShellCalc3d calc(WallFace(), TestRecord(1), 0.5);
    EXPECT_NEAR(calc.GetArea(), 4.2e6, 1e-3);
    EXPECT_NEAR(calc.AddShell(*Square(), TestRecord(1)), 5e5, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 4.7e6, 1e-3);
    calc.Clear();
    EXPECT_EQ(calc.GetArea(), 0);
    EXPECT_EQ(calc.Subtract(*Box(0, 0, -50, 100, 100, 50), TestRecord(2), 3), 0);
}

TEST_F(ShellCalc, PerimeterOfTheRemainder)
{
    TQTKShellPerimterCalcItem3d calc(Square(), TestRecord(1));
    EXPECT_NEAR(calc.GetPerimter(), 4000, 1e-6);
    calc.Subtract(*Box(500, -100, -100, 1100, 1100, 100), TestRecord(2), 3);
    EXPECT_NEAR(calc.GetPerimter(), 3000, 1e-6);
}

TEST_F(ShellCalc, RaftBottomCountsFlatAndSlopedFaces)
{
    auto sloped = FaceShell({{1000, 0, 0}, {1500, 0, -500}, {1500, 1000, -500}, {1000, 1000, 0}});
    TQTKFDBottomAreaShellCalc3d calc(Square(), 1.0, TestRecord(1), std::move(sloped));
    const double slopedArea = 1000 * std::sqrt(500.0 * 500 * 2);
    EXPECT_NEAR(calc.GetArea(), 1e6 + slopedArea, 1e-3);
    EXPECT_NEAR(calc.Subtract(*Box(0, 0, -100, 500, 500, 100), TestRecord(2), 3, nullptr, true, true, true), 250000,
                1e-3);
}

TEST_F(ShellCalc, OverhighPiecesAreWeighted)
{
    TVRMOverhighShellCalc3d calc;
    // Three 1000-high bands of the wall face weighted 1, 2, 3 (the last with a ratio of 0.5 applied).
    for (int i = 0; i < 3; ++i) {
        const double z0 = 3600 + 1000.0 * i, z1 = z0 + 1000;
        calc.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(
            FaceShell({{0, 0, z0}, {3000, 0, z0}, {3000, 0, z1}, {0, 0, z1}}), TestRecord(1), nullptr, 1.0 + i, 0.5,
            i == 1, i == 2));
    }
    EXPECT_NEAR(calc.GetArea(), 3e6 * (1 + 2 + 1.5), 1e-3);
    EXPECT_TRUE(calc.GetItem(1)->GetMergeFlag());
    std::vector<double> perPiece;
    // A beam 300 wide across the bands from 4400 to 4800 (the first two bands, 200 each).
    EXPECT_NEAR(calc.Subtract(*Box(1000, -100, 4400, 1300, 100, 4800), TestRecord(2), 3, perPiece),
                300 * 200 * 1 + 300 * 200 * 2, 1e-3);
    ASSERT_EQ(perPiece.size(), 3u);
    EXPECT_NEAR(perPiece[0], 300 * 200, 1e-3);
}

TEST_F(ShellCalc, AFaceTheGeometryCannotResolveIsMarkedWithItsObject)
{
    // A solid open at its top crosses the wall face: its section there does not close.
    TVRMPolyhedron3d open = *Box(500, -100, 0, 1500, 100, 2000);
    open.DeleteFace(4);
    TQTKShellCalc3d calc(WallFace(), TestRecord(1));
    EXPECT_NEAR(calc.Subtract(*Box(2000, -100, 0, 2500, 100, 1000), TestRecord(2), 3), 5e5, 1e-3);
    EXPECT_FALSE(calc.HasFailures());
    EXPECT_EQ(calc.Subtract(open, TestRecord(4), 3), 0);
    EXPECT_NEAR(calc.GetArea(), 8.4e6 - 5e5, 1e-3);
    ASSERT_EQ(calc.GetFailures().size(), 1u);
    EXPECT_EQ(calc.GetFailures()[0].objectId, TestRecord(4)->GetID());
}

// A subtraction without a record takes faces out of the remaining shell and
// returns their area, but the calculator's area keeps them until a
// subtraction with a record covers them: that one books them, once. Steps on
// the 3000 x 2800 wall face (8.4e6), boxes through the face (y -100..100)
// from z 0 to 2000, so 1000 along x is 2e6.
TEST_F(ShellCalc, SubtractionsWithoutARecordBookNothing)
{
    struct Step {
        const char* name;
        double x0, x1;
        int record;  // 0: none
        double returned, area, shell;
    };
    const Step steps[] = {
        {"an opening without a record: taken from the shell, not booked", 500, 1500, 0, 2e6, 8.4e6, 6.4e6},
        {"the same again without a record: nothing left to take", 500, 1500, 0, 0, 8.4e6, 6.4e6},
        {"a record over half the piece and 500 beyond: books both halves", 1000, 2000, 2, 2e6, 6.4e6, 5.4e6},
        {"a second record over the whole piece: only the unclaimed half", 500, 1500, 3, 1e6, 5.4e6, 5.4e6},
        {"the first record again: nothing twice", 1000, 2000, 2, 0, 5.4e6, 5.4e6},
        {"a record apart from the face", 4000, 5000, 4, 0, 5.4e6, 5.4e6},
    };
    TQTKShellCalc3d calc(WallFace(), TestRecord(1));
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        auto box = Box(s.x0, -100, 0, s.x1, 100, 2000);
        EXPECT_NEAR(calc.Subtract(*box, s.record ? TestRecord(s.record) : nullptr, 3), s.returned, 1e-3);
        EXPECT_NEAR(calc.GetArea(), s.area, 1e-3);
        EXPECT_NEAR(calc.GetShell()->GetArea(), s.shell, 1e-3);
        EXPECT_NEAR(calc.CalcArea(), s.area, 1e-3);
    }
}

// The factor scales the unbooked pieces as the rest; a cut books what lies
// beyond its plane, of the pieces too; Clear drops them.
TEST_F(ShellCalc, UnbookedPiecesUnderFactorCutAndClear)
{
    TQTKShellCalc3d calc(WallFace(), TestRecord(1), 0.5);
    EXPECT_NEAR(calc.Subtract(*Box(0, -100, 0, 1000, 100, 2800), nullptr, 3), 0.5 * 2.8e6, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 0.5 * 8.4e6, 1e-3);
    // Above 1400: half of the face goes, the piece's upper half with it.
    calc.Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 1400}), TestRecord(2));
    EXPECT_NEAR(calc.GetArea(), 0.5 * 4.2e6, 1e-3);
    EXPECT_NEAR(calc.Subtract(*Box(0, -100, 0, 1000, 100, 2800), TestRecord(3), 3), 0.5 * 1.4e6, 1e-3);
    EXPECT_NEAR(calc.GetArea(), 0.5 * 2.8e6, 1e-3);
    calc.Subtract(*Box(2000, -100, 0, 3000, 100, 2800), nullptr, 3);
    calc.Clear();
    EXPECT_EQ(calc.GetArea(), 0);
}
