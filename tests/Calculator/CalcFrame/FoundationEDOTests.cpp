// Element objects of rafts, isolated foundations and their units, piles, pile
// caps and their units: the scaffold requirement and outline, the 500 mm
// reach, bottom and brick mould solids, unit order and perimeters, formwork
// by angle, the calculators the rules share and the original details.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPileCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRaftFDCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr double CTol = 1e-6;

std::string Num(double v)
{
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

// A 2000 x 2000 raft (id 1) on [0, 2000]^2 whose bottom is at Bottom.
std::string Raft(double bottom, int id = 1, double x = 0)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 48, "floor": 1, "props": {"BottomElev": )" + Num(bottom) +
           R"(, "TopElev": )" + Num(bottom + 500) + R"(, "Thickness": 500}, "shape": {"kind": "face", "outline": [[)" +
           Num(x) + ", 0], [" + Num(x + 2000) + ", 0], [" + Num(x + 2000) + ", 2000], [" + Num(x) + ", 2000]]}}";
}

// An isolated foundation (id) of one Size x Size unit (id + 1) centred at (X, Size / 2).
std::string Isolated(double bottom, int id = 1, double x = 1000, double size = 2000)
{
    const std::string at = R"("insertPt": [)" + Num(x) + ", " + Num(size / 2) + R"(], "size": [)" + Num(size) + ", " +
                           Num(size) + "], \"bottom\": " + Num(bottom) + ", \"top\": " + Num(bottom + 400);
    const std::string props =
        R"("props": {"BottomElev": )" + Num(bottom) + R"(, "TopElev": )" + Num(bottom + 400) + "}";
    return R"({"id": )" + std::to_string(id) + R"(, "type": 52, "floor": 1, )" + props +
           R"(, "shape": {"kind": "point", )" + at + "}}, " + R"({"id": )" + std::to_string(id + 1) +
           R"(, "type": 82, "floor": 1, "parent": )" + std::to_string(id) + ", " + props +
           R"(, "shape": {"kind": "point", )" + at + "}}";
}

std::vector<int> Ids(const TRecordList& records)
{
    std::vector<int> ids;
    for (const RecordRef& record : records)
        ids.push_back(record->GetID());
    return ids;
}

struct TSettings {
    std::optional<int> raftCondition, raftMethod, isolatedCondition, isolatedMethod;
    std::optional<double> pileCapAngle;
};

std::string Field(const char* name, const std::optional<int>& value)
{
    return std::string("\"") + name + "\": " + (value ? std::to_string(*value) : "null");
}

