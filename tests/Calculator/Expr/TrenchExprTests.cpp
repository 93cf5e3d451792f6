// Texts of strip foundation units and trench units of a rectangular section,
// and of rafts by their outline.
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprFoundation.h"
#include "Calculator/Common/QTKCalculatorExprTrench.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"
#include "tests/Calculator/Expr/ExprTestSolids.h"

namespace {

TVRMMultiPolygon2d Rect(double x, double y)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {x, 0}, {x, y}, {0, y}}));
    return set;
}

// One level rectangular face x by y.
TVRMPolyhedronShell3d LevelFace(double x, double y)
{
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {x, 0, 0}, {x, y, 0}, {0, y, 0}}));
    return shell;
}

// One upright rectangular face x long and z high.
TVRMPolyhedronShell3d UprightFace(double x, double z)
{
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMFace3d::FromLoop({{0, 0, 0}, {x, 0, 0}, {x, 0, z}, {0, 0, z}}));
    return shell;
}

class TTrenchExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 81, "props": {"SectionTypeID": 0, "SectionWidth": 600, "SectionHeight": 400},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1500, "top": -1100}},
          {"id": 2, "type": 81, "props": {"SectionTypeID": 1, "SectionWidth": 600, "SectionHeight": 400},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1500, "top": -1100}},
          {"id": 10, "type": 80, "props": {},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 1200, "bottom": -1200, "top": 0}},
          {"id": 11, "type": 80, "props": {},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 1200, "bottom": -1200, "top": 0}},
          {"id": 3, "type": 84, "props": {"SectionTypeID": 0, "Type": 1, "SectionWidth": 600, "SectionHeight": 400},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -400, "top": 0}},
          {"id": 4, "type": 84, "props": {"SectionTypeID": 0, "Type": 1, "SectionWidth": 600, "SectionHeight": 1200},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1200, "top": 0}},
          {"id": 5, "type": 84, "props": {"SectionTypeID": 0, "Type": 1, "SectionWidth": 600, "SectionHeight": 1200},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1200, "top": 0}},
          {"id": 6, "type": 84, "props": {"SectionTypeID": 0, "Type": 0, "SectionWidth": 600, "SectionHeight": 100},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1200, "top": -1100}},
          {"id": 7, "type": 84, "props": {"SectionTypeID": 0, "Type": 0, "SectionWidth": 600, "SectionHeight": 100},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1200, "top": -1100}},
          {"id": 8, "type": 84, "props": {"SectionTypeID": 0, "Type": 0, "SectionWidth": 600, "SectionHeight": 100},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": -1200, "top": -1100}},
          {"id": 9, "type": 84, "props": {"SectionTypeID": 0, "Type": 2, "SectionWidth": 600, "SectionHeight": 100},
           "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 600, "bottom": 0, "top": 100}},
          {"id": 20, "type": 48, "props": {"Thickness": 500},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]]}},
          {"id": 21, "type": 48, "props": {"Thickness": 500},
           "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]],
                     "edges": [{"kind": "raft", "raftKind": 1, "values": [300]}]}}])");
        TFakeStripFDUnitEDO& strip = Attach<TFakeStripFDUnitEDO>(1);
        strip.unitLine = TVRMCustomLine2d({0, 0}, {5000, 0});
        strip.leftLine = TVRMCustomLine2d({0, 300}, {5000, 300});
        strip.rightLine = TVRMCustomLine2d({100, -300}, {4900, -300});
        Attach<TFakeStripFDUnitEDO>(2);
        Attach<TFakeTrenchEDO>(10).hole = ExprBox(5000, 600, 1000);
        Attach<TFakeTrenchEDO>(11);
        for (int id : {3, 4, 5, 6, 7, 8, 9}) {
            TFakeTrenchUnitEDO& unit = Attach<TFakeTrenchUnitEDO>(id);
            unit.unitLine = TVRMCustomLine2d({0, 0}, {id == 7 ? 0.0 : 5000.0, 0});
            unit.leftLine = TVRMCustomLine2d({0, 300}, {5000, 300});
            unit.rightLine = TVRMCustomLine2d({100, -300}, {4900, -300});
            unit.trench = RecordRef(Record(id == 8 ? 11 : 10));
            unit.freeHeadKind = id == 5 ? 0 : 2;
        }
    }
};

