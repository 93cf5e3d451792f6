// A column base's top and bottom faces: what is left of each face
// calculator, and the overlap with what the base gives way to (another base
// of a higher "ConcGradeID", at equal grades of a smaller record id; any
// other element) taken off with both superposition kinds.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnBaseOriginalTopFaceArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Face; }
};

// A face of the base, off which what the base gives way to is taken.
class TQTKColumnBaseFaceDeductByFact : public TQTKColumnBaseCapDeductByFact {
protected:
    bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const override;
};

class TQTKColumnBaseTopFaceAreaDeductByFact final : public TQTKColumnBaseFaceDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

class TQTKColumnBaseOriginalBottomFaceArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Face; }
};

class TQTKColumnBaseBottomFaceAreaDeductByFact final : public TQTKColumnBaseFaceDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

void RegisterColumnBaseFaceAreaRules(TStrategyRegistry& registry);
