#include "Tools/qtkcalc/QTKTakeoff.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKOriginalQty.h"
#include "Calculator/Common/QTKCalcRule.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXJsonModel.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

constexpr const char* CRuleSetName = "NormCalcRule";
// Tables of a rule-set file that the library reads as business data.
constexpr const char* CBusinessTables[] = {"InternalQtyDict"};

// Bill quantities in expressions: 4 decimals, as the rules print sizes.
double RoundBill(double value)
{
    return FRound(value, 4, 1e-12);
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string TextField(const IRDXRecord* record, std::string_view field)
{
    if (!record || !FieldExist(record, field) || record->IsNull(field))
        return {};
    return record->GetAsString(field);
}

bool IsNullField(const IRDXRecord* record, std::string_view field)
{
    return !FieldExist(record, field) || record->IsNull(field);
}

// ---------------------------------------------------------------------------
// The rule table as the take-off reads it

struct TChangeRow {
    IRDXRecord* dictRow = nullptr;  // "InternalQtyDict"
    int objectType = -1;
    int sign = -1;
    std::string description;
};

struct TBillItem {
    IRDXRecord* row = nullptr;  // "ElementQtyDict"
    int id = 0;
    int elementType = -1;
    std::string code;
    std::string description;
    std::string unit;
    double toBill = 1.0;                // model unit -> bill unit
    IRDXRecord* originalRow = nullptr;  // "InternalQtyDict"
    std::vector<TChangeRow> changes;
};

struct TRuleTable {
    TableSourceRef business;
    TableSourceRef ruleSet;
    std::vector<int> phases;                      // element types in bill order
    std::map<int, std::vector<TBillItem>> items;  // by element type
    // "InternalQtyCalcRule" rows per internal quantity id, in table order.
    std::map<int, std::vector<IRDXRecord*>> ruleRows;
    std::vector<IRDXRecord*> allRuleRows;
};

class TTableReader {
public:
    TTableReader(const IRDXDatabase* database, std::string name) : name_(std::move(name))
    {
        table_ = database ? database->GetTable(name_) : nullptr;
        if (!table_)
            throw EQTKTakeoffError("the rule set has no table " + Quoted(name_));
    }
    const IRDXTable* Table() const { return table_; }
    void Require(std::string_view field) const
    {
        if (!FieldExist(table_, field))
            throw EQTKTakeoffError("table " + Quoted(name_) + ": no field " + Quoted(field));
    }
    [[noreturn]] void Fail(int row, std::string_view field, const std::string& reason) const
    {
        throw EQTKTakeoffError("table " + Quoted(name_) + ", row " + std::to_string(row + 1) + ", field " +
                               Quoted(field) + ": " + reason);
    }
    int Integer(int row, std::string_view field) const
    {
        const IRDXRecord* record = table_->GetRow(row);
        if (record->IsNull(field))
            Fail(row, field, "no value");
        return record->GetAsInteger(field);
    }

private:
    std::string name_;
    const IRDXTable* table_ = nullptr;
};

double UnitFactor(const std::string& unit)
{
    if (SameText(unit, "m"))
        return 1e-3;
    if (SameText(unit, "m2"))
        return 1e-6;
    if (SameText(unit, "m3"))
        return 1e-9;
    return 1.0;
}

TRuleTable ReadRuleTable(const TQTKElementModel& model)
{
    TRuleTable rules;
    const IRDXModel* rdx = model.GetRDXModel();
    const IRDXDatabase* ruleSet = rdx->GetDatabaseByName(CRuleSetName);
    if (!ruleSet)
        throw EQTKTakeoffError("the model has no rule set (database " + Quoted(CRuleSetName) + ")");
    rules.business = TableSourceRef(model.GetBusiness());
    rules.ruleSet = TableSourceRef(dynamic_cast<IRDXTableSource*>(const_cast<IRDXDatabase*>(ruleSet)));

    const TTableReader bill(ruleSet, "ElementQtyDict");
    for (const char* field : {"ID", "ElementTypeID", "Code", "Description", "Unit"})
        bill.Require(field);
    const TTableReader dict(model.GetBusiness(), "InternalQtyDict");
    for (const char* field : {"ID", "SubjectElementTypeID", "ObjectElementTypeID", "Description", "QtyID", "Sign"})
        dict.Require(field);
    const TTableReader calcRules(ruleSet, "InternalQtyCalcRule");
    for (const char* field : {"InternalQtyID", "SubjectMatchExpr", "ObjectMatchExpr", "CalcRuleID"})
        calcRules.Require(field);
    const TTableReader ruleNames(ruleSet, "CalcRule");
    ruleNames.Require("StrategyName");
    const TTableReader types(ruleSet, "ElementTypeDict");
    types.Require("ElementTypeID");

    std::map<int, TBillItem*> itemById;
    for (int i = 0; i < bill.Table()->GetRowCount(); ++i) {
        IRDXRecord* row = bill.Table()->GetRow(i);
        TBillItem item;
        item.row = row;
        item.id = row->GetID();
        item.elementType = bill.Integer(i, "ElementTypeID");
        item.code = TextField(row, "Code");
        item.description = TextField(row, "Description");
        item.unit = TextField(row, "Unit");
        item.toBill = UnitFactor(item.unit);
        if (item.code.empty())
            bill.Fail(i, "Code", "no value");
        if (std::find(rules.phases.begin(), rules.phases.end(), item.elementType) == rules.phases.end())
            rules.phases.push_back(item.elementType);
        rules.items[item.elementType].push_back(std::move(item));
    }
    for (auto& [type, items] : rules.items)
        for (TBillItem& item : items)
            itemById[item.id] = &item;

    for (int i = 0; i < dict.Table()->GetRowCount(); ++i) {
        IRDXRecord* row = dict.Table()->GetRow(i);
        const int qtyId = dict.Integer(i, "QtyID");
        const auto it = itemById.find(qtyId);
        if (it == itemById.end())
            dict.Fail(i, "QtyID", "no row " + std::to_string(qtyId) + " in \"ElementQtyDict\"");
        TBillItem& item = *it->second;
        if (IsNullField(row, "ObjectElementTypeID")) {
            if (item.originalRow)
                dict.Fail(i, "QtyID", "a second original quantity of bill item " + std::to_string(qtyId));
            item.originalRow = row;
            continue;
        }
        TChangeRow change;
        change.dictRow = row;
        change.objectType = row->GetAsInteger("ObjectElementTypeID");
        change.sign = dict.Integer(i, "Sign") < 0 ? -1 : 1;
        change.description = TextField(row, "Description");
        item.changes.push_back(std::move(change));
    }
    for (const auto& [id, item] : itemById)
        if (!item->originalRow)
            throw EQTKTakeoffError("table \"ElementQtyDict\", bill item " + std::to_string(id) +
                                   ": no original quantity in \"InternalQtyDict\"");

    for (int i = 0; i < calcRules.Table()->GetRowCount(); ++i) {
        IRDXRecord* row = calcRules.Table()->GetRow(i);
        const int qtyId = calcRules.Integer(i, "InternalQtyID");
        if (!dict.Table()->GetRecordByID(qtyId))
            calcRules.Fail(i, "InternalQtyID", "no row " + std::to_string(qtyId) + " in \"InternalQtyDict\"");
        if (!IsNullField(row, "CalcRuleID")) {
            const int ruleId = row->GetAsInteger("CalcRuleID");
            const IRDXRecord* named = ruleNames.Table()->GetRecordByID(ruleId);
            if (!named)
                calcRules.Fail(i, "CalcRuleID", "no row " + std::to_string(ruleId) + " in \"CalcRule\"");
            if (TextField(named, "StrategyName").empty())
                throw EQTKTakeoffError("table \"CalcRule\", rule " + std::to_string(ruleId) +
                                       ", field \"StrategyName\": no value");
        }
        rules.ruleRows[qtyId].push_back(row);
        rules.allRuleRows.push_back(row);
    }

    // Every element type billed or deducting has a dictionary row (the
    // matcher types its identifiers through it).
    std::set<int> known;
    for (int i = 0; i < types.Table()->GetRowCount(); ++i)
        known.insert(types.Integer(i, "ElementTypeID"));
    for (int i = 0; i < model.GetElementCount(); ++i) {
        const IQTKElementDrawObj* element = model.GetElement(i);
        if (!known.count(element->GetElementTypeID()))
            throw EQTKTakeoffError("table \"ElementTypeDict\": no row for element type " +
                                   std::to_string(element->GetElementTypeID()) + " (" +
                                   GetElementTypeName(element->GetElementTypeID()) + ", element " +
                                   std::to_string(element->GetIndexKey()) + ")");
    }
    return rules;
}

// ---------------------------------------------------------------------------
// Matchers: every worker keeps its own (a matcher evaluates on one thread at
// a time); the strategy cache behind them is shared.

class TMatcherSet {
public:
    TMatcherSet(const TRuleTable& rules, TQTKStrategyCache& cache)
    {
        for (IRDXRecord* row : rules.allRuleRows)
            matchers_[row] =
                std::make_unique<TQTKInternalQtyCalcRule>(rules.ruleSet, RecordRef(row), &cache, GetCalculatorModule());
    }
    TQTKInternalQtyCalcRule& Of(IRDXRecord* row) { return *matchers_.at(row); }

private:
    std::map<IRDXRecord*, std::unique_ptr<TQTKInternalQtyCalcRule>> matchers_;
};

// The first rule row of an internal quantity that matches (subject alone
// when object is nil); nil when none does.
TQTKInternalQtyCalcRule* FirstMatch(const TRuleTable& rules, TMatcherSet& matchers, int internalQtyId,
                                    IRDXRecord* subject, IRDXRecord* object)
{
    const auto it = rules.ruleRows.find(internalQtyId);
    if (it == rules.ruleRows.end())
        return nullptr;
    for (IRDXRecord* row : it->second) {
        TQTKInternalQtyCalcRule& matcher = matchers.Of(row);
        if (!matcher.SubjectMatches(subject))
            continue;
        if (object && !matcher.ObjectMatches(object))
            continue;
        return &matcher;
    }
    return nullptr;
}

// The "StrategyName" of a rule row's "CalcRuleID"; empty when the row computes nothing.
std::string RuleNameOf(const TRuleTable& rules, const IRDXRecord* row)
{
    if (IsNullField(row, "CalcRuleID"))
        return {};
    const IRDXTable* names = rules.ruleSet->GetDatabase()->GetTable("CalcRule");
    return TextField(names->GetRecordByID(row->GetAsInteger("CalcRuleID")), "StrategyName");
}

std::string ElementName(const IQTKElementDrawObj* element)
{
    return element ? TextField(element->GetRecord(), "Name") : std::string();
}

std::string ElementLabel(const IQTKElementDrawObj* element)
{
    std::string label = std::to_string(element->GetIndexKey());
    const std::string name = ElementName(element);
    if (!name.empty())
        label += " " + name;
    return label + " (" + GetElementTypeName(element->GetElementTypeID()) + ")";
}

// A boolean the geometry refused inside a rule: the rule's amount is not to
// be trusted, so the item fails naming the operation and the object.
void ThrowOnGeometryFailures()
{
    const std::vector<TQTKGeometryFailure> failures = TakeThreadGeometryFailures();
    if (failures.empty())
        return;
    const TQTKGeometryFailure& failure = failures.front();
    const char* operation = failure.kind == CVRMBoolUnion       ? "union"
                            : failure.kind == CVRMBoolIntersect ? "intersection"
                                                                : "subtraction";
    std::string text = std::string("the solid ") + operation + " failed";
    if (failure.objectId >= 0)
        text += " (object " + std::to_string(failure.objectId) + ")";
    throw std::runtime_error(text);
}

struct TRunContext {
    const TQTKElementModel& model;
    const TQTKTakeoffOptions& options;
    const TRuleTable& rules;
    TQTKStrategyCache& cache;
    std::set<std::string> unregisteredNames;  // filled before the run
};

// One bill item of one subject, as the host computes it.
TQTKTakeoffItem ComputeItem(TRunContext& run, TMatcherSet& matchers, const IQTKElementDrawObj& element,
                            IQTKCalculatorEDO& edo, const TBillItem& bill, bool& applies)
{
    IRDXRecord* subject = element.GetRecord();
    TQTKTakeoffItem item;
    item.qtyId = bill.id;
    item.code = bill.code;
    item.description = bill.description;
    item.unit = bill.unit;
    applies = true;

    const int originalId = bill.originalRow->GetID();
    TQTKInternalQtyCalcRule* original = FirstMatch(run.rules, matchers, originalId, subject, nullptr);
    if (!original) {
        applies = false;  // the table does not bill this item for such an element
        return item;
    }
    const int recordId = subject->GetID();
    TQTKEdoGlobalData* data = GetEdoGlobalData(recordId);
    data->SetCurQty(bill.code, bill.code, bill.description);
    data->SetIsExprMode(true);
    edo.ResetForQty(bill.row);
    if (run.options.details) {
        if (TQTKDeductDetailContainer* container = GetDeductDetailContainer())
            container->Clear();
        edo.FillDeductDetail(bill.row);
    }

    std::string rule = RuleNameOf(run.rules, original->GetRow().get());
    std::string step = "original quantity";
    try {
        double net = 0.0;
        TakeThreadGeometryFailures();
        if (rule.empty()) {
            const std::optional<double> value = GetOriginalQtyByQtyId(&edo, bill.id);
            if (!value)
                throw std::runtime_error("no original quantity");
            net = *value;
        } else {
            item.unregistered = run.unregisteredNames.count(rule) > 0;
            net = original->GetStrategy()->Calculate(RecordRef(subject), RecordRef(), run.rules.business,
                                                     run.rules.ruleSet);
        }
        ThrowOnGeometryFailures();
        std::string text;
        if (!data->GetShownExprText(bill.code, text))
            text = FloatToStr(RoundBill(net * bill.toBill));

        for (const TChangeRow& changeRow : bill.changes) {
            TRecordList related;
            edo.GetRelatedByType(changeRow.objectType, &related);
            for (const RecordRef& object : related) {
                TQTKInternalQtyCalcRule* matcher =
                    FirstMatch(run.rules, matchers, changeRow.dictRow->GetID(), subject, object.get());
                if (!matcher)
                    continue;
                rule = RuleNameOf(run.rules, matcher->GetRow().get());
                if (rule.empty())
                    continue;  // the table computes nothing for this pair
                const IQTKElementDrawObj* other = GetRecordDrawObj(object.get());
                step = "object " + std::to_string(object->GetID());
                item.unregistered = item.unregistered || run.unregisteredNames.count(rule) > 0;
                const double amount = matcher->GetStrategy()->Calculate(RecordRef(subject), object, run.rules.business,
                                                                        run.rules.ruleSet);
                ThrowOnGeometryFailures();
                net += changeRow.sign * amount;
                if (amount == 0.0 && !run.options.details)
                    continue;
                TQTKTakeoffChange change;
                change.objectId = object->GetID();
                change.objectName = ElementName(other);
                change.objectType = other ? other->GetElementTypeID() : changeRow.objectType;
                change.rule = rule;
                change.description = changeRow.description;
                change.sign = changeRow.sign;
                change.amount = amount * bill.toBill;
                if (amount != 0.0)
                    text += Format(changeRow.sign < 0 ? "-%g<%s>" : "+%g<%s>",
                                   {RoundBill(change.amount), change.description});
                item.changes.push_back(std::move(change));
            }
        }
        item.quantity = net * bill.toBill;
        item.expression = std::move(text);
        edo.AddQtyItem(bill.code, item.quantity);
        GEdoQtyManager().Add(false, element.GetElementTypeID(), bill.code,
                             TQTKInternalQtyEntry{recordId, item.quantity});
    } catch (const std::exception& error) {
        item.failure = "element " + ElementLabel(&element) + ", item " + bill.code + " " + bill.description +
                       ", rule " + (rule.empty() ? std::string("(calculator)") : rule) + ", " + step + ": " +
                       error.what();
    }
    edo.FreeCalcCache();
    return item;
}

TQTKTakeoffElement ComputeElement(TRunContext& run, TMatcherSet& matchers, const IQTKElementDrawObj& element,
                                  const std::vector<TBillItem>& bill)
{
    TQTKTakeoffElement result;
    result.id = element.GetIndexKey();
    result.name = ElementName(&element);
    result.type = element.GetElementTypeID();
    result.floorId = element.GetFloorID();
    Ref<IQTKCalculatorEDO> edo;
    try {
        edo = GetCalcEDO(element.GetRecord(), true);
    } catch (const std::exception& error) {
        TQTKTakeoffItem item;
        item.failure = "element " + ElementLabel(&element) + ": " + error.what();
        result.items.push_back(std::move(item));
        return result;
    }
    for (const TBillItem& item : bill) {
        bool applies = true;
        TQTKTakeoffItem computed = ComputeItem(run, matchers, element, *edo, item, applies);
        if (applies)
            result.items.push_back(std::move(computed));
    }
    return result;
}

struct TFloorInfo {
    int id = 0;
    std::string name;
    int order = 0;
};

std::map<int, TFloorInfo> ReadFloors(const TQTKElementModel& model)
{
    std::map<int, TFloorInfo> floors;
    const IRDXTable* table = model.GetBusiness()->GetTable("Floor");
    for (int i = 0; table && i < table->GetRowCount(); ++i) {
        const IRDXRecord* row = table->GetRow(i);
        floors[row->GetID()] = TFloorInfo{row->GetID(), TextField(row, "Name"), i};
    }
    return floors;
}

std::set<int> SelectFloors(const std::map<int, TFloorInfo>& floors, const std::vector<std::string>& wanted)
{
    std::set<int> selected;
    for (const std::string& name : wanted) {
        bool found = false;
        for (const auto& [id, floor] : floors)
            if (floor.name == name || std::to_string(id) == name) {
                selected.insert(id);
                found = true;
            }
        if (!found)
            throw EQTKTakeoffError("no floor named " + Quoted(name));
    }
    return selected;
}

}  // namespace

