#include "Calculator/Strategies/WallStrategies/QTKWallVolumeCalculator.h"

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CAlcoveType = 13;
constexpr int CWallType = 0;
constexpr int CInsulatingWallUnitType = 86;

template <class T>
Ref<T> EdoAs(IRDXRecord* record)
{
    const Ref<T> edo = RefCast<T>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("the element is not of the kind the rule expects");
    return edo;
}

// Takes Solid off the wall's volume on behalf of Record (Shown: the element's
// own solid in the detail) and returns the volume removed. In expression mode
// the part of the wall that Solid covers is written as the expression.
double SubtractFromWall(IQTKCalculatorEDO& wall, IRDXRecord* subject, const TVRMPolyhedron3d& solid, IRDXRecord* record,
                        const TVRMPolyhedron3d* shown, const TQTKVolumeTarget& target)
{
    TQTKSolidCalc3d* volume = target.Regular();
    if (!volume)
        return target.Subtract(solid, record, shown);
    const double removed = volume->Subtract(solid, record, shown, true, true);
    if (IsExprMode(subject) && removed > 0.0) {
        if (const std::shared_ptr<const TVRMPolyhedron3d> wallSolid = HoldOriginalSolid(&wall)) {
            auto part = wallSolid->Clone();
            TVRMNewPolyBooleanOperator::BooleanOperate(*part, solid, CVRMBoolIntersect);
            std::string text;
            GVolumeExprParser(subject, record, *part, volume->GetFactor(), true, removed, text);
            AddExprText(subject, text);
        }
    }
    return removed;
}

// The same on the wall's volume calculator.
double SubtractFromWall(IQTKWallCalcEDO& wall, IRDXRecord* subject, const TVRMPolyhedron3d& solid, IRDXRecord* record,
                        const TVRMPolyhedron3d* shown)
{
    return SubtractFromWall(wall, subject, solid, record, shown, TQTKVolumeTarget(wall.GetVolumeCalc().get()));
}

// A wall of no thickness (an insulating wall unit: its layer's volume shows it).
bool HasNoThickness(IQTKCalculatorEDO& element)
{
    auto* wall = Supports<IQTKWallCalcEDO>(&element);
    return wall && SameValue(wall->GetThickness(), 0.0);
}

// The band a slab joint strip crosses: a wall's material-only plan and side
// lines when it calculates by material only, else its ordinary ones; an
// insulating wall unit's own.
struct TJointBand {
    const TVRMMultiPolygon2d* plan = nullptr;
    const TVRMCustomLine2d* left = nullptr;
    const TVRMCustomLine2d* right = nullptr;
};
TJointBand JointBandOf(IQTKCalculatorEDO& element)
{
    if (auto* wall = Supports<IQTKWallCalcEDO>(&element)) {
        if (wall->GetCalcByOnlyMaterial() != 0)
            return {wall->GetOnlyMaterialPolygon(), wall->GetOnlyMaterialLeftLine(), wall->GetOnlyMaterialRightLine()};
        return {wall->GetPlanPolygon(), wall->GetLeftLine(), wall->GetRightLine()};
    }
    if (auto* unit = Supports<IQTKInsulatingWallUnitCalcEDO>(&element))
        return {unit->GetPlanPolygon(), unit->GetLeftLine(), unit->GetRightLine()};
    throw EIntfCastError("the element is not a wall");
}

// The thickness quotient of another wall: calculation thickness / thickness,
// 0 for a wall of no thickness.
double WallThicknessRatio(IQTKWallCalcEDO& wall, const TableSourceRef& ruleContext)
{
    const int thickness = wall.GetThickness();
    if (SameValue(thickness, 0.0))
        return 0.0;
    return static_cast<double>(wall.CalcInternalQtyThickness(ruleContext)) / thickness;
}

}  // namespace

// ---------------------------------------------------------------------------

