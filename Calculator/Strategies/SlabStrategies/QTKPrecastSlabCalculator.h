// A precast slab's own area and volume. Areas mm², volumes mm³.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The area of its underside (the last face of its solid).
class TQTKPrecastSlabOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The catalogue "Volume" (m³) of a slab of section kind 5, else the volume
// of its solid.
class TQTKPrecastSlabOriginalVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterPrecastSlabRules(TStrategyRegistry& registry);
