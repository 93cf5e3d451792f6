// A column cap's formwork (its sides and soffit), side area (without the
// soffit) and soffit: what is left of each of the cap's calculators, and what
// a neighbour takes off them. Formwork goes by formwork priority (a concrete
// wall by its own solid); the sides lose every neighbour with both
// superposition kinds; the soffit loses only what the cap gives way to.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnCapOriginalFormBoardArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::FormboardAndSoffit; }
};

class TQTKColumnCapFormBoardAreaDeductByFact final : public TQTKColumnBaseCapFormBoardDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

class TQTKColumnCapOriginalSideArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Sides; }
};

class TQTKColumnCapSideAreaDeductByFact final : public TQTKColumnBaseCapDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

class TQTKColumnCapOriginalBottomArea final : public TQTKColumnBaseCapOriginalQty {
protected:
    std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const override;
    TQTKBaseCapExpr Expr() const override { return TQTKBaseCapExpr::Face; }
};

class TQTKColumnCapBottomDeductByFact final : public TQTKColumnBaseCapDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
    bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const override;
};

void RegisterColumnCapFormBoardAreaRules(TStrategyRegistry& registry);
