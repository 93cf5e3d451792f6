// A cross cast between interfaces that remembers, per thread, where the target
// interface lies in each kind of object it has seen. The interfaces of an
// element object sit at fixed places inside it, so once a dynamic_cast has
// found the place for one object type and source interface, every later cast
// of an object of that type is an addition; the hierarchy walk of dynamic_cast
// (which compares type names along the way) runs once per combination.
// The answer is always that of dynamic_cast<T*>(p).
#pragma once

#include <cstddef>
#include <cstdint>
#include <typeinfo>

namespace QTKFastCastDetail {

struct TEntry {
    const std::type_info* type = nullptr;  // most-derived type of the object
    std::ptrdiff_t source = 0;             // place of the source interface in it
    std::ptrdiff_t target = 0;             // place of the target, or CNone
};

inline constexpr std::ptrdiff_t CNone = PTRDIFF_MIN;
inline constexpr std::size_t CSlots = 64;

}  // namespace QTKFastCastDetail

template <class T, class S>
T* FastCast(S* p)
{
    using namespace QTKFastCastDetail;
    if (!p)
        return nullptr;
    const void* whole = dynamic_cast<const void*>(p);  // reads the vtable only
    const std::type_info* type = &typeid(*p);
    const std::ptrdiff_t source = reinterpret_cast<const char*>(p) - static_cast<const char*>(whole);
    thread_local TEntry cache[CSlots];
    const auto key = reinterpret_cast<std::uintptr_t>(type) ^ static_cast<std::uintptr_t>(source);
    TEntry& entry = cache[(key >> 4) % CSlots];
    if (entry.type != type || entry.source != source) {
        T* found = dynamic_cast<T*>(p);
        entry.type = type;
        entry.source = source;
        entry.target = found ? reinterpret_cast<const char*>(found) - static_cast<const char*>(whole) : CNone;
        return found;
    }
    if (entry.target == CNone)
        return nullptr;
    return reinterpret_cast<T*>(const_cast<char*>(static_cast<const char*>(whole)) + entry.target);
}
