// Texts of backfill layer units and room backfill, and the append routine of
// the backfill rules.
#include <functional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprBackfill.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "tests/Calculator/Expr/ExprTestModel.h"
#include "tests/Calculator/Expr/ExprTestSolids.h"

namespace {

TVRMMultiPolygon2d Square(double side)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {side, 0}, {side, side}, {0, side}}));
    return set;
}

class TBackfillExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 11, "type": 43, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]]}},
          {"id": 12, "type": 45, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": 0, "top": 1000}},
          {"id": 13, "type": 44, "props": {"LeftSlopeFactor": 0, "RightSlopeFactor": 0},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": 0, "top": 500}},
          {"id": 1, "type": 87, "parent": 11, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": 0, "top": 1000}},
          {"id": 2, "type": 89, "parent": 12, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": 0, "top": 1000}},
          {"id": 3, "type": 88, "parent": 13, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 0, "top": 500}},
          {"id": 14, "type": 44, "props": {"LeftSlopeFactor": 0, "RightSlopeFactor": 0},
           "shape": {"kind": "line", "start": [0, 0], "end": [10000, 0], "width": 1000, "bottom": 0, "top": 500}},
          {"id": 5, "type": 88, "parent": 14, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 0, "top": 500}},
          {"id": 4, "type": 46, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}}])");
        for (int id : {11, 12}) {
            TFakePitBackfillEDO& backfill = Attach<TFakePitBackfillEDO>(id);
            backfill.bottomPolygon = Square(2000);
            backfill.slopeFactor = 0.5;
        }
        TFakeDitchBackfillEDO& ditch = Attach<TFakeDitchBackfillEDO>(13);
        ditch.leftLine = TVRMCustomLine2d({0, 500}, {10000, 500});
        ditch.rightLine = TVRMCustomLine2d({0, -500}, {10000, -500});
        // A ditch whose lines have no length.
        TFakeDitchBackfillEDO& pointDitch = Attach<TFakeDitchBackfillEDO>(14);
        pointDitch.leftLine = TVRMCustomLine2d({0, 500}, {0, 500});
        pointDitch.rightLine = TVRMCustomLine2d({0, -500}, {0, -500});
        for (auto [unit, backfill] : {std::pair{1, 11}, {2, 12}, {3, 13}, {5, 14}})
            Attach<TFakeEarthBackfillUnitEDO>(unit).backfill = RecordRef(Record(backfill));
    }
};

