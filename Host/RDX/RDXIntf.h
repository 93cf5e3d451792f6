// Interfaces of the host's property-table engine as the rule library sees
// them: models holding named databases, databases of named tables, tables of
// rows, rows (records) with fields read by name, filtered views, and the
// table sources that a rule receives as its contexts.
//
// A loaded model is read-only: every read below may run on several threads
// at once. Field and table names compare without regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "Host/Runtime/Interface.h"

class IRDXModel;
class IRDXDatabase;
class IRDXTable;

// Kind of a table field. A detail field holds a nested list of rows (a table
// of its own) on each row.
enum class TRDXFieldType { Integer, Float, Text, Boolean, Detail };

// Definition of one field of a table.
struct TRDXFieldDef {
    std::string name;
    TRDXFieldType type = TRDXFieldType::Integer;
    // Foreign key: name of the table (same database) whose row id the value is;
    // empty for a plain field.
    std::string master;
};

// A field value as a variant: null, integer, float, text or Boolean.
using TRDXValue = std::variant<std::monostate, std::int64_t, double, std::string, bool>;

// Raised by reads that cannot be answered: a field the table does not define,
// a text that is not a number. Names the table, the row and the field.
class ERDXError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One row: an element's property record, a settings row or a rule row.
class IRDXRecord : public virtual IInterface {
public:
    // Integer id, the key of every per-element structure.
    virtual int GetID() const = 0;
    // Position of the row in its table (0-based).
    virtual int GetRecordIndex() const = 0;
    // Field reads by name. Null reads as "", 0, 0.0 and False. A float read
    // as integer is rounded to the nearest integer (halves away from zero).
    // A field the table does not define, a text that is not a number, or an
    // integer read beyond the int range raises ERDXError.
    virtual std::string GetAsString(std::string_view field) const = 0;
    virtual int GetAsInteger(std::string_view field) const = 0;
    virtual double GetAsFloat(std::string_view field) const = 0;
    virtual bool GetAsBoolean(std::string_view field) const = 0;
    virtual TRDXValue GetAsVariant(std::string_view field) const = 0;
    virtual bool IsNull(std::string_view field) const = 0;
    // The host object behind the row (an element draw object, a matcher, a
    // parametric object), or nil. Not owned by the caller.
    virtual IInterface* GetObject() const = 0;
    // Attaches the host object behind the row (the record keeps a reference).
    // Done while a model is being set up, before calculations read it.
    virtual void SetObject(IInterface* object) = 0;
    // The row a foreign-key field refers to; nil when the field is null, is
    // not a foreign key or the row is absent.
    virtual IRDXRecord* GetMasterRecord(std::string_view field) const = 0;
    // The nested detail list held by a detail field; nil when the field is
    // not a detail field.
    virtual IRDXTable* GetDetail(std::string_view field) const = 0;
    // The table that owns the row.
    virtual IRDXTable* GetTable() const = 0;
};

class IRDXTable : public virtual IInterface {
public:
    virtual std::string GetName() const = 0;
    virtual int GetRowCount() const = 0;
    // Row by position; nil when out of range.
    virtual IRDXRecord* GetRow(int index) const = 0;
    // Row by record id; nil when absent.
    virtual IRDXRecord* GetRecordByID(int id) const = 0;
    // The database that owns the table.
    virtual IRDXDatabase* GetDatabase() const = 0;
    // The model that owns the table's database (nil for a free database).
    virtual IRDXModel* GetOwner() const = 0;
    // Field definitions.
    virtual int GetFieldCount() const = 0;
    virtual const TRDXFieldDef& GetField(int index) const = 0;
    // Definition of a field by name; nil when the table has no such field.
    virtual const TRDXFieldDef* FindField(std::string_view name) const = 0;
    // First row, in table order, whose fields equal the values. The field
    // names are joined by ";" ("ElementTypeID;Index;TypeIndex"), one value per
    // field. Nil when no row matches.
    virtual IRDXRecord* Locate(std::string_view fields, std::span<const TRDXValue> values) const = 0;
};

class IRDXDatabase : public virtual IInterface {
public:
    virtual std::string GetName() const = 0;
    // Table by name; nil when the database has no such table.
    virtual IRDXTable* GetTable(std::string_view name) const = 0;
    virtual int GetTableCount() const = 0;
    virtual IRDXTable* GetTableByIndex(int index) const = 0;
    // The owning model, nil for a free database.
    virtual IRDXModel* GetModel() const = 0;
};

// What a rule receives as its business and rule contexts: a source of a
// table database. Nullable; passed on unchanged.
class IRDXTableSource : public virtual IInterface {
public:
    virtual IRDXDatabase* GetDatabase() const = 0;
};

// A data model: named databases ("Business" holds the element, floor and
// project tables; a rule set such as "NormCalcRule" holds settings and rule
// tables). As a table source it gives its first database.
class IRDXModel : public virtual IRDXTableSource {
public:
    // Database by name; nil when absent.
    virtual IRDXDatabase* GetDatabaseByName(std::string_view name) const = 0;
    virtual int GetDatabaseCount() const = 0;
    virtual IRDXDatabase* GetDatabaseByIndex(int index) const = 0;
};

// A filtered, read-only list of rows of one table, in table order. As a table
// it answers row count, row by position and record by id over its own rows.
class IRDXView : public virtual IRDXTable {
public:
    // Position of a record in the view, -1 when the view does not hold it.
    virtual int IndexOf(const IRDXRecord* record) const = 0;
};

using RecordRef = Ref<IRDXRecord>;
using TableRef = Ref<IRDXTable>;
using DatabaseRef = Ref<IRDXDatabase>;
using ModelRef = Ref<IRDXModel>;
using ViewRef = Ref<IRDXView>;
using TableSourceRef = Ref<IRDXTableSource>;
