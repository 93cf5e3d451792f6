#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "QTKCommonTestUtils.h"

namespace {

// A wall 5000 long, 240 thick, 3000 high.
std::unique_ptr<TVRMPolyhedron3d> Wall()
{
    return Box(0, 0, 0, 5000, 240, 3000);
}

// An opening 1500 x 1500 through the wall, from x.
std::unique_ptr<TVRMPolyhedron3d> Opening(double x)
{
    return Box(x, -50, 900, x + 1500, 290, 2400);
}

}  // namespace

using SolidCalc = TQTKSessionTest;

TEST_F(SolidCalc, OpeningIsRemovedOnce)
{
    TQTKSolidCalc3d calc(Wall(), TestRecord(1));
    EXPECT_NEAR(calc.GetVolume(), 3.6e9, 1);
    EXPECT_NEAR(calc.Subtract(*Opening(1000), TestRecord(2)), 5.4e8, 1);
    EXPECT_NEAR(calc.Subtract(*Opening(1000), TestRecord(2)), 0, 1);
    EXPECT_NEAR(calc.GetVolume(), 3.06e9, 1);
    EXPECT_NEAR(calc.Subtract(*Box(6000, 0, 0, 7000, 240, 100), TestRecord(3)), 0, 1);  // apart
}

TEST_F(SolidCalc, OverlappingDeductionsSumToTheirUnionInEitherOrder)
{
    const double union_ = (1500 + 1500 - 500) * 240.0 * 1500;
    for (bool aFirst : {true, false}) {
        TQTKSolidCalc3d calc(Wall(), TestRecord(1));
        auto a = Opening(1000), b = Opening(2000);
        const double first = calc.Subtract(aFirst ? *a : *b, TestRecord(2));
        const double second = calc.Subtract(aFirst ? *b : *a, TestRecord(3));
        EXPECT_NEAR(first, 5.4e8, 1);
        EXPECT_NEAR(first + second, union_, 1);
    }
}

TEST_F(SolidCalc, FactorScalesEveryAmount)
{
    TQTKSolidCalc3d calc(Wall(), TestRecord(1), 0.97);
    EXPECT_NEAR(calc.GetVolume(), 3.6e9 * 0.97, 1);
    EXPECT_NEAR(calc.Subtract(*Opening(0), TestRecord(2)), 5.4e8 * 0.97, 1);
    calc.Clear();
    EXPECT_EQ(calc.GetSolid(), nullptr);
    EXPECT_EQ(calc.GetVolume(), 0);
    EXPECT_EQ(calc.Subtract(*Opening(0), TestRecord(2)), 0);
}

TEST_F(SolidCalc, UniteIsIdempotentForARepeatedPiece)
{
    TQTKSolidCalc3d calc(Wall(), TestRecord(1));
    auto pier = Box(1000, 240, 0, 1500, 480, 3000);  // 500 x 240 x 3000 against the wall face
    EXPECT_NEAR(calc.Unite(*pier, TestRecord(4)), 3.6e8, 1);
    EXPECT_NEAR(calc.Unite(*pier, TestRecord(4)), 0, 1);
    EXPECT_NEAR(calc.GetVolume(), 3.96e9, 1);
}

TEST_F(SolidCalc, DetailModeRecordsWithoutChangingQuantities)
{
    auto run = [] {
        TQTKSolidCalc3d calc(Wall(), TestRecord(1));
        const double removed = calc.Subtract(*Opening(1000), TestRecord(2));
        const double formulaFree = calc.Subtract(*Opening(3000), TestRecord(3), nullptr, true, false);
        const double silent = calc.Subtract(*Box(0, 0, 0, 500, 240, 500), TestRecord(4), nullptr, false, false);
        return std::tuple(removed, formulaFree, silent, calc.GetVolume());
    };
    const auto plain = run();
    EXPECT_EQ(Details().GetCount(), 0);
    GIsDetailMode = true;
    GetEdoGlobalData(1)->SetCurQty("TJ", "TJ", "体积");
    EXPECT_EQ(run(), plain);
    ASSERT_EQ(Details().GetCount(), 3);  // original + two recorded subtractions
    auto* original = dynamic_cast<TQTKSolidDeductDetail*>(Details().GetItems(0));
    ASSERT_NE(original, nullptr);
    EXPECT_TRUE(original->GetIsOriginalQty());
    EXPECT_EQ(original->GetRecord().get(), TestRecord(1));
    EXPECT_EQ(original->GetQtyCode(), "TJ");
    EXPECT_EQ(original->GetDedcutExpr(), "5<长度>*0.24<宽度>*3<高度>");
    auto* opening = dynamic_cast<TQTKSolidDeductDetail*>(Details().GetItems(1));
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(opening->GetRecord().get(), TestRecord(2));
    EXPECT_EQ(opening->GetQtyDesc(), "体积");  // the calculator's quantity
    EXPECT_NEAR(opening->GetSolid()->GetVolume(), Opening(0)->GetVolume(), 1);
    EXPECT_EQ(opening->GetDedcutExpr(), "1.5<长度>*0.24<宽度>*1.5<高度>");
    EXPECT_EQ(Details().GetItems(2)->GetDedcutExpr(), "0.54");
}

