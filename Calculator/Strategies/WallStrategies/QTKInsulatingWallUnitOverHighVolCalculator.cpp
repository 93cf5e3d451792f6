#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighVolCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighVolumeStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKWallOverHighCalcBuilder.h"
#include "Calculator/Strategies/WallStrategies/QTKWallOverhighVolCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"

namespace {

// The unit's insulating wall; nil without one.
IRDXRecord* WallOf(IRDXRecord* unit)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(unit);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

// The unit's wall runs along an arc (its formwork pieces say so).
bool IsOnArcWall(IRDXRecord* unit)
{
    IRDXRecord* wall = WallOf(unit);
    const IQTKLineShape* shape = wall ? GetRecordLineShape(wall) : nullptr;
    return shape && shape->GetLine().IsArc();
}

}  // namespace

TQTKVolumeTarget GetOrBuildInsulatingUnitOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighVolume<TQTkWallOverHeightCalcBuilder>(subject, business, ruleContext,
                                                                   IsOnArcWall(subject.get()));
}

double TQTKInsulatingUnitOverHighVolOriginal::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    return GetOverhighOriginalVolume(subject.get(), ruleContext,
                                     GetOrBuildInsulatingUnitOverHighVolume(subject, business, ruleContext));
}

bool TQTKInsulatingUnitOverHighVolDeductInsulatingWall::IsDeducted(IRDXRecord* unit, IRDXRecord* other) const
{
    IRDXRecord* wall = WallOf(unit);
    IRDXRecord* otherWall = WallOf(other);
    return wall && otherWall && wall->GetID() != otherWall->GetID() && IsInsulatingWallCutBy(wall, otherWall);
}

bool TQTKInsulatingUnitOverHighVolDeductHollowByFrame::IsInWall(IRDXRecord* unit, IRDXRecord* opening) const
{
    return IsOpeningInWall(unit, opening);
}

bool TQTKInsulatingUnitOverHighVolDeductHollowByFact::IsInWall(IRDXRecord* unit, IRDXRecord* opening) const
{
    return IsOpeningInWall(unit, opening);
}

double TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow::Measure(IRDXRecord* unit, IRDXRecord* opening) const
{
    IRDXRecord* wall = WallOf(unit);
    IRDXRecord* host = WallOf(opening);
    if (!wall || !host || host->GetID() != wall->GetID())
        return 0.0;
    return GetOpeningOutlineArea(opening) * GetRecordPropFloat(wall, "Thickness", 0.0);
}

double TQTKInsulatingUnitOverHighVolAddPier::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef& business,
                                                       const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    IRDXRecord* wall = WallOf(subject.get());
    if (!wall || FieldValueInteger(object.get(), "EDOPID", -1) != wall->GetID())
        return 0.0;
    return GetOverhighPierVolume(subject, object, business, ruleContext);
}

bool TQTKWallOverHighVolDeductSlabByThinnest::RecordJointPolygons() const
{
    return false;
}

double TQTKWallOverHighVolDeductSlabByAverage::CombineThickness(double a, double b) const
{
    return (a + b) / 2.0;
}

void RegisterInsulatingWallUnitOverHighVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolOriginal);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductByFact);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductInsulatingWall);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductHollowByFrame);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductHollowByFact);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductPointTreeHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeduct1m2Hollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolAddPier);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductParallelIrregularBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductExceptParallelIrregularBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductSlabByWallThickness);
    QTK_REGISTER(registry, TQTKInsulatingUnitOverHighVolDeductIrregularcolumn);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductSlabByThinnest);
    QTK_REGISTER(registry, TQTKWallOverHighVolDeductSlabByAverage);
}
