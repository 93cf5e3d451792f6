#include "Host/RDX/RDXTable.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Host/Runtime/SysUtils.h"

namespace {

std::string RowText(int row)
{
    return row > 0 ? ", row " + std::to_string(row) : std::string();
}

std::string FieldText(const std::string& field)
{
    return field.empty() ? std::string() : ", field \"" + field + "\"";
}

// Nearest integer, halves away from zero.
std::int64_t RoundToInteger(double v) noexcept
{
    return static_cast<std::int64_t>(std::llround(v));
}

bool ValueMatchesType(const TRDXValue& v, TRDXFieldType type) noexcept
{
    if (std::holds_alternative<std::monostate>(v))
        return true;
    switch (type) {
        case TRDXFieldType::Integer:
            return std::holds_alternative<std::int64_t>(v);
        case TRDXFieldType::Float:
            return std::holds_alternative<double>(v) || std::holds_alternative<std::int64_t>(v);
        case TRDXFieldType::Text:
            return std::holds_alternative<std::string>(v);
        case TRDXFieldType::Boolean:
            return std::holds_alternative<bool>(v);
        case TRDXFieldType::Detail:
            return false;
    }
    return false;
}

bool SameValue(const TRDXValue& a, const TRDXValue& b)
{
    if (std::holds_alternative<std::monostate>(a) || std::holds_alternative<std::monostate>(b))
        return false;  // null equals nothing
    auto number = [](const TRDXValue& v, double& out) {
        if (auto* i = std::get_if<std::int64_t>(&v))
            out = static_cast<double>(*i);
        else if (auto* d = std::get_if<double>(&v))
            out = *d;
        else
            return false;
        return true;
    };
    double x = 0, y = 0;
    if (number(a, x) && number(b, y))
        return x == y;
    return a == b;
}

// Hash of a value that agrees with SameValue: numbers hash by value whether
// integer or float. False for a value that equals nothing (null, NaN).
bool KeyHash(const TRDXValue& v, std::uint64_t& hash)
{
    std::uint64_t h = 0;
    double d = 0;
    if (auto* i = std::get_if<std::int64_t>(&v))
        d = static_cast<double>(*i);
    else if (auto* f = std::get_if<double>(&v))
        d = *f;
    if (std::holds_alternative<std::int64_t>(v) || std::holds_alternative<double>(v)) {
        if (std::isnan(d))
            return false;
        if (d == 0)
            d = 0;  // -0 equals 0
        std::memcpy(&h, &d, sizeof h);
    } else if (auto* s = std::get_if<std::string>(&v))
        h = std::hash<std::string>{}(*s) ^ 0x5555555555555555ull;
    else if (auto* b = std::get_if<bool>(&v))
        h = *b ? 0x3333333333333333ull : 0x7777777777777777ull;
    else
        return false;
    hash = (hash ^ h) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
    return true;
}

}  // namespace

struct TRDXTable::TKeyIndex {
    std::vector<int> columns;
    std::vector<std::pair<std::uint64_t, int>> keys;  // (hash of the row's values, row position), sorted
};

ERDXModelError::ERDXModelError(std::string table, int row, std::string field, const std::string& reason)
    : ERDXError("table \"" + table + "\"" + RowText(row) + FieldText(field) + ": " + reason),
      table_(std::move(table)),
      reason_(reason),
      row_(row),
      field_(std::move(field))
{
}

std::string RDXDetailLabel(const std::string& table, int row, const std::string& field)
{
    return table + "[" + std::to_string(row) + "]." + field;
}

std::string_view RDXFieldTypeName(TRDXFieldType type) noexcept
{
    switch (type) {
        case TRDXFieldType::Integer:
            return "integer";
        case TRDXFieldType::Float:
            return "float";
        case TRDXFieldType::Text:
            return "text";
        case TRDXFieldType::Boolean:
            return "boolean";
        case TRDXFieldType::Detail:
            return "detail";
    }
    return "";
}

// ---------------------------------------------------------------- TRDXRecord

