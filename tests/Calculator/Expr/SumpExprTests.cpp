// Texts of solids as prisms and prismoids, and the sump's texts.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorExprSump.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"
#include "tests/Calculator/Expr/ExprTestSolids.h"

namespace {

std::string Prism(const TVRMPolyhedron3d& solid)
{
    std::string text;
    return TQTKSumpExprHandler::BuildPrismText(&solid, text) ? text : "(none)";
}

std::string Prismoid(const TVRMPolyhedron3d& solid)
{
    std::string text;
    return TQTKSumpExprHandler::BuildPrismoidVolText(&solid, text) ? text : "(none)";
}

TEST(SolidExprTexts, PrismsAndPrismoids)
{
    struct Case {
        const char* name;
        TVRMPolyhedron3d solid;
        const char* prism;
        const char* prismoid;
    };
    // A box whose top rises along x from 800 to 1200.
    const TVRMLoop3d plan{{0, 0, 0}, {2000, 0, 0}, {2000, 1500, 0}, {0, 1500, 0}};
    const TVRMLoop3d slopingTop{{0, 0, 800}, {2000, 0, 1200}, {2000, 1500, 1200}, {0, 1500, 800}};
    const std::vector<Case> cases{
        {"box", ExprBox(2000, 1500, 800), "2<长度>*1.5<宽度>*0.8<高度>", "3<面积>*0.8<高度>"},
        {"box standing along y", ExprBox(1500, 2000, 800), "2<长度>*1.5<宽度>*0.8<高度>", "3<面积>*0.8<高度>"},
        // 3 x sqrt(3) / 2 x 0.5² = 0.649519 m²
        {"hexagonal prism", ExprHexagonalPrism(500, 1000), "0.6495<面积>*1<高度>", "0.6495<面积>*1<高度>"},
        // (4 + 1.5² x 4 + 1) x 1 / 6 = 7 / 3, the frustum's volume 1 / 3 x (4 + 1 + 2)
        {"frustum", ExprSquareStack({2000, 1000}, {0, 1000}), "(none)",
         "(4<底面积>+2.25<中截面面积>*4+1<顶面积>)*1<高度>/6"},
        {"sloping top", ExprLoft(plan, slopingTop), "(none)", "(none)"},
        // Bottom and top in one plane: no height to divide by.
        {"frustum without height", ExprSquareStack({2000, 1000}, {0, 0}), "(none)", "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Prism(c.solid), c.prism);
        EXPECT_EQ(Prismoid(c.solid), c.prismoid);
    }
}

TEST(SolidExprTexts, MissingArgumentsAreAssertions)
{
    double a = 0, b = 0, c = 0, d = 0;
    const auto expectAssertion = [](const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "no assertion";
        } catch (const EQTKAssertionFailed& e) {
            EXPECT_EQ(e.Unit(), "Calculator/Common/QTKCalculatorExprSump");
        }
    };
    expectAssertion([&] { TQTKSumpExprHandler::GetColumnBoxSize(nullptr, a, b, c); });
    expectAssertion([&] { TQTKSumpExprHandler::GetPrismoidAreas(nullptr, a, b, c, d); });
    expectAssertion([&] { TQTKSumpExprHandler::GetHoleSize(nullptr, a, b, c); });
}

// A face given by its corners (edge 0 from the first to the second).
TVRMFace3d Face(TVRMLoop3d loop)
{
    return TVRMFace3d::FromLoop(std::move(loop));
}

class TSumpExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 56, "props": {"SectionTypeID": 0, "SectionWidth": 1000, "SectionHeight": 600, "Outside": 100},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 800,
                     "outline": [[0, 0], [1000, 0], [1000, 600], [0, 600]]}},
          {"id": 2, "type": 56, "props": {"SectionTypeID": 2, "Outside": 100},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 800,
                     "outline": [[0, 0], [1000, 0], [1000, 1000], [0, 1000]]}},
          {"id": 3, "type": 55, "props": {"SectionTypeID": 0, "SectionWidth": 1000, "SectionHeight": 600},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 800,
                     "outline": [[0, 0], [1000, 0], [1000, 600], [0, 600]]}}])");
        for (int id : {1, 2}) {
            TFakeSumpEDO& sump = Attach<TFakeSumpEDO>(id);
            sump.solid = ExprBox(2000, 1500, 800);
            sumps_.push_back(&sump);
        }
    }
    TFakeSumpEDO& Sump(int id) { return *sumps_[id - 1]; }

private:
    std::vector<TFakeSumpEDO*> sumps_;
};

