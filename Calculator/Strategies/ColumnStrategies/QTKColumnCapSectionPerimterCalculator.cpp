#include "Calculator/Strategies/ColumnStrategies/QTKColumnCapSectionPerimterCalculator.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

void RegisterColumnCapSectionPerimeterRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnCapSectionPerimeter);
}
