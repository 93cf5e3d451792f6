// Slab and slab hole element objects: the calculation polygon from the add
// and deduct polygons and the solid rebuilt on it (top face second to last,
// bottom face last), arched, domed and conical slabs and their curved solids, the calculators
// the slab owns, original-quantity details, and the hole's solids.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSlabCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::unique_ptr<TVRMMultiPolygon2d> Rect(double x0, double y0, double x1, double y1)
{
    auto plan = std::make_unique<TVRMMultiPolygon2d>();
    plan->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    return plan;
}

std::string Outline(double x0, double y0, double x1, double y1)
{
    auto n = [](double v) { return std::to_string(v); };
    return "[[" + n(x0) + "," + n(y0) + "],[" + n(x1) + "," + n(y0) + "],[" + n(x1) + "," + n(y1) + "],[" + n(x0) +
           "," + n(y1) + "]]";
}

// A 6000 x 4000 slab (id 1) with its top at 3000, 120 thick.
const char* CLevelSlab = R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
    "shape": {"kind": "face", "outline": [[0,0],[6000,0],[6000,4000],[0,4000]], "elev": 3000, "thickness": 120}})";

// An arched slab (id 1) over [0,6000] x [-3000,3000], arched across y about
// the x axis: span 6000 and Rise from its base at 3000.
std::string ArchedSlab(double rise)
{
    return R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120},
        "shape": {"kind": "face", "outline": [[0,-3000],[6000,-3000],[6000,3000],[0,3000]], "thickness": 120,
        "elevation": {"kind": "cylinder", "first": 6000, "second": )" +
           std::to_string(rise) + R"(, "base": 3000, "axis": [[0, 0], [6000, 0]]}}})";
}

class TSlabTest : public ::testing::Test {
protected:
    void Load(const std::string& elements)
    {
        building_ = TTestBuilding::FromElements("[" + elements + "]");
        building_->Activate();
    }
    void TearDown() override
    {
        SetDeductDetailContainer(nullptr);
        building_.reset();
    }
    template <class T>
    Ref<T> Edo(int id) const
    {
        Ref<T> edo = RefCast<T>(GetCalcEDO(building_->Record(id), true));
        EXPECT_TRUE(edo) << "element " << id;
        return edo;
    }
    // The curved solid of slab 1 of Elements, nil before its ClearQtyItems and built after it.
    const TVRMPolyhedron3d* CurvedSolidOf(const std::string& elements, Ref<IQTKSlabCalculator>& slab)
    {
        Load(elements);
        slab = Edo<IQTKSlabCalculator>(1);
        EXPECT_EQ(slab->GetCurvedSolid(), nullptr) << "not curved before ClearQtyItems";
        slab->ClearQtyItems();
        EXPECT_TRUE(slab->IsCurvedFaceShape());
        return slab->GetCurvedSolid();
    }
    static void ExpectSlabFaceOrder(const TVRMPolyhedron3d& solid)
    {
        const int n = solid.GetFaceCount();
        ASSERT_GT(n, 2);
        EXPECT_NEAR(solid.GetFace(n - 2).GetNormal().z, 1.0, 1e-9) << "top second to last";
        EXPECT_NEAR(solid.GetFace(n - 1).GetNormal().z, -1.0, 1e-9) << "bottom last";
    }
    std::unique_ptr<TTestBuilding> building_;
};