void AttachRuleSet(TQTKElementModel& model, const std::filesystem::path& file)
{
    try {
        TRDXModel& rdx = *model.GetRDXModel();
        TRDXDatabase* ruleSet = AttachRDXDatabaseFile(rdx, file, CRuleSetName, 1);
        for (const char* name : CBusinessTables)
            if (Ref<TRDXTable> table = ruleSet->RemoveTable(name))
                model.GetBusiness()->AddTable(std::move(table));
        rdx.Validate();
    } catch (const std::exception& error) {
        throw EQTKTakeoffError(file.string() + ": " + error.what());
    }
}

TQTKTakeoffResult RunTakeoff(const TQTKElementModel& model, const TQTKTakeoffOptions& options)
{
    const TRuleTable rules = ReadRuleTable(model);
    const std::map<int, TFloorInfo> floors = ReadFloors(model);
    const std::set<int> selected = SelectFloors(floors, options.floors);
    const auto billed = [&](const IQTKElementDrawObj* element) {
        return selected.empty() || selected.count(element->GetFloorID()) > 0;
    };

    TQTKStrategyCache cache;
    cache.ruleTable = TableRef(rules.ruleSet->GetDatabase()->GetTable("CalcRule"));
    cache.defaultStrategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(""));
    cache.strategyEntry = options.strategyEntry;

    TRunContext run{model, options, rules, cache, {}};
    TQTKTakeoffResult result;
    // Rule names the library does not know answer with the neutral rule:
    // each is reported once, and the items it computes are marked.
    const auto isRegistered = options.isRegistered ? options.isRegistered : [](const std::string& name) {
        return GStrategyList().FindClass(name) != nullptr;
    };
    for (const IRDXRecord* row : rules.allRuleRows) {
        const std::string name = RuleNameOf(rules, row);
        if (name.empty())
            continue;
        if (!isRegistered(name) && run.unregisteredNames.insert(name).second)
            result.unregistered.push_back(name);
    }

    model.Activate();
    TQTKCalculationScopeOptions scopeOptions;
    scopeOptions.session.business = rules.business;
    scopeOptions.session.calculatorSetting = rules.ruleSet;
    scopeOptions.session.multiThread = options.threads > 1;
    scopeOptions.release = FreeCalcEDOs;
    scopeOptions.messages = options.messages;
    TQTKCalculationScope scope(std::move(scopeOptions));

    // Matchers of the calling thread; a match expression that does not
    // compile stops the take-off here.
    std::unique_ptr<TMatcherSet> mainMatchers;
    try {
        mainMatchers = std::make_unique<TMatcherSet>(rules, cache);
    } catch (const EQTKMatchExprError& error) {
        throw EQTKTakeoffError(std::string("table \"InternalQtyCalcRule\": ") + error.what());
    }

    // Subjects per phase in record-id order.
    std::vector<std::vector<const IQTKElementDrawObj*>> phases;
    int total = 0;
    for (int type : rules.phases) {
        std::vector<const IQTKElementDrawObj*> subjects;
        for (int i = 0; i < model.GetElementCount(); ++i)
            if (model.GetElement(i)->GetElementTypeID() == type && billed(model.GetElement(i)))
                subjects.push_back(model.GetElement(i));
        std::sort(subjects.begin(), subjects.end(),
                  [](auto* a, auto* b) { return a->GetIndexKey() < b->GetIndexKey(); });
        total += static_cast<int>(subjects.size());
        phases.push_back(std::move(subjects));
    }

    std::vector<TQTKTakeoffElement> computed;
    std::atomic<int> done{0};
    const int threadCount = std::max(1, options.threads);
    for (size_t p = 0; p < phases.size(); ++p) {
        const auto& subjects = phases[p];
        const std::vector<TBillItem>& bill = rules.items.at(rules.phases[p]);
        std::vector<TQTKTakeoffElement> phaseResults(subjects.size());
        std::atomic<size_t> next{0};
        const auto work = [&](TMatcherSet& matchers) {
            for (size_t i = next++; i < subjects.size(); i = next++) {
                phaseResults[i] = ComputeElement(run, matchers, *subjects[i], bill);
                const int count = ++done;
                if (options.progress)
                    options.progress(count, total);
            }
        };
        const auto workOnThread = [&]() {
            TQTKDeductDetailContainer details;
            SetDeductDetailContainer(&details);
            TQTKDetailModeScope detailMode(options.details);
            TMatcherSet matchers(rules, cache);
            work(matchers);
            SetDeductDetailContainer(nullptr);
        };
        if (threadCount == 1 || subjects.size() < 2) {
            TQTKDetailModeScope detailMode(options.details);
            work(*mainMatchers);
        } else {
            std::vector<std::thread> workers;
            const int count = std::min<int>(threadCount, static_cast<int>(subjects.size()));
            for (int t = 0; t < count; ++t)
                workers.emplace_back(workOnThread);
            for (std::thread& worker : workers)
                worker.join();
        }
        for (TQTKTakeoffElement& element : phaseResults)
            computed.push_back(std::move(element));
    }

    // The bill: floors in table order, elements by record id.
    for (auto& element : computed) {
        const auto floor = floors.find(element.floorId);
        element.floorName = floor != floors.end() ? floor->second.name : std::string();
    }
    std::stable_sort(computed.begin(), computed.end(), [&](const auto& a, const auto& b) {
        const auto fa = floors.find(a.floorId), fb = floors.find(b.floorId);
        const int oa = fa != floors.end() ? fa->second.order : -1, ob = fb != floors.end() ? fb->second.order : -1;
        return oa != ob ? oa < ob : a.id < b.id;
    });
    std::vector<const TFloorInfo*> billedFloors;
    for (const auto& [id, floor] : floors)
        if (selected.empty() || selected.count(id))
            billedFloors.push_back(&floor);
    std::sort(billedFloors.begin(), billedFloors.end(), [](auto* a, auto* b) { return a->order < b->order; });
    for (const TFloorInfo* floor : billedFloors)
        result.floorNames.push_back(floor->name);
    for (const auto& element : computed)
        for (const auto& item : element.items) {
            ++result.quantityCount;
            if (!item.failure.empty()) {
                ++result.failedCount;
                result.failures.push_back(item.failure);
            }
        }
    result.elements = std::move(computed);
    result.missingSettings = GetMissingSettingTables();
    return result;
}
