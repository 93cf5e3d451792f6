// One calculation as a host runs it. The scope starts a calculation session
// with its options (tables, detail mode, threads), installs the message
// callback and a deduction-detail container of its own for the calling thread,
// and gives every record it is asked about its current quantity and the
// scope's expression mode. When it ends, also by an exception, it frees what
// the rule library made (the release hook), starts an empty session (so no
// tables, records or per-record data of the calculation stay reachable) and
// puts back the calling thread's detail mode, detail container and the message
// callback it found.
//
// Scopes do not nest; calculations on other threads run inside the scope of
// the thread that made it and install their own detail containers.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKHostMessage.h"

struct TQTKCalculationScopeOptions {
    TQTKCalcSessionOptions session;    // tables, detail mode, multiThread
    TQTKHostMessageCallback messages;  // nil: messages are dropped
    bool exprMode = false;             // the quantities begun write their expressions
    // Run first when the scope ends: the rule library's FreeCalcEDOs, so that
    // element objects go before the model they refer to.
    std::function<void()> release;
};

class TQTKCalculationScope {
public:
    explicit TQTKCalculationScope(TQTKCalculationScopeOptions options = {});
    ~TQTKCalculationScope();
    TQTKCalculationScope(const TQTKCalculationScope&) = delete;
    TQTKCalculationScope& operator=(const TQTKCalculationScope&) = delete;

    // Makes Key the record's current quantity (key, code and description) with
    // the scope's expression mode; returns the record's data.
    TQTKEdoGlobalData& BeginQuantity(int recordId, const std::string& key);
    // The expression text written for the record's quantity key; none when
    // nothing was written.
    std::optional<std::string> ExprText(int recordId, const std::string& key) const;
    // The calling thread's detail container while the scope lasts.
    TQTKDeductDetailContainer& Details() { return *details_; }

private:
    TQTKCalculationScopeOptions options_;
    std::unique_ptr<TQTKDeductDetailContainer> details_;
    bool savedDetailMode_;
    TQTKDeductDetailContainer* savedContainer_;
    TQTKHostMessageCallback savedMessages_;
};
