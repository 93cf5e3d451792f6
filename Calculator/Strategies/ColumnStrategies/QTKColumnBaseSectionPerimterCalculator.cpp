#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseSectionPerimterCalculator.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

void RegisterColumnBaseSectionPerimeterRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnBaseSectionPerimeter);
}
