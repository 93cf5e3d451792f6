#include "Calculator/Strategies/SlabStrategies/QTKSlabSideFormboardAreaCalculator.h"

#include <cmath>
#include <memory>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CSlabHoleType = 24;
// The skin laid on a neighbouring slab's faces (mm).
constexpr double CSkinThickness = 10.0;

// The slab's side formwork calculator, built over its upright faces by the
// first rule that needs it (marked as lying on an arc for a slab whose shape
// has one).
std::shared_ptr<TQTKShellCalc3d> EnsureSlabSideFormboardCalc(IQTKSlabCalculator& slab)
{
    if (std::shared_ptr<TQTKShellCalc3d> calc = slab.GetSideFormboardCalc())
        return calc;
    const TVRMPolyhedron3d* solid = slab.GetOriginalPolyhedron();
    const IQTKElementDrawObj* drawObj = slab.GetElementDrawObj();
    auto calc = std::make_shared<TQTKShellCalc3d>(
        solid ? BuildVerticalFaceShell(*solid) : std::make_unique<TVRMPolyhedronShell3d>(),
        RecordRef(drawObj ? drawObj->GetRecord() : nullptr), 1.0);
    if (ShapeHasArc(drawObj))
        calc->SetIsArc(true);
    slab.SetSideFormboardCalc(calc);
    return calc;
}

}  // namespace

int SlabSideFormboardKinds(IRDXRecord* slab, IRDXRecord* element, const TableSourceRef& ruleContext)
{
    if (GetRecordElementTypeID(element) == CSlabHoleType)
        return 3;
    return SlabFormboardKinds(slab, element, ruleContext);
}

double SubtractSlabWithSkins(IRDXRecord* neighbour, const std::function<double(const TVRMPolyhedron3d&)>& subtract)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(neighbour);
    if (!solid)
        return 0.0;
    double removed = subtract(*solid);
    for (const TVRMFace3d& face : solid->GetFaces())
        removed += subtract(*TVRMPolyhedron3d::CreateFromFace(face, CSkinThickness));
    return removed;
}

double TQTKSlabOriginalSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                    const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    const double result = EnsureSlabSideFormboardCalc(*slab)->GetArea();
    const TVRMPolyhedron3d* solid = slab->GetOriginalPolyhedron();
    if (!slab->IsCurvedFaceShape() && solid && solid->HasFaces())
        BuildSlabSideFormboardAreaExpr(subject.get(), &solid->GetFace(solid->GetFaceCount() - 1));
    return result;
}

double TQTKSlabOriginalSideFormboardLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                      const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    const IQTKShape* shape = slab->GetElementDrawObj()->GetShape();
    if (!shape)
        return 0.0;
    const TVRMMultiPolygon2d& outline = shape->GetOutline();
    if (slab->IsCurvedFaceShape())
        return outline.Perimeter();
    // A sloped slab's edges run along its soffit.
    const TVRMPolyhedron3d* solid = slab->GetOriginalPolyhedron();
    if (solid && solid->HasFaces()) {
        const TVRMFace3d& bottom = solid->GetFace(solid->GetFaceCount() - 1);
        if (!SameValue(std::abs(bottom.GetNormal().z), 1.0))
            return bottom.GetLength();
    }
    const std::vector<const TVRMMultiPolygon2d*> adds = slab->GetAddPolygons();
    const std::vector<const TVRMMultiPolygon2d*> deducts = slab->GetDeductPolygons();
    if (adds.empty() && deducts.empty())
        return outline.Perimeter();
    std::unique_ptr<TVRMMultiPolygon2d> plan = outline.Clone();
    for (const TVRMMultiPolygon2d* add : adds)
        plan = TVRMIntersectFunc2d::MergePolygon(*plan, *add);
    for (const TVRMMultiPolygon2d* deduct : deducts)
        plan = SyncSubPolygon(*plan, *deduct);
    return plan->Perimeter();
}

double TQTKSlabDeductSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabSideFormboardCalc(*GetSlabEDO(subject.get()));
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    if (!solid)
        return 0.0;
    return calc->Subtract(*solid, object.get(), SlabSideFormboardKinds(subject.get(), object.get(), ruleContext),
                          nullptr, true, true);
}

double TQTKSlabDeductSlabSideFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabSideFormboardCalc(*GetSlabEDO(subject.get()));
    const int kinds = SlabFormboardKinds(subject.get(), object.get(), ruleContext);
    return SubtractSlabWithSkins(object.get(), [&](const TVRMPolyhedron3d& solid) {
        return calc->Subtract(solid, object.get(), kinds, nullptr, true, true);
    });
}

void RegisterSlabSideFormboardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabOriginalSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabOriginalSideFormboardLength);
    QTK_REGISTER(registry, TQTKSlabDeductSideFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductSlabSideFormboardArea);
}
