// Bounded caches of element solids.
//
// Element objects keep most of their solids (original, relation, extended and
// the finish solids) in least-recently-used lists held by the library as
// globals; an object remembers only its item through a TQTKCacheSlot. When a
// list holds more items than its maximum, the least recently used item is
// unlinked, its owner forgets it, and the solid is freed once no reader holds
// its holder any more; the owner builds the solid again on its next request.
// A string-keyed cache keeps solids by a text key and is emptied wholesale
// when full.
//
// Threads: each list has its own spin lock. A slot is read and written only
// under its list's lock, so a reader that gets a holder from Touch or Add
// keeps a valid solid even if the item is evicted right afterwards.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/Runtime/CorvaHashUtils.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

// Estimated memory of a polyhedron in bytes: 104 + 40 per vertex, per face
// 164, per loop 112 + 20 per edge, and 4 per inner loop of a face.
std::int64_t QTKPolyhedronMemorySize(const TVRMPolyhedron3d& polyhedron);

class TQTKPolyhedronCacheList;

// Base of all cache items: a link of the list's ring and the holder of the
// cached solid.
class TQTKLinkListItem {
public:
    TQTKLinkListItem(const TQTKLinkListItem&) = delete;
    TQTKLinkListItem& operator=(const TQTKLinkListItem&) = delete;
    virtual ~TQTKLinkListItem();

    // Estimated memory of the item's solid in bytes (0 without a solid).
    virtual std::int64_t GetMemorySize() const;
    // The holder of the solid (a counted reference for the reader to keep).
    const Ref<IQTKPolyhedron3dIntf>& GetHolder() const noexcept { return holder_; }
    TVRMPolyhedron3d* GetPolyhedron() const noexcept;
    TQTKLinkListItem* GetPrevious() const noexcept { return prev_; }
    TQTKLinkListItem* GetNext() const noexcept { return next_; }

protected:
    explicit TQTKLinkListItem(Ref<IQTKPolyhedron3dIntf> holder) : holder_(std::move(holder)) {}
    // Tells the owner to forget this item. Runs under the list's lock: it must
    // only clear the owner's link and never call back into a list.
    virtual void ReleaseFromOwner() noexcept = 0;

private:
    friend class TQTKPolyhedronCacheList;
    TQTKLinkListItem* prev_ = nullptr;
    TQTKLinkListItem* next_ = nullptr;
    const TQTKPolyhedronCacheList* list_ = nullptr;  // the list that holds the item
    Ref<IQTKPolyhedron3dIntf> holder_;
};

// An item that keeps its owning element object alive while it lives.
template <class TOwner>
class TQTKOwnedCacheItem : public TQTKLinkListItem {
public:
    TOwner* GetOwner() const noexcept { return owner_.get(); }

protected:
    TQTKOwnedCacheItem(Ref<TOwner> owner, Ref<IQTKPolyhedron3dIntf> holder)
        : TQTKLinkListItem(std::move(holder)), owner_(std::move(owner))
    {
    }

private:
    Ref<TOwner> owner_;
};

// Relation, original and finish items: an owner and a solid are required;
// freeing the item calls the owner's release operation for it.
void RequireCacheItemOwner(bool present);
Ref<IQTKPolyhedron3dIntf> RequiredCacheItemHolder(std::unique_ptr<TVRMPolyhedron3d> polyhedron);

template <class TOwner, class TSelf, void (TOwner::*Release)(const TSelf*)>
class TQTKReleasingCacheItem : public TQTKOwnedCacheItem<TOwner> {
public:
    TQTKReleasingCacheItem(Ref<TOwner> owner, std::unique_ptr<TVRMPolyhedron3d> polyhedron)
        : TQTKOwnedCacheItem<TOwner>((RequireCacheItemOwner(owner != nullptr), std::move(owner)),
                                     RequiredCacheItemHolder(std::move(polyhedron)))
    {
    }

private:
    void ReleaseFromOwner() noexcept override { (this->GetOwner()->*Release)(static_cast<const TSelf*>(this)); }
};

class TQTKRelationPolyhedronItem final
    : public TQTKReleasingCacheItem<IQTKCalculatorEDO, TQTKRelationPolyhedronItem,
                                    &IQTKCalculatorEDO::ReleaseRelationPolyhedronItem> {
public:
    using TQTKReleasingCacheItem::TQTKReleasingCacheItem;
};

class TQTKOriginalPolyhedronItem final
    : public TQTKReleasingCacheItem<IQTKCalculatorEDO, TQTKOriginalPolyhedronItem,
                                    &IQTKCalculatorEDO::ReleaseOriginalPolyhedronItem> {
public:
    using TQTKReleasingCacheItem::TQTKReleasingCacheItem;
};

