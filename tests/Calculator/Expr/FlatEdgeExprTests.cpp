// Texts of aprons, parapets, balconies, courtyards, floor areas and site levelling.
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprFlatEdge.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

class TFlatEdgeExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 61, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 2, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 3000, "top": 3900}},
          {"id": 3, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 3000, "top": 3900}},
          {"id": 4, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 240, "bottom": 3000, "top": 3900,
                     "section": [[[-120, 0], [120, 0], [60, 900], [-60, 900]]]}},
          {"id": 5, "type": 59, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
          {"id": 6, "type": 58, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 7, "type": 58, "props": {},
           "shape": {"kind": "face",
                     "outline": [[0, 0], [6000, 0], [6000, 2000], [4000, 2000], [4000, 4000], [0, 4000]]}},
          {"id": 8, "type": 60, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 9, "type": 60, "props": {},
           "shape": {"kind": "face",
                     "outline": [[0, 0], [6000, 0], [6000, 2000], [4000, 2000], [4000, 4000], [0, 4000]]}},
          {"id": 10, "type": 66, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [3000, 0], [3000, 1500], [0, 1500]]}},
          {"id": 11, "type": 0, "props": {"Thickness": 240},
           "shape": {"kind": "line", "start": [0, -2000], "end": [0, 0], "bottom": 0, "top": 3000}}])");
        TFakeApronEDO& apron = Attach<TFakeApronEDO>(1);
        apron.touchWall = std::make_shared<TVRMLinearCalcContr>();
        apron.touchWall->Add(TVRMCustomLine2d({0, 0}, {3600, 0}));
        apron.touchWall->Add(TVRMCustomLine2d({0, 0}, {0, 2400}));
        apron.touchWall->GetItems(1)->Append(Rect(-100, -100, 100, 2500), 1);  // wholly covered
        apron.perimeter = std::make_shared<TVRMMultiPolyLinearCalc2d>();
        apron.perimeter->Add(Rect(0, 0, 10000, 8000));
        TFakeLineInfoEntEDO& wall = Attach<TFakeLineInfoEntEDO>(11);
        for (int id : {2, 3, 4}) {
            TFakeParapetEDO& parapet = Attach<TFakeParapetEDO>(id);
            parapet.midLine = TVRMCustomLine2d({0, 0}, {6000, 0});
            parapet.startInfos = {Ref<IQTKLineEdoInfo>(&wall)};
            if (id == 3)
                parapet.endInfos = {Ref<IQTKLineEdoInfo>(&wall)};
        }
        Attach<TFakeCourtyardEDO>(5).plan = Rect(0, 0, 6000, 4000);
        Attach<TFakeSiteLevelingEDO>(8).extended = Rect(-2000, -2000, 12000, 10000);
        // An outline grown by 2 m that has no formula of its own (an L).
        TVRMMultiPolygon2d grownL;
        grownL.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{
            {-2000, -2000}, {8000, -2000}, {8000, 4000}, {6000, 4000}, {6000, 6000}, {-2000, 6000}}));
        Attach<TFakeSiteLevelingEDO>(9).extended = grownL;
    }
};

TEST_F(TFlatEdgeExprTest, Aprons)
{
    ExpectTexts({
        {"area", 1, [](auto r) { BuildApronAreaExpr(r, 0, 0); }, "10*8"},
        {"area less an apron", 1, [](auto r) { BuildApronAreaExpr(r, 1.2e6, 0); }, "10*8-1.2<扣散水面积>"},
        {"area less an apron and walls", 1, [](auto r) { BuildApronAreaExpr(r, 1.2e6, 0.48e6); },
         "10*8-1.2<扣散水面积>-0.48<扣墙面积>"},
        {"touching walls, one line covered", 1, [](auto r) { BuildApronTouchWallLengthExpr(r, 3600); }, "3.6<1>+0<2>"},
        {"touching walls, another length", 1, [](auto r) { BuildApronTouchWallLengthExpr(r, 6000); }, "(none)"},
        {"perimeter", 1, [](auto r) { BuildApronPerimeterExpr(r, 36000); }, "10<1>+8<2>+10<3>+8<4>"},
    });
}

TEST_F(TFlatEdgeExprTest, Parapets)
{
    ExpectTexts({
        {"section", 2, [](auto r) { BuildParapetSectionAreaExpr(r, 0.216e6); }, "0.24<截面宽度>*0.9<截面高度>"},
        {"section, another area", 2, [](auto r) { BuildParapetSectionAreaExpr(r, 0.3e6); }, "(none)"},
        {"side formwork", 2, [](auto r) { BuildParapetSideFormboardAreaExpr(r, 10.8e6); }, "0.9<截面高度>*6<长度>*2"},
        {"bottom formwork", 2, [](auto r) { BuildParapetBottomFormboardAreaExpr(r, 1.44e6); },
         "0.24<截面宽度>*6<长度>"},
        {"end formwork, one end free", 2, [](auto r) { BuildParapetHeadFormboardAreaExpr(r, 0.216e6); },
         "0.24<截面宽度>*0.9<截面高度和>"},
        {"end formwork, both ends joined", 3, [](auto r) { BuildParapetHeadFormboardAreaExpr(r, 0.216e6); }, "(none)"},
        {"end formwork 0, both ends joined", 3, [](auto r) { BuildParapetHeadFormboardAreaExpr(r, 0); },
         "0.24<截面宽度>*0<截面高度和>"},
        {"a section that is no rectangle: section", 4, [](auto r) { BuildParapetSectionAreaExpr(r, 0.162e6); },
         "(none)"},
        {"a section that is no rectangle: side", 4, [](auto r) { BuildParapetSideFormboardAreaExpr(r, 10.8e6); },
         "(none)"},
    });
}

