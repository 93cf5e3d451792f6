#include "Calculator/Common/QTKCalcStrategys.h"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKHostMessage.h"
#include "Host/RDX/RDXSync.h"

namespace {

// Position of the id in the ascending list and whether it is there.
std::pair<size_t, bool> FindRuleId(const std::vector<int>& ids, int ruleId)
{
    const auto it = std::lower_bound(ids.begin(), ids.end(), ruleId);
    return {static_cast<size_t>(it - ids.begin()), it != ids.end() && *it == ruleId};
}

}  // namespace

TQTKStrategyModule GetCalculatorModule()
{
    static const TQTKStrategyModule module = [] {
        Dl_info info{};
        if (!dladdr(reinterpret_cast<void*>(&GetStrategy), &info) || !info.dli_fname)
            return static_cast<void*>(nullptr);
        return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    }();
    return module;
}

Ref<IQTKCalcStrategy> CreateStrategyByRuleId(TQTKStrategyCache& cache, int ruleId, TQTKStrategyModule module)
{
    const IRDXRecord* row = cache.ruleTable ? cache.ruleTable->GetRecordByID(ruleId) : nullptr;
    if (!row || !FieldExist(row, "StrategyName") || row->IsNull("StrategyName") || !module)
        return cache.defaultStrategy;
    if (!cache.strategyEntry)
        cache.strategyEntry = reinterpret_cast<TQTKGetStrategyEntry>(dlsym(module, "GetStrategy"));
    if (!cache.strategyEntry) {
        ShowHostMessage("找不到策略库");
        return cache.defaultStrategy;
    }
    const std::string name = row->GetAsString("StrategyName");
    return Ref<IQTKCalcStrategy>::Adopt(cache.strategyEntry(name.c_str()));
}

Ref<IQTKCalcStrategy> GetStrategyByRuleId(TQTKStrategyCache& cache, int ruleId, TQTKStrategyModule module)
{
    if (ruleId < 0)
        return cache.defaultStrategy;
    {
        std::shared_lock reader(cache.lock);
        const auto [position, found] = FindRuleId(cache.ruleIds, ruleId);
        if (found)
            return cache.strategies[position];
    }
    std::unique_lock writer(cache.lock);
    const auto [position, found] = FindRuleId(cache.ruleIds, ruleId);
    if (found)
        return cache.strategies[position];
    Ref<IQTKCalcStrategy> strategy = CreateStrategyByRuleId(cache, ruleId, module);
    cache.ruleIds.insert(cache.ruleIds.begin() + static_cast<std::ptrdiff_t>(position), ruleId);
    cache.strategies.insert(cache.strategies.begin() + static_cast<std::ptrdiff_t>(position), strategy);
    return strategy;
}
