// Locks the host hands to the calculation objects.
#pragma once

#include <atomic>
#include <utility>

#include "Host/Runtime/Interface.h"

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

// A counted reference that several threads read and replace. The replaced
// object is released after the lock is left: its destructor may call back
// into whoever replaced it.
template <class T>
class TVRMGuardedRef {
public:
    Ref<T> Get() const
    {
        TVRMLockGuard guard(lock_);
        return value_;
    }
    void Set(Ref<T> value)
    {
        {
            TVRMLockGuard guard(lock_);
            std::swap(value_, value);
        }
    }  // the old value goes with `value` here

private:
    mutable TVRMCmpxchgLock lock_;
    Ref<T> value_;
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
