#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> Cube(double size = 1000.0)
{
    return TVRMPolyhedron3d::CreateBox({{0, 0, 0}, {size, size, size}});
}

// An element object that keeps extended solids: it remembers its item through
// a slot and counts how often the cache made it forget one.
class TFakeOwner final : public TInterfacedObject, public IQTKExtendableCalcEdo {
public:
    Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord*, bool, double) override { return nullptr; }
    void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) override
    {
        slot.Forget(item);
        released.fetch_add(1);
    }
    TQTKCacheSlot slot;
    std::atomic<int> released{0};
};

struct TCacheTest : ::testing::Test {
    Ref<IQTKPolyhedron3dIntf> Add(TQTKPolyhedronCacheList& list, TFakeOwner& owner, double size = 1000.0)
    {
        return list.AddExtendItem(&owner, Cube(size), 0.0, 0, nullptr, owner.slot);
    }
    static const TQTKLinkListItem* ItemOf(const TQTKPolyhedronCacheList& list, int index)
    {
        return list.GetItemsOldestFirst().at(static_cast<size_t>(index));
    }
    // The solids of the list from the least to the most recently used.
    static std::vector<IQTKPolyhedron3dIntf*> Order(const TQTKPolyhedronCacheList& list)
    {
        std::vector<IQTKPolyhedron3dIntf*> order;
        for (const TQTKLinkListItem* item : list.GetItemsOldestFirst())
            order.push_back(item->GetHolder().get());
        return order;
    }
    using TOrder = std::vector<IQTKPolyhedron3dIntf*>;
    Ref<TFakeOwner> a = MakeRef<TFakeOwner>(), b = MakeRef<TFakeOwner>(), c = MakeRef<TFakeOwner>();
};

TEST_F(TCacheTest, EvictsTheLeastRecentlyUsedAndClearsItsOwnersLink)
{
    TQTKPolyhedronCacheList list(2);
    Add(list, *a);
    Ref<IQTKPolyhedron3dIntf> hb = Add(list, *b);
    Ref<IQTKPolyhedron3dIntf> hc = Add(list, *c);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(a->released.load(), 1);
    EXPECT_FALSE(a->slot.IsLinked());
    EXPECT_TRUE(b->slot.IsLinked());
    EXPECT_TRUE(c->slot.IsLinked());
    EXPECT_EQ(Order(list), (TOrder{hb.get(), hc.get()}));
}

TEST_F(TCacheTest, AddToAListOfOneKeepsTheNewItemIntact)
{
    TQTKPolyhedronCacheList list(1);
    Add(list, *a);
    Ref<IQTKPolyhedron3dIntf> holder = Add(list, *b, 2000.0);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_FALSE(a->slot.IsLinked());
    EXPECT_DOUBLE_EQ(holder->GetPolyhedron()->GetVolume(), 8e9);
    EXPECT_EQ(list.Touch(b->slot), holder);
}

TEST_F(TCacheTest, TouchMovesOnlyAnOlderItem)
{
    TQTKPolyhedronCacheList list(5);
    Ref<IQTKPolyhedron3dIntf> ha = Add(list, *a);
    Ref<IQTKPolyhedron3dIntf> hb = Add(list, *b);
    EXPECT_EQ(list.Touch(b->slot), hb);  // already the most recent: nothing changes
    EXPECT_EQ(Order(list), (TOrder{ha.get(), hb.get()}));
    list.Touch(a->slot);  // the oldest becomes the most recent
    EXPECT_EQ(Order(list), (TOrder{hb.get(), ha.get()}));

    Ref<IQTKPolyhedron3dIntf> hc = Add(list, *c);
    EXPECT_TRUE(list.TouchItem(ItemOf(list, 1)));  // a middle item moves to the front
    EXPECT_EQ(Order(list), (TOrder{hb.get(), hc.get(), ha.get()}));
}

TEST_F(TCacheTest, RemoveOfTheOnlyItemEmptiesTheList)
{
    TQTKPolyhedronCacheList list(3);
    Add(list, *a);
    list.Remove(a->slot);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.GetItemsOldestFirst().empty());
    EXPECT_FALSE(a->slot.IsLinked());
    list.Remove(a->slot);  // an empty slot: nothing
    EXPECT_EQ(a->released.load(), 1);
}

TEST_F(TCacheTest, AnEvictedItemIsNeverTouchedAgain)
{
    TQTKPolyhedronCacheList list(1);
    Ref<IQTKPolyhedron3dIntf> kept = Add(list, *a);
    const TQTKLinkListItem* evicted = ItemOf(list, 0);
    Add(list, *b);
    EXPECT_EQ(list.Touch(a->slot), nullptr);
    EXPECT_FALSE(list.TouchItem(evicted));
    EXPECT_THROW(list.RemoveItem(evicted), EQTKAssertionFailed);
    // A reader that took the holder before the eviction still has the solid.
    EXPECT_DOUBLE_EQ(kept->GetPolyhedron()->GetVolume(), 1e9);
}

