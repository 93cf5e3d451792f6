#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <set>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/NameList.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double COpenBound = 2147483647.0;
// Two foundation scaffold reaches of 500 mm.
constexpr double CFDReachSearch = 1000.0;

// Element kinds that never take part in relations (rooms are related only to
// excavated earth).
const TQTKElementTypeSet CNeverRelated =
    MakeElementTypeSet({2, 16, 22, 23, 49, 50, 57, 74, 75, 76, 77, 78, 79, 250, 255});
constexpr int CRoomType = 32;
constexpr int CExcavatedEarthType = 40;

int ElementTypeOf(IRDXRecord* record)
{
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

bool IsVirtualWall(IQTKElementDrawObj* drawObj)
{
    return drawObj->GetElementTypeID() == 0 && EdoPropValueInteger(drawObj->GetPropValues(), "Type") == 255;
}

bool IsRibbonType(int typeId)
{
    return typeId == 8 || typeId == 9;
}

// The box of a whole ribbon: from its root segment along the chain of
// same-type first children.
TVRMBox3d RibbonBox(IQTKElementDrawObj* drawObj)
{
    const int typeId = drawObj->GetElementTypeID();
    IQTKElementDrawObj* segment = drawObj;
    while (segment->GetParentDrawObj() && segment->GetParentDrawObj()->GetElementTypeID() == typeId)
        segment = segment->GetParentDrawObj();
    TVRMBox3d box = segment->GetBox();
    for (;;) {
        IQTKElementDrawObj* next = nullptr;
        for (int i = 0; i < segment->GetChildCount() && !next; ++i)
            if (segment->GetChild(i)->GetElementTypeID() == typeId)
                next = segment->GetChild(i);
        if (!next)
            break;
        box.Extend(next->GetBox());
        segment = next;
    }
    return box;
}

// The box an element looks for its related elements in: its own box, except
// for ribbons (the whole ribbon), tie columns (widened by their indent),
// floor faces (raised by their up-turns), floor areas (the storey's first
// metre everywhere), trench units (their parent's box) and rafts and isolated
// foundations (widened by two 500 mm scaffold reaches, so that foundations
// whose reaches meet are offered to their relation test).
TVRMBox3d RelatedSearchBox(IQTKElementDrawObj* drawObj, IRDXDatabase* database)
{
    const int ownType = drawObj->GetElementTypeID();
    TVRMBox3d box = drawObj->GetBox();
    if (IsRibbonType(ownType)) {
        box = RibbonBox(drawObj);
    } else if (ownType == 26) {
        const double indent = EdoPropValueFloat(drawObj->GetPropValues(), "IndentingWidth");
        box.min.x -= indent;
        box.min.y -= indent;
        box.max.x += indent;
        box.max.y += indent;
    } else if (ownType == 33) {
        double upTurn = 0.0;
        if (auto* face = dynamic_cast<IQTKFaceShape*>(drawObj->GetShape()))
            for (int i = 0; i < face->GetEdgeCount(); ++i)
                if (auto* info = dynamic_cast<IWaterProofEdgeInfo*>(face->GetEdgeInfo(i)))
                    upTurn = std::max(upTurn, info->GetValue());
        box.max.z += upTurn;
    } else if (ownType == 58) {
        const double bottom = EdoPropValueFloat(drawObj->GetPropValues(), "BottomElev");
        IRDXTable* floors = database->GetTable("Floor");
        const bool hasFloor = floors && floors->GetRecordByID(drawObj->GetFloorID());
        box = TVRMBox3d({-COpenBound, -COpenBound, bottom},
                        {COpenBound, COpenBound, hasFloor ? bottom + 1000.0 : bottom});
    } else if (ownType == 84) {
        if (IQTKElementDrawObj* parent = GetRecordDrawObj(drawObj->GetParentRecord()))
            box = parent->GetBox();
    } else if (ownType == 48 || ownType == 52) {
        box.min.x -= CFDReachSearch;
        box.min.y -= CFDReachSearch;
        box.max.x += CFDReachSearch;
        box.max.y += CFDReachSearch;
    }
    return box;
}

bool HasWideSearchBox(int typeId)
{
    return IsRibbonType(typeId) || typeId == 26 || typeId == 33 || typeId == 48 || typeId == 52 || typeId == 58 ||
           typeId == 84;
}

// The kinds of element `finder` takes into its related list (before the
// host's relation test): no placeholder kinds, rooms only for excavated
// earth, virtual walls only for columns, tie columns and aprons.
bool Relates(IQTKElementDrawObj* finder, IQTKElementDrawObj* other)
{
    const int ownType = finder->GetElementTypeID();
    const int otherType = other->GetElementTypeID();
    if (otherType >= 0 && otherType < 256 && CNeverRelated.test(static_cast<size_t>(otherType)))
        return false;
    if (otherType == CRoomType && ownType != CExcavatedEarthType)
        return false;
    if (IsVirtualWall(other) && ownType != 25 && ownType != 26 && ownType != 61)
        return false;
    return true;
}

// Kinds that are never related look for no relations either, and a virtual
// wall is never calculated on its own.
bool FindsRelated(IQTKElementDrawObj* drawObj)
{
    const int type = drawObj->GetElementTypeID();
    return !(type >= 0 && type < 256 && CNeverRelated.test(static_cast<size_t>(type))) && !IsVirtualWall(drawObj);
}

// The elements of a model whose search box is not their own box, with their
// search boxes; found once per model (element table and box service) and
// shared by every object that looks for the elements that find it.
struct TWideSearchers {
    TableRef table;
    Ref<IQTKBoxService> service;
    std::vector<std::pair<IRDXRecord*, TVRMBox3d>> items;
    std::set<IRDXRecord*> byRecord;
};

// The searchers of the model in use; FreeCalcEDOs lets them go with the
// element objects, so that no table or box service of a model outlives it.
struct TWideSearchersCache {
    std::mutex lock;
    std::shared_ptr<const TWideSearchers> cached;
};

TWideSearchersCache& WideSearchersCache()
{
    static TWideSearchersCache cache;
    return cache;
}

std::shared_ptr<const TWideSearchers> WideSearchers(IRDXTable* table, IRDXDatabase* database, IQTKBoxService* service)
{
    TWideSearchersCache& cache = WideSearchersCache();
    std::lock_guard guard(cache.lock);
    std::shared_ptr<const TWideSearchers>& cached = cache.cached;
    // The cache holds the table and the service, so a later model cannot
    // reuse their addresses while it is kept.
    if (cached && cached->table.get() == table && cached->service.get() == service)
        return cached;
    auto found = std::make_shared<TWideSearchers>();
    found->table = TableRef(table);
    found->service = Ref<IQTKBoxService>(service);
    for (int i = 0; i < table->GetRowCount(); ++i) {
        IRDXRecord* record = table->GetRow(i);
        auto* drawObj = record ? dynamic_cast<IQTKElementDrawObj*>(record->GetObject()) : nullptr;
        if (drawObj && HasWideSearchBox(drawObj->GetElementTypeID())) {
            found->items.emplace_back(record, RelatedSearchBox(drawObj, database));
            found->byRecord.insert(record);
        }
    }
    cached = found;
    return cached;
}

}  // namespace

