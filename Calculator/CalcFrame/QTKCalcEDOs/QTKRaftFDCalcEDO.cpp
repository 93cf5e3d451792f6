#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRaftFDCalcEDO.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CScaffoldDepth = 2000.0;
constexpr double CFDReach = 500.0;
constexpr int CBeddingType = 55;
constexpr int CSumpType = 56;
constexpr int CRaftType = 48;
constexpr int CIsolatedFDType = 52;

double ReferenceElevation(IRDXRecord* record)
{
    if (GetRegionFlag(record))
        if (const IRDXRecord* floor = FindFirstFloorOfRegion(GetRecordFloor(record)))
            return FieldValueFloat(floor, "StructuralElevation", 0.0) * 1000.0;
    return GetProjectGroundElev(record);
}

// The bottom of a bedding: its top less its thickness.
double BeddingBottom(const IPropValues* values)
{
    const double top = values && values->HasProp("TopElev") ? EdoPropValueFloat(values, "TopElev")
                                                            : std::min(EdoPropValueFloat(values, "StartPtTopElev"),
                                                                       EdoPropValueFloat(values, "EndPtTopElev"));
    return top - EdoPropValueFloat(values, "Thickness");
}

bool ScaffoldRequired(IQTKElementDrawObj* drawObj, int condition)
{
    IRDXRecord* record = drawObj->GetRecord();
    const double reference = ReferenceElevation(record);
    double bottom = EdoPropValueFloat(drawObj->GetPropValues(), "BottomElev");
    if (condition == 0) {
        TRecordList beddings;
        CollectBeddingsAround(drawObj, beddings);
        for (const RecordRef& bedding : beddings)
            if (const IQTKElementDrawObj* beddingObj = GetRecordDrawObj(bedding.get()))
                bottom = std::min(bottom, BeddingBottom(beddingObj->GetPropValues()));
    }
    return GreaterThan(reference - bottom, CScaffoldDepth, CLengthTol);
}

const TVRMMultiPolygon2d* OutlineOf(const IQTKElementDrawObj* drawObj)
{
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

IRDXRecord* SettingRow()
{
    return GetSettingRow(TQTKCalculatorEDO::GetCalculatorSetting(), "QTKFDCalcSettings");
}

bool HasBevelEdge(const IQTKElementDrawObj* drawObj)
{
    const auto* face = dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape());
    if (!face || face->GetOutline().IsEmpty())
        return false;
    const int edges = static_cast<int>(face->GetOutline().GetItems(0).Vertices().size());
    for (int i = 0; i < edges && i < face->GetEdgeCount(); ++i)
        if (face->GetEdgeInfo(i))
            return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Scaffold requirement and reach

bool IsFDScaffoldRequired(IQTKElementDrawObj* drawObj, int condition)
{
    QTK_ASSERT(drawObj != nullptr);
    try {
        return ScaffoldRequired(drawObj, condition);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::to_string(drawObj->GetRecord() ? drawObj->GetRecord()->GetID() : 0) + ": " +
                                 error.what());
    }
}

bool CollectBeddingsAround(IQTKElementDrawObj* drawObj, TRecordList& list)
{
    list.clear();
    const TableSourceRef business = TQTKCalculatorEDO::GetBusiness();
    IRDXDatabase* database = business ? business->GetDatabase() : nullptr;
    IRDXTable* table = database ? database->GetTable("ElementDrawObj") : nullptr;
    QTK_ASSERT(table != nullptr);
    IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    if (!service)
        return false;
    for (int id : service->Query(drawObj->GetBox(), 1)) {
        IRDXRecord* record = table->GetRecordByID(id);
        const IQTKElementDrawObj* other = record ? GetRecordDrawObj(record) : nullptr;
        if (other && other->GetElementTypeID() == CBeddingType)
            list.emplace_back(record);
    }
    return !list.empty();
}

std::unique_ptr<TVRMMultiPolygon2d> BuildFDExpandedPolygon(IQTKElementDrawObj* drawObj)
{
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    const TVRMMultiPolygon2d* outline = OutlineOf(drawObj);
    if (!outline || outline->IsEmpty())
        return result;
    const TVRMPolygon2d& first = outline->GetItems(0);
    TVRMPolygon2d grown;
    result->Add(TVRMOffsetFunc2d::Offset(first, CFDReach, grown) ? grown : first);
    return result;
}

std::unique_ptr<TVRMMultiPolygon2d> BuildFDScaffoldOutline(IQTKElementDrawObj* drawObj, double distance)
{
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    const TVRMMultiPolygon2d* outline = OutlineOf(drawObj);
    if (!outline || outline->IsEmpty())
        return result;
    if (distance == 0.0 || !TVRMOffsetFunc2d::Offset(*outline, distance, *result))
        *result = *outline;
    return result;
}