TEST_F(TSlabTest, FactoryMakesSlabsAndHoles)
{
    Load(std::string(CLevelSlab) + R"(,
        {"id": 2, "type": 20, "floor": 1, "props": {"Thickness": 100}, "shape": {"kind": "face", "outline": )" +
         Outline(0, 0, 100, 100) + R"(, "elev": 0, "thickness": 100}},
        {"id": 3, "type": 21, "floor": 1, "props": {"Thickness": 100}, "shape": {"kind": "face", "outline": )" +
         Outline(0, 0, 100, 100) + R"(, "elev": 0, "thickness": 100}},
        {"id": 4, "type": 14, "floor": 1, "shape": {"kind": "face", "outline": )" +
         Outline(0, 0, 100, 100) + R"(, "elev": 0, "thickness": 100}},
        {"id": 5, "type": 24, "floor": 1, "shape": {"kind": "face", "outline": )" +
         Outline(0, 0, 100, 100) + R"(, "elev": 0, "thickness": 100}})");
    for (int id : {1, 2, 3})
        EXPECT_TRUE(Edo<IQTKSlabCalculator>(id));
    EXPECT_NEAR(Edo<IQTKSlabCalculator>(1)->GetThickness(), 120, 0);
    for (int id : {4, 5})
        EXPECT_TRUE(Edo<IQTKSlabHoleCalcEDO>(id));
}

TEST_F(TSlabTest, EmptyListsChangeOnlyQuantityItemsAndCurvedFlag)
{
    Load(CLevelSlab);
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    const TVRMPolyhedron3d* before = slab->GetOriginalPolyhedron();
    slab->AddQtyItem("A", 1.0);
    slab->ClearQtyItems();
    EXPECT_EQ(slab->GetQtyItem("A"), 0.0);
    EXPECT_FALSE(slab->IsCurvedFaceShape());
    EXPECT_EQ(slab->GetCalcPolygon(), &building_->DrawObj(1)->GetShape()->GetOutline());
    EXPECT_EQ(slab->GetOriginalPolyhedron(), before);
    EXPECT_EQ(slab->GetCurvedSolid(), nullptr);
}

struct TPolygonCase {
    const char* name;
    std::vector<std::vector<double>> adds, deducts;  // rectangles x0, y0, x1, y1
    double calcArea;                                 // of the calculation polygon
    double volume;                                   // of the solid afterwards
};

class TSlabPolygonTest : public TSlabTest, public ::testing::WithParamInterface<TPolygonCase> {};

TEST_P(TSlabPolygonTest, CalcPolygonAndSolid)
{
    const TPolygonCase& c = GetParam();
    Load(CLevelSlab);
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    int writer = 100;
    for (const auto& r : c.adds)
        slab->AddAddPolygon(writer--, Rect(r[0], r[1], r[2], r[3]));
    for (const auto& r : c.deducts)
        slab->AddDeductPolygon(writer--, Rect(r[0], r[1], r[2], r[3]));
    for (int round = 0; round < 2; ++round) {  // the order holds after every rebuild
        slab->ClearQtyItems();
        EXPECT_NEAR(slab->GetCalcPolygon()->Area(), c.calcArea, 1e-6);
        EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), c.volume, 1e-3);
        ExpectSlabFaceOrder(*slab->GetOriginalPolyhedron());
        EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetBox().max.z, 3000, 1e-9);
    }
}

const TPolygonCase CPolygonCases[] = {
    {"add_a_strip_over_a_beam", {{6000, 0, 6500, 4000}}, {}, 6500.0 * 4000, 6500.0 * 4000 * 120},
    {"deduct_a_corner", {}, {{5000, 3000, 7000, 5000}}, 6000.0 * 4000 - 1e6, (6000.0 * 4000 - 1e6) * 120},
    {"add_then_deduct",
     {{6000, 0, 6500, 4000}},
     {{6000, 0, 6500, 2000}},
     6500.0 * 4000 - 1e6,
     (6500.0 * 4000 - 1e6) * 120},
    // The whole slab deducted: no new solid, the empty polygon is the calculation polygon.
    {"deduct_covering_the_whole_slab", {}, {{-10, -10, 6010, 4010}}, 0, 6000.0 * 4000 * 120},
};

INSTANTIATE_TEST_SUITE_P(Cases, TSlabPolygonTest, ::testing::ValuesIn(CPolygonCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TSlabTest, PolygonsReadInWriterIdOrder)
{
    Load(CLevelSlab);
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    slab->AddDeductPolygon(7, Rect(0, 0, 7, 7));
    slab->AddDeductPolygon(3, Rect(0, 0, 3, 3));
    slab->AddDeductPolygon(7, Rect(0, 0, 8, 8));
    const auto items = slab->GetDeductPolygons();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_NEAR(items[0]->Area(), 9, 1e-9);
    EXPECT_NEAR(items[1]->Area(), 49, 1e-9);
    EXPECT_NEAR(items[2]->Area(), 64, 1e-9);
}

TEST_F(TSlabTest, FreeCalcCacheDropsWhatTheSlabHoldsAndTakesTheHostSolid)
{
    Load(CLevelSlab);
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    auto first = std::make_shared<TQTKSolidCalc3d>(slab->GetOriginalPolyhedron()->Clone(), nullptr);
    std::weak_ptr<TQTKSolidCalc3d> firstRef = first;
    slab->SetVolumeCalc(std::move(first));
    slab->SetVolumeCalc(std::make_shared<TQTKSolidCalc3d>(slab->GetOriginalPolyhedron()->Clone(), nullptr));
    EXPECT_TRUE(firstRef.expired()) << "a setter drops what it replaces";
    auto elev = std::make_shared<TQTKOverhighElev>();
    std::weak_ptr<TQTKOverhighElev> elevRef = elev;
    slab->SetOverhighElev(std::move(elev));
    slab->SetOverhighElev(std::make_shared<TQTKOverhighElev>());
    EXPECT_TRUE(elevRef.expired());
    slab->AddAddPolygon(1, Rect(6000, 0, 6500, 4000));
    slab->ClearQtyItems();
    ASSERT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), 6500.0 * 4000 * 120, 1e-3);
    slab->FreeCalcCache();
    EXPECT_EQ(slab->GetVolumeCalc(), nullptr);
    EXPECT_EQ(slab->GetOverhighElev(), nullptr);
    EXPECT_TRUE(slab->GetAddPolygons().empty());
    EXPECT_EQ(slab->GetCalcPolygon(), &building_->DrawObj(1)->GetShape()->GetOutline());
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), 6000.0 * 4000 * 120, 1e-3);
    slab->ClearQtyItems();
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), 6000.0 * 4000 * 120, 1e-3) << "no lists after the free";
}

