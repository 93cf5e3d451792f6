// The take-off: every quantity of every element of a building, as a host
// asks the rule library for them through a regional rule table, net of the
// deductions and additions the table prescribes, with the expression that
// explains each number. How a rule table is written and the order of the
// calls: docs/rule-tables.md.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalcStrategys.h"
#include "Host/QTKCommon/QTKHostMessage.h"

class TQTKElementModel;

// A rule table or model the take-off cannot use: names the file, table, row
// (1-based, 0 when not about a row) and field.
class EQTKTakeoffError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loads a rule-set file as the model's rule set "NormCalcRule" (in place of
// one the model carries, right after the business database) and moves the
// tables the library reads as business data ("InternalQtyDict") into
// "Business". Raises EQTKTakeoffError naming the file.
void AttachRuleSet(TQTKElementModel& model, const std::filesystem::path& file);

struct TQTKTakeoffOptions {
    std::vector<std::string> floors;  // names or ids; empty: every floor
    int threads = 1;
    bool details = false;  // keep each deduction and addition
    // Makes rules by name; nil: the library's own GetStrategy. Tests give
    // their own to run test-only rules.
    TQTKGetStrategyEntry strategyEntry = nullptr;
    // Whether a rule name is registered (the neutral rule answers the others).
    std::function<bool(const std::string&)> isRegistered;
    // Where messages for the user go (nil: dropped).
    TQTKHostMessageCallback messages;
    // Called now and then with (elements done, elements in all).
    std::function<void(int, int)> progress;
};

// One deduction or addition of an item: what the object element took away
// (sign -1) or added (+1), in the bill's unit.
struct TQTKTakeoffChange {
    int objectId = 0;
    std::string objectName;
    int objectType = -1;
    std::string rule;
    std::string description;  // of the internal quantity ("扣门窗洞口")
    int sign = -1;
    double amount = 0.0;  // positive, bill unit
};

struct TQTKTakeoffItem {
    int qtyId = 0;
    std::string code;
    std::string description;
    std::string unit;
    double quantity = 0.0;  // net, bill unit
    std::string expression;
    std::vector<TQTKTakeoffChange> changes;  // non-zero ones; all with details
    std::string failure;                     // empty when the item is complete
    bool unregistered = false;               // a rule of the item is not registered
};

struct TQTKTakeoffElement {
    int id = 0;
    std::string name;
    int type = -1;
    int floorId = 0;
    std::string floorName;
    std::vector<TQTKTakeoffItem> items;
};

struct TQTKTakeoffResult {
    std::vector<TQTKTakeoffElement> elements;  // per floor in floor order, by record id
    std::vector<std::string> floorNames;       // floors billed, in table order
    std::vector<std::string> failures;         // one message per failed item
    std::vector<std::string> unregistered;     // rule names, each once
    std::vector<std::string> missingSettings;  // settings tables asked for and missing
    int quantityCount = 0;
    int failedCount = 0;
};

// Runs the take-off of a model whose rule set is attached. Raises
// EQTKTakeoffError for a rule table that cannot be used (a table or field
// missing, a match expression that does not compile, a rule id without a
// "CalcRule" row, an element type without an "ElementTypeDict" row, an
// unknown floor).
TQTKTakeoffResult RunTakeoff(const TQTKElementModel& model, const TQTKTakeoffOptions& options);

enum class TQTKBillFormat { Table, Csv, Json };
void WriteBill(const TQTKTakeoffResult& result, TQTKBillFormat format, bool details, std::ostream& out);
