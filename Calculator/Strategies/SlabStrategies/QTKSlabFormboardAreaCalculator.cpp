#include "Calculator/Strategies/SlabStrategies/QTKSlabFormboardAreaCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
// Superposition kinds: the faces an element stands against go (1); with the
// faces flush with its own too (3), when the element's formwork comes first.
constexpr int CContactKinds = 1;
constexpr int CContactAndFlushKinds = 3;

// Whether a plane slab's top (face n-2) gets formwork too.
bool IsTopDoubled(const TVRMPolyhedron3d& solid, const TableSourceRef& ruleContext)
{
    const int n = solid.GetFaceCount();
    return n >= 2 && IsDoubleFormboardFace(solid.GetFace(n - 2).GetNormal(), ruleContext);
}

// Builds the slab's formwork calculator and stores it on the slab.
void BuildSlabFormboardCalc(IQTKSlabCalculator& slab, const TableSourceRef& ruleContext)
{
    const TVRMPolyhedron3d* solid = slab.GetOriginalPolyhedron();
    const IQTKElementDrawObj* drawObj = slab.GetElementDrawObj();
    std::unique_ptr<TVRMPolyhedronShell3d> shell =
        solid ? BuildSlabFormboardShell(*solid, slab.IsCurvedFaceShape(), ruleContext)
              : std::make_unique<TVRMPolyhedronShell3d>();
    slab.SetFormboardCalc(
        std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(drawObj ? drawObj->GetRecord() : nullptr), 1.0));
}

std::shared_ptr<TQTKShellCalc3d> EnsureSlabFormboardCalc(IQTKSlabCalculator& slab, const TableSourceRef& ruleContext)
{
    if (!slab.GetFormboardCalc())
        BuildSlabFormboardCalc(slab, ruleContext);
    return slab.GetFormboardCalc();
}

// Takes the object's own solid off the slab's formwork with those kinds; the
// area removed.
double SubtractObjectSolid(IRDXRecord* slab, IRDXRecord* object, int kinds, const TableSourceRef& ruleContext)
{
    const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabFormboardCalc(*GetSlabEDO(slab), ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object);
    return solid ? calc->Subtract(*solid, object, kinds, nullptr, true, true) : 0.0;
}

// The area of an opening's sides inside the slab.
double SideAreaInSlab(const TVRMPolyhedron3d& slabSolid, const TVRMPolyhedron3d& opening, bool curvedSlab)
{
    return BuildSideShellInSlab(slabSolid, opening, curvedSlab)->GetArea();
}

}  // namespace

double TQTKSlabOriginalFormboardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    if (slab->IsCurvedFaceShape()) {
        const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabFormboardCalc(*slab, ruleContext);
        const double result = calc->GetArea();
        calc->SetIsArc(true);
        return result;
    }
    const TVRMPolyhedron3d* solid = slab->GetOriginalPolyhedron();
    if (!solid || solid->GetFaceCount() < 2)
        return 0.0;
    const TVRMFace3d& bottom = solid->GetFace(solid->GetFaceCount() - 1);
    const bool doubled = IsTopDoubled(*solid, ruleContext);
    const double result = bottom.GetArea() * (doubled ? 2.0 : 1.0);
    if (GIsDetailMode)
        BuildSlabFormboardCalc(*slab, ruleContext);

    // A level soffit is written by its plan polygon; a doubled one by its
    // sizes times two, so the formula always gives the number.
    const auto* shape = dynamic_cast<const IQTKFaceShape*>(slab->GetElementDrawObj()->GetShape());
    if (shape && shape->IsLevel() && !doubled)
        BuildPolygonAreaExpr(subject.get(), slab->GetCalcPolygon());
    else
        BuildSlabFormboardAreaExpr(subject.get(), &bottom, doubled);
    return result;
}

double TQTKSlabDeductFormboardAreaByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const int kinds = SlabFormboardKinds(subject.get(), object.get(), ruleContext);
    const IQTKElementDrawObj* objectDrawObj = GetRecordDrawObj(object.get());
    if (objectDrawObj && objectDrawObj->GetElementTypeID() == CWallType && IsConcreteElement(objectDrawObj)) {
        const std::shared_ptr<TQTKShellCalc3d> calc = EnsureSlabFormboardCalc(*GetSlabEDO(subject.get()), ruleContext);
        return SubtractWallFromShell(*calc, object.get(), kinds == CContactAndFlushKinds, true);
    }
    return SubtractObjectSolid(subject.get(), object.get(), kinds, ruleContext);
}

double TQTKSlabDeductBrickStoneFormboardAreaWithoutFillerWallAndPartitionWall::Calculate(
    const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
    const TableSourceRef& ruleContext)
{
    QTK_ASSERT(object);
    if (IsFillerOrPartitionWall(object.get()))
        return 0.0;
    return TQTKSlabDeductFormboardAreaByFact::Calculate(subject, object, business, ruleContext);
}

double TQTKSlabDeductBeamFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    return SubtractObjectSolid(subject.get(), object.get(), CContactKinds, ruleContext);
}

double TQTKSlabDeductFormboardAreaAddSideArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                         const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const int kinds = SlabFormboardKinds(subject.get(), object.get(), ruleContext);
    const double removed = SubtractObjectSolid(subject.get(), object.get(), kinds, ruleContext);

    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    const TVRMPolyhedron3d* slabSolid = slab->GetOriginalPolyhedron();
    const std::shared_ptr<const TVRMPolyhedron3d> opening = HoldOriginalSolid(object.get());
    const double sides = slabSolid && opening ? SideAreaInSlab(*slabSolid, *opening, slab->IsCurvedFaceShape()) : 0.0;
    if (!SameValue(sides, 0.0) && !GIsDetailMode)
        AddItemExprDetail(subject.get(), object.get(), sides, slab->GetFormboardCalc()->GetFactor(), true);
    const double result = removed - sides;
    if (GIsDetailMode)
        ReplaceLastDeductExpr(object.get(), MM2ToM2, result);
    return result;
}

bool TQTKSlabDeductFormboardAreaAddSideAreaByArea::Deducts(IRDXRecord* object) const
{
    return IsPlanAreaAboveLimit(object, SizeLimit());
}

void RegisterSlabFormboardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabCustomFormboardArea);
    QTK_REGISTER(registry, TQTKSlabOriginalFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductBrickStoneFormboardAreaWithoutFillerWallAndPartitionWall);
    QTK_REGISTER(registry, TQTKSlabDeductBeamFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSideArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSideAreaByArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSideAreaByDot3M2);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSideAreaBy1M2);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSideAreaBy5M2);
}
