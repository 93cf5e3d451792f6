#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Host/Runtime/VRMThreadSyncUtils.h"

namespace {

TEST(CmpxchgLockTest, GuardsACounterAcrossThreads)
{
    TVRMCmpxchgLock lock;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                TVRMLockGuard guard(lock);
                ++counter;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(counter, 8L * 20000);
    EXPECT_FALSE(lock.IsLocked());
}

TEST(CmpxchgLockTest, WaitReturnsOnceReleased)
{
    TVRMCmpxchgLock lock;
    lock.Enter();
    EXPECT_FALSE(lock.TryEnter());
    std::atomic<bool> waited{false};
    std::thread waiter([&] {
        lock.Wait();
        waited = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(waited.load());
    lock.Leave();
    waiter.join();
    EXPECT_TRUE(waited.load());
    EXPECT_FALSE(lock.IsLocked()) << "Wait does not take the lock";
}

TEST(CreateLockTest, SameIdSerialisesAndIsReleasedOnFailure)
{
    std::atomic<int> inside{0};
    std::atomic<int> maxInside{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                try {
                    TCalcEdoCreateLock guard(77);
                    const int now = ++inside;
                    int seen = maxInside.load();
                    while (now > seen && !maxInside.compare_exchange_weak(seen, now)) {
                    }
                    --inside;
                    if (i % 7 == 0)
                        throw std::runtime_error("creation failed");
                } catch (const std::runtime_error&) {
                }
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(maxInside.load(), 1);
    // Released after the failures: another thread takes it at once.
    std::thread other([] { TCalcEdoCreateLock guard(77); });
    other.join();
}

TEST(CreateLockTest, DifferentIdsDoNotBlockAndSameThreadReenters)
{
    SyncBeginCreateCalcEdo(1);
    SyncBeginCreateCalcEdo(1);  // the same thread again (a parent prepared inside)
    std::atomic<bool> done{false};
    std::thread other([&] {
        TCalcEdoCreateLock guard(2);
        done = true;
    });
    other.join();
    EXPECT_TRUE(done.load());
    SyncEndCreateCalcEdo(1);
    SyncEndCreateCalcEdo(1);
}

}  // namespace
