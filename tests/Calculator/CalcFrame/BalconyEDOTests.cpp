// Balconies, swing windows and foot steps: the factory rows, the elevations
// and body from the parts, the original detail of quantity 351, the
// intersection tests and parametric information; the composite outline
// routines they stand on.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCompositeElementCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::unique_ptr<TTestBuilding> Building(const std::string& elements)
{
    return TTestBuilding::FromText(
        R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}], "elements": [)" + elements +
        "]}");
}

// A line element of the given type along (x0,y0)-(x1,y1), 240 wide, from bottom to top.
std::string Line(int id, int type, double x0, double y0, double x1, double y1, double bottom, double top,
                 const std::string& props = "")
{
    char buf[640];
    std::snprintf(buf, sizeof buf,
                  R"({"id": %d, "type": %d, "floor": 1, "props": {"StartPtTopElev": %g, "EndPtTopElev": %g,
                      "StartPtBottomElev": %g, "EndPtBottomElev": %g, "Thickness": 240%s},
                      "shape": {"kind": "line", "start": [%g, %g], "end": [%g, %g], "width": 240,
                                "bottom": %g, "top": %g}})",
                  id, type, top, top, bottom, bottom, props.c_str(), x0, y0, x1, y1, bottom, top);
    return buf;
}

// A slab part of the balcony over [0,3000] x [0,1500].
std::string Slab(int id, int composite, double topElev, double x1 = 3000, double y1 = 1500)
{
    char buf[480];
    std::snprintf(buf, sizeof buf,
                  R"({"id": %d, "type": 19, "floor": 1, "props": {"CompositeEDOPID": %d, "TopElev": %g,
                      "Thickness": 100}, "shape": {"kind": "face", "outline": [[0, 0], [%g, 0], [%g, %g], [0, %g]],
                      "elev": %g}})",
                  id, composite, topElev, x1, x1, y1, y1, topElev);
    return buf;
}

// A balcony (or swing window) element over [0,3000] x [0,1500].
std::string Balcony(int id, int type, const std::string& extra = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1)" + extra +
           R"(, "shape": {"kind": "point", "insertPt": [1500, 750], "size": [3000, 1500], "bottom": 0, "top": 1000}})";
}

std::string Part(int composite)
{
    return R"(, "CompositeEDOPID": )" + std::to_string(composite);
}

template <class T>
Ref<T> Edo(const TTestBuilding& building, int id)
{
    Ref<T> edo = RefCast<T>(GetCalcEDO(building.Record(id), true));
    EXPECT_TRUE(edo) << "element " << id;
    return edo;
}

}  // namespace

TEST(BalconyEDOTest, FactoryGivesBalconySwingWindowAndFootStepTheirClasses)
{
    const auto building = Building(Balcony(1, 10) + "," + Balcony(2, 66) + "," + Balcony(3, 62));
    building->Activate();
    for (int id : {1, 2}) {
        const Ref<IQTKCalculatorEDO> edo =
            TQTKCalcEDOCreater::CreateCalcEDO(building->DrawObj(id)->GetElementTypeID(), 2, building->DrawObj(id));
        EXPECT_TRUE(RefCast<IQTKBalconyAndSwingWinCalcEDO>(edo)) << id;
    }
    const Ref<IQTKCalculatorEDO> step = TQTKCalcEDOCreater::CreateCalcEDO(62, 2, building->DrawObj(3));
    ASSERT_TRUE(step);
    EXPECT_FALSE(RefCast<IQTKBalconyAndSwingWinCalcEDO>(step));
}

TEST(FootStepEDOTest, StandingOnASlabIsNoIntersection)
{
    // Slab top at 0 (100 thick) under the step (0..150); a wall through the step.
    const auto building = Building(
        R"({"id": 3, "type": 62, "floor": 1,
            "shape": {"kind": "point", "insertPt": [500, 500], "size": [1000, 1000], "bottom": 0, "top": 150}},)" +
        Slab(5, 0, 0) + "," + Line(6, 0, 500, -1000, 500, 2000, -500, 3000));
    building->Activate();
    const Ref<IQTKCalculatorEDO> step = GetCalcEDO(building->Record(3), true);
    EXPECT_FALSE(step->IsIntersectWith(building->Record(5)));
    EXPECT_TRUE(step->IsIntersectWith(building->Record(6)));
}