TRDXRecord::TRDXRecord(TRDXTable* table, int index, int id, std::vector<TRDXValue> values)
    : table_(table), index_(index), id_(id), values_(std::move(values))
{
}

int TRDXRecord::Column(std::string_view field) const
{
    if (!table_)
        throw ERDXError("record " + std::to_string(id_) + ": its table no longer exists");
    const int column = table_->FieldIndex(field);
    if (column < 0)
        throw ERDXModelError(table_->name_, index_ + 1, std::string(field), "the table has no such field");
    return column;
}

void TRDXRecord::ConversionError(int column, std::string_view wanted) const
{
    const auto& def = table_->fields_[static_cast<size_t>(column)];
    throw ERDXModelError(table_->name_, index_ + 1, def.name,
                         "the value \"" + std::get<std::string>(values_[static_cast<size_t>(column)]) + "\" is not " +
                             std::string(wanted));
}

std::string TRDXRecord::GetAsString(std::string_view field) const
{
    const auto& v = values_[static_cast<size_t>(Column(field))];
    if (auto* s = std::get_if<std::string>(&v))
        return *s;
    if (auto* i = std::get_if<std::int64_t>(&v))
        return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v))
        return FloatToStr(*d);
    if (auto* b = std::get_if<bool>(&v))
        return *b ? "True" : "False";
    return {};
}

double TRDXRecord::GetAsFloat(std::string_view field) const
{
    const int column = Column(field);
    const auto& v = values_[static_cast<size_t>(column)];
    if (auto* d = std::get_if<double>(&v))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&v))
        return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&v))
        return *b ? 1.0 : 0.0;
    if (auto* s = std::get_if<std::string>(&v)) {
        const char* begin = s->c_str();
        char* end = nullptr;
        errno = 0;
        const double d = std::strtod(begin, &end);
        if (end == begin || *end != '\0' || errno == ERANGE)
            ConversionError(column, "a number");
        return d;
    }
    return 0.0;
}

int TRDXRecord::GetAsInteger(std::string_view field) const
{
    const double d = GetAsFloat(field);
    if (!(std::abs(d) <= std::numeric_limits<int>::max()))
        throw ERDXModelError(table_->name_, index_ + 1, std::string(field), "the value is out of the integer range");
    return static_cast<int>(RoundToInteger(d));
}

bool TRDXRecord::GetAsBoolean(std::string_view field) const
{
    const int column = Column(field);
    const auto& v = values_[static_cast<size_t>(column)];
    if (auto* b = std::get_if<bool>(&v))
        return *b;
    if (auto* s = std::get_if<std::string>(&v)) {
        if (SameText(*s, "True"))
            return true;
        if (SameText(*s, "False") || s->empty())
            return false;
        ConversionError(column, "a Boolean");
    }
    return GetAsFloat(field) != 0.0;
}

TRDXValue TRDXRecord::GetAsVariant(std::string_view field) const
{
    return values_[static_cast<size_t>(Column(field))];
}

bool TRDXRecord::IsNull(std::string_view field) const
{
    const int column = Column(field);
    if (table_->fields_[static_cast<size_t>(column)].type == TRDXFieldType::Detail)
        return !GetDetailAt(column);
    return std::holds_alternative<std::monostate>(values_[static_cast<size_t>(column)]);
}

IInterface* TRDXRecord::GetObject() const
{
    return object_.Get().get();  // borrowed: the record keeps its reference
}

void TRDXRecord::SetObject(IInterface* object)
{
    object_.Set(Ref<IInterface>(object));
}

IRDXRecord* TRDXRecord::GetMasterRecord(std::string_view field) const
{
    return GetMasterRecordAt(Column(field));
}

IRDXRecord* TRDXRecord::GetMasterRecordAt(int column) const
{
    const TRDXTable* master = table_ ? table_->GetMasterTable(column) : nullptr;
    if (!master)
        return nullptr;
    const auto* id = std::get_if<std::int64_t>(&values_[static_cast<size_t>(column)]);
    return id ? master->GetRecordByID(static_cast<int>(*id)) : nullptr;
}

