#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighSideFormboardAreaCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighCalcBuilder.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabSideFormboardAreaCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

double TQTKSlabOriginalOverhighSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                            const TableSourceRef& business,
                                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighSideFormboard(subject, business, ruleContext);
    const double result = calc->GetArea();
    TQTKOverhighExprHandler::BuildOverhighSideFormboardExpr(subject.get(), ruleContext, calc.get());
    return result;
}

double TQTKSlabDeductOverhighSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef& business,
                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighSideFormboard(subject, business, ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    if (!solid)
        return 0.0;
    return calc->Subtract(*solid, object.get(), SlabSideFormboardKinds(subject.get(), object.get(), ruleContext));
}

bool TQTKSlabDeductCrocreteWallOverhighSideFormboardArea::Deducts(IRDXRecord* wall) const
{
    return IsConcreteElement(GetRecordDrawObj(wall));
}

double TQTKSlabDeductSlabOverhighSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                              const TableSourceRef& business,
                                                              const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighSideFormboard(subject, business, ruleContext);
    // The faces flush with the neighbour's go too, whichever formwork comes first.
    return SubtractSlabWithSkins(object.get(),
                                 [&](const TVRMPolyhedron3d& solid) { return calc->Subtract(solid, object.get(), 3); });
}

void RegisterSlabOverhighSideFormboardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabCustomOverhighSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabOriginalOverhighSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductOverhighSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductBlockWallOverhighSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductCrocreteWallOverhighSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductSlabOverhighSideFormboardArea);
}
