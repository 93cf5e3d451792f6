// Column routines: the wall pieces opposite a column and the toothing built
// from them, the closed-chain bands, the material test for indenting, the
// widened wall solids and the count of wall faces an element meets.
#include <gtest/gtest.h>

#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/ColumnTestModel.h"

namespace {

constexpr double CTol = 1e-3;

class ColumnRoutineTest : public TColumnModelTest {};

TEST_F(ColumnRoutineTest, ColumnAcrossABlockWallGivesPiecesOnlyFromItsCrossingEdges)
{
    // A 400 column centred on a 240 wall along x: the edges x = +-200 cross the
    // wall, the edges y = +-200 run along it outside.
    Load({WallJson(1, -3000, 0, 3000, 0, 240, 0, 3000, R"(, "Material": "砖")"),
          PointJson(2, 26, 0, 0, 400, 400, 0, 3000)});
    TQTKWallPieces pieces;
    CollectWallPiecesOppositeColumn(Record(2), Record(1), pieces);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_FALSE(pieces[0]);
    ASSERT_TRUE(pieces[1]);
    EXPECT_FALSE(pieces[2]);
    ASSERT_TRUE(pieces[3]);
    EXPECT_NEAR(pieces[1]->Length(), 240, CTol);
    EXPECT_NEAR(pieces[1]->StartPt().x, 200, CTol);
    EXPECT_NEAR(pieces[3]->StartPt().x, -200, CTol);

    // Each piece becomes a band of width W outside the column face, clipped to the wall.
    struct Case {
        double w, height, bottom;
    } cases[] = {{100, 3000, 0}, {60, 1000, 500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        const auto solid = BuildIndentingSolid(Record(2), Record(1), c.height, c.bottom, c.w);
        ASSERT_TRUE(solid);
        EXPECT_NEAR(solid->GetVolume(), 2 * c.w * 240 * c.height, 1.0);
        const TVRMBox3d box = solid->GetBox();
        EXPECT_NEAR(box.min.x, -200 - c.w, CTol);
        EXPECT_NEAR(box.max.x, 200 + c.w, CTol);
        EXPECT_NEAR(box.min.y, -120, CTol);
        EXPECT_NEAR(box.max.y, 120, CTol);
        EXPECT_NEAR(box.min.z, c.bottom, CTol);
        EXPECT_NEAR(box.max.z, c.bottom + c.height, CTol);
    }
}

TEST_F(ColumnRoutineTest, ColumnBesideAWallGivesNoToothing)
{
    Load({WallJson(1, -3000, 0, 3000, 0, 240, 0, 3000), PointJson(2, 26, 0, 1000, 400, 400, 0, 3000)});
    EXPECT_EQ(BuildIndentingSolid(Record(2), Record(1), 3000, 0, 100), nullptr);
}

TEST(ColumnRoutines, ClosedChainGivesTwoRings)
{
    // The square chain 0..400 closed on itself, counter-clockwise, W = 100.
    TVRMLines2d chain;
    for (const TVRMPoint2d& p : {TVRMPoint2d{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}})
        chain.Add(p);
    TVRMMultiPolygon2d polygons;
    BuildClosedIndentPolygons(polygons, chain, 100);
    ASSERT_EQ(polygons.GetCount(), 2);
    // The chain reversed (a hole of the band) and the chain moved outward, mitred all round.
    EXPECT_NEAR(polygons.GetItems(0).SignArea(), -160000, CTol);
    EXPECT_NEAR(polygons.GetItems(1).SignArea(), 360000, CTol);
    EXPECT_NEAR(polygons.Area(), 200000, CTol);
}

TEST(ColumnRoutines, CrossingOfParallelLinesIsAnAssertion)
{
    const TVRMCustomLine2d a({0, 0}, {1000, 0});
    const TVRMCustomLine2d b({0, 100}, {1000, 100});
    EXPECT_THROW(IntersectWithEndRay({0, 0}, a, b, true), EQTKAssertionFailed);
    const TVRMLines2d ray = IntersectWithEndRay({0, 0}, a, TVRMCustomLine2d({500, -50}, {500, 50}), true);
    ASSERT_EQ(ray.GetCount(), 2);
    EXPECT_NEAR(ray.Vertices()[1].pt.x, 500, CTol);
}

TEST_F(ColumnRoutineTest, ConcreteForIndentingByMaterialRow)
{
    Load({WallJson(1, 0, 0, 6000, 0, 240, 0, 3000, R"(, "Material": "砖")"),
          WallJson(2, 0, 2000, 6000, 2000, 240, 0, 3000, R"(, "Material": "预制混凝土板")"),
          WallJson(3, 0, 4000, 6000, 4000, 240, 0, 3000, R"(, "Material": "现浇混凝土")"),
          WallJson(4, 0, 6000, 6000, 6000, 240, 0, 3000, R"(, "Material": "C30")"),
          WallJson(5, 0, 8000, 6000, 8000, 240, 0, 3000, R"(, "Material": "加气块")"),
          WallJson(6, 0, 10000, 6000, 10000, 240, 0, 3000, R"(, "Material": "无此材料")"),
          WallJson(7, 0, 12000, 6000, 12000, 240, 0, 3000, R"(, "Material": "砼墙")"),
          WallJson(8, 0, 14000, 6000, 14000, 240, 0, 3000),
          R"({"id": 9, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
              "shape": {"kind": "face", "outline": [[0, 20000], [1000, 20000], [1000, 21000], [0, 21000]]}})"},
         "",
         R"({"ElementTypeID": 0, "Description": "砖", "HasIndenting": 0, "Type": 0},
            {"ElementTypeID": 0, "Description": "预制混凝土板", "HasIndenting": 1, "Type": -1},
            {"ElementTypeID": 0, "Description": "现浇混凝土", "HasIndenting": 1, "Type": -1},
            {"ElementTypeID": 0, "Description": "c30", "HasIndenting": 1, "Type": 0},
            {"ElementTypeID": 0, "Description": "加气块", "HasIndenting": 1, "Type": 2},
            {"ElementTypeID": 0, "Description": "砼墙", "Type": -1})");
    struct Case {
        int id;
        bool concrete;
        const char* why;
    } cases[] = {
        {1, false, "HasIndenting 0: indentable, whatever the type"},
        {2, false, "type -1, names concrete but precast"},
        {3, true, "type -1, cast concrete"},
        {4, true, "type 0 (description compared without case)"},
        {5, false, "another type"},
        {6, false, "no row"},
        {7, false, "HasIndenting present but null reads 0: indentable"},
        {8, false, "a wall without material"},
        {9, true, "a slab without material"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(IsConcreteForIndenting(DrawObj(c.id)), c.concrete) << c.id;
    }
    EXPECT_TRUE(IsIndentableWall(Record(1)));
    EXPECT_FALSE(IsIndentableWall(Record(3)));
    EXPECT_FALSE(IsIndentableWall(Record(9)));
}

TEST_F(ColumnRoutineTest, WidenedWallSolids)
{
    Load({WallJson(1, 0, 0, 6000, 0, 240, 0, 3000)});
    struct Case {
        bool byDistance;
        double value, halfWidth;
    } cases[] = {{false, 0, 120}, {false, 1.5, 480}, {true, 100, 220}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const auto solid = c.byDistance ? BuildWallWidenedSolidByDistance(Record(1), c.value)
                                        : BuildWallWidenedSolid(Record(1), c.value);
        const TVRMBox3d box = solid->GetBox();
        EXPECT_NEAR(box.min.y, -c.halfWidth, CTol);
        EXPECT_NEAR(box.max.y, c.halfWidth, CTol);
        EXPECT_NEAR(box.min.x, 0, CTol);
        EXPECT_NEAR(box.max.x, 6000, CTol);
        EXPECT_NEAR(solid->GetVolume(), 2 * c.halfWidth * 6000 * 3000, 1.0);
    }
}

TEST_F(ColumnRoutineTest, WallFacesMeetingAnElement)
{
    // A 200 wall along x (faces y = +-100) ending at x = 5000.
    Load({WallJson(1, 0, 0, 5000, 0, 200, 0, 3000), PointJson(2, 25, 5000, 150, 400, 400, 0, 3000),
          PointJson(3, 25, 2500, 0, 400, 400, 0, 3000), PointJson(4, 25, 2500, 2000, 400, 400, 0, 3000)});
    struct Case {
        int column, count;
    } cases[] = {{2, 1}, {3, 2}, {4, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(CountSideLinesMeetingLine(Record(c.column), Record(1)), c.count) << c.column;
}

}  // namespace