TEST(BalconyEDOTest, ElevationsAndBodyFromTheParts)
{
    struct TCase {
        const char* name;
        std::string parts;
        bool hasBody;
        double top, bottom;
    };
    const TCase cases[] = {
        {"one slab and nothing else", Slab(11, 10, 1000), false, 1000, 1000},
        {"two slabs", Slab(11, 10, 1000) + "," + Slab(12, 10, 900), true, 1000, 900},
        {"slab first, then a wall", Slab(11, 10, 1000) + "," + Line(12, 0, 0, 1500, 3000, 1500, 500, 2000, Part(10)),
         true, 2000, 500},
        {"a wall first", Line(11, 0, 0, 1500, 3000, 1500, 500, 2000, Part(10)), true, 2000, 500},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(Balcony(10, 10) + "," + c.parts);
        building->Activate();
        const Ref<IQTKBalconyAndSwingWinCalcEDO> balcony = Edo<IQTKBalconyAndSwingWinCalcEDO>(*building, 10);
        ASSERT_TRUE(balcony);
        const auto body = balcony->GetBodySolid(0);
        ASSERT_TRUE(body);
        if (!c.hasBody) {
            EXPECT_EQ(body->GetVolume(), 0.0);
            continue;
        }
        EXPECT_DOUBLE_EQ(balcony->GetTopElev(), c.top);
        EXPECT_DOUBLE_EQ(balcony->GetBottomElev(), c.bottom);
        const auto plan = balcony->GetHorizonPolygon(0);
        ASSERT_TRUE(plan);
        EXPECT_NEAR(body->GetVolume(), plan->Area() * (c.top - c.bottom), 1e-3);
        // Built once: the same solid again, whatever the mode.
        EXPECT_EQ(balcony->GetBodySolid(2).get(), body.get());
    }
}