void ReleaseWideSearchers()
{
    std::shared_ptr<const TWideSearchers> released;
    {
        TWideSearchersCache& cache = WideSearchersCache();
        std::lock_guard guard(cache.lock);
        released.swap(cache.cached);
    }
    // Freed here, outside the lock (a search running on another thread keeps its own copy).
}

TQTKCalculatorEDO::TQTKCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : drawObj_(drawObj), prepareLock_(std::make_unique<TVRMCmpxchgLock>())
{
    QTK_ASSERT(drawObj_ != nullptr);
    SetMode(mode);
}

TQTKCalculatorEDO::~TQTKCalculatorEDO() = default;

void TQTKCalculatorEDO::SetMode(std::uint8_t mode)
{
    // A virtual wall is never calculated on its own.
    mode_.store(IsVirtualWall(drawObj_) ? std::uint8_t{2} : mode, std::memory_order_release);
}

void TQTKCalculatorEDO::SetOptionBit(std::uint8_t bit, bool value)
{
    if (value)
        options_.fetch_or(bit);
    else
        options_.fetch_and(static_cast<std::uint8_t>(~bit));
}

std::string TQTKCalculatorEDO::GetMaterial()
{
    std::lock_guard guard(dataLock_);
    if (!materialRead_) {
        const IPropValues* values = drawObj_->GetPropValues();
        material_ = values && values->HasProp("Material") ? values->GetPropString("Material") : std::string();
        materialRead_ = true;
    }
    return material_;
}

