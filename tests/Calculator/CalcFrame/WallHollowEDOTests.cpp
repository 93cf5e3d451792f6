// Element objects of doors, windows, door-windows, openings, alcoves and
// dormer windows: cutting solids by frame, footprints across the wall,
// alcove niches, relation solids, outlines on a wall (cached per wall, kept
// consistent over preparation and threads), original details, the dormer's
// parametric formulas, and the sample building's window.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr double CTol = 1e-6;
constexpr double CVolTol = 1.0;  // mm3

std::string Num(double v)
{
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

// A wall (id) along (x0,y0)-(x1,y1), Thickness wide, its axis AxisOffset from its left face, from 0 to 3000.
std::string Wall(int id, double x0, double y0, double x1, double y1, double thickness = 200, double axisOffset = 100,
                 const std::string& extraShape = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": )" + Num(thickness) +
           R"(, "AxisOffset": )" + Num(axisOffset) +
           R"(, "BottomElev": 0, "TopElev": 3000}, "shape": {"kind": "line", "start": [)" + Num(x0) + ", " + Num(y0) +
           "], \"end\": [" + Num(x1) + ", " + Num(y1) + "]" + extraShape + "}}";
}

// An opening (id, type) in wall Parent at At along its axis, Width x Height from Bottom; Props added to its own.
std::string Opening(int id, int type, int parent, double at, double width, double height, double bottom,
                    const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1, "parent": )" +
           std::to_string(parent) + R"(, "props": {"OpeningWidth": )" + Num(width) + R"(, "OpeningHeight": )" +
           Num(height) + R"(, "BottomElev": )" + Num(bottom) + (props.empty() ? "" : ", " + props) +
           R"(}, "shape": {"kind": "opening", "at": )" + Num(at) + "}}";
}

class TWallHollowTest : public ::testing::Test {
protected:
    void Load(const std::string& elements)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate();
    }
    void LoadFile(const std::filesystem::path& file)
    {
        building_ = TTestBuilding::FromFile(file);
        building_->Activate();
    }
    void TearDown() override
    {
        SetDeductDetailContainer(nullptr);
        building_.reset();
    }
    IRDXRecord* Record(int id) const { return building_->Record(id); }
    template <class T>
    Ref<T> Edo(int id) const
    {
        Ref<T> edo = RefCast<T>(GetCalcEDO(Record(id), true));
        EXPECT_TRUE(edo) << "element " << id;
        return edo;
    }

    std::unique_ptr<TTestBuilding> building_;
};

struct TBox {
    double x0, x1, y0, y1, z0, z1;
};

void ExpectBox(const TVRMBox3d& box, const TBox& expected)
{
    EXPECT_NEAR(box.min.x, expected.x0, CTol);
    EXPECT_NEAR(box.max.x, expected.x1, CTol);
    EXPECT_NEAR(box.min.y, expected.y0, CTol);
    EXPECT_NEAR(box.max.y, expected.y1, CTol);
    EXPECT_NEAR(box.min.z, expected.z0, CTol);
    EXPECT_NEAR(box.max.z, expected.z1, CTol);
}

void ExpectBox2d(const TVRMBox2d& box, double x0, double x1, double y0, double y1)
{
    EXPECT_NEAR(box.min.x, x0, CTol);
    EXPECT_NEAR(box.max.x, x1, CTol);
    EXPECT_NEAR(box.min.y, y0, CTol);
    EXPECT_NEAR(box.max.y, y1, CTol);
}

// ---------------------------------------------------------------------------
// Cutting solids

struct TCutCase {
    const char* name;
    int type;
    double width, height, bottom;
    std::string props;
    double wallAxisOffset;  // the 200 wall's axis from its left face
    bool empty;
    TBox box;
    double volume;
};