// Arched slabs: R = ((C/2)^2 + H^2) / 2H; the element's own solid is the curved solid.
TEST_F(TSlabTest, ArchedSlabGetsItsCurvedSolid)
{
    Ref<IQTKSlabCalculator> slab;
    const TVRMPolyhedron3d* curved = CurvedSolidOf(ArchedSlab(1000), slab);
    ASSERT_NE(curved, nullptr);
    const double r = 5000, inner = 4880, sweep = 2 * std::asin(0.6);
    const double volume = sweep / 2 * (r * r - inner * inner) * 6000;
    EXPECT_NEAR(curved->GetVolume(), volume, 1e-6 * volume);
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), volume, 1e-6 * volume);
    // The apex lies on the circle; the facets stay under it by at most their sagitta.
    EXPECT_LE(curved->GetBox().max.z, 4000 + 1e-6);
    EXPECT_GE(curved->GetBox().max.z, 4000 - r * (1 - std::cos(CVRMArcFacetAngle / 2)));
}

// A model file refuses an arch without a rise, a host may hand one over: it is level (no NaN).
TEST_F(TSlabTest, ArchedSlabOfRiseZeroIsLevel)
{
    building_ = std::make_unique<TTestBuilding>();
    building_->SetNextDrawObjMaker([](TQTKElementDrawObjData data) {
        TQTKFaceShapeData face;
        face.outline = *Rect(0, -3000, 6000, 3000);
        face.elevKind = CQTKFaceElevCylinder;
        face.elevInfo = Ref<IQTKFaceElevInfo>(new TQTKFaceElevKind4Info({6000, 0, false, 3000}, {{0, 0}, {6000, 0}}));
        face.thickness = 120;
        data.shape = Ref<IQTKShape>(new TQTKFaceShape(std::move(face)));
        return CreateElementDrawObj(std::move(data));
    });
    building_->AddFace(1, 19, 0, -3000, 6000, 3000, 3000, 120, {{"Thickness", TRDXValue(120.0)}});
    building_->Activate();
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    slab->ClearQtyItems();
    ASSERT_TRUE(slab->IsCurvedFaceShape());
    const TVRMPolyhedron3d* curved = slab->GetCurvedSolid();
    ASSERT_NE(curved, nullptr);
    EXPECT_NEAR(curved->GetVolume(), 6000.0 * 6000 * 120, 1e-3);
    EXPECT_TRUE(std::isfinite(curved->GetBox().max.z));
    EXPECT_NEAR(curved->GetBox().max.z, 3000, 1e-9);
    ExpectSlabFaceOrder(*curved);
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), 6000.0 * 6000 * 120, 1e-3);
}

