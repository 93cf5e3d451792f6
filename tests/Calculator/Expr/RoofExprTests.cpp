// Roof texts: area, perimeter on the roof plane, rolled edges and ridges.
#include "Calculator/Common/QTKCalculatorExprRoof.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

class TRoofExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 67, "props": {"Thickness": 120},
           "shape": {"kind": "roof", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 2, "type": 67, "props": {"Thickness": 120},
           "shape": {"kind": "roof", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]], "flag": 0}},
          {"id": 3, "type": 67, "props": {"Thickness": 120},
           "shape": {"kind": "roof", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]],
                     "elevation": {"kind": "ratio", "edge": 0, "elev": 3000, "ratio": 0.5}}},
          {"id": 4, "type": 67, "props": {"Thickness": 120},
           "shape": {"kind": "roof", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]],
                     "edges": [{"kind": "rolled", "height": 300}, null, {"kind": "rolled", "height": 300},
                               {"kind": "ridge"}]}},
          {"id": 5, "type": 67, "props": {"Thickness": 120},
           "shape": {"kind": "roof", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]],
                     "edges": [{"kind": "rolled", "height": 0}, {"kind": "ridge", "ridge": false},
                               {"kind": "rolled", "height": 0}, null]}},
          {"id": 6, "type": 21, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}}])");
    }
};

TEST_F(TRoofExprTest, Texts)
{
    ExpectTexts({
        {"flat roof: perimeter", 1, [](auto r) { BuildRoofPerimeterExpr(r); }, "(10+8+10+8)<各个边长之和>"},
        {"flat roof: area", 1, [](auto r) { BuildRoofAreaExpr(r); }, "10*8"},
        {"area without the face flag", 2, [](auto r) { BuildRoofAreaExpr(r); }, "(none)"},
        // Rising 1 m over 2 m: sqrt(2² + 1²) = 2.2361 up the slope.
        {"sloped roof: perimeter", 3, [](auto r) { BuildRoofPerimeterExpr(r); }, "(2+2.2361+2+2.2361)<各个边长之和>"},
        {"rolled edges: area", 4, [](auto r) { BuildRoofRolledEdgeAreaExpr(r, 6e6); },
         "10<边长>*0.3<高度>+10<边长>*0.3<高度>"},
        {"rolled edges: another area", 4, [](auto r) { BuildRoofRolledEdgeAreaExpr(r, 6.1e6); }, "(none)"},
        {"rolled edges: length", 4, [](auto r) { BuildRoofRolledEdgeLengthExpr(r, 20000); }, "10+10"},
        {"rolled edges of height 0: area", 5, [](auto r) { BuildRoofRolledEdgeAreaExpr(r, 0); }, "(none)"},
        {"rolled edges of height 0: length", 5, [](auto r) { BuildRoofRolledEdgeLengthExpr(r, 0); }, "(none)"},
        {"ridge", 4, [](auto r) { BuildRidgeLineLengthExpr(r, 8000); }, "8"},
        {"edge information that is no ridge", 5, [](auto r) { BuildRidgeLineLengthExpr(r, 0); }, "(none)"},
        {"a slab is no roof", 6, [](auto r) { BuildRoofPerimeterExpr(r); }, "(none)"},
    });
}

TEST_F(TRoofExprTest, NothingWithoutExpressionMode)
{
    StartQty(Record(4), false);
    BuildRoofAreaExpr(Record(4));
    BuildRoofPerimeterExpr(Record(4));
    BuildRoofRolledEdgeAreaExpr(Record(4), 6e6);
    BuildRidgeLineLengthExpr(Record(4), 8000);
    EXPECT_EQ(Text(Record(4)), "(none)");
}

}  // namespace
