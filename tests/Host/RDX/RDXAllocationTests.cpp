// A compiled expression evaluates without heap allocations once it has seen
// its texts: counted by replacing the global operator new in this program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "Host/RDX/RDXRecordExpr.h"
#include "RDXTestModel.h"

namespace {
thread_local long tAllocations = 0;
}

void* operator new(std::size_t size)
{
    ++tAllocations;
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

TEST(RDXAllocation, CompiledExpressionAllocatesNothingPerRow)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    TRDXRecordExpression expr(edo,
                              "((Type = 2) and SameText(Material, '混凝土')) or ~ElementID.ElementTypeID in [58] or "
                              "IIF(Thickness > 250, Material, 'x') + 'y' = '素土y'");
    auto pass = [&] {
        int hits = 0;
        for (int i = 0; i < edo->GetRowCount(); ++i)
            hits += expr.Matches(edo->GetRow(i));
        return hits;
    };
    const int first = pass();
    const long before = tAllocations;
    EXPECT_EQ(pass(), first);
    EXPECT_EQ(tAllocations - before, 0);
    EXPECT_EQ(first, 3);  // 105 (kind 58, thick earth), 103 (kind 58), 102 (a concrete beam)
}