class TFoundationTest : public ::testing::Test {
protected:
    void Load(const std::string& elements, const TSettings& settings = {}, double groundElevM = 0.0,
              bool regionFlag = false, double firstFloorElevM = 0.0)
    {
        const std::string row =
            "{" + Field("RaftFDScaffoldCaclCondition", settings.raftCondition) + ", " +
            Field("RaftFDScaffoldCalcMethord", settings.raftMethod) + ", " +
            Field("IsolateFDScaffoldCaclCondition", settings.isolatedCondition) + ", " +
            Field("IsolateFDScaffoldCalcMethord", settings.isolatedMethod) +
            ", \"PileCapFormboardAngle\": " + (settings.pileCapAngle ? Num(*settings.pileCapAngle) : "null") + "}";
        const std::string text = R"({"project": {"Name": "p", "GroundElev": )" + Num(groundElevM) +
                                 R"(}, "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": )" +
                                 Num(firstFloorElevM) +
                                 R"(, "Height": 3.0, "RegionID": 1, "FirstFloorFlag": true}],
            "databases": [{"name": "NormCalcRule", "tables": [{"name": "QTKFDCalcSettings", "fields": [
              {"name": "RaftFDScaffoldCaclCondition", "type": "integer"},
              {"name": "RaftFDScaffoldCalcMethord", "type": "integer"},
              {"name": "IsolateFDScaffoldCaclCondition", "type": "integer"},
              {"name": "IsolateFDScaffoldCalcMethord", "type": "integer"},
              {"name": "PileCapFormboardAngle", "type": "float"}], "rows": [)" +
                                 row + R"(]}]}], "elements": [)" + elements + "]}";
        model_ = TQTKElementModel::LoadFromText(text, std::filesystem::current_path());
        model_->Activate();
        TQTKCalcSessionOptions options;
        options.business = TableSourceRef(model_->GetBusiness());
        options.calculatorSetting = RuleContext();
        options.regions = {TQTKRegionInfo{1, regionFlag, 0.0}};
        StartCalculationSession(options);
    }
    void TearDown() override
    {
        SetDeductDetailContainer(nullptr);
        FreeCalcEDOs();
        if (model_)
            model_->ClearCalcEDOs();
        GetQTKModelRuntimeOptions().SetBoxService(nullptr);
        StartCalculationSession({});
    }
    TableSourceRef RuleContext() const { return TableSourceRef(model_->GetRDXModel()->FindDatabase("NormCalcRule")); }
    IRDXRecord* Record(int id) const { return model_->GetElementTable()->GetRecordByID(id); }
    IQTKElementDrawObj* DrawObj(int id) const { return model_->FindElement(id); }
    template <class T>
    Ref<T> Edo(int id) const
    {
        Ref<T> edo = RefCast<T>(GetCalcEDO(Record(id), true));
        EXPECT_TRUE(edo) << "element " << id;
        return edo;
    }

    Ref<TQTKElementModel> model_;
};

// ---------------------------------------------------------------------------
// Scaffold requirement, one table over the raft and the isolated foundation.

struct TScaffoldCase {
    const char* name;
    int condition;
    double bottom;
    double groundElevM;
    bool regionFlag;
    double firstFloorElevM;
    const char* bedding;  // props of a bedding under the foundation, or nil
    bool required;
};

const TScaffoldCase CScaffoldCases[] = {
    {"bottom exactly 2000 below", 1, -2000, 0.0, false, 0.0, nullptr, false},
    {"bottom 2000.01 below", 1, -2000.01, 0.0, false, 0.0, nullptr, true},
    {"condition 1 ignores the bedding", 1, -1500, 0.0, false, 0.0, R"({"TopElev": -1500, "Thickness": 600})", false},
    {"condition 0: bedding bottom top - thickness", 0, -1500, 0.0, false, 0.0,
     R"({"TopElev": -1500, "Thickness": 600})", true},
    {"condition 0: bedding top the lower end top", 0, -1500, 0.0, false, 0.0,
     R"({"StartPtTopElev": -1500, "EndPtTopElev": -1400, "Thickness": 600})", true},
    {"condition 0 without bedding", 0, -1500, 0.0, false, 0.0, nullptr, false},
    {"region flag: first floor of the region", 1, -1800, 0.3, true, 0.0, nullptr, false},
    {"no region flag: project ground", 1, -1800, 0.3, false, 0.0, nullptr, true},
};

void PrintTo(const TScaffoldCase& c, std::ostream* os)
{
    *os << c.name;
}

class TScaffoldRequirementTest : public TFoundationTest, public ::testing::WithParamInterface<TScaffoldCase> {};

TEST_P(TScaffoldRequirementTest, RaftAndIsolatedFoundation)
{
    const TScaffoldCase& c = GetParam();
    for (const bool raft : {true, false}) {
        SCOPED_TRACE(raft ? "raft" : "isolated foundation");
        std::string elements = raft ? Raft(c.bottom) : Isolated(c.bottom);
        if (c.bedding)
            elements += R"(, {"id": 9, "type": 55, "floor": 1, "props": )" + std::string(c.bedding) +
                        R"(, "shape": {"kind": "point", "insertPt": [1000, 1000], "size": [2400, 2400], "bottom": )" +
                        Num(c.bottom - 600) + ", \"top\": " + Num(c.bottom) + "}}";
        TSettings settings;
        settings.raftCondition = settings.isolatedCondition = c.condition;
        Load(elements, settings, c.groundElevM, c.regionFlag, c.firstFloorElevM);
        EXPECT_EQ(IsFDScaffoldRequired(DrawObj(1), c.condition), c.required);
        const TVRMMultiPolygon2d* polygon = raft ? Edo<IQTKRaftFDCalcEDO>(1)->GetScaffoldPolygon()
                                                 : Edo<IQTKIsolatedFDCalcEDO>(1)->GetScaffoldPolygon();
        EXPECT_EQ(!polygon->IsEmpty(), c.required);
        TearDown();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TScaffoldRequirementTest, ::testing::ValuesIn(CScaffoldCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// A box service whose query fails.
class TFailingBoxService final : public TInterfacedObject, public IQTKBoxService {
public:
    std::vector<int> Query(const TVRMBox3d&, int) const override { throw std::runtime_error("box query failed"); }
    int GetCount() const override { return 0; }
};

TEST_F(TFoundationTest, AFailedScaffoldTestKeepsItsCauseAndIsTriedAgain)
{
    TSettings settings;
    settings.isolatedCondition = 0;
    Load(Isolated(-2500), settings);
    const Ref<IQTKIsolatedFDCalcEDO> edo = Edo<IQTKIsolatedFDCalcEDO>(1);
    Ref<IQTKBoxService> service = GetQTKModelRuntimeOptions().GetBoxService();
    GetQTKModelRuntimeOptions().SetBoxService(MakeRef<TFailingBoxService>().get());
    try {
        edo->GetScaffoldPolygon();
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "1: box query failed");
    }
    GetQTKModelRuntimeOptions().SetBoxService(service.get());
    EXPECT_NEAR(edo->GetScaffoldPolygon()->Area(), 4e6, CTol);
}

// ---------------------------------------------------------------------------
// Scaffold outlines and the reach.

struct TScaffoldOutlineCase {
    const char* name;
    bool raft;
    double bottom;  // -2500: a scaffold is needed; -1000: none
    std::optional<int> method;
    double area;
};

TEST_F(TFoundationTest, ScaffoldOutlineByMethod)
{
    const TScaffoldOutlineCase cases[] = {
        {"raft, method null", true, -2500, std::nullopt, 4e6},
        {"raft, method 0", true, -2500, 0, 4e6},
        {"raft, method 300 (mitred corners)", true, -2500, 300, 2600.0 * 2600.0},
        {"raft, no scaffold", true, -1000, 300, 0},
        {"isolated, method null", false, -2500, std::nullopt, 4e6},
        {"isolated, method 0", false, -2500, 0, 4e6},
        {"isolated, method 300", false, -2500, 300, 2600.0 * 2600.0},
        {"isolated, no scaffold", false, -1000, 300, 0},
    };
    for (const TScaffoldOutlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSettings settings;
        settings.raftCondition = settings.isolatedCondition = 1;
        settings.raftMethod = settings.isolatedMethod = c.method;
        Load(c.raft ? Raft(c.bottom) : Isolated(c.bottom), settings);
        const TVRMMultiPolygon2d* polygon;
        std::shared_ptr<TQTKPlanarCalc2d> calc;
        if (c.raft) {
            const Ref<IQTKRaftFDCalcEDO> edo = Edo<IQTKRaftFDCalcEDO>(1);
            polygon = edo->GetScaffoldPolygon();
            calc = edo->GetScaffoldCalc();
        } else {
            const Ref<IQTKIsolatedFDCalcEDO> edo = Edo<IQTKIsolatedFDCalcEDO>(1);
            polygon = edo->GetScaffoldPolygon();
            calc = edo->GetScaffoldCalc();
        }
        EXPECT_NEAR(polygon->Area(), c.area, CTol);
        EXPECT_EQ(polygon->IsEmpty(), c.area == 0);
        EXPECT_NEAR(calc->GetArea(), c.area, CTol);
        TearDown();
    }
}

TEST_F(TFoundationTest, ExpandedPolygonIsTheFirstRingGrownBy500)
{
    Load(Isolated(-2500, 1, 500, 1000) + ", " + Raft(-2500, 5, 5000));
    EXPECT_NEAR(Edo<IQTKIsolatedFDCalcEDO>(1)->GetExpandedPolygon()->Area(), 2000.0 * 2000.0, CTol);
    EXPECT_NEAR(Edo<IQTKRaftFDCalcEDO>(5)->GetExpandedPolygon()->Area(), 3000.0 * 3000.0, CTol);

    // A ring the offset cannot grow (no area) is taken as it is.
    TQTKFaceShapeData face;
    face.outline.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {1000, 0}}));
    TQTKElementDrawObjData data;
    data.typeID = 48;
    data.props = MakeRef<TQTKPropValues>();
    data.shape = MakeRef<TQTKFaceShape>(std::move(face));
    const Ref<TQTKElementDrawObj> flat = MakeRef<TQTKElementDrawObj>(std::move(data));
    const auto expanded = BuildFDExpandedPolygon(flat.get());
    ASSERT_EQ(expanded->GetCount(), 1);
    EXPECT_EQ(expanded->GetItems(0).GetCount(), 2);
}

struct TReachCase {
    const char* name;
    double gap;
    double bottom;
    bool related;
};

TEST_F(TFoundationTest, IsolatedFoundationsRelateWithinReach)
{
    const TReachCase cases[] = {
        {"scaffold, 800 apart", 800, -2500, true},
        {"scaffold, 1200 apart", 1200, -2500, false},
        {"no scaffold, 800 apart", 800, -1000, false},
    };
    for (const TReachCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSettings settings;
        settings.isolatedCondition = 1;
        settings.raftCondition = 1;
        // 1000 x 1000 foundations, and a raft at the same gap on the other side.
        Load(Isolated(c.bottom, 1, 500, 1000) + ", " + Isolated(c.bottom, 3, 1000 + c.gap + 500, 1000) + ", " +
                 Raft(c.bottom, 5, -c.gap - 2000),
             settings);
        EXPECT_EQ(Edo<IQTKIsolatedFDCalcEDO>(1)->IsIntersectWith(Record(3)), c.related);
        EXPECT_EQ(Edo<IQTKIsolatedFDCalcEDO>(1)->IsIntersectWith(Record(5)), c.related);
        EXPECT_EQ(Edo<IQTKRaftFDCalcEDO>(5)->IsIntersectWith(Record(1)), c.related);
        // The related lists offer them to each other although their boxes are apart.
        TRecordList related;
        Edo<IQTKIsolatedFDCalcEDO>(1)->GetRelatedByTypes(MakeElementTypeSet({48, 52}), &related);
        EXPECT_EQ(Ids(related), (c.related ? std::vector<int>{3, 5} : std::vector<int>{}));
        Edo<IQTKIsolatedFDCalcEDO>(3)->GetRelatedByType(52, &related);
        EXPECT_EQ(Ids(related), (c.related ? std::vector<int>{1} : std::vector<int>{}));
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// Raft

// A raft whose edge x = 2000 is bevelled: the bottom runs to x = 1500 at -500.
const char* CBevelledRaft = R"({"id": 1, "type": 48, "floor": 1,
  "props": {"BottomElev": -500, "TopElev": 0, "Thickness": 500},
  "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]]},
  "solid": {"vertices": [[0, 0, 0], [2000, 0, 0], [2000, 2000, 0], [0, 2000, 0],
                         [0, 0, -500], [1500, 0, -500], [1500, 2000, -500], [0, 2000, -500]],
            "faces": [[0, 1, 2, 3], [4, 7, 6, 5], [0, 4, 5, 1], [3, 2, 6, 7], [0, 3, 7, 4], [1, 5, 6, 2]]}})";

TEST_F(TFoundationTest, RaftBottomShellSplitsLevelAndInclinedFaces)
{
    Load(CBevelledRaft);
    const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
    const TVRMPolyhedron3d& solid = *raft->GetOriginalPolyhedron();
    ASSERT_NEAR(solid.GetVolume(), (2000.0 + 1500.0) / 2 * 500 * 2000, 1e-3);
    std::vector<int> bottom, inclined;
    ClassifyRaftBottomFaces(solid, {0, 0, -1}, bottom, inclined);
    ASSERT_EQ(bottom.size(), 1u);
    ASSERT_EQ(inclined.size(), 1u);
    EXPECT_NEAR(solid.GetFace(bottom[0]).GetArea(), 1500.0 * 2000, 1e-3);
    EXPECT_NEAR(solid.GetFace(inclined[0]).GetArea(), 2000.0 * 500 * std::sqrt(2.0), 1e-3);

    EXPECT_FALSE(raft->GetBottomAreaCalc());
    const auto shell = raft->GetBottomShell();
    EXPECT_NEAR(shell->GetArea(), 1500.0 * 2000 + 2000.0 * 500 * std::sqrt(2.0), 1e-3);
    EXPECT_EQ(raft->GetBottomShell(), shell);
    ASSERT_TRUE(raft->GetBottomAreaCalc());
    EXPECT_NEAR(raft->GetBottomAreaCalc()->GetPolyhedron()->GetVolume(), solid.GetVolume(), 1e-3);
}

TEST_F(TFoundationTest, SumpOfTheRaftIsRelatedWithoutTouching)
{
    const std::string sumps = R"(, {"id": 7, "type": 56, "floor": 1, "parent": 1, "shape": {"kind": "point",
        "insertPt": [8000, 8000], "size": [500, 500], "bottom": -3000, "top": -2500}},
        {"id": 8, "type": 56, "floor": 1, "shape": {"kind": "point", "insertPt": [8000, 9000], "size": [500, 500],
        "bottom": -3000, "top": -2500}})";
    Load(Raft(-500) + sumps);
    const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
    EXPECT_TRUE(raft->IsIntersectWith(Record(7)));
    EXPECT_FALSE(raft->IsIntersectWith(Record(8)));
}