double TQTKWallVolumeAddPier::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                        const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (FieldValueInteger(object.get(), "EDOPID", -1) != subject->GetID())
        return 0.0;
    const Ref<IQTKPierCalcEDO> pier = EdoAs<IQTKPierCalcEDO>(object.get());
    if (!GIsDetailMode) {
        const std::shared_ptr<TQTKSolidCalc3d> volume = pier->GetVolumeCalc();
        return volume ? volume->HandleVolumeExpr(true) : 0.0;
    }
    // Detail mode: the addition is shown as a detail and counts nothing here.
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    wall->GetVolumeCalc();
    const std::shared_ptr<const TVRMPolyhedron3d> pierSolid = HoldOriginalSolid(pier.get());
    if (!pierSolid)
        return 0.0;
    auto added = pierSolid->Clone();
    TRecordList covering;
    pier->GetRelatedByTypes(MakeElementTypeSet({15, 19, 20}), &covering);
    for (const RecordRef& member : covering)
        if (const std::shared_ptr<const TVRMPolyhedron3d> memberSolid = HoldOriginalSolid(member.get()))
            TVRMNewPolyBooleanOperator::BooleanOperate(*added, *memberSolid, CVRMBoolSubtract);
    TQTKCurrentQty qty = CurrentQtyOf(subject.get());
    const std::string amount = MM3ToM3(added->GetVolume());
    auto detail = std::make_unique<TQTKSolidDeductDetail>(object, std::move(qty.code), std::move(qty.desc),
                                                          pierSolid->Clone(), std::move(added), amount);
    const std::shared_ptr<const TVRMPolyhedron3d> original = HoldOriginalSolid(wall.get());
    const TVRMPolyhedron3d* wallSolid = wall->GetCalcByOnlyMaterial() ? wall->GetOnlyMaterialSolid() : original.get();
    if (wallSolid)
        detail->AddCorrecticeEDO(std::make_unique<TQTKCorrectiveEDO>(subject, wallSolid->Clone()));
    detail->SetIsAddition(true);
    AddDeductDetail(std::move(detail));
    return 0.0;
}

// ---------------------------------------------------------------------------

TQTKVolumeTarget TQTKWallVolumeRule::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                              const TableSourceRef&) const
{
    return TQTKVolumeTarget(EdoAs<IQTKWallCalcEDO>(subject.get())->GetVolumeCalc().get());
}

bool TQTKWallVolumeDeductByFact::IsDeducted(IRDXRecord*, IRDXRecord*) const
{
    return true;
}

double TQTKWallVolumeDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                             const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsDeducted(subject.get(), object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    if (!volume)
        return 0.0;
    const Ref<IQTKCalculatorEDO> element = GetCalcEDO(object, true);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(element.get());
    if (!solid)
        return 0.0;
    const IQTKElementDrawObj* drawObj = element->GetElementDrawObj();
    IRDXRecord* host = drawObj->GetElementTypeID() == CAlcoveType ? drawObj->GetParentRecord() : nullptr;
    if (!host || host->GetID() == subject->GetID())
        return SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr, volume);
    // An alcove of another wall: the niche it cuts out of its own host.
    if (GetRecordElementTypeID(host) == CInsulatingWallUnitType)
        if (const IQTKElementDrawObj* unit = GetRecordDrawObj(host); unit && unit->GetParentRecord())
            host = unit->GetParentRecord();
    const Ref<IQTKCalculatorEDO> hostEdo = GetCalcEDO(host, true);
    auto* hostWall = GetRecordElementTypeID(host) == CWallType ? Supports<IQTKWallCalcEDO>(hostEdo.get()) : nullptr;
    const std::shared_ptr<const TVRMPolyhedron3d> original = HoldOriginalSolid(hostEdo.get());
    const TVRMPolyhedron3d* hostSolid =
        hostWall && hostWall->GetCalcByOnlyMaterial() ? hostWall->GetOnlyMaterialSolid() : original.get();
    if (!hostSolid)
        return 0.0;
    auto niche = hostSolid->Clone();
    TVRMNewPolyBooleanOperator::BooleanOperate(*niche, *solid, CVRMBoolIntersect);
    return SubtractFromWall(*wall, subject.get(), *niche, object.get(), nullptr, volume);
}

