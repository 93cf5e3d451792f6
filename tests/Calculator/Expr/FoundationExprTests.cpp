// Foundation unit, bedding and raft texts.
#include <functional>
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprFoundation.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

class TFoundationExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 82, "props": {"SectionTypeID": 0, "SectionWidth": 1200, "SectionHeight": 1500,
                                          "Height": 600},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1200, 1500], "bottom": -1500, "top": -900}},
          {"id": 2, "type": 83, "props": {"SectionTypeID": 3, "Width": 1000, "Len": 2000, "Height": 800},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 2000], "bottom": -1500, "top": -700}},
          {"id": 3, "type": 83, "props": {"SectionTypeID": 0, "Width": 1000, "Len": 2000, "Height": 800},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 2000], "bottom": -1500, "top": -700}},
          {"id": 4, "type": 81, "props": {"SectionTypeID": 2},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -1500, "top": -1200,
                     "section": [[[-500, 0], [500, 0], [300, 300], [-300, 300]]]}},
          {"id": 5, "type": 81, "props": {"SectionTypeID": 0, "SectionWidth": 1000, "SectionHeight": 300},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 1000, "bottom": -1500, "top": -1200}},
          {"id": 6, "type": 48, "props": {"Thickness": 500},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 7, "type": 48, "props": {"Thickness": 500},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]],
                     "edges": [{"kind": "waterproof", "value": 300}]}},
          {"id": 8, "type": 55, "props": {"Shape": 1, "SectionTypeID": 0, "Thickness": 100, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 600, "bottom": -1600, "top": -1500}},
          {"id": 9, "type": 82, "props": {"SectionTypeID": 0, "SectionWidth": 1000, "SectionHeight": 1000,
                                          "Height": 1234.56},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": -1500, "top": -265.44}}])");
        for (int id : {4, 5})
            Attach<TFakeStripFDUnitEDO>(id).unitLine = TVRMCustomLine2d({0, 0}, {6000, 0});
        Attach<TFakeLineBeddingEDO>(8);
    }
};

std::unique_ptr<TVRMPolyhedronShell3d> Sides(double length, double height)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    shell->AddFace(TVRMCustomLine2d({0, 0}, {length, 0}), false, 0, height, 0, height);
    shell->AddFace(TVRMCustomLine2d({length, 600}, {0, 600}), false, 0, height, 0, height);
    return shell;
}

