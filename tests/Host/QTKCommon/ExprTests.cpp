#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "QTKCommonTestUtils.h"

namespace {

TVRMPolygon2d RectRing(double x0, double y0, double x1, double y1)
{
    return TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

}  // namespace

using Expr = TQTKSessionTest;

TEST(ExprAnalyser, ShellFacesBecomeRectangleOrAreaParts)
{
    auto shell = FaceShell({{0, 0, 0}, {3000, 0, 0}, {3000, 0, 2800}, {0, 0, 2800}});
    shell->AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}}));
    const TVRMExprInfo3dArray parts = TVRMShellInfoAnalyser::Analyse(*shell);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].kind, 1);
    EXPECT_NEAR(parts[0].firstSize, 3000, 1e-9);
    EXPECT_NEAR(parts[0].secondSize, 2800, 1e-9);
    EXPECT_TRUE(parts[0].firstDir.IsEqualTo({1, 0, 0}, 1e-9));
    EXPECT_TRUE(parts[0].normal.IsEqualTo({0, -1, 0}, 1e-9));
    EXPECT_EQ(GetShellExpr(parts[0]), "3<长度>*2.8<宽度>");
    EXPECT_NEAR(GetExprInfoValue(parts[0]), 8.4, 1e-12);
    EXPECT_EQ(parts[1].kind, 2);
    EXPECT_EQ(GetShellExpr(parts[1]), "0.5<面积>");
    EXPECT_TRUE(TVRMShellInfoAnalyser::Analyse(TVRMPolyhedronShell3d()).empty());
}

TEST(ExprAnalyser, ColumnsAreBoxesOrPrisms)
{
    const TVRMExprInfo3dArray box = TVRMColumnInfoAnalyser::Analyse(*Box(0, 0, 0, 400, 600, 3000));
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].kind, 3);
    EXPECT_NEAR(box[0].thirdSize, 3000, 1e-9);
    EXPECT_NEAR(box[0].orientation, 1, 1e-12);
    EXPECT_NEAR(box[0].firstSize * box[0].secondSize, 240000, 1e-6);

    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {600, 0}, {600, 200}, {200, 200}, {200, 600}, {0, 600}}));
    const TVRMExprInfo3dArray prism = TVRMColumnInfoAnalyser::Analyse(*TVRMPolyhedron3d::CreatePrism(plan, 0, 3000));
    ASSERT_EQ(prism.size(), 1u);
    EXPECT_EQ(prism[0].kind, 4);
    EXPECT_NEAR(prism[0].firstSize, plan.Area(), 1e-6);
    EXPECT_EQ(GetShellExpr(prism[0]), "0.2<面积>*3<高度>");

    // A horizontal beam: the axis is found among the side faces.
    const TVRMExprInfo3dArray beam = TVRMColumnInfoAnalyser::Analyse(*Box(0, 0, 0, 6000, 250, 500));
    ASSERT_EQ(beam.size(), 1u);
    EXPECT_EQ(beam[0].kind, 3);
    // A wedge is a prism lying on its side; a frustum is no prism at all.
    auto wedge = TVRMPolyhedron3d::CreateLoft({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}},
                                              {{0, 0, 1000}, {500, 0, 1000}, {500, 1000, 1000}, {0, 1000, 1000}});
    const TVRMExprInfo3dArray lying = TVRMColumnInfoAnalyser::Analyse(*wedge);
    ASSERT_EQ(lying.size(), 1u);
    EXPECT_EQ(lying[0].kind, 4);
    EXPECT_NEAR(lying[0].orientation, 0, 1e-12);
    EXPECT_NEAR(lying[0].firstSize * lying[0].thirdSize, 7.5e8, 1e-3);
    auto frustum =
        TVRMPolyhedron3d::CreateLoft({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}},
                                     {{250, 250, 1000}, {750, 250, 1000}, {750, 750, 1000}, {250, 750, 1000}});
    EXPECT_TRUE(TVRMColumnInfoAnalyser::Analyse(*frustum).empty());
}

