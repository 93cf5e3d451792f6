// Locks the host hands to the calculation objects.
#pragma once

#include <atomic>

// Compare-exchange spin lock. Not re-entrant: a thread that holds it must not
// enter it again.
class TVRMCmpxchgLock {
public:
    void Enter() noexcept;
    void Leave() noexcept;
    bool TryEnter() noexcept;
    // Returns once no thread holds the lock (without taking it).
    void Wait() const noexcept;
    bool IsLocked() const noexcept { return locked_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> locked_{false};
};

// Holds a spin lock for a scope; leaves it also when the scope raises.
class TVRMLockGuard {
public:
    explicit TVRMLockGuard(TVRMCmpxchgLock& lock) noexcept : lock_(lock) { lock_.Enter(); }
    ~TVRMLockGuard() { lock_.Leave(); }
    TVRMLockGuard(const TVRMLockGuard&) = delete;
    TVRMLockGuard& operator=(const TVRMLockGuard&) = delete;

private:
    TVRMCmpxchgLock& lock_;
};

// The per-record creation lock: one lock per record id, entered and left by
// the same thread (re-entrant for that thread). Different ids never block
// each other.
void SyncBeginCreateCalcEdo(int recordId);
void SyncEndCreateCalcEdo(int recordId);

// Scope form of the creation lock: released also when creation fails.
class TCalcEdoCreateLock {
public:
    explicit TCalcEdoCreateLock(int recordId) : id_(recordId) { SyncBeginCreateCalcEdo(id_); }
    ~TCalcEdoCreateLock() { SyncEndCreateCalcEdo(id_); }
    TCalcEdoCreateLock(const TCalcEdoCreateLock&) = delete;
    TCalcEdoCreateLock& operator=(const TCalcEdoCreateLock&) = delete;

private:
    int id_;
};
