// Column, tie column, column base and column cap objects: net elevations
// between a base and a cap, the extended solid cache, projections on walls,
// standing free, finish thicknesses, the tie column's toothing and relation
// solid, and the face groups of stepped bases and frustum caps.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnBaseCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnCapCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTieColumnCalcEDO.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/CalcFrame/ColumnTestModel.h"

namespace {

constexpr double CTol = 1e-3;

class ColumnEDOTest : public TColumnModelTest {};

TEST_F(ColumnEDOTest, NetElevationsBetweenBaseAndCap)
{
    // A 400 column 0..3000 with an 800 base 0..300 below and an 800 cap 2700..3000 above.
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), PointJson(2, 28, 0, 0, 800, 800, 0, 300),
          PointJson(3, 27, 0, 0, 800, 800, 2700, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    EXPECT_DOUBLE_EQ(column->GetCalcBottomElev(), 300);
    EXPECT_DOUBLE_EQ(column->GetCalcTopElev(), 2700);
    const TVRMBox3d box = column->GetOriginalPolyhedron()->GetBox();
    EXPECT_NEAR(box.min.z, 300, CTol);
    EXPECT_NEAR(box.max.z, 2700, CTol);
    EXPECT_NEAR(column->GetVolumeCalc()->GetVolume(), 400.0 * 400 * 2400, 1.0);
    // Side faces: every face but top and bottom; the centre line from top to bottom.
    EXPECT_NEAR(column->GetSideFaceShellCalc()->GetArea(), 1600.0 * 2400, 1.0);
    const TVRMPolyhedronLines3d* centre = column->GetCenterLine3d();
    ASSERT_EQ(centre->GetEdgeCount(), 1);
    EXPECT_NEAR(centre->GetEdge(0).start.z, 2700, CTol);
    EXPECT_NEAR(centre->GetEdge(0).end.z, 300, CTol);
    EXPECT_NEAR(centre->GetEdge(0).start.x, 0, CTol);
}

TEST_F(ColumnEDOTest, ExtendedSolidIsCachedByDistanceModeAndSource)
{
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), WallJson(2, 200, 0, 3000, 0, 240, 0, 3000),
          WallJson(3, -3000, 0, -200, 0, 240, 0, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    auto* extendable = dynamic_cast<IQTKExtendableCalcEdo*>(column.get());
    ASSERT_NE(extendable, nullptr);
    // Distance 0: the original solid itself.
    EXPECT_EQ(extendable->GetExtendedPolyhedron(nullptr, true, 0.0)->GetPolyhedron(), column->GetOriginalPolyhedron());
    // Without a source the whole outline grows: 500 x 500.
    const Ref<IQTKPolyhedron3dIntf> all = extendable->GetExtendedPolyhedron(nullptr, true, 50);
    EXPECT_NEAR(all->GetPolyhedron()->GetVolume(), 500.0 * 500 * 3000, 1.0);
    EXPECT_EQ(extendable->GetExtendedPolyhedron(nullptr, true, 50).get(), all.get());
    const Ref<IQTKPolyhedron3dIntf> a = extendable->GetExtendedPolyhedron(Record(2), true, 50);
    EXPECT_NE(a.get(), all.get());
    EXPECT_EQ(extendable->GetExtendedPolyhedron(Record(2), true, 50).get(), a.get());
    const Ref<IQTKPolyhedron3dIntf> b = extendable->GetExtendedPolyhedron(Record(3), true, 50);
    EXPECT_NE(b.get(), a.get());
    EXPECT_THROW(extendable->GetExtendedPolyhedron(nullptr, true, -1.0), EQTKAssertionFailed);
}

TEST_F(ColumnEDOTest, ProjectionOnAWall)
{
    // Wall 2 passes through the 400 column (0..3000); wall 3 ends on its face; wall 4 misses it.
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), WallJson(2, -3000, 0, 3000, 0, 240, 500, 2800),
          WallJson(3, -200, 2000, -200, 5000, 240, 0, 3000), WallJson(4, 1000, 3000, 5000, 3000, 240, 0, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    const Ref<IQTKSectionPoly> through = column->CalcProjectionOnWall(Record(2));
    ASSERT_TRUE(through);
    // From the first to the last crossing along the wall line (2800..3200),
    // clipped to the wall's 500..2800 within the column's 0..3000.
    const TVRMBox2d box = through->GetPolygon()->Box();
    EXPECT_NEAR(box.min.x, 2800, CTol);
    EXPECT_NEAR(box.max.x, 3200, CTol);
    EXPECT_NEAR(box.min.y, 500, CTol);
    EXPECT_NEAR(box.max.y, 2800, CTol);
    EXPECT_NEAR(through->GetPolygon()->Area(), 400.0 * 2300, CTol);
    EXPECT_EQ(column->CalcProjectionOnWall(Record(2)).get(), through.get());
    EXPECT_FALSE(column->CalcProjectionOnWall(Record(4)));
    EXPECT_FALSE(column->CalcProjectionOnWall(nullptr));
}

TEST_F(ColumnEDOTest, WallTouchingTheOutlineInOnePointGivesNoProjection)
{
    // The wall's middle line ends on the column's left face.
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), WallJson(2, -3000, 0, -200, 0, 240, 0, 3000)});
    EXPECT_FALSE(Edo<IQTKColumnCalculatorEDO>(1)->CalcProjectionOnWall(Record(2)));
}

