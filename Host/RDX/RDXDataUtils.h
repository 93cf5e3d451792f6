// Data helpers of the property-table engine that rules call by name.
#pragma once

#include <string_view>

#include "Host/RDX/RDXIntf.h"

// Expression data type of a field type: 10 integer, 11 float, 12 text,
// 13 Boolean; 0 for a detail field (no expression value).
int RDXDataTypeToPXEDataType(TRDXFieldType type) noexcept;

// The record a foreign-key field of the record refers to; nil when the
// record is nil, the field is null or not a foreign key, or the row is absent.
IRDXRecord* GetMasterRecord(const IRDXRecord* record, std::string_view field);
