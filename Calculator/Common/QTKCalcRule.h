// The matcher built from one row of the internal-quantity rule table
// "InternalQtyCalcRule": the row's subject and object match expressions,
// compiled once with their identifiers typed by the element types' field
// definitions, and the rule ("CalcRuleID") that computes the quantity.
#pragma once

#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "Calculator/Common/QTKCalcStrategys.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/RDX/PXEIntf.h"

// A match expression of a rule row that does not compile:
// "构件[%s],中间量[%s],主体匹配表达式[%s]解析错误" (subject) or
// "构件[%s],中间量[%s],客体匹配表达式[%s]解析错误" (object).
class EQTKMatchExprError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TQTKInternalQtyCalcRule : public TQTKObjectMatchCalcRule {
public:
    // Keeps the context (settings and dictionary tables), the row, the cache
    // (not owned; may be nil: no strategy) and the module. Raises
    // EQTKMatchExprError for an expression that does not compile.
    TQTKInternalQtyCalcRule(TableSourceRef context, RecordRef row, TQTKStrategyCache* cache, TQTKStrategyModule module);
    // Clears the strategy's match rule when it is this matcher.
    ~TQTKInternalQtyCalcRule() override;
    TQTKInternalQtyCalcRule(const TQTKInternalQtyCalcRule&) = delete;
    TQTKInternalQtyCalcRule& operator=(const TQTKInternalQtyCalcRule&) = delete;

    // The object expression on the candidate record (an empty expression
    // matches every record; a nil candidate matches nothing else).
    bool ObjectMatches() override;
    // The subject expression on a record / the object expression on a record
    // (made the candidate). A matcher evaluates on one thread at a time.
    bool SubjectMatches(IRDXRecord* subject);
    bool ObjectMatches(IRDXRecord* object);

    const TableSourceRef& GetContext() const noexcept { return context_; }
    const RecordRef& GetRow() const noexcept { return row_; }
    TQTKStrategyCache* GetCache() const noexcept { return cache_; }
    TQTKStrategyModule GetModule() const noexcept { return module_; }
    // -1 when the row has no internal quantity (object: or no object type).
    int GetSubjectElementTypeID() const noexcept { return subjectTypeId_; }
    int GetObjectElementTypeID() const noexcept { return objectTypeId_; }
    const Ref<IQTKCalcStrategy>& GetStrategy() const noexcept { return strategy_; }

private:
    Ref<IPXEParser> Compile(std::string_view field, int elementTypeId, const char* messageFormat);
    bool Evaluate(IPXEParser& parser, IRDXRecord* record);

    TableSourceRef context_;
    RecordRef row_;
    int subjectTypeId_ = -1;
    int objectTypeId_ = -1;
    // The record identifiers read from during an evaluation, its draw object,
    // and per identifier (its tag) the field kind of its name.
    IRDXRecord* valueRecord_ = nullptr;
    const IQTKElementDrawObj* valueDrawObj_ = nullptr;
    std::vector<TQTKMatchFieldSlot> slots_;
    Ref<IPXEParser> subjectExpr_;
    Ref<IPXEParser> objectExpr_;
    Ref<IQTKCalcStrategy> strategy_;
    TQTKStrategyCache* cache_ = nullptr;
    TQTKStrategyModule module_ = nullptr;
};

// The matcher the host keeps behind a rule row (IRDXRecord::SetObject).
class TQTKInternalQtyCalcRuleHolder final : public TInterfacedObject {
public:
    explicit TQTKInternalQtyCalcRuleHolder(std::unique_ptr<TQTKInternalQtyCalcRule> rule) : rule_(std::move(rule)) {}
    TQTKInternalQtyCalcRule* GetRule() const noexcept { return rule_.get(); }

private:
    std::unique_ptr<TQTKInternalQtyCalcRule> rule_;
};

// The expression data type of a field of an element type: looked up in the
// tables Code + "_GEO", Code + "_QTK" and "Element" of the context ("Code" of
// the type's "ElementTypeDict" row); False for a negative type or a field none
// defines. A missing dictionary or type row is an assertion failure.
bool ResolveMatchField(const TableSourceRef& context, int elementTypeId, std::string_view fieldName, int& dataType);
