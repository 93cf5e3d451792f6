// Interfaces of the host's property-table engine as the rule library sees
// them: databases of named tables, tables of rows, rows (records) with fields
// read by name, and the table sources that a rule receives as its contexts.
#pragma once

#include <string>
#include <string_view>

#include "Host/Runtime/Interface.h"

class IRDXDatabase;
class IRDXTable;

// One row: an element's property record, a settings row or a rule row.
class IRDXRecord : public virtual IInterface {
public:
    // Integer id, the key of every per-element structure.
    virtual int GetID() const = 0;
    virtual std::string GetAsString(std::string_view field) const = 0;
    virtual int GetAsInteger(std::string_view field) const = 0;
    virtual double GetAsFloat(std::string_view field) const = 0;
    virtual bool GetAsBoolean(std::string_view field) const = 0;
    virtual bool IsNull(std::string_view field) const = 0;
    // The host object behind the row (an element draw object, a matcher, ...), or nil.
    virtual IInterface* GetObject() const = 0;
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
};

class IRDXDatabase : public virtual IInterface {
public:
    // Table by name; nil when the database has no such table.
    virtual IRDXTable* GetTable(std::string_view name) const = 0;
};

// What a rule receives as its business and rule contexts: a source of a
// table database. Nullable; passed on unchanged.
class IRDXTableSource : public virtual IInterface {
public:
    virtual IRDXDatabase* GetDatabase() const = 0;
};

using RecordRef = Ref<IRDXRecord>;
using TableSourceRef = Ref<IRDXTableSource>;
