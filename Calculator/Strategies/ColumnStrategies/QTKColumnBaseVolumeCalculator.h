// A column base's concrete: the volume of its whole solid (deductions leave
// it as it is), and the overlap with another base taken off the base that
// gives way (the lower "ConcGradeID", at equal grades the larger record id),
// or any other neighbour's solid, off the base's volume calculator.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnBaseVol final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKSolidCalc3d> SolidCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Volume; }
};

class TQTKColumnBaseVolDeductByFact final : public TQTKColumnBaseCapDeductByFact {
protected:
    TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const override;
    bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const override;
};

void RegisterColumnBaseVolumeRules(TStrategyRegistry& registry);
