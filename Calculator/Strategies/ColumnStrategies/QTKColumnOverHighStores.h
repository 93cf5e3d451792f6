// The over-height calculators that the column, tie-column and column cap
// rules build on first use and keep on the element object: the builders as
// the guarded stores call them (a column's formwork without the soffit, a
// cap's with it), and the over-height toothing of a tie column. Included by
// rule sources only.
#pragma once

#include <memory>

#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighFormboardStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighVolumeStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTkColumnCapOverhighCalcBuilder.h"

class TQTKColumnOverHighStoreBuilder : public TQTkColumnOverHeightCalcBuilder {
public:
    using TQTkColumnOverHeightCalcBuilder::TQTkColumnOverHeightCalcBuilder;
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc()
    {
        return TQTkColumnOverHeightCalcBuilder::BuildFormboardCalc(false);
    }
};

class TQTKColumnCapOverHighStoreBuilder : public TQTkColumnCapOverhighCalcBuilder {
public:
    using TQTkColumnCapOverhighCalcBuilder::TQTkColumnCapOverhighCalcBuilder;
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc()
    {
        return TQTkColumnCapOverhighCalcBuilder::BuildFormboardCalc(true);
    }
};

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