TEST_F(TWallHollowTest, CuttingSolidsByFrame)
{
    // A 200 wall along +x from (0, 0); the opening centred at 3000. Across
    // the wall the band is 8 x 200 = 1600 wide, 700 beyond each face.
    const std::string frame60 = R"("FillingWidth": 60, "FillingHeight": 60)";
    // Door 900 wide centred at 3000 - 750, window 1500 wide centred at 3000 + 450.
    const std::string doorWin = R"("SectionTypeID": 4, "WinWidth": 1500, "WinAboveFloorHeight": 900)";
    const std::string doorWinFrames =
        R"("DoorFillingWidth": 60, "DoorFillingHeight": 60, "WinFillingWidth": 60, "WinFillingHeight": 60)";
    // clang-format off
    const TCutCase cases[] = {
        {"window: half the frame on every side", 5, 1500, 1500, 900, frame60, 100, false,
         {2280, 3720, -800, 800, 930, 2370}, 1440.0 * 1600 * 1440},
        {"door: no frame at the threshold, the whole frame at the head", 4, 1500, 1500, 900, frame60, 100, false,
         {2280, 3720, -800, 800, 900, 2340}, 1440.0 * 1600 * 1440},
        {"door without frame properties: the whole opening", 4, 900, 2100, 0, "", 100, false,
         {2550, 3450, -800, 800, 0, 2100}, 900.0 * 1600 * 2100},
        {"plain opening as a window", 7, 1000, 1000, 1000, R"("FillingWidth": 100, "FillingHeight": 40)", 100, false,
         {2550, 3450, -800, 800, 1020, 1980}, 900.0 * 1600 * 960},
        {"alcove as a window, through the wall", 13, 1200, 600, 1500, R"("Depth": 80)", 100, false,
         {2400, 3600, -800, 800, 1500, 2100}, 1200.0 * 1600 * 600},
        {"axis on the wall's left face: 700 beyond each face", 5, 1500, 1500, 900, "", 0, false,
         {2250, 3750, -900, 700, 900, 2400}, 1500.0 * 1600 * 1500},
        {"window drawn with its own section: its own solid", 5, 1500, 1500, 900, R"("SectionTypeID": 3, )" + frame60,
         100, false, {2250, 3750, -100, 100, 900, 2400}, 1500.0 * 200 * 1500},
        {"door-window without a door beside a window: its own solid", 6, 2400, 2100, 0,
         R"("SectionTypeID": 0, "WinWidth": 1500)", 100, false, {1800, 4200, -100, 100, 0, 2100}, 2400.0 * 200 * 2100},
        {"frame as wide as the opening: empty", 5, 1500, 1500, 900, R"("FillingWidth": 1500)", 100, true, {}, 0},
        {"frame as high as the opening: empty", 5, 1500, 1500, 900, R"("FillingHeight": 1500)", 100, true, {}, 0},
        {"door with a frame as high as the door: empty", 4, 900, 2100, 0, R"("FillingHeight": 2100)", 100, true, {}, 0},
        // The window's sill 900 - 0 above the door's bottom.
        {"door-window, no frames", 6, 2400, 2100, 0, doorWin + R"(, "DoorAboveFloorHeight": 0)", 100, false,
         {1800, 4200, -800, 800, 0, 2100}, 900.0 * 1600 * 2100 + 1500.0 * 1600 * 1200},
        {"door-window, sill less the door's own height above the floor", 6, 2400, 2100, 0,
         doorWin + R"(, "DoorAboveFloorHeight": 300)", 100, false,
         {1800, 4200, -800, 800, 0, 2100}, 900.0 * 1600 * 2100 + 1500.0 * 1600 * 1500},
        // Door [1830, 2670] x [0, 2040]; window [2730, 4170] x [930, 2070].
        {"door-window with frames", 6, 2400, 2100, 0, doorWin + ", " + doorWinFrames, 100, false,
         {1830, 4170, -800, 800, 0, 2070}, 840.0 * 1600 * 2040 + 1440.0 * 1600 * 1140},
    };
    // clang-format on
    for (const TCutCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(1, 0, 0, 6000, 0, 200, c.wallAxisOffset) + ", " +
             Opening(2, c.type, 1, 3000, c.width, c.height, c.bottom, c.props));
        const auto hollow = Edo<IQTKWallHollowCalcEDO>(2);
        ASSERT_TRUE(hollow);
        const TVRMPolyhedron3d* solid = hollow->GetCutSolid();
        ASSERT_TRUE(solid);
        EXPECT_EQ(hollow->GetCutSolid(), solid) << "built once";
        if (c.empty) {
            EXPECT_FALSE(solid->HasFaces());
            continue;
        }
        ExpectBox(solid->GetBox(), c.box);
        EXPECT_NEAR(solid->GetVolume(), c.volume, CVolTol);
    }
}