bool TQTKWallVolumeDeductDot25M3LimitedLintel::IsDeducted(IRDXRecord*, IRDXRecord* object) const
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object);
    return solid && !LessEqualThan(solid->GetVolume(), 25'000'000.0);
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductSlabByThickness::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    const Ref<IQTKCalculatorEDO> slab = GetCalcEDO(object, true);
    const auto solid = BuildSlabSolidOverWall(object.get(), subject.get());
    return SubtractFromWall(*wall, subject.get(), *solid, object.get(), HoldOriginalSolid(slab.get()).get(), volume);
}

// ---------------------------------------------------------------------------

bool TQTKWallVolumeDeductHollowByFact::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsHoleOnLineEnt(wall, opening);
}

bool TQTKWallVolumeDeductHollowByFrame::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsHoleOnLineEnt(wall, opening);
}

double TQTKWallVolumeDeductHollowByFact::Measure(IRDXRecord*, IRDXRecord* opening) const
{
    return GetOpeningOutlineArea(opening);
}

double TQTKWallVolumeDeductDot05M3LimitedOpenning::Measure(IRDXRecord*, IRDXRecord* opening) const
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(opening);
    return solid ? solid->GetVolume() : 0.0;
}

double TQTKWallVolumeDeductHollowByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                   const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    if (HasNoThickness(*wall) || !IsInWall(subject.get(), object.get()))
        return 0.0;
    if (const std::optional<double> limit = SizeLimit();
        limit && LessEqualThan(Measure(subject.get(), object.get()), *limit))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = volume ? HoldOriginalSolid(object.get()) : nullptr;
    return solid ? SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr, volume) : 0.0;
}