int TQTKCalculatorEDO::GetType()
{
    std::lock_guard guard(dataLock_);
    if (!typeRead_) {
        const IPropValues* values = drawObj_->GetPropValues();
        if (!values || !values->HasProp("Type"))
            type_ = -1;
        else if (values->IsPropNull("Type"))
            type_ = 0;
        else
            type_ = values->GetInteger("Type");
        typeRead_ = true;
    }
    return type_;
}

void TQTKCalculatorEDO::Prepare(IRDXRecord*)
{
    std::lock_guard guard(dataLock_);
    materialRead_ = false;
    typeRead_ = false;
}

// ---------------------------------------------------------------------------
// Related elements

bool TQTKCalculatorEDO::TryAddRelated(IRDXRecord* record)
{
    if (!PassesRelatedTest(record))
        return false;
    AddRelated(record);
    return true;
}

bool TQTKCalculatorEDO::PassesRelatedTest(IRDXRecord* record)
{
    // Elements the host links itself (parent and child, owner and unit) are
    // related without a solid test.
    return drawObj_->AcceptsRelated(record) || IsIntersectWith(record);
}

bool TQTKCalculatorEDO::IsHostRelated(IRDXRecord* record)
{
    return drawObj_->IsRelated(record, 1);
}

void TQTKCalculatorEDO::AddRelated(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    const int id = record->GetID();
    const int typeId = ElementTypeOf(record);
    std::lock_guard guard(dataLock_);
    auto pos =
        std::lower_bound(related_.begin(), related_.end(), id, [](const TRelated& r, int key) { return r.id < key; });
    for (auto it = pos; it != related_.end() && it->id == id; ++it)
        if (it->record.get() == record)
            return;
    related_.insert(pos, TRelated{RecordRef(record), id, typeId});
}

void TQTKCalculatorEDO::EnsureRelatedList()
{
    if (relatedBuilt_.load(std::memory_order_acquire))
        return;
    std::lock_guard guard(relatedLock_);
    // A request from the building thread itself sees the list as far as it goes.
    if (relatedBuilt_.load(std::memory_order_relaxed) || relatedBuilding_)
        return;
    relatedBuilding_ = true;
    try {
        BuildRelatedList();
    } catch (...) {
        relatedBuilding_ = false;
        throw;
    }
    relatedBuilding_ = false;
    relatedBuilt_.store(true, std::memory_order_release);
}

void TQTKCalculatorEDO::BuildRelatedList()
{
    for (IRDXRecord* record : RelatedCandidates(nullptr)) {
        GetOrCreateCalcEDO(GetRecordDrawObj(record), false);
        TryAddRelated(record);
    }
}