// An isolated foundation standing in the raft is related, and its unit
// joins the raft's related list once however often the test is asked.
TEST_F(TFoundationTest, RaftListsTheUnitsOfARelatedIsolatedFoundationOnce)
{
    Load(Raft(-500) + ", " + Isolated(-400, 3));
    const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
    EXPECT_TRUE(raft->IsIntersectWith(Record(3)));
    EXPECT_TRUE(raft->IsIntersectWith(Record(3)));
    TRecordList units;
    raft->GetRelatedByType(82, &units);
    EXPECT_EQ(Ids(units), std::vector<int>{4});
    EXPECT_TRUE(raft->IsIntersectWith(Record(3)));
    raft->GetRelatedByType(82, &units);
    EXPECT_EQ(Ids(units), std::vector<int>{4});
}

TEST_F(TFoundationTest, HandledIdsAreIndexedAndEmptiedByFreeCalcCache)
{
    Load(Raft(-500));
    const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
    EXPECT_EQ(raft->AddHandledId(31), 0);
    EXPECT_EQ(raft->AddHandledId(47), 1);
    EXPECT_EQ(raft->AddHandledId(12), 2);
    EXPECT_TRUE(raft->IsHandledId(47));
    EXPECT_FALSE(raft->IsHandledId(99));
    raft->FreeCalcCache();
    EXPECT_FALSE(raft->IsHandledId(31));
}