bool IsWithinFDReach(const TVRMMultiPolygon2d& ownExpanded, IRDXRecord* other)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(other, false);
    const TVRMMultiPolygon2d* reach = nullptr;
    if (auto* isolated = dynamic_cast<IQTKIsolatedFDCalcEDO*>(edo.get()))
        reach = isolated->GetExpandedPolygon();
    else if (auto* raft = dynamic_cast<IQTKRaftFDCalcEDO*>(edo.get()))
        reach = raft->GetExpandedPolygon();
    else
        reach = OutlineOf(GetRecordDrawObj(other));
    if (!reach || reach->IsEmpty() || ownExpanded.IsEmpty())
        return false;
    return TVRMPositionFunc2d::PolyPolyPosition(ownExpanded.GetItems(0), reach->GetItems(0), CLengthTol) != 0;
}

void ClassifyRaftBottomFaces(const TVRMPolyhedron3d& solid, const TVRMPoint3d& shapeNormal, std::vector<int>& bottom,
                             std::vector<int>& inclined)
{
    bottom.clear();
    inclined.clear();
    const TVRMPoint3d up{0, 0, 1};
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        const TVRMPoint3d& normal = solid.GetFace(i).GetNormal();
        if (!GreaterThan(normal.InnerProduct(shapeNormal), CLengthTol, 0.0) ||
            SameValue(normal.InnerProduct(up), 0.0, CLengthTol))
            continue;
        (SameValue(normal.z, -1.0, CLengthTol) ? bottom : inclined).push_back(i);
    }
}

// ---------------------------------------------------------------------------
// TQTKRaftFDCalcEDO

TQTKRaftFDCalcEDO::~TQTKRaftFDCalcEDO() = default;