std::vector<IRDXRecord*> TQTKCalculatorEDO::RelatedCandidates(const TQTKElementTypeSet* typeIds)
{
    const auto wanted = [typeIds](IRDXRecord* record) {
        if (!typeIds)
            return true;
        const int typeId = ElementTypeOf(record);
        return typeId >= 0 && typeId < 256 && typeIds->test(static_cast<size_t>(typeId));
    };
    Ref<IRDXTableSource> business = GetBusiness();
    IRDXDatabase* database = business ? business->GetDatabase() : nullptr;
    IRDXTable* table = database ? database->GetTable("ElementDrawObj") : nullptr;
    QTK_ASSERT(table != nullptr);
    IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    if (!service)
        return {};
    IRDXRecord* ownRecord = drawObj_->GetRecord();

    // The related list is a function of the model alone: it holds the
    // elements this one finds around itself and, for an object in mode 2,
    // the elements that find this one around themselves (relations are made
    // from both sides; a host that refuses the other keeps it out either
    // way). Both are gathered here, so the list does not depend on which
    // objects were built before it, and it never changes once handed out.
    std::vector<IRDXRecord*> candidates;
    const TVRMBox3d searchBox = RelatedSearchBox(drawObj_, database);
    const std::vector<int> inSearchBox = service->Query(searchBox, 1);
    for (int id : inSearchBox) {
        IRDXRecord* record = table->GetRecordByID(id);
        if (!record || record == ownRecord || !wanted(record))
            continue;
        IQTKElementDrawObj* other = GetRecordDrawObj(record);
        if (other && Relates(drawObj_, other) && IsHostRelated(record))
            candidates.push_back(record);
    }
    if (GetMode() == 2) {
        const TVRMBox3d ownBox = drawObj_->GetBox();
        const auto wide = WideSearchers(table, database, service);
        std::vector<IRDXRecord*> finders;
        // An element that searches its own box has that box's answer already.
        const bool ownSearchBox = searchBox.min == ownBox.min && searchBox.max == ownBox.max;
        for (int id : ownSearchBox ? inSearchBox : service->Query(ownBox, 1))
            if (IRDXRecord* record = table->GetRecordByID(id);
                record && !wide->byRecord.count(record) && wanted(record))
                finders.push_back(record);
        for (const auto& [record, box] : wide->items)
            if (wanted(record) && IsBox3dIntersectant(box, ownBox, 1))
                finders.push_back(record);
        for (IRDXRecord* record : finders) {
            IQTKElementDrawObj* other = record != ownRecord ? GetRecordDrawObj(record) : nullptr;
            if (other && FindsRelated(other) && Relates(other, drawObj_) && IsHostRelated(record) &&
                GetCalcEDO(record, false)->IsHostRelated(ownRecord))
                candidates.push_back(record);
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](IRDXRecord* a, IRDXRecord* b) { return a->GetID() < b->GetID(); });
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

RecordRef TQTKCalculatorEDO::GetRelated(int index)
{
    QTK_ASSERT(relatedBuilt_.load(std::memory_order_acquire) || relatedBuilding_);
    std::lock_guard guard(dataLock_);
    QTK_ASSERT(index >= 0 && index < static_cast<int>(related_.size()));
    return related_[static_cast<size_t>(index)].record;
}

int TQTKCalculatorEDO::GetRelatedCount()
{
    EnsureRelatedList();
    std::lock_guard guard(dataLock_);
    return static_cast<int>(related_.size());
}

int TQTKCalculatorEDO::IndexOfRelated(IRDXRecord* record)
{
    EnsureRelatedList();
    std::lock_guard guard(dataLock_);
    for (size_t i = 0; i < related_.size(); ++i)
        if (related_[i].record.get() == record)
            return static_cast<int>(i);
    return -1;
}

bool TQTKCalculatorEDO::CollectRelated(const TQTKElementTypeSet* typeIds, int typeId, TRecordList* list)
{
    EnsureRelatedList();
    QTK_ASSERT(list != nullptr);
    list->clear();
    std::lock_guard guard(dataLock_);
    for (const TRelated& r : related_) {
        const bool inSet = typeIds ? r.typeId >= 0 && r.typeId < 256 && typeIds->test(static_cast<size_t>(r.typeId))
                                   : r.typeId == typeId;
        if (inSet)
            list->push_back(r.record);
    }
    return !list->empty();
}

bool TQTKCalculatorEDO::GetRelatedByType(int elementTypeId, TRecordList* list)
{
    return CollectRelated(nullptr, elementTypeId, list);
}

bool TQTKCalculatorEDO::GetRelatedByTypes(const TQTKElementTypeSet& typeIds, TRecordList* list)
{
    return CollectRelated(&typeIds, -1, list);
}

bool TQTKCalculatorEDO::FindRelatedOfTypes(const TQTKElementTypeSet& typeIds, TRecordList* list,
                                           const std::function<bool(IRDXRecord*)>& keep)
{
    // A built list (or this object's own build in progress) answers; else
    // the same search and tests run over the elements of those types only,
    // which leaves the list unbuilt.
    QTK_ASSERT(list != nullptr);
    if (relatedBuilt_.load(std::memory_order_acquire) || relatedBuilding_) {
        CollectRelated(&typeIds, -1, list);
        if (keep)
            list->erase(std::remove_if(list->begin(), list->end(),
                                       [&keep](const RecordRef& record) { return !keep(record.get()); }),
                        list->end());
        return !list->empty();
    }
    list->clear();
    for (IRDXRecord* record : RelatedCandidates(&typeIds)) {
        if (keep && !keep(record))
            continue;
        GetOrCreateCalcEDO(GetRecordDrawObj(record), false);
        if (PassesRelatedTest(record))
            list->push_back(RecordRef(record));
    }
    return !list->empty();
}

bool TQTKCalculatorEDO::GetRelatedByTypeOrNil(int elementTypeId, TRecordList* list)
{
    if (elementTypeId != -1)
        return GetRelatedByType(elementTypeId, list);
    QTK_ASSERT(list != nullptr);
    list->push_back(nullptr);
    return true;
}

// ---------------------------------------------------------------------------
// Intersection tests

bool TQTKCalculatorEDO::FindIntersectCache(IRDXRecord* record, bool& intersects)
{
    std::lock_guard guard(dataLock_);
    if (!intersectCache_)
        return false;
    auto it = intersectCache_->find(record->GetID());
    if (it == intersectCache_->end())
        return false;
    intersects = it->second == 1;
    return true;
}

void TQTKCalculatorEDO::AddIntersectCache(IRDXRecord* record, bool intersects)
{
    std::lock_guard guard(dataLock_);
    if (!intersectCache_)
        intersectCache_ = std::make_unique<std::unordered_map<int, std::uint8_t>>();
    intersectCache_->emplace(record->GetID(), intersects ? 1 : 0);
}

bool TQTKCalculatorEDO::QuickIntersect(IRDXRecord* record, bool& intersects)
{
    IQTKElementDrawObj* otherDrawObj = GetRecordDrawObj(record);
    auto* own = dynamic_cast<IQTKLineShape*>(drawObj_->GetShape());
    auto* other = otherDrawObj ? dynamic_cast<IQTKLineShape*>(otherDrawObj->GetShape()) : nullptr;
    if (!own || !other)
        return false;

    std::vector<TVRMPoint2d> crossing;
    const int code = TVRMIntersectFunc2d::Intersect(own->GetLine(), other->GetLine(), crossing, CLengthTol);
    std::vector<TVRMPoint2d> planPoints;
    if ((code == 1 || code == 2) && !crossing.empty())
        planPoints.assign(crossing.begin(), crossing.begin() + std::min<size_t>(crossing.size(), code));
    else if (code == 3 && !crossing.empty())
        planPoints.push_back(crossing.size() > 1
                                 ? TVRMPoint2d{(crossing[0].x + crossing[1].x) / 2, (crossing[0].y + crossing[1].y) / 2}
                                 : crossing[0]);
    if (planPoints.empty())
        return false;

    std::vector<TVRMPoint3d> points;
    for (const TVRMPoint2d& p : planPoints) {
        const double low = std::max(own->GetBottomElevAt(p), other->GetBottomElevAt(p));
        const double high = std::min(own->GetTopElevAt(p), other->GetTopElevAt(p));
        if (std::abs(high - low) <= CLengthTol) {
            points.emplace_back(p.x, p.y, (low + high) / 2);
        } else if (high > low) {
            points.emplace_back(p.x, p.y, (low + high) / 2);
            points.emplace_back(p.x, p.y, low);
            points.emplace_back(p.x, p.y, high);
        }
    }
    if (points.empty())
        return false;

    Ref<IQTKPolyhedron3dIntf> otherSolid = GetCalcEDO(record, false)->GetRelationPolyhedronIntf();
    if (!otherSolid)
        return false;
    for (const TVRMPoint3d& p : points)
        if (IsPointInRelationSolid(p, CLengthTol) && otherSolid->GetPolyhedron()->VertexPosition(p, CLengthTol) < 2) {
            intersects = true;
            return true;
        }
    return false;
}

bool TQTKCalculatorEDO::IsPointInRelationSolid(const TVRMPoint3d& p, double tol)
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetRelationPolyhedronIntf();
    return solid && solid->GetPolyhedron()->VertexPosition(p, tol) < 2;
}

