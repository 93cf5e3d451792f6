// The rule families of column caps (type 27) and column bases (type 28).
// Their element objects keep one calculator per quantity (volume, formwork,
// side, vertical side, top and bottom faces, over-height volume and
// formwork); an original rule reports what is left of its calculator, with
// the expression when there is any, and a deduction takes one neighbour's
// solid off it. Between two caps (two bases) a precedence decides which one
// gives way and deducts the overlap; the formwork deductions go by formwork
// priority. The hooks: the stored calculator, the expression, the precedence
// test and the superposition kinds.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKShellTarget.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

class IQTKCalculatorEDO;
class IQTKColumnBaseCalculatorEDO;
class IQTKColumnCapCalculatorEDO;
class TQTKShellCalc3d;

using TQTKCapShellGetter = std::shared_ptr<TQTKShellCalc3d> (IQTKColumnCapCalculatorEDO::*)();
using TQTKBaseShellGetter = std::shared_ptr<TQTKShellCalc3d> (IQTKColumnBaseCalculatorEDO::*)();
// One of the shell calculators of a cap's (base's) object; nil for an element of another kind.
std::shared_ptr<TQTKShellCalc3d> CapShellCalc(IQTKCalculatorEDO& element, TQTKCapShellGetter get);
std::shared_ptr<TQTKShellCalc3d> BaseShellCalc(IQTKCalculatorEDO& element, TQTKBaseShellGetter get);
// The same of the subject's object, as a deduction takes from it.
TQTKShellTarget CapShellOf(const RecordRef& subject, TQTKCapShellGetter get);
TQTKShellTarget BaseShellOf(const RecordRef& subject, TQTKBaseShellGetter get);

// How an original quantity is written out.
enum class TQTKBaseCapExpr {
    None,
    Volume,              // the calculator's remaining solid
    FormboardAndSoffit,  // sides plus the length x width term
    Sides,               // sides only
    Face,                // the calculator's shell
};

// The current quantity of a stored calculator, with its expression when above 0.
class TQTKColumnBaseCapOriginalQty : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The calculator read: a volume one, else an area one; neither: 0.
    virtual std::shared_ptr<TQTKSolidCalc3d> SolidCalcOf(IQTKCalculatorEDO& element) const;
    virtual std::shared_ptr<TQTKShellCalc3d> ShellCalcOf(IQTKCalculatorEDO& element) const;
    virtual TQTKBaseCapExpr Expr() const { return TQTKBaseCapExpr::None; }
};

// The neighbour's own solid off a stored calculator, when the subject gives
// way to it.
class TQTKColumnBaseCapDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The calculator taken from: a volume, else an area; neither: 0.
    virtual TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext) const;
    virtual TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext) const;
    // The precedence test: the subject gives way to the object; always by default.
    virtual bool GivesWay(IRDXRecord* subject, IRDXRecord* object) const;
    // Superposition kinds of an area deduction; both by default.
    virtual int Kinds(IRDXRecord* subject, IRDXRecord* object, const TableSourceRef& ruleContext) const;
    // A concrete wall goes by its own solid less the fill walls laid in it.
    virtual bool WallsByOwnSolid() const { return false; }
};

// Formwork: by formwork priority (both kinds when the neighbour's wins,
// contact only otherwise), a concrete wall by its own solid.
class TQTKColumnBaseCapFormBoardDeductByFact : public TQTKColumnBaseCapDeductByFact {
protected:
    int Kinds(IRDXRecord* subject, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
    bool WallsByOwnSolid() const override { return true; }
};

// The perimeter of the plan projection of the element's solid, with its expression.
class TQTKColumnBaseCapSectionPerimeterRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
