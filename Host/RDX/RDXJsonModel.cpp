#include "Host/RDX/RDXJsonModel.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

constexpr int kMaxFileDepth = 8;

// Values in a table file nest at most this deep.
constexpr int kMaxNesting = 64;

std::string Brief(const json& v)
{
    // A list or an object is named by its size, not written out (it may be huge).
    if (v.is_structured())
        return std::string(v.is_array() ? "a list of " : "an object of ") + std::to_string(v.size()) +
               (v.is_array() ? " items" : " members");
    std::string text = v.dump();
    if (text.size() > 40)
        text = text.substr(0, 37) + "...";
    return text;
}

json ReadJsonFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ERDXError("cannot open the table file \"" + file.string() + "\"");
    try {
        return json::parse(in, [&](int depth, json::parse_event_t, json&) {
            if (depth > kMaxNesting)
                throw ERDXError("the table file \"" + file.string() + "\" nests values deeper than " +
                                std::to_string(kMaxNesting) + " levels");
            return true;
        });
    } catch (const json::exception& e) {
        throw ERDXError("the table file \"" + file.string() + "\" is not valid JSON: " + e.what());
    }
}

const json& Member(const json& object, const char* key, const std::string& where)
{
    auto it = object.find(key);
    if (it == object.end())
        throw ERDXError(where + ": the member \"" + key + "\" is missing");
    return *it;
}

std::string TextMember(const json& object, const char* key, const std::string& where)
{
    const json& v = Member(object, key, where);
    if (!v.is_string() || v.get_ref<const std::string&>().empty())
        throw ERDXError(where + ": \"" + key + "\" must be a non-empty text");
    return v.get<std::string>();
}

TRDXFieldType ParseFieldType(const json& v, const std::string& table, const std::string& field)
{
    if (v.is_string())
        for (auto type : {TRDXFieldType::Integer, TRDXFieldType::Float, TRDXFieldType::Text, TRDXFieldType::Boolean,
                          TRDXFieldType::Detail})
            if (v.get_ref<const std::string&>() == RDXFieldTypeName(type))
                return type;
    throw ERDXModelError(table, 0, field,
                         "unknown field type " + Brief(v) + " (integer, float, text, boolean or detail)");
}

struct TTableColumns {
    std::vector<TRDXFieldDef> fields;
    std::vector<const json*> detailFields;  // the "fields" of each detail field, by column (nil otherwise)
};

TTableColumns ParseFields(const json& fields, const std::string& table)
{
    if (!fields.is_array())
        throw ERDXModelError(table, 0, "", "\"fields\" must be a list");
    TTableColumns columns;
    for (const json& f : fields) {
        if (!f.is_object())
            throw ERDXModelError(table, 0, "", "a field definition must be an object, not " + Brief(f));
        TRDXFieldDef def;
        def.name = TextMember(f, "name", "table \"" + table + "\"");
        def.type =
            ParseFieldType(Member(f, "type", "table \"" + table + "\", field \"" + def.name + "\""), table, def.name);
        if (auto m = f.find("master"); m != f.end()) {
            if (!m->is_string() || def.type != TRDXFieldType::Integer)
                throw ERDXModelError(table, 0, def.name, "\"master\" must name a table, on an integer field");
            def.master = m->get<std::string>();
        }
        const json* detail = nullptr;
        if (def.type == TRDXFieldType::Detail)
            detail = &Member(f, "fields", "table \"" + table + "\", detail field \"" + def.name + "\"");
        columns.fields.push_back(std::move(def));
        columns.detailFields.push_back(detail);
    }
    return columns;
}

TRDXValue ParseValue(const json& v, const TRDXFieldDef& def, const std::string& table, int row)
{
    auto wrong = [&]() -> TRDXValue {
        throw ERDXModelError(table, row, def.name,
                             "expected " + std::string(RDXFieldTypeName(def.type)) + ", got " + Brief(v));
    };
    if (v.is_null())
        return std::monostate{};
    switch (def.type) {
        case TRDXFieldType::Integer:
            if (v.is_number_integer()) {
                if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX))
                    return wrong();
                return v.get<std::int64_t>();
            }
            if (v.is_number_float()) {
                const double d = v.get<double>();
                if (std::trunc(d) == d && std::abs(d) < 9.0e15)
                    return static_cast<std::int64_t>(d);
            }
            return wrong();
        case TRDXFieldType::Float:
            return v.is_number() ? TRDXValue(v.get<double>()) : wrong();
        case TRDXFieldType::Text:
            return v.is_string() ? TRDXValue(v.get<std::string>()) : wrong();
        case TRDXFieldType::Boolean:
            return v.is_boolean() ? TRDXValue(v.get<bool>()) : wrong();
        case TRDXFieldType::Detail:
            break;
    }
    return wrong();
}

