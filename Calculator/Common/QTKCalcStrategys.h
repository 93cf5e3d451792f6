// The strategy cache: turns a rule id of the project's rule table into a rule
// object, made once per id through the GetStrategy export of the strategy
// module and shared by every matcher of that id.
#pragma once

#include <shared_mutex>
#include <vector>

#include "Calculator/Common/QTKCalcStrategyIntf.h"

// Handle of a loaded strategy module (the platform's dynamic-library handle);
// nil stands for no module.
using TQTKStrategyModule = void*;
// The module's export "GetStrategy": a new rule whose one reference the caller owns.
using TQTKGetStrategyEntry = IQTKCalcStrategy* (*)(const char* name);

// Made and filled by the host, passed to the matchers. Lookups may run on
// several threads; a miss inserts under the cache's lock.
struct TQTKStrategyCache {
    TableRef ruleTable;                             // rule rows by rule id ("StrategyName")
    Ref<IQTKCalcStrategy> defaultStrategy;          // when no rule applies
    std::vector<int> ruleIds;                       // ascending
    std::vector<Ref<IQTKCalcStrategy>> strategies;  // parallel to ruleIds
    TQTKGetStrategyEntry strategyEntry = nullptr;   // resolved on first need
    mutable std::shared_mutex lock;
};

// The strategy of a rule id: the default one for a negative id; else the
// cached one, made on the first request (a failing id caches the default
// strategy so it is not tried again).
Ref<IQTKCalcStrategy> GetStrategyByRuleId(TQTKStrategyCache& cache, int ruleId, TQTKStrategyModule module);
// Makes the strategy of a rule id without caching it (the caller holds the
// cache's lock): the rule named by the row's "StrategyName" through the
// module's export; the default strategy for a missing row or name, a nil
// module or a module without the export (which also sends "找不到策略库" to
// the host's message callback).
Ref<IQTKCalcStrategy> CreateStrategyByRuleId(TQTKStrategyCache& cache, int ruleId, TQTKStrategyModule module);

// This library as a strategy module (loaded once, never unloaded).
TQTKStrategyModule GetCalculatorModule();
