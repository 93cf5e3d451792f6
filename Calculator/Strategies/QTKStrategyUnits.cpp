#include "Calculator/Strategies/QTKStrategyUnits.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

// Each rule unit declares its registration function here and is called below
// in the units' order.
void RegisterWallSizeRules(TStrategyRegistry& registry);
void RegisterWallAreaRules(TStrategyRegistry& registry);

void RegisterAllStrategyUnits(TStrategyRegistry& registry)
{
    RegisterWallSizeRules(registry);
    RegisterWallAreaRules(registry);
}