IRDXTable* TRDXRecord::GetDetail(std::string_view field) const
{
    return GetDetailAt(Column(field));
}

TRDXTable* TRDXRecord::GetDetailAt(int column) const
{
    return static_cast<size_t>(column) < details_.size() ? details_[static_cast<size_t>(column)].get() : nullptr;
}

void TRDXRecord::SetDetail(int column, Ref<TRDXTable> detail)
{
    if (!table_ || column < 0 || column >= table_->GetFieldCount() ||
        table_->fields_[static_cast<size_t>(column)].type != TRDXFieldType::Detail)
        throw ERDXError("SetDetail: column " + std::to_string(column) + " is not a detail field");
    if (details_.size() <= static_cast<size_t>(column))
        details_.resize(static_cast<size_t>(column) + 1);
    if (detail)
        detail->Attach(table_->database_);
    details_[static_cast<size_t>(column)] = std::move(detail);
}

IRDXTable* TRDXRecord::GetTable() const
{
    return table_;
}

// ----------------------------------------------------------------- TRDXTable

TRDXTable::TRDXTable(std::string name, std::vector<TRDXFieldDef> fields, std::string_view keyField)
    : name_(std::move(name)), fields_(std::move(fields))
{
    // The first fault in field order: a field without a name or one that repeats an earlier name.
    const int twice = fieldIndex_.Build(GetFieldCount(), FieldName());
    const auto end = twice < 0 ? fields_.size() : static_cast<size_t>(twice);
    for (size_t i = 0; i < end; ++i)
        if (fields_[i].name.empty())
            throw ERDXModelError(name_, 0, "", "field " + std::to_string(i + 1) + " has no name");
    if (twice >= 0)
        throw ERDXModelError(name_, 0, fields_[static_cast<size_t>(twice)].name, "the field is defined twice");
    keyColumn_ = FieldIndex(keyField);
    if (keyColumn_ >= 0 && fields_[static_cast<size_t>(keyColumn_)].type != TRDXFieldType::Integer)
        throw ERDXModelError(name_, 0, std::string(keyField), "the key field must be an integer");
}

TRDXTable::~TRDXTable()
{
    for (TRDXRecord* row : rows_) {
        row->table_ = nullptr;
        row->Release();
    }
}

int TRDXTable::FieldIndex(std::string_view name) const
{
    return fieldIndex_.Find(name, FieldName());
}

const TRDXFieldDef* TRDXTable::FindField(std::string_view name) const
{
    const int i = FieldIndex(name);
    return i < 0 ? nullptr : &fields_[static_cast<size_t>(i)];
}

IRDXRecord* TRDXTable::GetRow(int index) const
{
    return index >= 0 && index < GetRowCount() ? rows_[static_cast<size_t>(index)] : nullptr;
}

