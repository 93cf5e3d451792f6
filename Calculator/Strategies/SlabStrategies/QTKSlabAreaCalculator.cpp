#include "Calculator/Strategies/SlabStrategies/QTKSlabAreaCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// The faces a slab's area is measured on.
constexpr int CContactAndFlushKinds = 3;

// The slab's area calculator: over the outer side of a curved slab's
// surface, else over its soffit; built by the first rule that needs it.
std::shared_ptr<TQTKShellCalc3d> EnsureSlabAreaCalc(IQTKSlabCalculator& slab)
{
    if (!slab.GetAreaCalc())
        slab.SetAreaCalc(NewSlabSurfaceCalc(slab, slab.GetCurvedSolid()));
    return slab.GetAreaCalc();
}

}  // namespace

double TQTKSlabOriginalArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                       const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabAreaCalc(*slab);
    const TVRMPolyhedron3d* solid = slab->GetOriginalPolyhedron();
    if (slab->IsCurvedFaceShape()) {
        // Its volume over its thickness; a slab of no thickness has no area.
        const double thickness = GetRecordPropFloat(subject.get(), "Thickness");
        return solid && !SameValue(thickness, 0.0) ? solid->GetVolume() / thickness : 0.0;
    }
    if (!solid || solid->GetFaceCount() == 0)
        return 0.0;
    const double result = solid->GetFace(solid->GetFaceCount() - 1).GetArea();
    const auto* shape = dynamic_cast<const IQTKFaceShape*>(slab->GetElementDrawObj()->GetShape());
    if (shape && shape->IsLevel())
        BuildPolygonAreaExpr(subject.get(), slab->GetCalcPolygon());
    else
        BuildSlabAreaExpr(subject.get(), calc.get());
    return result;
}

double TQTKSlabDeductAreaByFact::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                           const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabAreaCalc(*GetSlabEDO(subject.get()));
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? calc->Subtract(*solid, object.get(), CContactAndFlushKinds, nullptr, true, true) : 0.0;
}

bool TQTKSlabDeductMonosparAreaByFact::Deducts(IRDXRecord* beam) const
{
    return EdoPropValueInteger(GetRecordPropValues(beam), "Type2", 0) == 0;
}

bool TQTKSlabDeductAreaByArea::Deducts(IRDXRecord* object) const
{
    return IsPlanAreaAboveLimit(object, SizeLimit());
}

bool TQTKSlabDeductOutBeamArea::Deducts(IRDXRecord* beam) const
{
    return HasOuterFlag(beam);
}

void RegisterSlabAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabOriginalArea);
    QTK_REGISTER(registry, TQTKSlabDeductAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductMonosparAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductAreaByArea);
    QTK_REGISTER(registry, TQTKSlabDeductAreaByDot3M2);
    QTK_REGISTER(registry, TQTKSlabDeductAreaBy1M2);
    QTK_REGISTER(registry, TQTKSlabDeductAreaBy5M2);
    QTK_REGISTER(registry, TQTKSlabDeductOutBeamArea);
}
