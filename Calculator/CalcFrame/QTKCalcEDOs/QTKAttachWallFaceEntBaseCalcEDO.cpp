#include "Calculator/CalcFrame/QTKCalcEDOs/QTKAttachWallFaceEntBaseCalcEDO.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CParallelTol = 0.002;
constexpr int CWallType = 0;
constexpr int CColumnType = 25;
constexpr int CTieColumnType = 26;
constexpr int CInsulatingLayerType = 68;

bool IsWallHostType(int type)
{
    return type == 0 || type == 1 || type == 69;
}

bool IsColumnType(int type)
{
    return type == CColumnType || type == CTieColumnType;
}

int TypeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

const IQTKLineShape* LineShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

// A wall's fill-wall overlay state; 1 for anything else.
int OverlayState(IQTKCalculatorEDO* edo)
{
    const auto* wall = dynamic_cast<IQTKWallCalcEDO*>(edo);
    return wall ? const_cast<IQTKWallCalcEDO*>(wall)->GetFillWallOverlayState() : 1;
}

int OverlayState(IQTKLineEdoInfo* info)
{
    auto* wall = dynamic_cast<IQTKWallLineEdoInfo*>(info);
    return wall ? wall->GetFillWallOverlayState() : 1;
}

bool Meets(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::Intersect(a, b, points, CLengthTol);
    return code >= 1 && code <= 3;
}

std::unique_ptr<TVRMMultiPolygon2d> PolygonFromLines(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    auto set = std::make_unique<TVRMMultiPolygon2d>();
    set->Add(TVRMPolygon2d::CreateBetweenLines(a, b));
    return set;
}

// The related list a connected search keeps for an attached element: the
// elements of the types on the walls around its host (or, on a column, its
// own related elements on the same host).
void FindAttachedRelated(IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types, TRecordList& out)
{
    out.clear();
    auto* attached = dynamic_cast<IQTKAttachWallFaceEntBaseCalcEDO*>(edo);
    if (!attached) {
        edo->GetRelatedByTypes(types, &out);
        return;
    }
    if (attached->IsRelatedListCached()) {
        out = attached->GetRelatedList();
        return;
    }
    const RecordRef host = attached->GetHostRecord();
    if (attached->IsHostWallType()) {
        TRecordList walls;
        if (const Ref<IQTKCalculatorEDO> hostEdo = host ? GetCalcEDO(host, true) : nullptr)
            hostEdo->GetRelatedByTypes(MakeElementTypeSet({0, 1, 69}), &walls);
        for (auto wall = walls.rbegin(); wall != walls.rend(); ++wall) {
            const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(*wall, false);
            TRecordList onWall;
            if (wallEdo)
                wallEdo->GetRelatedByTypes(types, &onWall);
            for (const RecordRef& element : onWall) {
                const IQTKElementDrawObj* drawObj = GetRecordDrawObj(element.get());
                const IRDXRecord* parent = drawObj ? drawObj->GetParentRecord() : nullptr;
                if (parent && parent->GetID() == (*wall)->GetID())
                    out.push_back(element);
            }
        }
    } else {
        TRecordList own;
        edo->GetRelatedByTypes(types, &own);
        for (const RecordRef& element : own)
            if (host && FieldValueInteger(element.get(), "EDOPID", -1) == host->GetID())
                out.push_back(element);
    }
    attached->SetRelatedList(out);
    attached->SetRelatedListCached(true);
}

}  // namespace

