// The over-height volume an element's rules share: the first rule that needs
// it (the original or any deduction) builds it with the family's builder
// under the element object's guard, as the original rule does: the volume
// calculator, the formwork calculator when missing (not in detail mode) and
// the value list. An element that is not over height gets none and keeps
// nothing. Included by rule sources only.
#pragma once

#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"

template <class Builder, class... Extra>
TQTKVolumeTarget GetOrBuildOverhighVolume(const RecordRef& subject, const TableSourceRef& business,
                                          const TableSourceRef& ruleContext, Extra&&... extra)
{
    const Ref<IQTKOverhighCalcHolder> holder = RefCast<IQTKOverhighCalcHolder>(GetCalcEDO(subject, true));
    if (!holder)
        return TQTKVolumeTarget();
    const TQTKOverhighCalcSet set = holder->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
        if (stored.volume)
            return;
        Builder builder(subject, business, ruleContext, std::forward<Extra>(extra)...);
        if (!builder.IsOverHigh())
            return;
        stored.volume = builder.BuildVolumeCalc();
        if (!GIsDetailMode && !stored.formboard)
            stored.formboard = builder.BuildFormboardCalc();
        stored.valueList = builder.TakeValueList();
    });
    return TQTKVolumeTarget(set.volume);
}

// The original over-height volume: the weighted volume of the pieces, with
// the over-height expression of Subject; 0 without a calculator.
inline double GetOverhighOriginalVolume(IRDXRecord* subject, const TableSourceRef& ruleContext,
                                        const TQTKVolumeTarget& volume)
{
    const TVRMOverhighSolidCalc3d* calc = volume.Overhigh();
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(subject, ruleContext, calc);
    return calc->GetVolume();
}
