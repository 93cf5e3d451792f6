// The in-memory property-table engine: models, databases, tables and rows
// that a model file is read into (see RDXJsonModel.h) and that tests build
// directly. Build a model completely, call Validate, then share it: after
// that it is only read, from any number of threads.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/RDX/RDXNameIndex.h"
#include "Host/Runtime/CorvaHashUtils.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

class TRDXTable;
class TRDXDatabase;
class TRDXModel;

// A bad model table: names the table, the row (1-based position, 0 when the
// error is not in a row) and the field (empty when not about one field).
class ERDXModelError : public ERDXError {
public:
    ERDXModelError(std::string table, int row, std::string field, const std::string& reason);
    const std::string& Table() const noexcept { return table_; }
    int Row() const noexcept { return row_; }
    const std::string& Field() const noexcept { return field_; }
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string table_;
    std::string reason_;
    int row_;
    std::string field_;
};

// How errors name a detail list: "QTKOtherCalcSetting[1].FormboardPriority"
// (the list of row 1 of the table).
std::string RDXDetailLabel(const std::string& table, int row, const std::string& field);

// Name of a field type as the model file writes it ("integer", "float",
// "text", "boolean", "detail").
std::string_view RDXFieldTypeName(TRDXFieldType type) noexcept;

class TRDXRecord final : public TInterfacedObject, public IRDXRecord {
public:
    int GetID() const override { return id_; }
    int GetRecordIndex() const override { return index_; }
    std::string GetAsString(std::string_view field) const override;
    int GetAsInteger(std::string_view field) const override;
    double GetAsFloat(std::string_view field) const override;
    bool GetAsBoolean(std::string_view field) const override;
    TRDXValue GetAsVariant(std::string_view field) const override;
    bool IsNull(std::string_view field) const override;
    IInterface* GetObject() const override;
    void SetObject(IInterface* object) override;
    IRDXRecord* GetMasterRecord(std::string_view field) const override;
    IRDXTable* GetDetail(std::string_view field) const override;
    IRDXTable* GetTable() const override;

    // Column access by field position (no name lookup).
    const TRDXValue& GetValue(int column) const { return values_[static_cast<size_t>(column)]; }
    IRDXRecord* GetMasterRecordAt(int column) const;
    TRDXTable* GetDetailAt(int column) const;
    // Gives a detail field its nested list (replaces any earlier one).
    void SetDetail(int column, Ref<TRDXTable> detail);

private:
    friend class TRDXTable;
    TRDXRecord(TRDXTable* table, int index, int id, std::vector<TRDXValue> values);
    int Column(std::string_view field) const;  // raises ERDXError when undefined
    [[noreturn]] void ConversionError(int column, std::string_view wanted) const;

    TRDXTable* table_;  // the owner, not counted; nil once the table is gone
    int index_;
    int id_;
    std::vector<TRDXValue> values_;
    std::vector<Ref<TRDXTable>> details_;  // by column, only for detail fields
    TVRMGuardedRef<IInterface> object_;
};

class TRDXTable final : public TInterfacedObject, public IRDXTable {
public:
    // A table of the given fields. The record id is the integer field
    // keyField when the table defines it, else the row's 1-based position.
    // Raises ERDXModelError for a duplicate field name, or a key field that
    // is not an integer.
    TRDXTable(std::string name, std::vector<TRDXFieldDef> fields, std::string_view keyField = "ID");
    ~TRDXTable() override;

    std::string GetName() const override { return name_; }
    int GetRowCount() const override { return static_cast<int>(rows_.size()); }
    IRDXRecord* GetRow(int index) const override;
    IRDXRecord* GetRecordByID(int id) const override;
    IRDXDatabase* GetDatabase() const override;
    IRDXModel* GetOwner() const override;
    int GetFieldCount() const override { return static_cast<int>(fields_.size()); }
    const TRDXFieldDef& GetField(int index) const override { return fields_.at(static_cast<size_t>(index)); }
    const TRDXFieldDef* FindField(std::string_view name) const override;
    IRDXRecord* Locate(std::string_view fields, std::span<const TRDXValue> values) const override;

    // Position of a field, -1 when undefined.
    int FieldIndex(std::string_view name) const;
    // Adds a row; one value per field in field order (detail fields take
    // null and get their list through SetDetail). Raises ERDXModelError for a
    // value of the wrong type or a duplicate id.
    TRDXRecord* AddRow(std::vector<TRDXValue> values);
    TRDXRecord* GetRecord(int index) const { return rows_[static_cast<size_t>(index)]; }
    std::span<TRDXRecord* const> Rows() const noexcept { return rows_; }
    // First row of the list (rows of this table) whose fields equal the values.
    IRDXRecord* LocateIn(std::span<TRDXRecord* const> rows, std::string_view fields,
                         std::span<const TRDXValue> values) const;
    // The table a foreign-key field refers to (nil when none or absent): the
    // table of that name in the same database, else in the model's other
    // databases in their order (a rule table may refer to a business table).
    TRDXTable* GetMasterTable(int column) const;

private:
    friend class TRDXDatabase;
    friend class TRDXRecord;
    void Attach(TRDXDatabase* database);  // also the nested lists of its rows
    auto FieldName() const
    {
        return [this](int i) -> std::string_view { return fields_[static_cast<size_t>(i)].name; };
    }