TEST_F(TWallHollowTest, CuttingSolidTakesTheClearOpeningOutOfItsWall)
{
    // What a deduction by frame removes from the wall: the clear opening
    // through the whole 240 wall, 1440 x 1440 x 240.
    Load(Wall(1, 0, 0, 6000, 0, 240, 120) + ", " +
         Opening(2, 5, 1, 3000, 1500, 1500, 900, R"("FillingWidth": 60, "FillingHeight": 60)"));
    const auto window = Edo<IQTKWallHollowCalcEDO>(2);
    ASSERT_TRUE(window);
    std::unique_ptr<TVRMPolyhedron3d> wall = GetCalcEDO(Record(1), true)->GetOriginalPolyhedron()->Clone();
    ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(*wall, *window->GetCutSolid(), 0));
    EXPECT_NEAR(wall->GetVolume(), 1440.0 * 1440 * 240, CVolTol);
}

TEST_F(TWallHollowTest, WallVolumeBooksTheCuttingSolidOnce)
{
    // The wall's volume keeps its window until a deduction by frame books
    // the clear opening (1440 x 1440 x 240), once; the frame stays in the wall.
    Load(Wall(1, 0, 0, 6000, 0, 240, 120) + ", " +
         Opening(2, 5, 1, 3000, 1500, 1500, 900, R"("FillingWidth": 60, "FillingHeight": 60)"));
    const auto wall = Edo<IQTKWallCalcEDO>(1);
    const auto window = Edo<IQTKWallHollowCalcEDO>(2);
    ASSERT_TRUE(wall && window);
    const std::shared_ptr<TQTKSolidCalc3d> volume = wall->GetVolumeCalc();
    ASSERT_TRUE(volume);
    const double gross = 6000.0 * 240 * 3000;
    const double clear = 1440.0 * 1440 * 240;
    EXPECT_NEAR(volume->GetVolume(), gross, CVolTol);
    EXPECT_NEAR(volume->Subtract(*window->GetCutSolid(), Record(2), nullptr, false, false), clear, CVolTol);
    EXPECT_NEAR(volume->Subtract(*window->GetCutSolid(), Record(2), nullptr, false, false), 0, CVolTol);
    EXPECT_NEAR(volume->GetVolume(), gross - clear, CVolTol);
}

TEST_F(TWallHollowTest, FactoryGivesEachOpeningKindItsObject)
{
    Load(Wall(1, 0, 0, 9000, 0) + ", " + Opening(4, 4, 1, 1000, 900, 2100, 0) + ", " +
         Opening(5, 5, 1, 3000, 900, 900, 900) + ", " + Opening(6, 6, 1, 5000, 900, 2100, 0) + ", " +
         Opening(7, 7, 1, 7000, 900, 900, 900) + ", " + Opening(13, 13, 1, 8500, 600, 600, 900) +
         R"(, {"id": 11, "type": 11, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 5000],
               "size": [1000, 1000], "bottom": 0, "top": 1000}})");
    EXPECT_TRUE(Edo<IQTKDoorCalcEDO>(4));
    EXPECT_TRUE(Edo<IQTKWindowCalcEDO>(5));
    EXPECT_TRUE(Edo<IQTKDoorWinCalcEDO>(6));
    EXPECT_TRUE(Edo<IQTKOpeningCalcEDO>(7));
    EXPECT_TRUE(Edo<IQTKAlcoveCalcEDO>(13));
    EXPECT_TRUE(Edo<IQTKDormerWinCalcEDO>(11));
    EXPECT_FALSE(RefCast<IQTKWallHollowCalcEDO>(GetCalcEDO(Record(11), true))) << "a dormer is no wall opening";
}

