#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomWallCalcEDO.h"

#include <deque>
#include <limits>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKWallScaffoldBottomElev.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKHostExceptions.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CRoomType = 58;
constexpr int CDoorType = 4;
constexpr int CLastWindowType = 7;
// Plan overlap (mm²) above which two parallel walls share their sides.
constexpr double CSideOverlapArea = 10.0;

bool IsScaffoldAreaQty(int id)
{
    return (id >= CQTKWallQtyScaffoldAreaFirst && id <= CQTKWallQtyScaffoldAreaLast) ||
           (id >= CQTKWallQtyScaffoldAreaBFirst && id <= CQTKWallQtyScaffoldAreaBLast) ||
           (id >= CQTKWallQtyScaffoldAreaCFirst && id <= CQTKWallQtyScaffoldAreaCLast);
}

}  // namespace

TQTKCustomWallCalcEDO::TQTKCustomWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasThicknessInfoLineEntCalcEDO(mode, drawObj)
{
    innerOuterFlag_ = drawObj ? EdoPropValueInteger(drawObj->GetPropValues(), "InnerOuterFlag") : 0;
    const std::uint8_t state = drawObj && IsInnerWallRecord(drawObj->GetRecord()) ? 0 : 2;
    left_.state = right_.state = state;
}

TQTKCustomWallCalcEDO::~TQTKCustomWallCalcEDO() = default;

TQTKElementTypeSet TQTKCustomWallCalcEDO::GetConnectElementTypes()
{
    return MakeElementTypeSet({0, 1});
}

// ---------------------------------------------------------------------------
// Sides

bool TQTKCustomWallCalcEDO::IsLeftSideExternal()
{
    std::lock_guard guard(DataLock());
    return left_.state == 2;
}

bool TQTKCustomWallCalcEDO::IsRightSideExternal()
{
    std::lock_guard guard(DataLock());
    return right_.state == 2;
}

bool TQTKCustomWallCalcEDO::IsLeftSideSet()
{
    std::lock_guard guard(DataLock());
    return left_.set;
}

bool TQTKCustomWallCalcEDO::IsRightSideSet()
{
    std::lock_guard guard(DataLock());
    return right_.set;
}

bool TQTKCustomWallCalcEDO::ApplySide(bool left, bool value, bool fromNeighbour)
{
    std::lock_guard guard(DataLock());
    TSide& side = left ? left_ : right_;
    if (fromNeighbour && side.set)
        return false;  // set meanwhile: the first setting stays, nothing passes on
    const std::uint8_t wanted = value ? 2 : 1;
    const std::uint8_t opposite = value ? 1 : 2;
    const std::uint8_t state = !left_.set && !right_.set ? 0 : side.state;
    if (state == opposite)
        throw ESetWallExternalException(RecordRef(GetRecord()));
    if (!left_.set && !right_.set)
        left_.state = right_.state = 0;
    side.set = true;
    side.state = wanted;
    return true;
}

// The setting travels wall by wall through a work list: each wall's side is
// set under that wall's lock, then its neighbours whose matching side is
// still unset are queued. A side is set once, so the walk ends.
void TQTKCustomWallCalcEDO::SetSideExternal(bool left, bool value)
{
    ApplySide(left, value, false);
    struct TItem {
        Ref<IQTKCustomWallCalcEDO> wall;
        bool left;
    };
    std::deque<TItem> work{{Ref<IQTKCustomWallCalcEDO>(this), left}};
    bool first = true;
    while (!work.empty()) {
        TItem item = std::move(work.front());
        work.pop_front();
        auto* wall = dynamic_cast<TQTKCustomWallCalcEDO*>(item.wall.get());
        if (!first && wall && !wall->ApplySide(item.left, value, true))
            continue;
        first = false;
        if (!wall)
            continue;
        std::vector<std::pair<Ref<IQTKCustomWallCalcEDO>, bool>> next;
        wall->CollectSideNeighbours(item.left, next);
        for (auto& [neighbour, neighbourLeft] : next)
            work.push_back({std::move(neighbour), neighbourLeft});
    }
}

// The storey band of the other element (its floor from 1 mm above the
// structural elevation to 1 mm below the next; open upward on the first
// floor of its region) meets this element's box.
bool TQTKCustomWallCalcEDO::IsOnStoreyOf(IRDXRecord* other)
{
    const IRDXRecord* floor = GetRecordFloor(other);
    if (!floor)
        return true;
    const double z0 = FieldValueFloat(floor, "StructuralElevation", 0.0) * 1000.0 + 1.0;
    const double z1 = IsFirstFloorOfRegion(floor) ? std::numeric_limits<double>::max()
                                                  : z0 + FieldValueFloat(floor, "Height", 0.0) * 1000.0 - 2.0;
    const double inf = std::numeric_limits<double>::max();
    const TVRMBox3d band({-inf, -inf, z0}, {inf, inf, z1});
    return band.Meets(GetElementDrawObj()->GetBox());
}

