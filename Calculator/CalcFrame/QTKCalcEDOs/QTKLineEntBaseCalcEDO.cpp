#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntBaseCalcEDO.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/FastCast.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CInsulatingLayerType = 68;

// Candidates of the joined-line search around an element: the elements of the
// types whose boxes meet its box, from the box service, not from the related
// list (the list is built under its own lock while it asks other elements,
// whose lines may be building and asking for this element's neighbours). They
// pass the same kind filters as the related list: no virtual walls, and only
// what the host relates.
void FindNearby(IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types, TRecordList& candidates)
{
    candidates.clear();
    std::vector<int> typeIds;
    for (int t = 0; t < static_cast<int>(types.size()); ++t)
        if (types.test(t))
            typeIds.push_back(t);
    const IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    IRDXRecord* record = drawObj ? drawObj->GetRecord() : nullptr;
    // As in the related list, a virtual wall neither joins nor is joined.
    if (!record || typeIds.empty() || IsVirtualWallRecord(record))
        return;
    for (IQTKElementDrawObj* other :
         TQTKBoxServiceOp::GetBoxIntersectEDOs(record->GetTable(), drawObj->GetBox(), typeIds))
        if (IRDXRecord* otherRecord = other->GetRecord();
            other != drawObj && !IsVirtualWallRecord(otherRecord) && edo->IsHostRelated(otherRecord))
            candidates.emplace_back(otherRecord);
}

IQTKCalculatorEDO* EdoOf(IQTKLineEdoInfo* info)
{
    return FastCast<IQTKCalculatorEDO>(info);
}

TVRMCustomLine2d Offset(const TVRMCustomLine2d& line, double d)
{
    return TVRMOffsetFunc2d::Offset(line, d);
}

std::unique_ptr<TVRMMultiPolygon2d> PolygonFromLines(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    auto set = std::make_unique<TVRMMultiPolygon2d>();
    set->Add(CreatePolygonFromLines(a, b));
    return set;
}

// Stores Value in Slot under the lock unless another thread stored one first.
template <class T>
T* KeepFirst(std::recursive_mutex& lock, std::unique_ptr<T>& slot, std::unique_ptr<T> value)
{
    std::lock_guard guard(lock);
    if (!slot)
        slot = std::move(value);
    return slot.get();
}

template <class T>
T* FindKept(std::recursive_mutex& lock, const std::unique_ptr<T>& slot)
{
    std::lock_guard guard(lock);
    return slot.get();
}

}  // namespace

TQTKLineEntBaseCalcEDO::TQTKLineEntBaseCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
}

TQTKLineEntBaseCalcEDO::~TQTKLineEntBaseCalcEDO() = default;

const IQTKLineShape* TQTKLineEntBaseCalcEDO::LineShape() const
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    return drawObj ? FastCast<const IQTKLineShape>(drawObj->GetShape()) : nullptr;
}

// ---------------------------------------------------------------------------
// What the calculators read

int TQTKLineEntBaseCalcEDO::GetID()
{
    IRDXRecord* record = GetRecord();
    return record ? record->GetID() : 0;
}

TVRMCustomLine2d TQTKLineEntBaseCalcEDO::GetLine()
{
    const IQTKLineShape* shape = LineShape();
    return shape ? shape->GetLine() : TVRMCustomLine2d();
}

double TQTKLineEntBaseCalcEDO::GetWidth()
{
    const IQTKLineShape* shape = LineShape();
    return shape ? shape->GetWidth() : 0.0;
}

double TQTKLineEntBaseCalcEDO::GetAxisOffset()
{
    const IQTKLineShape* shape = LineShape();
    return shape ? shape->GetAxisOffset() : 0.0;
}

IQTKLineShape* TQTKLineEntBaseCalcEDO::GetShape()
{
    return const_cast<IQTKLineShape*>(LineShape());
}

IRDXRecord* TQTKLineEntBaseCalcEDO::GetRecord()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    return drawObj ? drawObj->GetRecord() : nullptr;
}

// Both are functions of the host element: two threads computing at once store the same value.
double TQTKLineEntBaseCalcEDO::GetActualWidth()
{
    double width = actualWidth_.load();
    if (width < -CVRMEpsilon) {
        width = LineShape() ? LineShape()->GetWidth() : 0.0;
        for (bool left : {true, false})
            if (const RecordRef layer = GetInsulatingLayerRecord(left))
                width += GetRecordThickness(layer.get());
        actualWidth_.store(width);
    }
    return width;
}