TEST_F(TFoundationTest, RaftBrickMouldIsTheSubSolidsLessTheRaftWhenAnEdgeIsBevelled)
{
    const std::string mould = R"("subSolids": [{"vertices": [[-120, -120, -500], [2120, -120, -500],
        [2120, 2120, -500], [-120, 2120, -500], [-120, -120, 0], [2120, -120, 0], [2120, 2120, 0], [-120, 2120, 0]],
        "faces": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]]}])";
    struct TCase {
        const char* name;
        const char* edges;
        double volume;
    } cases[] = {
        {"with edge information", R"(, "edges": [{"kind": "raft", "raftKind": 1, "values": [300]}, null, null, null])",
         (2240.0 * 2240 - 2000.0 * 2000) * 500},
        {"without", "", 2240.0 * 2240 * 500},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(R"({"id": 1, "type": 48, "floor": 1, "props": {"BottomElev": -500, "TopElev": 0, "Thickness": 500},
            "shape": {"kind": "face", "outline": [[0, 0], [2000, 0], [2000, 2000], [0, 2000]])" +
             std::string(c.edges) + "}, " + mould + "}");
        const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
        EXPECT_NEAR(raft->GetMergedSolid()->GetVolume(), c.volume, 1);
        EXPECT_NEAR(raft->GetBrickMoldSolidCalc()->GetVolume(), c.volume, 1);
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// Isolated foundation and its units

TEST_F(TFoundationTest, IsolatedFoundationSolidIsTheUnionOfItsUnits)
{
    Load(R"({"id": 1, "type": 52, "floor": 1, "props": {"BottomElev": -800, "TopElev": 0},
        "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": -800, "top": 0}},
      {"id": 2, "type": 82, "floor": 1, "parent": 1, "shape": {"kind": "point", "insertPt": [0, 0],
        "size": [2000, 2000], "bottom": -800, "top": -400}},
      {"id": 3, "type": 82, "floor": 1, "parent": 1, "shape": {"kind": "point", "insertPt": [0, 0],
        "size": [1000, 1000], "bottom": -400, "top": 0}},
      {"id": 4, "type": 52, "floor": 1, "shape": {"kind": "point", "insertPt": [9000, 0], "size": [2000, 2000],
        "bottom": -800, "top": 0}})");
    EXPECT_NEAR(Edo<IQTKIsolatedFDCalcEDO>(1)->GetOriginalPolyhedron()->GetVolume(), 2.0e9, 1);
    EXPECT_FALSE(Edo<IQTKIsolatedFDCalcEDO>(4)->GetOriginalPolyhedron()->HasFaces());
}