// Domed and conical slabs (id 1, 120 thick) over the circle of radius 3000
// about (0, 0). Closed forms as in the host's curved slab tests: a spherical
// shell sector 2 pi / 3 (1 - cos alpha) (R^3 - r^3) with sin(alpha) = 3000 / R,
// r = R - 120; a cone of slope k (s = sqrt(1 + k^2), sin beta = k / s) with its
// edge square to it: pi (a^2 T - a T^2 sin beta + T^3 sin^2 beta / 3) s.
std::string RevolvedSlab(const std::string& elevation)
{
    return R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120},
        "shape": {"kind": "face", "outline": [[3000,0,3000,3],[-3000,0,3000,3]], "thickness": 120,
        "elevation": )" +
           elevation + "}}";
}

double DomeVolume(double radius)
{
    const double r = radius - 120, sine = 3000 / radius;
    return 2 * CVRMPi / 3 * (1 - std::sqrt(1 - sine * sine)) * (radius * radius * radius - r * r * r);
}

double ConeVolume(double k)
{
    const double a = 3000, t = 120, s = std::hypot(1.0, k), sine = k / s;
    return CVRMPi * (a * a * t - a * t * t * sine + t * t * t * sine * sine / 3) * s;
}

struct TRevolvedSlabCase {
    const char* name;
    std::string elevation;
    double volume, highest;
    double squareVolume;  // over the square [-2000, 2000]^2
};

class TRevolvedSlabTest : public TSlabTest, public ::testing::WithParamInterface<TRevolvedSlabCase> {};

// The curved solid is the element's own solid too; its top facets come just
// before its bottom facets, which are last (the runs the solid's data gives).
TEST_P(TRevolvedSlabTest, GetsItsCurvedSolid)
{
    const TRevolvedSlabCase& c = GetParam();
    Ref<IQTKSlabCalculator> slab;
    const TVRMPolyhedron3d* curved = CurvedSolidOf(RevolvedSlab(c.elevation), slab);
    ASSERT_NE(curved, nullptr);
    EXPECT_NEAR(curved->GetVolume(), c.volume, 1e-9 * c.volume);
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), c.volume, 1e-9 * c.volume);
    EXPECT_NEAR(curved->GetBox().max.z, c.highest, 1e-6);
    const auto& data = curved->GetData();
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[0] + data[1], data[2]) << "the top run just before the bottom run";
    EXPECT_EQ(data[2] + data[3], curved->GetFaceCount()) << "the bottom run last";
    for (int i = data[0]; i < data[2]; ++i)
        EXPECT_GT(curved->GetFace(i).GetNormal().z, 0) << "top facet " << i;
    for (int i = data[2]; i < curved->GetFaceCount(); ++i)
        EXPECT_LT(curved->GetFace(i).GetNormal().z, 0) << "bottom facet " << i;
    // Deducted down to the square [-2000, 2000]^2 inside the circle: the solid
    // under the square (the shell's thickness integrated over it, with its
    // edge at the square's corners; Simpson's rule on each smooth piece).
    for (double x : {-1.0, 1.0}) {
        slab->AddDeductPolygon(2, x < 0 ? Rect(-3100, -3100, -2000, 3100) : Rect(2000, -3100, 3100, 3100));
        slab->AddDeductPolygon(3, x < 0 ? Rect(-3100, -3100, 3100, -2000) : Rect(-3100, 2000, 3100, 3100));
    }
    slab->ClearQtyItems();
    EXPECT_NEAR(slab->GetCalcPolygon()->Area(), 16e6, 1e-3);
    EXPECT_NEAR(slab->GetOriginalPolyhedron()->GetVolume(), c.squareVolume, 1e-5 * c.squareVolume);
    ASSERT_NE(slab->GetCurvedSolid(), nullptr);
    EXPECT_NEAR(slab->GetCurvedSolid()->GetVolume(), c.squareVolume, 1e-5 * c.squareVolume);
}

// Chord 6000 and rise 1000 from 3000: R = 5000 about (0, 0, -1000); by radius:
// the hemisphere of radius 3000 about (0, 0, 3000); a cone rising 1000 over its
// radius 3000 (k = 1/3).
const TRevolvedSlabCase CRevolvedSlabCases[] = {
    {"dome_chord_6000_rise_1000",
     R"({"kind": "sphere", "first": 6000, "second": 1000, "base": 3000, "center": [0, 0]})", DomeVolume(5000), 4000,
     2038272106.116},
    {"hemisphere_by_radius",
     R"({"kind": "sphere", "first": 3000, "second": 0, "isRadius": true, "base": 3000, "center": [0, 0]})",
     DomeVolume(3000), 6000, 2401179554.927},
    {"cone_rise_1000", R"({"kind": "cone", "first": 3000, "second": 1000, "base": 3000, "center": [0, 0]})",
     ConeVolume(1.0 / 3), 4000, 2023614009.367},
};