TEST_F(TCacheTest, ANewItemForASlotReplacesTheOldOne)
{
    TQTKPolyhedronCacheList list(5);
    Add(list, *a);
    Ref<IQTKPolyhedron3dIntf> second = Add(list, *a, 2000.0);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.Touch(a->slot), second);
}

TEST_F(TCacheTest, ItemsKeepTheirOwnerAliveUntilFreed)
{
    auto list = std::make_unique<TQTKPolyhedronCacheList>(5);
    Add(*list, *a);
    EXPECT_EQ(a->RefCount(), 2);
    list.reset();
    EXPECT_EQ(a->RefCount(), 1);
    EXPECT_EQ(a->released.load(), 1);
}

TEST(PolyhedronCacheItemTest, CreationChecksOwnerAndSolid)
{
    EXPECT_THROW(TQTKRelationPolyhedronItem(nullptr, Cube()), EQTKAssertionFailed);
    EXPECT_THROW(TQTKOriginalPolyhedronItem(nullptr, Cube()), EQTKAssertionFailed);
    EXPECT_THROW(TQTKFinishHalfBlockPolyhedronItem(nullptr, Cube()), EQTKAssertionFailed);
    EXPECT_THROW(TQTKFinishExtendOriginalPolyhedronItem(nullptr, Cube()), EQTKAssertionFailed);
    TQTKExtendPolyhedronItem extend(nullptr, nullptr, 50.0, 1, nullptr);
    EXPECT_EQ(extend.GetPolyhedron(), nullptr);
    EXPECT_EQ(extend.GetMemorySize(), 0);
}

TEST(PolyhedronCacheItemTest, MemoryEstimateOfACube)
{
    EXPECT_EQ(QTKPolyhedronMemorySize(*Cube()), 2560);
    TQTKPolyhedronCacheList list(5);
    TFakeOwner owner;
    owner.AddRef();
    list.AddExtendItem(&owner, Cube(), 0.0, 0, nullptr, owner.slot);
    EXPECT_EQ(list.GetMemorySize(), 2560);
    list.Clear();
}

TEST_F(TCacheTest, ConcurrentAddAndTouchStayWithinTheMaximum)
{
    TQTKPolyhedronCacheList list(3);
    std::vector<Ref<TFakeOwner>> owners;
    for (int i = 0; i < 16; ++i)
        owners.push_back(MakeRef<TFakeOwner>());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 300; ++round) {
                TFakeOwner& owner = *owners[static_cast<size_t>((t * 7 + round) % 16)];
                Ref<IQTKPolyhedron3dIntf> holder = list.Touch(owner.slot);
                if (!holder)
                    holder = list.AddExtendItem(&owner, Cube(), 0.0, 0, nullptr, owner.slot);
                ASSERT_DOUBLE_EQ(holder->GetPolyhedron()->GetVolume(), 1e9);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_LE(list.GetCount(), 3);
    list.Clear();
    for (const auto& owner : owners)
        EXPECT_FALSE(owner->slot.IsLinked());
}

TEST(KeyedPolyhedronCacheTest, AFullCacheIsEmptiedBeforeTheNextKey)
{
    TQTKKeyedPolyhedronCache cache(3);
    cache.Lock();
    for (const char* key : {"a", "b", "c"})
        cache.Add(key, Cube());
    EXPECT_EQ(cache.GetCount(), 3);
    Ref<IQTKPolyhedron3dIntf> keptByReader = cache.Find("a");
    cache.Add("d", Cube(2000.0));
    cache.Unlock();
    EXPECT_EQ(cache.GetCount(), 1);
    for (const char* key : {"a", "b", "c"})
        EXPECT_EQ(cache.Find(key), nullptr) << key;
    EXPECT_DOUBLE_EQ(cache.Find("d")->GetPolyhedron()->GetVolume(), 8e9);
    EXPECT_DOUBLE_EQ(keptByReader->GetPolyhedron()->GetVolume(), 1e9);
}

TEST(KeyedPolyhedronCacheTest, ADuplicateKeyIsAnAssertionAndNoLimitKeepsAll)
{
    TQTKKeyedPolyhedronCache cache(0);
    for (int i = 0; i < 10; ++i)
        cache.Add(std::to_string(i * 7), Cube());
    EXPECT_EQ(cache.GetCount(), 10);
    EXPECT_THROW(cache.Add("21", Cube()), EQTKAssertionFailed);
}

}  // namespace
