// Element objects of stairs, site levellings, aprons, copings, custom
// elements, eaves, canopies, eave lines and roofs: the factory rows, the
// parametric formulas of stairs, the intersection tests, the extended and
// net polygons, the wall-touch lengths, the formwork of copings, the
// original-quantity details and the calculators the rules share.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/CalcFrame/QtyTable.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr double CTol = 1e-6;

// A model file over two storeys (1 at 0, 2 at 3 m) with the elements given.
std::unique_ptr<TTestBuilding> Building(const std::string& elements, const std::string& tables = "")
{
    return TTestBuilding::FromText(
        R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0},
                       {"ID": 2, "Name": "F2", "StructuralElevation": 3.0, "Height": 3.0}],)" +
        tables + R"("elements": [)" + elements + "]}");
}

template <class T>
Ref<T> Edo(const TTestBuilding& building, int id, bool prepare = true)
{
    Ref<T> edo = RefCast<T>(GetCalcEDO(building.Record(id), prepare));
    EXPECT_TRUE(edo) << "element " << id;
    return edo;
}

// ---------------------------------------------------------------------------
// Factory

TEST(OtherElementEDOTest, FactoryGivesEachTypeItsClass)
{
    const auto building = Building(R"(
      {"id": 1, "type": 29, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 0], "size": [3000, 1200],
        "bottom": 0, "top": 1800}},
      {"id": 2, "type": 60, "floor": 1, "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]]}},
      {"id": 3, "type": 61, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 0}},
      {"id": 4, "type": 64, "floor": 1, "props": {"Shape": 0, "Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 2800}},
      {"id": 5, "type": 64, "floor": 1, "props": {"Shape": 1},
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0], "width": 300, "bottom": 2800, "top": 2900}},
      {"id": 6, "type": 65, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 2800}},
      {"id": 7, "type": 67, "floor": 1, "props": {"Thickness": 120},
        "shape": {"kind": "roof", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 6000}},
      {"id": 8, "type": 70, "floor": 1,
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0], "width": 300, "bottom": 2800, "top": 2900}},
      {"id": 9, "type": 71, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 0], "size": [500, 500],
        "bottom": 0, "top": 500}},
      {"id": 10, "type": 72, "floor": 1,
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0], "width": 300, "bottom": 0, "top": 300}},
      {"id": 11, "type": 73, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 0}},
      {"id": 12, "type": 64, "floor": 1, "props": {"Shape": 2, "Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [1000, 1000]], "elev": 2800}})");
    building->Activate();
    struct TCase {
        const char* name;
        int id;
        bool (*isOfClass)(IQTKCalculatorEDO*);
    };
    const TCase cases[] = {
        {"29 stair", 1, [](IQTKCalculatorEDO* e) { return RefCast<IQTKStairCalculator>(Ref(e)) != nullptr; }},
        {"60 site levelling", 2,
         [](IQTKCalculatorEDO* e) { return RefCast<IQTKSiteLevelingCalcEDO>(Ref(e)) != nullptr; }},
        {"61 apron", 3, [](IQTKCalculatorEDO* e) { return RefCast<IQTKApronCalcEDO>(Ref(e)) != nullptr; }},
        {"64 shape 0 eave face", 4,
         [](IQTKCalculatorEDO* e) { return RefCast<IQTKEaveAndCanopyCalcEDO>(Ref(e)) != nullptr; }},
        {"64 shape 1 eave line", 5,
         [](IQTKCalculatorEDO* e) { return RefCast<IQTKEaveLineCalcEDO>(Ref(e)) != nullptr; }},
        {"65 canopy", 6, [](IQTKCalculatorEDO* e) { return RefCast<IQTKEaveAndCanopyCalcEDO>(Ref(e)) != nullptr; }},
        {"67 roof", 7, [](IQTKCalculatorEDO* e) { return RefCast<IQTKRoofCalcEDO>(Ref(e)) != nullptr; }},
        {"70 coping", 8, [](IQTKCalculatorEDO* e) { return RefCast<IQTKCopingCalcEDO>(Ref(e)) != nullptr; }},
        {"71 custom point", 9, [](IQTKCalculatorEDO* e) { return RefCast<IQTKCustomPointCalcEDO>(Ref(e)) != nullptr; }},
        {"72 custom line", 10,
         [](IQTKCalculatorEDO* e) {
             return RefCast<IQTKCustomLineCalcEDO>(Ref(e)) != nullptr &&
                    RefCast<IQTKHasSectionInfoWithLengthRateCalcEDO>(Ref(e)) != nullptr;
         }},
        {"73 custom face", 11, [](IQTKCalculatorEDO* e) { return RefCast<IQTKCustomFaceCalcEDO>(Ref(e)) != nullptr; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Ref<IQTKCalculatorEDO> edo =
            TQTKCalcEDOCreater::CreateCalcEDO(building->DrawObj(c.id)->GetElementTypeID(), 2, building->DrawObj(c.id));
        ASSERT_TRUE(edo);
        EXPECT_TRUE(c.isOfClass(edo.get()));
    }
    // An eave drawn neither as a face nor as a line has no object.
    EXPECT_THROW(TQTKCalcEDOCreater::CreateCalcEDO(64, 2, building->DrawObj(12)), EQTKAssertionFailed);
}

// ---------------------------------------------------------------------------
// Stair

constexpr const char* CParamTable = R"(
  "databases": [{"name": "Business", "tables": [{"name": "ParamPolyParam",
    "fields": [{"name": "ID", "type": "integer"}, {"name": "ParamPolyID", "type": "integer"},
               {"name": "ParamCode", "type": "text"}, {"name": "ParamName", "type": "text"},
               {"name": "Unit", "type": "text"}],
    "rows": [{"ID": 1, "ParamPolyID": 255, "ParamCode": "L", "ParamName": "长度", "Unit": "mm"},
             {"ID": 2, "ParamPolyID": 255, "ParamCode": "B", "ParamName": "宽度", "Unit": "mm"}]}]}],)";

// Stair 1 (parametric drawing 255, L 3000, B 1200) and stair 2 (not
// parametric), both on [0, 3000] x [0, 1200] from 0 to 1800.
std::string Stairs()
{
    return R"({"id": 1, "type": 29, "floor": 1, "param": {"polyID": 255, "values": {"L": 3000, "B": 1200}},
               "shape": {"kind": "point", "insertPt": [1500, 600], "size": [3000, 1200], "bottom": 0, "top": 1800}},
              {"id": 2, "type": 29, "floor": 1,
               "shape": {"kind": "point", "insertPt": [1500, 600], "size": [3000, 1200], "bottom": 0, "top": 1800}})";
}