INSTANTIATE_TEST_SUITE_P(Cases, TRevolvedSlabTest, ::testing::ValuesIn(CRevolvedSlabCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct TSlabDetailCase {
    const char* name;
    int qtyId;
    bool shellDetail, originalDetail;  // in the container before
    int details;                       // after
    const char* firstKind;             // "shell", "solid" or "" (the kind of the first detail after)
};

TEST_F(TSlabTest, FillDeductDetailByQuantity)
{
    Load(CLevelSlab);
    const TSlabDetailCase cases[] = {
        {"134 after a shell and an original detail: the shell goes", 134, true, true, 1, "solid"},
        {"86 after a shell detail: the solid detail comes", 86, true, false, 1, "solid"},
        {"85 after a rule's detail: nothing", 85, true, false, 1, "shell"},
        {"85 on an empty container: the bottom face", 85, false, false, 1, "shell"},
        {"144 on an empty container: the bottom face", 144, false, false, 1, "shell"},
        {"641 on an empty container: the solid", 641, false, false, 1, "solid"},
        {"a quantity the slab does not list: nothing", 87, false, false, 0, ""},
    };
    auto qty = MakeRef<TRDXTable>("Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    const Ref<IQTKSlabCalculator> slab = Edo<IQTKSlabCalculator>(1);
    IRDXRecord* record = building_->Record(1);
    for (const TSlabDetailCase& c : cases) {
        SCOPED_TRACE(c.name);
        IRDXRecord* qtyRecord = qty->GetRecordByID(c.qtyId);
        if (!qtyRecord)
            qtyRecord = qty->AddRow({std::int64_t{c.qtyId}});
        TQTKDeductDetailContainer container;
        if (c.shellDetail)
            container.Add(std::make_unique<TQTKShellDeductDetail>(
                RecordRef(record), "", "", std::make_unique<TVRMPolyhedronShell3d>(), nullptr, "1"));
        if (c.originalDetail) {
            auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), "", "", nullptr, nullptr, "2");
            detail->SetIsOriginalQty(true);
            container.Add(std::move(detail));
        }
        SetDeductDetailContainer(&container);
        slab->FillDeductDetail(qtyRecord);
        SetDeductDetailContainer(nullptr);
        ASSERT_EQ(container.GetCount(), c.details);
        if (c.details == 0)
            continue;
        const TQTKDeductDetail* first = container.GetItems(0);
        if (std::string(c.firstKind) == "shell") {
            const auto* shell = dynamic_cast<const TQTKShellDeductDetail*>(first);
            ASSERT_NE(shell, nullptr);
            if (!c.shellDetail) {
                EXPECT_NEAR(shell->GetShell()->GetArea(), 6000.0 * 4000, 1e-6);
                EXPECT_EQ(shell->GetDedcutExpr(), "24");
                EXPECT_TRUE(shell->GetIsOriginalQty());
            }
        } else {
            EXPECT_NE(dynamic_cast<const TQTKSolidDeductDetail*>(first), nullptr);
            EXPECT_TRUE(first->GetIsOriginalQty());
        }
        if (c.originalDetail) {
            EXPECT_EQ(first->GetDedcutExpr(), "2") << "nothing added";
        }
    }
}

// ---------------------------------------------------------------------------
// Slab holes

// A 1000 x 1000 hole (id 2) at [2000,3000] x [1000,2000], its prism from -2500 up to 3500.
std::string Hole(int parent)
{
    return R"({"id": 2, "type": 14, "floor": 1, )" + (parent ? "\"parent\": " + std::to_string(parent) + ", " : "") +
           R"("shape": {"kind": "face", "outline": )" + Outline(2000, 1000, 3000, 2000) +
           R"(, "elev": 3500, "thickness": 6000}})";
}

TEST_F(TSlabTest, HoleRemovesTheSlabMaterialUnderIt)
{
    Load(std::string(CLevelSlab) + "," + Hole(1));
    const Ref<IQTKSlabHoleCalcEDO> hole = Edo<IQTKSlabHoleCalcEDO>(2);
    const TVRMPolyhedron3d* solid = hole->GetOriginalPolyhedron();
    EXPECT_NEAR(solid->GetVolume(), 1000.0 * 1000 * 120, 1e-3);
    ExpectSlabFaceOrder(*solid);
    EXPECT_NEAR(solid->GetFace(solid->GetFaceCount() - 2).GetPlane().GetBasePoint().z, 3000, 1e-9);
    const Ref<IQTKPolyhedron3dIntf> relation = hole->GetRelationPolyhedronIntf();
    const TVRMBox3d box = relation->GetPolyhedron()->GetBox();
    EXPECT_NEAR(box.min.z, 2880, 1e-9);
    EXPECT_NEAR(box.max.z, 3000, 1e-9);
}

TEST_F(TSlabTest, HoleWithoutRelatedSlabHasAnEmptySolid)
{
    Load(Hole(0));
    EXPECT_FALSE(Edo<IQTKSlabHoleCalcEDO>(2)->GetOriginalPolyhedron()->HasFaces());
}

// Only room faces, ceilings, roofs (33, 34, 67) and elements of the parent's
// type give the hole material: a wall through it and a parent slab away from
// it give none.
TEST_F(TSlabTest, HoleAmongOtherElementsOnlyHasAnEmptySolid)
{
    Load(R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120}, "shape": {"kind": "face", "outline": )" +
         Outline(10000, 0, 12000, 2000) + R"(, "elev": 3000, "thickness": 120}},
        {"id": 3, "type": 0, "floor": 1, "props": {"Thickness": 240, "Material": "砖"}, "shape": {"kind": "line",
         "start": [2000, 1500], "end": [3000, 1500], "bottom": 0, "top": 3000}},)" +
         Hole(1));
    EXPECT_FALSE(Edo<IQTKSlabHoleCalcEDO>(2)->GetOriginalPolyhedron()->HasFaces());
}

