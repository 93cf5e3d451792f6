// The bill of quantities of a take-off: a table for people, CSV and JSON for
// programs (full precision there).
#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>
#include <ostream>
#include <tuple>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/Runtime/SysUtils.h"
#include "Tools/qtkcalc/QTKTakeoff.h"
#include "Tools/qtkcalc/TextColumns.h"

namespace {

std::string Fixed3(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value == 0.0 ? 0.0 : value);
    return text;
}

std::string ElementHeading(const TQTKTakeoffElement& element)
{
    std::string heading = std::to_string(element.id);
    if (!element.name.empty())
        heading += " " + element.name;
    return heading + " " + GetElementTypeName(element.type);
}

// A total: by kind (or -1 for every kind), code and unit, in first-seen order.
struct TTotals {
    struct TKey {
        int kind;
        std::string code;
        std::string unit;
        bool operator<(const TKey& other) const
        {
            return std::tie(kind, code, unit) < std::tie(other.kind, other.code, other.unit);
        }
    };
    struct TSum {
        std::string description;
        double quantity = 0.0;
        int order = 0;
    };
    std::map<TKey, TSum> sums;

    void Add(int kind, const TQTKTakeoffItem& item)
    {
        auto [it, added] = sums.try_emplace(TKey{kind, item.code, item.unit});
        if (added) {
            it->second.description = item.description;
            it->second.order = static_cast<int>(sums.size());
        }
        it->second.quantity += item.quantity;
    }
    std::vector<std::pair<TKey, TSum>> Ordered() const
    {
        std::vector<std::pair<TKey, TSum>> list(sums.begin(), sums.end());
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
        return list;
    }
};