// ---------------------------------------------------------------------------
// Footprints

struct TPlanCase {
    const char* name;
    int type;
    const char* props;
    double axisOffset;
    double y0, y1;
};

TEST_F(TWallHollowTest, PlanPolygonsAcrossTheWall)
{
    // A 200 wall along +x from (0, 0); the opening 1500 wide at 3000.
    // Openings cover the whole thickness over the full width (frames not
    // subtracted). An alcove's insertion point lies on the axis: with the
    // axis on the left face it is left of the middle line, so its niche runs
    // from the left face (y = 0) "Depth" into the wall; with the axis on the
    // right face, from the right face.
    const TPlanCase cases[] = {
        {"window, centred axis", 5, R"("FillingWidth": 60)", 100, -100, 100},
        {"door, axis on the left face", 4, "", 0, -200, 0},
        {"alcove left of the middle line", 13, R"("Depth": 80)", 0, -80, 0},
        {"alcove right of the middle line", 13, R"("Depth": 80)", 200, 0, 80},
    };
    for (const TPlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Wall(1, 0, 0, 6000, 0, 200, c.axisOffset) + ", " + Opening(2, c.type, 1, 3000, 1500, 1500, 900, c.props));
        const auto hollow = Edo<IQTKWallHollowCalcEDO>(2);
        const TVRMMultiPolygon2d* plan = hollow->GetPlanPolygon();
        ASSERT_TRUE(plan);
        ASSERT_EQ(plan->GetCount(), 1);
        EXPECT_EQ(hollow->GetPlanPolygon(), plan) << "built once";
        ExpectBox2d(plan->Box(), 2250, 3750, c.y0, c.y1);
        EXPECT_NEAR(plan->Area(), 1500 * (c.y1 - c.y0), CTol);
    }
}

TEST_F(TWallHollowTest, AlcoveOnAWallDrawnBackwards)
{
    // Wall from (6000, 0) to (0, 0), axis on its left face (y = 0, the wall
    // lies in y from 0 to 200): the insertion point is left of the middle line.
    Load(Wall(1, 6000, 0, 0, 0, 200, 0) + ", " + Opening(2, 13, 1, 3000, 1200, 600, 900, R"("Depth": 120)"));
    const TVRMMultiPolygon2d* plan = Edo<IQTKWallHollowCalcEDO>(2)->GetPlanPolygon();
    ASSERT_TRUE(plan);
    ExpectBox2d(plan->Box(), 2400, 3600, 0, 120);
}

// ---------------------------------------------------------------------------
// Relation solids

TEST_F(TWallHollowTest, RelationSolidReachesThroughTheWall)
{
    struct TRelationCase {
        const char* name;
        std::string wall;
        double depth;  // across: the wall's width and the extension on each side
    } cases[] = {
        {"straight wall: an eighth of its width beyond each face", Wall(1, 0, 0, 6000, 0, 240, 120), 240 + 2 * 30.0},
        {"arc wall: half its width beyond each face", Wall(1, 0, 0, 6000, 0, 240, 120, R"(, "mid": [3000, 1500])"),
         240 + 2 * 120.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.wall + ", " + Opening(2, 5, 1, 1000, 1000, 1200, 900));
        const auto edo = GetCalcEDO(Record(2), true);
        const Ref<IQTKPolyhedron3dIntf> relation = edo->GetRelationPolyhedronIntf();
        EXPECT_NEAR(relation->GetPolyhedron()->GetVolume(), 1000 * 1200 * c.depth, CVolTol);
    }
}