bool TQTKCalculatorEDO::IsIntersectWith(IRDXRecord* record)
{
    Ref<IQTKCalculatorEDO> other = GetCalcEDO(record, false);
    IRDXRecord* ownRecord = drawObj_->GetRecord();
    bool intersects = false;
    if (other->FindIntersectCache(ownRecord, intersects) || FindIntersectCache(record, intersects))
        return intersects;

    bool quick = false;
    if (QuickIntersect(record, quick)) {
        intersects = quick;  // settled without a solid test
    } else {
        Ref<IQTKPolyhedron3dIntf> ownSolid = GetRelationPolyhedronIntf();
        Ref<IQTKPolyhedron3dIntf> otherSolid = other->GetRelationPolyhedronIntf();
        intersects = ownSolid && otherSolid && IsIntersectant(*ownSolid->GetPolyhedron(), *otherSolid->GetPolyhedron());
    }
    AddIntersectCache(record, intersects);
    return intersects;
}

// ---------------------------------------------------------------------------
// Solids

std::unique_ptr<TVRMPolyhedron3d> TQTKCalculatorEDO::BuildOriginalPolyhedron()
{
    return drawObj_->BuildPolyhedron(true, nullptr, 0.0, 0);
}

Ref<IQTKPolyhedron3dIntf> TQTKCalculatorEDO::FindOriginalPolyhedron()
{
    if (IsOriginalPolyhedronOwned()) {
        std::lock_guard guard(dataLock_);
        return originalHolder_;
    }
    return GOriginalPolyhedronList.Touch(originalItem_);
}