double TQTKLineEntBaseCalcEDO::GetActualAxisOffset()
{
    double offset = actualAxisOffset_.load();
    if (SameValue(offset, -1.0)) {
        offset = LineShape() ? LineShape()->GetAxisOffset() : 0.0;
        if (const RecordRef layer = GetInsulatingLayerRecord(true))
            offset += GetRecordThickness(layer.get());
        actualAxisOffset_.store(offset);
    }
    return offset;
}

std::vector<RecordRef> TQTKLineEntBaseCalcEDO::InsulatingLayers()
{
    std::vector<RecordRef> layers;
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    for (int i = 0; drawObj && i < drawObj->GetChildCount(); ++i) {
        const IQTKElementDrawObj* child = drawObj->GetChild(i);
        if (child && child->GetElementTypeID() == CInsulatingLayerType)
            layers.emplace_back(child->GetRecord());
    }
    return layers;
}

// The side is judged against the drawn axis (the calculated middle line runs
// parallel to it), so a neighbour's calculator asking for actual widths never
// waits for this element's lines.
RecordRef TQTKLineEntBaseCalcEDO::GetInsulatingLayerRecord(bool isLeft)
{
    const TVRMCustomLine2d axis = GetLine();
    for (const RecordRef& layer : InsulatingLayers()) {
        const IQTKLineShape* shape = GetRecordDrawObj(layer.get())
                                         ? FastCast<const IQTKLineShape>(GetRecordDrawObj(layer.get())->GetShape())
                                         : nullptr;
        if (shape &&
            TVRMPositionFunc2d::PointSegSide(shape->GetLine().StartPt(), axis, CVRMEpsilon) == (isLeft ? 1 : 2))
            return layer;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Lines

TQTKLineEntBaseCalcEDO::TEdoCompareFunc TQTKLineEntBaseCalcEDO::GetPriorityCompareFunc()
{
    return CompareLineEdoPriority;
}

TQTKLineEntBaseCalcEDO::TEdoCompareFunc TQTKLineEntBaseCalcEDO::GetActualPriorityCompareFunc()
{
    return CompareLineEdoPriority;
}

TLineCalcArgs TQTKLineEntBaseCalcEDO::MakeArgs(bool attachMode, bool actualWidth)
{
    TLineCalcArgs args;
    args.self = this;
    args.provider = this;
    const TEdoCompareFunc compare = attachMode ? ComparePartitionWallPriority : GetPriorityCompareFunc();
    args.priority = [compare](IQTKLineEdoInfo* a, IQTKLineEdoInfo* b) { return compare(EdoOf(a), EdoOf(b)); };
    args.topLevel = CompareJunctionTopLevel;
    args.bottomLevel = CompareJunctionBottomLevel;
    args.attachMode = attachMode;
    args.actualWidth = actualWidth;
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    args.key = drawObj ? drawObj->GetIndexKey() : 0;
    args.elementType = drawObj ? drawObj->GetElementTypeID() : -1;
    return args;
}

const TQTKLineEntBaseCalcEDO::TLines& TQTKLineEntBaseCalcEDO::Lines()
{
    if (const TLines* lines = FindKept(DataLock(), lines_))
        return *lines;
    // Built with no lock held: the calculator asks the neighbours.
    auto lines = std::make_unique<TLines>();
    Ref<IQTKConnectedEdoIDInfo> info;
    if (IsCalcByActualMiddle()) {
        TQTKActualMiddleCalculator(MakeArgs(false, false)).Calculate(lines->mid, lines->left, lines->right, info);
    } else if (IsMidlineConnectable()) {
        TQTKMidlineCalculator(MakeArgs(false, false)).Calculate(lines->mid, lines->left, lines->right, info);
    } else {
        const TVRMCustomLine2d axis = GetLine();
        const double width = GetWidth(), axisOffset = GetAxisOffset();
        lines->mid = Offset(axis, width / 2.0 - axisOffset);
        lines->left = Offset(axis, -axisOffset);
        lines->right = Offset(axis, width - axisOffset);
    }
    AfterCalcLines(lines->mid, lines->left, lines->right);
    std::lock_guard guard(DataLock());
    if (!lines_) {
        lines_ = std::move(lines);
        if (info && IsKeepConnectedEdoIDInfo())
            connected_ = info;
    }
    return *lines_;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetMidLine()
{
    return &Lines().mid;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetLeftLine()
{
    return &Lines().left;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetRightLine()
{
    return &Lines().right;
}

void TQTKLineEntBaseCalcEDO::CalcExtendLength(double& startExt, double& endExt)
{
    CalcLineEDOExtendLength(*GetMidLine(), endExt, startExt, -1);
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetExtendedMidLine()
{
    if (const TVRMCustomLine2d* line = FindKept(DataLock(), extendedMidLine_))
        return line;
    const TVRMCustomLine2d mid = *GetMidLine();
    double startExt = 0.0, endExt = 0.0;
    CalcExtendLength(startExt, endExt);
    return KeepFirst(
        DataLock(), extendedMidLine_,
        std::make_unique<TVRMCustomLine2d>(TVRMPositionFunc2d::SubSeg(mid, -startExt, mid.Length() + endExt, false)));
}

const TVRMMultiPolygon2d* TQTKLineEntBaseCalcEDO::PolygonBetween(std::unique_ptr<TVRMMultiPolygon2d>& slot,
                                                                 const TVRMCustomLine2d* a, const TVRMCustomLine2d* b)
{
    if (const TVRMMultiPolygon2d* polygon = FindKept(DataLock(), slot))
        return polygon;
    QTK_ASSERT(a != nullptr && b != nullptr);
    return KeepFirst(DataLock(), slot, PolygonFromLines(*a, *b));
}

const TVRMMultiPolygon2d* TQTKLineEntBaseCalcEDO::GetPlanPolygon()
{
    return PolygonBetween(planPolygon_, GetLeftLine(), GetRightLine());
}

const TVRMMultiPolygon2d* TQTKLineEntBaseCalcEDO::GetExtendedPolygon()
{
    if (const TVRMMultiPolygon2d* polygon = FindKept(DataLock(), extendedPolygon_))
        return polygon;
    const TVRMCustomLine2d& mid = *GetExtendedMidLine();
    const double half = GetWidth() / 2.0;
    return KeepFirst(DataLock(), extendedPolygon_, PolygonFromLines(Offset(mid, -half), Offset(mid, half)));
}

const TQTKLineEntBaseCalcEDO::TLines& TQTKLineEntBaseCalcEDO::AttachLines(bool withLayers)
{
    std::unique_ptr<TLines>& slot = withLayers ? attachLayerLines_ : attachLines_;
    if (const TLines* lines = FindKept(DataLock(), slot))
        return *lines;
    auto lines = std::make_unique<TLines>();
    Ref<IQTKConnectedEdoIDInfo> info;
    TQTKAttachWallfaceZEntMiddleCalculator(MakeArgs(true, withLayers))
        .Calculate(lines->mid, lines->left, lines->right, info);
    return *KeepFirst(DataLock(), slot, std::move(lines));
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetAttachWallFaceLeftLine()
{
    return &AttachLines(false).left;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetAttachWallFaceRightLine()
{
    return &AttachLines(false).right;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetAttachWallFaceLeftLineWithInsulatingLayer()
{
    return &AttachLines(true).left;
}

const TVRMCustomLine2d* TQTKLineEntBaseCalcEDO::GetAttachWallFaceRightLineWithInsulatingLayer()
{
    return &AttachLines(true).right;
}

const TVRMMultiPolygon2d* TQTKLineEntBaseCalcEDO::GetAttachWallFacePolygon()
{
    return PolygonBetween(attachPolygon_, GetAttachWallFaceLeftLine(), GetAttachWallFaceRightLine());
}

const TVRMMultiPolygon2d* TQTKLineEntBaseCalcEDO::GetAttachWallFacePolygonWithInsulatingLayer()
{
    return PolygonBetween(attachLayerPolygon_, GetAttachWallFaceLeftLineWithInsulatingLayer(),
                          GetAttachWallFaceRightLineWithInsulatingLayer());
}

// ---------------------------------------------------------------------------
// Solid

std::unique_ptr<TVRMPolyhedron3d> TQTKLineEntBaseCalcEDO::CreateSolid()
{
    if (auto solid = TQTKSolidBuilder::BuildLineEntSolid(this))
        return solid;
    auto solid = BuildSolid();
    if (solid && solid->HasFaces())
        TVRMNewPolyBooleanOperator::Cut(*solid, *GetLeftLine(), *GetRightLine());
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKLineEntBaseCalcEDO::BuildOriginalPolyhedron()
{
    auto solid = CreateSolid();
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    int start = -1, end = -1;
    LocateEndFaces(*solid, *GetLeftLine(), *GetRightLine(), start, end);
    startFace_.store(start);
    endFace_.store(end);
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKLineEntBaseCalcEDO::BuildRelationPolyhedron()
{
    return GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0.0, 0);
}

void TQTKLineEntBaseCalcEDO::LocateEndFaces(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& left,
                                            const TVRMCustomLine2d& right, int& startIndex, int& endIndex)
{
    solid.MergeFace(left, right, false);
    startIndex = solid.MergeFace(left, right, true);
    // Merging the start's pieces may drop faces before the end face (a solid
    // of several units has several pieces at each end): find it again.
    endIndex = solid.MergeFace(left, right, false);
    const int n = solid.GetFaceCount();
    if (startIndex == -1 || endIndex == -1)
        return;
    if (endIndex != n - 1) {
        solid.ExchangeFace(n - 1, endIndex);
        if (startIndex == n - 1)
            startIndex = endIndex;
        endIndex = n - 1;
    }
    if (startIndex != n - 2) {
        solid.ExchangeFace(n - 2, startIndex);
        if (endIndex == n - 2)
            endIndex = startIndex;
        startIndex = n - 2;
    }
}

void TQTKLineEntBaseCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCalculatorEDO::Prepare(record);
    useAxisLength_.store(false);
    SetOriginalPolyhedron(BuildOriginalPolyhedron());
    AfterPrepareSolid();
    GetPlanPolygon();
}

void TQTKLineEntBaseCalcEDO::RecalcLinesAndSolid()
{
    ForgetLines();
    RebuildSolid();
}

// Called with the data lock held.
void TQTKLineEntBaseCalcEDO::RetireBuilt()
{
    const auto retire = [this](auto& slot) {
        if (slot)
            retired_.emplace_back(std::move(slot));
    };
    retire(lines_);
    retire(attachLines_);
    retire(attachLayerLines_);
    retire(extendedMidLine_);
    retire(planPolygon_);
    retire(extendedPolygon_);
    retire(attachPolygon_);
    retire(attachLayerPolygon_);
    retire(solidWithoutPrior_);
}

void TQTKLineEntBaseCalcEDO::ForgetLines()
{
    {
        std::lock_guard guard(DataLock());
        RetireBuilt();
        connected_ = nullptr;
    }
    startFace_.store(-1);
    endFace_.store(-1);
}

void TQTKLineEntBaseCalcEDO::ReplaceLines(TVRMCustomLine2d mid, TVRMCustomLine2d left, TVRMCustomLine2d right)
{
    auto lines = std::make_unique<TLines>(TLines{std::move(mid), std::move(left), std::move(right)});
    {
        std::lock_guard guard(DataLock());
        RetireBuilt();
        lines_ = std::move(lines);
    }
    startFace_.store(-1);
    endFace_.store(-1);
    RebuildSolid();
}

void TQTKLineEntBaseCalcEDO::RebuildSolid()
{
    SetOriginalPolyhedron(BuildOriginalPolyhedron());
    AfterPrepareSolid();
    GetPlanPolygon();
}

int TQTKLineEntBaseCalcEDO::GetStartFaceIndex()
{
    GetOriginalPolyhedron();
    return startFace_.load();
}

int TQTKLineEntBaseCalcEDO::GetEndFaceIndex()
{
    GetOriginalPolyhedron();
    return endFace_.load();
}

std::vector<int> TQTKLineEntBaseCalcEDO::GetEndFaceIndexes()
{
    std::vector<int> indexes;
    for (int index : {GetStartFaceIndex(), GetEndFaceIndex()})
        if (index != -1)
            indexes.push_back(index);
    return indexes;
}

const TVRMPolyhedron3d* TQTKLineEntBaseCalcEDO::GetSolidWithoutPriorElements()
{
    if (const TVRMPolyhedron3d* solid = FindKept(DataLock(), solidWithoutPrior_))
        return solid;
    const Ref<IQTKPolyhedron3dIntf> original = GetOriginalPolyhedronIntf();
    auto solid = original ? original->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>();
    TRecordList related;
    GetRelatedByTypes(GetConnectElementTypes(), &related);
    for (const RecordRef& other : related) {
        if (!IsLineEntCutBy(GetRecord(), other.get(), true))
            continue;
        const Ref<IQTKCalculatorEDO> cutter = GetCalcEDO(other, true);
        const Ref<IQTKPolyhedron3dIntf> cutterSolid = cutter ? cutter->GetOriginalPolyhedronIntf() : nullptr;
        if (cutterSolid)
            TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *cutterSolid->GetPolyhedron(), CVRMBoolSubtract);
    }
    return KeepFirst(DataLock(), solidWithoutPrior_, std::move(solid));
}

// ---------------------------------------------------------------------------
// Neighbours

TQTKElementTypeSet TQTKLineEntBaseCalcEDO::GetSameKindTypes()
{
    const int type = GetElementDrawObj()->GetElementTypeID();
    switch (type) {
        case 0:
        case 1:
        case 69:
            return MakeElementTypeSet({0, 1, 69});
        case 15:
        case 17:
        case 18:
            return MakeElementTypeSet({15, 17, 18});
        default:
            return MakeElementTypeSet({type});
    }
}

TRecordList TQTKLineEntBaseCalcEDO::Nearby(const TQTKElementTypeSet& types)
{
    const auto kept = [&]() -> const TRecordList* {
        for (const TNearby& n : nearby_)
            if (n.types == types)
                return &n.records;
        return nullptr;
    };
    {
        std::lock_guard guard(DataLock());
        if (const TRecordList* records = kept())
            return *records;
    }
    TRecordList found;
    FindNearby(this, types, found);  // asks the box service and other elements: no lock held
    std::lock_guard guard(DataLock());
    if (const TRecordList* records = kept())
        return *records;
    nearby_.push_back(TNearby{types, found});
    return found;
}

TQTKLineEdoInfoArray TQTKLineEntBaseCalcEDO::EndInfos(TEndInfos& slot, bool atStart, bool sameKind)
{
    {
        std::lock_guard guard(DataLock());
        if (slot.computed)
            return slot.infos;
    }
    // The search visits this element's neighbours and theirs, and every
    // element's own search passes the same ones: a line element keeps its
    // candidates.
    const TQTKLineCandidateFunc nearby = [](IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types,
                                            TRecordList& candidates) {
        if (auto* line = FastCast<TQTKLineEntBaseCalcEDO>(edo))
            candidates = line->Nearby(types);
        else
            FindNearby(edo, types, candidates);
    };
    TQTKLineEdoInfoArray infos =
        GetOverlappingLineEdoInfos(this, sameKind ? GetSameKindTypes() : GetConnectElementTypes(), atStart, nearby);
    std::lock_guard guard(DataLock());
    if (!slot.computed) {
        slot.infos = std::move(infos);
        slot.computed = true;
    }
    return slot.infos;
}

TQTKLineEdoInfoArray TQTKLineEntBaseCalcEDO::GetStartLineEdoInfos()
{
    return EndInfos(startInfos_, true, false);
}

TQTKLineEdoInfoArray TQTKLineEntBaseCalcEDO::GetEndLineEdoInfos()
{
    return EndInfos(endInfos_, false, false);
}

TQTKLineEdoInfoArray TQTKLineEntBaseCalcEDO::GetStartSameKindLineEdoInfos()
{
    return EndInfos(startSameKind_, true, true);
}

TQTKLineEdoInfoArray TQTKLineEntBaseCalcEDO::GetEndSameKindLineEdoInfos()
{
    return EndInfos(endSameKind_, false, true);
}

// The arrays and their "computed" marks go together, so the next request
// gathers them again instead of answering from an emptied array.
void TQTKLineEntBaseCalcEDO::ClearCalcCache()
{
    TQTKCalculatorEDO::ClearCalcCache();
    std::lock_guard guard(DataLock());
    for (TEndInfos* slot : {&startInfos_, &endInfos_, &startSameKind_, &endSameKind_})
        *slot = TEndInfos{};
}

void TQTKLineEntBaseCalcEDO::SetConnectedEdoIDInfo(Ref<IQTKConnectedEdoIDInfo> info)
{
    std::lock_guard guard(DataLock());
    connected_ = std::move(info);
}

Ref<IQTKConnectedEdoIDInfo> TQTKLineEntBaseCalcEDO::GetConnectedEdoIDInfo()
{
    std::lock_guard guard(DataLock());
    if (!connected_)
        connected_ = MakeRef<TQTKConnectedEdoIDInfo>();
    return connected_;
}

RecordRef TQTKLineEntBaseCalcEDO::ConnectedRecord(bool atStart)
{
    GetMidLine();  // the lines' calculation reports the connections
    const Ref<IQTKConnectedEdoIDInfo> info = GetConnectedEdoIDInfo();
    const int key = GetElementDrawObj()->GetIndexKey();
    if (!(atStart ? info->IsStartConnected(key) : info->IsEndConnected(key)))
        return nullptr;
    const int id = atStart ? info->GetStartConnectedID(key) : info->GetEndConnectedID(key);
    IRDXTable* table = GetRecord() ? GetRecord()->GetTable() : nullptr;
    QTK_ASSERT(table != nullptr);
    IRDXRecord* record = table->GetRecordByID(id);
    QTK_ASSERT(record != nullptr);
    return RecordRef(record);
}

RecordRef TQTKLineEntBaseCalcEDO::GetStartConnectedRecord()
{
    return ConnectedRecord(true);
}

RecordRef TQTKLineEntBaseCalcEDO::GetEndConnectedRecord()
{
    return ConnectedRecord(false);
}