TEST_F(TWallHollowTest, OpeningWithoutHostWall)
{
    // A window drawn on its own (no parent): it cuts with its own solid, its
    // relation solid is its own, and it has no footprint or outline on a
    // host wall to give.
    Load(Wall(1, 0, 0, 6000, 0) + R"(, {"id": 2, "type": 5, "floor": 1,
          "props": {"OpeningWidth": 1000, "FillingWidth": 60, "FillingHeight": 60},
          "shape": {"kind": "point", "insertPt": [3000, 2000], "size": [1000, 200], "bottom": 900, "top": 2100}})");
    const auto hollow = Edo<IQTKWallHollowCalcEDO>(2);
    ASSERT_TRUE(hollow);
    const double own = 1000.0 * 200 * 1200;
    EXPECT_NEAR(hollow->GetCutSolid()->GetVolume(), own, CVolTol);
    EXPECT_NEAR(hollow->GetRelationPolyhedronIntf()->GetPolyhedron()->GetVolume(), own, CVolTol);
    EXPECT_THROW(hollow->GetPlanPolygon(), EQTKAssertionFailed);
    EXPECT_THROW(hollow->GetSectionPolyOnWall(nullptr), EQTKAssertionFailed);
    // On a wall named explicitly it still has an outline.
    const Ref<IQTKSectionPoly> section = hollow->GetSectionPolyOnWall(Record(1));
    ASSERT_TRUE(section);
    ExpectBox2d(section->GetPolygon()->Box(), 2500, 3500, 900, 1100);
}

// ---------------------------------------------------------------------------
// Outlines on a wall

class TSectionPolyTest : public TWallHollowTest {
protected:
    // Wall 1 along +x from (0, 0), the 1500 x 1500 window 3 at 3000 from 900;
    // wall 2 parallel, 1000 away, from (1000, 1000): on it the window lies at 2000.
    void SetUp() override
    {
        Load(Wall(1, 0, 0, 6000, 0) + ", " + Wall(2, 1000, 1000, 7000, 1000) + ", " +
             Opening(3, 5, 1, 3000, 1500, 1500, 900, R"("FillingWidth": 60, "FillingHeight": 60)"));
        hollow_ = Edo<IQTKWallHollowCalcEDO>(3);
        ASSERT_TRUE(hollow_);
    }
    static void ExpectOnWall(const Ref<IQTKSectionPoly>& section, double x0)
    {
        ASSERT_TRUE(section);
        ASSERT_EQ(section->GetPolygon()->GetCount(), 1);
        ExpectBox2d(section->GetPolygon()->Box(), x0, x0 + 1500, 900, 2400);
        EXPECT_NEAR(section->GetPolygon()->Area(), 1500.0 * 1500, CTol);
    }
    Ref<IQTKWallHollowCalcEDO> hollow_;
};

TEST_F(TSectionPolyTest, OneWallTwiceGivesTheSameObject)
{
    const Ref<IQTKSectionPoly> first = hollow_->GetSectionPolyOnWall(Record(1));
    ExpectOnWall(first, 2250);
    EXPECT_EQ(hollow_->GetSectionPolyOnWall(Record(1)).get(), first.get());
    EXPECT_EQ(hollow_->GetSectionPolyOnWall(nullptr).get(), first.get()) << "nil stands for the host wall";
}

TEST_F(TSectionPolyTest, AnotherWallReplacesTheKeptOutline)
{
    const Ref<IQTKSectionPoly> host = hollow_->GetSectionPolyOnWall(Record(1));
    const Ref<IQTKSectionPoly> other = hollow_->GetSectionPolyOnWall(Record(2));
    ExpectOnWall(other, 1250);
    EXPECT_EQ(hollow_->GetSectionPolyOnWall(Record(2)).get(), other.get());
    const Ref<IQTKSectionPoly> again = hollow_->GetSectionPolyOnWall(Record(1));
    EXPECT_NE(again.get(), host.get()) << "built again after the other wall";
    ExpectOnWall(again, 2250);
}

TEST_F(TSectionPolyTest, PreparingAgainForgetsTheOutlineWithItsWall)
{
    // The outline for wall 2 must not come back as the host wall's.
    const Ref<IQTKSectionPoly> other = hollow_->GetSectionPolyOnWall(Record(2));
    hollow_->Prepare(Record(3));
    const Ref<IQTKSectionPoly> host = hollow_->GetSectionPolyOnWall(nullptr);
    EXPECT_NE(host.get(), other.get());
    ExpectOnWall(host, 2250);
    ExpectOnWall(other, 1250);  // what a caller holds stays valid
}