bool TQTKCalculatorEDO::HasOriginalPolyhedron()
{
    if (IsOriginalPolyhedronOwned()) {
        std::lock_guard guard(dataLock_);
        return originalHolder_ != nullptr;
    }
    return originalItem_.IsLinked();
}

Ref<IQTKPolyhedron3dIntf> TQTKCalculatorEDO::GetOriginalPolyhedronIntf()
{
    if (Ref<IQTKPolyhedron3dIntf> found = FindOriginalPolyhedron())
        return found;
    // Built outside the locks: a solid builder may ask other element objects.
    std::unique_ptr<TVRMPolyhedron3d> built = BuildOriginalPolyhedron();
    if (!built)
        built = std::make_unique<TVRMPolyhedron3d>();
    if (!IsOriginalPolyhedronOwned())
        return GOriginalPolyhedronList.AddOriginalItem(this, std::move(built), originalItem_);
    std::lock_guard guard(dataLock_);
    if (!originalHolder_)
        originalHolder_ = MakePolyhedronHolder(std::move(built));
    return originalHolder_;
}

TVRMPolyhedron3d* TQTKCalculatorEDO::GetOriginalPolyhedron()
{
    Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
    if (!IsOriginalPolyhedronOwned()) {
        // The cache may free its item at any time; the object keeps the solid
        // it handed out alive until it hands out the next one.
        std::lock_guard guard(dataLock_);
        pinnedOriginal_ = holder;
    }
    return holder->GetPolyhedron();
}

void TQTKCalculatorEDO::SetOriginalPolyhedron(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    if (IsOriginalPolyhedronOwned()) {
        Ref<IQTKPolyhedron3dIntf> holder = polyhedron ? MakePolyhedronHolder(std::move(polyhedron)) : nullptr;
        std::lock_guard guard(dataLock_);
        originalHolder_ = std::move(holder);
        return;
    }
    if (polyhedron)
        GOriginalPolyhedronList.AddOriginalItem(this, std::move(polyhedron), originalItem_);
    else
        GOriginalPolyhedronList.Remove(originalItem_);
}

void TQTKCalculatorEDO::ReplaceOriginalPolyhedronKeepingOld(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    Ref<IQTKPolyhedron3dIntf> old = FindOriginalPolyhedron();
    SetOriginalPolyhedron(std::move(polyhedron));
    std::lock_guard guard(dataLock_);
    for (Ref<IQTKPolyhedron3dIntf>* kept : {&old, &pinnedOriginal_})
        if (*kept)
            replacedOriginals_.push_back(std::move(*kept));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKCalculatorEDO::BuildRelationPolyhedron()
{
    std::unique_ptr<TVRMPolyhedron3d> solid = GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
    if (drawObj_->HasSubSolids())
        for (const auto& sub : drawObj_->GetSubSolids(true))
            if (sub)
                TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *sub, 1);
    return solid;
}

Ref<IQTKPolyhedron3dIntf> TQTKCalculatorEDO::GetRelationPolyhedronIntf()
{
    if (IsRelationSameAsOriginal())
        return GetOriginalPolyhedronIntf();
    if (Ref<IQTKPolyhedron3dIntf> holder = GRelationPolyhedronList.Touch(relationItem_))
        return holder;
    std::unique_ptr<TVRMPolyhedron3d> built = BuildRelationPolyhedron();
    if (!built)
        built = std::make_unique<TVRMPolyhedron3d>();
    return GRelationPolyhedronList.AddRelationItem(this, std::move(built), relationItem_);
}

