#include "Calculator/Common/QTKRuleOperator.h"

#include <memory>
#include <unordered_map>

#include "Calculator/Common/QTKCalcRule.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXSync.h"

namespace {

// The matcher copies of the calling thread, by the row they were made from.
// The row (and the host's matcher behind it) is held, so a key is never reused
// while it is cached.
struct TThreadMatcher {
    RecordRef row;
    std::unique_ptr<TQTKInternalQtyCalcRule> matcher;
};
constexpr size_t CMaxThreadMatchers = 4096;
thread_local std::unordered_map<const IRDXRecord*, TThreadMatcher> GThreadMatchers;

// A matcher of the row for the calling thread: a copy of the host's matcher
// behind the row (same context, cache and module), else one over the host
// calculation settings.
TQTKInternalQtyCalcRule& ThreadMatcherOf(IRDXRecord* row)
{
    auto it = GThreadMatchers.find(row);
    if (it != GThreadMatchers.end())
        return *it->second.matcher;
    if (GThreadMatchers.size() >= CMaxThreadMatchers)
        GThreadMatchers.clear();
    const auto* holder = dynamic_cast<const TQTKInternalQtyCalcRuleHolder*>(row->GetObject());
    const TQTKInternalQtyCalcRule* hostMatcher = holder ? holder->GetRule() : nullptr;
    auto matcher =
        hostMatcher ? std::make_unique<TQTKInternalQtyCalcRule>(hostMatcher->GetContext(), RecordRef(row),
                                                                hostMatcher->GetCache(), hostMatcher->GetModule())
                    : std::make_unique<TQTKInternalQtyCalcRule>(GCalculatorSetting(), RecordRef(row), nullptr, nullptr);
    TQTKInternalQtyCalcRule& result = *matcher;
    GThreadMatchers.emplace(row, TThreadMatcher{RecordRef(row), std::move(matcher)});
    return result;
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// The first dictionary row, in table order, of the type pair whose
// "Description" names the volume.
IRDXRecord* FindVolumeQty(const IRDXTable* dict, int subjectType, int objectType)
{
    for (int i = 0; i < dict->GetRowCount(); ++i) {
        IRDXRecord* row = dict->GetRow(i);
        if (FieldValueInteger(row, "SubjectElementTypeID", -1) == subjectType &&
            FieldValueInteger(row, "ObjectElementTypeID", -1) == objectType && FieldExist(row, "Description") &&
            Contains(row->GetAsString("Description"), "体积"))
            return row;
    }
    return nullptr;
}

}  // namespace

void ClearRuleQueryCache()
{
    GThreadMatchers.clear();
}

TQTKRuleQuery::TQTKRuleQuery(RecordRef subject, RecordRef object)
    : subject_(std::move(subject)), object_(std::move(object))
{
}

IRDXRecord* TQTKRuleQuery::Run() const
{
    const TableSourceRef business = GBusiness();
    const IRDXTable* dict = business ? FindTableNear(business->GetDatabase(), "InternalQtyDict") : nullptr;
    if (!dict || !subject_ || !object_)
        return nullptr;
    const IRDXRecord* qty =
        FindVolumeQty(dict, GetRecordElementTypeID(subject_.get()), GetRecordElementTypeID(object_.get()));
    const TableSourceRef settings = GCalculatorSetting();
    const IRDXDatabase* settingsDb = settings ? settings->GetDatabase() : nullptr;
    const IRDXTable* rules = settingsDb ? settingsDb->GetTable("InternalQtyCalcRule") : nullptr;
    if (!qty || !rules)
        return nullptr;
    const int qtyId = qty->GetID();
    for (int i = 0; i < rules->GetRowCount(); ++i) {
        IRDXRecord* row = rules->GetRow(i);
        if (FieldValueInteger(row, "InternalQtyID", -1) != qtyId)
            continue;
        TQTKInternalQtyCalcRule& matcher = ThreadMatcherOf(row);
        if (matcher.SubjectMatches(subject_.get()) && matcher.ObjectMatches(object_.get()))
            return row;
    }
    return nullptr;
}

IRDXRecord* TQTKRuleQuery::FindVolumeRule(const RecordRef& subject, const RecordRef& object)
{
    return TQTKRuleQuery(subject, object).Run();
}
