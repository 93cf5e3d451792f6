// The over-height formwork an element's rules share: the first rule that
// needs it (the original or any deduction) builds it with the family's
// builder under the element object's guard: the formwork calculator, then,
// with detail mode switched off, the volume calculator when missing, and the
// value list when missing. A volume calculator already there is kept. An
// element that is not over height gets none and keeps nothing. Included by
// rule sources only.
#pragma once

#include <memory>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"

template <class Builder, class... Extra>
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildOverhighFormboard(const RecordRef& subject,
                                                                     const TableSourceRef& business,
                                                                     const TableSourceRef& ruleContext,
                                                                     Extra&&... extra)
{
    const Ref<IQTKOverhighCalcHolder> holder = RefCast<IQTKOverhighCalcHolder>(GetCalcEDO(subject, true));
    if (!holder)
        return nullptr;
    const TQTKOverhighCalcSet set = holder->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
        if (stored.formboard)
            return;
        Builder builder(subject, business, ruleContext, std::forward<Extra>(extra)...);
        if (!builder.IsOverHigh())
            return;
        stored.formboard = builder.BuildFormboardCalc();
        if (!stored.volume) {
            const TQTKDetailModeScope plain(false);
            stored.volume = builder.BuildVolumeCalc();
        }
        if (!stored.valueList)
            stored.valueList = builder.TakeValueList();
    });
    return set.formboard;
}