std::shared_ptr<TQTKPlanarCalc2d> TQTKRaftFDCalcEDO::GetProjectiveCalc()
{
    return KeepOnce(projectiveCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return std::make_shared<TQTKPlanarCalc2d>(*solid->GetPolyhedron()->GetProjectiveXYPoly(),
                                                  RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

std::shared_ptr<TQTKFDBottomAreaShellCalc3d> TQTKRaftFDCalcEDO::GetBottomShell()
{
    if (std::shared_ptr<TQTKFDBottomAreaShellCalc3d> kept = Kept(bottomShell_))
        return kept;
    const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
    const TVRMPolyhedron3d& solid = *holder->GetPolyhedron();
    const auto plane = GetFaceShapePlane(dynamic_cast<const IQTKFaceShape*>(GetElementDrawObj()->GetShape()), false);
    std::vector<int> bottom, inclined;
    ClassifyRaftBottomFaces(solid, plane ? plane->GetNormal() : TVRMPoint3d{0, 0, -1}, bottom, inclined);
    auto built = std::make_shared<TQTKFDBottomAreaShellCalc3d>(
        std::make_unique<TVRMPolyhedronShell3d>(solid, bottom), 1.0, RecordRef(GetElementDrawObj()->GetRecord()),
        std::make_unique<TVRMPolyhedronShell3d>(solid, inclined));
    Ref<IQTKPolyhedron3dIntf> union_ = MakePolyhedronHolder(solid.Clone());
    std::lock_guard guard(DataLock());
    if (!bottomShell_) {
        bottomShell_ = std::move(built);
        bottomAreaSolid_ = std::move(union_);
    }
    return bottomShell_;
}

void TQTKRaftFDCalcEDO::SetBottomAreaCalc(std::unique_ptr<TVRMPolyhedron3d> solid)
{
    Keep(bottomAreaSolid_, solid ? MakePolyhedronHolder(std::move(solid)) : Ref<IQTKPolyhedron3dIntf>());
}

int TQTKRaftFDCalcEDO::AddHandledId(int id)
{
    std::lock_guard guard(DataLock());
    handledIds_.push_back(id);
    return static_cast<int>(handledIds_.size()) - 1;
}

bool TQTKRaftFDCalcEDO::IsHandledId(int id)
{
    std::lock_guard guard(DataLock());
    return std::find(handledIds_.begin(), handledIds_.end(), id) != handledIds_.end();
}

const TVRMMultiPolygon2d* TQTKRaftFDCalcEDO::GetScaffoldPolygon()
{
    return KeepOnce(scaffoldPolygon_,
                    [this]() -> std::shared_ptr<TVRMMultiPolygon2d> {
                        IRDXRecord* settings = SettingRow();
                        if (!IsFDScaffoldRequired(GetElementDrawObj(),
                                                  FieldValueInteger(settings, "RaftFDScaffoldCaclCondition", 0)))
                            return std::make_shared<TVRMMultiPolygon2d>();
                        const int method = FieldValueInteger(settings, "RaftFDScaffoldCalcMethord", -1);
                        return BuildFDScaffoldOutline(GetElementDrawObj(), method > 0 ? method : 0.0);
                    })
        .get();
}

std::shared_ptr<TQTKPlanarCalc2d> TQTKRaftFDCalcEDO::GetScaffoldCalc()
{
    return KeepOnce(scaffoldCalc_, [this] {
        return std::make_shared<TQTKPlanarCalc2d>(*GetScaffoldPolygon(), RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

const TVRMMultiPolygon2d* TQTKRaftFDCalcEDO::GetExpandedPolygon()
{
    return KeepOnce(
               expandedPolygon_,
               [this]() -> std::shared_ptr<TVRMMultiPolygon2d> { return BuildFDExpandedPolygon(GetElementDrawObj()); })
        .get();
}

TVRMPolyhedron3d* TQTKRaftFDCalcEDO::GetMergedSolid()
{
    TVRMPolyhedron3d* merged = TQTKCalculatorEDO::GetMergedSolid();
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    {
        std::lock_guard guard(DataLock());
        if (brickMoldBuilt_)
            return brickMoldSolid_ ? brickMoldSolid_.get() : merged;
    }
    std::unique_ptr<TVRMPolyhedron3d> mould;
    if (drawObj->HasSubSolids() && HasBevelEdge(drawObj) && merged->HasFaces()) {
        mould = merged->Clone();
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        TVRMNewPolyBooleanOperator::BooleanOperate(*mould, *solid->GetPolyhedron(), CVRMBoolSubtract);
    }
    std::lock_guard guard(DataLock());
    if (!brickMoldBuilt_) {
        brickMoldSolid_ = std::move(mould);
        brickMoldBuilt_ = true;
    }
    return brickMoldSolid_ ? brickMoldSolid_.get() : merged;
}

std::shared_ptr<TQTKSolidCalc3d> TQTKRaftFDCalcEDO::GetBrickMoldSolidCalc()
{
    return KeepOnce(brickMoldCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetMergedSolid()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

bool TQTKRaftFDCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    bool related = TQTKCalculatorEDO::IsIntersectWith(record);
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    const int otherType = other ? other->GetElementTypeID() : -1;
    IRDXRecord* ownRecord = GetElementDrawObj()->GetRecord();
    if (!related && otherType == CSumpType)
        related = other->GetParentRecord() && ownRecord && other->GetParentRecord()->GetID() == ownRecord->GetID();
    if (related && otherType == CIsolatedFDType) {
        const TRecordList units = GetCompositeUnitRecords(record);
        std::lock_guard guard(DataLock());
        for (const RecordRef& unit : units)
            AddRelated(unit.get());
    }
    if (!related && (otherType == CRaftType || otherType == CIsolatedFDType) && !GetScaffoldPolygon()->IsEmpty())
        related = IsWithinFDReach(*GetExpandedPolygon(), record);
    return related;
}

void TQTKRaftFDCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Keep(projectiveCalc_, {});
}

void TQTKRaftFDCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::shared_ptr<TQTKSolidCalc3d> volume, brickMold;
    std::shared_ptr<TQTKShellCalc3d> formboard, vertical, bevel;
    std::shared_ptr<TQTKPlanarCalc2d> projective;
    std::shared_ptr<TQTKFDBottomAreaShellCalc3d> bottom;
    Ref<IQTKPolyhedron3dIntf> bottomArea;
    std::lock_guard guard(DataLock());
    std::swap(volume, volumeCalc_);
    std::swap(formboard, formboardShell_);
    std::swap(projective, projectiveCalc_);
    std::swap(bottom, bottomShell_);
    std::swap(bottomArea, bottomAreaSolid_);
    std::swap(vertical, verticalShell_);
    std::swap(bevel, bevelShell_);
    std::swap(brickMold, brickMoldCalc_);
    handledIds_.clear();
}

void TQTKRaftFDCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    const int id = qtyRecord->GetID();
    if (id == 401 || id == 630) {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        SetVolumeCalc(std::make_shared<TQTKSolidCalc3d>(solid->GetPolyhedron()->Clone(),
                                                        RecordRef(GetElementDrawObj()->GetRecord())));
    } else if (id == 409) {
        GetProjectiveCalc();
    }
}