TEST_F(TFoundationTest, CupShapedUnits)
{
    struct TCase {
        const char* name;
        const char* props;
        bool cup;
    } cases[] = {
        {"section type 2 never", R"({"SectionTypeID": 2, "SectionInfo": "2;A=1200"})", false},
        {"parametric section of kind 2", R"({"SectionTypeID": 3, "SectionInfo": "2;A=1200;H=600"})", true},
        {"parametric section of kind 1", R"({"SectionTypeID": 3, "SectionInfo": "1;A=1200"})", false},
        {"unreadable section text", R"({"SectionTypeID": 3, "SectionInfo": "cup"})", false},
        {"no section text", R"({"SectionTypeID": 3})", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(R"({"id": 1, "type": 52, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000],
            "bottom": -800, "top": 0}}, {"id": 2, "type": 82, "floor": 1, "parent": 1, "props": )" +
             std::string(c.props) +
             R"(, "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000], "bottom": -800, "top": 0}})");
        EXPECT_EQ(Edo<IQTKIsolatedFDUnitCalcEDO>(2)->IsCupulate(), c.cup);
        TearDown();
    }
}

TEST_F(TFoundationTest, ClearQtyItemsForgetsTheUnitFaceShellsButKeepsThemForTheirHolders)
{
    Load(Isolated(-1000));
    const Ref<IQTKIsolatedFDUnitCalcEDO> unit = Edo<IQTKIsolatedFDUnitCalcEDO>(2);
    const Ref<IQTKPolyhedron3dIntf> solid = unit->GetOriginalPolyhedronIntf();
    auto volume = std::make_shared<TQTKSolidCalc3d>(solid->GetPolyhedron()->Clone(), RecordRef(Record(2)));
    auto bottom = std::make_shared<TQTKShellCalc3d>(
        std::make_unique<TVRMPolyhedronShell3d>(*solid->GetPolyhedron(), solid->GetPolyhedron()->GetFaceCount() - 1),
        RecordRef(Record(2)));
    unit->SetVolumeCalc(volume);
    unit->SetBottomShell(bottom);
    const Ref<IQTKPolyhedron3dIntf> priority = unit->GetPrioritySolid();
    std::weak_ptr<TQTKShellCalc3d> watched = bottom;
    bottom.reset();

    unit->ClearQtyItems();
    EXPECT_FALSE(unit->GetBottomShell());
    EXPECT_EQ(unit->GetVolumeCalc(), volume);
    EXPECT_TRUE(watched.expired());                                               // nobody held it: freed, not leaked
    EXPECT_NEAR(priority->GetPolyhedron()->GetVolume(), 2000.0 * 2000 * 400, 1);  // still usable
    EXPECT_NE(unit->GetPrioritySolid(), priority);                                // built afresh
}

