#include "Calculator/Strategies/SlabStrategies/QTKSlabProjectiveAreaCalculator.h"

#include <cmath>
#include <memory>

#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CContactAndFlushKinds = 3;

// The slab's projective-area calculator: over the outer side of a curved
// slab's surface, else over its soffit; built by the first rule that needs it.
std::shared_ptr<TQTKShellCalc3d> EnsureSlabProjectiveAreaCalc(IQTKSlabCalculator& slab)
{
    if (!slab.GetProjectiveAreaCalc())
        slab.SetProjectiveAreaCalc(NewSlabSurfaceCalc(slab, slab.GetOriginalPolyhedron()));
    return slab.GetProjectiveAreaCalc();
}

// The plan area of what the calculator's shell still holds: each face's area
// times its slope's cosine. A facet of a curved surface counts flat: the
// surface covers in plan what its facet covers, while its own (analytic) area
// is larger than the facet's.
double GetShellProjectedArea(const TQTKShellCalc3d& calc)
{
    double sum = 0.0;
    if (const TVRMPolyhedronShell3d* shell = calc.GetShell())
        for (const TVRMFace3d& face : shell->GetFaces())
            sum += (face.GetPlanarArea() + face.GetArcArea()) * std::abs(face.GetNormal().z);
    return sum;
}

// The cosine of the soffit's slope (face n-1 of the slab's solid); 0 without one.
double SoffitCosine(IQTKSlabCalculator& slab)
{
    const TVRMPolyhedron3d* solid = slab.GetOriginalPolyhedron();
    return solid && solid->GetFaceCount() > 0 ? std::abs(solid->GetFace(solid->GetFaceCount() - 1).GetNormal().z) : 0.0;
}

}  // namespace

double TQTKSlabOriginalProjectiveArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                 const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    if (slab->IsCurvedFaceShape())
        return GetShellProjectedArea(*EnsureSlabProjectiveAreaCalc(*slab));
    const TVRMPolyhedron3d* solid = slab->GetOriginalPolyhedron();
    if (!solid || solid->GetFaceCount() == 0)
        return 0.0;
    const double area = solid->GetFace(solid->GetFaceCount() - 1).GetArea();
    const double cosine = SoffitCosine(*slab);
    if (SameValue(cosine, 1.0) && !GIsDetailMode)
        BuildPolygonAreaExpr(subject.get(), &slab->GetElementDrawObj()->GetShape()->GetOutline());
    return area * cosine;
}

double TQTKSlabDeductProjectiveAreaByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                     const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabProjectiveAreaCalc(*slab);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    if (!solid || !calc->GetShell() || !calc->GetShell()->HasFaces())
        return 0.0;
    if (slab->IsCurvedFaceShape()) {
        // What the element takes, in plan: the projection before less after.
        const double before = GetShellProjectedArea(*calc);
        calc->Subtract(*solid, object.get(), CContactAndFlushKinds, nullptr, true, false);
        return before - GetShellProjectedArea(*calc);
    }
    const double cosine = SoffitCosine(*slab);
    return calc->Subtract(*solid, object.get(), CContactAndFlushKinds, nullptr, true, SameValue(cosine, 1.0)) * cosine;
}

bool TQTKSlabDeductProjectiveAreaByArea::Deducts(IRDXRecord* object) const
{
    // The size of the element itself (an opening's outline), whatever the slab.
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object);
    return solid && solid->GetFaceCount() > 0 &&
           IsAboveSizeLimit(solid->GetFace(solid->GetFaceCount() - 1).GetArea(), SizeLimit());
}

bool TQTKSlabDeductProjectiveAreaWallNotInBalcony::Deducts(IRDXRecord* wall) const
{
    return !FieldExist(wall, "CompositeEDOPID") || wall->IsNull("CompositeEDOPID");
}

void RegisterSlabProjectiveAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabOriginalProjectiveArea);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaByArea);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaByDot3M2);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaBy1M2);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaBy5M2);
    QTK_REGISTER(registry, TQTKSlabDeductProjectiveAreaWallNotInBalcony);
}