TEST_F(TFlatEdgeExprTest, BalconiesAndCourtyards)
{
    const TVRMMultiPolygon2d plan = Rect(0, 0, 3000, 1500);
    ExpectTexts({
        {"balcony", 10, [&](auto r) { BuildBalconyHorizonAreaExpr(r, &plan); }, "3*1.5"},
        {"courtyard area", 5, [](auto r) { BuildCourtyardAreaExpr(r); }, "6*4"},
        {"courtyard perimeter", 5, [](auto r) { BuildCourtyardPerimeterExpr(r, 20000); }, "(6<长度>+4<宽度>)*2"},
        {"courtyard perimeter 0.01 mm short", 5, [](auto r) { BuildCourtyardPerimeterExpr(r, 19999.99); }, "(none)"},
    });
}

TEST_F(TFlatEdgeExprTest, FloorAreas)
{
    const std::vector<TQTKSlopedRoofAreaRow> roofs{{4e6, 0, 0}, {2.5e6, 1e6, 0}};
    ExpectTexts({
        {"original", 6, [](auto r) { BuildFloorAreaOriginalAreaExpr(r); }, "10*8"},
        {"coefficient 0.5", 6, [](auto r) { BuildFloorAreaCalcMethod1Expr(r, {}, 0.5); }, "(10*8)*0.5"},
        {"coefficient 1", 6, [](auto r) { BuildFloorAreaCalcMethod1Expr(r, {}, 1); }, "10*8"},
        {"sloped roofs", 6, [&](auto r) { BuildFloorAreaCalcMethod1Expr(r, roofs, 1); },
         "10*8-(4+2.5)<扣坡屋面面积>+(1)<加净空超2.1米坡屋面面积>"},
        {"perimeter of a rectangle", 6, [](auto r) { BuildFloorAreaPerimeterExpr(r); }, "(10<长度>+8<宽度>)*2"},
        {"perimeter of an L", 7, [](auto r) { BuildFloorAreaPerimeterExpr(r); }, "(4+6+2+2+2+4)<各边长之和>"},
    });
}

TEST_F(TFlatEdgeExprTest, SiteLevelling)
{
    using H = TQTKSiteLevelingExprHandler;
    ExpectTexts({
        {"coefficient 1.4", 8, [](auto r) { H::BuildSiteLevelingAreaExpr(r, 1.4); }, "(10*8)*1.4<系数>"},
        {"coefficient 1", 8, [](auto r) { H::BuildSiteLevelingAreaExpr(r, 1); }, "10*8"},
        {"grown by 2 m", 8, [](auto r) { H::BuildSiteLevelingExtendAreaExpr(r, 168e6, 0); }, "14*12"},
        {"grown by 2 m less a deduction", 8, [](auto r) { H::BuildSiteLevelingExtendAreaExpr(r, 160e6, 8e6); },
         "(14*12)-8<扣平整场地>"},
        {"grown by 2 m, another value", 8, [](auto r) { H::BuildSiteLevelingExtendAreaExpr(r, 150e6, 8e6); }, "(none)"},
        // 10 x 8 - 2 x 2 = 76 m²
        {"grown outline without a formula", 9, [](auto r) { H::BuildSiteLevelingExtendAreaExpr(r, 68e6, 8e6); },
         "76<原始外放2米面积>-8<扣平整场地>"},
    });
}

TEST_F(TFlatEdgeExprTest, NothingWithoutExpressionMode)
{
    for (int id : {1, 2, 5, 6, 8})
        StartQty(Record(id), false);
    BuildApronAreaExpr(Record(1), 0, 0);
    BuildApronTouchWallLengthExpr(Record(1), 3600);
    BuildParapetSectionAreaExpr(Record(2), 0.216e6);
    BuildParapetHeadFormboardAreaExpr(Record(2), 0.216e6);
    BuildCourtyardPerimeterExpr(Record(5), 20000);
    BuildFloorAreaCalcMethod1Expr(Record(6), {{4e6, 0, 0}}, 0.5);
    BuildFloorAreaPerimeterExpr(Record(6));
    TQTKSiteLevelingExprHandler::BuildSiteLevelingAreaExpr(Record(8), 1.4);
    TQTKSiteLevelingExprHandler::BuildSiteLevelingExtendAreaExpr(Record(8), 168e6, 0);
    for (int id : {1, 2, 5, 6, 8})
        EXPECT_EQ(Text(Record(id)), "(none)") << id;
}

}  // namespace