TVRMPolyhedron3d* TQTKCalculatorEDO::GetMergedSolid()
{
    std::lock_guard guard(dataLock_);
    if (!mergedSolid_) {
        std::vector<std::unique_ptr<TVRMPolyhedron3d>> subs;
        if (drawObj_->HasSubSolids())
            subs = drawObj_->GetSubSolids(true);
        std::erase(subs, nullptr);
        if (subs.empty()) {
            mergedSolid_ = std::make_unique<TVRMPolyhedron3d>();
        } else {
            mergedSolid_ = std::move(subs.front());
            for (size_t i = 1; i < subs.size(); ++i)
                TVRMNewPolyBooleanOperator::BooleanOperate(*mergedSolid_, *subs[i], 1);
        }
    }
    return mergedSolid_.get();
}

void TQTKCalculatorEDO::ReleaseRelationPolyhedronItem(const TQTKRelationPolyhedronItem* item)
{
    relationItem_.Forget(item);
}

void TQTKCalculatorEDO::ReleaseOriginalPolyhedronItem(const TQTKOriginalPolyhedronItem* item)
{
    originalItem_.Forget(item);
}

// ---------------------------------------------------------------------------
// Quantities, material level, locks, session data

void TQTKCalculatorEDO::AddOriginalSolidDetail(IRDXRecord* qtyRecord)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container)
        return;
    IRDXRecord* record = drawObj_->GetRecord();
    TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                          GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                          nullptr, UnitChange(qtyRecord, GetOriginalQty()));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}

bool TQTKCalculatorEDO::IsDeductDetailEmpty()
{
    const TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    return !container || container->GetCount() == 0;
}

void TQTKCalculatorEDO::ClearQtyItems()
{
    std::lock_guard guard(dataLock_);
    qtyItems_.clear();
}

void TQTKCalculatorEDO::AddQtyItem(std::string_view name, double value)
{
    std::lock_guard guard(dataLock_);
    qtyItems_.push_back(TQTKEDOQtyItem{std::string(name), value});
}

double TQTKCalculatorEDO::GetQtyItem(std::string_view name)
{
    std::lock_guard guard(dataLock_);
    for (const TQTKEDOQtyItem& item : qtyItems_)
        if (SameText(item.Name, name))
            return item.Value;
    return 0.0;
}

int TQTKCalculatorEDO::GetMaterialLevel()
{
    return GetMaterialRank(GMaterialHelper(), drawObj_);
}

void TQTKCalculatorEDO::SetPrepareLock(std::unique_ptr<TVRMCmpxchgLock> lock)
{
    QTK_ASSERT(lock != nullptr);
    prepareLock_ = std::move(lock);
}

std::vector<Ref<IQTKLineEdoInfo>> TQTKCalculatorEDO::GetLineEdoInfos()
{
    QTK_ASSERT_MSG(false, "the element object gives no joined line elements");
    return {};
}

Ref<IRDXTableSource> TQTKCalculatorEDO::GetBusiness()
{
    return GBusiness();
}

Ref<IRDXTableSource> TQTKCalculatorEDO::GetCalculatorSetting()
{
    return GCalculatorSetting();
}

std::shared_ptr<const TParamPolyInfo> TQTKCalculatorEDO::ReadParamPolyInfo() const
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (!drawObj->IsParametric())
        return nullptr;
    return drawObj->GetPolyInfo();
}

// ---------------------------------------------------------------------------
// Over-height stores

// The check runs again under the lock, so of two rules that both found the
// store empty only the first builds; the second sees what the first stored.
TQTKOverhighCalcSet TQTKCalculatorEDO::GetOrBuildOverhighSet(
    const std::function<TQTKOverhighCalcSet()>& read, const std::function<void(const TQTKOverhighCalcSet&)>& write,
    const TQTKOverhighCalcBuild& build)
{
    std::lock_guard guard(overhighLock_);
    TQTKOverhighCalcSet set = read();
    if (build) {
        TQTKOverhighCalcSet built = set;
        build(built);
        write(built);
        set = std::move(built);
    }
    return set;
}
