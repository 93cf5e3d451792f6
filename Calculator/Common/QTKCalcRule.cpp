#include "Calculator/Common/QTKCalcRule.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/SysUtils.h"

namespace {

constexpr const char* CSubjectExprError = "构件[%s],中间量[%s],主体匹配表达式[%s]解析错误";
constexpr const char* CObjectExprError = "构件[%s],中间量[%s],客体匹配表达式[%s]解析错误";

std::string TextOf(const IRDXRecord* record, std::string_view field)
{
    if (!record || !FieldExist(record, field) || record->IsNull(field))
        return {};
    return record->GetAsString(field);
}

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

IRDXDatabase* DatabaseOf(const TableSourceRef& context)
{
    const TableSourceRef source = ResolveRuleContext(context);
    return source ? source->GetDatabase() : nullptr;
}

// The internal-quantity dictionary row of a rule row: its master
// "InternalQtyID", else the business dictionary's row of that id.
IRDXRecord* InternalQtyOf(const IRDXRecord* row)
{
    if (IRDXRecord* master = FindMasterRecord(row, "InternalQtyID"))
        return master;
    if (!FieldExist(row, "InternalQtyID") || row->IsNull("InternalQtyID"))
        return nullptr;
    const TableSourceRef business = GBusiness();
    const IRDXTable* dict = business ? FindTableNear(business->GetDatabase(), "InternalQtyDict") : nullptr;
    return dict ? dict->GetRecordByID(row->GetAsInteger("InternalQtyID")) : nullptr;
}

// The type dictionary row of an element type id; nil when none.
IRDXRecord* ElementTypeRow(const IRDXTable* dict, int elementTypeId)
{
    for (int i = 0; dict && i < dict->GetRowCount(); ++i)
        if (FieldValueInteger(dict->GetRow(i), "ElementTypeID", -1) == elementTypeId)
            return dict->GetRow(i);
    return nullptr;
}

}  // namespace

bool ResolveMatchField(const TableSourceRef& context, int elementTypeId, std::string_view fieldName, int& dataType)
{
    if (elementTypeId < 0)
        return false;
    const IRDXDatabase* database = DatabaseOf(context);
    const IRDXTable* dict = FindTableNear(database, "ElementTypeDict");
    QTK_ASSERT_MSG(dict != nullptr, "the rule context has no table \"ElementTypeDict\"");
    const IRDXRecord* typeRow = ElementTypeRow(dict, elementTypeId);
    QTK_ASSERT_MSG(typeRow != nullptr, "the element type is missing from \"ElementTypeDict\"");
    const std::string code = TextOf(typeRow, "Code");
    for (const std::string& tableName : {code + "_GEO", code + "_QTK", std::string("Element")}) {
        const IRDXTable* table = FindTableNear(database, tableName);
        if (const TRDXFieldDef* field = table ? table->FindField(fieldName) : nullptr) {
            dataType = RDXDataTypeToPXEDataType(field->type);
            return true;
        }
    }
    return false;
}

TQTKInternalQtyCalcRule::TQTKInternalQtyCalcRule(TableSourceRef context, RecordRef row, TQTKStrategyCache* cache,
                                                 TQTKStrategyModule module)
    : context_(std::move(context)), row_(std::move(row)), cache_(cache), module_(module)
{
    QTK_ASSERT(row_ != nullptr);
    if (const IRDXRecord* qty = InternalQtyOf(row_.get())) {
        subjectTypeId_ = FieldValueInteger(qty, "SubjectElementTypeID", -1);
        objectTypeId_ = FieldValueInteger(qty, "ObjectElementTypeID", -1);
    }
    subjectExpr_ = Compile("SubjectMatchExpr", subjectTypeId_, CSubjectExprError);
    objectExpr_ = Compile("ObjectMatchExpr", objectTypeId_, CObjectExprError);
    const int ruleId =
        FieldExist(row_.get(), "CalcRuleID") && !row_->IsNull("CalcRuleID") ? row_->GetAsInteger("CalcRuleID") : -1;
    if (cache_)
        strategy_ = GetStrategyByRuleId(*cache_, ruleId, module_);
}

TQTKInternalQtyCalcRule::~TQTKInternalQtyCalcRule()
{
    // A strategy is shared by every matcher of its rule id: only the matcher
    // it points to may take itself off.
    if (strategy_ && strategy_->GetMatchRule() == this)
        strategy_->SetMatchRule(nullptr);
}

Ref<IPXEParser> TQTKInternalQtyCalcRule::Compile(std::string_view field, int elementTypeId, const char* messageFormat)
{
    std::string text(Trim(TextOf(row_.get(), field)));
    if (text.empty())
        text = "True";
    Ref<IPXEParser> parser = RDXEngine("")->CreateParser();
    parser->SetValueCallback([this](IPXEIdentifierNode& node) {
        if (valueRecord_)
            GetMatchFieldValue(valueRecord_, valueDrawObj_, node.GetName(), node.Value(),
                               slots_[static_cast<size_t>(node.GetTag())]);
        else
            node.Value().SetNull();
    });
    try {
        parser->Compile(text, [this, elementTypeId](std::string_view name) {
            int dataType = 0;
            return ResolveMatchField(context_, elementTypeId, name, dataType) ? dataType : pdtInteger;
        });
    } catch (const std::exception&) {
        const IRDXRecord* qty = InternalQtyOf(row_.get());
        const IRDXRecord* typeRow = FindMasterRecord(qty, "SubjectElementTypeID");
        if (!typeRow && qty)
            typeRow = ElementTypeRow(FindTableNear(DatabaseOf(context_), "ElementTypeDict"),
                                     FieldValueInteger(qty, "SubjectElementTypeID", -1));
        throw EQTKMatchExprError(
            Format(messageFormat, {TextOf(typeRow, "Description"), TextOf(row_.get(), "Description"), text}));
    }
    for (int i = 0; i < parser->GetIdentifierCount(); ++i) {
        parser->GetIdentifier(i)->SetTag(static_cast<int>(slots_.size()));
        slots_.emplace_back();
    }
    return parser;
}

bool TQTKInternalQtyCalcRule::Evaluate(IPXEParser& parser, IRDXRecord* record)
{
    valueRecord_ = record;
    valueDrawObj_ = GetRecordDrawObj(record);
    const bool result = parser.EvaluateBoolean();
    valueRecord_ = nullptr;
    valueDrawObj_ = nullptr;
    return result;
}

bool TQTKInternalQtyCalcRule::ObjectMatches()
{
    return Evaluate(*objectExpr_, GetCandidate().get());
}

bool TQTKInternalQtyCalcRule::SubjectMatches(IRDXRecord* subject)
{
    return Evaluate(*subjectExpr_, subject);
}

bool TQTKInternalQtyCalcRule::ObjectMatches(IRDXRecord* object)
{
    SetCandidate(RecordRef(object));
    return ObjectMatches();
}
