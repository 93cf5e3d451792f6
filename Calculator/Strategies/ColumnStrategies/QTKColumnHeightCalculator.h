// A column's height (mm): from its calculation bottom to its calculation top
// (a column base below and a column cap above already taken off), and the
// stretch of its centre line that a neighbouring element takes.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// Less than 1 mm counts as no height.
class TQTKColumnOriginalHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// What the neighbour's solid takes of the centre line still left: a stretch
// two neighbours share is deducted once.
class TQTKColumnVolHeightDeductByFact final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnHeightRules(TStrategyRegistry& registry);
