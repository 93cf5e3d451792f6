// The base of elements lying on a wall or column face: side and direction,
// the face line and whether the element's ends stop at free host ends, the
// band lines, plan polygons and cached solids.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKAttachWallFaceEntBaseCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

// A wall-face finish as the finish family will make it: joining wall-face finishes.
class TTestFinishEDO final : public TQTKAttachWallFaceEntBaseCalcEDO {
public:
    using TQTKAttachWallFaceEntBaseCalcEDO::TQTKAttachWallFaceEntBaseCalcEDO;

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({36}); }
};

std::string Num(double v)
{
    return std::to_string(v);
}

// A wall along (x0,0)-(x1,0), centred, 0 to 3000 high.
std::string Wall(int id, double x0, double x1, double thickness)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": )" + Num(thickness) +
           R"(, "Material": "砖"}, "shape": {"kind": "line", "start": [)" + Num(x0) + R"(, 0], "end": [)" + Num(x1) +
           R"(, 0], "bottom": 0, "top": 3000}})";
}

// A wall-face finish on Parent along (x0,y)-(x1,y).
std::string Finish(int id, int parent, double x0, double x1, double y, double thickness)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 36, "floor": 1, "parent": )" + std::to_string(parent) +
           R"(, "props": {"Thickness": )" + Num(thickness) + R"(}, "shape": {"kind": "line", "start": [)" + Num(x0) +
           ", " + Num(y) + "], \"end\": [" + Num(x1) + ", " + Num(y) + R"(], "width": )" +
           Num(thickness > 0 ? thickness : 1) + R"(, "bottom": 0, "top": 3000}})";
}

class TAttachWallFaceTest : public ::testing::Test {
protected:
    void Load(const std::string& elements, std::initializer_list<int> finishes)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        for (int id : finishes) {
            IQTKElementDrawObj* drawObj = building_->DrawObj(id);
            drawObj->SetCalcEDO(Ref<IQTKCalculatorEDO>(new TTestFinishEDO(0, drawObj)).get());
        }
        building_->Activate();
    }
    Ref<IQTKAttachWallFaceEntBaseCalcEDO> Finish(int id) const
    {
        auto finish = RefCast<IQTKAttachWallFaceEntBaseCalcEDO>(GetCalcEDO(building_->Record(id), true));
        EXPECT_TRUE(finish) << "finish " << id;
        return finish;
    }
    static void ExpectLine(const TVRMCustomLine2d& line, double x0, double x1, double y)
    {
        EXPECT_NEAR(line.StartPt().x, x0, 1e-6);
        EXPECT_NEAR(line.EndPt().x, x1, 1e-6);
        EXPECT_NEAR(line.StartPt().y, y, 1e-6);
        EXPECT_NEAR(line.EndPt().y, y, 1e-6);
    }
    std::unique_ptr<TTestBuilding> building_;
};

TEST_F(TAttachWallFaceTest, SideDirectionAndFaceLine)
{
    struct {
        const char* name;
        double x0, x1, y;
        bool left, same;
        double faceX0, faceX1, faceY;
    } const cases[] = {
        {"left face, the wall's way", 1000, 3000, 120, true, true, 1000, 3000, 120},
        {"right face, against the wall's way", 3000, 1000, -120, false, false, 1000, 3000, -120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(1, 0, 6000, 240) + "," + ::Finish(10, 1, c.x0, c.x1, c.y, 20), {10});
        const auto finish = Finish(10);
        EXPECT_EQ(finish->GetHostElementType(), 0);
        EXPECT_EQ(finish->IsOnHostLeftSide(), c.left);
        EXPECT_EQ(finish->IsSameDirectionAsHost(), c.same);
        ExpectLine(*finish->GetFaceLine(), c.faceX0, c.faceX1, c.faceY);
        // The band lies on the side away from the wall: 20 wide.
        EXPECT_NEAR(finish->GetPlanPolygon()->Area(), 2000.0 * 20, 1e-6);
        EXPECT_NEAR(finish->GetHalfPlanPolygon()->Area(), 2000.0 * 10, 1e-6);
        const TVRMBox3d box = finish->GetExtendOriginalPolyhedron()->GetPolyhedron()->GetBox();
        EXPECT_NEAR(c.left ? box.min.y : -box.max.y, 120, 1e-6);
        EXPECT_NEAR(c.left ? box.max.y : -box.min.y, 140, 1e-6);
        EXPECT_NEAR(finish->GetExtendOriginalPolyhedron()->GetPolyhedron()->GetVolume(), 2000.0 * 20 * 3000, 1e-3);
        EXPECT_NEAR(finish->GetHalfBlockPolyhedron()->GetPolyhedron()->GetVolume(), 2000.0 * 10 * 3000, 1e-3);
    }
}

TEST_F(TAttachWallFaceTest, ThicknessZeroGivesTheFaceLineAndNothingElse)
{
    Load(Wall(1, 0, 6000, 240) + "," + ::Finish(10, 1, 1000, 3000, 120, 0), {10});
    const auto finish = Finish(10);
    const TVRMCustomLine2d face = *finish->GetFaceLine();
    ExpectLine(face, 1000, 3000, 120);
    ExpectLine(*finish->GetMidLine(), 1000, 3000, 120);
    ExpectLine(*finish->GetLeftLine(), 1000, 3000, 120);
    ExpectLine(*finish->GetRightLine(), 1000, 3000, 120);
    EXPECT_TRUE(finish->GetPlanPolygon()->IsEmpty());
    EXPECT_TRUE(finish->GetHalfPlanPolygon()->IsEmpty());
    EXPECT_FALSE(finish->GetHalfBlockPolyhedron()->GetPolyhedron()->HasFaces());
    EXPECT_FALSE(finish->GetExtendOriginalPolyhedron()->GetPolyhedron()->HasFaces());
}