TEST(BalconyEDOTest, IntersectionTests)
{
    // Balcony 10 (box 0..1000) with a slab part; walls 20-22 overlap it vertically by 100, 101 and 1000.
    const auto building =
        Building(Balcony(10, 10) + "," + Slab(11, 10, 100) + "," + Line(20, 0, -1000, 0, 4000, 0, 900, 3000) + "," +
                 Line(21, 0, -1000, 0, 4000, 0, 899, 3000) + "," + Line(22, 0, -1000, 0, 4000, 0, 0, 3000) + "," +
                 Line(23, 15, -1000, 0, 4000, 0, 0, 3000) + "," + Line(24, 0, 6000, 0, 9000, 0, 0, 3000));
    building->Activate();
    const Ref<IQTKCalculatorEDO> balcony = GetCalcEDO(building->Record(10), true);
    struct TCase {
        const char* name;
        int other;
        bool intersects;
    };
    const TCase cases[] = {
        {"its own slab part", 11, true},        {"wall overlapping by 100", 20, false},
        {"wall overlapping by 101", 21, true},  {"wall over its whole height", 22, true},
        {"a beam is never related", 23, false}, {"a wall apart in plan", 24, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(balcony->IsIntersectWith(building->Record(c.other)), c.intersects) << c.name;
}

TEST(BalconyEDOTest, OriginalDetailOfQuantity351ForBalconiesOnly)
{
    const auto building = Building(Balcony(10, 10) + "," + Balcony(20, 66));
    building->Activate(true);
    auto qty = MakeRef<TRDXTable>(
        "Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}, {"Unit", TRDXFieldType::Text, ""}});
    IRDXRecord* q351 = qty->AddRow({std::int64_t{351}, std::string("m3")});
    IRDXRecord* q350 = qty->AddRow({std::int64_t{350}, std::string("m3")});
    EXPECT_TRUE(GetCalcEDO(building->Record(10), true)->AddOriginalQtyDetail(q351));
    EXPECT_FALSE(GetCalcEDO(building->Record(10), true)->AddOriginalQtyDetail(q350));
    EXPECT_FALSE(GetCalcEDO(building->Record(20), true)->AddOriginalQtyDetail(q351));
}

TEST(BalconyEDOTest, NotParametricGivesTypeMinusOne)
{
    const auto building = Building(Balcony(10, 10));
    building->Activate();
    const Ref<IQTKBalconyAndSwingWinCalcEDO> balcony = Edo<IQTKBalconyAndSwingWinCalcEDO>(*building, 10);
    balcony->ClearQtyItems();
    EXPECT_EQ(balcony->GetParamPolyInfoType(), -1);
    EXPECT_EQ(balcony->CalcParamExpression("L*2", false), 0.0);
}

TEST(CompositeOutlineTest, BalconyWallsClosingOnTheBuildingWall)
{
    // Building wall on y = 0; the balcony's own walls on x = 0, y = 1500, x = 3000 (all 240, centred).
    const auto building = Building(Balcony(10, 10) + "," + Line(1, 0, -2000, 0, 8000, 0, 0, 3000) + "," +
                                   Line(11, 0, 0, 0, 0, 1500, 0, 1000, Part(10)) + "," +
                                   Line(12, 0, 0, 1500, 3000, 1500, 0, 1000, Part(10)) + "," +
                                   Line(13, 0, 3000, 1500, 3000, 0, 0, 1000, Part(10)));
    building->Activate();
    const std::unique_ptr<TVRMMultiPolygon2d> outline = GetCompositeOutline(building->Record(10));
    ASSERT_TRUE(outline);
    // The middle-line polygon grown by 120 on the balcony's sides, shrunk by 120 from the
    // building wall, less the balcony walls' plans: [120, 2880] x [120, 1380].
    EXPECT_NEAR(outline->Area(), 2760.0 * 1260, 1e-3);
    EXPECT_NEAR(outline->Box().min.y, 120, 1e-6);
    EXPECT_NEAR(outline->Box().max.x, 2880, 1e-6);
}

TEST(CompositeOutlineTest, SmallPolygonGivesWayToTheLowestSlabs)
{
    // Walls 300 wide closing a 200 x 200 square: smaller than 300 x 300; two slabs at the same
    // lowest bottom are merged, a higher one is not.
    const auto building = Building(
        Balcony(10, 10) + "," + Slab(11, 10, 100, 3000, 800) + "," +
        R"({"id": 12, "type": 19, "floor": 1, "props": {"CompositeEDOPID": 10, "TopElev": 100, "Thickness": 100},
            "shape": {"kind": "face", "outline": [[0, 800], [3000, 800], [3000, 1500], [0, 1500]], "elev": 100}},)" +
        R"({"id": 13, "type": 19, "floor": 1, "props": {"CompositeEDOPID": 10, "TopElev": 900, "Thickness": 100},
            "shape": {"kind": "face", "outline": [[0, 0], [5000, 0], [5000, 5000], [0, 5000]], "elev": 900}})");
    building->Activate();
    const std::unique_ptr<TVRMMultiPolygon2d> outline = GetCompositeOutline(building->Record(10));
    ASSERT_TRUE(outline);
    EXPECT_NEAR(outline->Area(), 3000.0 * 1500, 1e-3);
}

TEST(CompositeOutlineTest, WithoutWallsAndSlabsTheChildOutlinesWithoutOpenings)
{
    const auto building = Building(Balcony(10, 10) + "," +
                                   R"({"id": 11, "type": 25, "floor": 1, "props": {"CompositeEDOPID": 10},
                     "shape": {"kind": "point", "insertPt": [250, 250], "size": [500, 500], "bottom": 0, "top": 1000}},
                    {"id": 12, "type": 5, "floor": 1, "props": {"CompositeEDOPID": 10},
                     "shape": {"kind": "point", "insertPt": [2000, 250], "size": [900, 500], "bottom": 0,
                               "top": 1000}})");
    building->Activate();
    const std::unique_ptr<TVRMMultiPolygon2d> outline = GetCompositeOutline(building->Record(10));
    ASSERT_TRUE(outline);
    EXPECT_NEAR(outline->Area(), 500.0 * 500, 1e-3);
}

TEST(CompositeOutlineTest, LowestRelatedIdWithoutWallsIsFalse)
{
    const auto building = Building(Balcony(10, 10) + "," + Balcony(20, 10));
    building->Activate();
    EXPECT_FALSE(IsLowestRelatedId(building->Record(10), building->Record(20)));
}