TEST(StairEDOTest, ParametricFormulas)
{
    const auto building = Building(Stairs(), CParamTable);
    TQTKCalculationScope& scope = building->Activate();
    scope.BeginQuantity(1, "TYMJ");
    const Ref<IQTKStairCalculator> parametric = Edo<IQTKStairCalculator>(*building, 1);
    const Ref<IQTKStairCalculator> plain = Edo<IQTKStairCalculator>(*building, 2);
    parametric->ClearQtyItems();
    plain->ClearQtyItems();

    EXPECT_EQ(plain->GetParamPolyInfoType(), -1);
    EXPECT_EQ(plain->CalcParamExpression("L*B", true), 0.0);
    EXPECT_EQ(GetEdoGlobalData(2)->GetExprContainer().GetCount(), 0);

    EXPECT_EQ(parametric->GetParamPolyInfoType(), 255);
    EXPECT_NEAR(parametric->CalcParamExpression("L*B", true), 3.6e6, CTol);
    const TQTKCalcInternalExprContainer& items = GetEdoGlobalData(1)->GetExprContainer();
    ASSERT_EQ(items.GetCount(), 1);
    const auto* item = dynamic_cast<const TQTKCalcInternalOriginalExprItem*>(items.GetItems(0));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetText(), "3<长度>*1.2<宽度>");
    // Negative values are 0.
    EXPECT_EQ(parametric->CalcParamExpression("B-L", false), 0.0);

    // The cache freed, the parametric information is read again with the next quantity.
    parametric->FreeCalcCache();
    EXPECT_EQ(parametric->GetParamPolyInfoType(), -1);
    parametric->ClearQtyItems();
    EXPECT_EQ(parametric->GetParamPolyInfoType(), 255);
}