TEST_F(SolidCalc, DetailSolidIsShownInsteadOfTheSubtractedOne)
{
    GIsDetailMode = true;
    TQTKSolidCalc3d calc(Wall(), nullptr);
    auto shown = Box(0, 0, 0, 10, 10, 10);
    EXPECT_NEAR(calc.Subtract(*Opening(0), TestRecord(2), shown.get(), true, true), 5.4e8, 1);
    ASSERT_EQ(Details().GetCount(), 1);  // no record: no original detail
    EXPECT_NEAR(static_cast<TQTKSolidDeductDetail*>(Details().GetItems(0))->GetSolid()->GetVolume(), 1000, 1e-6);
}

TEST_F(SolidCalc, DividedCalculatorKeepsEverySubtraction)
{
    TVRMSlabDividedSolidCalc3d calc(TestRecord(1), Box(0, 0, 0, 4000, 3000, 120), false, 1.0);
    EXPECT_NEAR(calc.Subtract(*Box(0, 0, 0, 400, 400, 120), TestRecord(5)), 400 * 400 * 120.0, 1);
    EXPECT_NEAR(calc.Subtract(*Box(0, 0, 0, 400, 400, 120), TestRecord(5)), 0, 1);
    EXPECT_NEAR(calc.Subtract(*Box(3800, 0, -100, 4200, 400, 500), TestRecord(6)), 200 * 400 * 120.0, 1);
    ASSERT_EQ(calc.GetDivideCount(), 2);
    EXPECT_EQ(calc.GetDivideItem(1).record.get(), TestRecord(6));
    EXPECT_THROW(calc.GetDivideItem(2), EQTKAssertionFailed);
    // A ditch volume with its 0.97 factor: the kept subtraction is scaled like the volume.
    TVRMDividedSolidCalc3d ditch(TestRecord(1), Box(0, 0, -1000, 1000, 1000, 0), false, 0.97);
    EXPECT_NEAR(ditch.GetVolume(), 0.97e9, 1);
    EXPECT_NEAR(ditch.Subtract(*Box(0, 0, -1000, 500, 1000, 0), TestRecord(2)), 0.485e9, 1);
    ASSERT_EQ(ditch.GetDivideCount(), 1);
    EXPECT_NEAR(ditch.GetDivideItem(0).volume, 0.485e9, 1);
    EXPECT_NEAR(ditch.GetVolume(), 0.485e9, 1);
}

TEST_F(SolidCalc, OverhighPiecesAreWeighted)
{
    // Three 1000-high layers of a 400 x 400 column, weighted 3, 2, 1 from the top.
    TVRMOverhighSolidCalc3d calc;
    for (int i = 0; i < 3; ++i)
        calc.Add(std::make_unique<TVRMOverhighSolidCalcItem3d>(
            Box(0, 0, 3600 + i * 1000.0, 400, 400, 4600 + i * 1000.0), TestRecord(1), nullptr, 1.0 + i));
    const double layer = 400 * 400 * 1000.0;
    ASSERT_EQ(calc.GetCount(), 3);
    EXPECT_NEAR(calc.GetVolume(), layer * (1 + 2 + 3), 1);
    EXPECT_NEAR(calc.GetItem(2)->GetQuantity(), layer * 3, 1);
    // A beam crossing the two upper layers from 4100 to 5100 (full width 400, depth 200).
    std::vector<double> perPiece;
    const double removed = calc.Subtract(*Box(-100, 100, 4100, 500, 300, 5100), TestRecord(2), perPiece);
    const double slab = 400 * 200 * 500.0;
    EXPECT_NEAR(removed, slab * 1 + slab * 2, 1);
    ASSERT_EQ(perPiece.size(), 3u);
    EXPECT_NEAR(perPiece[1], slab * 2, 1);
    EXPECT_NEAR(perPiece[2], 0, 1);
    EXPECT_NEAR(calc.Subtract(*Box(-100, 100, 4100, 500, 300, 5100), TestRecord(2)), 0, 1);
    // A piece with a second coefficient (an indenting ratio) and its reference solid.
    calc.Add(std::make_unique<TVRMOverhighSolidCalcItem3d>(Box(0, 0, 6600, 400, 400, 7600), TestRecord(1),
                                                           Box(0, 0, 0, 400, 400, 7600), 4.0, 2.0));
    const TVRMOverhighSolidCalcItem3d* fourth = calc.GetItem(3);
    EXPECT_EQ(fourth->GetWeight(), 4.0);
    EXPECT_EQ(fourth->GetCoefficient(), 2.0);
    ASSERT_NE(fourth->GetReferenceSolid(), nullptr);
    EXPECT_NEAR(fourth->GetQuantity(), layer * 8, 1);
    EXPECT_NEAR(calc.Subtract(*Box(-100, 100, 7400, 500, 300, 7700), TestRecord(2)), 400 * 200 * 200.0 * 8, 1);
    calc.Clear();
    EXPECT_EQ(calc.GetVolume(), 0);
    EXPECT_EQ(calc.GetCount(), 0);
}