IRDXRecord* TRDXTable::GetRecordByID(int id) const
{
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

IRDXDatabase* TRDXTable::GetDatabase() const
{
    return database_;
}

IRDXModel* TRDXTable::GetOwner() const
{
    return database_ ? database_->GetModel() : nullptr;
}

IRDXRecord* TRDXTable::Locate(std::string_view fields, std::span<const TRDXValue> values) const
{
    return LocateIn(rows_, fields, values);
}

IRDXRecord* TRDXTable::LocateIn(std::span<TRDXRecord* const> rows, std::string_view fields,
                                std::span<const TRDXValue> values) const
{
    std::vector<int> columns;
    for (size_t start = 0; start <= fields.size();) {
        size_t end = fields.find(';', start);
        if (end == std::string_view::npos)
            end = fields.size();
        const auto name = fields.substr(start, end - start);
        const int column = FieldIndex(name);
        if (column < 0)
            throw ERDXModelError(name_, 0, std::string(name), "the table has no such field");
        columns.push_back(column);
        start = end + 1;
    }
    if (columns.size() != values.size())
        throw ERDXError("Locate in table \"" + name_ + "\": " + std::to_string(columns.size()) + " fields but " +
                        std::to_string(values.size()) + " values");
    auto matches = [&](const TRDXRecord* row) {
        for (size_t k = 0; k < columns.size(); ++k)
            if (!SameValue(row->values_[static_cast<size_t>(columns[k])], values[k]))
                return false;
        return true;
    };
    if (rows.size() < 16) {
        for (TRDXRecord* row : rows)
            if (matches(row))
                return row;
        return nullptr;
    }
    std::uint64_t hash = 0;
    for (const auto& v : values)
        if (!KeyHash(v, hash))
            return nullptr;
    // Candidates come in table order; the rows of a view are a subset of the
    // table's in table order.
    const bool allRows = rows.data() == rows_.data() && rows.size() == rows_.size();
    const auto& keys = KeyIndex(columns).keys;
    for (auto it = std::lower_bound(keys.begin(), keys.end(), std::pair<std::uint64_t, int>(hash, -1));
         it != keys.end() && it->first == hash; ++it) {
        TRDXRecord* row = rows_[static_cast<size_t>(it->second)];
        if (!matches(row))
            continue;
        if (allRows || std::binary_search(rows.begin(), rows.end(), row, [](const TRDXRecord* a, const TRDXRecord* b) {
                return a->index_ < b->index_;
            }))
            return row;
    }
    return nullptr;
}

const TRDXTable::TKeyIndex& TRDXTable::KeyIndex(const std::vector<int>& columns) const
{
    std::lock_guard guard(keyIndexLock_);
    for (const auto& index : keyIndexes_)
        if (index->columns == columns)
            return *index;
    auto index = std::make_unique<TKeyIndex>();
    index->columns = columns;
    index->keys.reserve(rows_.size());
    for (size_t p = 0; p < rows_.size(); ++p) {
        std::uint64_t hash = 0;
        bool comparable = true;
        for (int c : columns)
            comparable = comparable && KeyHash(rows_[p]->values_[static_cast<size_t>(c)], hash);
        if (comparable)
            index->keys.emplace_back(hash, static_cast<int>(p));
    }
    std::sort(index->keys.begin(), index->keys.end());
    keyIndexes_.push_back(std::move(index));
    return *keyIndexes_.back();
}

TRDXRecord* TRDXTable::AddRow(std::vector<TRDXValue> values)
{
    const int row = GetRowCount() + 1;
    if (values.size() != fields_.size())
        throw ERDXModelError(
            name_, row, "",
            std::to_string(values.size()) + " values for " + std::to_string(fields_.size()) + " fields");
    for (size_t i = 0; i < fields_.size(); ++i) {
        auto& v = values[i];
        if (fields_[i].type == TRDXFieldType::Detail && std::holds_alternative<std::monostate>(v))
            continue;
        if (!ValueMatchesType(v, fields_[i].type))
            throw ERDXModelError(name_, row, fields_[i].name,
                                 "expected a value of type " + std::string(RDXFieldTypeName(fields_[i].type)));
        if (fields_[i].type == TRDXFieldType::Float)
            if (auto* n = std::get_if<std::int64_t>(&v))
                v = static_cast<double>(*n);
    }
    int id = row;
    if (keyColumn_ >= 0) {
        const auto* key = std::get_if<std::int64_t>(&values[static_cast<size_t>(keyColumn_)]);
        if (!key)
            throw ERDXModelError(name_, row, fields_[static_cast<size_t>(keyColumn_)].name, "the record id is null");
        if (*key < std::numeric_limits<int>::min() || *key > std::numeric_limits<int>::max())
            throw ERDXModelError(name_, row, fields_[static_cast<size_t>(keyColumn_)].name,
                                 "the record id is out of the integer range");
        id = static_cast<int>(*key);
    }
    if (byId_.count(id))
        throw ERDXModelError(name_, row, keyColumn_ >= 0 ? fields_[static_cast<size_t>(keyColumn_)].name : "",
                             "duplicate record id " + std::to_string(id) + " (first in row " +
                                 std::to_string(byId_[id]->index_ + 1) + ")");
    if (rows_.size() == rows_.capacity())
        rows_.reserve(rows_.size() * 2 + 16);
    {
        std::lock_guard guard(keyIndexLock_);
        keyIndexes_.clear();
    }
    auto* record = new TRDXRecord(this, GetRowCount(), id, std::move(values));
    record->AddRef();
    rows_.push_back(record);
    byId_.emplace(id, record);
    return record;
}

TRDXTable* TRDXTable::GetMasterTable(int column) const
{
    if (column < 0 || column >= GetFieldCount() || !database_)
        return nullptr;
    const auto& master = fields_[static_cast<size_t>(column)].master;
    if (master.empty())
        return nullptr;
    if (TRDXTable* t = database_->FindTable(master))
        return t;
    return database_->model_ ? database_->model_->FindTable(master) : nullptr;
}

void TRDXTable::Attach(TRDXDatabase* database)
{
    database_ = database;
    for (TRDXRecord* row : rows_)
        for (const auto& detail : row->details_)
            if (detail)
                detail->Attach(database);
}

// ------------------------------------------------------------------ TRDXView

TRDXView::TRDXView(const TRDXTable* table, std::vector<TRDXRecord*> rows) : table_(table), rows_(std::move(rows)) {}

IRDXRecord* TRDXView::GetRow(int index) const
{
    return index >= 0 && index < GetRowCount() ? rows_[static_cast<size_t>(index)] : nullptr;
}

IRDXRecord* TRDXView::GetRecordByID(int id) const
{
    IRDXRecord* record = table_->GetRecordByID(id);
    return IndexOf(record) >= 0 ? record : nullptr;
}

IRDXRecord* TRDXView::Locate(std::string_view fields, std::span<const TRDXValue> values) const
{
    return table_->LocateIn(rows_, fields, values);
}

int TRDXView::IndexOf(const IRDXRecord* record) const
{
    // The rows are in table order: a binary search on the row position.
    if (!record || record->GetTable() != static_cast<const IRDXTable*>(table_.get()))
        return -1;
    const int index = record->GetRecordIndex();
    auto it = std::lower_bound(rows_.begin(), rows_.end(), index,
                               [](const TRDXRecord* r, int i) { return r->GetRecordIndex() < i; });
    return it != rows_.end() && *it == record ? static_cast<int>(it - rows_.begin()) : -1;
}

const TRDXTable* RDXBaseTable(const IRDXTable* table, std::span<TRDXRecord* const>* rows)
{
    if (auto* t = dynamic_cast<const TRDXTable*>(table)) {
        if (rows)
            *rows = t->Rows();
        return t;
    }
    if (auto* v = dynamic_cast<const TRDXView*>(table)) {
        if (rows)
            *rows = v->Rows();
        return v->GetBaseTable();
    }
    return nullptr;
}

// -------------------------------------------------------------- TRDXDatabase

TRDXDatabase::TRDXDatabase(std::string name) : name_(std::move(name)) {}

TRDXDatabase::~TRDXDatabase()
{
    for (auto& table : tables_)
        table->Attach(nullptr);
}

IRDXTable* TRDXDatabase::GetTable(std::string_view name) const
{
    return FindTable(name);
}

TRDXTable* TRDXDatabase::FindTable(std::string_view name) const
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

IRDXTable* TRDXDatabase::GetTableByIndex(int index) const
{
    return index >= 0 && index < GetTableCount() ? tables_[static_cast<size_t>(index)].get() : nullptr;
}

IRDXModel* TRDXDatabase::GetModel() const
{
    return model_;
}

void TRDXDatabase::AddTable(Ref<TRDXTable> table)
{
    if (!table)
        return;
    table->Attach(this);
    if (auto it = byName_.find(table->GetName()); it != byName_.end()) {
        for (auto& t : tables_)
            if (t.get() == it->second) {
                t->Attach(nullptr);
                t = table;
            }
        it->second = table.get();
        return;
    }
    byName_.emplace(table->GetName(), table.get());
    tables_.push_back(std::move(table));
}

Ref<TRDXTable> TRDXDatabase::RemoveTable(std::string_view name)
{
    const auto it = byName_.find(std::string(name));
    if (it == byName_.end())
        return {};
    Ref<TRDXTable> table;
    for (auto t = tables_.begin(); t != tables_.end(); ++t)
        if (t->get() == it->second) {
            table = std::move(*t);
            tables_.erase(t);
            break;
        }
    byName_.erase(it);
    if (table)
        table->Attach(nullptr);
    return table;
}

namespace {

void ValidateTable(const TRDXTable& table, const std::string& label)
{
    for (int c = 0; c < table.GetFieldCount(); ++c) {
        const auto& def = table.GetField(c);
        if (def.type == TRDXFieldType::Detail) {
            for (int r = 0; r < table.GetRowCount(); ++r)
                if (const TRDXTable* detail = table.GetRecord(r)->GetDetailAt(c))
                    ValidateTable(*detail, RDXDetailLabel(label, r + 1, def.name));
            continue;
        }
        if (def.master.empty())
            continue;
        const TRDXTable* master = table.GetMasterTable(c);
        if (!master)
            throw ERDXModelError(label, 0, def.name, "the master table \"" + def.master + "\" does not exist");
        for (int r = 0; r < table.GetRowCount(); ++r) {
            const auto* id = std::get_if<std::int64_t>(&table.GetRecord(r)->GetValue(c));
            if (id && !master->GetRecordByID(static_cast<int>(*id)))
                throw ERDXModelError(label, r + 1, def.name,
                                     "no row " + std::to_string(*id) + " in the master table \"" + def.master + "\"");
        }
    }
}

}  // namespace

void TRDXDatabase::Validate() const
{
    for (const auto& table : tables_)
        ValidateTable(*table, table->GetName());
}

// ----------------------------------------------------------------- TRDXModel

TRDXModel::~TRDXModel()
{
    for (auto& db : databases_)
        db->model_ = nullptr;
}

IRDXDatabase* TRDXModel::GetDatabase() const
{
    return databases_.empty() ? nullptr : databases_.front().get();
}

IRDXDatabase* TRDXModel::GetDatabaseByName(std::string_view name) const
{
    return FindDatabase(name);
}

IRDXDatabase* TRDXModel::GetDatabaseByIndex(int index) const
{
    return index >= 0 && index < GetDatabaseCount() ? databases_[static_cast<size_t>(index)].get() : nullptr;
}

TRDXDatabase* TRDXModel::FindDatabase(std::string_view name) const
{
    for (const auto& db : databases_)
        if (SameText(db->GetName(), name))
            return db.get();
    return nullptr;
}

TRDXTable* TRDXModel::FindTable(std::string_view name) const
{
    for (const auto& db : databases_)
        if (TRDXTable* t = db->FindTable(name))
            return t;
    return nullptr;
}

void TRDXModel::AddDatabase(Ref<TRDXDatabase> database)
{
    if (!database)
        return;
    if (FindDatabase(database->GetName()))
        throw ERDXError("the model holds two databases named \"" + database->GetName() + "\"");
    database->model_ = this;
    databases_.push_back(std::move(database));
}

void TRDXModel::InsertDatabase(int index, Ref<TRDXDatabase> database)
{
    if (!database)
        return;
    if (FindDatabase(database->GetName()))
        throw ERDXError("the model holds two databases named \"" + database->GetName() + "\"");
    database->model_ = this;
    const auto at = std::min(static_cast<size_t>(std::max(index, 0)), databases_.size());
    databases_.insert(databases_.begin() + static_cast<std::ptrdiff_t>(at), std::move(database));
}

Ref<TRDXDatabase> TRDXModel::RemoveDatabase(std::string_view name)
{
    for (auto it = databases_.begin(); it != databases_.end(); ++it)
        if (SameText((*it)->GetName(), name)) {
            Ref<TRDXDatabase> database = std::move(*it);
            databases_.erase(it);
            database->model_ = nullptr;
            return database;
        }
    return {};
}

void TRDXModel::Validate() const
{
    for (const auto& db : databases_)
        db->Validate();
}
