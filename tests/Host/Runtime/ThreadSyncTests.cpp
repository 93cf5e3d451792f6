#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Host/Runtime/VRMThreadSyncUtils.h"

namespace {

using namespace std::chrono_literals;

// Runs Work on a thread of its own; true when it finished within the limit. A
// thread still blocked (a lock never released) is left behind detached, so the
// test fails instead of hanging.
bool FinishesWithin(std::chrono::milliseconds limit, std::function<void()> work)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([done, work = std::move(work)] {
        work();
        done->set_value();
    }).detach();
    return finished.wait_for(limit) == std::future_status::ready;
}

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
    std::atomic<bool> released{false};
    std::atomic<bool> sawReleased{false};
    std::thread waiter([&] {
        lock.Wait();
        sawReleased = released.load();
    });
    std::this_thread::sleep_for(20ms);
    released = true;
    lock.Leave();
    waiter.join();
    EXPECT_TRUE(sawReleased.load()) << "Wait returned while the lock was held";
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
                    std::this_thread::yield();  // widen the window another holder would hit
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
    EXPECT_TRUE(FinishesWithin(2s, [] { TCalcEdoCreateLock guard(77); }));
}

TEST(CreateLockTest, DifferentIdsDoNotBlockAndSameThreadReenters)
{
    // The same thread again (a parent prepared inside), on a thread of its own
    // so that a lock that does not re-enter fails the test instead of hanging it.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> holding;
    std::future<void> held = holding.get_future();
    std::thread holder([&] {
        SyncBeginCreateCalcEdo(1);
        SyncBeginCreateCalcEdo(1);
        holding.set_value();
        released.wait();
        SyncEndCreateCalcEdo(1);
        SyncEndCreateCalcEdo(1);
    });
    const bool reentered = held.wait_for(2s) == std::future_status::ready;
    EXPECT_TRUE(reentered) << "the holding thread could not enter id 1 twice";
    // The thread that waits for id 1 is joined once the holder lets go: left
    // running, it would take the lock while the process ends.
    std::promise<void> entered;
    std::future<void> waiterEntered = entered.get_future();
    std::thread waiter;
    if (reentered) {
        EXPECT_TRUE(FinishesWithin(2s, [] { TCalcEdoCreateLock guard(2); })) << "id 2 waited for id 1";
        waiter = std::thread([&entered] {
            TCalcEdoCreateLock guard(1);
            entered.set_value();
        });
        EXPECT_EQ(waiterEntered.wait_for(100ms), std::future_status::timeout) << "id 1 was not held";
    }
    release.set_value();
    if (reentered) {
        holder.join();
        waiter.join();
    } else {
        holder.detach();
    }
}

}  // namespace
