#include "Calculator/Common/QTKRelationPolyhedronList.h"

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

std::int64_t QTKPolyhedronMemorySize(const TVRMPolyhedron3d& polyhedron)
{
    std::int64_t size = 104 + 40 * static_cast<std::int64_t>(polyhedron.GetVertexCount());
    for (const TVRMFace3d& face : polyhedron.GetFaces()) {
        size += 164;
        for (const TVRMLoop3d& loop : face.GetLoops())
            size += 112 + 20 * static_cast<std::int64_t>(loop.size());
        // Loop 0 is the outer loop; the others are listed as its inner loops.
        if (face.GetLoopCount() > 1)
            size += 4 * (face.GetLoopCount() - 1);
    }
    return size;
}

namespace {

Ref<IQTKPolyhedron3dIntf> HolderOf(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    return polyhedron ? MakePolyhedronHolder(std::move(polyhedron)) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Items

TQTKLinkListItem::~TQTKLinkListItem() = default;

std::int64_t TQTKLinkListItem::GetMemorySize() const
{
    return holder_ ? QTKPolyhedronMemorySize(*holder_->GetPolyhedron()) : 0;
}

TVRMPolyhedron3d* TQTKLinkListItem::GetPolyhedron() const noexcept
{
    return holder_ ? holder_->GetPolyhedron() : nullptr;
}

void RequireCacheItemOwner(bool present)
{
    QTK_ASSERT(present);
}

Ref<IQTKPolyhedron3dIntf> RequiredCacheItemHolder(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    QTK_ASSERT(polyhedron != nullptr);
    return MakePolyhedronHolder(std::move(polyhedron));
}

TQTKExtendPolyhedronItem::TQTKExtendPolyhedronItem(Ref<IQTKExtendableCalcEdo> owner,
                                                   std::unique_ptr<TVRMPolyhedron3d> polyhedron, double distance,
                                                   std::uint8_t mode, Ref<IInterface> source)
    : TQTKOwnedCacheItem(std::move(owner), HolderOf(std::move(polyhedron))),
      distance_(distance),
      mode_(mode),
      source_(std::move(source))
{
}

void TQTKExtendPolyhedronItem::ReleaseFromOwner() noexcept
{
    if (GetOwner())
        GetOwner()->ReleaseExtendItem(this);
}

// ---------------------------------------------------------------------------
// LRU list

TQTKPolyhedronCacheList::TQTKPolyhedronCacheList(int maximum) : maximum_(maximum) {}

TQTKPolyhedronCacheList::~TQTKPolyhedronCacheList()
{
    Clear();
}

void TQTKPolyhedronCacheList::LinkAsNewest(TQTKLinkListItem* item) noexcept
{
    if (!oldest_) {
        item->prev_ = item->next_ = item;
        oldest_ = item;
    } else {
        TQTKLinkListItem* newest = oldest_->next_;
        item->prev_ = oldest_;
        item->next_ = newest;
        newest->prev_ = item;
        oldest_->next_ = item;
    }
    item->list_ = this;
    ++count_;
}

// Takes the item out of the ring and tells its owner to forget it; the item
// itself is freed by the caller once the lock is left, so that dropping the
// owner's last reference never runs under the list's lock.
void TQTKPolyhedronCacheList::Unlink(TQTKLinkListItem* item, TVictims& victims) noexcept
{
    if (item->next_ == item) {
        oldest_ = nullptr;
    } else {
        if (item == oldest_)
            oldest_ = item->prev_;
        item->prev_->next_ = item->next_;
        item->next_->prev_ = item->prev_;
    }
    item->prev_ = item->next_ = nullptr;
    item->list_ = nullptr;
    --count_;
    item->ReleaseFromOwner();
    victims.emplace_back(item);
}

void TQTKPolyhedronCacheList::MoveToNewest(TQTKLinkListItem* item) noexcept
{
    if (count_ < 2 || oldest_->next_ == item)
        return;
    if (item == oldest_) {
        // The ring already runs from the former oldest to the next oldest.
        oldest_ = oldest_->prev_;
        return;
    }
    item->prev_->next_ = item->next_;
    item->next_->prev_ = item->prev_;
    --count_;
    LinkAsNewest(item);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::Insert(std::unique_ptr<TQTKLinkListItem> item, TQTKCacheSlot& slot)
{
    TVictims victims;
    Ref<IQTKPolyhedron3dIntf> holder = item->GetHolder();
    {
        TVRMLockGuard guard(lock_);
        if (TQTKLinkListItem* previous = slot.item_.load(std::memory_order_acquire))
            Unlink(previous, victims);
        TQTKLinkListItem* added = item.release();
        LinkAsNewest(added);
        slot.item_.store(added, std::memory_order_release);
        while (count_ > 1 && count_ > maximum_)
            Unlink(oldest_, victims);
    }
    return holder;
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::AddRelationItem(IQTKCalculatorEDO* owner,
                                                                   std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                                                   TQTKCacheSlot& slot)
{
    return Insert(std::make_unique<TQTKRelationPolyhedronItem>(Ref(owner), std::move(polyhedron)), slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::AddOriginalItem(IQTKCalculatorEDO* owner,
                                                                   std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                                                   TQTKCacheSlot& slot)
{
    return Insert(std::make_unique<TQTKOriginalPolyhedronItem>(Ref(owner), std::move(polyhedron)), slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::AddHalfBlockItem(IQTKAttachWallFaceEntBaseCalcEDO* owner,
                                                                    std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                                                    TQTKCacheSlot& slot)
{
    return Insert(std::make_unique<TQTKFinishHalfBlockPolyhedronItem>(Ref(owner), std::move(polyhedron)), slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::AddExtendOriginalItem(IQTKAttachWallFaceEntBaseCalcEDO* owner,
                                                                         std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                                                         TQTKCacheSlot& slot)
{
    return Insert(std::make_unique<TQTKFinishExtendOriginalPolyhedronItem>(Ref(owner), std::move(polyhedron)), slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::AddExtendItem(IQTKExtendableCalcEdo* owner,
                                                                 std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                                                 double distance, std::uint8_t mode,
                                                                 Ref<IInterface> source, TQTKCacheSlot& slot)
{
    return Insert(std::make_unique<TQTKExtendPolyhedronItem>(Ref(owner), std::move(polyhedron), distance, mode,
                                                             std::move(source)),
                  slot);
}

Ref<IQTKPolyhedron3dIntf> TQTKPolyhedronCacheList::Touch(const TQTKCacheSlot& slot)
{
    TVRMLockGuard guard(lock_);
    TQTKLinkListItem* item = slot.item_.load(std::memory_order_acquire);
    if (!item)
        return nullptr;
    MoveToNewest(item);
    return item->GetHolder();
}

bool TQTKPolyhedronCacheList::TouchItem(const TQTKLinkListItem* item)
{
    TVRMLockGuard guard(lock_);
    // Membership is checked on the ring itself, so an item freed meanwhile is
    // never dereferenced.
    for (TQTKLinkListItem* p = oldest_; p; p = (p->next_ == oldest_ ? nullptr : p->next_))
        if (p == item) {
            MoveToNewest(p);
            return true;
        }
    return false;
}

void TQTKPolyhedronCacheList::Remove(TQTKCacheSlot& slot)
{
    TVictims victims;
    {
        TVRMLockGuard guard(lock_);
        if (TQTKLinkListItem* item = slot.item_.load(std::memory_order_acquire))
            Unlink(item, victims);
    }
}

void TQTKPolyhedronCacheList::RemoveItem(const TQTKLinkListItem* item)
{
    TVictims victims;
    {
        TVRMLockGuard guard(lock_);
        TQTKLinkListItem* found = nullptr;
        for (TQTKLinkListItem* p = oldest_; p && !found; p = (p->next_ == oldest_ ? nullptr : p->next_))
            if (p == item)
                found = p;
        QTK_ASSERT(found != nullptr);
        Unlink(found, victims);
    }
}

void TQTKPolyhedronCacheList::Clear()
{
    TVictims victims;
    {
        TVRMLockGuard guard(lock_);
        while (oldest_)
            Unlink(oldest_, victims);
    }
}

int TQTKPolyhedronCacheList::GetCount() const
{
    TVRMLockGuard guard(lock_);
    return count_;
}

int TQTKPolyhedronCacheList::GetMaximum() const
{
    TVRMLockGuard guard(lock_);
    return maximum_;
}

void TQTKPolyhedronCacheList::SetMaximum(int maximum)
{
    TVRMLockGuard guard(lock_);
    maximum_ = maximum;
}

std::int64_t TQTKPolyhedronCacheList::GetMemorySize() const
{
    TVRMLockGuard guard(lock_);
    std::int64_t size = 0;
    for (TQTKLinkListItem* p = oldest_; p; p = (p->next_ == oldest_ ? nullptr : p->next_))
        size += p->GetMemorySize();
    return size;
}

std::vector<const TQTKLinkListItem*> TQTKPolyhedronCacheList::GetItemsOldestFirst() const
{
    TVRMLockGuard guard(lock_);
    std::vector<const TQTKLinkListItem*> items;
    if (!oldest_)
        return items;
    // oldest, then from the least recent of the rest (oldest->prev) backwards
    // to the newest (oldest->next).
    items.push_back(oldest_);
    for (TQTKLinkListItem* p = oldest_->prev_; p != oldest_; p = p->prev_)
        items.push_back(p);
    return items;
}

// ---------------------------------------------------------------------------
// Keyed cache

TQTKKeyedPolyhedronCache::TQTKKeyedPolyhedronCache(int maximum) : maximum_(maximum) {}

Ref<IQTKPolyhedron3dIntf> TQTKKeyedPolyhedronCache::Find(std::string_view key) const
{
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : holders_[static_cast<size_t>(it->second)];
}

Ref<IQTKPolyhedron3dIntf> TQTKKeyedPolyhedronCache::Add(std::string_view key,
                                                        std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    QTK_ASSERT(index_.find(key) == index_.end());
    if (maximum_ > 0 && GetCount() >= maximum_)
        Clear();
    Ref<IQTKPolyhedron3dIntf> holder = MakePolyhedronHolder(std::move(polyhedron));
    holders_.push_back(holder);
    index_.emplace(std::string(key), GetCount() - 1);
    return holder;
}

void TQTKKeyedPolyhedronCache::Clear()
{
    holders_.clear();
    index_.clear();
}

// ---------------------------------------------------------------------------
// The library's caches

TQTKPolyhedronCacheList GRelationPolyhedronList(2000);
TQTKPolyhedronCacheList GOriginalPolyhedronList(2000);
TQTKPolyhedronCacheList GExtendPolyhedronList(2000);
TQTKPolyhedronCacheList GFinishHalfBlockPolyhedronList(1000);
TQTKPolyhedronCacheList GFinishExtendOriginalPolyhedronList(1000);
TQTKKeyedPolyhedronCache GHungCeilingPoly(500);

// ---------------------------------------------------------------------------
// Keyed extended solids

Ref<IQTKPolyhedron3dIntf> TQTKExtendSlot::FindLocked(IRDXRecord* source, bool mode, double distance)
{
    if (source_.get() != static_cast<IInterface*>(source) || mode_ != mode || !SameValue(distance_, distance))
        return nullptr;
    return GExtendPolyhedronList.Touch(slot_);
}

Ref<IQTKPolyhedron3dIntf> TQTKExtendSlot::Find(IRDXRecord* source, bool mode, double distance)
{
    std::lock_guard guard(lock_);
    return FindLocked(source, mode, distance);
}

Ref<IQTKPolyhedron3dIntf> TQTKExtendSlot::Keep(IQTKExtendableCalcEdo* owner, std::unique_ptr<TVRMPolyhedron3d> solid,
                                               IRDXRecord* source, bool mode, double distance)
{
    std::lock_guard guard(lock_);
    if (Ref<IQTKPolyhedron3dIntf> kept = FindLocked(source, mode, distance))
        return kept;
    source_ = Ref<IInterface>(source);
    mode_ = mode;
    distance_ = distance;
    return GExtendPolyhedronList.AddExtendItem(owner, std::move(solid), distance, mode ? 1 : 0, source_, slot_);
}

void TQTKExtendSlot::Remove()
{
    GExtendPolyhedronList.Remove(slot_);
}
