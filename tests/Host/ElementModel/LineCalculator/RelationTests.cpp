#include <gtest/gtest.h>

#include <string>

#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementModel.h"

namespace {

// Storey walls 1 and 2 in an L, wall 3 above wall 2, a sloping wall 4, a wall 5 apart; columns 6
// (storey) and 7 (above) at the L's far end; slab 8 over the storey, slab 9 elsewhere, slab 10
// sloping.
const char* const Elements = R"(
  {"id": 1, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 240, "bottom": 0, "top": 3000}},
  {"id": 2, "type": 0, "shape": {"kind": "line", "start": [5000, 0], "end": [5000, 3000], "width": 240, "bottom": 0, "top": 3000}},
  {"id": 3, "type": 0, "shape": {"kind": "line", "start": [5000, 0], "end": [5000, 3000], "width": 240, "bottom": 3000, "top": 6000}},
  {"id": 4, "type": 0, "shape": {"kind": "line", "start": [0, 1000], "end": [5000, 1000], "width": 240,
    "startBottom": 0, "endBottom": 0, "startTop": 3000, "endTop": 4000}},
  {"id": 5, "type": 0, "shape": {"kind": "line", "start": [0, 2000], "end": [3000, 2000], "width": 240, "bottom": 0, "top": 3000}},
  {"id": 6, "type": 25, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400], "bottom": 0, "top": 3000}},
  {"id": 7, "type": 25, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400], "bottom": 3000, "top": 6000}},
  {"id": 8, "type": 19, "shape": {"kind": "face", "outline": [[-200, -200], [5200, -200], [5200, 3200], [-200, 3200]],
    "elevation": {"kind": "level", "elev": 3120}, "thickness": 120}},
  {"id": 9, "type": 19, "shape": {"kind": "face", "outline": [[9000, 0], [12000, 0], [12000, 3000], [9000, 3000]],
    "elevation": {"kind": "level", "elev": 3120}, "thickness": 120}},
  {"id": 10, "type": 19, "shape": {"kind": "face", "outline": [[-200, -200], [5200, -200], [5200, 3200], [-200, 3200]],
    "elevation": {"kind": "ratio", "edge": 0, "elev": 3120, "ratio": 0.1}, "thickness": 120}}
)";

class Relation : public ::testing::Test {
protected:
    void SetUp() override
    {
        model_ = TQTKElementModel::LoadFromText(
            std::string(
                R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0, "Height": 3.0}], "elements": [)") +
                Elements + "]}",
            ".");
    }
    IQTKElementDrawObj* Obj(int id) const { return model_->FindElement(id); }
    IRDXRecord* Rec(int id) const { return Obj(id)->GetRecord(); }
    const IQTKFaceShape* Face(int id) const { return dynamic_cast<const IQTKFaceShape*>(Obj(id)->GetShape()); }

    Ref<TQTKElementModel> model_;
};

}  // namespace

TEST_F(Relation, LineElevationLevelsAlongTheAxisAndPastItsEnds)
{
    EXPECT_EQ(CompareLineTopElevLevel(Obj(1), Obj(4), {2500, 500}), -1);  // 3000 against 3500
    EXPECT_EQ(CompareLineTopElevLevel(Obj(4), Obj(1), {0, 500}), 0);
    EXPECT_EQ(CompareLineTopElevLevel(Obj(1), Obj(4), {-5000, 500}), 1);  // continued: 2000
    EXPECT_EQ(CompareLineBottomElevLevel(Obj(2), Obj(3), {5000, 0}), -1);
    EXPECT_EQ(CompareLineTopElevLevel(Obj(1), Obj(6), {0, 0}), 0);  // a column is no line element
}

TEST_F(Relation, LineElementsMeetByPlanAndOverlappingHeight)
{
    struct TCase {
        int a, b;
        double overlap;
        bool byLength, meets;
    } const cases[] = {
        {1, 2, 0.1, true, true},    // L on one storey
        {1, 3, 0.1, false, false},  // the wall above only touches
        {2, 3, 0.0, true, true},    // touching is enough without a minimum overlap
        {1, 5, 0.1, true, false},   // same heights, apart in plan
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "-" << c.b);
        EXPECT_EQ(IsLineEntAndLineEntIntByLength(Rec(c.a), Rec(c.b), c.overlap), c.byLength);
        EXPECT_EQ(IsLineEntAndLineEntInt(Rec(c.a), Rec(c.b), c.overlap), c.meets);
        EXPECT_EQ(IsLineEntAndLineEntInt(Rec(c.b), Rec(c.a), c.overlap), c.meets);
    }
    EXPECT_FALSE(IsLineEntAndLineEntInt(Rec(1), Rec(6), 0.1));
    EXPECT_FALSE(IsLineEntAndLineEntInt(nullptr, Rec(1), 0.1));
}