TEST(StairEDOTest, IntersectionTests)
{
    // Walls over the stair's outline (y 1000 to 1200) whose bottoms leave an
    // overlap of 10 and 11 mm with the stair's top at 1800; a wall far off;
    // a beam and a slab over the stair; floor areas over it and beside it.
    const auto building = Building(Stairs() + R"(,
      {"id": 10, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 1100], "end": [3000, 1100], "bottom": 1790, "top": 3000}},
      {"id": 11, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 1100], "end": [3000, 1100], "bottom": 1789, "top": 3000}},
      {"id": 12, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 5000], "end": [3000, 5000], "bottom": 0, "top": 3000}},
      {"id": 13, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 1100], "end": [3000, 1100], "bottom": -3000, "top": 10}},
      {"id": 14, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 1100], "end": [3000, 1100], "bottom": -3000, "top": 11}},
      {"id": 15, "type": 15, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 600], "end": [3000, 600], "bottom": 0, "top": 3000}},
      {"id": 16, "type": 19, "floor": 1, "props": {"Thickness": 120},
        "shape": {"kind": "face", "outline": [[0, 0], [3000, 0], [3000, 1200], [0, 1200]], "elev": 1000}},
      {"id": 17, "type": 58, "floor": 2, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[-500, -500], [800, -500], [800, 800], [-500, 800]], "elev": 9000}},
      {"id": 18, "type": 58, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[4000, 0], [5000, 0], [5000, 1000], [4000, 1000]], "elev": 0}})");
    building->Activate();
    const Ref<IQTKStairCalculator> stair = Edo<IQTKStairCalculator>(*building, 1);
    struct TCase {
        const char* name;
        int other;
        bool intersects;
    };
    const TCase cases[] = {
        {"wall above, overlap exactly 10 mm", 10, false},
        {"wall above, overlap 11 mm", 11, true},
        {"wall overlapping in height, outline apart", 12, false},
        {"wall below, overlap exactly 10 mm", 13, false},
        {"wall below, overlap 11 mm", 14, true},
        {"beam through the stair", 15, false},
        {"slab through the stair", 16, false},
        {"floor area far above, outlines overlapping", 17, true},
        {"floor area beside", 18, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(stair->IsIntersectWith(building->Record(c.other)), c.intersects) << c.name;
}

// ---------------------------------------------------------------------------
// Site levelling

TEST(SiteLevelingEDOTest, ExtendedPolygonAndOriginalDetail)
{
    const auto building = Building(R"(
      {"id": 1, "type": 60, "floor": 1,
        "shape": {"kind": "face", "outline": [[0, 0], [10000, 0], [10000, 8000], [0, 8000]], "elev": 0}})");
    TQTKCalculationScope& scope = building->Activate();
    const Ref<IQTKSiteLevelingCalcEDO> site = Edo<IQTKSiteLevelingCalcEDO>(*building, 1);
    const TVRMMultiPolygon2d* extended = site->GetExtendTwoMeterPolygon();
    ASSERT_EQ(extended->GetCount(), 1);
    // Mitred corners: the rectangle 2 m larger on every side.
    EXPECT_NEAR(extended->Area(), 14000.0 * 12000.0, CTol);
    const TVRMBox2d box = extended->Box();
    EXPECT_NEAR(box.min.x, -2000, CTol);
    EXPECT_NEAR(box.max.y, 10000, CTol);
    EXPECT_EQ(site->GetExtendTwoMeterPolygon(), extended);

    TQtyTable qty;
    site->SetOriginalQty(8e7);
    struct TCase {
        const char* name;
        int qtyId;
        bool containerUsed;
        int added;
    };
    const TCase cases[] = {
        {"464, empty container", 464, false, 1},
        {"464, container used", 464, true, 0},
        {"another quantity", 465, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TQTKDeductDetailContainer& details = scope.Details();
        details.Clear();
        if (c.containerUsed)
            details.Add(std::make_unique<TQTKDeductDetail>(RecordRef(building->Record(1)), "", "", "1"));
        const int before = details.GetCount();
        site->FillDeductDetail(qty.Qty(c.qtyId, "m2"));
        ASSERT_EQ(details.GetCount(), before + c.added);
        if (c.added == 1) {
            const auto* detail = dynamic_cast<const TQTKPoly2dDeductDetail*>(details.GetLast());
            ASSERT_TRUE(detail);
            EXPECT_TRUE(detail->GetIsOriginalQty());
            EXPECT_EQ(detail->GetDedcutExpr(), "80");
            EXPECT_NEAR(detail->GetPolygon().Area(), 8e7, CTol);
        }
    }
    scope.Details().Clear();
}

TEST(SiteLevelingEDOTest, OutlineThatCannotGrowGivesEmptyPolygon)
{
    // A face whose outline encloses nothing (drawn in code: a model file refuses it).
    TTestBuilding building;
    building.AddFace(1, 60, 0, 0, 10000, 0, 0, 0);
    building.Activate();
    EXPECT_TRUE(Edo<IQTKSiteLevelingCalcEDO>(building, 1)->GetExtendTwoMeterPolygon()->IsEmpty());
}

// ---------------------------------------------------------------------------
// Apron

// External walls 240 thick on the centre-line rectangle 10000 x 8000 (ids 11
// to 14, counter-clockwise from the bottom; outer faces 10240 x 8240), and an
// apron (id 1) 800 wide around them, its top at 0 and 100 thick.
std::string ApronAroundWalls()
{
    auto wall = [](int id, const char* start, const char* end) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": 240},
                  "shape": {"kind": "line", "start": )" +
               start + R"(, "end": )" + end + R"(, "bottom": -300, "top": 3000}})";
    };
    return R"({"id": 1, "type": 61, "floor": 1, "props": {"Thickness": 100},
               "shape": {"kind": "face", "elev": 0, "outline": [
                 [[-920, -920], [10920, -920], [10920, 8920], [-920, 8920]],
                 [[-120, -120], [-120, 8120], [10120, 8120], [10120, -120]]]}}, )" +
           wall(11, "[0, 0]", "[10000, 0]") + ", " + wall(12, "[10000, 0]", "[10000, 8000]") + ", " +
           wall(13, "[10000, 8000]", "[0, 8000]") + ", " + wall(14, "[0, 8000]", "[0, 0]");
}