TEST_F(TTrenchExprTest, StripFoundationUnits)
{
    ExpectTexts({
        {"section", 1, [](auto r) { BuildStripFDUnitSectionAreaExpr(r, 0.24e6); }, "0.6<宽度>*0.4<高度>"},
        {"section, another area", 1, [](auto r) { BuildStripFDUnitSectionAreaExpr(r, 0.25e6); }, "(none)"},
        {"side formwork", 1, [](auto r) { BuildStripFDUnitSideFormboardAreaExpr(r, 3.92e6); },
         "(5<左边线长度>+4.8<右边线长度>)*0.4<高度><侧模>"},
        {"end formwork", 1, [](auto r) { BuildStripFDUnitHeadFormboardAreaExpr(r, 0.48e6); },
         "0.6<宽度>*0.4<高度>*2<端头>"},
        {"section type 1: section", 2, [](auto r) { BuildStripFDUnitSectionAreaExpr(r, 0.24e6); }, "(none)"},
        {"section type 1: side formwork", 2, [](auto r) { BuildStripFDUnitSideFormboardAreaExpr(r, 3.92e6); },
         "(none)"},
        {"section type 1: end formwork", 2, [](auto r) { BuildStripFDUnitHeadFormboardAreaExpr(r, 0.48e6); }, "(none)"},
        {"a trench unit is no strip unit", 3, [](auto r) { BuildStripFDUnitSectionAreaExpr(r, 0.24e6); }, "(none)"},
    });
}

TEST_F(TTrenchExprTest, TrenchUnits)
{
    const TVRMPolyhedronShell3d head = UprightFace(600, 1200);
    const TVRMPolyhedronShell3d twoFaces = [] {
        TVRMPolyhedronShell3d shell = UprightFace(600, 1200);
        shell.AddFace(UprightFace(600, 1200).GetFaces().front());
        return shell;
    }();
    ExpectTexts({
        {"section", 3, [](auto r) { BuildTrenchUnitSectionAreaExpr(r, 0.24e6); }, "0.6<宽度>*0.4<高度>"},
        {"formwork", 4, [](auto r) { BuildTrenchUnitFormboardAreaExpr(r, 11.76e6); },
         "((5<左边线长度>+4.8<右边线长度>)*1.2<高度>)<侧模>"},
        {"formwork, another area", 4, [](auto r) { BuildTrenchUnitFormboardAreaExpr(r, 11.8e6); }, "(none)"},
        {"end formwork", 4, [](auto r) { BuildTrenchUnitHeadFormboardAreaExpr(r, 1.44e6); },
         "(0.6<宽度>*1.2<高度>*2)<端模>"},
        {"side wall, both ends free", 4, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 11.76e6, 0, 0); },
         "(5<左边线长度>+4.8<右边线长度>)*1.2<高度>"},
        // 1.2 x 4.8 - 0.12 - 0.24 = 5.4
        {"side wall, right end free, with deductions", 5,
         [](auto r) { BuildTrenchPlasteringAreaExpr(r, 5.4e6, 0.12e6, 0.24e6); },
         "1.2<高度>*4.8<长度>-0.12<扣地沟端头抹灰面积>-0.24<扣地沟抹灰面积>"},
        {"side wall, deductions not matching", 5, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 5.76e6, 0.12e6, 0); },
         "(none)"},
        {"bottom board", 6, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3e6, 0, 0); }, "0.6<宽度>*5<长度>"},
        // 600.08 mm is within 0.1 mm of the width; 0.6001 x 5 = 3.0005 against 3.0004.
        {"bottom board a little wider", 6, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3.0004e6, 0, 0); },
         "0.6001<宽度>*5<长度>"},
        {"bottom board wider than its section", 6, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3.0006e6, 0, 0); },
         "(none)"},
        {"bottom board with a deduction", 6, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 2.7e6, 0, 0.3e6); },
         "(none)"},
        {"bottom board on a line without length", 7, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3e6, 0, 0); },
         "(none)"},
        {"bottom board of a trench without hollow", 8, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3e6, 0, 0); },
         "(none)"},
        {"cover board", 9, [](auto r) { BuildTrenchPlasteringAreaExpr(r, 3e6, 0, 0); }, "(none)"},
        {"free ends, both", 4, [&](auto r) { BuildTrenchFreeHeadPlasteringAreaExpr(r, &head); },
         "0.6<宽度>*1.2<长度>*2"},
        {"free end, one", 5, [&](auto r) { BuildTrenchFreeHeadPlasteringAreaExpr(r, &head); }, "0.6<宽度>*1.2<长度>"},
        {"free ends of two faces", 4, [&](auto r) { BuildTrenchFreeHeadPlasteringAreaExpr(r, &twoFaces); }, "(none)"},
        {"a strip unit is no trench unit", 1, [](auto r) { BuildTrenchUnitSectionAreaExpr(r, 0.24e6); }, "(none)"},
    });
}

