// Finish, waterproofing up-turn and slab texts.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

// A dado band along (0,0)-(4000,0), 1200 high, optionally with its two end faces of 240.
std::unique_ptr<TQTKShellCalc3d> Dado(bool endFaces)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    shell->AddFace(TVRMCustomLine2d({0, 0}, {4000, 0}), false, 0, 1200, 0, 1200);
    if (endFaces) {
        shell->AddFace(TVRMCustomLine2d({0, 240}, {0, 0}), false, 0, 1200, 0, 1200);
        shell->AddFace(TVRMCustomLine2d({4000, 0}, {4000, 240}), false, 0, 1200, 0, 1200);
    }
    return std::make_unique<TQTKShellCalc3d>(std::move(shell), nullptr);
}

// Level rectangles (x0, y0, x1, y1) at height 0.
std::unique_ptr<TQTKShellCalc3d> Level(std::vector<std::array<double, 4>> rectangles)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    for (const auto& r : rectangles)
        shell->AddFace(TVRMFace3d::FromLoop({{r[0], r[1], 0}, {r[2], r[1], 0}, {r[2], r[3], 0}, {r[0], r[3], 0}}));
    return std::make_unique<TQTKShellCalc3d>(std::move(shell), nullptr);
}

// An upright rectangle of length x height.
std::unique_ptr<TQTKShellCalc3d> Upturn(double length, double height)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    shell->AddFace(TVRMCustomLine2d({0, 0}, {length, 0}), false, 0, height, 0, height);
    return std::make_unique<TQTKShellCalc3d>(std::move(shell), nullptr);
}

class TFinishExprTest : public TExprModelTest {
protected:
    std::map<int, TFakeSlabEDO*> slabs_;

    void SetUp() override
    {
        Load(R"([
          {"id": 10, "type": 37, "props": {"Thickness": 20},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "width": 20, "bottom": 0, "top": 1200}},
          {"id": 11, "type": 33, "props": {},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
          {"id": 12, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]], "flag": 0}},
          {"id": 13, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
          {"id": 14, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 2000], [4000, 2000], [4000, 4000],
                                                 [0, 4000]]}},
          {"id": 15, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}}])");
        for (int id : {12, 13, 14, 15})
            slabs_[id] = &Attach<TFakeSlabEDO>(id);
        slabs_[15]->curved = true;
    }
};

