// Texts of column caps and column bases.
#include <functional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprColumnBaseCap.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"
#include "tests/Calculator/Expr/ExprTestSolids.h"

namespace {

class TColumnBaseCapExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 28, "props": {"ColumnBaseType": 0},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 500,
                     "outline": [[0, 0], [1200, 0], [1200, 800], [0, 800]]}},
          {"id": 2, "type": 28, "props": {"ColumnBaseType": 4},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 800], "bottom": 0, "top": 500}},
          {"id": 3, "type": 27, "props": {"ColumnCapType": 8},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 800], "bottom": 0, "top": 500}},
          {"id": 4, "type": 27, "props": {"ColumnCapType": 9},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 800], "bottom": 0, "top": 500}},
          {"id": 5, "type": 27, "props": {"ColumnCapType": 2, "TopElev": 700, "Height1": 400},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 1200], "bottom": 0, "top": 700}},
          {"id": 6, "type": 27, "props": {"ColumnCapType": 1},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 800], "bottom": 0, "top": 500}},
          {"id": 7, "type": 28, "props": {"ColumnBaseType": 0},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 0, "top": 1000}},
          {"id": 8, "type": 25, "props": {},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 800], "bottom": 0, "top": 500}}])");
        for (int id = 1; id <= 8; ++id)
            solids_.push_back(&Attach<TFakeSolidEDO>(id));
    }
    void SetSolid(int id, const TVRMPolyhedron3d& solid) { solids_[id - 1]->solid = solid; }

private:
    std::vector<TFakeSolidEDO*> solids_;
};

TEST_F(TColumnBaseCapExprTest, Texts)
{
    const TVRMPolyhedron3d box = ExprBox(1200, 800, 500);
    const TVRMPolyhedron3d frustum = ExprSquareStack({2000, 1000}, {0, 1000});
    const TVRMPolyhedron3d hexagon = ExprHexagonalPrism(500, 1000);
    // A cap: a box 1200 x 1200 x 300 under a frustum up to 600 x 600 at 700
    // (cut at "TopElev" - "Height1" = 300); as a whole neither prism nor prismoid.
    const TVRMPolyhedron3d boxAndFrustum = ExprSquareStack({1200, 1200, 600}, {0, 300, 700});
    // A box 500 x 500 x 300 under a wedge whose top rises from 600 to 1000
    // along x: 0.125 m³, no prism and no prismoid.
    TVRMLoop3d low = ExprSquare(500, 0);
    TVRMLoop3d high = ExprSquare(500, 0);
    for (TVRMPoint3d& p : high)
        p.z = 800 + 0.8 * p.x;
    const TVRMPolyhedron3d boxAndWedge = ExprLoft(low, high);
    TVRMPolyhedronShell3d bottomFace;
    bottomFace.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {0, 800, 0}, {1200, 800, 0}, {1200, 0, 0}}));
    TVRMPolyhedronShell3d triangle;
    triangle.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}}));

    const auto volume = [](const TVRMPolyhedron3d& solid) {
        return [&solid](IRDXRecord* r) {
            TQTKColumnBaseCapExprHandler::BuildColumnBaseCapVolExpr(r, &solid, solid.GetVolume());
        };
    };
    const auto formwork = [](bool bottom, double area) {
        return
            [=](IRDXRecord* r) { TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFormboardAreaExpr(r, bottom, area); };
    };
    // The solids of the elements, as the formwork texts measure them.
    SetSolid(1, box);
    SetSolid(6, box);
    SetSolid(7, hexagon);
    ExpectTexts({
        {"base as a box", 1, volume(box), "1.2<长度>*0.8<宽度>*0.5<高度>"},
        {"base as a prismoid", 7, volume(frustum), "(4<底面积>+2.25<中截面面积>*4+1<顶面积>)*1<高度>/6"},
        {"base of type 4", 2, volume(box), "(none)"},
        {"cap of type 8", 3, volume(box), "(none)"},
        {"cap of type 9", 4, volume(box), "(none)"},
        {"cap split below and above", 5, volume(boxAndFrustum),
         "1.2<长度>*1.2<宽度>*0.3<高度>+(1.44<底面积>+0.81<中截面面积>*4+0.36<顶面积>)*0.4<高度>/6"},
        {"cap split, the upper part by its volume", 5, volume(boxAndWedge), "0.5<长度>*0.5<宽度>*0.3<高度>+0.125"},
        {"cap of a type that is not split", 6, volume(boxAndFrustum), "(none)"},
        {"not a base or cap", 8, volume(box), "(none)"},
        {"base formwork", 1, formwork(false, 2e6), "(1.2<长度>+0.8<宽度>)*2*0.5<高度>"},
        {"cap formwork with its bottom face", 6, formwork(true, 2.96e6),
         "(1.2<长度>+0.8<宽度>)*2*0.5<高度>+1.2<长度>*0.8<宽度>"},
        {"cap formwork, another area", 6, formwork(true, 2e6), "(none)"},
        {"base formwork of a prism", 7, formwork(false, 3e6), "(none)"},
        {"face area", 1,
         [&](auto r) { TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(r, &bottomFace, 0.96e6); },
         "1.2<长度>*0.8<宽度>"},
        {"face area, another area", 1,
         [&](auto r) { TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(r, &bottomFace, 1e6); }, "(none)"},
        {"face that is no rectangle", 1,
         [&](auto r) { TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(r, &triangle, 0.5e6); }, "(none)"},
        {"perimeter of the outline", 1,
         [](auto r) { TQTKColumnBaseCapExprHandler::BuildColumnBaseCapPerimeterExpr(r, 4000); }, "(1.2+0.8)*2"},
    });
}

TEST_F(TColumnBaseCapExprTest, NothingWithoutExpressionMode)
{
    const TVRMPolyhedron3d box = ExprBox(1200, 800, 500);
    SetSolid(1, box);
    TVRMPolyhedronShell3d face;
    face.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {0, 800, 0}, {1200, 800, 0}, {1200, 0, 0}}));
    IRDXRecord* base = Record(1);
    StartQty(base, false);
    TQTKColumnBaseCapExprHandler::BuildColumnBaseCapVolExpr(base, &box, box.GetVolume());
    TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFormboardAreaExpr(base, false, 2e6);
    TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(base, &face, 0.96e6);
    TQTKColumnBaseCapExprHandler::BuildColumnBaseCapPerimeterExpr(base, 4000);
    EXPECT_EQ(Text(base), "(none)");
}

}  // namespace