// ---------------------------------------------------------------------------
// Original details: one table of the quantity ids of every object.

struct TDetailCase {
    const char* name;
    int element;
    int qtyId;
    bool containerHasDetail;
    int details;  // details in the container afterwards
};

TEST_F(TFoundationTest, OriginalDetailsByQuantityId)
{
    Load(Isolated(-1000) + R"(, {"id": 11, "type": 54, "floor": 1, "shape": {"kind": "point", "insertPt": [9000, 0],
        "size": [400, 400], "bottom": -10000, "top": -1000}},
      {"id": 21, "type": 53, "floor": 1, "props": {"BottomElev": -1500, "Height": 800},
        "shape": {"kind": "point", "insertPt": [20000, 0], "size": [1000, 1000], "bottom": -1500, "top": -700}},
      {"id": 22, "type": 83, "floor": 1, "parent": 21, "shape": {"kind": "point", "insertPt": [20000, 0],
        "size": [1000, 1000], "bottom": -1500, "top": -700}})");
    const TDetailCase cases[] = {
        {"foundation 413", 1, 413, false, 1},
        {"foundation 416", 1, 416, false, 1},
        {"foundation 414", 1, 414, false, 0},
        {"foundation 413, container used", 1, 413, true, 1},
        {"pile 425", 11, 425, false, 1},
        {"pile 433", 11, 433, false, 1},
        {"pile 424", 11, 424, false, 0},
        {"pile 434", 11, 434, false, 0},
        {"pile 425, container used", 11, 425, true, 1},
        {"cap, any id", 21, 7, false, 1},
        {"cap, container used", 21, 7, true, 1},
        {"cap unit 419", 22, 419, false, 1},
        {"cap unit 422", 22, 422, false, 1},
        {"cap unit 420", 22, 420, false, 0},
    };
    auto qty = MakeRef<TRDXTable>("Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    for (const TDetailCase& c : cases) {
        SCOPED_TRACE(c.name);
        IRDXRecord* qtyRecord = qty->GetRecordByID(c.qtyId);
        if (!qtyRecord)
            qtyRecord = qty->AddRow({std::int64_t{c.qtyId}});
        TQTKDeductDetailContainer container;
        if (c.containerHasDetail)
            container.Add(std::make_unique<TQTKDeductDetail>(RecordRef(Record(c.element)), "", "", "1"));
        SetDeductDetailContainer(&container);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(Record(c.element), true);
        edo->SetOriginalQty(2.5e9);
        edo->FillDeductDetail(qtyRecord);
        SetDeductDetailContainer(nullptr);
        EXPECT_EQ(container.GetCount(), c.details);
        if (!c.containerHasDetail && c.details == 1) {
            EXPECT_TRUE(container.GetItems(0)->GetIsOriginalQty());
            EXPECT_EQ(container.GetItems(0)->GetRecord().get(), Record(c.element));
            EXPECT_EQ(container.GetItems(0)->GetDedcutExpr(), c.element == 1 ? "2500000000" : "2.5");
        }
    }
}