// Under a sloped parent rising 0.1 across y from -500 at y = 0, 500 thick
// square to its surface (500 * sqrt(1.01) deep vertically): a slab trims the
// hole's prism to its faces; a raft to its box, from its lowest point (the
// low edge moved 500 down the surface's normal: 500 / sqrt(1.01) lower) to
// its high edge (400 higher).
TEST_F(TSlabTest, HoleUnderASlopedParentIsTrimmedByItsFacesOrARaftsBox)
{
    const double depth = 500 * std::sqrt(1.01);
    struct {
        const char* name;
        int parentType;
        double volume;
    } const cases[] = {
        {"slab: by its faces", 19, 1000.0 * 1000 * depth},
        {"raft: by its box", 48, 1000.0 * 1000 * (400 + 500 / std::sqrt(1.01))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(R"({"id": 1, "type": )" + std::to_string(c.parentType) +
             R"(, "floor": 1, "props": {"Thickness": 500}, "shape": {"kind": "face", "outline": )" +
             Outline(0, 0, 6000, 4000) +
             R"(, "thickness": 500, "elevation": {"kind": "ratio", "edge": 0, "elev": -500, "ratio": 0.1}}},)" +
             Hole(1));
        const Ref<IQTKPolyhedron3dIntf> relation = Edo<IQTKSlabHoleCalcEDO>(2)->GetRelationPolyhedronIntf();
        EXPECT_NEAR(relation->GetPolyhedron()->GetVolume(), c.volume, 1e-6 * c.volume);
    }
}

TEST_F(TSlabTest, HoleUnderARaftIsTrimmedByTheRaftsBox)
{
    Load(R"({"id": 1, "type": 48, "floor": 1, "props": {"Thickness": 500, "BottomElev": -1000},
        "shape": {"kind": "face", "outline": )" +
         Outline(0, 0, 6000, 4000) + R"(, "elev": -500, "thickness": 500}},)" + Hole(1));
    const Ref<IQTKPolyhedron3dIntf> relation = Edo<IQTKSlabHoleCalcEDO>(2)->GetRelationPolyhedronIntf();
    const TVRMBox3d box = relation->GetPolyhedron()->GetBox();
    EXPECT_NEAR(box.min.z, -1000, 1e-9);
    EXPECT_NEAR(box.max.z, -500, 1e-9);
    EXPECT_NEAR(relation->GetPolyhedron()->GetVolume(), 1000.0 * 1000 * 500, 1e-3);
}

}  // namespace