TEST_F(TTrenchExprTest, Rafts)
{
    const TVRMMultiPolygon2d outline = Rect(10000, 8000);
    const TVRMMultiPolygon2d narrower = Rect(9000, 8000);
    const TVRMPolyhedronShell3d bottom = LevelFace(10000, 8000);
    const TVRMPolyhedronShell3d larger = LevelFace(10000, 8100);
    ExpectTexts({
        {"bottom", 20, [](auto r) { BuildRaftFDBottomAreaExpr(r); }, "10*8"},
        {"projected: the outline", 20, [&](auto r) { BuildRaftFDProjectiveAreaExpr(r, &outline); }, "10*8"},
        {"projected: a smaller polygon", 20, [&](auto r) { BuildRaftFDProjectiveAreaExpr(r, &narrower); }, "9*8"},
        {"external wall", 20, [&](auto r) { BuildRaftFDExternalWallAreaExpr(r, &bottom); }, "(10*8)<原始筏板面积>"},
        {"external wall with a deduction", 20,
         [&](auto r) {
             BuildRaftFDExternalWallAreaExpr(r, &bottom);
             AppendRaftFDExternalWallDeductExpr(r, 2.5e6);
         },
         "(10*8)<原始筏板面积>-2.5<扣外墙>"},
        {"external wall with a deduction of 0", 20,
         [&](auto r) {
             BuildRaftFDExternalWallAreaExpr(r, &bottom);
             AppendRaftFDExternalWallDeductExpr(r, 0);
         },
         "(10*8)<原始筏板面积>"},
        {"a deduction without a text", 20, [](auto r) { AppendRaftFDExternalWallDeductExpr(r, 2.5e6); }, "(none)"},
        {"external wall of another shell", 20, [&](auto r) { BuildRaftFDExternalWallAreaExpr(r, &larger); }, "(none)"},
        {"vertical", 20, [](auto r) { BuildRaftFDVerticalAreaExpr(r, 18e6); }, "((10+8)*2)*0.5<厚度>"},
        {"formwork, the other template", 20, [](auto r) { BuildRaftFDFormboardAreaExpr(r, 18e6); },
         "(10+8)*2*0.5<厚度>"},
        {"vertical, another area", 20, [](auto r) { BuildRaftFDVerticalAreaExpr(r, 18.5e6); }, "(none)"},
        {"per-edge information: bottom", 21, [](auto r) { BuildRaftFDBottomAreaExpr(r); }, "(none)"},
        {"per-edge information: external wall", 21,
         [&](auto r) {
             BuildRaftFDExternalWallAreaExpr(r, &bottom);
             AppendRaftFDExternalWallDeductExpr(r, 2.5e6);
         },
         "(none)"},
        {"per-edge information: vertical", 21, [](auto r) { BuildRaftFDVerticalAreaExpr(r, 18e6); }, "(none)"},
        {"per-edge information: projected", 21, [&](auto r) { BuildRaftFDProjectiveAreaExpr(r, &outline); }, "10*8"},
    });
}

TEST_F(TTrenchExprTest, NothingWithoutExpressionMode)
{
    const TVRMPolyhedronShell3d head = UprightFace(600, 1200);
    for (int id : {1, 4, 20})
        StartQty(Record(id), false);
    BuildStripFDUnitSectionAreaExpr(Record(1), 0.24e6);
    BuildStripFDUnitHeadFormboardAreaExpr(Record(1), 0.48e6);
    BuildTrenchUnitFormboardAreaExpr(Record(4), 11.76e6);
    BuildTrenchPlasteringAreaExpr(Record(4), 11.76e6, 0, 0);
    BuildTrenchFreeHeadPlasteringAreaExpr(Record(4), &head);
    BuildRaftFDBottomAreaExpr(Record(20));
    BuildRaftFDVerticalAreaExpr(Record(20), 18e6);
    for (int id : {1, 4, 20})
        EXPECT_EQ(Text(Record(id)), "(none)") << id;
}

}  // namespace
