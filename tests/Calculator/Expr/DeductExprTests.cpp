// Deducted-shell texts and items, part orientation and merging, and the
// direction the first size of a part runs along.
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "Calculator/Common/QTKCalculatorDeductExprDirection.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

struct TFaceSize {
    double length, height;
};

// Vertical rectangles standing side by side along x, one per size (mm).
TVRMPolyhedronShell3d Rectangles(std::vector<TFaceSize> sizes)
{
    TVRMPolyhedronShell3d shell;
    double y = 0.0;
    for (const TFaceSize& s : sizes) {
        shell.AddFace(TVRMCustomLine2d({0, y}, {s.length, y}), true, 0, s.height, 0, s.height);
        y += 1000.0;
    }
    return shell;
}

// One vertical trapezoid of 1.5 m²: not a rectangle.
TVRMPolyhedronShell3d Trapezoid()
{
    TVRMPolyhedronShell3d shell;
    shell.AddFace(TVRMCustomLine2d({0, 0}, {1500, 0}), true, 0, 500, 0, 1500);
    return shell;
}

struct TItem {
    bool shell;  // a shell part item, else a value item
    double value;
    double factor;
};

class TDeductExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 0, "props": {"Thickness": 240},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 0, "top": 3000}},
          {"id": 2, "type": 25, "props": {"SectionWidth": 400, "SectionHeight": 400},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400], "rotation": 30, "bottom": 0, "top": 3000}},
          {"id": 3, "type": 25, "props": {"SectionWidth": 300, "SectionHeight": 600},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [300, 600], "rotation": 30, "bottom": 0, "top": 3000}},
          {"id": 4, "type": 25, "props": {"SectionWidth": 600, "SectionHeight": 300},
           "shape": {"kind": "point", "insertPt": [0, 0], "size": [300, 600], "rotation": 30, "bottom": 0, "top": 3000}},
          {"id": 5, "type": 20, "props": {"Len": 6000, "Width": 4000},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 120,
                     "outline": [[0, 0], [6000, 0], [6000, 2000], [4000, 2000], [4000, 4000], [0, 4000]]}},
          {"id": 6, "type": 20, "props": {"Len": 4000, "Width": 6000},
           "shape": {"kind": "point", "insertPt": [0, 0], "bottom": 0, "top": 120,
                     "outline": [[0, 0], [6000, 0], [6000, 2000], [4000, 2000], [4000, 4000], [0, 4000]]}},
          {"id": 7, "type": 19, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}}])");
        StartQty(Record(1));
    }
};

TEST_F(TDeductExprTest, TextsAndItems)
{
    struct Case {
        const char* name;
        std::function<TVRMPolyhedronShell3d()> shell;
        double factor;
        bool merge;
        double quantity;
        const char* text;
        std::vector<TItem> items;
    };
    const std::vector<Case> cases{
        {"non-rectangular face", Trapezoid, 1, false, 1.5e6, "1.5<面积>", {{true, 0, 1}}},
        {"empty shell, nothing deducted", [] { return TVRMPolyhedronShell3d(); }, 1, false, 0, "0", {}},
        {"empty shell, quantity stands",
         [] { return TVRMPolyhedronShell3d(); },
         1,
         false,
         1.5e6,
         "1.5",
         {{false, 1.5e6, 1}}},
        {"no common size to merge",
         [] {
             return Rectangles({{2000, 300}, {1000, 400}});
         },
         0.5,
         true,
         500000,
         "1 * 0.5",
         {{false, 1e6, 0.5}}},
        {"three parts of one height merged",
         [] {
             return Rectangles({{2000, 300}, {1000, 300}, {500, 300}});
         },
         0.5,
         true,
         525000,
         "3.5<长度>*0.3<宽度> * 0.5",
         {{true, 0, 0.5}}},
        {"two parts with a coefficient",
         [] {
             return Rectangles({{2000, 300}, {1000, 300}});
         },
         0.5,
         false,
         450000,
         "(2<长度>*0.3<宽度> + 1<长度>*0.3<宽度>) * 0.5",
         {{true, 0, 0.5}, {true, 0, 0.5}}},
        {"parts disagree with the quantity",
         [] {
             return Rectangles({{2000, 300}, {1000, 300}});
         },
         0.5,
         false,
         460000,
         "0.46",
         {{false, 920000, 0.5}}},
        {"coefficient 0: the quantity stands with factor 1",
         [] {
             return Rectangles({{2000, 300}});
         },
         0,
         false,
         460000,
         "0.46",
         {{false, 460000, 1}}},
        {"empty shell and coefficient 0",
         [] { return TVRMPolyhedronShell3d(); },
         0,
         false,
         1.5e6,
         "1.5",
         {{false, 1.5e6, 1}}},
    };
    IRDXRecord* subject = Record(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Items(subject).Clear();
        const TVRMPolyhedronShell3d shell = c.shell();
        std::string text = "stale";
        BuildDeductShellExpr(subject, Record(2), shell, c.factor, true, c.quantity, c.merge, nullptr, text);
        EXPECT_EQ(text, c.text);
        ASSERT_EQ(Items(subject).GetCount(), static_cast<int>(c.items.size()));
        for (int i = 0; i < Items(subject).GetCount(); ++i) {
            const TQTKCalcInternalExprItem* item = Items(subject).GetItems(i);
            EXPECT_EQ(item->GetQtyKey(), "MJ");
            EXPECT_DOUBLE_EQ(item->GetFactor(), c.items[i].factor);
            if (c.items[i].shell) {
                const auto* part = dynamic_cast<const TQTKCalcInternalShellExprItem*>(item);
                ASSERT_NE(part, nullptr);
                EXPECT_EQ(part->GetOtherRecord().get(), Record(2));
            } else {
                const auto* value = dynamic_cast<const TQTKCalcInternalValueItem*>(item);
                ASSERT_NE(value, nullptr);
                EXPECT_NEAR(value->GetValue(), c.items[i].value, 1e-6);
                EXPECT_EQ(value->GetUnitMark(), CQTKUnitArea);
                EXPECT_FALSE(std::isinf(value->GetValue()));
            }
        }
    }
    // Without items the text is the same and the container stays empty.
    Items(subject).Clear();
    std::string text;
    const TVRMPolyhedronShell3d shell = Rectangles({{2000, 300}, {1000, 300}});
    BuildDeductShellExpr(subject, nullptr, shell, 1, false, 900000, false, nullptr, text);
    EXPECT_EQ(text, "2<长度>*0.3<宽度> + 1<长度>*0.3<宽度>");
    EXPECT_EQ(Items(subject).GetCount(), 0);
}

