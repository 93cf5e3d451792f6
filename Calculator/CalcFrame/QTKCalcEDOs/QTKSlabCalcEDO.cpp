#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSlabCalcEDO.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

const IQTKFaceShape* FaceShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
}

bool IsOneOf(int id, std::initializer_list<int> ids)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

TQTKSlabCalculator::TQTKSlabCalculator(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj), thickness_(EdoPropValueFloat(drawObj->GetPropValues(), "Thickness"))
{
}

TQTKSlabCalculator::~TQTKSlabCalculator() = default;

bool TQTKSlabCalculator::IsCurvedFaceShape()
{
    std::lock_guard guard(DataLock());
    return curved_;
}

double TQTKSlabCalculator::GetSettingAreaMM2(const TableSourceRef& ruleContext, std::string_view key)
{
    return FieldValueFloat(GetSettingRow(ruleContext, "QTKSlabCalcSettings"), key, 0.0) * 1000000.0;
}

void TQTKSlabCalculator::Insert(TPolygonList& list, int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon)
{
    QTK_ASSERT(polygon != nullptr);
    const auto at =
        std::upper_bound(list.begin(), list.end(), writerId, [](int id, const auto& item) { return id < item.first; });
    list.emplace(at, writerId, std::shared_ptr<TVRMMultiPolygon2d>(std::move(polygon)));
}

void TQTKSlabCalculator::AddAddPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon)
{
    std::lock_guard guard(DataLock());
    Insert(addPolygons_, writerId, std::move(polygon));
}

void TQTKSlabCalculator::AddDeductPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon)
{
    std::lock_guard guard(DataLock());
    Insert(deductPolygons_, writerId, std::move(polygon));
}

std::vector<const TVRMMultiPolygon2d*> TQTKSlabCalculator::Items(const TPolygonList& list)
{
    std::lock_guard guard(DataLock());
    std::vector<const TVRMMultiPolygon2d*> items;
    for (const auto& item : list)
        items.push_back(item.second.get());
    return items;
}

std::vector<const TVRMMultiPolygon2d*> TQTKSlabCalculator::GetAddPolygons()
{
    return Items(addPolygons_);
}

std::vector<const TVRMMultiPolygon2d*> TQTKSlabCalculator::GetDeductPolygons()
{
    return Items(deductPolygons_);
}

const TVRMMultiPolygon2d* TQTKSlabCalculator::GetCalcPolygon()
{
    if (const std::shared_ptr<TVRMMultiPolygon2d> kept = Kept(calcPolygon_))
        return kept.get();
    const IQTKShape* shape = GetElementDrawObj()->GetShape();
    return shape ? &shape->GetOutline() : nullptr;
}

// The slab's solid on Plan: an arched slab's curved solid, else the prism
// under the current solid's top plane (the host's solid when that has no faces).
std::unique_ptr<TVRMPolyhedron3d> TQTKSlabCalculator::BuildCalcSolid(const TVRMMultiPolygon2d& plan, bool curved)
{
    const IQTKFaceShape* shape = FaceShapeOf(GetElementDrawObj());
    if (curved && shape)
        if (std::unique_ptr<TVRMPolyhedron3d> solid = BuildCurvedFaceSolid(*shape, plan))
            return solid;
    const Ref<IQTKPolyhedron3dIntf> current = GetOriginalPolyhedronIntf();
    const TVRMPolyhedron3d& solid = *current->GetPolyhedron();
    std::unique_ptr<TVRMPolyhedron3d> built;
    if (solid.GetFaceCount() > 2) {
        const TVRMPlane3d top = solid.GetFace(solid.GetFaceCount() - 2).GetPlane();
        built = TVRMPolyhedron3d::CreateOnPlane(plan, top, thickness_);
    }
    if (!built || !built->HasFaces())
        built = GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0, 0);
    return built;
}

void TQTKSlabCalculator::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    const bool curved = IsSlopedFaceDrawObj(GetElementDrawObj());
    TPolygonList adds, deducts;
    {
        std::lock_guard guard(DataLock());
        curved_ = curved;
        adds = addPolygons_;
        deducts = deductPolygons_;
    }
    if (adds.empty() && deducts.empty())
        return;
    const IQTKShape* shape = GetElementDrawObj()->GetShape();
    std::shared_ptr<TVRMMultiPolygon2d> plan;
    try {
        std::unique_ptr<TVRMMultiPolygon2d> p =
            shape ? shape->GetOutline().Clone() : std::make_unique<TVRMMultiPolygon2d>();
        for (const auto& item : adds)
            p = TVRMIntersectFunc2d::MergePolygon(*p, *item.second);
        for (const auto& item : deducts)
            p = SyncSubPolygon(*p, *item.second);
        plan = std::move(p);
    } catch (const EVRMIntersectException&) {
        return;
    }
    if (plan->SignArea() > CLengthTol) {
        SetOriginalPolyhedron(BuildCalcSolid(*plan, curved));
        Keep(curvedSolid_, {});
    }
    Keep(calcPolygon_, std::move(plan));
}