TEST_F(TFinishExprTest, Texts)
{
    const auto dado = Dado(false);
    const auto dadoWithEnds = Dado(true);
    const auto floorTwoFaces = Level({{0, 0, 3000, 4000}, {3000, 0, 6000, 4000}});
    const auto floorOneFace = Level({{0, 0, 6000, 4000}});
    const auto rectangle = Upturn(3000, 300);
    const auto other = Upturn(4000, 300);
    const TVRMFace3d slabFace = TVRMFace3d::FromLoop({{0, 0, 0}, {6000, 0, 0}, {6000, 4000, 0}, {0, 4000, 0}});
    struct Case {
        const char* name;
        int record;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"dado", 10, [&](auto r) { BuildFinishShellAreaExpr(r, dado.get(), 4.8e6); }, "4<长度>*1.2<高度>"},
        {"dado with end faces", 10, [&](auto r) { BuildFinishShellAreaExpr(r, dadoWithEnds.get(), 5.376e6); },
         "4<长度>*1.2<高度>+0.576<端头面积>"},
        {"dado less openings", 10, [&](auto r) { BuildFinishShellAreaExpr(r, dado.get(), 4.2e6); },
         "3.5<长度>*1.2<高度>"},
        {"dado length on a rounding edge", 10, [&](auto r) { BuildFinishShellAreaExpr(r, dado.get(), 1481472); },
         "1.2346<长度>*1.2<高度>"},
        {"floor finish of two faces", 11, [&](auto r) { BuildFinishShellAreaExpr(r, floorTwoFaces.get(), 24e6); },
         "(none)"},
        {"floor finish", 11, [&](auto r) { BuildFinishShellAreaExpr(r, floorOneFace.get(), 24e6); }, "6<长度>*4<宽度>"},
        {"floor finish, another area", 11, [&](auto r) { BuildFinishShellAreaExpr(r, floorOneFace.get(), 24.001e6); },
         "(none)"},
        {"floor shell", 11, [&](auto r) { BuildFloorShellAreaExpr(r, floorOneFace->GetShell()); }, "6<长度>*4<宽度>"},
        {"floor perimeter", 11,
         [&](auto r) {
             const TVRMRectangle2d outline({3000, 2000}, 3000, 2000);
             BuildFloorPerimeterExpr(r, &outline);
         },
         "(6<长度>+4<宽度>)*2"},
        {"up-turns", 11,
         [&](auto r) {
             BuildFloorWaterProofVerticalAreaExpr(r, {{TVRMCustomLine2d({0, 0}, {3000, 0}), 300, rectangle.get()},
                                                      {TVRMCustomLine2d({0, 0}, {2000, 0}), 300, nullptr},
                                                      {TVRMCustomLine2d({0, 0}, {4000, 0}), 300, other.get()}});
         },
         "3<长度>*0.3<宽度>+ 2<长度>*0.3<宽度>+4<长度>*0.3<宽度>"},
        {"up-turns without height", 11,
         [&](auto r) {
             BuildFloorWaterProofVerticalAreaExpr(r, {{TVRMCustomLine2d({0, 0}, {2000, 0}), 0, nullptr}});
         },
         "(none)"},
        {"slab area", 12, [&](auto r) { BuildSlabAreaExpr(r, floorOneFace.get()); }, "6<长度>*4<宽度>"},
        {"slab formwork twice", 12, [&](auto r) { BuildSlabFormboardAreaExpr(r, &slabFace, true); },
         "6<长度>*4<宽度>*2"},
        {"slab side formwork", 13, [&](auto r) { BuildSlabSideFormboardAreaExpr(r, &slabFace); },
         "(6<长度>+4<宽度>)*2*0.12<厚度>"},
        {"slab side formwork, flag clear", 12, [&](auto r) { BuildSlabSideFormboardAreaExpr(r, &slabFace); }, "(none)"},
        {"slab volume, flag clear", 12, [](auto r) { BuildSlabVolExpr(r); }, "6<长度>*4<宽度>*0.12<厚度>"},
        {"slab volume, flag set", 13, [](auto r) { BuildSlabVolExpr(r); }, "(6*4)*0.12<厚度>"},
        {"L-shaped slab volume", 14, [](auto r) { BuildSlabVolExpr(r); }, "20<原始面积>*0.12<厚度>"},
        {"curved slab volume", 15, [](auto r) { BuildSlabVolExpr(r); }, "(none)"},
        {"slab builders ignore a floor finish", 11, [&](auto r) { BuildSlabAreaExpr(r, floorOneFace.get()); },
         "(none)"},
        {"polygon formula", 11,
         [](auto r) {
             TVRMMultiPolygon2d set;
             set.Add(TVRMRectangle2d({3000, 2000}, 3000, 2000));
             BuildPolygonAreaExpr(r, &set);
         },
         "6*4"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string key = std::to_string(i);
        StartRowQty(Record(c.record), key);
        c.build(Record(c.record));
        EXPECT_EQ(Text(Record(c.record), key), c.text);
    }
}

TEST_F(TFinishExprTest, SlabVolumeByTheCalculationPolygon)
{
    TFakeSlabEDO& slab = *slabs_[14];
    slab.calcPolygon.Add(TVRMRectangle2d({2500, 2000}, 2500, 2000));
    StartQty(Record(14));
    BuildSlabVolExpr(Record(14));
    EXPECT_EQ(Text(Record(14)), "(5*4)*0.12<厚度>");
}

}  // namespace
