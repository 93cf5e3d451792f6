// Quantity records for FillDeductDetail tests: one row per quantity id, with its unit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Host/RDX/RDXTable.h"

class TQtyTable {
public:
    TQtyTable()
        : table_(MakeRef<TRDXTable>(
              "Qty", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}, {"Unit", TRDXFieldType::Text, ""}}))
    {
    }
    IRDXRecord* Qty(int id, const std::string& unit = "m3")
    {
        if (IRDXRecord* found = table_->GetRecordByID(id))
            return found;
        return table_->AddRow({std::int64_t{id}, unit});
    }

private:
    Ref<TRDXTable> table_;
};