// External wall information of the floor: the centre-line loop, each edge with its wall.
std::shared_ptr<TQTKFloorExternalInfoContr> ExternalWalls(int floorId)
{
    TQTKFloorExternalInfo info;
    info.floorId = floorId;
    TVRMPolygon2d ring;
    for (const TVRMPoint2d& p :
         {TVRMPoint2d{0, 0}, TVRMPoint2d{10000, 0}, TVRMPoint2d{10000, 8000}, TVRMPoint2d{0, 8000}})
        ring.Add(p);
    info.outline.Add(ring);
    info.ringEdges = {{{11, false}, {12, false}, {13, false}, {14, false}}};
    auto contr = std::make_shared<TQTKFloorExternalInfoContr>();
    contr->Add(std::move(info));
    return contr;
}

TEST(ApronEDOTest, WithoutWallsTheNetFaceIsTheOutline)
{
    const auto building = Building(R"({"id": 1, "type": 61, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "elev": 0, "outline": [[0, 0], [10000, 0], [10000, 800], [0, 800]]}})");
    building->Activate();
    const Ref<IQTKApronCalcEDO> apron = Edo<IQTKApronCalcEDO>(*building, 1);
    EXPECT_NEAR(apron->GetNetFacePolygon()->Area(), 8e6, CTol);
    EXPECT_NEAR(apron->GetPerimeterCalc()->GetAllLength(), 2 * (10000 + 800), CTol);
    EXPECT_NEAR(apron->GetAreaShellCalc()->GetArea(), 8e6, CTol);
}

TEST(ApronEDOTest, WallTouchLengthFromTheExternalWallOutline)
{
    const auto building = Building(ApronAroundWalls());
    TQTKCalculationScopeOptions options;
    options.session.externalWallInfos = ExternalWalls(1);
    building->Activate(std::move(options));
    const Ref<IQTKApronCalcEDO> apron = Edo<IQTKApronCalcEDO>(*building, 1);
    EXPECT_NEAR(apron->GetTunchWallLengthCalc()->GetAllLength(), 2 * (10240 + 8240), CTol);
    EXPECT_EQ(apron->GetTunchWallLengthCalc(), apron->GetTunchWallLengthCalc());
    // The walls only touch the apron: its net face is its outline.
    EXPECT_NEAR(apron->GetNetFacePolygon()->Area(), 11840.0 * 9840 - 10240.0 * 8240, 1e-3);
}

// Attaches line objects to the four walls whose attach lines are the joined
// side lines: left inside (9760 x 7760), right outside (10240 x 8240).
void AttachWallLines(TFakeEDOScope& fakes, const TTestBuilding& building)
{
    struct TWall {
        int id;
        TVRMPoint2d innerStart, innerEnd, outerStart, outerEnd;
    };
    const TWall walls[] = {
        {11, {120, 120}, {9880, 120}, {-120, -120}, {10120, -120}},
        {12, {9880, 120}, {9880, 7880}, {10120, -120}, {10120, 8120}},
        {13, {9880, 7880}, {120, 7880}, {10120, 8120}, {-120, 8120}},
        {14, {120, 7880}, {120, 120}, {-120, 8120}, {-120, -120}},
    };
    for (const TWall& w : walls) {
        auto& edo = fakes.Attach<TFakeLineEntEDO>(building.DrawObj(w.id));
        edo.leftLine = TVRMCustomLine2d(w.innerStart, w.innerEnd);
        edo.rightLine = TVRMCustomLine2d(w.outerStart, w.outerEnd);
    }
}

TEST(ApronEDOTest, WallTouchLengthFromWallSideLinesWithoutExternalWallInformation)
{
    const auto building = Building(ApronAroundWalls());
    TQTKCalculationScopeOptions options;
    options.session.externalWallInfos = ExternalWalls(2);  // another floor's only
    building->Activate(std::move(options));
    TFakeEDOScope fakes;
    AttachWallLines(fakes, *building);
    const Ref<IQTKApronCalcEDO> apron = Edo<IQTKApronCalcEDO>(*building, 1);
    TRecordList walls;
    ASSERT_TRUE(apron->GetRelatedByTypes(MakeElementTypeSet({0, 1}), &walls));
    EXPECT_EQ(walls.size(), 4u);
    // The outer side lines run longer along the apron's inner boundary.
    EXPECT_NEAR(apron->GetTunchWallLengthCalc()->GetAllLength(), 2 * (10240 + 8240), CTol);
}

TEST(ApronEDOTest, WallTouchLengthFromTheWallsOwnJoinedSideLines)
{
    const auto building = Building(ApronAroundWalls());
    TQTKCalculationScopeOptions options;
    options.session.externalWallInfos = ExternalWalls(2);
    building->Activate(std::move(options));
    EXPECT_NEAR(Edo<IQTKApronCalcEDO>(*building, 1)->GetTunchWallLengthCalc()->GetAllLength(), 2 * (10240 + 8240),
                CTol);
}