void TQTKCustomWallCalcEDO::CollectSideNeighbours(bool left,
                                                  std::vector<std::pair<Ref<IQTKCustomWallCalcEDO>, bool>>& out)
{
    TRecordList related;
    if (!GetRelatedByType(GetElementDrawObj()->GetElementTypeID(), &related))
        return;
    const IQTKLineShape* ownShape = LineShape();
    if (!ownShape)
        return;
    const TVRMCustomLine2d& ownAxis = ownShape->GetLine();
    const TVRMMultiPolygon2d& ownOutline = ownShape->GetOutline();
    for (const RecordRef& record : related) {
        IQTKElementDrawObj* drawObj = GetRecordDrawObj(record.get());
        const auto wall = drawObj ? RefCast<IQTKCustomWallCalcEDO>(GetOrCreateCalcEDO(drawObj, false)) : nullptr;
        const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
        if (!wall || !shape || !IsOnStoreyOf(record.get()))
            continue;
        const bool d = TVRMPositionFunc2d::IsSameDirection(ownAxis, shape->GetLine()) ? left : !left;
        if (d ? wall->IsLeftSideSet() : wall->IsRightSideSet())
            continue;
        if (!TVRMPositionFunc2d::IsParallel(ownAxis, shape->GetLine(), CVRMParallelEpsilon))
            continue;
        const auto common = TVRMIntersectFunc2d::IntPolygon(ownOutline, shape->GetOutline());
        if (!common || !GreaterThan(common->Area(), CSideOverlapArea, CVRMEpsilon))
            continue;
        const auto prepared = RefCast<IQTKCustomWallCalcEDO>(GetOrCreateCalcEDO(drawObj, true));
        if (prepared)
            out.emplace_back(prepared, d);
    }
}

// ---------------------------------------------------------------------------
// Relations

bool TQTKCustomWallCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    const int type = other ? other->GetElementTypeID() : -1;
    if (type == CRoomType)
        return other->GetFloorID() == GetElementDrawObj()->GetFloorID() &&
               TQTKHasThicknessInfoLineEntCalcEDO::IsIntersectWith(record);
    if (type < CDoorType || type > CLastWindowType)
        return TQTKHasThicknessInfoLineEntCalcEDO::IsIntersectWith(record);
    const IQTKElementDrawObj* host = other->GetParentDrawObj();
    if (!host)
        return false;
    if (host == GetElementDrawObj())
        return true;
    const IQTKLineShape* own = LineShape();
    const IQTKLineShape* hostShape = GetDrawObjLineShape(host);
    if (!own || !hostShape ||
        !TVRMPositionFunc2d::IsParallel(own->GetLine(), hostShape->GetLine(), CVRMParallelEpsilon))
        return TQTKHasThicknessInfoLineEntCalcEDO::IsIntersectWith(record);
    // How far the host wall's axis may lie from this axis while the two bands still meet.
    const double b = TVRMPositionFunc2d::SignedDistanceTo(hostShape->GetLine().StartPt(), own->GetLine(), false);
    const double w = own->GetWidth(), a = own->GetAxisOffset();
    const double w2 = hostShape->GetWidth(), a2 = hostShape->GetAxisOffset();
    const bool same = TVRMPositionFunc2d::IsSameDirection(own->GetLine(), hostShape->GetLine());
    double limit = 1.0;
    if (!IsZero(b)) {
        if (same)
            limit = b >= 0.0 ? (w - a) + a2 : a + w2 - a2;
        else
            limit = b > 0.0 ? (w - a) + w2 - a2 : a + a2;
    }
    return std::abs(b) < limit && TQTKHasThicknessInfoLineEntCalcEDO::IsIntersectWith(record);
}

// ---------------------------------------------------------------------------
// Scaffold

TQTKLinearCalc2d* TQTKCustomWallCalcEDO::GetScaffoldLinearCalc()
{
    std::lock_guard guard(DataLock());
    return scaffoldCalc_.get();
}

void TQTKCustomWallCalcEDO::SetScaffoldLinearCalc(std::unique_ptr<TQTKLinearCalc2d> calc)
{
    std::unique_ptr<TQTKLinearCalc2d> previous;
    {
        std::lock_guard guard(DataLock());
        previous = std::exchange(scaffoldCalc_, std::move(calc));
    }
    if (previous)
        WriteScaffoldDetails(*previous);
}

const TVRMCustomLine2d* TQTKCustomWallCalcEDO::GetScaffoldLine()
{
    std::lock_guard guard(DataLock());
    return scaffoldLine_;
}