TEST(CompositeOutlineTest, SubSegLength)
{
    const double pi = 3.14159265358979323846;
    struct TCase {
        const char* name;
        TVRMCustomLine2d a, b;
        double length;
    };
    const TCase cases[] = {
        {"overlapping", TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({600, 0}, {2000, 0}), 400},
        {"b inside a, reversed", TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({700, 0}, {200, 0}), 500},
        {"touching at a point", TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({1000, 0}, {2000, 0}), 0},
        {"apart along the line", TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({1500, 0}, {2000, 0}), 0},
        // b is projected on a: a parallel line beside a covers it.
        {"parallel beside it", TVRMCustomLine2d({0, 0}, {1000, 0}), TVRMCustomLine2d({200, 100}, {700, 100}), 500},
        {"arcs of one circle", TVRMCustomLine2d::ArcByCenter({0, 0}, 1000, 0, pi),
         TVRMCustomLine2d::ArcByCenter({0, 0}, 1000, pi / 2, pi), 1000 * pi / 2},
        {"concentric arc beside it", TVRMCustomLine2d::ArcByCenter({0, 0}, 1000, 0, pi),
         TVRMCustomLine2d::ArcByCenter({0, 0}, 1200, 0, pi / 2), 1000 * pi / 2},
        {"arcs of circles apart", TVRMCustomLine2d::ArcByCenter({0, 0}, 1000, 0, pi),
         TVRMCustomLine2d::ArcByCenter({5000, 0}, 1000, 0, pi), 0},
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(GetSubSegLength(c.a, c.b), c.length, 1e-6) << c.name;
}

namespace {

TVRMPolygon2d Ring(std::vector<TVRMPoint2d> points)
{
    return TVRMPolygon2d(std::move(points));
}

// A balcony whose horizontal outline is as set.
class TFakeBalconyEDO final : public TQTKCalculatorEDO, public IQTKBalconyAndSwingWinCalcEDO {
public:
    explicit TFakeBalconyEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    std::shared_ptr<const TVRMPolyhedron3d> GetBodySolid(int) override { return nullptr; }
    double GetTopElev() override { return 0.0; }
    double GetBottomElev() override { return 0.0; }
    std::shared_ptr<const TVRMMultiPolygon2d> GetHorizonPolygon(int) override { return horizon; }
    double CalcParamExpression(std::string_view, bool) override { return 0.0; }
    int GetParamPolyInfoType() override { return -1; }

    std::shared_ptr<const TVRMMultiPolygon2d> horizon;
};

// Building wall 1 along y = 0 (240, centred, its left side external) from
// -2000 to 8000; the floor's external-wall outline along the wall lines of
// [-2000, 8000] x [-6000, 0], moved out by 120 to the wall's face.
class TBalconyOutLineTest : public ::testing::Test {
protected:
    void Load(const TVRMPolygon2d& external, const std::string& others = "")
    {
        building_ = Building(Balcony(10, 10) + "," + Line(1, 0, -2000, 0, 8000, 0, 0, 3000) + others);
        auto infos = std::make_shared<TQTKFloorExternalInfoContr>();
        TQTKFloorExternalInfo info;
        info.floorId = building_->DrawObj(10)->GetFloorID();
        info.outline.Add(external);
        infos->Add(std::move(info));
        TQTKCalculationScopeOptions options;
        options.session.externalWallInfos = infos;
        building_->Activate(std::move(options));
        scope_ = std::make_unique<TFakeEDOScope>();
        auto& wall = scope_->Attach<TFakeWallEDO>(building_->DrawObj(1));
        wall.midLine = TVRMCustomLine2d({-2000, 0}, {8000, 0});
        wall.leftLine = TVRMCustomLine2d({-2000, 120}, {8000, 120});
        wall.rightLine = TVRMCustomLine2d({-2000, -120}, {8000, -120});
        wall.leftExternal = true;
        wall_ = &wall;
        // The balcony's outline [0, 3000] x [120, 1620], against the wall's face.
        auto& balcony = scope_->Attach<TFakeBalconyEDO>(building_->DrawObj(10));
        auto horizon = std::make_shared<TVRMMultiPolygon2d>();
        horizon->Add(Ring({{0, 120}, {3000, 120}, {3000, 1620}, {0, 1620}}));
        balcony.horizon = horizon;
    }
    void TearDown() override
    {
        scope_.reset();
        building_.reset();
    }
    std::unique_ptr<TTestBuilding> building_;
    std::unique_ptr<TFakeEDOScope> scope_;
    TFakeWallEDO* wall_ = nullptr;
};

TEST_F(TBalconyOutLineTest, OutlineLengthAlongTheOuterWall)
{
    struct TCase {
        const char* name;
        TVRMPolygon2d external;
        double length;
    };
    const TCase cases[] = {
        // One line on the wall's face (x 0..3000): the perimeter 9000 less that edge (3000) less the wall's
        // face line inside the balcony (3000).
        {"one line on the face", Ring({{-2000, -6000}, {8000, -6000}, {8000, 0}, {-2000, 0}}), 3000},
        // A recess of the outline (x 1000..2000, moved out to 1120..1880) splits it into two lines, 0..1120
        // and 1880..3000, both on the wall's face: the later one decides, its length 1120 (the first alone
        // would give 3000).
        {"two lines: the last one wins",
         Ring({{-2000, -6000}, {8000, -6000}, {8000, 0}, {2000, 0}, {2000, -500}, {1000, -500}, {1000, 0}, {-2000, 0}}),
         1120},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.external);
        ASSERT_NE(GetCalcEDO(building_->Record(10), true)->IndexOfRelated(building_->Record(1)), -1);
        EXPECT_NEAR(CalcBalconyOutLineLength(building_->Record(10), building_->Record(1), 0), c.length, 1e-6);
        TearDown();
    }
}

TEST_F(TBalconyOutLineTest, NoExternalOutlineGivesZero)
{
    Load(Ring({{-2000, -6000}, {8000, -6000}, {8000, 0}, {-2000, 0}}));
    building_->Activate();  // a session without external-wall information
    EXPECT_EQ(CalcBalconyOutLineLength(building_->Record(10), building_->Record(1), 0), 0.0);
}

// Wall 1's external line by its sides, with wall 3 (240, across it at x = 3000) marked under its id.
TEST_F(TBalconyOutLineTest, WallExternalLineBySides)
{
    struct TCase {
        const char* name;
        bool left, right;
        double y;  // of the line; NaN: none
    };
    const TCase cases[] = {
        {"left side external: the left face line", true, false, 120},
        {"right side external: the right face line", false, true, -120},
        {"both sides: the middle line", true, true, 0},
        {"neither: none", false, false, std::nan("")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Ring({{-2000, -6000}, {8000, -6000}, {8000, 0}, {-2000, 0}}),
             "," + Line(3, 0, 3000, -2000, 3000, 2000, 0, 3000));
        wall_->leftExternal = c.left;
        wall_->rightExternal = c.right;
        const std::unique_ptr<TQTKLinearCalc2d> calc = BuildWallExternalLineCalc(building_->Record(1));
        if (std::isnan(c.y)) {
            EXPECT_EQ(calc, nullptr);
        } else {
            ASSERT_NE(calc, nullptr);
            EXPECT_NEAR(calc->GetLine().StartPt().y, c.y, 1e-9);
            EXPECT_NEAR(calc->GetAllLength(), 10000, 1e-6);
            EXPECT_NEAR(calc->GetLengthFor(3), 240, 1e-6);
        }
        TearDown();
    }
}

// Outer wall 1 along y = 0 from -1000 to 2000 (left side external, the face line y = 120) under balcony 10,
// whose own outline is Width wide ([0, Width] x [0, 1500]): the face line crosses it over Width.
TEST(CompositeOutlineTest, SideSegmentsLongerThan500Only)
{
    struct TCase {
        const char* name;
        double width;
        double reach;  // CalcBalconySideLineLength
    };
    const TCase cases[] = {
        {"crossing 500 mm: no side", 500, 0},
        // Part 11 (the slab [0, 3000] x [0, 1500]) reaches 1500 - 120 out from the face line.
        {"crossing 501 mm: a side", 501, 1380},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string balcony = R"({"id": 10, "type": 10, "floor": 1, "shape": {"kind": "point", "insertPt": [)" +
                                    std::to_string(c.width / 2) + R"(, 750], "size": [)" + std::to_string(c.width) +
                                    R"(, 1500], "bottom": 0, "top": 1000}})";
        const auto building = Building(balcony + "," + Slab(11, 10, 1000) + "," +
                                       Line(1, 0, -1000, 0, 2000, 0, 0, 3000, R"(, "InnerOuterFlag": 1)"));
        building->Activate();
        TFakeEDOScope scope;
        auto& wall = scope.Attach<TFakeWallEDO>(building->DrawObj(1));
        wall.midLine = TVRMCustomLine2d({-1000, 0}, {2000, 0});
        wall.leftLine = TVRMCustomLine2d({-1000, 120}, {2000, 120});
        wall.rightLine = TVRMCustomLine2d({-1000, -120}, {2000, -120});
        wall.leftExternal = true;
        ASSERT_NE(GetCalcEDO(building->Record(10), true)->IndexOfRelated(building->Record(1)), -1);
        EXPECT_NEAR(CalcBalconySideLineLength(building->Record(10)), c.reach, 1e-6);
    }
}

// Eave 1 (2900 to 3000) over [0, 6000] x [0, 1200].
TEST(CompositeOutlineTest, ShapeLessLineEntsLosesTheWallsMeetingIt)
{
    const char* const eave = R"({"id": 1, "type": 64, "floor": 1, "props": {"Thickness": 100, "TopElev": 3000},
        "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 1200], [0, 1200]], "elev": 3000,
                  "thickness": 100}})";
    struct TCase {
        const char* name;
        double bottom, top;  // of wall 2 along y = 600
        double area;
    };
    const TCase cases[] = {
        {"a wall through it loses its plan", 2000, 4000, 6000.0 * 1200 - 6000.0 * 240},
        {"a wall above it is kept", 3500, 5000, 6000.0 * 1200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(std::string(eave) + "," + Line(2, 0, 0, 600, 6000, 600, c.bottom, c.top));
        building->Activate();
        const std::unique_ptr<TVRMMultiPolygon2d> polygon = GetShapePolygonLessLineEnts(building->Record(1));
        ASSERT_TRUE(polygon);
        EXPECT_NEAR(polygon->Area(), c.area, 1e-3);
    }
}

