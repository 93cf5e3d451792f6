// A compiled expression evaluates without heap allocations once it has seen
// its texts: counted by replacing the global operator new in this program.
#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "Host/RDX/RDXRecordExpr.h"
#include "RDXTestModel.h"

// The count is process-wide: no other thread runs while this test does.
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
    const long before = gAllocationCount.load();
    EXPECT_EQ(pass(), first);
    EXPECT_EQ(gAllocationCount.load() - before, 0);
    EXPECT_EQ(first, 3);  // 105 (kind 58, thick earth), 103 (kind 58), 102 (a concrete beam)
}
