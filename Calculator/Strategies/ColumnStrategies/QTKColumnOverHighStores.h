// The over-height calculators that the column, tie-column and column cap
// rules build on first use and keep on the element object: the builders as
// the guarded stores call them (a column's formwork without the soffit, a
// cap's with it), the over-height toothing of a tie column, and how the
// volume and formwork rules alike read them (the original, the near wall's
// remainder, the toothing at a ratio). Included by rule sources only.
#pragma once

#include <memory>

#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighFormboardStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighVolumeStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTkColumnCapOverhighCalcBuilder.h"

// Builder as the stores call it: its formwork with the soffit kept or not.
template <class Builder, bool KeepSoffit>
class TQTKOverHighStoreBuilder : public Builder {
public:
    using Builder::Builder;
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc() { return Builder::BuildFormboardCalc(KeepSoffit); }
};
using TQTKColumnOverHighStoreBuilder = TQTKOverHighStoreBuilder<TQTkColumnOverHeightCalcBuilder, false>;
using TQTKColumnCapOverHighStoreBuilder = TQTKOverHighStoreBuilder<TQTkColumnCapOverhighCalcBuilder, true>;

// The weighted quantity of an over-height calculator's pieces.
inline double OverhighQuantity(const TVRMOverhighSolidCalc3d& calc)
{
    return calc.GetVolume();
}
inline double OverhighQuantity(const TVRMOverhighShellCalc3d& calc)
{
    return calc.GetArea();
}

// An original over-height quantity: the pieces with their expression; 0
// without a calculator.
template <class Calc>
double ReadOverhighOriginal(IRDXRecord* subject, const TableSourceRef& ruleContext, const Calc* calc)
{
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(subject, ruleContext, calc);
    return OverhighQuantity(*calc);
}

// The near wall: all that is left of the calculator, with its pieces as the
// expression; the calculator is emptied, so nothing is left for a later wall.
template <class Calc>
double TakeOverhighRemainder(IRDXRecord* subject, const TableSourceRef& ruleContext, Calc& calc)
{
    const double remaining = ReadOverhighOriginal(subject, ruleContext, &calc);
    calc.Clear();
    return remaining;
}

// The over-height part of a tie column's toothing, built with Ratio when the
// tie column keeps none (and the toothing itself when it is missing). Nil
// unless the column is over height, its "Type" is 0 and it has a toothing.
std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildToothingOverHighVolume(IQTKTieColumnCalculatorEDO& column,
                                                                          const RecordRef& subject,
                                                                          const TableSourceRef& business,
                                                                          const TableSourceRef& ruleContext,
                                                                          double ratio);
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildToothingOverHighFormboard(IQTKTieColumnCalculatorEDO& column,
                                                                             const RecordRef& subject,
                                                                             const TableSourceRef& business,
                                                                             const TableSourceRef& ruleContext,
                                                                             double ratio);
// The ratio the toothing's pieces were made with (0 without pieces), and an
// amount of them read at Ratio instead.
double BuiltIndentRatio(TQTKOverhighCalcRef calc);
double ReadAtIndentRatio(double amount, TQTKOverhighCalcRef calc, double ratio);
// The toothing's expression at Ratio: its pieces as built when that is the
// ratio they carry, else each piece's quantity read at Ratio as a value.
void WriteToothingOverHighExpr(IRDXRecord* subject, const TableSourceRef& ruleContext, double ratio,
                               TQTKOverhighCalcRef calc);
// The toothing's over-height quantity read at Ratio, with that expression; 0
// without a calculator.
template <class Calc>
double ReadToothingOverHigh(IRDXRecord* subject, const TableSourceRef& ruleContext, double ratio, const Calc* calc)
{
    if (!calc)
        return 0.0;
    const double amount = ReadAtIndentRatio(OverhighQuantity(*calc), calc, ratio);
    WriteToothingOverHighExpr(subject, ruleContext, ratio, calc);
    return amount;
}
