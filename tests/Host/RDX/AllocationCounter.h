// Counts heap allocations by replacing the global operator new. Include it
// in exactly one source file of a program (the test program of this folder
// and the property-table benchmark do).
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> gAllocationCount{0};

void* operator new(std::size_t size)
{
    gAllocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// GCC cannot see that the replaced operator new allocates with malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
