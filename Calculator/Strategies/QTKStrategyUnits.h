// The ordered list of rule units: each unit registers its classes here.
#pragma once

class TStrategyRegistry;

void RegisterAllStrategyUnits(TStrategyRegistry& registry);
