// The perimeter of a column's cross-section (mm), and the perimeter its
// scaffolding is measured on: the outline not held against concrete walls.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

class TQTKColumnSectionPerimeter final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The column's "Perimeter" less the outline that concrete walls beside it
// cover; the whole "Perimeter" for a column standing alone, or when nothing
// of the outline is left.
class TQTKColumnScaffoldSectionPerimeterDedcutWall final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnSectionPerimeterRules(TStrategyRegistry& registry);