TQTKAttachWallFaceEntBaseCalcEDO::TQTKAttachWallFaceEntBaseCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj),
      host_(drawObj->GetParentRecord()),
      hostType_(TypeOf(drawObj->GetParentDrawObj())),
      geometryLock_(std::make_unique<TVRMCmpxchgLock>())
{
    QTK_ASSERT_MSG(host_ != nullptr, "an element on a wall face without its host");
    if (IsWallHostType(hostType_)) {
        const TVRMCustomLine2d own = LineShape() ? LineShape()->GetLine() : TVRMCustomLine2d();
        const TVRMCustomLine2d centre = GetLineEntCenterLine(host_.get());
        onLeft_ = TVRMPositionFunc2d::PointSegSide(own.MiddlePoint(), centre, CLengthTol) == 1;
        sameDirection_ = TVRMPositionFunc2d::IsSameDirection(centre, own);
    }
}

TQTKAttachWallFaceEntBaseCalcEDO::~TQTKAttachWallFaceEntBaseCalcEDO() = default;

const IQTKLineShape* TQTKAttachWallFaceEntBaseCalcEDO::LineShape() const
{
    return LineShapeOf(GetElementDrawObj());
}

bool TQTKAttachWallFaceEntBaseCalcEDO::IsHostWallType()
{
    return IsWallHostType(hostType_);
}

// ---------------------------------------------------------------------------
// Preparation and caches

void TQTKAttachWallFaceEntBaseCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCalculatorEDO::Prepare(record);
    {
        std::lock_guard guard(DataLock());
        connected_ = MakeRef<TQTKConnectedEdoIDInfo>();
        startInfos_ = endInfos_ = TEndInfos{};
        startFree_ = endFree_ = TFreeEnd{};
    }
    startAtHostEnd_.store(true);
    endAtHostEnd_.store(true);
    lineMode_.store(0);
    belowHost_.store(DecideBelowHost());
}

// The arrays go with their "computed" marks: emptied arrays marked computed
// would read as "no neighbour" until the next preparation.
void TQTKAttachWallFaceEntBaseCalcEDO::ClearCalcCache()
{
    TQTKCalculatorEDO::ClearCalcCache();
    std::lock_guard guard(DataLock());
    startInfos_ = endInfos_ = TEndInfos{};
}

void TQTKAttachWallFaceEntBaseCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    auxiliary_.store(false);
    byHostAxis_.store(false);
}

void TQTKAttachWallFaceEntBaseCalcEDO::SetLineMode(int mode)
{
    if (mode != lineMode_.load())
        LineModeChanged();
    lineMode_.store(mode);
}

void TQTKAttachWallFaceEntBaseCalcEDO::LockGeometry()
{
    geometryLock_->Enter();
}

void TQTKAttachWallFaceEntBaseCalcEDO::UnlockGeometry()
{
    geometryLock_->Leave();
}

void TQTKAttachWallFaceEntBaseCalcEDO::SetRelatedListCached(bool cached)
{
    std::lock_guard guard(DataLock());
    relatedCached_ = cached;
}

void TQTKAttachWallFaceEntBaseCalcEDO::SetRelatedList(TRecordList list)
{
    std::lock_guard guard(DataLock());
    relatedList_ = std::move(list);
}

bool TQTKAttachWallFaceEntBaseCalcEDO::IsRelatedListCached()
{
    std::lock_guard guard(DataLock());
    return relatedCached_;
}

TRecordList TQTKAttachWallFaceEntBaseCalcEDO::GetRelatedList()
{
    std::lock_guard guard(DataLock());
    return relatedList_;
}

// ---------------------------------------------------------------------------
// Line element information

int TQTKAttachWallFaceEntBaseCalcEDO::GetID()
{
    IRDXRecord* record = GetRecord();
    return record ? record->GetID() : 0;
}

double TQTKAttachWallFaceEntBaseCalcEDO::GetWidth()
{
    return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "Thickness");
}

double TQTKAttachWallFaceEntBaseCalcEDO::GetAxisOffset()
{
    return onLeft_ ? GetWidth() : 0.0;
}

IQTKLineShape* TQTKAttachWallFaceEntBaseCalcEDO::GetShape()
{
    return const_cast<IQTKLineShape*>(LineShape());
}

