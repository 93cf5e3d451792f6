// A column base's formwork, side area (every face that is not level) and
// vertical side area: what is left of each of the base's calculators, and
// what a neighbour takes off them. Formwork goes by formwork priority (a
// concrete wall by its own solid). On the sides both of two overlapping bases
// deduct: the one with the larger record id with both superposition kinds,
// the other by contact only; any other neighbour with both.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnBaseOriginalFormBoardArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Sides; }
};

class TQTKColumnBaseFormBoardAreaDeductByFact final : public TQTKColumnBaseCapFormBoardDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

class TQTKColumnBaseOriginalSideArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Sides; }
};

// Sides: both kinds, against another base only for the larger record id.
class TQTKColumnBaseSideDeductByFact : public TQTKColumnBaseCapDeductByFact {
protected:
    int Kinds(IRDXRecord* subject, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
};

class TQTKColumnBaseSideAreaDeductByFact final : public TQTKColumnBaseSideDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

class TQTKColumnBaseOriginalVerticalSideArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Sides; }
};

class TQTKColumnBaseVertialcSideAreaDeductByFact final : public TQTKColumnBaseSideDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

void RegisterColumnBaseFormBoardAreaRules(TStrategyRegistry& registry);
