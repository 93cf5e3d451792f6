// Eave and canopy texts, and the parapets that stand on an eave's edges.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprEave.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

TVRMMultiPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return set;
}

TVRMMultiPolygon2d Circle(double radius)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d::CreateCircle({0, 0}, radius));
    return set;
}

// Eave 1 (6 m x 1.2 m) carries parapets 2 (its far long edge) and 3 (its
// left end); parapet 4 runs on past its far edge, parapet 5 beside it at
// 600 mm. Parapet 7 runs over eave 6 (6 m of it) and on over eave 8 (1 m).
// Column 9 stands in parapet 2. Eaves 10 (a circle) and 11 (an L) stand apart.
class TEaveExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 64, "props": {"Thickness": 100, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 1200], [0, 1200]]}},
          {"id": 2, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 1080], "end": [6000, 1080], "width": 240, "bottom": 2900,
                     "top": 3800}},
          {"id": 3, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [120, 1200], "end": [120, 0], "width": 240, "bottom": 2900,
                     "top": 3800}},
          {"id": 4, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [6500, 1080], "end": [9000, 1080], "width": 240, "bottom": 2900,
                     "top": 3800}},
          {"id": 5, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 1800], "end": [6000, 1800], "width": 240, "bottom": 2900,
                     "top": 3800}},
          {"id": 6, "type": 64, "props": {"Thickness": 100, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[0, 10000], [6000, 10000], [6000, 11200], [0, 11200]]}},
          {"id": 8, "type": 64, "props": {"Thickness": 100, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[6000, 10000], [8000, 10000], [8000, 11200], [6000, 11200]]}},
          {"id": 7, "type": 69, "props": {"SectionWidth": 240, "SectionHeight": 900},
           "shape": {"kind": "line", "start": [0, 11080], "end": [7000, 11080], "width": 240, "bottom": 2900,
                     "top": 3800}},
          {"id": 9, "type": 25, "props": {},
           "shape": {"kind": "point", "insertPt": [3000, 1080], "size": [400, 400], "bottom": 2900, "top": 3800}},
          {"id": 10, "type": 64, "props": {"Thickness": 100, "TopElev": 3000},
           "shape": {"kind": "face", "outline": [[21500, 0, 1500, 3], [18500, 0, 1500, 3]]}},
          {"id": 11, "type": 64, "props": {"Thickness": 100, "TopElev": 3000},
           "shape": {"kind": "face",
                     "outline": [[30000, 0], [36000, 0], [36000, 2000], [34000, 2000], [34000, 4000], [30000, 4000]]}}])");
        for (int id : {2, 3, 4, 5, 7}) {
            const IQTKLineShape* shape = dynamic_cast<const IQTKLineShape*>(DrawObj(id)->GetShape());
            TFakeParapetEDO& parapet = Attach<TFakeParapetEDO>(id);
            const TVRMCustomLine2d axis = shape->GetLine();
            parapet.midLine = axis;
            parapet.leftLine = TVRMOffsetFunc2d::Offset(axis, -120);
            parapet.rightLine = TVRMOffsetFunc2d::Offset(axis, 120);
            parapet.planPolygon = shape->GetOutline();
            if (id == 2)
                parapet.AddQtyItem("NBXCD", 6);
        }
    }
};

TEST_F(TEaveExprTest, Texts)
{
    const TVRMMultiPolygon2d circle = Circle(1500);
    const TVRMMultiPolygon2d rect = Rect(0, 0, 6000, 1200);
    const TVRMMultiPolygon2d none;
    ExpectTexts({
        {"circular canopy: plan", 1, [&](auto r) { BuildEaveAndCanopyHorizonAreaExpr(r, &circle); },
         "Pi*1.5<半径>*1.5<半径>"},
        {"circular canopy: volume", 1, [&](auto r) { BuildEaveVolExpr(r, false, &circle, 7.0686e6, 100); },
         "(Pi*1.5<半径>*1.5<半径>)*0.1<厚度>"},
        {"rectangular eave: volume", 1, [&](auto r) { BuildEaveVolExpr(r, false, &rect, 7.2e6, 100); },
         "(6*1.2)*0.1<厚度>"},
        {"eave without a polygon: volume", 1, [&](auto r) { BuildEaveVolExpr(r, false, &none, 7.2e6, 100); }, "(none)"},
        {"line-kind eave: volume", 1, [&](auto r) { BuildEaveVolExpr(r, true, nullptr, 0.12e6, 6000); },
         "0.12<截面>*6<长度>"},
        {"formwork", 1, [](auto r) { BuildEaveAndCanopyFormboardAreaExpr(r, {}, 0); },
         "(6*1.2)<底面模板面积>+((1.2<长度>+6<宽度>)*2*0.1<厚度>)<侧面模板面积>"},
        {"formwork less a wall and an eave", 1,
         [](auto r) {
             BuildEaveAndCanopyFormboardAreaExpr(r, {{0, 0.24e6}, {2, 0.5e6}, {69, 0.1e6}}, 0.3e6);
         },
         "(6*1.2)<底面模板面积>+((1.2<长度>+6<宽度>)*2*0.1<厚度>)<侧面模板面积>-0.24<扣墙面积>-0.1<扣栏板面积>"
         "-0.3<扣挑檐模板面积>"},
        {"formwork of a circle", 10, [](auto r) { BuildEaveAndCanopyFormboardAreaExpr(r, {}, 0); },
         "(Pi*1.5*1.5)<底面模板面积>+(2*Pi*1.5<半径>*0.1<厚度>)<侧面模板面积>"},
        {"formwork of an L, which has no formula", 11, [](auto r) { BuildEaveAndCanopyFormboardAreaExpr(r, {}, 0); },
         "(none)"},
        // 6 x 0.3 + 1.2 x 0.3 - 0.24 = 1.92
        {"faces less a wall", 1,
         [](auto r) {
             BuildEaveFaceAreaExpr(r, {6000, 1200}, {300, 300}, 1.92e6, 0.24e6);
         },
         "6*0.3+1.2*0.3-0.24<扣墙面积>"},
        {"faces, another area", 1,
         [](auto r) {
             BuildEaveFaceAreaExpr(r, {6000, 1200}, {300, 300}, 2.16e6, 0.24e6);
         },
         "(none)"},
        {"touching one wall", 1, [](auto r) { BuildEaveAndCanopyTouchWallLengthExpr(r, {3600}); }, "(none)"},
        {"touching two walls", 1,
         [](auto r) {
             BuildEaveAndCanopyTouchWallLengthExpr(r, {3600, 2400});
         },
         "3.6+2.4"},
        {"a parapet is no eave", 2,
         [](auto r) {
             BuildEaveAndCanopyTouchWallLengthExpr(r, {3600, 2400});
         },
         "(none)"},
    });
}

