// Thread-safe reads of the property-table engine. The calculation-common
// layer re-exports them under its own unit; any number of threads may call
// them at once on a loaded model.
#pragma once

#include <string_view>

#include "Host/RDX/RDXIntf.h"

// Whether the table (the record's table) defines the field. Nil: False.
bool FieldExist(const IRDXTable* table, std::string_view field);
bool FieldExist(const IRDXRecord* record, std::string_view field);

// The field's value, or the default when the record is nil or the field is
// missing, null or not a number.
double FieldValueFloat(const IRDXRecord* record, std::string_view field, double defaultValue);
int FieldValueInteger(const IRDXRecord* record, std::string_view field, int defaultValue);

// The rows of the table that satisfy the filter, in table order (an empty
// filter keeps every row). The filter is an expression of the engine's
// language over the table's fields and foreign-key paths (~ElementID.ElementTypeID).
// Raises EPXESyntaxError for a filter that does not compile and ERDXError
// for a name the table does not define. A nil table gives nil.
ViewRef SyncCreateRdxRecordList(const IRDXTable* table, std::string_view filter);
ViewRef SyncCreateRdxStaticView(const IRDXTable* table, std::string_view filter);