void WriteTable(const TQTKTakeoffResult& result, bool details, std::ostream& out)
{
    TTotals grand;
    for (const std::string& floorName : result.floorNames) {
        TTotals floorTotals;
        bool any = false;
        for (const TQTKTakeoffElement& element : result.elements) {
            if (element.floorName != floorName)
                continue;
            if (!any)
                out << floorName << '\n';
            any = true;
            out << "  " << ElementHeading(element) << '\n';
            for (const TQTKTakeoffItem& item : element.items) {
                out << "    " << PadRight(item.code, 6) << ' ' << PadRight(item.description, 16) << ' ';
                if (!item.failure.empty()) {
                    out << PadLeft("FAILED", 12) << "      " << item.failure << '\n';
                    continue;
                }
                out << PadLeft(Fixed3(item.quantity), 12) << ' ' << PadRight(item.unit, 3) << "  " << item.expression;
                if (item.unregistered)
                    out << "  (a rule of this item is not registered)";
                out << '\n';
                if (details)
                    for (const TQTKTakeoffChange& change : item.changes)
                        out << "      " << (change.sign < 0 ? "− " : "+ ") << Fixed3(change.amount) << ' ' << item.unit
                            << " element " << change.objectId
                            << (change.objectName.empty() ? "" : " " + change.objectName) << ' '
                            << GetElementTypeName(change.objectType) << ' ' << change.rule << '\n';
                floorTotals.Add(element.type, item);
                grand.Add(-1, item);
            }
        }
        if (!any)
            continue;
        out << "  totals " << floorName << '\n';
        for (const auto& [key, sum] : floorTotals.Ordered())
            out << "    " << PadRight(GetElementTypeName(key.kind), 20) << ' ' << PadRight(key.code, 6) << ' '
                << PadRight(sum.description, 16) << ' ' << PadLeft(Fixed3(sum.quantity), 12) << ' ' << key.unit << '\n';
        out << '\n';
    }
    // The grand total is per code: one code may gather several kinds.
    out << "grand total\n";
    for (const auto& [key, sum] : grand.Ordered())
        out << "    " << PadRight(key.code, 6) << ' ' << PadLeft(Fixed3(sum.quantity), 12) << ' ' << key.unit << '\n';
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void WriteCsv(const TQTKTakeoffResult& result, bool details, std::ostream& out)
{
    out << "floor,element,name,kind,row,code,description,unit,quantity,expression,object,rule\n";
    for (const TQTKTakeoffElement& element : result.elements)
        for (const TQTKTakeoffItem& item : element.items) {
            const std::string prefix = CsvField(element.floorName) + ',' + std::to_string(element.id) + ',' +
                                       CsvField(element.name) + ',' + CsvField(GetElementTypeName(element.type)) + ',';
            const std::string itemPart =
                CsvField(item.code) + ',' + CsvField(item.description) + ',' + CsvField(item.unit) + ',';
            out << prefix << "item," << itemPart
                << (item.failure.empty() ? FloatToStr(item.quantity) + ',' + CsvField(item.expression)
                                         : std::string(",") + CsvField("failed: " + item.failure))
                << ",,\n";
            if (!details)
                continue;
            for (const TQTKTakeoffChange& change : item.changes)
                out << prefix << (change.sign < 0 ? "deduction," : "addition,") << itemPart << FloatToStr(change.amount)
                    << ',' << CsvField(change.description) << ',' << change.objectId << ',' << CsvField(change.rule)
                    << '\n';
        }
}

void WriteJson(const TQTKTakeoffResult& result, bool details, std::ostream& out)
{
    using nlohmann::ordered_json;
    ordered_json root;
    ordered_json elements = ordered_json::array();
    TTotals grand;
    std::map<std::string, TTotals> floors;
    for (const TQTKTakeoffElement& element : result.elements) {
        ordered_json items = ordered_json::array();
        for (const TQTKTakeoffItem& item : element.items) {
            ordered_json entry{
                {"id", item.qtyId}, {"code", item.code}, {"description", item.description}, {"unit", item.unit}};
            if (item.failure.empty()) {
                entry["quantity"] = item.quantity;
                entry["expression"] = item.expression;
                floors[element.floorName].Add(element.type, item);
                grand.Add(-1, item);
            } else {
                entry["failed"] = item.failure;
            }
            if (item.unregistered)
                entry["unregistered"] = true;
            if (details) {
                ordered_json changes = ordered_json::array();
                for (const TQTKTakeoffChange& change : item.changes)
                    changes.push_back({{"kind", change.sign < 0 ? "deduction" : "addition"},
                                       {"object", change.objectId},
                                       {"objectKind", GetElementTypeName(change.objectType)},
                                       {"rule", change.rule},
                                       {"description", change.description},
                                       {"amount", change.amount}});
                entry["changes"] = std::move(changes);
            }
            items.push_back(std::move(entry));
        }
        elements.push_back({{"id", element.id},
                            {"name", element.name},
                            {"kind", GetElementTypeName(element.type)},
                            {"type", element.type},
                            {"floor", element.floorName},
                            {"items", std::move(items)}});
    }
    root["elements"] = std::move(elements);
    const auto totalsJson = [](const TTotals& totals, bool byKind) {
        ordered_json list = ordered_json::array();
        for (const auto& [key, sum] : totals.Ordered()) {
            ordered_json entry;
            if (byKind)
                entry["kind"] = GetElementTypeName(key.kind);
            entry["code"] = key.code;
            if (byKind)
                entry["description"] = sum.description;
            entry["unit"] = key.unit;
            entry["quantity"] = sum.quantity;
            list.push_back(std::move(entry));
        }
        return list;
    };
    ordered_json floorTotals = ordered_json::array();
    for (const std::string& floorName : result.floorNames)
        if (floors.count(floorName))
            floorTotals.push_back({{"floor", floorName}, {"totals", totalsJson(floors[floorName], true)}});
    root["floorTotals"] = std::move(floorTotals);
    root["totals"] = totalsJson(grand, false);
    root["failures"] = result.failures;
    root["unregistered"] = result.unregistered;
    out << root.dump(2) << '\n';
}

}  // namespace

void WriteBill(const TQTKTakeoffResult& result, TQTKBillFormat format, bool details, std::ostream& out)
{
    switch (format) {
        case TQTKBillFormat::Table:
            WriteTable(result, details, out);
            break;
        case TQTKBillFormat::Csv:
            WriteCsv(result, details, out);
            break;
        case TQTKBillFormat::Json:
            WriteJson(result, details, out);
            break;
    }
}
