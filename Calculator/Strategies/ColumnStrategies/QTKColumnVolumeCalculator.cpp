#include "Calculator/Strategies/ColumnStrategies/QTKColumnVolumeCalculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnOverHighStores.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CBeamType = 15;

// Takes Solid off the column's volume (Target) on behalf of Record; the
// volume removed. In expression mode the part of the column that Solid
// covers is written as the expression of a deduction from the volume
// calculator (the over-height pieces keep their own details).
double SubtractFromColumn(IQTKColumnCalculatorEDO& column, const TQTKVolumeTarget& target, IRDXRecord* subject,
                          const TVRMPolyhedron3d& solid, IRDXRecord* record)
{
    const double removed = target.Subtract(solid, record);
    TQTKSolidCalc3d* volume = target.Regular();
    if (volume && removed > 0.0 && IsExprMode(subject))
        if (const Ref<IQTKPolyhedron3dIntf> own = column.GetOriginalPolyhedronIntf()) {
            auto part = own->GetPolyhedron()->Clone();
            TVRMNewPolyBooleanOperator::BooleanOperate(*part, solid, CVRMBoolIntersect);
            std::string text;
            GVolumeExprParser(subject, record, *part, volume->GetFactor(), true, removed, text);
            AddExprText(subject, text);
        }
    return removed;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> BuildWidenedWall(IRDXRecord* wall, const TQTKWallWidening& widening)
{
    return widening.byThickness ? BuildWallWidenedSolid(wall, widening.amount)
                                : BuildWallWidenedSolidByDistance(wall, widening.amount);
}

TQTKVolumeTarget GetOrBuildColumnOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                                const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighVolume<TQTKColumnOverHighStoreBuilder>(subject, business, ruleContext);
}

TQTKVolumeTarget TQTKColumnVolumeRule::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                                const TableSourceRef&) const
{
    // The column object keeps its calculator while the rule holds the object.
    return TQTKVolumeTarget(GetColumnEdo(subject.get())->GetVolumeCalc().get());
}

// ---------------------------------------------------------------------------

bool TQTKColumnVolDeductByFact::IsDeducted(IRDXRecord*) const
{
    return true;
}

bool TQTKColumnVolDeductByFactWithoutCupulateIsolatedFD::IsDeducted(IRDXRecord* object) const
{
    // Only an isolated foundation unit; any other element is not this rule's.
    const Ref<IQTKIsolatedFDUnitCalcEDO> unit = RefCast<IQTKIsolatedFDUnitCalcEDO>(GetCalcEDO(object, true));
    return unit && !unit->IsCupulate();
}

bool TQTKColumnVolDeductFDBeamVol::IsDeducted(IRDXRecord* object) const
{
    QTK_ASSERT(object);
    return IsOnFoundationFloor(object);
}

bool TQTKColumnVolDeductAloneBeamVol::IsDeducted(IRDXRecord* object) const
{
    QTK_ASSERT(object);
    return !IsSingleBeamRecord(object);
}

double TQTKColumnVolDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                            const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!IsDeducted(object.get()))
        return 0.0;
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const TQTKVolumeTarget target = VolumeOf(subject, business, ruleContext);
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (!target || !solid)
        return 0.0;
    const double removed = SubtractFromColumn(*column, target, subject.get(), *solid->GetPolyhedron(), object.get());
    // A beam also leaves the column's solid copy (what later shapes of the
    // column start from); the over-height twin leaves the copy to this rule.
    if (target.Regular() && GetRecordElementTypeID(object.get()) == CBeamType) {
        std::shared_ptr<TVRMPolyhedron3d> copy(column->GetSolidCopy()->Clone());
        TVRMNewPolyBooleanOperator::BooleanOperate(*copy, *solid->GetPolyhedron(), CVRMBoolSubtract);
        column->SetSolidCopy(std::move(copy));
    }
    return removed;
}

// ---------------------------------------------------------------------------

double TQTKRectangleColumnVolDeductByWidenedWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                            const TableSourceRef& business,
                                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const std::optional<TQTKWallWidening> widening = Widening();
    if (!widening)
        return 0.0;
    // Any column: a plain column has no toothing, the band is still removed.
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const TQTKVolumeTarget target = VolumeOf(subject, business, ruleContext);
    if (!target)
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> band = BuildWidenedWall(object.get(), *widening);
    return band ? SubtractFromColumn(*column, target, subject.get(), *band, object.get()) : 0.0;
}

double TQTKRectangleColumnVolDeductNearWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef& business,
                                                       const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const TQTKVolumeTarget target = VolumeOf(subject, business, ruleContext);
    if (TVRMOverhighSolidCalc3d* overhigh = target.Overhigh())
        return TakeOverhighRemainder(subject.get(), ruleContext, *overhigh);
    TQTKSolidCalc3d* volume = target.Regular();
    if (!volume)
        return 0.0;
    const double remaining = volume->GetVolume();
    const TVRMPolyhedron3d* rest = volume->GetSolid();
    if (rest && rest->HasFaces() && IsExprMode(subject.get())) {
        std::string text;
        GVolumeExprParser(subject.get(), object.get(), *rest, volume->GetFactor(), !GIsDetailMode, remaining, text);
        AddExprText(subject.get(), text);
    }
    // Nothing is left for a later wall.
    volume->Clear();
    return remaining;
}

