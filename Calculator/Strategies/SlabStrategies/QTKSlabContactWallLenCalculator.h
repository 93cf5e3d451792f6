// The length along which a slab's soffit meets the sides of the walls under
// it, carried round the columns that stand in those lines and broken by the
// openings in the walls. The lines are kept on the slab's element object, so
// that flights can take their part off. Lengths are mm.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The slab's contact length with the walls under it, measured afresh.
class TQTKSlabOriginalContactWallLen final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The part of those lines a stair flight covers.
class TQTKSlabContactWallLenDeductFlight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterSlabContactWallLenRules(TStrategyRegistry& registry);