TEST_F(ColumnEDOTest, StandingFree)
{
    struct Case {
        const char* name;
        std::string wall;
        bool isolated;
    } cases[] = {
        {"no wall", WallJson(2, 5000, 5000, 9000, 5000, 240, 0, 3000), true},
        {"a wall wholly above", WallJson(2, -3000, 0, 3000, 0, 240, 3000, 6000), true},
        {"a virtual wall through it", WallJson(2, -3000, 0, 3000, 0, 240, 0, 3000, R"(, "Type": 255)"), true},
        {"a wall through it", WallJson(2, -3000, 0, 3000, 0, 240, 0, 3000), false},
        {"a wall against its face", WallJson(2, 200, 0, 3000, 0, 240, 0, 3000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), c.wall});
        EXPECT_EQ(Edo<IQTKColumnCalculatorEDO>(1)->IsIsolated(), c.isolated);
        TearDown();
    }
}

TEST_F(ColumnEDOTest, VirtualWallsAreKeptApartFromTheRelatedList)
{
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), WallJson(2, -3000, 0, 3000, 0, 240, 0, 3000, R"(, "Type": 255)"),
          WallJson(3, -3000, 300, 3000, 300, 240, 0, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    EXPECT_EQ(column->IndexOfRelated(Record(2)), -1);
    EXPECT_NE(column->IndexOfRelated(Record(3)), -1);
    const TRecordList virtualWalls = column->GetRelatedLineEntList();
    ASSERT_EQ(virtualWalls.size(), 1u);
    EXPECT_EQ(virtualWalls[0]->GetID(), 2);
}

TEST_F(ColumnEDOTest, FinishThicknessesWidenPerKeyIdAndSide)
{
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    column->AddFinishThickness(1, 7, 20, 30, 0);
    column->AddFinishThickness(1, 7, 10, 25, 0);
    column->AddFinishThickness(1, 8, 5, 6, 0);
    column->AddFinishThickness(2, 7, 1, 2, 0);
    std::vector<TQTKFinishThick> list;
    column->GetFinishThicknesses(1, 0, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Id, 7);
    EXPECT_FLOAT_EQ(list[0].Low, 10);
    EXPECT_FLOAT_EQ(list[0].High, 30);
    EXPECT_EQ(list[1].Id, 8);
    column->GetFinishThicknesses(1, 1, list);
    EXPECT_TRUE(list.empty());
}

TEST_F(ColumnEDOTest, StoredValuesAndTheSolidCopy)
{
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000)});
    const auto column = Edo<IQTKColumnCalculatorEDO>(1);
    std::weak_ptr<TFloatList> first;
    {
        auto list = std::make_shared<TFloatList>();
        first = list;
        column->SetOverhighValueList(std::move(list));
    }
    column->SetOverhighValueList(std::make_shared<TFloatList>());
    EXPECT_TRUE(first.expired());  // the list it replaced is freed
    column->SetScaffoldHeight(3600);
    EXPECT_DOUBLE_EQ(column->GetScaffoldHeight(), 3600);
    const std::shared_ptr<TVRMPolyhedron3d> copy = column->GetSolidCopy();
    EXPECT_EQ(column->GetSolidCopy(), copy);
    column->ClearQtyItems();
    EXPECT_NE(column->GetSolidCopy(), copy);
}

// ---------------------------------------------------------------------------
// Tie columns

TEST_F(ColumnEDOTest, TieColumnOfType1HasNoToothing)
{
    Load({PointJson(1, 26, 0, 0, 400, 400, 0, 3000, R"(, "Type": 1, "IndentingWidth": 100)"),
          WallJson(2, -3000, 0, 3000, 0, 240, 0, 3000, R"(, "Material": "砖")")});
    const auto tie = Edo<IQTKTieColumnCalculatorEDO>(1);
    EXPECT_EQ(tie->GetIndentingPolyhedron(), nullptr);
    tie->BuildIndentingPolyhedron();
    ASSERT_NE(tie->GetIndentingPolyhedron(), nullptr);
    EXPECT_FALSE(tie->GetIndentingPolyhedron()->HasFaces());
    EXPECT_NEAR(tie->CalcIndentingVolume(1.0)->GetVolume(), 0.0, CTol);
    EXPECT_NEAR(tie->GetRelationPolyhedronIntf()->GetPolyhedron()->GetVolume(), 400.0 * 400 * 3000, 1.0);
}