TEST_F(TAttachWallFaceTest, FinishOnAColumnKeepsItsOwnLine)
{
    Load(R"({"id": 2, "type": 25, "floor": 1, "props": {"Material": "混凝土"}, "shape": {"kind": "point",
        "insertPt": [200, 200], "size": [400, 400], "bottom": 0, "top": 3000}},)" +
             ::Finish(10, 2, 0, 400, -10, 20),
         {10});
    const auto finish = Finish(10);
    EXPECT_FALSE(finish->IsHostWallType());
    ExpectLine(*finish->GetFaceLine(), 0, 400, -10);
    EXPECT_FALSE(finish->IsStartAtFreeWallEnd());
    EXPECT_FALSE(finish->IsEndAtFreeWallEnd());
    EXPECT_EQ(finish->GetHostInsulatingLayerRecord(), nullptr);
    EXPECT_EQ(finish->GetHostInsulatingLayerThickness(), 0.0);
}

// A lone wall's ends are free: a finish end at the host's end stops there,
// one inside the wall's length does not.
TEST_F(TAttachWallFaceTest, FinishEndsAtTheHostsEnds)
{
    struct {
        const char* name;
        double x0, x1;
        bool startFree, endFree;
    } const cases[] = {
        {"starting exactly at the host start", 0, 3000, true, false},
        {"ending exactly at the host end", 3000, 6000, false, true},
        {"inside the host's length", 1000, 3000, false, false},
        {"the whole face", 0, 6000, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(1, 0, 6000, 240) + "," + ::Finish(10, 1, c.x0, c.x1, 120, 20), {10});
        const auto finish = Finish(10);
        ExpectLine(*finish->GetFaceLine(), c.x0, c.x1, 120);
        EXPECT_EQ(finish->IsStartAtFreeWallEnd(), c.startFree);
        EXPECT_EQ(finish->IsEndAtFreeWallEnd(), c.endFree);
    }
}

// The finish runs on the left face (y = 120) of wall 1 up to its end at
// x = 6000, where wall 3 continues or turns.
TEST_F(TAttachWallFaceTest, ConnectedHostEnds)
{
    struct {
        const char* name;
        std::string neighbour;
        bool endFree;
    } const cases[] = {
        {"a thinner collinear wall whose side lines miss the face line", Wall(3, 6000, 9000, 120), true},
        {"a collinear wall of the same width: its side line meets the face line", Wall(3, 6000, 9000, 240), false},
        {"a perpendicular wall", R"({"id": 3, "type": 0, "floor": 1, "props": {"Thickness": 240, "Material": "砖"},
            "shape": {"kind": "line", "start": [6000, 0], "end": [6000, -4000], "bottom": 0, "top": 3000}})",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(1, 0, 6000, 240) + "," + c.neighbour + "," + ::Finish(10, 1, 3000, 6000, 120, 20), {10});
        const auto finish = Finish(10);
        EXPECT_EQ(finish->IsEndAtFreeWallEnd(), c.endFree);
        EXPECT_FALSE(finish->IsStartAtFreeWallEnd());
    }
}

// Finish 10 on wall 1 meets finish 11 on the collinear wall 3 at x = 6000.
TEST_F(TAttachWallFaceTest, ClearCalcCacheGathersTheNeighboursAgain)
{
    Load(Wall(1, 0, 6000, 240) + "," + Wall(3, 6000, 9000, 240) + "," + ::Finish(10, 1, 3000, 6000, 120, 20) + "," +
             ::Finish(11, 3, 6000, 9000, 120, 20),
         {10, 11});
    const auto finish = Finish(10);
    auto* provider = dynamic_cast<IQTKLineEdoInfoProvider*>(finish.get());
    ASSERT_NE(provider, nullptr);
    const auto before = provider->GetEndLineEdoInfos();
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before.front()->GetID(), 11);
    const bool startFree = finish->IsStartAtFreeWallEnd(), endFree = finish->IsEndAtFreeWallEnd();
    finish->ClearCalcCache();
    const auto after = provider->GetEndLineEdoInfos();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.front()->GetID(), 11);
    EXPECT_EQ(finish->IsStartAtFreeWallEnd(), startFree);
    EXPECT_EQ(finish->IsEndAtFreeWallEnd(), endFree);
}

TEST_F(TAttachWallFaceTest, LineModes)
{
    Load(Wall(1, 0, 6000, 240) + "," + ::Finish(10, 1, 1000, 3000, 120, 20), {10});
    const auto finish = Finish(10);
    EXPECT_EQ(finish->GetLineMode(), 0);
    ExpectLine(finish->GetCalcLine(), 1000, 3000, 130);
    finish->LockGeometry();
    finish->SetLineMode(1);
    ExpectLine(finish->GetCalcLine(), 1000, 3000, 120);
    finish->SetLineMode(0);
    finish->UnlockGeometry();
    finish->SetAuxiliaryFlag(true);
    finish->SetCalcByHostAxisLine(true);
    finish->ClearQtyItems();
    EXPECT_FALSE(finish->IsCalcByHostAxisLine());
}

}  // namespace