TEST_F(TSectionPolyTest, EightThreadsAskingForTwoWalls)
{
    // Each thread asks for the two walls in turn (half of them starting with
    // the other wall, some through nil), with the cutting solid and the
    // footprint asked at the same time; every answer is the one for the wall
    // asked.
    constexpr int CThreads = 8;
    constexpr int CRounds = 400;
    std::atomic<int> wrong{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < CThreads; ++t)
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < CRounds; ++i) {
                const bool host = (i + t) % 2 == 0;
                IRDXRecord* wall = host ? (t % 3 == 0 ? nullptr : Record(1)) : Record(2);
                const Ref<IQTKSectionPoly> section = hollow_->GetSectionPolyOnWall(wall);
                const TVRMBox2d box = section->GetPolygon()->Box();
                if (std::abs(box.min.x - (host ? 2250 : 1250)) > CTol || std::abs(box.min.y - 900) > CTol)
                    ++wrong;
                if (i % 50 == t && hollow_->GetCutSolid()->GetVolume() <= 0)
                    ++wrong;
                if (i % 50 == t + 1 && hollow_->GetPlanPolygon()->Area() <= 0)
                    ++wrong;
            }
        });
    go = true;
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

// ---------------------------------------------------------------------------
// Original details

TEST_F(TWallHollowTest, OriginalDetailOnlyIntoAnEmptyContainer)
{
    Load(Wall(1, 0, 0, 6000, 0) + ", " + Opening(2, 5, 1, 3000, 1500, 1500, 900));
    auto qty = MakeRef<TRDXTable>("Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    IRDXRecord* qtyRecord = qty->AddRow({std::int64_t{1}});
    for (const bool used : {false, true}) {
        SCOPED_TRACE(used ? "container already used" : "empty container");
        TQTKDeductDetailContainer container;
        if (used)
            container.Add(std::make_unique<TQTKDeductDetail>(RecordRef(Record(2)), "", "", "1"));
        SetDeductDetailContainer(&container);
        const auto edo = GetCalcEDO(Record(2), true);
        edo->SetOriginalQty(1500.0 * 1500);
        edo->FillDeductDetail(qtyRecord);
        SetDeductDetailContainer(nullptr);
        ASSERT_EQ(container.GetCount(), 1);
        if (used)
            continue;
        const auto* detail = dynamic_cast<const TQTKSolidDeductDetail*>(container.GetItems(0));
        ASSERT_TRUE(detail);
        EXPECT_TRUE(detail->GetIsOriginalQty());
        EXPECT_EQ(detail->GetRecord().get(), Record(2));
        EXPECT_NEAR(detail->GetSolid()->GetVolume(), 1500.0 * 1500 * 200, CVolTol);
    }
}

// ---------------------------------------------------------------------------
// The sample building

TEST_F(TWallHollowTest, SampleBuildingWindowInItsWall)
{
    // Window 1022 (1500 x 1500 from 900, no frame) at 2250 along wall 1015,
    // a 240 wall from (4500, 0) to (9000, 0): centred on x = 6750.
    LoadFile(TTestBuilding::FixturesDir().parent_path().parent_path() / "examples" / "building.json");
    const auto window = Edo<IQTKWindowCalcEDO>(1022);
    ASSERT_TRUE(window);
    const TVRMPolyhedron3d* cut = window->GetCutSolid();
    ExpectBox(cut->GetBox(), {6000, 7500, -960, 960, 900, 2400});
    EXPECT_NEAR(cut->GetVolume(), 1500.0 * 1920 * 1500, CVolTol);
    const Ref<IQTKSectionPoly> section = window->GetSectionPolyOnWall(Record(1015));
    ASSERT_TRUE(section);
    ASSERT_EQ(section->GetPolygon()->GetCount(), 1);
    // x is measured along the wall's joined middle line from its start (at
    // the cross wall 1019's face, not at the drawn axis's start).
    const auto wall = Edo<IQTKLineEntBaseCalcEDO>(1015);
    ASSERT_TRUE(wall && wall->GetMidLine());
    const TVRMPoint2d start = wall->GetMidLine()->StartPt();
    EXPECT_NEAR(start.y, 0, CTol);
    ExpectBox2d(section->GetPolygon()->Box(), 6000 - start.x, 7500 - start.x, 900, 2400);
    EXPECT_NEAR(section->GetPolygon()->Area(), 1500.0 * 1500, CTol);
    EXPECT_EQ(window->GetSectionPolyOnWall(nullptr).get(), section.get()) << "1015 is its host wall";
}

// ---------------------------------------------------------------------------
// Dormer windows

// A dormer (id 1) of parametric shape PolyID with the given parameter values,
// "SlabAngle" 30 (degrees) and "Thickness" 150, with a sub-element of sub-id 7.
std::string Dormer(int polyID, const std::string& values, bool parametric = true)
{
    const std::string param =
        parametric ? R"(, "param": {"polyID": )" + std::to_string(polyID) + R"(, "values": {)" + values + "}}" : "";
    return R"({"id": 1, "type": 11, "floor": 1, "props": {"SlabAngle": 30, "Thickness": 150},
               "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 1000], "bottom": 3000, "top": 4000})" +
           param + R"(},
            {"id": 2, "type": 71, "floor": 1, "parent": 1, "subID": 7,
               "shape": {"kind": "point", "insertPt": [0, 0], "size": [500, 500], "bottom": 3000, "top": 3100}})";
}