TEST_F(TFoundationTest, OriginalQuantitiesMakeCalculatorsWhenTheContainerIsEmpty)
{
    Load(Raft(-500) + ", " + Isolated(-1000, 3, 9000));
    auto qty = MakeRef<TRDXTable>("Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    const Ref<IQTKRaftFDCalcEDO> raft = Edo<IQTKRaftFDCalcEDO>(1);
    const Ref<IQTKIsolatedFDUnitCalcEDO> unit = Edo<IQTKIsolatedFDUnitCalcEDO>(4);
    raft->FillDeductDetail(qty->AddRow({std::int64_t{400}}));
    unit->FillDeductDetail(qty->AddRow({std::int64_t{418}}));
    EXPECT_FALSE(raft->GetVolumeCalc());
    EXPECT_FALSE(unit->GetVolumeCalc());
    raft->FillDeductDetail(qty->AddRow({std::int64_t{630}}));
    unit->FillDeductDetail(qty->AddRow({std::int64_t{632}}));
    ASSERT_TRUE(raft->GetVolumeCalc());
    EXPECT_NEAR(raft->GetVolumeCalc()->GetVolume(), 2000.0 * 2000 * 500, 1);
    ASSERT_TRUE(unit->GetVolumeCalc());
    EXPECT_NEAR(unit->GetVolumeCalc()->GetVolume(), 2000.0 * 2000 * 400, 1);
    raft->FillDeductDetail(qty->AddRow({std::int64_t{409}}));
    EXPECT_NEAR(raft->GetProjectiveCalc()->GetArea(), 4e6, CTol);
}

// ---------------------------------------------------------------------------
// Pile and pile cap

TEST_F(TFoundationTest, PileSectionCalculatorIsBuiltOnceSoDeductionsAreSeen)
{
    Load(R"({"id": 11, "type": 54, "floor": 1, "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400],
        "bottom": -10000, "top": -1000}})");
    const Ref<IQTKPileCalcEDO> pile = Edo<IQTKPileCalcEDO>(11);
    const auto first = pile->GetSectionCalc();
    EXPECT_EQ(pile->GetSectionCalc(), first);
    TVRMMultiPolygon2d other;
    other.Add(TVRMRectangle2d({200, 0}, 100, 100));  // covers half of it: 200 x 200 / 2
    EXPECT_NEAR(first->Sub(other, Record(11)), 20000, CTol);
    EXPECT_NEAR(pile->GetSectionCalc()->GetArea(), 160000 - 20000, CTol);
    EXPECT_NEAR(pile->GetSectionCalc()->Sub(other, Record(11)), 0, CTol);  // taken once only

    EXPECT_NE(pile->GetEarthSolidCalc(), pile->GetVolumeCalc());
    pile->ClearQtyItems();
    EXPECT_NEAR(first->GetArea(), 140000, CTol);  // the holder's stays usable
    EXPECT_NEAR(pile->GetSectionCalc()->GetArea(), 160000, CTol);
}

// A pile cap unit whose index a test sets.
class TIndexedCapUnit final : public TQTKPileCapUnitCalcEDO {
public:
    TIndexedCapUnit(IQTKElementDrawObj* drawObj, int index) : TQTKPileCapUnitCalcEDO(0, drawObj)
    {
        SetUnitIndex(index);
    }
};

const char* CPileCap = R"({"id": 21, "type": 53, "floor": 1, "props": {"BottomElev": -1500, "Height": 800},
    "shape": {"kind": "point", "insertPt": [0, 0], "size": [3000, 1400], "bottom": -1500, "top": -700}},
  {"id": 22, "type": 83, "floor": 1, "parent": 21, "shape": {"kind": "point", "insertPt": [-800, 0],
    "size": [1000, 1000], "bottom": -1500, "top": -1000}},
  {"id": 23, "type": 83, "floor": 1, "parent": 21, "shape": {"kind": "point", "insertPt": [700, 0],
    "size": [1400, 1400], "bottom": -1500, "top": -1000}},
  {"id": 24, "type": 83, "floor": 1, "parent": 21, "shape": {"kind": "point", "insertPt": [0, 0],
    "size": [400, 400], "bottom": -1000, "top": -700}},
  {"id": 31, "type": 53, "floor": 1, "props": {"BottomElev": 0, "Height": 500},
    "shape": {"kind": "point", "insertPt": [9000, 0], "size": [1000, 1000], "bottom": 0, "top": 500}})";

TEST_F(TFoundationTest, PileCapListsItsUnitsByIndex)
{
    Load(CPileCap);
    // Prepared in the order of indexes 2, 0, 1.
    for (int id : {24, 22, 23})
        Edo<IQTKPileCapUnitCalcEDO>(id);
    const auto* cap = dynamic_cast<TQTKPileCapCalcEDO*>(Edo<IQTKPileCapCalcEDO>(21).get());
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(Ids(const_cast<TQTKPileCapCalcEDO*>(cap)->GetUnitRecords()), (std::vector<int>{22, 23, 24}));
    EXPECT_EQ(dynamic_cast<TQTKPileCapUnitCalcEDO*>(Edo<IQTKPileCapUnitCalcEDO>(24).get())->GetUnitIndex(), 2);

    // Equal indexes keep their arrival order; a unit is listed once.
    const Ref<IQTKCalculatorEDO> other = GetCalcEDO(Record(31), true);
    auto* otherCap = dynamic_cast<IQTKPileCapCalcEDO*>(other.get());
    Ref<TIndexedCapUnit> a = MakeRef<TIndexedCapUnit>(DrawObj(22), 1);
    Ref<TIndexedCapUnit> b = MakeRef<TIndexedCapUnit>(DrawObj(23), 1);
    Ref<TIndexedCapUnit> c = MakeRef<TIndexedCapUnit>(DrawObj(24), 0);
    for (TIndexedCapUnit* unit : {a.get(), b.get(), c.get(), a.get()})
        otherCap->AddUnit(unit);
    EXPECT_EQ(Ids(dynamic_cast<TQTKPileCapCalcEDO*>(otherCap)->GetUnitRecords()), (std::vector<int>{24, 22, 23}));
}

