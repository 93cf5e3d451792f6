// The perimeter of a column cap's plan.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnCapSectionPerimeter final : public TQTKColumnBaseCapSectionPerimeterRule {};

void RegisterColumnCapSectionPerimeterRules(TStrategyRegistry& registry);
