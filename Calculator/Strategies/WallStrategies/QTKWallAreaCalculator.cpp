#include "Calculator/Strategies/WallStrategies/QTKWallAreaCalculator.h"

#include <memory>
#include <optional>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// Superposition kinds of a middle-face deduction: faces the solid touches
// from the front and faces flush with its faces go too.
constexpr int CContactAndFlushKinds = 3;

// The element object of a record in the family a rule expects; an element of
// another kind raises.
template <class T>
Ref<T> FamilyEDO(IRDXRecord* record, const char* family)
{
    const Ref<T> edo = RefCast<T>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("element " + std::to_string(record ? record->GetID() : 0) + " is no " + family);
    return edo;
}

Ref<IQTKWallCalcEDO> WallEDO(IRDXRecord* record)
{
    return FamilyEDO<IQTKWallCalcEDO>(record, "wall");
}

// Whether a measure is above a size limit (at the limit, within the length
// tolerance, is not).
bool IsAboveLimit(double measure, double limit)
{
    return !LessEqualThan(measure, limit);
}

// An amount per unit of a wall thickness; 0 for a thickness of 0, which
// gives no quotient.
double PerThickness(double amount, double thickness)
{
    return SameValue(thickness, 0.0) ? 0.0 : amount / thickness;
}

// The pier stands against this wall: its "EDOPID" names the wall.
bool IsPierOfWall(const RecordRef& wall, const RecordRef& pier)
{
    return wall && pier && FieldValueInteger(pier.get(), "EDOPID", -1) == wall->GetID();
}

}  // namespace

// ---------------------------------------------------------------------------
// The area paths

bool TQTKWallAreaCalcStrategy::IsAreaByFace(IQTKWallCalcEDO& wall, const TableSourceRef& ruleContext)
{
    const IRDXRecord* settings = GetSettingRow(ruleContext, "QTKWallCalcSettings");
    const int method = FieldValueInteger(settings, "AreaCalcMethod", 0);
    if (method != 1 && method != 2)
        return true;
    if (wall.GetCalcThickness() <= 0)
        wall.SetCalcThickness(method == 1 ? wall.GetThickness() : GetEdoRatingThickness(&wall, ruleContext));
    return false;
}

double TQTKWallAreaCalcStrategy::DeductArea(IQTKWallCalcEDO& wall, const TVRMPolyhedron3d& solid,
                                            IRDXRecord* faceRecord, IRDXRecord* solidRecord,
                                            const TableSourceRef& ruleContext)
{
    if (IsAreaByFace(wall, ruleContext))
        return wall.GetMidFaceShellCalc()->Subtract(solid, faceRecord, CContactAndFlushKinds, nullptr, true, true);
    return wall.GetAreaCalc()->Subtract(solid, solidRecord, nullptr, true, false);
}

double TQTKWallAreaCalcStrategy::DeductSolidArea(const RecordRef& wall, const RecordRef& object,
                                                 const TableSourceRef& ruleContext)
{
    const Ref<IQTKWallCalcEDO> edo = WallEDO(wall.get());
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? DeductArea(*edo, *solid, object.get(), object.get(), ruleContext) : 0.0;
}

// ---------------------------------------------------------------------------
// The object's own solid

double TQTKWallAreaDeductObjectSolid::Calculate(const RecordRef& subject, const RecordRef& object,
                                                const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    return DeductSolidArea(subject, object, ruleContext);
}

double TQTKWallAreaDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                           const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    const double result = TQTKWallAreaDeductObjectSolid::Calculate(subject, object, business, ruleContext);
    if (result != 0.0)
        ReplaceLastDeductExpr(object.get(), MM2ToM2, result);
    return result;
}

bool TQTKWallAreaDeductOpeningByFact::Deducts(IRDXRecord* wall, IRDXRecord* opening) const
{
    if (const std::optional<double> limit = SizeLimit(); limit && !IsAboveLimit(Measure(opening), *limit))
        return false;
    return IsOpeningInWall(wall, opening);
}

