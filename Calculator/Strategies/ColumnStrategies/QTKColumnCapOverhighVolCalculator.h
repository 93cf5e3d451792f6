// The concrete of a column cap above the critical height: the weighted volume
// of its pieces (built on first use by whichever rule comes first and kept on
// the cap object, with the formwork outside detail mode and the value list),
// and the overlap with the cap it gives way to, or any other neighbour's
// solid, off every piece. 0 for a cap that is not over height.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnCapOriginalOverhighVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKColumnCapOverHeightDeductByFact final : public TQTKColumnBaseCapDeductByFact {
protected:
    TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const override;
    bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const override;
};

void RegisterColumnCapOverhighVolRules(TStrategyRegistry& registry);
