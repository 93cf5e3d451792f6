#include "Calculator/Strategies/ColumnStrategies/QTKColumnOverHighStores.h"

#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnVolumeCalculator.h"
#include "Calculator/Strategies/Common/OverHigh/QTKColumnIndentingOverHeightCalcBuilder.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// The toothing the over-height pieces are cut from; nil unless the column is
// over height and a "Type" 0 tie column with a toothing.
const TVRMPolyhedron3d* ToothingToCut(IQTKTieColumnCalculatorEDO& column, const RecordRef& subject,
                                      const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    if (!GetOrBuildColumnOverHighVolume(subject, business, ruleContext).Overhigh())
        return nullptr;
    if (EdoPropValueInteger(column.GetElementDrawObj()->GetPropValues(), "Type") != 0)
        return nullptr;
    if (!column.GetIndentingPolyhedron())
        column.BuildIndentingPolyhedron();
    const TVRMPolyhedron3d* toothing = column.GetIndentingPolyhedron();
    return toothing && toothing->HasFaces() ? toothing : nullptr;
}

// The over-height calculator of the toothing kept by Store, else what Build
// makes of it with an indenting builder.
template <class Calc, class Store, class Build>
std::shared_ptr<Calc> GetOrBuildToothing(IQTKTieColumnCalculatorEDO& column, const RecordRef& subject,
                                         const TableSourceRef& business, const TableSourceRef& ruleContext, Store store,
                                         Build build)
{
    const TVRMPolyhedron3d* toothing = ToothingToCut(column, subject, business, ruleContext);
    if (!toothing)
        return nullptr;
    return (column.*store)([&]() -> std::shared_ptr<Calc> {
        TQTkColumnIndentingOverHeightCalcBuilder builder(toothing, subject, business, ruleContext);
        return build(builder);
    });
}

}  // namespace

std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildToothingOverHighVolume(IQTKTieColumnCalculatorEDO& column,
                                                                          const RecordRef& subject,
                                                                          const TableSourceRef& business,
                                                                          const TableSourceRef& ruleContext,
                                                                          double ratio)
{
    return GetOrBuildToothing<TVRMOverhighSolidCalc3d>(
        column, subject, business, ruleContext, &IQTKTieColumnCalculatorEDO::GetOrBuildTieOverhighVolumeCalc,
        [ratio](TQTkColumnIndentingOverHeightCalcBuilder& builder) { return builder.BuildVolumeCalc(ratio); });
}

std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildToothingOverHighFormboard(IQTKTieColumnCalculatorEDO& column,
                                                                             const RecordRef& subject,
                                                                             const TableSourceRef& business,
                                                                             const TableSourceRef& ruleContext,
                                                                             double ratio)
{
    return GetOrBuildToothing<TVRMOverhighShellCalc3d>(column, subject, business, ruleContext,
                                                       &IQTKTieColumnCalculatorEDO::GetOrBuildTieOverhighFormboardCalc,
                                                       [ratio](TQTkColumnIndentingOverHeightCalcBuilder& builder) {
                                                           return builder.BuildFormboardCalc(false, ratio);
                                                       });
}

double BuiltIndentRatio(TQTKOverhighCalcRef calc)
{
    if (calc.solid && calc.solid->GetCount() > 0)
        return calc.solid->GetItem(0)->GetCoefficient();
    if (calc.shell && calc.shell->GetCount() > 0)
        return calc.shell->GetItem(0)->GetRatio();
    return 0.0;
}

double ReadAtIndentRatio(double amount, TQTKOverhighCalcRef calc, double ratio)
{
    return RescaleByFactor(amount, BuiltIndentRatio(calc), ratio);
}

void WriteToothingOverHighExpr(IRDXRecord* subject, const TableSourceRef& ruleContext, double ratio,
                               TQTKOverhighCalcRef calc)
{
    const double built = BuiltIndentRatio(calc);
    if (SameValue(built, ratio)) {
        TQTKOverhighExprHandler::BuildIndentingOverhighExpr(subject, ruleContext, ratio, calc);
        return;
    }
    if (!IsExprMode(subject))
        return;
    const auto addPiece = [&](double quantity, double factor) {
        const double value = RescaleByFactor(quantity, built, ratio);
        TQTKOverhighExprHandler::AddOverhighValueItem(subject, IsZero(factor) ? value : value / factor, factor);
    };
    if (calc.solid)
        for (int i = 0; i < calc.solid->GetCount(); ++i)
            addPiece(calc.solid->GetItem(i)->GetQuantity(), calc.solid->GetItem(i)->GetFactor());
    if (calc.shell)
        for (int i = 0; i < calc.shell->GetCount(); ++i)
            addPiece(calc.shell->GetItem(i)->GetQuantity(), calc.shell->GetItem(i)->GetFactor());
}