double TQTKWallAreaDeductOpeningByFact::Measure(IRDXRecord* opening) const
{
    return GetOpeningOutlineArea(opening);
}

double TQTKWallAreaDeductDot05M3LimitedOpenning::Measure(IRDXRecord* opening) const
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(opening);
    return solid ? solid->GetVolume() : 0.0;
}

bool TQTKWallAreaDeductRibbon::Deducts(IRDXRecord* wall, IRDXRecord* ribbon) const
{
    return IsLineEntsParallel(wall, ribbon);
}

bool TQTKWallAreaDeductDot25M3LimitedLintel::Deducts(IRDXRecord*, IRDXRecord* lintel) const
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(lintel);
    return solid && IsAboveLimit(solid->GetVolume(), 25'000'000.0);
}

bool TQTKWallAreaDedcuctParallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return IsLineEntsParallel(wall, beam);
}

bool TQTKWallAreaDedcuctNonparallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(wall, beam);
}

bool TQTKWallAreaDedcuctParallelIrregularBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return IsLineEntsParallel(wall, beam) && !IsWallWithinBeamWidth(beam, wall);
}

bool TQTKWallAreaDeductIrregularColumn::Deducts(IRDXRecord* wall, IRDXRecord* column) const
{
    return !IsCoveredByWalls(wall, column);
}

bool TQTKWallAreaDeductWall::Deducts(IRDXRecord* wall, IRDXRecord* other) const
{
    return IsWallDeductedByWall(wall, other);
}

bool TQTKWallAreaDeductFillWall::Deducts(IRDXRecord* wall, IRDXRecord* fillWall) const
{
    return IsConcreteWallLinked(wall, fillWall);
}

// ---------------------------------------------------------------------------
// Openings by their frame

double TQTKWallAreaDeductHollowByFrame::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    const TVRMPolyhedron3d* cut = FamilyEDO<IQTKWallHollowCalcEDO>(object.get(), "opening")->GetCutSolid();
    if (!cut)
        return 0.0;
    return DeductArea(*WallEDO(subject.get()), *cut, object.get(), object.get(), ruleContext);
}

bool TQTKWallAreaDeductHollowByFrame::Deducts(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsOpeningInWall(wall, opening);
}

bool TQTKWallAreaDeductRibbonFrame::Deducts(IRDXRecord* wall, IRDXRecord* ribbon) const
{
    return IsLineEntsParallel(wall, ribbon) && TQTKWallAreaDeductHollowByFrame::Deducts(wall, ribbon);
}

// ---------------------------------------------------------------------------
// Tie columns

double TQTKWallAreaDeductWholeIndenting::Calculate(const RecordRef& subject, const RecordRef& object,
                                                   const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsTypeZeroElement(object.get()))
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> toothed = BuildColumnIndentingSolid(object.get(), WholeTeeth());
    return DeductArea(*WallEDO(subject.get()), *toothed, object.get(), object.get(), ruleContext);
}

// ---------------------------------------------------------------------------
// Trenches

double TQTKWallAreaDeductTrenchHollow::Calculate(const RecordRef& subject, const RecordRef& object,
                                                 const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const IQTKElementDrawObj* unit = GetRecordDrawObj(object.get());
    IRDXRecord* trench = unit ? unit->GetParentRecord() : nullptr;
    QTK_ASSERT(trench != nullptr);
    const TVRMPolyhedron3d* hollow = FamilyEDO<IQTKTrenchCalcEDO>(trench, "trench")->GetHoleSolid();
    if (!hollow)
        return 0.0;
    return DeductArea(*WallEDO(subject.get()), *hollow, object.get(), object.get(), ruleContext);
}

double TQTKWallAreaDeductTrench::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                           const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    IRDXRecord* trench = GetMasterRecord(object.get(), "EDOPID");
    QTK_ASSERT(trench != nullptr);
    const TVRMPolyhedron3d* whole = FamilyEDO<IQTKTrenchCalcEDO>(trench, "trench")->GetWholeSolid();
    if (!whole)
        return 0.0;
    return DeductArea(*WallEDO(subject.get()), *whole, trench, object.get(), ruleContext);
}