double TQTKWallVolumeDeductHollowByFrame::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    if (HasNoThickness(*wall) || !IsInWall(subject.get(), object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(object, true);
    const TVRMPolyhedron3d* cut = nullptr;
    if (auto* hollow = Supports<IQTKWallHollowCalcEDO>(edo.get()))
        cut = hollow->GetCutSolid();
    if (!cut)
        throw EIntfCastError("the element is not an opening");
    return SubtractFromWall(*wall, subject.get(), *cut, object.get(), HoldOriginalSolid(edo.get()).get(), volume);
}

// ---------------------------------------------------------------------------

TQTKWallVolumeDeductBeamPart::TPart TQTKWallVolumeDeductBeamPart::PartOf(bool, IRDXRecord*, IRDXRecord*) const
{
    return TPart::None;
}

double TQTKWallVolumeDeductBeamPart::Calculate(const RecordRef& subject, const RecordRef& object,
                                               const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const TPart part = PartOf(IsLineEntsParallel(subject.get(), object.get()), object.get(), subject.get());
    if (part == TPart::None)
        return 0.0;
    return VolumeOf(subject, business, ruleContext).DeductPart(object.get(), part == TPart::Parallel);
}

TQTKWallVolumeDeductBeamPart::TPart TQTKWallVolumeDedcuctParallelBeam::PartOf(bool parallel, IRDXRecord*,
                                                                              IRDXRecord*) const
{
    return parallel ? TPart::Parallel : TPart::None;
}

TQTKWallVolumeDeductBeamPart::TPart TQTKWallVolumeDedcuctNonparallelBeam::PartOf(bool parallel, IRDXRecord*,
                                                                                 IRDXRecord*) const
{
    return parallel ? TPart::None : TPart::Crossing;
}

TQTKWallVolumeDeductBeamPart::TPart TQTKWallVolumeDedcuctParallelIrregularBeam::PartOf(bool parallel, IRDXRecord* beam,
                                                                                       IRDXRecord* wall) const
{
    return parallel && !IsWallWithinBeamWidth(beam, wall) ? TPart::Parallel : TPart::None;
}

TQTKWallVolumeDeductBeamPart::TPart TQTKWallVolumeDedcuctIrregularBeam::PartOf(bool parallel, IRDXRecord* beam,
                                                                               IRDXRecord* wall) const
{
    if (!parallel)
        return TPart::Crossing;
    return IsWallWithinBeamWidth(beam, wall) ? TPart::None : TPart::Parallel;
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductTrenchHollow::Calculate(const RecordRef& subject, const RecordRef& object,
                                                   const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const IQTKElementDrawObj* unit = GetRecordDrawObj(object.get());
    IRDXRecord* trenchRecord = unit ? unit->GetParentRecord() : nullptr;
    QTK_ASSERT(trenchRecord);
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    const Ref<IQTKTrenchCalcEDO> trench = EdoAs<IQTKTrenchCalcEDO>(trenchRecord);
    const TVRMPolyhedron3d* solid = WholeSolid() ? trench->GetWholeSolid() : trench->GetHoleSolid();
    return solid ? SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr) : 0.0;
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductIrregularColumn::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (IsCoveredByWalls(subject.get(), object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = volume ? HoldOriginalSolid(object.get()) : nullptr;
    return solid ? SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr, volume) : 0.0;
}

double TQTKWallVolumeDeductWholeIndenting::Calculate(const RecordRef& subject, const RecordRef& object,
                                                     const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    if (!IsTypeZeroElement(object.get()))
        return 0.0;
    const auto solid = BuildColumnIndentingSolid(object.get(), Whole());
    return SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr);
}

// ---------------------------------------------------------------------------

bool TQTKWallVolumeDeductWall::IsDeducted(IRDXRecord* wall, IRDXRecord* other) const
{
    return IsWallDeductedByWall(wall, other);
}

bool TQTKWallVolumeDeductFillWall::IsDeducted(IRDXRecord* wall, IRDXRecord* other) const
{
    return IsConcreteWallLinked(wall, other);
}

double TQTKWallVolumeDeductWall::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                           const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    if (!IsDeducted(subject.get(), object.get()))
        return 0.0;
    const Ref<IQTKWallCalcEDO> other = EdoAs<IQTKWallCalcEDO>(object.get());
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(other.get());
    if (!solid)
        return 0.0;
    const double removed = SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr);
    return removed * WallThicknessRatio(*other, ruleContext);
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductSlabByRangeLimitThickness::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    const Ref<IQTKCalculatorEDO> slab = GetCalcEDO(object, true);
    const auto* faceShape = dynamic_cast<const IQTKFaceShape*>(slab->GetElementDrawObj()->GetShape());
    if (!faceShape)
        return 0.0;
    // Thin slabs by 90 mm, the others by 140 mm.
    const double thickness = LessEqualThan(GetRecordThickness(object.get()), 120.0) ? 90.0 : 140.0;
    const std::unique_ptr<TVRMPlane3d> plane = GetFaceShapePlane(faceShape, true);
    const auto solid = TVRMPolyhedron3d::CreateOnPlane(faceShape->GetOutline(), *plane, thickness);
    return SubtractFromWall(*wall, subject.get(), *solid, object.get(), HoldOriginalSolid(slab.get()).get());
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductSlabByThinner::CombineThickness(double a, double b) const
{
    return std::min(a, b);
}

bool TQTKWallVolumeDeductSlabByThinner::RecordJointPolygons() const
{
    return true;
}

double TQTKWallVolumeDeductSlabByThinner::DeductPiece(IQTKCalculatorEDO& wall, const TQTKVolumeTarget& volume,
                                                      const TVRMPolyhedron3d& solid, IRDXRecord* slab) const
{
    IRDXRecord* subject = wall.GetElementDrawObj()->GetRecord();
    return SubtractFromWall(wall, subject, solid, slab, HoldOriginalSolid(slab).get(), volume);
}

double TQTKWallVolumeDeductSlabByAve::CombineThickness(double a, double b) const
{
    return (a + b) / 2.0;
}

bool TQTKWallVolumeDeductSlabByAve::RecordJointPolygons() const
{
    return false;
}