    std::string name_;
    std::vector<TRDXFieldDef> fields_;
    TRDXNameIndex fieldIndex_;
    int keyColumn_ = -1;
    std::vector<TRDXRecord*> rows_;  // one reference each
    std::unordered_map<int, TRDXRecord*> byId_;
    // Row positions by the values of the fields of one Locate, made at the
    // first Locate on those fields and dropped when a row is added.
    struct TKeyIndex;
    const TKeyIndex& KeyIndex(const std::vector<int>& columns) const;
    mutable std::mutex keyIndexLock_;
    mutable std::vector<std::unique_ptr<TKeyIndex>> keyIndexes_;
    TRDXDatabase* database_ = nullptr;  // the owner, not counted
};

// A filtered, read-only list of rows of one table (in table order); keeps the
// table alive.
class TRDXView final : public TInterfacedObject, public IRDXView {
public:
    TRDXView(const TRDXTable* table, std::vector<TRDXRecord*> rows);

    std::string GetName() const override { return table_->GetName(); }
    int GetRowCount() const override { return static_cast<int>(rows_.size()); }
    IRDXRecord* GetRow(int index) const override;
    IRDXRecord* GetRecordByID(int id) const override;
    IRDXDatabase* GetDatabase() const override { return table_->GetDatabase(); }
    IRDXModel* GetOwner() const override { return table_->GetOwner(); }
    int GetFieldCount() const override { return table_->GetFieldCount(); }
    const TRDXFieldDef& GetField(int index) const override { return table_->GetField(index); }
    const TRDXFieldDef* FindField(std::string_view name) const override { return table_->FindField(name); }
    IRDXRecord* Locate(std::string_view fields, std::span<const TRDXValue> values) const override;
    int IndexOf(const IRDXRecord* record) const override;

    const TRDXTable* GetBaseTable() const noexcept { return table_.get(); }
    std::span<TRDXRecord* const> Rows() const noexcept { return rows_; }

private:
    Ref<const TRDXTable> table_;
    std::vector<TRDXRecord*> rows_;
};

// The engine's own table behind a table or a view, with the rows it holds;
// nil for a table of another implementation.
const TRDXTable* RDXBaseTable(const IRDXTable* table, std::span<TRDXRecord* const>* rows = nullptr);

class TRDXDatabase final : public TInterfacedObject, public IRDXDatabase, public IRDXTableSource {
public:
    explicit TRDXDatabase(std::string name);
    ~TRDXDatabase() override;

    std::string GetName() const override { return name_; }
    IRDXTable* GetTable(std::string_view name) const override;
    int GetTableCount() const override { return static_cast<int>(tables_.size()); }
    IRDXTable* GetTableByIndex(int index) const override;
    IRDXModel* GetModel() const override;
    // A database is its own table source.
    IRDXDatabase* GetDatabase() const override { return const_cast<TRDXDatabase*>(this); }

    // Adds a table; a table of the same name is replaced (a settings table
    // from a separate file overrides the one carried in the model).
    void AddTable(Ref<TRDXTable> table);
    TRDXTable* FindTable(std::string_view name) const;
    // Takes a table out of the database; nil when it has none of that name.
    Ref<TRDXTable> RemoveTable(std::string_view name);
    // Checks the foreign keys of every table (also of nested lists): a
    // master table that is missing, a value that names no row. Raises
    // ERDXModelError naming the table, row and field.
    void Validate() const;

private:
    friend class TRDXModel;
    friend class TRDXTable;
    std::string name_;
    std::vector<Ref<TRDXTable>> tables_;
    TStrKeyHash<TRDXTable*> byName_;
    TRDXModel* model_ = nullptr;  // the owner, not counted
};

class TRDXModel final : public TInterfacedObject, public IRDXModel {
public:
    TRDXModel() = default;
    ~TRDXModel() override;

    IRDXDatabase* GetDatabase() const override;
    IRDXDatabase* GetDatabaseByName(std::string_view name) const override;
    int GetDatabaseCount() const override { return static_cast<int>(databases_.size()); }
    IRDXDatabase* GetDatabaseByIndex(int index) const override;

    // Adds a database; raises ERDXModelError for a second one of the same name.
    void AddDatabase(Ref<TRDXDatabase> database);
    // The same, at a position of the database list (clamped to its end).
    void InsertDatabase(int index, Ref<TRDXDatabase> database);
    // Takes a database out of the model; nil when it has none of that name.
    Ref<TRDXDatabase> RemoveDatabase(std::string_view name);
    TRDXDatabase* FindDatabase(std::string_view name) const;
    // The first table of that name in the databases, in their order.
    TRDXTable* FindTable(std::string_view name) const;
    void Validate() const;

private:
    std::vector<Ref<TRDXDatabase>> databases_;
};
