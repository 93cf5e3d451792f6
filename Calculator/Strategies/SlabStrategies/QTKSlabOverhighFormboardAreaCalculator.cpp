#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighFormboardAreaCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighCalcBuilder.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CContactAndFlushKinds = 3;

// Takes the object off the slab's over-height formwork by fact; the weighted area removed.
double SubtractByFact(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                      const TableSourceRef& ruleContext)
{
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighFormboard(subject, business, ruleContext);
    const int kinds = SlabFormboardKinds(subject.get(), object.get(), ruleContext);
    const IQTKElementDrawObj* objectDrawObj = GetRecordDrawObj(object.get());
    if (objectDrawObj && objectDrawObj->GetElementTypeID() == CWallType && IsConcreteElement(objectDrawObj))
        return SubtractWallFromOverhighShell(*calc, object.get(), kinds == CContactAndFlushKinds);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? calc->Subtract(*solid, object.get(), kinds) : 0.0;
}

}  // namespace

double TQTKSlabOriginalOverhighFormboardArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighFormboard(subject, business, ruleContext);
    if (GetSlabEDO(subject.get())->IsCurvedFaceShape())
        for (int i = 0; i < calc->GetCount(); ++i)
            calc->GetItem(i)->SetIsArc(true);
    TQTKOverhighExprHandler::BuildOverhighExpr(subject.get(), ruleContext, calc.get());
    return calc->GetArea();
}

double TQTKSlabDeductOverhighFormboardAreaByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                            const TableSourceRef& business,
                                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    return SubtractByFact(subject, object, business, ruleContext);
}

bool TQTKSlabDeductBlockWallOverhighFormboardAreaWithoutFillerWallAndPartitionWall::Deducts(IRDXRecord* wall) const
{
    return !IsFillerOrPartitionWall(wall);
}

double TQTKSlabDeductBeamOverhighFormboardArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef& business,
                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighFormboard(subject, business, ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? calc->Subtract(*solid, object.get(), 1) : 0.0;
}

double TQTKSlabDeductOverhighFormboardAreaAddSideArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef& business,
                                                                 const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const double removed = SubtractByFact(subject, object, business, ruleContext);

    const std::shared_ptr<const TVRMPolyhedron3d> slabSolid = HoldOriginalSolid(subject.get());
    const std::shared_ptr<const TVRMPolyhedron3d> opening = HoldOriginalSolid(object.get());
    if (!slabSolid || !opening)
        return removed;
    // The sides are cut as the slab's formwork is (a second builder: the
    // slab's top stays the one the first builder left).
    TQTkSlabOverhighFormboardCalcBuilder builder(subject, business, ruleContext);
    const std::unique_ptr<TVRMOverhighShellCalc3d> sides =
        builder.BuildShellCalc(*BuildSideShellInSlab(*slabSolid, *opening, builder.GetSlab().IsCurvedFaceShape()));
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildSlabOverhighFormboard(subject, business, ruleContext);
    for (int i = 0; i < sides->GetCount(); ++i) {
        const TVRMOverhighShellCalcItem3d& piece = *sides->GetItem(i);
        calc->Add(std::make_unique<TVRMOverhighShellCalcItem3d>(piece.GetShell()->Clone(), subject, nullptr,
                                                                piece.GetWeight(), 1.0));
        if (!GIsDetailMode)
            AddItemExprDetail(subject.get(), object.get(), piece.GetShell()->GetArea(), piece.GetWeight(), true);
    }
    return removed - sides->GetArea();
}

bool TQTKSlabDeductFormboardAreaAddSizeByArea::Deducts(IRDXRecord* object) const
{
    return IsPlanAreaAboveLimit(object, SizeLimit());
}

void RegisterSlabOverhighFormboardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabCustomOverhighFormboardArea);
    QTK_REGISTER(registry, TQTKSlabOriginalOverhighFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductOverhighFormboardAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductBlockWallOverhighFormboardAreaByFact);
    QTK_REGISTER(registry, TQTKSlabDeductBlockWallOverhighFormboardAreaWithoutFillerWallAndPartitionWall);
    QTK_REGISTER(registry, TQTKSlabDeductBeamOverhighFormboardArea);
    QTK_REGISTER(registry, TQTKSlabDeductOverhighFormboardAreaAddSideArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSizeByArea);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSizeByDot3M2);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSizeBy1M2);
    QTK_REGISTER(registry, TQTKSlabDeductFormboardAreaAddSizeBy5M2);
}