TEST_F(TBackfillExprTest, Texts)
{
    // Edge 1 of its cap face (along y) is the box's width.
    const TVRMPolyhedron3d box = ExprBox(2000, 3000, 500);
    const TVRMPolyhedron3d hexagon = ExprHexagonalPrism(500, 500);
    TVRMMultiPolygon2d hexagonPlan;
    {
        const TVRMPolyhedron3d& h = hexagon;
        hexagonPlan = *h.GetProjectiveXYPoly();
    }
    const TVRMMultiPolygon2d wrongPlan = Square(1000);
    // Layers of a backfill sloping 0.5 on a bottom of 2000 x 2000.
    const TVRMPolyhedron3d frustum = ExprSquareStack({2000, 3000}, {0, 1000});
    const TVRMLoop3d plan{{0, 0, 0}, {2000, 0, 0}, {2000, 2000, 0}, {0, 2000, 0}};
    const TVRMLoop3d slopingTop{{0, 0, 800}, {2000, 0, 1200}, {2000, 2000, 1200}, {0, 2000, 800}};
    const TVRMPolyhedron3d sloping = ExprLoft(plan, slopingTop);
    const TVRMPolyhedron3d ditchLayer = ExprBox(10000, 1000, 500);
    // Bottom and top in one plane: a layer without height.
    const TVRMPolyhedron3d flat = ExprSquareStack({2000, 3000}, {0, 0});
    const TVRMPolyhedron3d original = ExprBox(2000, 1200, 1000);  // 2.4 m³
    const TVRMPolyhedron3d empty;

    ExpectTexts({
        {"unit layer box", 1, [&](auto r) { BuildEarthBackfillUnitVolExpr(r, nullptr, &box); },
         "3<长度>*2<宽度>*0.5<挖土深度>"},
        {"unit layer prism over its bottom", 2,
         [&](auto r) { BuildEarthBackfillUnitVolExpr(r, &hexagonPlan, &hexagon); }, "0.6495<底面积>*0.5<挖土深度>"},
        {"the first upright part fails", 2, [&](auto r) { BuildEarthBackfillUnitVolExpr(r, &wrongPlan, &hexagon); },
         "(none)"},
        {"unit layer that is no prism", 3, [&](auto r) { BuildEarthBackfillUnitVolExpr(r, nullptr, &frustum); },
         "(none)"},
        // (4 + 9 + 2.5² x 4) x 1 / 6 = 1 / 3 x (4 + 9 + 6)
        {"pit backfill prismoid", 2, [&](auto r) { BuildPitBackfillUnitPrismoidExpr(r, &frustum); },
         "(4<底面积>+9<顶面积>+6.25<中截面面积>*4)*1<深度>/6"},
        {"excavation backfill prismoid", 1, [&](auto r) { BuildExcavatedBackfillUnitPrismoidExpr(r, &frustum); },
         "(4<底面积>+9<顶面积>+6.25<中截面面积>*4)*1<深度>/6"},
        {"a sloping top is no prismoid", 1, [&](auto r) { BuildExcavatedBackfillUnitPrismoidExpr(r, &sloping); },
         "(none)"},
        {"layer and backfill disagree", 2, [&](auto r) { BuildPitBackfillUnitPrismoidExpr(r, &box); }, "(none)"},
        {"excavation builder on a pit unit", 2, [&](auto r) { BuildExcavatedBackfillUnitPrismoidExpr(r, &frustum); },
         "(none)"},
        {"ditch backfill without slopes", 3, [&](auto r) { BuildDitchBackfillUnitPrismoidExpr(r, &ditchLayer); },
         "(10<底面积>+10<顶面积>+10<中截面面积>*4)*0.5<深度>/6"},
        {"pit backfill layer without height", 2, [&](auto r) { BuildPitBackfillUnitPrismoidExpr(r, &flat); }, "(none)"},
        {"ditch backfill without length", 5, [&](auto r) { BuildDitchBackfillUnitPrismoidExpr(r, &ditchLayer); },
         "(none)"},
        {"original volume 0", 1, [&](auto r) { BuildExcavatedBackfillUnitOriginalVolExpr(r, &empty); }, "(none)"},
        {"original excavation backfill", 1, [&](auto r) { BuildExcavatedBackfillUnitOriginalVolExpr(r, &original); },
         "2.4<原始大开挖灰土回填体积>"},
        {"original ditch backfill", 3, [&](auto r) { BuildDitchBackfillUnitOriginalVolExpr(r, &original); },
         "2.4<原始基槽灰土回填体积>"},
        {"no original text for a pit unit", 2,
         [&](auto r) {
             BuildExcavatedBackfillUnitOriginalVolExpr(r, &original);
             BuildDitchBackfillUnitOriginalVolExpr(r, &original);
         },
         "(none)"},
        {"room backfill", 4, [](auto r) { BuildRoomBackfillAreaExpr(r); }, "6*4"},
    });
}

TEST_F(TBackfillExprTest, NothingWithoutExpressionMode)
{
    const TVRMPolyhedron3d box = ExprBox(2000, 3000, 500);
    const TVRMPolyhedron3d frustum = ExprSquareStack({2000, 3000}, {0, 1000});
    const TVRMPolyhedron3d ditchLayer = ExprBox(10000, 1000, 500);
    for (int id : {1, 2, 3, 4})
        StartQty(Record(id), false);
    BuildEarthBackfillUnitVolExpr(Record(1), nullptr, &box);
    BuildExcavatedBackfillUnitPrismoidExpr(Record(1), &frustum);
    BuildExcavatedBackfillUnitOriginalVolExpr(Record(1), &box);
    BuildPitBackfillUnitPrismoidExpr(Record(2), &frustum);
    BuildDitchBackfillUnitPrismoidExpr(Record(3), &ditchLayer);
    BuildDitchBackfillUnitOriginalVolExpr(Record(3), &box);
    BuildRoomBackfillAreaExpr(Record(4));
    AppendExprText(Record(4), "-1<扣基础>");
    for (int id : {1, 2, 3, 4})
        EXPECT_EQ(Text(Record(id)), "(none)") << id;
}

TEST_F(TBackfillExprTest, AppendingDeductionTerms)
{
    IRDXRecord* unit = Record(1);
    StartQty(unit);
    EXPECT_FALSE(HasExprText(unit));
    AppendExprText(unit, "");
    EXPECT_FALSE(HasExprText(unit));
    AppendExprText(unit, "-0.5<扣基础>");  // no text yet: it becomes the text
    EXPECT_TRUE(HasExprText(unit));
    EXPECT_EQ(Text(unit), "-0.5<扣基础>");
    AppendExprText(unit, "-0.2<扣垫层>");
    AppendExprText(unit, "");
    EXPECT_EQ(Text(unit), "-0.5<扣基础>-0.2<扣垫层>");
}

}  // namespace