void TQTKCustomWallCalcEDO::SetScaffoldLine(const TVRMCustomLine2d* line)
{
    std::lock_guard guard(DataLock());
    scaffoldLine_ = line;
}

void TQTKCustomWallCalcEDO::SetScaffoldHeight(double value)
{
    std::lock_guard guard(DataLock());
    scaffoldHeight_ = value;
}

TVRMSeg2dList* TQTKCustomWallCalcEDO::GetScaffoldSegList()
{
    std::lock_guard guard(DataLock());
    if (!scaffoldSegs_)
        scaffoldSegs_ = std::make_unique<TVRMSeg2dList>();
    return scaffoldSegs_.get();
}

double TQTKCustomWallCalcEDO::GetOverHighBottomElev(int kind, const TableSourceRef& ruleContext)
{
    {
        std::lock_guard guard(DataLock());
        if (kind == scaffoldElevKey_)
            return scaffoldElev_;
    }
    // Computed with no lock held: the calculator asks the elements below.
    const double elev = GetWallScaffoldBottomElev(this, kind, ruleContext);
    std::lock_guard guard(DataLock());
    scaffoldElevKey_ = kind;
    scaffoldElev_ = elev;
    return elev;
}

void TQTKCustomWallCalcEDO::ClearQtyItems()
{
    TQTKHasThicknessInfoLineEntCalcEDO::ClearQtyItems();
    std::lock_guard guard(DataLock());
    scaffoldElevKey_ = -1;
    scaffoldElev_ = 0.0;
}

void TQTKCustomWallCalcEDO::FreeCalcCache()
{
    TQTKHasThicknessInfoLineEntCalcEDO::FreeCalcCache();
    std::lock_guard guard(DataLock());
    scaffoldElevKey_ = -1;
    scaffoldElev_ = 0.0;
}

// Vertical faces of Height standing on the segments (on the wall's bottom
// along each), then level faces on the further segments.
std::unique_ptr<TVRMPolyhedronShell3d> TQTKCustomWallCalcEDO::ScaffoldShell(const TVRMSeg2dList& segs, double height)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const IQTKLineShape* shape = LineShape();
    if (!shape)
        return shell;
    for (const TVRMCustomLine2d& seg : segs.Items()) {
        const double b0 = shape->GetBottomElevAt(seg.StartPt()), b1 = shape->GetBottomElevAt(seg.EndPt());
        shell->AddFace(seg, true, b0, b0 + height, b1, b1 + height);
    }
    std::lock_guard guard(DataLock());
    if (scaffoldSegs_)
        for (const TVRMCustomLine2d& seg : scaffoldSegs_->Items()) {
            const double b0 = shape->GetBottomElevAt(seg.StartPt());
            shell->AddFace(seg, true, b0, b0 + height, b0, b0 + height);
        }
    return shell;
}

void TQTKCustomWallCalcEDO::WriteScaffoldDetails(const TQTKLinearCalc2d& calc)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!GIsDetailMode || !container)
        return;
    IRDXRecord* record = GetRecord();
    TQTKCurrentQty qty = CurrentQtyOf(record);
    TVRMSeg2dList segs = calc.BuildSubLines(CQTKNullMark);
    double height = 0.0;
    bool hasExtra = false;
    {
        std::lock_guard guard(DataLock());
        height = scaffoldHeight_;
        hasExtra = scaffoldSegs_ != nullptr;
    }
    std::unique_ptr<TQTKDeductDetail> detail;
    if (segs.GetCount() > 0 && IsZero(height)) {
        detail =
            std::make_unique<TQTKLine2dDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                     std::move(segs), TVRMMultiPolygon2d(), MMToM(GetOriginalQty()));
    } else if (!IsZero(height) && (segs.GetCount() > 0 || hasExtra)) {
        detail =
            std::make_unique<TQTKShellDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                    ScaffoldShell(segs, height), nullptr, MM2ToM2(GetOriginalQty()));
    }
    if (!detail)
        return;
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}

void TQTKCustomWallCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKHasThicknessInfoLineEntCalcEDO::FillDeductDetail(qtyRecord);
    const int id = qtyRecord ? qtyRecord->GetID() : -1;
    TQTKLinearCalc2d* calc = nullptr;
    double height = 0.0;
    {
        std::lock_guard guard(DataLock());
        calc = scaffoldCalc_.get();
        height = scaffoldHeight_;
    }
    if (!calc)
        return;
    if (id == CQTKWallQtyScaffoldLength || id == CQTKWallQtyScaffoldLengthB ||
        (IsScaffoldAreaQty(id) && !IsZero(height)))
        WriteScaffoldDetails(*calc);
}