// ---------------------------------------------------------------------------
// Piers

double TQTKWallAreaAddPierByThickness::Calculate(const RecordRef& subject, const RecordRef& object,
                                                 const TableSourceRef&, const TableSourceRef&)
{
    if (!IsPierOfWall(subject, object))
        return 0.0;
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    const Ref<IQTKPierCalcEDO> pier = FamilyEDO<IQTKPierCalcEDO>(object.get(), "pier");
    if (!GIsDetailMode)
        return PerThickness(pier->GetVolume(), wall->GetThickness());

    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    const double result = PerThickness(solid ? solid->GetVolume() : 0.0, wall->GetThickness());
    if (!SameValue(result, 0.0)) {
        const TQTKCurrentQty qty = CurrentQtyOf(subject.get());
        auto detail = std::make_unique<TQTKSolidDeductDetail>(
            object, qty.code, qty.desc, solid ? solid->Clone() : nullptr, nullptr, MM2ToM2(result));
        const std::shared_ptr<const TVRMPolyhedron3d> original = HoldOriginalSolid(subject.get());
        const TVRMPolyhedron3d* wallSolid =
            wall->GetCalcByOnlyMaterial() != 0 ? wall->GetOnlyMaterialSolid() : original.get();
        detail->AddCorrecticeEDO(
            std::make_unique<TQTKCorrectiveEDO>(subject, wallSolid ? wallSolid->Clone() : nullptr));
        detail->SetIsAddition(true);
        AddDeductDetail(std::move(detail));
    }
    return result;
}

double TQTKWallAreaAddPierByRatingThickness::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef&, const TableSourceRef& ruleContext)
{
    if (!IsPierOfWall(subject, object))
        return 0.0;
    const Ref<IQTKPierCalcEDO> pier = FamilyEDO<IQTKPierCalcEDO>(object.get(), "pier");
    return PerThickness(pier->GetVolume(), GetWallRatingThickness(subject.get(), ruleContext));
}

// ---------------------------------------------------------------------------

void RegisterWallAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallAreaCalcStrategy);
    QTK_REGISTER(registry, TQTKWallAreaDeductByFact);
    QTK_REGISTER(registry, TQTKWallAreaDeductOpeningByFact);
    QTK_REGISTER(registry, TQTKWallAreaDeductRibbon);
    QTK_REGISTER(registry, TQTKWallAreaDeductDot25M3LimitedLintel);
    QTK_REGISTER(registry, TQTKWallAreaDeductDot1M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallAreaDeductDot3M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallAreaDeductDot05M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallAreaDeductDot05M3LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallAreaDeduct1m2LimitedOpenging);
    QTK_REGISTER(registry, TQTKWallAreaDeductHollowByFrame);
    QTK_REGISTER(registry, TQTKWallAreaDeductRibbonFrame);
    QTK_REGISTER(registry, TQTKWallAreaDedcuctParallelBeam);
    QTK_REGISTER(registry, TQTKWallAreaDedcuctNonparallelBeam);
    QTK_REGISTER(registry, TQTKWallAreaDedcuctParallelIrregularBeam);
    QTK_REGISTER(registry, TQTKWallAreaDeductIrregularColumn);
    QTK_REGISTER(registry, TQTKWallAreaDeductWholeIndenting);
    QTK_REGISTER(registry, TQTKWallAreaDeductHalfIndenting);
    QTK_REGISTER(registry, TQTKWallAreaDeductTrenchHollow);
    QTK_REGISTER(registry, TQTKWallAreaDeductTrench);
    QTK_REGISTER(registry, TQTKWallAreaAddPierByThickness);
    QTK_REGISTER(registry, TQTKWallAreaAddPierByRatingThickness);
    QTK_REGISTER(registry, TQTKWallAreaDeductWall);
    QTK_REGISTER(registry, TQTKWallAreaDeductFillWall);
}