TEST_F(TEaveExprTest, ParapetsOnTheEdges)
{
    struct Case {
        const char* name;
        int eave, parapet;
        bool on;
    } cases[] = {
        {"along the far edge", 1, 2, true},
        {"along the end edge", 1, 3, true},
        {"parallel and close, past the edge's end", 1, 4, false},
        {"parallel, farther than twice its thickness", 1, 5, false},
        {"over the eave it overlaps most", 6, 7, true},
        {"over the eave it overlaps less", 8, 7, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsParapetOnEaveEdge(Record(c.eave), Record(c.parapet)), c.on) << c.name;
}

TEST_F(TEaveExprTest, ParapetSideLengths)
{
    // Parapet 2 got its inner length with the fixture.
    const std::tuple<int, double, double, double> lengths[] = {{2, 0, 6.12, 6.24}, {3, 4.8, 1.2, 1.2}, {7, 0, 7, 0}};
    for (auto [id, inner, middle, outer] : lengths) {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(id), false);
        if (inner > 0)
            edo->AddQtyItem("NBXCD", inner);
        edo->AddQtyItem("ZXXCD", middle);
        edo->AddQtyItem("WBXCD", outer);
    }
    ExpectTexts({
        {"inner sides", 1, [](auto r) { BuildEaveAndCanopyParapetInnerSideLengthExpr(r); }, "6+4.8"},
        {"middle lines", 1, [](auto r) { BuildEaveAndCanopyParapetMiddleLineLengthExpr(r); }, "6.12+1.2"},
        {"outer sides", 1, [](auto r) { BuildEaveAndCanopyParapetOutSideLengthExpr(r); }, "6.24+1.2"},
        {"a parapet over two eaves, on the one it overlaps most", 6,
         [](auto r) { BuildEaveAndCanopyParapetMiddleLineLengthExpr(r); }, "7"},
        {"a parapet over two eaves, on the other one", 8,
         [](auto r) { BuildEaveAndCanopyParapetMiddleLineLengthExpr(r); }, "(none)"},
    });
}

TEST_F(TEaveExprTest, LengthDetailPerParapetInDetailMode)
{
    GetCalcEDO(Record(3), false)->AddQtyItem("NBXCD", 4.8);
    TQTKDeductDetailContainer details;
    SetDeductDetailContainer(&details);
    {
        const TQTKDetailModeScope detailMode(true);
        StartQty(Record(1));
        BuildEaveAndCanopyParapetInnerSideLengthExpr(Record(1));
    }
    SetDeductDetailContainer(nullptr);
    EXPECT_EQ(Text(Record(1)), "6+4.8");
    ASSERT_EQ(details.GetCount(), 2);
    // Parapet 2's inner side (y = 960, facing the eave) is covered by column 9 from x = 2800 to 3200.
    struct Expected {
        int parapet;
        const char* length;
        std::vector<double> covered;
        double plan;  // the parapet's plan polygon, mm²
    } expected[] = {{2, "6", {400}, 6000 * 240}, {3, "4.8", {}, 1200 * 240}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto* detail = dynamic_cast<const TQTKLine2dDeductDetail*>(details.GetItems(i));
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->GetRecord()->GetID(), expected[i].parapet);
        EXPECT_EQ(detail->GetDedcutExpr(), expected[i].length);
        EXPECT_EQ(detail->GetQtyCode(), "MJ");
        std::vector<double> covered;
        for (const TVRMCustomLine2d& seg : detail->GetSegments().Items())
            covered.push_back(seg.Length());
        EXPECT_EQ(covered.size(), expected[i].covered.size());
        for (size_t k = 0; k < covered.size() && k < expected[i].covered.size(); ++k)
            EXPECT_NEAR(covered[k], expected[i].covered[k], 1e-6);
        EXPECT_NEAR(detail->GetOutline().Area(), expected[i].plan, 1e-3);
    }
}

TEST_F(TEaveExprTest, NothingWithoutExpressionMode)
{
    const TVRMMultiPolygon2d rect = Rect(0, 0, 6000, 1200);
    StartQty(Record(1), false);
    BuildEaveVolExpr(Record(1), false, &rect, 7.2e6, 100);
    BuildEaveAndCanopyHorizonAreaExpr(Record(1), &rect);
    BuildEaveAndCanopyFormboardAreaExpr(Record(1), {}, 0);
    BuildEaveAndCanopyTouchWallLengthExpr(Record(1), {3600, 2400});
    BuildEaveAndCanopyParapetInnerSideLengthExpr(Record(1));
    EXPECT_EQ(Text(Record(1)), "(none)");
}

}  // namespace