double TQTKWallVolumeDeductSlabByThinner::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKSlabCalculator> slab = EdoAs<IQTKSlabCalculator>(object.get());
    if (slab->IsCurvedFaceShape())
        return TQTKWallVolumeDeductByFact::Calculate(subject, object, business, ruleContext);
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(subject, true);
    const std::optional<TVRMPlane3d> reference = GetSlabReferencePlane(*slab);
    const IQTKShape* slabShape = slab->GetElementDrawObj()->GetShape();
    if (!reference || !slabShape)
        return 0.0;
    const auto [plan, left, right] = JointBandOf(*wall);
    if (!plan || !left || !right)
        return 0.0;
    auto rest = slabShape->GetOutline().Clone();
    TQTKSlabJointHooks hooks;
    hooks.combineThickness = [this](double a, double b) { return CombineThickness(a, b); };
    hooks.recordJointPolygons = RecordJointPolygons();
    hooks.deductPiece = [&](const TVRMPolyhedron3d& piece) { return DeductPiece(*wall, volume, piece, object.get()); };
    const double result = DeductSlabJointStrips(*wall, *slab, object.get(), *plan, *left, *right, rest, hooks);
    const auto solid = BuildSlabPolygonSolidOverWall(object.get(), subject.get(), *rest);
    return result + DeductPiece(*wall, volume, *solid, object.get());
}

// ---------------------------------------------------------------------------

double TQTKWallVolumeDeductCoping::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKWallCalcEDO> wall = EdoAs<IQTKWallCalcEDO>(subject.get());
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return 0.0;
    const std::shared_ptr<const TVRMPolyhedron3d> solid =
        HoldOriginalSolid(EdoAs<IQTKCopingCalcEDO>(object.get()).get());
    return solid ? SubtractFromWall(*wall, subject.get(), *solid, object.get(), nullptr) : 0.0;
}

// ---------------------------------------------------------------------------

void RegisterWallVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallVolumeAddPier);
    QTK_REGISTER(registry, TQTKWallVolumeDeductByFact);
    QTK_REGISTER(registry, TQTKWallVolumeDeductDot25M3LimitedLintel);
    QTK_REGISTER(registry, TQTKWallVolumeDeductSlabByThickness);
    QTK_REGISTER(registry, TQTKWallVolumeDeductHollowByFact);
    QTK_REGISTER(registry, TQTKWallVolumeDeductDot1M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallVolumeDeductDot3M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallVolumeDeductDot05M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallVolumeDeductDot05M3LimitedOpenning);
    QTK_REGISTER(registry, TQTKWallVolumeDeductHollowByFrame);
    QTK_REGISTER(registry, TQTKWallVolumeDedcuctParallelBeam);
    QTK_REGISTER(registry, TQTKWallVolumeDedcuctNonparallelBeam);
    QTK_REGISTER(registry, TQTKWallVolumeDedcuctParallelIrregularBeam);
    QTK_REGISTER(registry, TQTKWallVolumeDedcuctIrregularBeam);
    QTK_REGISTER(registry, TQTKWallVolumeDeductTrenchHollow);
    QTK_REGISTER(registry, TQTKWallVolumeDeductTrench);
    QTK_REGISTER(registry, TQTKWallVolumeDeductIrregularColumn);
    QTK_REGISTER(registry, TQTKWallVolumeDeductWholeIndenting);
    QTK_REGISTER(registry, TQTKWallVolumeDeductHalfIndenting);
    QTK_REGISTER(registry, TQTKWallVolumeDeductWall);
    QTK_REGISTER(registry, TQTKWallVolumeDeductSlabByRangeLimitThickness);
    QTK_REGISTER(registry, TQTKWallVolumeDeductSlabByThinner);
    QTK_REGISTER(registry, TQTKWallVolumeDeductSlabByAve);
    QTK_REGISTER(registry, TQTKWallVolumeDeductCoping);
    QTK_REGISTER(registry, TQTKWallVolumeDeductFillWall);
}