TEST_F(SolidCalc, DeductLinesLoseWhatSolidsCover)
{
    auto lines = std::make_unique<TVRMPolyhedronLines3d>();
    lines->AddEdge({0, 0, 2850}, {6000, 0, 2850});
    TQTKDeductPolyhedronLines beam(std::move(lines), false, 1.0);
    EXPECT_NEAR(beam.GetLength(), 6000, 1e-6);
    GIsDetailMode = true;
    EXPECT_NEAR(beam.Subtract(*Box(-200, -200, 0, 200, 200, 3000), true, TestRecord(5)), 200, 1e-6);
    EXPECT_NEAR(beam.Subtract(*Box(-200, -200, 0, 200, 200, 3000), true, TestRecord(5)), 0, 1e-6);
    EXPECT_NEAR(beam.GetLength(), 5800, 1e-6);
    ASSERT_EQ(Details().GetCount(), 1);
    auto* detail = dynamic_cast<TQTKLine3dDeductDetail*>(Details().GetItems(0));
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->GetRecord().get(), TestRecord(5));
    EXPECT_EQ(detail->GetDedcutExpr(), "0.2");
    ASSERT_NE(detail->GetLines(), nullptr);
    EXPECT_NEAR(detail->GetLines()->GetLength(), 200, 1e-6);  // the covered piece itself
}

TEST_F(SolidCalc, HandleVolumeExprWritesTheRecordsExpression)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(1);
    data->SetCurQty("TJ", "TJ", "体积");
    TQTKSolidCalc3d calc(Box(0, 0, 0, 400, 400, 3000), TestRecord(1));
    EXPECT_NEAR(calc.HandleVolumeExpr(false), 4.8e8, 1);
    EXPECT_EQ(data->GetExprContainer().GetCount(), 0);
    EXPECT_NEAR(calc.HandleVolumeExpr(true), 4.8e8, 1);
    EXPECT_EQ(data->GetExprContainer().GetExprText("TJ"), "0.4<长度>*0.4<宽度>*3<高度>");
}

TEST_F(SolidCalc, ABooleanTheGeometryRefusesIsMarkedWithItsObject)
{
    // A neighbour whose surface is open (its top face missing) cannot be subtracted: the
    // calculator keeps its solid and lists the failure with the deducting object.
    TVRMPolyhedron3d open = *Opening(1000);
    open.DeleteFace(4);
    TQTKSolidCalc3d calc(Wall(), TestRecord(1));
    EXPECT_NEAR(calc.Subtract(*Opening(3000), TestRecord(2)), 5.4e8, 1);
    EXPECT_FALSE(calc.HasFailures());
    EXPECT_EQ(calc.Subtract(open, TestRecord(5)), 0);
    EXPECT_NEAR(calc.GetVolume(), 3.6e9 - 5.4e8, 1);
    ASSERT_EQ(calc.GetFailures().size(), 1u);
    EXPECT_EQ(calc.GetFailures()[0].objectId, TestRecord(5)->GetID());
    EXPECT_EQ(calc.GetFailures()[0].record.get(), TestRecord(5));
    EXPECT_EQ(calc.GetFailures()[0].kind, CVRMBoolSubtract);
    EXPECT_EQ(calc.Unite(open, nullptr), 0);
    ASSERT_EQ(calc.GetFailures().size(), 2u);
    EXPECT_EQ(calc.GetFailures()[1].objectId, -1);
    EXPECT_EQ(calc.GetFailures()[1].kind, CVRMBoolUnion);
}