struct TDormerCase {
    const char* name;
    int polyID;
    const char* values;
    bool parametric;
    const char* formula;
    bool supported;
    int shapeId;
    double value;
};

TEST_F(TWallHollowTest, DormerFormulas)
{
    const double tan30 = std::tan(std::numbers::pi / 6);
    const TDormerCase cases[] = {
        {"shape 174 is supported", 174, R"("H": 1200)", true, "H", true, 174, 1200},
        {"shape 178 is supported", 178, R"("H": 1200)", true, "H", true, 178, 1200},
        {"shape 175 is not", 175, R"("H": 1200)", true, "H", false, 175, 1200},
        {"BH without that parameter: the base thickness", 174, R"("H": 1200)", true, "H*BH", true, 174, 1200 * 150.0},
        {"BH as a parameter of the shape wins", 174, R"("BH": 99)", true, "BH", true, 174, 99},
        {"PDXS: tangent of the slab angle in degrees", 174, R"("H": 1200)", true, "PDXS*1000", true, 174, tan30 * 1000},
        {"a negative result gives 0", 174, R"("H": 1200)", true, "H-5000", true, 174, 0},
        {"not parametric: no shape and 0", 174, "", false, "1+1", false, -1, 0},
    };
    for (const TDormerCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Dormer(c.polyID, c.values, c.parametric));
        const auto dormer = Edo<IQTKDormerWinCalcEDO>(1);
        ASSERT_TRUE(dormer);
        dormer->ClearQtyItems();
        EXPECT_EQ(dormer->IsSupportedShape(), c.supported);
        EXPECT_EQ(dormer->GetShapeId(), c.shapeId);
        EXPECT_NEAR(dormer->CalcParamValue(c.formula), c.value, 1e-9);
        EXPECT_FALSE(dormer->GetRelationPolyhedronIntf()->GetPolyhedron()->HasFaces()) << "never related by solid";
    }
}

TEST_F(TWallHollowTest, DormerFormulaNamingAnUnknownVariable)
{
    Load(Dormer(174, R"("H": 1200)"));
    const auto dormer = Edo<IQTKDormerWinCalcEDO>(1);
    dormer->ClearQtyItems();
    EXPECT_THROW(dormer->CalcParamValue("H*ZZ"), EQTKAssertionFailed);
    EXPECT_THROW(dormer->CalcParamValue("bh"), EQTKAssertionFailed) << "names compare with their case";
}

}  // namespace