TEST_F(TSumpExprTest, Texts)
{
    using THole = std::optional<TVRMPolyhedron3d>;
    const THole hole = ExprBox(1000, 600, 500, 300);  // 500 deep below the body's top
    const THole shallow = ExprBox(1000, 600, 200, 800);
    const THole hexagon = ExprHexagonalPrism(500, 500, 300);
    TVRMPolyhedronShell3d oneRectangle;
    oneRectangle.AddFace(Face({{0, 0, 0}, {2000, 0, 0}, {2000, 1000, 0}, {0, 1000, 0}}));
    // Four upright sides 2000 and 1500 long, 300 high, and a level face 600 x 400.
    TVRMPolyhedronShell3d fiveRectangles;
    fiveRectangles.AddFace(Face({{0, 0, 0}, {2000, 0, 0}, {2000, 0, 300}, {0, 0, 300}}));
    fiveRectangles.AddFace(Face({{2000, 0, 0}, {2000, 1500, 0}, {2000, 1500, 300}, {2000, 0, 300}}));
    fiveRectangles.AddFace(Face({{2000, 1500, 0}, {0, 1500, 0}, {0, 1500, 300}, {2000, 1500, 300}}));
    fiveRectangles.AddFace(Face({{0, 1500, 0}, {0, 0, 0}, {0, 0, 300}, {0, 1500, 300}}));
    fiveRectangles.AddFace(Face({{0, 0, 0}, {0, 600, 0}, {400, 600, 0}, {400, 0, 0}}));
    TVRMPolyhedronShell3d triangle;
    triangle.AddFace(Face({{0, 0, 0}, {1000, 0, 0}, {0, 0, 1000}}));
    TVRMPolyhedronShell3d nineFaces = fiveRectangles;
    for (int i = 0; i < 4; ++i)
        nineFaces.AddFace(triangle.GetFace(0));

    // A row's builder run with the hole given to the sump first.
    const auto with = [this](THole hole, std::function<void(IRDXRecord*)> build) {
        return [this, hole, build](IRDXRecord* r) {
            Sump(r->GetID()).hole = hole;
            build(r);
        };
    };
    const auto volume = [](IRDXRecord* r) { TQTKSumpExprHandler::BuildSumpVolExpr(r); };
    const auto sides = [](double area) {
        return [area](IRDXRecord* r) { TQTKSumpExprHandler::BuildSumpHoleSideFormboardAreaExpr(r, area); };
    };
    const auto level = [](const TVRMPolyhedronShell3d* shell, double area) {
        return [shell, area](IRDXRecord* r) { TQTKSumpExprHandler::BuildSumpBottomHorizonAreaExpr(r, shell, area); };
    };
    const auto vertical = [](const TVRMPolyhedronShell3d* shell) {
        return [shell](IRDXRecord* r) { TQTKSumpExprHandler::BuildSumpBottomVerticalAreaExpr(r, shell); };
    };
    const auto holeBottom = [](IRDXRecord* r) { TQTKSumpExprHandler::BuildSumpHoleBottomFormboardAreaExpr(r, 0.6e6); };
    ExpectTexts({
        {"body without a hole", 1, with(std::nullopt, volume), "2<长度>*1.5<宽度>*0.8<高度>"},
        {"body less its hole", 1, with(hole, volume), "2<长度>*1.5<宽度>*0.8<高度>-1<长度>*0.6<宽度>*0.5<高度>"},
        {"a hole of depth 0", 1, with(shallow, volume), "2<长度>*1.5<宽度>*0.8<高度>"},
        {"hole measured as a box", 2, with(hole, volume), "2<长度>*1.5<宽度>*0.8<高度>-1<长度>*0.6<宽度>*0.5<高度>"},
        {"hole measured as a prism", 2, with(hexagon, volume), "2<长度>*1.5<宽度>*0.8<高度>-0.6495<面积>*0.5<高度>"},
        {"hole sides", 1, with(hole, sides(1.6e6)), "(0.6<洞口长度>+1<洞口宽度>)*2*0.5<洞口高度>"},
        {"hole sides, another area", 1, with(hole, sides(1.7e6)), "(none)"},
        {"hole bottom", 1, with(hole, holeBottom), "0.6<洞口长度>*1<洞口宽度>"},
        {"bottom widened by the outside", 1, with(hole, level(nullptr, 0.96e6)), "0.8<长度>*1.2<宽度>"},
        {"bottom by the shell's rectangle", 1, with(hole, level(&oneRectangle, 2e6)), "2<长度>*1<宽度>"},
        {"bottom by the body's outline", 2, with(hole, level(nullptr, 1e6)), "1*1"},
        {"five rectangles under the sump", 1, with(hole, vertical(&fiveRectangles)),
         "2<长度>*0.3<宽度>+1.5<长度>*0.3<宽度>+2<长度>*0.3<宽度>+1.5<长度>*0.3<宽度>+0.4<长度>*0.6<宽度>"},
        {"a face that is no rectangle", 1, with(hole, vertical(&triangle)), "0.5<面积>"},
        {"nine faces", 1, with(hole, vertical(&nineFaces)), "(none)"},
        {"not a sump", 3, holeBottom, "(none)"},
    });
}

TEST_F(TSumpExprTest, NothingWithoutExpressionMode)
{
    Sump(1).hole = ExprBox(1000, 600, 500, 300);
    TVRMPolyhedronShell3d shell;
    shell.AddFace(Face({{0, 0, 0}, {2000, 0, 0}, {2000, 0, 300}, {0, 0, 300}}));
    IRDXRecord* sump = Record(1);
    StartQty(sump, false);
    TQTKSumpExprHandler::BuildSumpVolExpr(sump);
    TQTKSumpExprHandler::BuildSumpHoleSideFormboardAreaExpr(sump, 1.6e6);
    TQTKSumpExprHandler::BuildSumpHoleBottomFormboardAreaExpr(sump, 0.6e6);
    TQTKSumpExprHandler::BuildSumpBottomHorizonAreaExpr(sump, nullptr, 0.96e6);
    TQTKSumpExprHandler::BuildSumpBottomVerticalAreaExpr(sump, &shell);
    EXPECT_EQ(Text(sump), "(none)");
}

}  // namespace
