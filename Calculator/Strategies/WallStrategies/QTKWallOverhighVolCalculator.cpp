#include "Calculator/Strategies/WallStrategies/QTKWallOverhighVolCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighVolumeStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKWallOverHighCalcBuilder.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The element's line is an arc (its formwork pieces say so).
bool IsArcElement(IRDXRecord* record)
{
    const IQTKLineShape* shape = GetRecordLineShape(record);
    return shape && shape->GetLine().IsArc();
}

}  // namespace

TQTKVolumeTarget GetOrBuildWallOverhighVolume(const RecordRef& subject, const TableSourceRef& business,
                                              const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighVolume<TQTkWallOverHeightCalcBuilder>(subject, business, ruleContext,
                                                                   IsArcElement(subject.get()));
}

double TQTKWallOriginOverhighVol::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef& business,
                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    return GetOverhighOriginalVolume(subject.get(), ruleContext,
                                     GetOrBuildWallOverhighVolume(subject, business, ruleContext));
}

double GetOverhighPierVolume(const RecordRef& host, const RecordRef& pier, const TableSourceRef& business,
                             const TableSourceRef& ruleContext)
{
    TQTKPierOverHeightVolCalcBuilder builder(host, business, ruleContext, false);
    if (!builder.IsOverHigh())
        return 0.0;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(pier, true);
    const Ref<IQTKPolyhedron3dIntf> holder = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
    const TVRMPolyhedron3d* solid = holder ? holder->GetPolyhedron() : nullptr;
    if (!solid)
        return 0.0;
    builder.SetSolid(solid->Clone());
    const std::unique_ptr<TVRMOverhighSolidCalc3d> calc = builder.BuildVolumeCalc();
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(pier.get(), ruleContext, calc.get());
    return calc->GetVolume();
}

double TQTKWallOverhighVolAddPier::Calculate(const RecordRef& subject, const RecordRef& object,
                                             const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (FieldValueInteger(object.get(), "EDOPID", -1) != subject->GetID())
        return 0.0;
    return GetOverhighPierVolume(subject, object, business, ruleContext);
}

bool TQTKWallOverhighVolDeductHollowByFrame::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsOpeningInWall(wall, opening);
}

bool TQTKWallOverhighVolDeductRibbonByFrame::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsLineEntsParallel(wall, opening) && TQTKWallOverhighVolDeductHollowByFrame::IsInWall(wall, opening);
}

bool TQTKWallOverhighVolDeductByFact::IsDeducted(IRDXRecord* wall, IRDXRecord* object) const
{
    if (IsWallPairSameKind(wall, object) || IsConcreteWallLinked(wall, object) || IsConcreteWallLinked(object, wall))
        return false;
    return GetRecordElementTypeID(object) != GetRecordElementTypeID(wall) || IsLineEntCutBy(wall, object, true);
}

bool TQTKWallOverhighVolDeductHollowByFact::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsOpeningInWall(wall, opening);
}

bool TQTKWallOverhighVolDeductRibbon::IsDeducted(IRDXRecord* wall, IRDXRecord* object) const
{
    return IsLineEntsParallel(wall, object) && TQTKWallOverhighVolDeductByFact::IsDeducted(wall, object);
}

double TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol::Measure(IRDXRecord* wall, IRDXRecord* opening) const
{
    return GetOpeningOutlineArea(opening) * GetRecordPropFloat(wall, "Thickness", 0.0);
}

bool TQTKWallOverhighVolDeductSlabByThinner::RecordJointPolygons() const
{
    return false;
}

bool TQTKWallOverhighVolDeductSlabByAve::RecordJointPolygons() const
{
    return false;
}

bool TQTKWallOverhighVolDeductFillWall::IsDeducted(IRDXRecord* wall, IRDXRecord* object) const
{
    return IsConcreteWallLinked(wall, object);
}

void RegisterWallOverhighVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallOriginOverhighVol);
    QTK_REGISTER(registry, TQTKWallOverhighVolAddPier);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductHollowByFrame);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductRibbonByFrame);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductByFact);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductHollowByFact);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductRibbon);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductPointThreeHoleVol);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductPointZeroFiveHoleVol);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeduct1m2HoleVol);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol);
    QTK_REGISTER(registry, TQTKWallOverhighVolDedcuctNonparallelBeam);
    QTK_REGISTER(registry, TQTKWallOverhighVolDedcuctParallelBeam);
    QTK_REGISTER(registry, TQTKWallOverhighVolDedcuctParallelIrregularBeam);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductBeamExceptParallelAndRegularBeam);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductSlabByThickness);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductIrregularColumn);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductSlabByThinner);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductSlabByAve);
    QTK_REGISTER(registry, TQTKWallOverhighVolDeductFillWall);
}
