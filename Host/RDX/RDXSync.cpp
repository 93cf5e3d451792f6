#include "Host/RDX/RDXSync.h"

#include <cmath>
#include <limits>

#include "Host/RDX/RDXRecordExpr.h"
#include "Host/RDX/RDXTable.h"

bool FieldExist(const IRDXTable* table, std::string_view field)
{
    return table && table->FindField(field);
}

bool FieldExist(const IRDXRecord* record, std::string_view field)
{
    return record && FieldExist(record->GetTable(), field);
}

namespace {

// The field as a number; false when missing, null or not a number.
bool ReadNumber(const IRDXRecord* record, std::string_view field, double& out)
{
    if (!FieldExist(record, field) || record->IsNull(field))
        return false;
    try {
        out = record->GetAsFloat(field);
    } catch (const ERDXError&) {
        return false;
    }
    return std::isfinite(out);
}

}  // namespace

double FieldValueFloat(const IRDXRecord* record, std::string_view field, double defaultValue)
{
    double v = 0;
    return ReadNumber(record, field, v) ? v : defaultValue;
}

int FieldValueInteger(const IRDXRecord* record, std::string_view field, int defaultValue)
{
    double v = 0;
    if (!ReadNumber(record, field, v) || std::abs(v) > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(std::llround(v));
}

ViewRef SyncCreateRdxStaticView(const IRDXTable* table, std::string_view filter)
{
    std::span<TRDXRecord* const> rows;
    const TRDXTable* base = RDXBaseTable(table, &rows);
    if (!base)
        return nullptr;
    if (filter.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return ViewRef(new TRDXView(base, std::vector<TRDXRecord*>(rows.begin(), rows.end())));
    TRDXRecordExpression expr(base, filter);
    std::vector<TRDXRecord*> kept;
    for (TRDXRecord* row : rows)
        if (expr.Matches(row))
            kept.push_back(row);
    return ViewRef(new TRDXView(base, std::move(kept)));
}

ViewRef SyncCreateRdxRecordList(const IRDXTable* table, std::string_view filter)
{
    return SyncCreateRdxStaticView(table, filter);
}