IRDXRecord* TQTKAttachWallFaceEntBaseCalcEDO::GetRecord()
{
    return GetElementDrawObj()->GetRecord();
}

Ref<IQTKConnectedEdoIDInfo> TQTKAttachWallFaceEntBaseCalcEDO::GetConnectedEdoIDInfo()
{
    std::lock_guard guard(DataLock());
    if (!connected_)
        connected_ = MakeRef<TQTKConnectedEdoIDInfo>();
    return connected_;
}

TQTKLineEdoInfoArray TQTKAttachWallFaceEntBaseCalcEDO::EndInfos(bool atStart)
{
    TEndInfos& slot = atStart ? startInfos_ : endInfos_;
    {
        std::lock_guard guard(DataLock());
        if (slot.computed)
            return slot.infos;
    }
    TQTKLineEdoInfoArray infos =
        GetOverlappingLineEdoInfos(this, GetConnectElementTypes(), atStart, FindAttachedRelated);
    std::lock_guard guard(DataLock());
    if (!slot.computed) {
        slot.infos = std::move(infos);
        slot.computed = true;
    }
    return slot.infos;
}

// ---------------------------------------------------------------------------
// Host lines

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::SelectHostSideLine(bool outside, bool ownSide)
{
    const Ref<IQTKCalculatorEDO> hostEdo = GetCalcEDO(host_, true);
    auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(hostEdo.get());
    if (!line)
        return nullptr;
    const bool left = onLeft_ == ownSide;
    if (outside)
        return left ? line->GetAttachWallFaceLeftLineWithInsulatingLayer()
                    : line->GetAttachWallFaceRightLineWithInsulatingLayer();
    return left ? line->GetAttachWallFaceLeftLine() : line->GetAttachWallFaceRightLine();
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetHostSideLine()
{
    return SelectHostSideLine(false, true);
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetHostOppositeSideLine()
{
    return SelectHostSideLine(false, false);
}

std::unique_ptr<TVRMCustomLine2d> TQTKAttachWallFaceEntBaseCalcEDO::BuildFaceLine(bool outside)
{
    const TVRMCustomLine2d p = LineShape() ? LineShape()->GetLine() : TVRMCustomLine2d();
    const IQTKLineShape* hostShape = LineShapeOf(GetRecordDrawObj(host_.get()));
    const TVRMCustomLine2d* hostSide = hostType_ == CColumnType ? nullptr : SelectHostSideLine(outside, true);
    if (!hostShape || !hostSide)
        return std::make_unique<TVRMCustomLine2d>(p);
    const TVRMCustomLine2d& q = hostShape->GetLine();
    const TVRMCustomLine2d& h = *hostSide;
    // Where an end of the element lies along the host side line; an end
    // within the host's length is not at a host end.
    const auto along = [&](const TVRMPoint2d& end, std::atomic<bool>& atHostEnd) {
        const double at = q.LengthAtPoint(end);
        if (at <= CLengthTol)
            return 0.0;
        if (at >= q.Length() - CLengthTol)
            return h.Length();
        atHostEnd.store(false);
        return h.LengthAtPoint(end);
    };
    const double r = along(p.StartPt(), startAtHostEnd_), s = along(p.EndPt(), endAtHostEnd_);
    auto line =
        std::make_unique<TVRMCustomLine2d>(TVRMPositionFunc2d::SubSeg(h, std::min(r, s), std::max(r, s), false));

    // Walls standing on the face shorten it: the one uncovered piece is the face.
    TRecordList walls;
    GetRelatedByTypes(MakeElementTypeSet({0, 1, 69}), &walls);
    TQTKLinearCalc2d cover(*line, false, 1.0, 0.0);
    IRDXRecord* self = GetRecord();
    const int floor = GetElementDrawObj()->GetFloorID();
    for (const RecordRef& wall : walls) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
        if (!drawObj || wall->GetID() == host_->GetID() || drawObj->GetFloorID() != floor)
            continue;
        const bool isWall = drawObj->GetElementTypeID() == CWallType;
        if (isWall) {
            const int type = EdoPropValueInteger(drawObj->GetPropValues(), "Type");
            if (type == 254 || type == 255)
                continue;
        }
        if (!IsLineEntAndLineEntInt(self, wall.get(), 1))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
        if (isWall && OverlayState(edo.get()) == 2)
            continue;
        auto* lineEdo = dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo.get());
        const TVRMMultiPolygon2d* polygon = lineEdo ? lineEdo->GetAttachWallFacePolygon() : nullptr;
        if (!polygon)
            continue;
        if (TVRMPositionFunc2d::PointPosition(line->StartPt(), *polygon, CLengthTol) != 2 ||
            TVRMPositionFunc2d::PointPosition(line->EndPt(), *polygon, CLengthTol) != 2)
            cover.Append(*polygon, 1, nullptr, false, CLengthTol);
    }
    const TVRMSeg2dList uncovered = cover.BuildSubLines(-1);
    if (uncovered.GetCount() == 1)
        *line = uncovered.GetItems(0);
    return line;
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::FaceLine(std::unique_ptr<TVRMCustomLine2d>& slot,
                                                                   bool outside)
{
    {
        std::lock_guard guard(DataLock());
        if (slot)
            return slot.get();
    }
    std::unique_ptr<TVRMCustomLine2d> line = BuildFaceLine(outside);
    std::lock_guard guard(DataLock());
    if (!slot)
        slot = std::move(line);
    return slot.get();
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetFaceLine()
{
    return FaceLine(faceLine_, false);
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetAttachFaceLine()
{
    return FaceLine(attachFaceLine_, true);
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetBlockFaceLine()
{
    return IsBlockConsiderInsulatingLayer() ? GetAttachFaceLine() : GetFaceLine();
}

TVRMCustomLine2d TQTKAttachWallFaceEntBaseCalcEDO::GetCalcLine()
{
    switch (lineMode_.load()) {
        case 0:
            return *GetMidLine();
        case 2: {
            const IQTKLineShape* shape = LineShape();
            const IQTKLineShape* hostShape = LineShapeOf(GetRecordDrawObj(host_.get()));
            if (!shape || !hostShape)
                return *GetBlockFaceLine();
            const TVRMCustomLine2d l =
                TVRMOffsetFunc2d::Offset(shape->GetLine(), shape->GetWidth() / 2 - shape->GetAxisOffset());
            const double d = (l.Length() - hostShape->GetLine().Length()) / 2;
            return TVRMPositionFunc2d::SubSeg(l, d, l.Length() - d, false);
        }
        default:
            return *GetBlockFaceLine();
    }
}

// ---------------------------------------------------------------------------
// Band lines and polygons

const TQTKAttachWallFaceEntBaseCalcEDO::TBand& TQTKAttachWallFaceEntBaseCalcEDO::Band()
{
    {
        std::lock_guard guard(DataLock());
        if (band_)
            return *band_;
    }
    auto band = std::make_unique<TBand>();
    Ref<IQTKConnectedEdoIDInfo> info;
    if (SameValue(GetWidth(), 0.0, CLengthTol)) {
        band->mid = band->left = band->right = *GetBlockFaceLine();
    } else {
        TLineCalcArgs args;
        args.self = this;
        args.provider = this;
        args.priority = [](IQTKLineEdoInfo* a, IQTKLineEdoInfo* b) {
            return CompareEdoDrawObjMaterialRank(dynamic_cast<IQTKCalculatorEDO*>(a),
                                                 dynamic_cast<IQTKCalculatorEDO*>(b));
        };
        args.topLevel = CompareJunctionTopLevel;
        args.bottomLevel = CompareJunctionBottomLevel;
        args.attachMode = true;
        args.key = GetElementDrawObj()->GetIndexKey();
        args.elementType = TypeOf(GetElementDrawObj());
        TQTKActualMiddleCalculator(args).Calculate(band->mid, band->left, band->right, info);
    }
    bool stored = false;
    {
        std::lock_guard guard(DataLock());
        if (!band_) {
            band_ = std::move(band);
            if (info)
                connected_ = info;
            stored = true;
        }
    }
    if (stored)
        AfterCalcLines();
    std::lock_guard guard(DataLock());
    return *band_;
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetMidLine()
{
    return &Band().mid;
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetLeftLine()
{
    std::lock_guard guard(DataLock());
    return band_ ? &band_->left : nullptr;
}

const TVRMCustomLine2d* TQTKAttachWallFaceEntBaseCalcEDO::GetRightLine()
{
    std::lock_guard guard(DataLock());
    return band_ ? &band_->right : nullptr;
}

const TVRMMultiPolygon2d* TQTKAttachWallFaceEntBaseCalcEDO::PolygonBetween(std::unique_ptr<TVRMMultiPolygon2d>& slot,
                                                                           const TVRMCustomLine2d* a,
                                                                           const TVRMCustomLine2d* b)
{
    auto polygon = a && b ? PolygonFromLines(*a, *b) : std::make_unique<TVRMMultiPolygon2d>();
    std::lock_guard guard(DataLock());
    if (!slot)
        slot = std::move(polygon);
    return slot.get();
}

const TVRMMultiPolygon2d* TQTKAttachWallFaceEntBaseCalcEDO::GetPlanPolygon()
{
    {
        std::lock_guard guard(DataLock());
        if (planPolygon_)
            return planPolygon_.get();
    }
    if (SameValue(GetWidth(), 0.0, CLengthTol))
        return PolygonBetween(planPolygon_, nullptr, nullptr);
    const TBand& band = Band();
    if (TypeOf(GetElementDrawObj()) == CInsulatingLayerType)
        return onLeft_ ? PolygonBetween(planPolygon_, &band.left, GetBlockFaceLine())
                       : PolygonBetween(planPolygon_, GetBlockFaceLine(), &band.right);
    return PolygonBetween(planPolygon_, &band.left, &band.right);
}

const TVRMMultiPolygon2d* TQTKAttachWallFaceEntBaseCalcEDO::GetHalfPlanPolygon()
{
    {
        std::lock_guard guard(DataLock());
        if (halfPlanPolygon_)
            return halfPlanPolygon_.get();
    }
    if (SameValue(GetWidth(), 0.0, CLengthTol))
        return PolygonBetween(halfPlanPolygon_, nullptr, nullptr);
    const TBand& band = Band();
    return onLeft_ ? PolygonBetween(halfPlanPolygon_, &band.mid, &band.right)
                   : PolygonBetween(halfPlanPolygon_, &band.left, &band.mid);
}

// ---------------------------------------------------------------------------
// Solids

Ref<IQTKPolyhedron3dIntf> TQTKAttachWallFaceEntBaseCalcEDO::CachedBand(TQTKPolyhedronCacheList& list,
                                                                       TQTKCacheSlot& slot, bool halfBlock)
{
    if (Ref<IQTKPolyhedron3dIntf> holder = list.Touch(slot))
        return holder;
    const IPropValues* props = GetElementDrawObj()->GetPropValues();
    double width = EdoPropValueFloat(props, "Thickness");
    if (halfBlock) {
        width /= 2;
        if (props && props->HasProp("AirLayerThickness"))
            width += EdoPropValueFloat(props, "AirLayerThickness") / 2;
    }
    std::unique_ptr<TVRMPolyhedron3d> solid;
    if (!SameValue(width, 0.0, CLengthTol)) {
        const TQTKLineEndElevs e = GetLineEndElevs(GetRecord());
        solid = TVRMPolyhedron3d::CreateBand(*GetBlockFaceLine(), width, onLeft_ ? width : 0.0, e.startBottom,
                                             e.startTop, e.endBottom, e.endTop);
    }
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    return halfBlock ? list.AddHalfBlockItem(this, std::move(solid), slot)
                     : list.AddExtendOriginalItem(this, std::move(solid), slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKAttachWallFaceEntBaseCalcEDO::GetHalfBlockPolyhedron()
{
    return CachedBand(GFinishHalfBlockPolyhedronList, halfBlockItem_, true);
}

Ref<IQTKPolyhedron3dIntf> TQTKAttachWallFaceEntBaseCalcEDO::GetExtendOriginalPolyhedron()
{
    return CachedBand(GFinishExtendOriginalPolyhedronList, extendOriginalItem_, false);
}

void TQTKAttachWallFaceEntBaseCalcEDO::ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem* item)
{
    halfBlockItem_.Forget(item);
}

void TQTKAttachWallFaceEntBaseCalcEDO::ReleaseExtendOriginalPolyhedronItem(
    const TQTKFinishExtendOriginalPolyhedronItem* item)
{
    extendOriginalItem_.Forget(item);
}

// ---------------------------------------------------------------------------
// Host questions

RecordRef TQTKAttachWallFaceEntBaseCalcEDO::GetHostInsulatingLayerRecord()
{
    {
        std::lock_guard guard(DataLock());
        if (hostLayerFound_)
            return hostLayer_;
    }
    RecordRef layer;
    if (!IsColumnType(hostType_))
        if (const auto line = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(host_, true)))
            layer = line->GetInsulatingLayerRecord(onLeft_);
    std::lock_guard guard(DataLock());
    if (!hostLayerFound_) {
        hostLayer_ = layer;
        hostLayerFound_ = true;
    }
    return hostLayer_;
}

double TQTKAttachWallFaceEntBaseCalcEDO::GetHostInsulatingLayerThickness()
{
    double thickness = hostLayerThickness_.load();
    if (SameValue(thickness, -1.0)) {
        const RecordRef layer = GetHostInsulatingLayerRecord();
        thickness = layer ? GetRecordThickness(layer.get()) : 0.0;
        hostLayerThickness_.store(thickness);
    }
    return thickness;
}

int TQTKAttachWallFaceEntBaseCalcEDO::GetHostFillWallOverlayKind()
{
    if (hostType_ != CWallType)
        return 1;
    return OverlayState(GetCalcEDO(host_, true).get());
}

bool TQTKAttachWallFaceEntBaseCalcEDO::FreeEnd(bool atStart)
{
    TFreeEnd& slot = atStart ? startFree_ : endFree_;
    {
        std::lock_guard guard(DataLock());
        if (slot.computed)
            return slot.free;
    }
    const bool free = DecideFreeEnd(atStart);
    std::lock_guard guard(DataLock());
    if (!slot.computed) {
        slot.free = free;
        slot.computed = true;
    }
    return slot.free;
}

bool TQTKAttachWallFaceEntBaseCalcEDO::DecideFreeEnd(bool atStart)
{
    if (!IsWallHostType(hostType_) || !(atStart ? startAtHostEnd_ : endAtHostEnd_).load())
        return false;
    const Ref<IQTKCalculatorEDO> hostEdo = GetCalcEDO(host_, true);
    auto* hostInfo = dynamic_cast<IQTKLineEdoInfo*>(hostEdo.get());
    auto* hostProvider = dynamic_cast<IQTKLineEdoInfoProvider*>(hostEdo.get());
    if (!hostInfo || !hostProvider)
        return false;
    // The host's end where this element's end lies.
    const bool atHostStart = atStart == sameDirection_;
    TQTKLineEdoInfoArray infos =
        atHostStart ? hostProvider->GetStartSameKindLineEdoInfos() : hostProvider->GetEndSameKindLineEdoInfos();
    const bool hostOverlays = hostType_ == CWallType && OverlayState(hostEdo.get()) == 2;
    std::erase_if(infos, [&](const Ref<IQTKLineEdoInfo>& info) {
        const bool isWall = TypeOf(GetRecordDrawObj(info->GetRecord())) == CWallType;
        if (hostOverlays)
            return !isWall || OverlayState(info.get()) != 2;
        return isWall && OverlayState(info.get()) != 1;
    });
    if (infos.empty())
        return true;
    const TVRMCustomLine2d face = *GetBlockFaceLine();
    const TVRMCustomLine2d hostLine = hostInfo->GetLine();
    bool free = true;
    for (const Ref<IQTKLineEdoInfo>& info : infos) {
        const int k = IntersectShape(hostInfo, info.get());
        if (k >= 1 && k <= 3) {
            const TVRMCustomLine2d line = info->GetLine();
            if (!TVRMPositionFunc2d::IsParallel(line, hostLine, CParallelTol))
                return false;
            // A collinear neighbour whose side lines run on past the face line covers the end.
            const TVRMCustomLine2d left = TVRMOffsetFunc2d::Offset(line, -info->GetAxisOffset());
            if (Meets(face, left))
                return false;
            if (Meets(face, TVRMOffsetFunc2d::Offset(left, info->GetWidth())))
                return false;
        } else if (k == 5 || k == 6 || (k >= 11 && k <= 14)) {
            return false;
        } else {
            free = false;
        }
    }
    if (!free)
        return false;
    const TVRMPoint2d p = atStart == sameDirection_ ? face.StartPt() : face.EndPt();
    TRecordList columns;
    GetRelatedByTypes(MakeElementTypeSet({CColumnType, CTieColumnType}), &columns);
    for (const RecordRef& column : columns) {
        if (!IsLineEntAndPointEntInt(GetRecord(), column.get(), 0.5))
            continue;
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column.get());
        const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
        if (shape && TVRMPositionFunc2d::PointPosition(p, shape->GetOutline(), CLengthTol) != 2)
            return false;
    }
    return true;
}

bool TQTKAttachWallFaceEntBaseCalcEDO::DecideBelowHost()
{
    const IQTKElementDrawObj* hostObj = GetRecordDrawObj(host_.get());
    if (!hostObj)
        return false;
    const double hostBottom = hostObj->GetBox().min.z;
    if (GetElementDrawObj()->GetBox().min.z < hostBottom - CLengthTol)
        return true;
    const Ref<IQTKCalculatorEDO> hostEdo = GetCalcEDO(host_, true);
    if (!hostEdo)
        return false;
    TRecordList around;
    if (IsColumnType(hostType_)) {
        hostEdo->GetRelatedByTypes(MakeElementTypeSet({CColumnType, CTieColumnType}), &around);
        return std::any_of(around.begin(), around.end(), [&](const RecordRef& column) {
            const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column.get());
            return drawObj && drawObj->GetBox().min.z < hostBottom - CLengthTol;
        });
    }
    const TVRMCustomLine2d own = LineShape() ? LineShape()->GetLine() : TVRMCustomLine2d();
    hostEdo->GetRelatedByTypes(MakeElementTypeSet({0, 1, 51, 69}), &around);
    for (const RecordRef& element : around) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(element.get());
        const IQTKLineShape* shape = LineShapeOf(drawObj);
        if (!shape || !(drawObj->GetBox().min.z < hostBottom - CLengthTol) || shape->GetLine().Length() <= 100 ||
            !TVRMPositionFunc2d::IsParallel(shape->GetLine(), own, CParallelTol))
            continue;
        double s = own.LengthAtPoint(shape->GetLine().StartPt()), e = own.LengthAtPoint(shape->GetLine().EndPt());
        if (s > e)
            std::swap(s, e);
        if (e > CLengthTol && s < own.Length() - CLengthTol)
            return true;
    }
    return false;
}
