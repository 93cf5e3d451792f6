// A column cap's concrete: what is left of the cap's volume calculator, and
// the overlap with another cap taken off the cap that gives way (the lower
// "ConcGradeID", at equal grades the larger record id), or any other
// neighbour's solid.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnCapOriginalVolume final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKSolidCalc3d> SolidCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Volume; }
};

class TQTKColumnCapVolDeductByFact final : public TQTKColumnBaseCapDeductByFact {
protected:
    TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const override;
    bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const override;
};

void RegisterColumnCapVolumeRules(TStrategyRegistry& registry);
