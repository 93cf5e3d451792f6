// The area of a column's cross-section (mm²), with its formula.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

class TQTKColumnSectionArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnSectionAreaRules(TStrategyRegistry& registry);
