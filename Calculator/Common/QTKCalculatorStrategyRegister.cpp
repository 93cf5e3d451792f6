#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

#include "Calculator/Strategies/QTKStrategyUnits.h"

bool TStrategyRegistry::RegisterStrategy(std::string_view name, TQTKStrategyClass ruleClass)
{
    if (list_.Add(name, ruleClass))
        return true;
    duplicates_.emplace_back(name);
    return false;
}

TQTKStrategyClass TStrategyRegistry::FindClass(std::string_view name) const
{
    const TQTKStrategyClass* found = list_.Find(name);
    return found ? *found : nullptr;
}

Ref<IQTKCalcStrategy> TStrategyRegistry::CreateStrategy(std::string_view name) const
{
    const TQTKStrategyClass ruleClass = FindClass(name);
    TQTKCalcStrategy* rule = ruleClass ? ruleClass() : new TQTKCalcStrategy();
    return Ref<IQTKCalcStrategy>(rule);
}

std::vector<std::string> TStrategyRegistry::Names() const
{
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(list_.Count()));
    for (const auto& entry : list_)
        names.push_back(entry.first);
    return names;
}

const TStrategyRegistry& GStrategyList()
{
    // Built once, on first use, by a thread-safe static: read-only afterwards.
    static const TStrategyRegistry registry = [] {
        TStrategyRegistry r;
        RegisterAllStrategyUnits(r);
        return r;
    }();
    return registry;
}

Ref<IQTKCalcStrategy> NewStrategy(std::string_view name)
{
    return GStrategyList().CreateStrategy(name);
}

extern "C" IQTKCalcStrategy* GetStrategy(const char* name)
{
    try {
        return NewStrategy(name ? std::string_view(name) : std::string_view()).Detach();
    } catch (...) {
        return nullptr;  // out of memory: nothing may escape a C entry
    }
}