Ref<TRDXTable> BuildTable(const std::string& name, const std::string& label, const json& fields, const json& rows,
                          std::string_view key)
{
    TTableColumns columns = ParseFields(fields, label);
    Ref<TRDXTable> table;
    try {
        table = Ref<TRDXTable>(new TRDXTable(name, columns.fields, key));
    } catch (const ERDXModelError& e) {
        throw ERDXModelError(label, e.Row(), e.Field(), e.Reason());
    }
    if (!rows.is_array())
        throw ERDXModelError(label, 0, "", "\"rows\" must be a list");
    int rowNo = 0;
    for (const json& r : rows) {
        ++rowNo;
        if (!r.is_object())
            throw ERDXModelError(label, rowNo, "", "a row must be an object of field values, not " + Brief(r));
        std::vector<TRDXValue> values(columns.fields.size());
        for (const auto& [fieldName, value] : r.items()) {
            const int column = table->FieldIndex(fieldName);
            if (column < 0)
                throw ERDXModelError(label, rowNo, fieldName, "the table has no such field");
            const auto& def = columns.fields[static_cast<size_t>(column)];
            if (def.type != TRDXFieldType::Detail)
                values[static_cast<size_t>(column)] = ParseValue(value, def, label, rowNo);
        }
        TRDXRecord* record = nullptr;
        try {
            record = table->AddRow(std::move(values));
        } catch (const ERDXModelError& e) {
            throw ERDXModelError(label, rowNo, e.Field(), e.Reason());
        }
        for (size_t c = 0; c < columns.fields.size(); ++c) {
            if (!columns.detailFields[c])
                continue;
            auto it = r.find(columns.fields[c].name);
            if (it == r.end() || it->is_null())
                continue;
            const std::string detailLabel = RDXDetailLabel(label, rowNo, columns.fields[c].name);
            record->SetDetail(static_cast<int>(c),
                              BuildTable(columns.fields[c].name, detailLabel, *columns.detailFields[c], *it, "ID"));
        }
    }
    return table;
}

void AddTables(TRDXDatabase& db, const json& tables, const std::filesystem::path& baseDir, int depth);

// One entry of a "tables" list: a table, or {"file": ...} naming a file that
// holds one table or a "tables" list.
void AddTableEntry(TRDXDatabase& db, const json& entry, const std::filesystem::path& baseDir, int depth)
{
    const std::string where = "database \"" + db.GetName() + "\"";
    if (!entry.is_object())
        throw ERDXError(where + ": a table must be an object, not " + Brief(entry));
    if (auto file = entry.find("file"); file != entry.end()) {
        if (!file->is_string())
            throw ERDXError(where + ": \"file\" must be a text");
        if (depth >= kMaxFileDepth)
            throw ERDXError(where + ": table files nest too deeply at \"" + file->get<std::string>() + "\"");
        const std::filesystem::path path = baseDir / file->get<std::string>();
        const json content = ReadJsonFile(path);
        if (content.is_object() && content.contains("tables"))
            AddTables(db, content["tables"], path.parent_path(), depth + 1);
        else
            AddTableEntry(db, content, path.parent_path(), depth + 1);
        return;
    }
    const std::string name = TextMember(entry, "name", where + ", a table");
    std::string key = "ID";
    if (auto k = entry.find("key"); k != entry.end()) {
        if (!k->is_string())
            throw ERDXModelError(name, 0, "", "\"key\" must name a field");
        key = k->get<std::string>();
    }
    static const json noRows = json::array();
    auto rows = entry.find("rows");
    db.AddTable(BuildTable(name, name, Member(entry, "fields", "table \"" + name + "\""),
                           rows == entry.end() ? noRows : *rows, key));
}

void AddTables(TRDXDatabase& db, const json& tables, const std::filesystem::path& baseDir, int depth)
{
    if (!tables.is_array())
        throw ERDXError("database \"" + db.GetName() + "\": \"tables\" must be a list");
    for (const json& entry : tables)
        AddTableEntry(db, entry, baseDir, depth);
}

}  // namespace

Ref<TRDXModel> LoadRDXModel(const json& root, const std::filesystem::path& baseDir)
{
    Ref<TRDXModel> model(new TRDXModel);
    if (!root.is_object())
        throw ERDXError("the model file must hold a JSON object");
    auto databases = root.find("databases");
    if (databases == root.end())
        return model;
    if (!databases->is_array())
        throw ERDXError("\"databases\" must be a list");
    for (const json& d : *databases) {
        if (!d.is_object())
            throw ERDXError("a database must be an object, not " + Brief(d));
        Ref<TRDXDatabase> db(new TRDXDatabase(TextMember(d, "name", "a database")));
        if (auto file = d.find("file"); file != d.end()) {
            if (!file->is_string())
                throw ERDXError("database \"" + db->GetName() + "\": \"file\" must be a text");
            const std::filesystem::path path = baseDir / file->get<std::string>();
            AddTables(*db, Member(ReadJsonFile(path), "tables", path.string()), path.parent_path(), 1);
        }
        if (auto tables = d.find("tables"); tables != d.end())
            AddTables(*db, *tables, baseDir, 0);
        if (model->FindDatabase(db->GetName()))
            throw ERDXError("the model holds two databases named \"" + db->GetName() + "\"");
        model->AddDatabase(db);
    }
    model->Validate();
    return model;
}

Ref<TRDXModel> LoadRDXModelFile(const std::filesystem::path& file)
{
    return LoadRDXModel(ReadJsonFile(file), file.parent_path());
}

Ref<TRDXDatabase> LoadRDXDatabaseFile(const std::filesystem::path& file, std::string_view name)
{
    Ref<TRDXDatabase> db(new TRDXDatabase(std::string(name)));
    AddTables(*db, Member(ReadJsonFile(file), "tables", file.string()), file.parent_path(), 1);
    return db;
}

TRDXDatabase* AttachRDXDatabaseFile(TRDXModel& model, const std::filesystem::path& file, std::string_view name,
                                    int position)
{
    Ref<TRDXDatabase> database = LoadRDXDatabaseFile(file, name);
    model.RemoveDatabase(name);
    TRDXDatabase* attached = database.get();
    model.InsertDatabase(position, std::move(database));
    model.Validate();
    return attached;
}