// ---------------------------------------------------------------------------

void TQTKTieColumnVolAddIndentingHalfLength::WriteExpr(IRDXRecord* subject, IRDXRecord*, IQTKTieColumnCalculatorEDO&,
                                                       double volume) const
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(subject->GetID());
    data->GetExprContainer().AddValueItem(RecordRef(subject), data->GetCurQtyKey(), volume, 1.0, CQTKUnitVolume, true);
}

void TQTKTieColumnVolAddIndentingAllLength::WriteExpr(IRDXRecord* subject, IRDXRecord* object,
                                                      IQTKTieColumnCalculatorEDO& column, double volume) const
{
    const std::shared_ptr<TQTKSolidCalc3d> calc = column.CalcIndentingVolume(LengthFactor());
    if (!calc || !calc->GetSolid())
        return;
    std::string text;
    GVolumeExprParser(subject, object, *calc->GetSolid(), 1.0, true, volume, text);
}

double TQTKTieColumnIndentingAddRule::Calculate(const RecordRef& subject, const RecordRef& object,
                                                const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    const double amount = Amount(*column);
    if (!GIsDetailMode)
        WriteExpr(subject.get(), object.get(), *column, amount);
    return amount;
}

double TQTKTieColumnVolAddIndentingHalfLength::Amount(IQTKTieColumnCalculatorEDO& column) const
{
    return GetIndentingVolume(column, LengthFactor());
}

double TQTKTieColumnVolDeductDoorWindowHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef& business,
                                                       const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    const TQTKVolumeTarget target = VolumeOf(subject, business, ruleContext);
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    return target && solid ? SubtractFromColumn(*column, target, subject.get(), *solid->GetPolyhedron(), object.get())
                           : 0.0;
}

double TQTKColumnVolDeductIrregularWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                   const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!IsCoveredByWalls(object.get(), subject.get()))
        return 0.0;
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const TQTKVolumeTarget target = VolumeOf(subject, business, ruleContext);
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    return target && solid ? SubtractFromColumn(*column, target, subject.get(), *solid->GetPolyhedron(), object.get())
                           : 0.0;
}

// ---------------------------------------------------------------------------

double TQTKColumnOverHeihtOriginalVol::Calculate(const RecordRef& subject, const RecordRef&,
                                                 const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(ruleContext);
    return GetOverhighOriginalVolume(subject.get(), ruleContext,
                                     GetOrBuildColumnOverHighVolume(subject, business, ruleContext));
}

double TQTKColumnOverHeightVolDeductIrregularWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                             const TableSourceRef& business,
                                                             const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(object.get());
    if (!drawObj || !IsConcreteElement(drawObj))
        return 0.0;
    return TQTKColumnOverHeightVolOf<TQTKColumnVolDeductIrregularWall>::Calculate(subject, object, business,
                                                                                  ruleContext);
}

void TQTKTieColumnOverHeightIndentinghalfLength::PrepareToothing(IQTKTieColumnCalculatorEDO&) const {}

void TQTKTieColumnOverHeightIndentingAllLength::PrepareToothing(IQTKTieColumnCalculatorEDO& column) const
{
    column.SetIndentingLengthMode(1);
}

double TQTKTieColumnOverHeightIndentinghalfLength::Calculate(const RecordRef& subject, const RecordRef&,
                                                             const TableSourceRef& business,
                                                             const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    PrepareToothing(*column);
    const double ratio = IndentRatio();
    return ReadToothingOverHigh(subject.get(), ruleContext, ratio,
                                GetOrBuildToothingOverHighVolume(*column, subject, business, ruleContext, ratio).get());
}

// ---------------------------------------------------------------------------

void RegisterColumnVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnVolDeductByFact);
    QTK_REGISTER(registry, TQTKColumnVolDeductByFactWithoutCupulateIsolatedFD);
    QTK_REGISTER(registry, TQTKColumnVolDeductFDBeamVol);
    QTK_REGISTER(registry, TQTKColumnVolDeductAloneBeamVol);
    QTK_REGISTER(registry, TQTKRectangleColumnVolDeductLackOneAndHalfWallThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnVolDeductLackSettledLenth);
    QTK_REGISTER(registry, TQTKRectangleColumnVolDeductLackOneThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnVolDeductNearWall);
    QTK_REGISTER(registry, TQTKColumnOverHeihtOriginalVol);
    QTK_REGISTER(registry, TQTKColumnOverHeightDeductByFact);
    QTK_REGISTER(registry, TQKRectangleColumnOverHeightVolDeductLackOneAndHalfWallThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnOverHeightVolDeductLackSettledLenth);
    QTK_REGISTER(registry, TQTKRectangleColumnOverHeightVolDeductLackOneThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnOverHeightVolDeductNearWall);
    QTK_REGISTER(registry, TQTKTieColumnVolAddIndentingHalfLength);
    QTK_REGISTER(registry, TQTKTieColumnVolAddIndentingAllLength);
    QTK_REGISTER(registry, TQTKTieColumnVolDeductDoorWindowHole);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightIndentinghalfLength);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightIndentingAllLength);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightVolDeductDoorWindowHole);
    QTK_REGISTER(registry, TQTKColumnVolDeductIrregularWall);
    QTK_REGISTER(registry, TQTKColumnOverHeightVolDeductIrregularWall);
}