TEST(ApronEDOTest, WallTouchReportBuildsWithoutDetailsAndMarksThePerimeterByWall)
{
    const auto building = Building(ApronAroundWalls());
    auto reports = MakeRef<TRDXTable>(
        "Report", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}, {"Code", TRDXFieldType::Text, ""}});
    for (const char* code : {"wwcd", "QTMJ"}) {
        SCOPED_TRACE(code);
        TQTKCalculationScopeOptions options;
        options.session.externalWallInfos = ExternalWalls(2);
        options.session.detailMode = true;
        options.session.reportRecord = RecordRef(reports->AddRow({std::int64_t{reports->GetRowCount() + 1}, code}));
        TQTKCalculationScope& scope = building->Activate(std::move(options));
        TFakeEDOScope fakes;
        AttachWallLines(fakes, *building);
        const Ref<IQTKApronCalcEDO> apron = Edo<IQTKApronCalcEDO>(*building, 1);
        const int before = scope.Details().GetCount();
        EXPECT_NEAR(apron->GetTunchWallLengthCalc()->GetAllLength(), 2 * (10240 + 8240), CTol);
        EXPECT_EQ(scope.Details().GetCount(), before);
        EXPECT_TRUE(GIsDetailMode);
        // For the wall-touch report each wall marks the apron edge it stands on
        // (its drawn length: 10000 for the bottom wall).
        const bool wallTouch = std::string(code) == "wwcd";
        EXPECT_NEAR(apron->GetPerimeterCalc()->GetLengthFor(11), wallTouch ? 10000 : 0, CTol);
        EXPECT_NEAR(apron->GetPerimeterCalc()->GetLengthFor(12), wallTouch ? 8000 : 0, CTol);
        building->Deactivate();
    }
}

// ---------------------------------------------------------------------------
// Custom elements and copings

TEST(CustomElementEDOTest, OnlyOtherCustomKindsIntersect)
{
    auto point = [](int id, double x) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": 71, "floor": 1, "shape": {"kind": "point",
                  "insertPt": [)" +
               std::to_string(x) + R"(, 0], "size": [1000, 1000], "bottom": 0, "top": 1000}})";
    };
    auto face = [](int id, double x) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": 73, "floor": 1, "props": {"Thickness": 200},
                  "shape": {"kind": "face", "elev": 500, "outline": [[)" +
               std::to_string(x) + ", -500], [" + std::to_string(x + 1000) + ", -500], [" + std::to_string(x + 1000) +
               ", 500], [" + std::to_string(x) + ", 500]]}}";
    };
    const auto building = Building(point(1, 0) + ", " + point(2, 500) + ", " + face(3, 0) + ", " + face(4, 300) + R"(,
      {"id": 5, "type": 72, "floor": 1, "shape": {"kind": "line", "start": [-2000, 0], "end": [2000, 0],
        "width": 200, "bottom": 0, "top": 1000}},
      {"id": 6, "type": 72, "floor": 1, "shape": {"kind": "line", "start": [0, -2000], "end": [0, 2000],
        "width": 200, "bottom": 0, "top": 1000}},
      {"id": 7, "type": 0, "floor": 1, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [-2000, 100], "end": [2000, 100], "bottom": 0, "top": 3000}})");
    building->Activate();
    struct TCase {
        const char* name;
        int subject, other;
        bool intersects;
    };
    const TCase cases[] = {
        {"point, point", 1, 2, false}, {"face, face", 3, 4, false}, {"line, line", 5, 6, true},
        {"point, face", 1, 3, true},   {"face, point", 3, 1, true}, {"point, line", 1, 5, true},
        {"line, point", 5, 1, true},   {"line, face", 5, 3, true},  {"face, line", 3, 5, true},
        {"point, wall", 1, 7, false},  {"line, wall", 5, 7, false}, {"face, wall", 3, 7, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(GetCalcEDO(building->Record(c.subject), true)->IsIntersectWith(building->Record(c.other)),
                  c.intersects)
            << c.name;
}

TEST(CustomElementEDOTest, CalculatorsAndOriginalDetails)
{
    const auto building = Building(R"(
      {"id": 1, "type": 71, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 500],
        "bottom": 0, "top": 2000}},
      {"id": 2, "type": 72, "floor": 1, "shape": {"kind": "line", "start": [5000, 0], "end": [8000, 0],
        "width": 200, "bottom": 0, "top": 500}},
      {"id": 3, "type": 73, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "elev": 300, "outline": [[0, 5000], [2000, 5000], [2000, 6000], [0, 6000]]}})");
    TQTKCalculationScope& scope = building->Activate();
    // A custom line asked for its solid before its lines were built still gets one.
    const Ref<IQTKCustomLineCalcEDO> line = Edo<IQTKCustomLineCalcEDO>(*building, 2, false);
    EXPECT_NEAR(line->GetOriginalPolyhedron()->GetVolume(), 3000.0 * 200 * 500, 1e-3);
    EXPECT_NEAR(line->GetLengthCalc()->GetAllLength(), 3000, CTol);
    EXPECT_NEAR(line->GetVolumeSolidCalc()->GetVolume(), 3000.0 * 200 * 500, 1e-3);
    EXPECT_EQ(line->GetVolumeSolidCalc(), line->GetVolumeSolidCalc());

    const Ref<IQTKCustomPointCalcEDO> point = Edo<IQTKCustomPointCalcEDO>(*building, 1);
    EXPECT_NEAR(point->GetVolumeSolidCalc()->GetVolume(), 1000.0 * 500 * 2000, 1e-3);
    const Ref<IQTKCustomFaceCalcEDO> face = Edo<IQTKCustomFaceCalcEDO>(*building, 3);
    EXPECT_NEAR(face->GetAreaShellCalc()->GetArea(), 2e6, CTol);
    EXPECT_NEAR(face->GetVolumeSolidCalc()->GetVolume(), 2e8, 1e-3);

    // Each writes its solid as the original quantity, only into an empty container.
    TQtyTable qty;
    for (int id : {1, 2, 3}) {
        SCOPED_TRACE(id);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(building->Record(id), true);
        edo->SetOriginalQty(2.5e8);
        scope.Details().Clear();
        edo->FillDeductDetail(qty.Qty(7));
        ASSERT_EQ(scope.Details().GetCount(), 1);
        const auto* detail = dynamic_cast<const TQTKSolidDeductDetail*>(scope.Details().GetLast());
        ASSERT_TRUE(detail);
        EXPECT_TRUE(detail->GetIsOriginalQty());
        EXPECT_EQ(detail->GetDedcutExpr(), "0.25");
        edo->FillDeductDetail(qty.Qty(7));
        EXPECT_EQ(scope.Details().GetCount(), 1);
    }
    scope.Details().Clear();
}