TEST_F(TFoundationTest, PileCapPerimeterAndHeightRange)
{
    Load(CPileCap);
    EXPECT_NEAR(Edo<IQTKPileCapCalcEDO>(21)->GetMaxUnitPerimeter(), 5600, CTol);
    EXPECT_EQ(Ids(dynamic_cast<TQTKPileCapCalcEDO*>(Edo<IQTKPileCapCalcEDO>(21).get())->GetUnitRecords()),
              (std::vector<int>{22, 23, 24}));
    EXPECT_EQ(Edo<IQTKPileCapCalcEDO>(31)->GetMaxUnitPerimeter(), 0);  // no unit record
    const auto range = Edo<IQTKPileCapCalcEDO>(21)->GetHeightCalc();
    EXPECT_EQ(range->GetLow(), -1500);
    EXPECT_EQ(range->GetHigh(), -700);
    EXPECT_EQ(Edo<IQTKPileCapCalcEDO>(21)->GetHeightCalc(), range);
    EXPECT_NEAR(Edo<IQTKPileCapCalcEDO>(21)->GetOriginalPolyhedron()->GetVolume(),
                (1000.0 * 1000 + 1400.0 * 1400) * 500 + 400.0 * 400 * 300, 1);
}

TEST_F(TFoundationTest, PileCapUnitFormworkByAngle)
{
    struct TCase {
        const char* name;
        std::optional<double> angle;
        double area;
    } cases[] = {
        {"90: the vertical sides, not the top nor the bottom", 90, 4 * 1000.0 * 500},
        {"0: the top as well, never the bottom", 0, 4 * 1000.0 * 500 + 1000.0 * 1000},
        {"91: nothing upright", 91, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSettings settings;
        settings.pileCapAngle = c.angle;
        Load(CPileCap, settings);
        const Ref<IQTKPileCapUnitCalcEDO> unit = Edo<IQTKPileCapUnitCalcEDO>(22);
        // Without a rule context the shell is empty and not kept.
        EXPECT_EQ(unit->GetFormboardShell(nullptr)->GetArea(), 0);
        const auto shell = unit->GetFormboardShell(RuleContext());
        EXPECT_NEAR(shell->GetArea(), c.area, 1e-3);
        EXPECT_EQ(unit->GetFormboardShell(nullptr), shell);
        TearDown();
    }
}

TEST_F(TFoundationTest, ParentThatIsNoPileCapFailsTheUnitsPreparation)
{
    Load(Raft(-500) + R"(, {"id": 2, "type": 83, "floor": 1, "parent": 1, "shape": {"kind": "point",
        "insertPt": [1000, 1000], "size": [400, 400], "bottom": -500, "top": 0}})");
    EXPECT_THROW(GetCalcEDO(Record(2), true), EIntfCastError);
}

// ---------------------------------------------------------------------------
// The sample building

TEST(FoundationSample, IsolatedFoundationOfTheSampleBuilding)
{
    const char* fixtures = std::getenv("QTK_TEST_FIXTURES");
    const auto model = TQTKElementModel::LoadFromFile(
        std::filesystem::path(fixtures ? fixtures : "tests/fixtures").parent_path().parent_path() / "examples" /
        "building.json");
    model->Activate();
    TQTKCalcSessionOptions options;
    options.business = TableSourceRef(model->GetBusiness());
    StartCalculationSession(options);
    {
        const Ref<IQTKIsolatedFDCalcEDO> dj1 =
            RefCast<IQTKIsolatedFDCalcEDO>(GetCalcEDO(model->GetElementTable()->GetRecordByID(101), true));
        ASSERT_TRUE(dj1);
        // Two steps: 1600 x 1600 x 300 under 1000 x 1000 x 100.
        EXPECT_NEAR(dj1->GetOriginalPolyhedron()->GetVolume(), 1600.0 * 1600 * 300 + 1000.0 * 1000 * 100, 1);
        EXPECT_NEAR(dj1->GetExpandedPolygon()->Area(), 2600.0 * 2600, CTol);
        // Its bottom lies 1050 below the ground (-450): no foundation scaffold.
        EXPECT_TRUE(dj1->GetScaffoldPolygon()->IsEmpty());
        EXPECT_EQ(dj1->GetScaffoldCalc()->GetArea(), 0);
    }
    FreeCalcEDOs();
    model->ClearCalcEDOs();
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
    StartCalculationSession({});
}

}  // namespace
