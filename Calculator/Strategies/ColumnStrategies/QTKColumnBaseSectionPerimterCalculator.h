// The perimeter of a column base's plan.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnBaseSectionPerimeter final : public TQTKColumnBaseCapSectionPerimeterRule {};

void RegisterColumnBaseSectionPerimeterRules(TStrategyRegistry& registry);