// Copings 300 wide and 100 high, 3000 long: two meeting end to end at x =
// 3000 (ids 1 and 2), a lone one (id 3), two overlapping by 1000 (ids 4 and 5).
std::string Copings()
{
    auto coping = [](int id, int x0, int x1, int y) {
        return R"({"id": )" + std::to_string(id) + R"(, "type": 70, "floor": 1, "shape": {"kind": "line", "start": [)" +
               std::to_string(x0) + ", " + std::to_string(y) + R"(], "end": [)" + std::to_string(x1) + ", " +
               std::to_string(y) + R"(], "width": 300, "bottom": 2800, "top": 2900}})";
    };
    return coping(1, 0, 3000, 0) + ", " + coping(2, 3000, 6000, 0) + ", " + coping(3, 0, 3000, 9000) + ", " +
           coping(4, 0, 3000, 20000) + ", " + coping(5, 2000, 5000, 20000);
}

TEST(CopingEDOTest, OriginalDetailsByQuantity)
{
    const auto building = Building(Copings());
    TQTKCalculationScope& scope = building->Activate();
    const Ref<IQTKCopingCalcEDO> coping = Edo<IQTKCopingCalcEDO>(*building, 3);
    coping->SetOriginalQty(9e7);
    TQtyTable qty;
    struct TCase {
        const char* name;
        int qtyId;
        int added;
    };
    const TCase cases[] = {{"638 out area", 638, 0},
                           {"603 volume", 603, 1},
                           {"486 volume calculator", 486, 0},
                           {"487 formwork calculator", 487, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        scope.Details().Clear();
        coping->FillDeductDetail(qty.Qty(c.qtyId));
        ASSERT_EQ(scope.Details().GetCount(), c.added);
        if (c.added == 1) {
            const auto* detail = dynamic_cast<const TQTKSolidDeductDetail*>(scope.Details().GetLast());
            ASSERT_TRUE(detail);
            EXPECT_TRUE(detail->GetIsOriginalQty());
            EXPECT_EQ(detail->GetDedcutExpr(), "0.09");
            EXPECT_NEAR(detail->GetSolid()->GetVolume(), 3000.0 * 300 * 100, 1e-3);
        }
    }
    scope.Details().Clear();
    EXPECT_NEAR(coping->GetVolumeSolidCalc()->GetVolume(), 3000.0 * 300 * 100, 1e-3);
    EXPECT_FALSE(coping->GetOutAreaCalc());
    auto stored = std::make_shared<TQTKShellCalc3d>(std::make_unique<TVRMPolyhedronShell3d>(), nullptr);
    coping->SetOutAreaCalc(stored);
    EXPECT_EQ(coping->GetOutAreaCalc(), stored);
}

TEST(CopingEDOTest, FormworkLessTheRelatedCopings)
{
    const auto building = Building(Copings());
    building->Activate();
    // Sides and bottom: 2 x 3000 x 100 + 3000 x 300; each end face 300 x 100.
    const double full = 2 * 3000.0 * 100 + 3000.0 * 300 + 2 * 300.0 * 100;
    const double endFace = 300.0 * 100;
    // Over the 1000 mm the overlapping copings share: two sides and the bottom.
    const double sharedFlush = 2 * 1000.0 * 100 + 1000.0 * 300;
    struct TCase {
        const char* name;
        int id;
        double area;
    };
    const TCase cases[] = {
        {"alone", 3, full},
        // End to end: the neighbour stands against the shared end face (a
        // contact face), which both the giving-way ({0, 1}) and the other
        // coping ({0}) give up.
        {"end to end, keeps precedence", 1, full - endFace},
        {"end to end, gives way", 2, full - endFace},
        // Overlapping: each loses the end face inside the other; the faces
        // lying flush with the other's go only from the coping that gives way
        // (the higher id).
        {"overlapping, keeps precedence", 4, full - endFace},
        {"overlapping, gives way", 5, full - endFace - sharedFlush},
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(Edo<IQTKCopingCalcEDO>(*building, c.id)->GetFormboardShellCalc()->GetArea(), c.area, 1e-3)
            << c.name;
}

// ---------------------------------------------------------------------------
// Eaves, canopies and roofs

TEST(EaveAndCanopyEDOTest, FloorAreasOfTheSameFloorOnly)
{
    const auto building = Building(R"(
      {"id": 1, "type": 65, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 1000], [0, 1000]], "elev": 2800}},
      {"id": 2, "type": 58, "floor": 2, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[1000, 0], [5000, 0], [5000, 4000], [1000, 4000]], "elev": 3000}},
      {"id": 3, "type": 58, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[1000, 0], [5000, 0], [5000, 4000], [1000, 4000]], "elev": 0}},
      {"id": 4, "type": 58, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[3000, 0], [5000, 0], [5000, 4000], [3000, 4000]], "elev": 0}})");
    building->Activate();
    const Ref<IQTKCalculatorEDO> canopy = GetCalcEDO(building->Record(1), true);
    EXPECT_FALSE(canopy->IsIntersectWith(building->Record(2)));
    EXPECT_TRUE(canopy->IsIntersectWith(building->Record(3)));
    EXPECT_FALSE(canopy->IsIntersectWith(building->Record(4)));
}