TEST_F(ColumnEDOTest, TieColumnToothingIntoABlockWall)
{
    // A 400 tie column in a 240 brick wall through it, W = 100: two bands 100 x 240.
    Load({PointJson(1, 26, 0, 0, 400, 400, 0, 3000, R"(, "Type": 0, "IndentingWidth": 100)"),
          WallJson(2, -3000, 0, 3000, 0, 240, 0, 2800, R"(, "Material": "砖")")});
    const auto tie = Edo<IQTKTieColumnCalculatorEDO>(1);
    tie->BuildIndentingPolyhedron();
    EXPECT_NEAR(tie->GetIndentingPolyhedron()->GetVolume(), 2 * 100.0 * 240 * 2800, 1.0);
    EXPECT_NEAR(tie->CalcIndentingVolume(1.0)->GetVolume(), 2 * 100.0 * 240 * 2800, 1.0);
    // Built once: a second factor does not rebuild it.
    EXPECT_EQ(tie->CalcIndentingVolume(2.0), tie->CalcIndentingVolume(1.0));
}

TEST_F(ColumnEDOTest, TieColumnIndentingSolidByRule974)
{
    // A 400 tie column between two brick walls along x whose axes run into it.
    struct Case {
        const char* rows;
        double width;  // of the indenting solid along x
    } cases[] = {
        {R"({"InternalQtyID": 974, "CalcRuleID": 5559})", 500},  // each wall-facing edge out by W / 2
        {R"({"InternalQtyID": 974, "CalcRuleID": 5558})", 600},  // by the whole W
        {R"({"InternalQtyID": 974, "CalcRuleID": 1})", 400},     // the column's own solid
        {"", 400},                                               // no row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        Load({PointJson(1, 26, 0, 0, 400, 400, 0, 3000, R"(, "Type": 0, "IndentingWidth": 100)"),
              WallJson(2, -3000, 0, 0, 0, 240, 0, 3000, R"(, "Material": "砖")"),
              WallJson(3, 0, 0, 3000, 0, 240, 0, 3000, R"(, "Material": "砖")")},
             c.rows);
        const TVRMPolyhedron3d* solid = Edo<IQTKTieColumnCalculatorEDO>(1)->GetIndentingSolid();
        const TVRMBox3d box = solid->GetBox();
        EXPECT_NEAR(box.max.x - box.min.x, c.width, CTol);
        EXPECT_NEAR(box.max.y - box.min.y, 400, CTol);
        EXPECT_NEAR(solid->GetVolume(), c.width * 400 * 3000, 1.0);
        TearDown();
    }
}

TEST_F(ColumnEDOTest, TieColumnRelationSolidSpansOneRange)
{
    // Drawn 0..3000 over a 300 base (net bottom 300), and drawn standing on
    // the base: the relation solid reaches the top either way.
    struct Case {
        double drawnBottom, bottom;
    } cases[] = {{0, 0}, {300, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drawnBottom);
        Load({PointJson(1, 26, 0, 0, 400, 400, c.drawnBottom, 3000, R"(, "Type": 0, "IndentingWidth": 50)"),
              PointJson(2, 28, 0, 0, 800, 800, 0, 300)});
        const auto tie = Edo<IQTKTieColumnCalculatorEDO>(1);
        EXPECT_DOUBLE_EQ(tie->GetCalcBottomElev(), 300);
        const TVRMBox3d box = tie->GetRelationPolyhedronIntf()->GetPolyhedron()->GetBox();
        EXPECT_NEAR(box.min.z, c.bottom, CTol);
        EXPECT_NEAR(box.max.z, 3000, CTol);
        EXPECT_NEAR(box.max.x - box.min.x, 500, CTol);  // the outline grown by "IndentingWidth"
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// Column bases and caps

// A stepped base: [0,1000]^2 x [0,300] under [250,750]^2 x [300,600].
const char* CSteppedSolid = R"("solid": {"vertices": [
    [0,0,0],[1000,0,0],[1000,1000,0],[0,1000,0],[0,0,300],[1000,0,300],[1000,1000,300],[0,1000,300],
    [250,250,300],[750,250,300],[750,750,300],[250,750,300],[250,250,600],[750,250,600],[750,750,600],[250,750,600]],
  "faces": [[0,3,2,1],[0,1,5,4],[1,2,6,5],[2,3,7,6],[3,0,4,7],[4,5,9,8],[5,6,10,9],[6,7,11,10],[7,4,8,11],
    [8,9,13,12],[9,10,14,13],[10,11,15,14],[11,8,12,15],[12,13,14,15]]})";