TEST_F(Relation, LineElementsOnEachOthersPosition)
{
    EXPECT_TRUE(IsLineEntOnPosition(Rec(2), Rec(3), true, false));  // continued above
    EXPECT_FALSE(IsLineEntOnPosition(Rec(2), Rec(3), false, true));
    EXPECT_TRUE(IsLineEntOnPosition(Rec(3), Rec(2), false, true));
    EXPECT_FALSE(IsLineEntOnPosition(Rec(1), Rec(5), true, true));  // apart
    EXPECT_FALSE(IsLineEntOnPosition(Rec(1), Rec(6), true, true));  // a column
}

TEST_F(Relation, LineAndPointElements)
{
    EXPECT_TRUE(IsLineEntAndPointEntInt(Rec(1), Rec(6), 0.5));
    EXPECT_FALSE(IsLineEntAndPointEntInt(Rec(1), Rec(7), 0.5));
    EXPECT_FALSE(IsLineEntAndPointEntInt(Rec(5), Rec(6), 0.5));
    // Standing at a floor elevation or reaching a ceiling elevation.
    EXPECT_TRUE(IsLineEntAndPointEntIntOnHeight(Rec(1), Rec(6), true, 0));
    EXPECT_FALSE(IsLineEntAndPointEntIntOnHeight(Rec(1), Rec(6), false, 0));
    EXPECT_TRUE(IsLineEntAndPointEntIntOnHeight(Rec(1), Rec(6), false, 3000));
    EXPECT_FALSE(IsLineEntAndPointEntIntOnHeight(Rec(1), Rec(6), true, 3000));
    // A column meets a wall above it only when touching its top counts.
    EXPECT_TRUE(IsPointEntAndLineEntInt(Rec(6), Rec(1), false, false));
    EXPECT_FALSE(IsPointEntAndLineEntInt(Rec(6), Rec(3), false, true));
    EXPECT_FALSE(IsPointEntAndLineEntInt(Rec(6), Rec(3), false, false));
    EXPECT_TRUE(IsPointEntAndLineEntInt(Rec(7), Rec(1), false, true));
}

TEST_F(Relation, FaceElements)
{
    // Slab 8 spans 3000 to 3120: the storey column and walls touch its bottom, the wall above
    // reaches through it.
    EXPECT_TRUE(IsPointEntAndFaceEntInt(Rec(6), Rec(8), true, false));
    EXPECT_FALSE(IsPointEntAndFaceEntInt(Rec(6), Rec(8), false, true));
    EXPECT_FALSE(IsPointEntAndFaceEntInt(Rec(6), Rec(9), true, true));
    EXPECT_TRUE(IsFaceEntAndLineEntInt(Rec(8), Rec(1), false, true));
    EXPECT_FALSE(IsFaceEntAndLineEntInt(Rec(8), Rec(1), true, false));
    EXPECT_TRUE(IsFaceEntAndLineEntInt(Rec(8), Rec(3), false, false));
    EXPECT_FALSE(IsFaceEntAndLineEntInt(Rec(9), Rec(1), true, true));
}

TEST_F(Relation, SlabOnTopAndSameSurface)
{
    EXPECT_TRUE(IsSlabOnWallTop(Rec(1), Rec(8)));
    EXPECT_TRUE(IsSlabOnWallTop(Rec(6), Rec(8)));
    EXPECT_FALSE(IsSlabOnWallTop(Rec(3), Rec(8)));  // reaches above the slab
    EXPECT_FALSE(IsSlabOnWallTop(Rec(1), Rec(9)));  // not under it
    EXPECT_FALSE(IsSlabOnWallTop(Rec(8), Rec(1)));
    EXPECT_TRUE(IsSameFaceElevInfo(Face(8), Face(8)));
    EXPECT_FALSE(IsSameFaceElevInfo(Face(8), Face(10)));
    EXPECT_TRUE(IsSameFaceElevInfo(Face(8), Face(9)));  // level at the same elevation
    EXPECT_FALSE(IsSameFaceElevInfo(Face(8), nullptr));
}
