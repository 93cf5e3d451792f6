#include "Host/Runtime/VRMThreadSyncUtils.h"

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {
inline void CpuRelax(int& spins) noexcept
{
    if (++spins < 64) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    } else {
        spins = 0;
        std::this_thread::yield();
    }
}
}  // namespace

void TVRMCmpxchgLock::Enter() noexcept
{
    int spins = 0;
    for (;;) {
        bool expected = false;
        if (locked_.compare_exchange_weak(expected, true, std::memory_order_acquire, std::memory_order_relaxed))
            return;
        while (locked_.load(std::memory_order_relaxed))
            CpuRelax(spins);
    }
}

void TVRMCmpxchgLock::Leave() noexcept
{
    locked_.store(false, std::memory_order_release);
}

bool TVRMCmpxchgLock::TryEnter() noexcept
{
    bool expected = false;
    return locked_.compare_exchange_strong(expected, true, std::memory_order_acquire, std::memory_order_relaxed);
}

void TVRMCmpxchgLock::Wait() const noexcept
{
    int spins = 0;
    while (locked_.load(std::memory_order_acquire))
        CpuRelax(spins);
}

namespace {

struct TIdLock {
    std::recursive_mutex mutex;
    int users = 0;  // threads holding or waiting for it
};

class TIdLockTable {
public:
    void Begin(int id)
    {
        TIdLock* lock;
        {
            std::lock_guard<std::mutex> guard(tableMutex_);
            auto& slot = locks_[id];
            if (!slot)
                slot = std::make_unique<TIdLock>();
            ++slot->users;
            lock = slot.get();
        }
        lock->mutex.lock();
    }

    void End(int id)
    {
        std::lock_guard<std::mutex> guard(tableMutex_);
        auto it = locks_.find(id);
        if (it == locks_.end())
            return;  // unbalanced end: nothing held
        it->second->mutex.unlock();
        if (--it->second->users == 0)
            locks_.erase(it);
    }

private:
    std::mutex tableMutex_;
    std::unordered_map<int, std::unique_ptr<TIdLock>> locks_;
};

TIdLockTable& CreateLocks()
{
    static TIdLockTable table;
    return table;
}

}  // namespace

void SyncBeginCreateCalcEdo(int recordId)
{
    CreateLocks().Begin(recordId);
}
void SyncEndCreateCalcEdo(int recordId)
{
    CreateLocks().End(recordId);
}