class TQTKFinishHalfBlockPolyhedronItem final
    : public TQTKReleasingCacheItem<IQTKAttachWallFaceEntBaseCalcEDO, TQTKFinishHalfBlockPolyhedronItem,
                                    &IQTKAttachWallFaceEntBaseCalcEDO::ReleaseHalfBlockPolyhedronItem> {
public:
    using TQTKReleasingCacheItem::TQTKReleasingCacheItem;
};

class TQTKFinishExtendOriginalPolyhedronItem final
    : public TQTKReleasingCacheItem<IQTKAttachWallFaceEntBaseCalcEDO, TQTKFinishExtendOriginalPolyhedronItem,
                                    &IQTKAttachWallFaceEntBaseCalcEDO::ReleaseExtendOriginalPolyhedronItem> {
public:
    using TQTKReleasingCacheItem::TQTKReleasingCacheItem;
};

// An extended solid of a column, section line element, lintel or pier, with
// what it was extended for. Owner and polyhedron may be nil.
class TQTKExtendPolyhedronItem final : public TQTKOwnedCacheItem<IQTKExtendableCalcEdo> {
public:
    TQTKExtendPolyhedronItem(Ref<IQTKExtendableCalcEdo> owner, std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                             double distance, std::uint8_t mode, Ref<IInterface> source);
    double GetDistance() const noexcept { return distance_; }
    std::uint8_t GetMode() const noexcept { return mode_; }
    IInterface* GetSource() const noexcept { return source_.get(); }

private:
    void ReleaseFromOwner() noexcept override;
    double distance_;
    std::uint8_t mode_;
    Ref<IInterface> source_;
};

// An element object's link to its item in one cache list. Written and
// dereferenced only under that list's lock; Forget is what an owner's release
// operation calls.
class TQTKCacheSlot {
public:
    // Clears the link when it is Item (a link to a newer item stays).
    void Forget(const TQTKLinkListItem* item) noexcept
    {
        auto* expected = const_cast<TQTKLinkListItem*>(item);
        item_.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    }
    // Whether an item is linked right now (the answer may be stale at once).
    bool IsLinked() const noexcept { return item_.load(std::memory_order_acquire) != nullptr; }
    bool Holds(const TQTKLinkListItem* item) const noexcept { return item_.load(std::memory_order_acquire) == item; }

private:
    friend class TQTKPolyhedronCacheList;
    std::atomic<TQTKLinkListItem*> item_{nullptr};
};

class TQTKPolyhedronCacheList {
public:
    explicit TQTKPolyhedronCacheList(int maximum);
    // Frees every item (each calling its owner back).
    ~TQTKPolyhedronCacheList();
    TQTKPolyhedronCacheList(const TQTKPolyhedronCacheList&) = delete;
    TQTKPolyhedronCacheList& operator=(const TQTKPolyhedronCacheList&) = delete;

    // Add: a new item for the owner's solid becomes the most recently used,
    // is linked into Slot (a previous item of the slot is removed first), and
    // the least recently used items are evicted while the list holds more than
    // its maximum (the new item always stays). Returns the new item's holder.
    Ref<IQTKPolyhedron3dIntf> AddRelationItem(IQTKCalculatorEDO* owner, std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                              TQTKCacheSlot& slot);
    Ref<IQTKPolyhedron3dIntf> AddOriginalItem(IQTKCalculatorEDO* owner, std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                              TQTKCacheSlot& slot);
    Ref<IQTKPolyhedron3dIntf> AddHalfBlockItem(IQTKAttachWallFaceEntBaseCalcEDO* owner,
                                               std::unique_ptr<TVRMPolyhedron3d> polyhedron, TQTKCacheSlot& slot);
    Ref<IQTKPolyhedron3dIntf> AddExtendOriginalItem(IQTKAttachWallFaceEntBaseCalcEDO* owner,
                                                    std::unique_ptr<TVRMPolyhedron3d> polyhedron, TQTKCacheSlot& slot);
    Ref<IQTKPolyhedron3dIntf> AddExtendItem(IQTKExtendableCalcEdo* owner, std::unique_ptr<TVRMPolyhedron3d> polyhedron,
                                            double distance, std::uint8_t mode, Ref<IInterface> source,
                                            TQTKCacheSlot& slot);