TEST(ExprAnalyser, PolygonAndPerimeterFormulas)
{
    TVRMMultiPolygon2d set;
    set.Add(RectRing(0, 0, 3600, 2400));
    TVRMPolygon2d hole = RectRing(1000, 1000, 2000, 2000);
    hole.Reverse();
    set.Add(hole);
    set.Add(TVRMPolygon2d::CreateCircle({9000, 0}, 500));
    std::string text;
    ASSERT_TRUE(TVRMPoly2dAnalyser::ParseMultiPolygonToString(set, text, 3));
    EXPECT_EQ(text, "3.6*2.4-1*1+Pi*0.5*0.5");
    ASSERT_TRUE(TVRMPoly2dAnalyser::ParsePolygonToString(RectRing(0, 0, 3600, 2400), text, 3));
    EXPECT_EQ(text, "3.6*2.4");
    ASSERT_TRUE(TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(set, text, -1));
    EXPECT_EQ(text, "(3.6+2.4)*2+(1+1)*2+2*Pi*0.5");

    TVRMMultiPolygon2d triangle;
    triangle.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {3000, 0}, {0, 4000}}));
    text = "unchanged";
    EXPECT_FALSE(TVRMPoly2dAnalyser::ParseMultiPolygonToString(triangle, text));
    EXPECT_EQ(text, "unchanged");
    ASSERT_TRUE(TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(triangle, text));
    EXPECT_EQ(text, "3+5+4");
    EXPECT_FALSE(TVRMPoly2dAnalyser::ParseMultiPolygonToString(TVRMMultiPolygon2d(), text));
}

TEST_F(Expr, ShellExpressionWithItemsOrAPlainValue)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(1);
    data->SetCurQty("MBMJ", "MBMJ", "模板面积");
    auto shell = FaceShell({{0, 0, 0}, {3000, 0, 0}, {3000, 0, 2800}, {0, 0, 2800}});
    shell->AddFace(TVRMFace3d::FromLoop({{0, 240, 0}, {0, 240, 2800}, {3000, 240, 2800}, {3000, 240, 0}}));
    std::string text;
    EXPECT_TRUE(GShellExprParser(TestRecord(1), nullptr, *shell, text, 0, false, 16.8e6 * 0.5, true, 0, 0.5));
    EXPECT_EQ(text, "(3<长度>*2.8<宽度> + 2.8<长度>*3<宽度>) * 0.5");
    EXPECT_EQ(data->GetExprContainer().GetCount(), 2);
    EXPECT_EQ(data->GetExprContainer().GetExprText("MBMJ"), "3<长度>*2.8<宽度> * 0.5 + 2.8<长度>*3<宽度> * 0.5");

    // A quantity the parts do not add up to, or an arc: the plain value and one value item.
    data->GetExprContainer().Clear();
    EXPECT_FALSE(GShellExprParser(TestRecord(1), nullptr, *shell, text, 0, false, 1e6, true));
    EXPECT_EQ(text, "1");
    EXPECT_FALSE(GShellExprParser(TestRecord(1), nullptr, *shell, text, 0, true, 16.8e6, false));
    EXPECT_EQ(text, "16.8");
    EXPECT_EQ(data->GetExprContainer().GetExprText("MBMJ"), "1");
}

// What a quantity shows: its text when one was written, else its items.
TEST_F(Expr, ShownTextIsTheTextElseTheItems)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(1);
    data->SetCurQty("CGTJ", "CGTJ", "超高体积");
    std::string text;
    EXPECT_FALSE(data->GetShownExprText("CGTJ", text));
    AddItemExprDetail(TestRecord(1), TestRecord(2), 2.5e5, 2.0);
    ASSERT_TRUE(data->GetShownExprText("CGTJ", text));
    EXPECT_EQ(text, "0.25 * 2");
    data->AddExprText("0.5");
    ASSERT_TRUE(data->GetShownExprText("CGTJ", text));
    EXPECT_EQ(text, "0.5");
}

TEST_F(Expr, VolumeExpressionAndAreaTerms)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(1);
    data->SetCurQty("TJ", "TJ", "体积");
    std::string text;
    EXPECT_TRUE(GVolumeExprParser(TestRecord(1), nullptr, *Box(0, 0, 0, 400, 400, 3000), 1.0, true, 4.8e8, text));
    EXPECT_EQ(text, "0.4<长度>*0.4<宽度>*3<高度>");
    ASSERT_EQ(data->GetExprContainer().GetCount(), 1);
    EXPECT_NE(dynamic_cast<const TQTKCalcInternalSolidExprItem*>(data->GetExprContainer().GetItems(0)), nullptr);

    data->SetCurQty("MJ", "MJ", "面积");
    AddAreaExprDetail(TestRecord(1), TestRecord(2), 1500, 240, 1.0);
    AddItemExprDetail(TestRecord(1), TestRecord(2), 2.5e5, 2.0);
    EXPECT_EQ(data->GetExprContainer().GetExprText("MJ"), "1.5<长度>*0.24<宽度> + 0.25 * 2");
}
