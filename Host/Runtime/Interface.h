// Reference-counted interfaces shared between the host and the rule library.
//
// Every object handed across the host/library boundary derives from
// IInterface and carries an intrusive reference count. Ref<T> holds one
// reference; assigning a raw pointer to a Ref takes a new reference, exactly
// as an interface assignment does in the host. RefCast is the cast to a
// family interface (nil when the object does not implement it).
#pragma once

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <type_traits>
#include <utility>

class IInterface {
public:
    virtual void AddRef() const noexcept = 0;
    virtual void Release() const noexcept = 0;

protected:
    virtual ~IInterface() = default;
};

// Base of every reference-counted implementation. Interfaces derive from
// IInterface virtually, so one object implementing several interfaces has a
// single count.
class TInterfacedObject : public virtual IInterface {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

    void AddRef() const noexcept override { refCount_.fetch_add(1, std::memory_order_relaxed); }
    void Release() const noexcept override
    {
        if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int RefCount() const noexcept { return refCount_.load(std::memory_order_relaxed); }

protected:
    ~TInterfacedObject() override = default;

private:
    mutable std::atomic<int> refCount_{0};
};

template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    // Takes a new reference (the pointer may already be held elsewhere).
    Ref(T* p) noexcept : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    Ref(const Ref& other) noexcept : Ref(other.p_) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) noexcept : Ref(static_cast<T*>(other.get()))
    {
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept : p_(other.Detach())
    {
    }
    ~Ref()
    {
        if (p_)
            p_->Release();
    }

    Ref& operator=(Ref other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }

    // Wraps a pointer whose reference the caller already owns (for example
    // the result of the exported C entry).
    static Ref Adopt(T* p) noexcept
    {
        Ref r;
        r.p_ = p;
        return r;
    }
    // Gives up the held reference without releasing it.
    T* Detach() noexcept { return std::exchange(p_, nullptr); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// The host's error for an object used as an interface it does not implement.
class EIntfCastError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Cast to a family interface; nil when the object does not implement it.
template <class T, class U>
Ref<T> RefCast(const Ref<U>& from) noexcept
{
    return Ref<T>(dynamic_cast<T*>(from.get()));
}

template <class T, class U>
T* Supports(U* from) noexcept
{
    return dynamic_cast<T*>(from);
}
