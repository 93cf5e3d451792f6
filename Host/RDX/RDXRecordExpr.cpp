#include "Host/RDX/RDXRecordExpr.h"

#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXTable.h"

namespace {

// Sets the holder from a stored field value.
void SetValue(TPXEValue& holder, const TRDXValue& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        holder.SetAsInteger(*i);
    else if (auto* d = std::get_if<double>(&v))
        holder.SetAsFloat(*d);
    else if (auto* s = std::get_if<std::string>(&v))
        holder.SetAsString(*s);
    else if (auto* b = std::get_if<bool>(&v))
        holder.SetAsBoolean(*b);
    else
        holder.SetNull();
}

}  // namespace

TRDXRecordExpression::TRDXRecordExpression(const IRDXTable* table, std::string_view text)
    : parser_(RDXEngine("")->CreateParser())
{
    const TRDXTable* base = RDXBaseTable(table);
    table_ = base;
    if (!base)
        throw ERDXError("an expression over a table that this engine does not hold");
    // Identifiers are typed by the field they name (for a path, the last
    // field, in its master table).
    auto typeOf = [base](std::string_view name) -> int {
        if (!name.empty() && name.front() == '~')
            name.remove_prefix(1);
        const TRDXTable* table = base;
        for (size_t dot; table && (dot = name.find('.')) != std::string_view::npos; name.remove_prefix(dot + 1))
            table = table->GetMasterTable(table->FieldIndex(name.substr(0, dot)));
        const TRDXFieldDef* def = table ? table->FindField(name) : nullptr;
        return def ? RDXDataTypeToPXEDataType(def->type) : 0;
    };
    parser_->Compile(text, typeOf);
    for (int i = 0; i < parser_->GetIdentifierCount(); ++i)
        Bind(*parser_->GetIdentifier(i), base);
    parser_->SetValueCallback([this](IPXEIdentifierNode& node) { Fill(node); });
}

void TRDXRecordExpression::Bind(IPXEIdentifierNode& node, const TRDXTable* table)
{
    TBinding binding;
    for (int k = 0; k < node.GetPathCount(); ++k) {
        const auto item = node.GetPathItem(k);
        if (!table)
            throw ERDXError("expression \"" + std::string(parser_->GetExpression()) + "\": \"" +
                            std::string(node.GetPathItem(k - 1)) + "\" is not a foreign key");
        const int column = table->FieldIndex(item);
        if (column < 0)
            throw ERDXModelError(
                table->GetName(), 0, std::string(item),
                "the table has no such field (expression \"" + std::string(parser_->GetExpression()) + "\")");
        binding.columns.push_back(column);
        binding.tables.push_back(table);
        table = table->GetMasterTable(column);
    }
    node.SetTag(static_cast<int>(bindings_.size()));
    bindings_.push_back(std::move(binding));
}

void TRDXRecordExpression::Fill(IPXEIdentifierNode& node) const
{
    const TBinding& b = bindings_[static_cast<size_t>(node.GetTag())];
    const IRDXRecord* record = current_;
    if (b.columns.empty())
        return node.Value().SetNull();
    const size_t last = b.columns.size() - 1;
    // Follow the foreign keys through the master tables bound at compile time.
    for (size_t k = 0; k < last && record; ++k) {
        const auto* id = std::get_if<std::int64_t>(&static_cast<const TRDXRecord*>(record)->GetValue(b.columns[k]));
        record = id ? b.tables[k + 1]->GetRecordByID(static_cast<int>(*id)) : nullptr;
    }
    if (!record) {
        node.Value().SetNull();
        return;
    }
    SetValue(node.Value(), static_cast<const TRDXRecord*>(record)->GetValue(b.columns[last]));
}

const TPXEValue& TRDXRecordExpression::Evaluate(const IRDXRecord* record)
{
    // Only rows of the bound table can be read by column.
    if (record && record->GetTable() != static_cast<const IRDXTable*>(table_))
        throw ERDXError("expression \"" + std::string(parser_->GetExpression()) + "\" over table \"" +
                        table_->GetName() + "\" evaluated for a row of another table");
    current_ = record;
    return parser_->Evaluate();
}
