// The brick mould of a column base ("ColumnBaseType" 5 and above; the base
// object answers IsBrickModelType for the types below 5, which have none and
// get 0): what is left of the mould's volume calculator, and a neighbour's
// solid off it, with the neighbour's own mould too where the base's mould
// gives way to it.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnBaseBrickModelOriginalVol final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKSolidCalc3d> SolidCalcOf(IQTKCalculatorEDO& element) const override;
};

class TQTKColumnBaseBrickModelVolDeductByFact final : public TQTKColumnBaseCapDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const override;
};

void RegisterColumnBaseBrickModelRules(TStrategyRegistry& registry);
