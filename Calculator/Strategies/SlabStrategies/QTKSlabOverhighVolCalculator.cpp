#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighVolCalculator.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighCalcBuilder.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"

TQTKVolumeTarget GetOrBuildSlabOverhighVolumeTarget(const RecordRef& subject, const TableSourceRef& business,
                                                    const TableSourceRef& ruleContext)
{
    return TQTKVolumeTarget(GetOrBuildSlabOverhighVolume(subject, business, ruleContext));
}

double TQTKSlabOriginalOverhighVol::Calculate(const RecordRef& subject, const RecordRef&,
                                              const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const std::shared_ptr<TVRMOverhighSolidCalc3d> calc = GetOrBuildSlabOverhighVolume(subject, business, ruleContext);
    const double result = calc->GetVolume();
    TQTKOverhighExprHandler::BuildOverhighExpr(subject.get(), ruleContext, calc.get());
    return result;
}

void RegisterSlabOverhighVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabCustomOverhighVol);
    QTK_REGISTER(registry, TQTKSlabOriginalOverhighVol);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByFact);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductConcreteExternalWallByFact);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductColumnByFact);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductExternalTieBeam);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByArea);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByDot3M2);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductBy1M2);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByDot05M2);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductBy5M2);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByVol);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductByDot05M3);
    QTK_REGISTER(registry, TQTKSlabOverhighVolDeductOutBeam);
}