    // Makes the slot's item the most recently used and returns its holder;
    // nil when the slot is empty (never linked, or evicted meanwhile).
    Ref<IQTKPolyhedron3dIntf> Touch(const TQTKCacheSlot& slot);
    // Makes Item the most recently used; False when the list does not hold it.
    bool TouchItem(const TQTKLinkListItem* item);
    // Removes and frees the slot's item; nothing when the slot is empty.
    void Remove(TQTKCacheSlot& slot);
    // Removes and frees Item; an item the list does not hold is an assertion failure.
    void RemoveItem(const TQTKLinkListItem* item);
    // Frees every item.
    void Clear();

    int GetCount() const;
    int GetMaximum() const;
    void SetMaximum(int maximum);
    // Estimated memory of all items in bytes.
    std::int64_t GetMemorySize() const;
    // Items from the least to the most recently used (for reports and tests;
    // the pointers are only good until the list changes).
    std::vector<const TQTKLinkListItem*> GetItemsOldestFirst() const;

private:
    using TVictims = std::vector<std::unique_ptr<TQTKLinkListItem>>;
    Ref<IQTKPolyhedron3dIntf> Insert(std::unique_ptr<TQTKLinkListItem> item, TQTKCacheSlot& slot);
    void LinkAsNewest(TQTKLinkListItem* item) noexcept;
    void Unlink(TQTKLinkListItem* item, TVictims& victims) noexcept;
    void MoveToNewest(TQTKLinkListItem* item) noexcept;

    mutable TVRMCmpxchgLock lock_;
    TQTKLinkListItem* oldest_ = nullptr;  // oldest_->next_ is the most recently used item
    int count_ = 0;
    int maximum_;
};

// Solids kept by a text key; emptied wholesale when full. Find and Add do not
// lock: a caller brackets a find-then-add with Lock and Unlock.
class TQTKKeyedPolyhedronCache {
public:
    // A maximum of 0 or less means no limit.
    explicit TQTKKeyedPolyhedronCache(int maximum);
    void Lock() { lock_.Enter(); }
    void Unlock() { lock_.Leave(); }
    TVRMCmpxchgLock& GetLock() noexcept { return lock_; }

    // The holder kept under Key, or nil.
    Ref<IQTKPolyhedron3dIntf> Find(std::string_view key) const;
    // Keeps Polyhedron under Key and returns its holder; a key already kept is
    // an assertion failure. When the cache is full it is emptied first.
    Ref<IQTKPolyhedron3dIntf> Add(std::string_view key, std::unique_ptr<TVRMPolyhedron3d> polyhedron);
    int GetCount() const noexcept { return static_cast<int>(holders_.size()); }
    int GetMaximum() const noexcept { return maximum_; }
    void SetMaximum(int maximum) noexcept { maximum_ = maximum; }
    void Clear();

private:
    int maximum_;
    TStrKeyHash<int> index_;
    std::vector<Ref<IQTKPolyhedron3dIntf>> holders_;
    TVRMCmpxchgLock lock_;
};

// An extendable object's item in GExtendPolyhedronList with the key it was
// built for (source, mode, distance). Find gives the kept solid only for the
// same key (nil otherwise, or when the item was evicted); Keep links a new
// item under a new key, unless a solid of that key was kept meanwhile (that
// one is returned). The solid is built between the two, with no lock held.
class TQTKExtendSlot {
public:
    Ref<IQTKPolyhedron3dIntf> Find(IRDXRecord* source, bool mode, double distance);
    Ref<IQTKPolyhedron3dIntf> Keep(IQTKExtendableCalcEdo* owner, std::unique_ptr<TVRMPolyhedron3d> solid,
                                   IRDXRecord* source, bool mode, double distance);
    // What the owner's ReleaseExtendItem calls.
    void Forget(const TQTKExtendPolyhedronItem* item) noexcept { slot_.Forget(item); }
    // Removes and frees the item (the owner's destructor calls it).
    void Remove();

private:
    Ref<IQTKPolyhedron3dIntf> FindLocked(IRDXRecord* source, bool mode, double distance);

    std::mutex lock_;  // guards the key
    TQTKCacheSlot slot_;
    Ref<IInterface> source_;
    bool mode_ = false;
    double distance_ = -1.0;
};

// The library's solid caches. The host sets their maxima (SetMaximum) before
// a calculation.
extern TQTKPolyhedronCacheList GRelationPolyhedronList;
extern TQTKPolyhedronCacheList GOriginalPolyhedronList;
extern TQTKPolyhedronCacheList GExtendPolyhedronList;
extern TQTKPolyhedronCacheList GFinishHalfBlockPolyhedronList;
extern TQTKPolyhedronCacheList GFinishExtendOriginalPolyhedronList;
extern TQTKKeyedPolyhedronCache GHungCeilingPoly;
