// Beam, foundation beam, lintel, coping and section texts.
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

// A level face (x0, y0)-(x1, y1) at z, facing up or down.
TVRMFace3d LevelFace(double x0, double y0, double x1, double y1, double z, bool up)
{
    return up ? TVRMFace3d::FromLoop({{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}})
              : TVRMFace3d::FromLoop({{x0, y0, z}, {x0, y1, z}, {x1, y1, z}, {x1, y0, z}});
}

// Formwork faces in the order the beam appends them: left and right sides of
// the given lengths (600 high), a bottom and a top of the given lengths (250 wide).
TVRMPolyhedronShell3d Formwork(double left, double right, double bottom, double top)
{
    TVRMPolyhedronShell3d shell;
    if (left > 0)
        shell.AddFace(TVRMCustomLine2d({0, 125}, {left, 125}), true, 2400, 3000, 2400, 3000);
    if (right > 0)
        shell.AddFace(TVRMCustomLine2d({0, -125}, {right, -125}), false, 2400, 3000, 2400, 3000);
    if (bottom > 0)
        shell.AddFace(LevelFace(0, -125, bottom, 125, 2400, false));
    if (top > 0)
        shell.AddFace(LevelFace(0, -125, top, 125, 3000, true));
    return shell;
}

class TBeamExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000}},
          {"id": 2, "type": 47, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": -600, "top": 0}},
          {"id": 3, "type": 12, "props": {"SectionWidth": 240},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "bottom": 2100, "top": 2300}},
          {"id": 4, "type": 12, "props": {"SectionWidth": 240},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "bottom": 2100, "top": 2300,
                     "sectionInfo": {"archHeight": 100, "startIndex": 0, "endIndex": 3}}},
          {"id": 5, "type": 70, "props": {"SectionTypeID": 0, "SectionWidth": 240, "SectionHeight": 300},
           "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0], "bottom": 0, "top": 300}},
          {"id": 6, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 0, "SectionHeight": 600},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 250, "bottom": 2400, "top": 3000}}])");
        for (int id : {1, 2, 6})
            Attach<TFakeBeamEDO>(id).midLine = TVRMCustomLine2d({0, 0}, {6000, 0});
        TFakeLintelEDO& lintel = Attach<TFakeLintelEDO>(3);
        lintel.planPolygon.Add(TVRMRectangle2d({0, 100}, 120, 100));
        Attach<TFakeLintelEDO>(4).calcLine = TVRMCustomLine2d({0, 0}, {4000, 0});
        Attach<TFakeCopingEDO>(5).midLine = TVRMCustomLine2d({0, 0}, {4000, 0});
    }
};