void TQTKSlabCalculator::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    {
        // Dropped outside the lock (the objects may be large).
        std::shared_ptr<TQTKSolidCalc3d> volume;
        std::shared_ptr<TQTKShellCalc3d> area, formboard, side, projective;
        std::shared_ptr<TVRMPolyhedronLines3d> contact;
        std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume;
        std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard, overhighSide;
        std::shared_ptr<TVRMMultiPolygon2d> calcPolygon;
        TPolygonList adds, deducts;
        std::shared_ptr<TQTKOverhighElev> elev;
        std::shared_ptr<TVRMPolyhedron3d> curvedSolid;
        std::lock_guard guard(DataLock());
        std::swap(volume, volumeCalc_);
        std::swap(area, areaCalc_);
        std::swap(projective, projectiveCalc_);
        std::swap(formboard, formboardCalc_);
        std::swap(side, sideFormboardCalc_);
        std::swap(contact, contactWallCalc_);
        std::swap(overhighVolume, overhighVolumeCalc_);
        std::swap(overhighFormboard, overhighFormboardCalc_);
        std::swap(overhighSide, overhighSideFormboardCalc_);
        std::swap(calcPolygon, calcPolygon_);
        std::swap(adds, addPolygons_);
        std::swap(deducts, deductPolygons_);
        std::swap(elev, overhighElev_);
        std::swap(curvedSolid, curvedSolid_);
    }
    SetOriginalPolyhedron(GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0, 0));
}

TQTKOverhighCalcSet TQTKSlabCalculator::GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build)
{
    return GetOrBuildOverhighSet(
        [this] {
            return TQTKOverhighCalcSet{GetOverhighVolumeCalc(), GetOverhighFormboardCalc(), nullptr};
        },
        [this](const TQTKOverhighCalcSet& set) {
            SetOverhighVolumeCalc(set.volume);
            SetOverhighFormboardCalc(set.formboard);
        },
        build);
}

std::shared_ptr<TVRMOverhighShellCalc3d> TQTKSlabCalculator::GetOrBuildOverhighSideFormboardCalc(
    const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build)
{
    // The side formwork travels in the set's formwork member.
    return GetOrBuildOverhighSet(
               [this] {
                   return TQTKOverhighCalcSet{nullptr, GetOverhighSideFormboardCalc(), nullptr};
               },
               [this](const TQTKOverhighCalcSet& set) { SetOverhighSideFormboardCalc(set.formboard); },
               [&build](TQTKOverhighCalcSet& set) {
                   if (!set.formboard)
                       set.formboard = build();
               })
        .formboard;
}

const TVRMPolyhedron3d* TQTKSlabCalculator::GetCurvedSolid()
{
    {
        std::lock_guard guard(DataLock());
        if (!curved_)
            return nullptr;
    }
    return KeepOnce(
               curvedSolid_,
               [this]() -> std::shared_ptr<TVRMPolyhedron3d> {
                   const IQTKFaceShape* shape = FaceShapeOf(GetElementDrawObj());
                   const TVRMMultiPolygon2d& plan = *GetCalcPolygon();
                   const int kind = shape ? shape->GetElevKind() : -1;
                   QTK_ASSERT(kind == CQTKFaceElevCylinder || kind == CQTKFaceElevSphere || kind == CQTKFaceElevCone);
                   if (std::unique_ptr<TVRMPolyhedron3d> solid = BuildCurvedFaceSolid(*shape, plan))
                       return solid;
                   // An arch, a dome or a cone without a rise is level.
                   const auto top = GetFaceShapePlane(shape, true);
                   return TVRMPolyhedron3d::CreateOnPlane(plan, *top, thickness_);
               })
        .get();
}

std::vector<int> TQTKSlabCalculator::BottomFaceIndexes(const TVRMPolyhedron3d& solid)
{
    std::vector<int> indexes;
    const std::vector<int32_t>& data = solid.GetData();
    if (data.size() == 4 && data[2] + data[3] <= solid.GetFaceCount()) {
        for (int i = 0; i < data[3]; ++i)
            indexes.push_back(data[2] + i);
    } else if (solid.HasFaces()) {
        indexes.push_back(solid.GetFaceCount() - 1);
    }
    return indexes;
}

void TQTKSlabCalculator::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!qtyRecord || !container)
        return;
    const int qty = qtyRecord->GetID();
    if (container->GetCount() > 0) {
        if (!IsOneOf(qty, {86, 134}))
            return;
        bool hasOriginal = false;
        for (int i = container->GetCount() - 1; i >= 0; --i) {
            if (dynamic_cast<TQTKShellDeductDetail*>(container->GetItems(i)))
                container->Delete(i);
            else if (container->GetItems(i)->GetIsOriginalQty())
                hasOriginal = true;
        }
        if (!hasOriginal)
            AddOriginalSolidDetail(qtyRecord);
        return;
    }
    if (IsOneOf(qty, {85, 133, 144})) {
        const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
        const TVRMPolyhedron3d& solid = *holder->GetPolyhedron();
        auto shell = std::make_unique<TVRMPolyhedronShell3d>(solid, BottomFaceIndexes(solid));
        IRDXRecord* record = GetElementDrawObj()->GetRecord();
        TQTKCurrentQty current = CurrentQtyOf(record);
        const double area = shell->GetArea();
        auto detail =
            std::make_unique<TQTKShellDeductDetail>(RecordRef(record), std::move(current.code), std::move(current.desc),
                                                    std::move(shell), solid.Clone(), MM2ToM2(area));
        detail->SetIsOriginalQty(true);
        container->Add(std::move(detail));
    } else if (IsOneOf(qty, {86, 134, 145, 628, 641})) {
        AddOriginalSolidDetail(qtyRecord);
    }
}