TEST_F(TFoundationExprTest, Texts)
{
    const TQTKShellCalc3d beddingSides(Sides(6000, 100), nullptr);
    const TQTKShellCalc3d beddingTallSides(Sides(6000, 150), nullptr);
    auto bottomShell = std::make_unique<TVRMPolyhedronShell3d>();
    bottomShell->AddFace(TVRMFace3d::FromLoop({{0, 0, -1600}, {0, 600, -1600}, {6000, 600, -1600}, {6000, 0, -1600}}));
    const TQTKShellCalc3d beddingBottom(std::move(bottomShell), nullptr);
    const TQTKSolidCalc3d beddingSolid(TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, 0, -1600}, {6000, 600, -1500})),
                                       nullptr);
    struct Case {
        const char* name;
        int record;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"isolated unit volume", 1, [](auto r) { BuildIsolatedFDUnitVolExpr(r); }, "1.5<长度>*1.2<宽度>*0.6<高度>"},
        {"isolated unit formwork", 1, [](auto r) { BuildIsolatedFDUnitFormboardAreaExpr(r); },
         "(1.5<长度>+1.2<宽度>)*2*0.6<高度>"},
        {"isolated unit bottom", 1, [](auto r) { BuildIsolatedFDUnitBottomAreaExpr(r, 1.8e6); }, "1.5<长度>*1.2<宽度>"},
        {"isolated unit bottom, another area", 1, [](auto r) { BuildIsolatedFDUnitBottomAreaExpr(r, 1.9e6); },
         "(none)"},
        {"isolated unit top", 1, [](auto r) { BuildIsolatedFDUnitTopAreaExpr(r, 1.8e6); }, "1.5<长度>*1.2<宽度>"},
        {"isolated unit side", 1, [](auto r) { BuildIsolatedFDUnitSideAreaExpr(r, 3.24e6); },
         "(1.5<长度>+1.2<宽度>)*2*0.6<高度>"},
        {"isolated unit side, height on a rounding edge", 9,
         [](auto r) { BuildIsolatedFDUnitSideAreaExpr(r, 4.93824e6); }, "(1<长度>+1<宽度>)*2*1.2346<高度>"},
        {"pile cap unit of section type 3: volume", 2, [](auto r) { BuildPileCapUnitVolExpr(r); }, "(none)"},
        {"pile cap unit of section type 3: formwork", 2, [](auto r) { BuildPileCapUnitFormboardAreaExpr(r); },
         "(none)"},
        {"pile cap unit of section type 3: face", 2, [](auto r) { BuildPileCapUnitFaceAreaExpr(r, 2e6); }, "(none)"},
        {"pile cap unit of section type 3: side", 2, [](auto r) { BuildPileCapUnitSideAreaExpr(r, 4.8e6); }, "(none)"},
        {"pile cap unit volume", 3, [](auto r) { BuildPileCapUnitVolExpr(r); }, "(1*2)*0.8<高度>"},
        {"pile cap unit formwork", 3, [](auto r) { BuildPileCapUnitFormboardAreaExpr(r); }, "(1+2)*2*0.8<高度>"},
        {"pile cap unit face", 3, [](auto r) { BuildPileCapUnitFaceAreaExpr(r, 2e6); }, "2<长度>*1<宽度>"},
        {"pile cap unit side", 3, [](auto r) { BuildPileCapUnitSideAreaExpr(r, 4.8e6); },
         "(2<长度>+1<宽度>)*2*0.8<高度>"},
        {"strip unit of a drawn section that is no rectangle", 4,
         [](auto r) { BuildStripFDUnitBottomAreaExpr(r, 6e6); }, "(none)"},
        {"strip unit bottom", 5, [](auto r) { BuildStripFDUnitBottomAreaExpr(r, 6e6); }, "6<长度>*1<宽度>"},
        {"strip unit side", 5, [](auto r) { BuildStripFDUnitSideAreaExpr(r, 3.6e6); }, "6<长度>*2*0.3<高度>"},
        {"raft volume", 6, [](auto r) { BuildRaftFDVolExpr(r, 4e10); }, "(10*8)*0.5<厚度>"},
        {"raft formwork", 6, [](auto r) { BuildRaftFDFormboardAreaExpr(r, 1.8e7); }, "(10+8)*2*0.5<厚度>"},
        {"raft volume, another value", 6, [](auto r) { BuildRaftFDVolExpr(r, 4.1e10); }, "(none)"},
        {"raft with per-edge information: volume", 7, [](auto r) { BuildRaftFDVolExpr(r, 4e10); }, "(none)"},
        {"raft with per-edge information: formwork", 7, [](auto r) { BuildRaftFDFormboardAreaExpr(r, 1.8e7); },
         "(none)"},
        {"line bedding volume", 8, [&](auto r) { BuildBeddingVolExpr(r, &beddingSolid); },
         "0.6<宽度>*0.1<厚度>*6<长度>"},
        {"line bedding formwork", 8, [&](auto r) { BuildBeddingFormboardAreaExpr(r, &beddingSides); },
         "0.1<厚度>*2*6<长度>"},
        {"line bedding formwork matching neither thickness", 8,
         [&](auto r) { BuildBeddingFormboardAreaExpr(r, &beddingTallSides); }, "(none)"},
        {"line bedding bottom", 8, [&](auto r) { BuildBeddingBottomAreaExpr(r, &beddingBottom); }, "0.6<宽度>*6<长度>"},
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

}  // namespace