TEST_F(TBeamExprTest, Texts)
{
    const TVRMPolyhedronShell3d sidesAndBottom = Formwork(6000, 6000, 6000, 0);
    const TVRMPolyhedronShell3d allFaces = Formwork(6000, 6000, 6000, 6000);
    const TVRMPolyhedronShell3d uneven = Formwork(6000, 5500, 6000, 3600);
    const TVRMPolyhedronShell3d sides = Formwork(6000, 6000, 0, 0);
    const TVRMPolyhedronShell3d bottom = Formwork(0, 0, 6000, 0);
    // Lintel faces standing out of the wall: a top only, or a bottom and a top.
    auto topOnly = std::make_unique<TVRMPolyhedronShell3d>();
    topOnly->AddFace(LevelFace(0, -120, 4000, 120, 2300, true));
    auto bottomAndTop = topOnly->Clone();
    bottomAndTop->AddFace(LevelFace(0, -120, 4000, 120, 2100, false));
    const TQTKShellCalc3d lintelTop(std::move(topOnly), nullptr);
    const TQTKShellCalc3d lintelBoth(std::move(bottomAndTop), nullptr);
    // A coping's formwork (sides, one end face, level top) and its faces with a 45-degree slope.
    auto copingShell = std::make_unique<TVRMPolyhedronShell3d>();
    copingShell->AddFace(TVRMCustomLine2d({0, -120}, {4000, -120}), false, 0, 300, 0, 300);
    copingShell->AddFace(TVRMCustomLine2d({4000, 120}, {0, 120}), false, 0, 300, 0, 300);
    copingShell->AddFace(TVRMCustomLine2d({0, 120}, {0, -120}), false, 0, 300, 0, 300);
    copingShell->AddFace(LevelFace(0, -120, 4000, 120, 300, true));
    const TQTKShellCalc3d copingCalc(std::move(copingShell), nullptr);
    auto slopeShell = std::make_unique<TVRMPolyhedronShell3d>();
    slopeShell->AddFace(LevelFace(0, 0, 4000, 240, 0, false));
    slopeShell->AddFace(TVRMCustomLine2d({0, 0}, {4000, 0}), false, 0, 300, 0, 300);
    slopeShell->AddFace(TVRMFace3d::FromLoop({{0, 0, 300}, {4000, 0, 300}, {4000, 300, 600}, {0, 300, 600}}));
    slopeShell->AddFace(LevelFace(0, 300, 4000, 500, 600, true));
    const TQTKShellCalc3d slopeCalc(std::move(slopeShell), nullptr);
    TVRMMultiPolygon2d round;
    round.Add(TVRMPolygon2d::CreateCircle({0, 0}, 300));
    TVRMMultiPolygon2d rectangle;
    rectangle.Add(TVRMRectangle2d({0, 0}, 300, 200));
    TVRMMultiPolygon2d roundingEdge;
    roundingEdge.Add(TVRMRectangle2d({0, 0}, 617.28, 300));

    struct Case {
        const char* name;
        int record;
        std::function<void(IRDXRecord*)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"section", 1, [](auto r) { BuildBeamSectionAreaExpr(r); }, "0.25<宽度>*0.6<高度>"},
        {"perimeter", 1, [](auto r) { BuildBeamPerimeterExpr(r); }, "(0.25<宽度>+0.6<高度>)*2"},
        {"formwork, sides and bottom", 1, [&](auto r) { BuildBeamFormboardAreaExpr(r, &sidesAndBottom, 1, 2, 3, -1); },
         "(0.6<高度>*2+0.25<宽度>)*6<中心线长度>"},
        {"formwork, all faces", 1, [&](auto r) { BuildBeamFormboardAreaExpr(r, &allFaces, 1, 2, 3, 4); },
         "(0.6<高度>*2+0.25<宽度>*2)*6<中心线长度>"},
        {"formwork per face", 1, [&](auto r) { BuildBeamFormboardAreaExpr(r, &uneven, 1, 2, 3, 4); },
         "3.6<左侧支模面积>+3.3<右侧支模面积>+1.5<底部支模面积>+0.9<顶部支模面积>"},
        {"formwork per face, left and top not added", 1,
         [&](auto r) { BuildBeamFormboardAreaExpr(r, &uneven, -1, 2, 3, -1); }, "6.9<右侧支模面积>+1.5<底部支模面积>"},
        {"foundation beam formwork", 2, [&](auto r) { BuildBeamFormboardAreaExpr(r, &sides, 1, 2, -1, -1); },
         "0.6<高度>*6<中心线长度>*2"},
        {"foundation beam bottom", 2, [&](auto r) { BuildFDBeamBottomAreaExpr(r, &bottom); },
         "0.25<宽度>*6<中心线长度>"},
        {"volume by axis", 1, [](auto r) { BuildBeamVolExpr(r, true, 0.9e9); }, "0.25<宽度>*0.6<高度>*6<轴线长度>"},
        {"volume by middle line", 1, [](auto r) { BuildBeamVolExpr(r, false, 0.864e9); },
         "0.25<宽度>*0.6<高度>*5.76<中心线长度>"},
        {"volume by axis that does not give it", 1, [](auto r) { BuildBeamVolExpr(r, true, 0.864e9); },
         "0.25<宽度>*0.6<高度>*5.76<中心线长度>"},
        {"volume of a section without width", 6, [](auto r) { BuildBeamVolExpr(r, false, 0.9e9); }, "(none)"},
        {"lintel volume", 3, [](auto r) { BuildLintelVolExpr(r, 1.92e8); }, "0.048<截面面积>*4<长度>"},
        {"arch lintel volume", 4, [](auto r) { BuildLintelVolExpr(r, 1.92e8); }, "(none)"},
        {"arch lintel, no bottom faces", 4,
         [&](auto r) { BuildLintelOutBottomFormboardAreaExpr(r, &lintelTop, 0.96e6); }, "0.96<顶部外露面积>"},
        {"arch lintel, bottom and top", 4,
         [&](auto r) { BuildLintelOutBottomFormboardAreaExpr(r, &lintelBoth, 1.92e6); },
         "0.96<底部外露面积>+0.96<顶部外露面积>"},
        {"coping section", 5, [](auto r) { BuildCopingSectionAreaExpr(r); }, "0.24<宽度>*0.3<高度>"},
        {"coping formwork", 5, [&](auto r) { BuildCopingFormboardAreaExpr(r, &copingCalc); },
         "(0.24<宽度>+0.3<高度>*2)*4<长度>+0.072<端头面积>"},
        {"coping faces by kind, 45 degrees is a side", 5, [&](auto r) { BuildCopingFaceAreaExpr(r, &slopeCalc, true); },
         "0.96<底面面积>+2.8971<侧面面积>+0.8<顶面面积>"},
        {"coping formwork faces", 5, [&](auto r) { BuildCopingFaceAreaExpr(r, &slopeCalc, false); },
         "1.76<底面模板面积>+2.8971<侧面模板面积>"},
        {"round section", 1, [&](auto r) { BuildSectionAreaExpr(r, &round); }, "Pi*0.3<半径>*0.3<半径>"},
        {"round section perimeter", 1, [&](auto r) { BuildSectionPerimeterExpr(r, &round); }, "2*Pi*0.3<半径>"},
        {"rectangular section", 1, [&](auto r) { BuildSectionAreaExpr(r, &rectangle); }, "0.4<长度>*0.6<宽度>"},
        {"rectangular section perimeter", 1, [&](auto r) { BuildSectionPerimeterExpr(r, &rectangle); },
         "(0.4<长度>+0.6<宽度>)*2"},
        {"section side on a rounding edge", 1, [&](auto r) { BuildSectionAreaExpr(r, &roundingEdge); },
         "0.6<长度>*1.2346<宽度>"},
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
