// Reads from several threads at once: filtered views, master records and
// field reads over one shared model (run under the sanitizer build).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Host/RDX/RDXSync.h"
#include "RDXTestModel.h"

TEST(RDXThreads, FilteredViewsFromEightThreads)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    IRDXTable* rules = RuleTable("InternalQtyCalcRule");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                ViewRef sites = SyncCreateRdxRecordList(edo, "~ElementID.ElementTypeID in [60]");
                ViewRef rows = SyncCreateRdxStaticView(rules, (t + i) % 2 ? "InternalQtyID = 3" : "InternalQtyID = 5");
                const int expected = (t + i) % 2 ? 2 : 1;
                if (sites->GetRowCount() != 2 || sites->GetRow(0)->GetID() != 108 || rows->GetRowCount() != expected)
                    ++wrong;
                IRDXRecord* floor = sites->GetRow(1)->GetMasterRecord("FloorID");
                if (!floor || FieldValueFloat(floor, "Height", 0) != 3.0 || FieldValueInteger(floor, "Nope", -1) != -1)
                    ++wrong;
                RecordRef held = rows->GetRow(0);  // counted references from many threads
                if (held->GetMasterRecord("InternalQtyID") == nullptr)
                    ++wrong;
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
}