TEST(EaveAndCanopyEDOTest, VolumeDetailKeepsEarlierSolidDetails)
{
    const auto building = Building(R"(
      {"id": 1, "type": 65, "floor": 1, "props": {"Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 1000], [0, 1000]], "elev": 2800}})");
    TQTKCalculationScope& scope = building->Activate();
    const Ref<IQTKEaveAndCanopyCalcEDO> canopy = Edo<IQTKEaveAndCanopyCalcEDO>(*building, 1);
    TQtyTable qty;
    const RecordRef record(building->Record(1));
    struct TCase {
        const char* name;
        int qtyId;
        bool stored;       // a horizontal polygon 1000 x 1000 stored
        int details;       // details afterwards
        const char* text;  // of the last detail
    };
    const TCase cases[] = {
        {"344 with the stored polygon", 344, true, 2, "0.1"},
        {"475 without a stored polygon: the outline", 475, false, 2, "0.2"},
        {"another quantity", 330, true, 3, "1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TQTKDeductDetailContainer& details = scope.Details();
        details.Clear();
        details.Add(std::make_unique<TQTKSolidDeductDetail>(record, "", "", std::make_unique<TVRMPolyhedron3d>(),
                                                            nullptr, "5"));
        details.Add(std::make_unique<TQTKShellDeductDetail>(record, "", "", std::make_unique<TVRMPolyhedronShell3d>(),
                                                            nullptr, "3"));
        details.Add(std::make_unique<TQTKDeductDetail>(record, "", "", "1"));
        canopy->FreeCalcCache();
        if (c.stored) {
            auto polygon = std::make_unique<TVRMMultiPolygon2d>();
            TVRMPolygon2d square;
            for (const TVRMPoint2d& p :
                 {TVRMPoint2d{0, 0}, TVRMPoint2d{1000, 0}, TVRMPoint2d{1000, 1000}, TVRMPoint2d{0, 1000}})
                square.Add(p);
            polygon->Add(square);
            canopy->SetHorizonPolygon(std::move(polygon));
        }
        canopy->FillDeductDetail(qty.Qty(c.qtyId));
        ASSERT_EQ(details.GetCount(), c.details);
        EXPECT_EQ(details.GetItems(0)->GetDedcutExpr(), "5");
        EXPECT_EQ(details.GetLast()->GetDedcutExpr(), c.text);
        if (c.details == 2) {
            const auto* added = dynamic_cast<const TQTKSolidDeductDetail*>(details.GetLast());
            ASSERT_TRUE(added);
            EXPECT_TRUE(added->GetIsOriginalQty());
            // On the top surface at 2800, 100 deep.
            EXPECT_NEAR(added->GetSolid()->GetBox().max.z, 2800, CTol);
            EXPECT_NEAR(added->GetSolid()->GetBox().min.z, 2700, CTol);
        }
    }
    scope.Details().Clear();
}

TEST(EaveAndCanopyEDOTest, StoredPolygonIsOwnedAndReplaced)
{
    const auto building = Building(R"(
      {"id": 1, "type": 64, "floor": 1, "props": {"Shape": 0, "Thickness": 100},
        "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 1000], [0, 1000]], "elev": 2800}})");
    building->Activate();
    const Ref<IQTKEaveAndCanopyCalcEDO> eave = Edo<IQTKEaveAndCanopyCalcEDO>(*building, 1);
    EXPECT_FALSE(eave->GetHorizonPolygon());
    auto first = std::make_unique<TVRMMultiPolygon2d>(building->DrawObj(1)->GetShape()->GetOutline());
    eave->SetHorizonPolygon(std::move(first));
    const std::shared_ptr<const TVRMMultiPolygon2d> held = eave->GetHorizonPolygon();
    eave->SetHorizonPolygon(std::make_unique<TVRMMultiPolygon2d>());
    // The replaced polygon is released by the object; a reader's copy stays valid.
    EXPECT_NEAR(held->Area(), 2e6, CTol);
    EXPECT_TRUE(eave->GetHorizonPolygon()->IsEmpty());
    EXPECT_EQ(held.use_count(), 1);
}

TEST(EaveLineEDOTest, FaceCalculatorsStartEmptyWithEachQuantity)
{
    const auto building = Building(R"(
      {"id": 1, "type": 64, "floor": 1, "props": {"Shape": 1},
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0], "width": 300, "bottom": 2800, "top": 2900}})");
    building->Activate();
    const Ref<IQTKEaveLineCalcEDO> eave = Edo<IQTKEaveLineCalcEDO>(*building, 1);
    EXPECT_FALSE(eave->GetOuterAreaCalc());
    eave->ClearQtyItems();
    for (const auto& calc : {eave->GetOuterAreaCalc(), eave->GetInnerAreaShellCalc(), eave->GetTopAreaShellCalc()}) {
        ASSERT_TRUE(calc);
        EXPECT_EQ(calc->GetArea(), 0.0);
        ASSERT_TRUE(calc->GetElementSolid());
        EXPECT_NEAR(calc->GetElementSolid()->GetVolume(), 3000.0 * 300 * 100, 1e-3);
    }
    EXPECT_NE(eave->GetOuterAreaCalc(), eave->GetTopAreaShellCalc());
    // The relation solid is the section along the drawn line.
    EXPECT_NEAR(eave->GetRelationPolyhedronIntf()->GetPolyhedron()->GetVolume(), 3000.0 * 300 * 100, 1e-3);
}

TEST(RoofEDOTest, PlaneRoofsKeepWhatRulesStoreCurvedRoofsBuildTheirOwn)
{
    const auto building = Building(R"(
      {"id": 1, "type": 67, "floor": 2, "props": {"Thickness": 120},
        "shape": {"kind": "roof", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]], "elev": 6000}},
      {"id": 2, "type": 67, "floor": 2, "props": {"Thickness": 120},
        "shape": {"kind": "roof", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
          "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 6000,
                        "axis": [[0, 2000], [6000, 2000]]}}})");
    building->Activate();
    const Ref<IQTKRoofCalcEDO> plane = Edo<IQTKRoofCalcEDO>(*building, 1);
    const Ref<IQTKRoofCalcEDO> curved = Edo<IQTKRoofCalcEDO>(*building, 2);
    plane->ClearQtyItems();
    curved->ClearQtyItems();
    EXPECT_FALSE(plane->IsCurvedFaceShape());
    EXPECT_FALSE(plane->GetAreaShellCalc());
    EXPECT_FALSE(plane->GetWaterproofShellCalc());
    auto stored = std::make_shared<TQTKShellCalc3d>(std::make_unique<TVRMPolyhedronShell3d>(), nullptr);
    plane->SetAreaShellCalc(stored);
    EXPECT_EQ(plane->GetAreaShellCalc(), stored);
    EXPECT_FALSE(plane->GetWaterproofShellCalc());

    EXPECT_TRUE(curved->IsCurvedFaceShape());
    const auto area = curved->GetAreaShellCalc();
    ASSERT_TRUE(area);
    const auto solid = curved->GetOriginalPolyhedronIntf();
    double downward = 0.0;
    for (const TVRMFace3d& f : solid->GetPolyhedron()->GetFaces())
        if (f.GetNormal().z < -1e-3)
            downward += f.GetArea();
    EXPECT_GT(downward, 0.0);
    EXPECT_NEAR(area->GetArea(), downward, 1e-3);
    EXPECT_EQ(curved->GetAreaShellCalc(), area);
    EXPECT_TRUE(curved->GetWaterproofShellCalc());

    TQtyTable qty;
    EXPECT_FALSE(plane->AddOriginalQtyDetail(qty.Qty(330)));
    EXPECT_EQ(plane->GetCurrentQtyItemID(), 330);
    plane->AddOriginalQtyDetail(qty.Qty(332));
    EXPECT_EQ(plane->GetCurrentQtyItemID(), 332);
}

}  // namespace
