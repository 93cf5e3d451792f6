#include "Host/RDX/RDXDataUtils.h"

#include "Host/RDX/PXEIntf.h"

int RDXDataTypeToPXEDataType(TRDXFieldType type) noexcept
{
    switch (type) {
        case TRDXFieldType::Integer:
            return pdtInteger;
        case TRDXFieldType::Float:
            return pdtFloat;
        case TRDXFieldType::Text:
            return pdtString;
        case TRDXFieldType::Boolean:
            return pdtBoolean;
        default:
            return pdtNull;
    }
}

IRDXRecord* GetMasterRecord(const IRDXRecord* record, std::string_view field)
{
    return record ? record->GetMasterRecord(field) : nullptr;
}