// Eave 1 (2900 to 3000): a ring [0, 10000]^2 round a hole [2000, 8000]^2, with walls (240) along the hole's
// four sides, their middle lines 300 outside it: each hole edge moves out to the nearer wall's face (180),
// the hole becomes [1820, 8180]^2.
TEST(CompositeOutlineTest, ShapeWithAHoleMovesTheHoleToTheWallFaces)
{
    const auto building = Building(
        R"({"id": 1, "type": 64, "floor": 1, "props": {"Thickness": 100, "TopElev": 3000},
            "shape": {"kind": "face", "outline": [[[0, 0], [10000, 0], [10000, 10000], [0, 10000]],
                      [[2000, 2000], [2000, 8000], [8000, 8000], [8000, 2000]]], "elev": 3000, "thickness": 100}},)" +
        Line(2, 0, 1000, 1700, 9000, 1700, 0, 4000) + "," + Line(3, 0, 9000, 8300, 1000, 8300, 0, 4000) + "," +
        Line(4, 0, 1700, 9000, 1700, 1000, 0, 4000) + "," + Line(5, 0, 8300, 1000, 8300, 9000, 0, 4000));
    building->Activate();
    const std::unique_ptr<TVRMMultiPolygon2d> polygon = GetShapePolygonLessLineEnts(building->Record(1));
    ASSERT_TRUE(polygon);
    ASSERT_EQ(polygon->GetCount(), 2);
    const TVRMBox2d hole = polygon->GetItems(1).Box();
    EXPECT_NEAR(hole.min.x, 1820, 1e-6);
    EXPECT_NEAR(hole.min.y, 1820, 1e-6);
    EXPECT_NEAR(hole.max.x, 8180, 1e-6);
    EXPECT_NEAR(hole.max.y, 8180, 1e-6);
    EXPECT_TRUE(polygon->GetItems(1).IsClockwise()) << "still a hole";
    EXPECT_NEAR(polygon->Area(), 10000.0 * 10000 - 6360.0 * 6360, 1e-2);
}

}  // namespace