TEST(DeductParts, OrientationPutsTheHorizontalSizeFirst)
{
    TVRMExprInfo3dRecord upright;  // first size vertical
    upright.kind = 1;
    upright.firstSize = 300, upright.secondSize = 2000;
    upright.firstDir = {0, 0, 1}, upright.secondDir = {1, 0, 0};
    OrientDeductPart(upright, {0, 1, 0});
    EXPECT_EQ(upright.firstSize, 2000);
    EXPECT_EQ(upright.firstDir, TVRMVector3d(1, 0, 0));

    // A level face: the size along the direction goes second.
    TVRMExprInfo3dRecord level;
    level.kind = 1;
    level.firstSize = 600, level.secondSize = 400;
    level.firstDir = {0, -1, 0}, level.secondDir = {1, 0, 0};
    OrientDeductPart(level, {0, 1, 0});
    EXPECT_EQ(level.firstSize, 400);
    OrientDeductPart(level, {0, 1, 0});  // now along x: left as it is
    EXPECT_EQ(level.firstSize, 400);

    TVRMExprInfo3dRecord other = upright;
    other.kind = 2;
    OrientDeductPart(other, {1, 0, 0});
    EXPECT_EQ(other.firstSize, upright.firstSize);
}

TEST(DeductParts, MergeByTheCommonSize)
{
    const auto part = [](uint8_t kind, double first, double second) {
        TVRMExprInfo3dRecord p;
        p.kind = kind, p.firstSize = first, p.secondSize = second;
        return p;
    };
    TVRMExprInfo3dArray common{part(1, 2000, 300), part(1, 1000, 300.0005)};
    MergeDeductParts(common, 900000);
    ASSERT_EQ(common.size(), 1u);
    EXPECT_DOUBLE_EQ(common[0].firstSize, 3000);

    TVRMExprInfo3dArray firstCommon{part(1, 500, 300), part(1, 500, 700)};
    MergeDeductParts(firstCommon, 500000);
    ASSERT_EQ(firstCommon.size(), 1u);
    EXPECT_DOUBLE_EQ(firstCommon[0].secondSize, 1000);

    TVRMExprInfo3dArray withFreeFace{part(1, 2000, 300), part(2, 1000, 300)};
    MergeDeductParts(withFreeFace, 900000);
    EXPECT_TRUE(withFreeFace.empty());
}

TEST_F(TDeductExprTest, Directions)
{
    const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
    struct Case {
        const char* name;
        int subject;
        int deducting;
        TVRMVector3d expected;
    };
    const std::vector<Case> cases{
        {"square column: the axis closer to x", 2, 0, {c, s, 0}},
        {"section width along edge 0", 3, 0, {c, s, 0}},
        {"section width along edge 1", 4, 0, {-s, c, 0}},
        {"line element: square to its axis", 1, 0, {0, 1, 0}},
        {"face subject: the deducting column's", 7, 3, {c, s, 0}},
        {"face subject without deducting element", 7, 0, {0, 1, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TVRMVector3d d{9, 9, 9};
        TQTKExprDirectionParser::GetDirection(Record(k.subject), k.deducting ? Record(k.deducting) : nullptr, d);
        EXPECT_TRUE(d.IsEqualTo(k.expected, 1e-9)) << d.x << " " << d.y << " " << d.z;
    }
    // A slab outline that is no rectangle: the box rule.
    TVRMVector3d d;
    TQTKExprDirectionParser::GetPointElementDirection(DrawObj(5), d);
    EXPECT_EQ(d, TVRMVector3d(1, 0, 0));
    TQTKExprDirectionParser::GetPointElementDirection(DrawObj(6), d);
    EXPECT_EQ(d, TVRMVector3d(0, 1, 0));

    try {
        TQTKExprDirectionParser::GetDirection(nullptr, Record(1), d);
        FAIL() << "no assertion";
    } catch (const EQTKAssertionFailed& e) {
        EXPECT_EQ(e.Unit(), "Calculator/Common/QTKCalculatorDeductExprDirection");
    }
}

}  // namespace