TEST_F(ColumnEDOTest, SteppedBaseFaceGroups)
{
    struct Case {
        int baseType;
        bool brickModel;
        double formboard;
    } cases[] = {
        {3, true, 1.8e6},    // formwork: the side faces of both steps
        {5, false, 2.04e6},  // formwork: the host's side shell of the base with its 1200 mould to 300
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baseType);
        Load({R"({"id": 1, "type": 28, "floor": 1, "props": {"ColumnBaseType": )" + std::to_string(c.baseType) +
              R"(}, )" + CSteppedSolid +
              R"(, "subSolids": [{"vertices": [[-100,-100,0],[1100,-100,0],[1100,1100,0],[-100,1100,0],
                [-100,-100,300],[1100,-100,300],[1100,1100,300],[-100,1100,300]],
                "faces": [[0,3,2,1],[0,1,5,4],[1,2,6,5],[2,3,7,6],[3,0,4,7],[4,5,6,7]]}]})"});
        const auto base = Edo<IQTKColumnBaseCalculatorEDO>(1);
        base->ClearQtyItems();
        EXPECT_EQ(base->IsBrickModelType(), c.brickModel);
        // Sides: 4 x 1000 x 300 + 4 x 500 x 300, all vertical; the top is the upper step's (the last upward face).
        EXPECT_NEAR(base->GetSideFaceShellCalc()->GetArea(), 1.8e6, 1.0);
        EXPECT_NEAR(base->GetVerticalSideFaceShellCalc()->GetArea(), 1.8e6, 1.0);
        EXPECT_NEAR(base->GetTopFaceShellCalc()->GetArea(), 250000, 1.0);
        EXPECT_NEAR(base->GetBottomFaceShellCalc()->GetArea(), 1e6, 1.0);
        EXPECT_NEAR(base->GetVolumeCalc()->GetVolume(), 1e6 * 300 + 250000.0 * 300, 1.0);
        EXPECT_NEAR(base->GetFormboardShellCalc()->GetArea(), c.formboard, 1.0);
        const auto brick = base->GetBrickModelVolumeCalc();
        if (c.brickModel)
            EXPECT_EQ(brick, nullptr);
        else
            EXPECT_NEAR(brick->GetVolume(), 1200.0 * 1200 * 300, 1.0);
        TearDown();
    }
}

TEST_F(ColumnEDOTest, InvertedFrustumCapFaceGroups)
{
    // 400 square at 2600 widening to 1000 at 3000: sloped sides of slant 500.
    Load({R"({"id": 1, "type": 27, "floor": 1, "props": {"BottomElev": 2600, "TopElev": 3000},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 2600, "top": 3000},
        "solid": {"vertices": [[-200,-200,2600],[200,-200,2600],[200,200,2600],[-200,200,2600],
          [-500,-500,3000],[500,-500,3000],[500,500,3000],[-500,500,3000]],
          "faces": [[0,3,2,1],[0,1,5,4],[1,2,6,5],[2,3,7,6],[3,0,4,7],[4,5,6,7]]}})"});
    const auto cap = Edo<IQTKColumnCapCalculatorEDO>(1);
    EXPECT_NEAR(cap->GetTopFaceShellCalc()->GetArea(), 160000, 1.0);                  // slot 52: lowest level face
    EXPECT_NEAR(cap->GetSideFaceShellCalc()->GetArea(), 4 * 350000.0, 1.0);           // slot 51: the sloped faces
    EXPECT_NEAR(cap->CreateFormboardShell()->GetArea(), 4 * 350000.0 + 160000, 1.0);  // slot 57: all but the top
    EXPECT_NEAR(cap->GetFormboardShellCalc()->GetArea(), 4 * 350000.0 + 160000, 1.0);
    const auto volume = cap->GetVolumeCalc();
    cap->ClearQtyItems();
    EXPECT_NE(cap->GetVolumeCalc(), volume);
}

TEST_F(ColumnEDOTest, FactoryMakesTheColumnFamily)
{
    Load({PointJson(1, 25, 0, 0, 400, 400, 0, 3000), PointJson(2, 26, 5000, 0, 400, 400, 0, 3000),
          PointJson(3, 27, 10000, 0, 800, 800, 2700, 3000), PointJson(4, 28, 15000, 0, 800, 800, 0, 300)});
    EXPECT_TRUE(Edo<IQTKColumnCalculatorEDO>(1));
    EXPECT_FALSE(RefCast<IQTKTieColumnCalculatorEDO>(GetCalcEDO(Record(1), true)));
    EXPECT_TRUE(Edo<IQTKTieColumnCalculatorEDO>(2));
    EXPECT_TRUE(Edo<IQTKColumnCapCalculatorEDO>(3));
    EXPECT_TRUE(Edo<IQTKColumnBaseCalculatorEDO>(4));
}

}  // namespace
