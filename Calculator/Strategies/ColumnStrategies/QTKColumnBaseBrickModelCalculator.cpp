#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseBrickModelCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"

namespace {

// The mould's calculator; nil for a base without a mould (or not a base).
std::shared_ptr<TQTKSolidCalc3d> MouldOf(IQTKCalculatorEDO& element)
{
    auto* base = dynamic_cast<IQTKColumnBaseCalculatorEDO*>(&element);
    return base && !base->IsBrickModelType() ? base->GetBrickModelVolumeCalc() : nullptr;
}

}  // namespace

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnBaseBrickModelOriginalVol::SolidCalcOf(IQTKCalculatorEDO& element) const
{
    return MouldOf(element);
}

TQTKVolumeTarget TQTKColumnBaseBrickModelVolDeductByFact::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                                                   const TableSourceRef&) const
{
    // The base object keeps its calculator while it is attached to its element.
    const Ref<IQTKCalculatorEDO> element = GetCalcEDO(subject, true);
    return element ? TQTKVolumeTarget(MouldOf(*element).get()) : TQTKVolumeTarget();
}

double TQTKColumnBaseBrickModelVolDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef& business,
                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const TQTKVolumeTarget mould = VolumeOf(subject, business, ruleContext);
    if (!mould)
        return 0.0;
    double removed = TQTKColumnBaseCapDeductByFact::Calculate(subject, object, business, ruleContext);
    // Where this mould gives way, the neighbour's own mould goes too.
    if (IsBrickMoldCutBy(subject.get(), object.get()))
        if (const Ref<IQTKCalculatorEDO> other = GetCalcEDO(object, true))
            if (const TVRMPolyhedron3d* merged = other->GetMergedSolid())
                removed += mould.Subtract(*merged, object.get());
    return removed;
}

void RegisterColumnBaseBrickModelRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnBaseBrickModelOriginalVol);
    QTK_REGISTER(registry, TQTKColumnBaseBrickModelVolDeductByFact);
}
