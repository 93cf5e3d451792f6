// An expression compiled against the fields of one table: identifiers are
// bound to columns (and foreign-key paths to the columns of master tables)
// once, so that evaluating it for a row is a few array reads. The engine of
// view filters, and of any caller that tests many rows of one table.
// One instance is used by one thread at a time.
#pragma once

#include <string_view>
#include <vector>

#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXIntf.h"

class TRDXTable;

class TRDXRecordExpression {
public:
    // Compiles the text over the table's fields. Raises EPXESyntaxError for
    // a text that does not compile, ERDXError for a name the table does not
    // define or a path through a field that is not a foreign key.
    TRDXRecordExpression(const IRDXTable* table, std::string_view text);
    // The parser's value callback refers to this object.
    TRDXRecordExpression(const TRDXRecordExpression&) = delete;
    TRDXRecordExpression& operator=(const TRDXRecordExpression&) = delete;

    // The value for a row of the table (nil: every field reads as null).
    // Raises ERDXError for a row of another table.
    const TPXEValue& Evaluate(const IRDXRecord* record);
    bool Matches(const IRDXRecord* record) { return Evaluate(record).AsBoolean(); }
    IPXEParser& Parser() const { return *parser_; }

private:
    struct TBinding {
        std::vector<int> columns;              // one per path item
        std::vector<const TRDXTable*> tables;  // the table each column is read from
    };
    void Bind(IPXEIdentifierNode& node, const TRDXTable* table);
    void Fill(IPXEIdentifierNode& node) const;

    const TRDXTable* table_ = nullptr;
    Ref<IPXEParser> parser_;
    std::vector<TBinding> bindings_;
    const IRDXRecord* current_ = nullptr;
};
