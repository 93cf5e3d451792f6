#include "Calculator/Strategies/WallStrategies/QTKWallOverhighFormBoardCalculator.h"

#include <algorithm>
#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Common/QTKStrategiesCommonWallFace.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighFormboardStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKWallOverHighCalcBuilder.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallFormBoardAreaCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
// Extension of a wall's middle line at each end, in wall thicknesses, for the
// tie-beam bands (the beam may run on past the wall's ends).
constexpr double CTieBeamLineExtension = 10.0;

// The wall (or the unit's wall) runs along an arc: its formwork pieces say so.
bool IsOnArc(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    IRDXRecord* host = drawObj && drawObj->GetElementTypeID() != CWallType ? drawObj->GetParentRecord() : record;
    const IQTKLineShape* shape = host ? GetRecordLineShape(host) : nullptr;
    return shape && shape->GetLine().IsArc();
}

Ref<IQTKWallCalcEDO> WallEDO(IRDXRecord* record)
{
    const Ref<IQTKWallCalcEDO> edo = RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("element " + std::to_string(record->GetID()) + " is no wall");
    return edo;
}

int KindsFor(bool objectFirst)
{
    return objectFirst ? CVRMSuperpositionBoth : CVRMSuperpositionContact;
}

// The object less its part in the band of Width beside Line (right of it
// when RightSide): what lies over the other side of the line.
double SubtractBeyondBand(const TQTKShellTarget& calc, IRDXRecord* object, const TVRMCustomLine2d& line, bool rightSide,
                          double width, int kinds)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object);
    if (!solid)
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> beyond = CutLineBandFromSolid(*solid, line, rightSide, width);
    return calc.Subtract(beyond.get(), object, kinds);
}

// Sum of the unmarked base lines per layer x width x weight, each layer's
// length x width term written outside detail mode.
double SumRevealLayers(std::unique_ptr<TVRMMultiPolyLinearCalc2d> calc, IRDXRecord* wall, IRDXRecord* other, bool flag,
                       double width, const std::vector<TQTKOverHighLayer>& layers)
{
    if (!calc)
        return 0.0;
    return SumLayerLengths(*calc, layers, width, [&](double length, double weight) {
        if (!GIsDetailMode)
            AddAreaExprDetail(wall, other, length, width, weight, flag);
    });
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared routines

std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildWallOverhighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighFormboard<TQTkWallOverHeightCalcBuilder>(subject, business, ruleContext,
                                                                      IsOnArc(subject.get()));
}

std::vector<TQTKOverHighLayer> GetWallOverhighLayers(const RecordRef& subject, const TableSourceRef& business,
                                                     const TableSourceRef& ruleContext)
{
    return GetOverhighLayers<TQTkWallOverHeightCalcBuilder>(subject, business, ruleContext, IsOnArc(subject.get()));
}

double GetWallOverhighHoleSideArea(IRDXRecord* wall, IRDXRecord* opening, bool flag, double width,
                                   const std::vector<TQTKOverHighLayer>& layers)
{
    return SumRevealLayers(BuildHoleRevealLinearCalc(wall, opening), wall, opening, flag, width, layers);
}

double GetWallOverhighJunctionSideArea(IRDXRecord* wall, IRDXRecord* fillWall, bool flag, double width,
                                       const std::vector<TQTKOverHighLayer>& layers)
{
    return SumRevealLayers(BuildFillWallJunctionLinearCalc(wall, fillWall), wall, fillWall, flag, width, layers);
}

double GetWallOverhighPierSideArea(IRDXRecord* holder, IRDXRecord* pier, const std::vector<TQTKOverHighLayer>& layers,
                                   const TQTKPierLayerTerm& term)
{
    const IQTKElementDrawObj* pierDrawObj = GetRecordDrawObj(pier);
    const auto* pierShape = pierDrawObj ? dynamic_cast<const IQTKPointShape*>(pierDrawObj->GetShape()) : nullptr;
    const IQTKElementDrawObj* holderDrawObj = GetRecordDrawObj(holder);
    const auto* holderShape = holderDrawObj ? dynamic_cast<const IQTKLineShape*>(holderDrawObj->GetShape()) : nullptr;
    TQTKPierPlanSides plan;
    if (!pierShape || !holderShape || layers.empty() || !GetPierPlanSides(holder, pier, plan) || !plan.MeetsHolder())
        return 0.0;
    // The holder's exposed sides less its face behind the pier: for a wall,
    // with perimeter P and exposed part E, E - (P - E).
    const double width = plan.Width();
    // The holder's height where the pier stands.
    const TVRMPoint2d at = TVRMPositionFunc2d::ClosestPointTo(pierShape->GetInsertPt(), holderShape->GetLine());
    const double top = holderShape->GetTopElevAt(at);
    const double bottom = holderShape->GetBottomElevAt(at);
    return width * SumOverLayers(
                       layers,
                       [&](const TQTKOverHighLayer& layer, int) {
                           // A layer outside the holder's height at the pier has none there.
                           return std::max(0.0, std::min(layer.top, top) - std::max(layer.bottom, bottom));
                       },
                       [&](double height, double weight) {
                           if (term)
                               term(width, height, weight);
                       });
}

// ---------------------------------------------------------------------------
// The family

TQTKShellTarget TQTKWallOverHighFormBoardRule::ShellOf(const RecordRef& subject, const TableSourceRef& business,
                                                       const TableSourceRef& ruleContext) const
{
    return TQTKShellTarget(GetOrBuildWallOverhighFormboard(subject, business, ruleContext));
}

double TQTKWallOverHighFormBoardRule::Deduct(const TArgs&) const
{
    return 0.0;
}

bool TQTKWallOverHighFormBoardRule::IsInWall(IRDXRecord* wall, IRDXRecord* opening) const
{
    return IsOpeningInWall(wall, opening);
}

double TQTKWallOverHighFormBoardRule::Calculate(const RecordRef& subject, const RecordRef& object,
                                                const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (const std::optional<double> limit = SizeLimit())
        if (LessEqualThan(GetOpeningOutlineArea(object.get()), *limit))
            return 0.0;
    const TQTKShellTarget calc = ShellOf(subject, business, ruleContext);
    if (!calc)
        return 0.0;
    return Deduct(TArgs{calc, subject.get(), object.get(), subject, business, ruleContext});
}

// ---------------------------------------------------------------------------
// Original

double TQTKWallOverHighFormBoardOriginalArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildWallOverhighFormboard(subject, business, ruleContext);
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(subject.get(), ruleContext, calc.get());
    return calc->GetArea();
}

// ---------------------------------------------------------------------------
// Openings and alcoves

double TQTKWallOverHighFormBoardAreaDeductHole::Deduct(const TArgs& a) const
{
    if (!IsInWall(a.wall, a.object))
        return 0.0;
    return a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, CVRMSuperpositionFlush);
}

double TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea::Deduct(const TArgs& a) const
{
    if (!IsInWall(a.wall, a.object))
        return 0.0;
    double result = a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, CVRMSuperpositionFlush);
    // An opening already taken off by an earlier rule gives no reveal back.
    if (!GreaterEqualThan(result, 1.0))
        return result;
    const std::vector<TQTKOverHighLayer> layers = GetWallOverhighLayers(a.subject, a.business, a.ruleContext);
    result -=
        GetWallOverhighHoleSideArea(a.wall, a.object, false, GetRecordPropFloat(a.wall, "Thickness", 0.0), layers);
    // The detail shows the net amount with its sign.
    ReplaceLastDeductExpr(a.object, MM2ToM2, result);
    return result;
}

double TQTKWallOverHighFormBoardAreaAddAloveSideArea::AlcoveDepth(IRDXRecord*, IRDXRecord* alcove) const
{
    return GetRecordPropFloat(alcove, "Depth", 0.0);
}

double TQTKWallOverHighFormBoardAreaAddAloveSideArea::Deduct(const TArgs& a) const
{
    if (!IsInWall(a.wall, a.object))
        return 0.0;
    const std::vector<TQTKOverHighLayer> layers = GetWallOverhighLayers(a.subject, a.business, a.ruleContext);
    return GetWallOverhighHoleSideArea(a.wall, a.object, true, AlcoveDepth(a.wall, a.object), layers);
}

// ---------------------------------------------------------------------------
// Piers

bool TQTKWallOverHighFormBoardAreaAddPierFormBoard::IsPierOf(IRDXRecord* wall, IRDXRecord* pier) const
{
    return FieldValueInteger(pier, "EDOPID", -1) == wall->GetID();
}

void TQTKWallOverHighFormBoardAreaAddPierFormBoard::AddTerm(IRDXRecord* wall, IRDXRecord*, double width, double height,
                                                            double weight) const
{
    if (TQTKEdoGlobalData* data = GetEdoGlobalData(wall->GetID()))
        data->GetExprContainer().AddValueItem(RecordRef(wall), data->GetCurQtyKey(), width * height, weight,
                                              CQTKUnitArea, true);
}

double TQTKWallOverHighFormBoardAreaAddPierFormBoard::Deduct(const TArgs& a) const
{
    if (!IsPierOf(a.wall, a.object))
        return 0.0;
    const std::vector<TQTKOverHighLayer> layers = GetWallOverhighLayers(a.subject, a.business, a.ruleContext);
    return GetWallOverhighPierSideArea(a.wall, a.object, layers, [&](double width, double height, double weight) {
        if (!GIsDetailMode)
            AddTerm(a.wall, a.object, width, height, weight);
    });
}

// ---------------------------------------------------------------------------
// By fact

double TQTKWallOverHighFormBoardAreaDeductByFact::DeductByFact(const TArgs& a)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(a.object);
    const bool isWall = other && other->GetElementTypeID() == CWallType;
    const bool first = isWall ? IsLineEntCutBy(a.wall, a.object, false)
                              : CompareFormboardPriority(a.wall, a.object, a.ruleContext) < 0;
    if (isWall && IsConcreteElement(other))
        return a.calc.SubtractWall(a.object, first);
    return a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, KindsFor(first));
}

double TQTKWallOverHighFormBoardAreaDeductByFact::Deduct(const TArgs& a) const
{
    return Deducts(a.wall, a.object) ? DeductByFact(a) : 0.0;
}

bool TQTKWallOverHighFormBoardAreaDeductNotParallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(wall, beam);
}

bool TQTKWallOverHighFormBoardAreaDeductParallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return IsLineEntsParallel(wall, beam);
}

bool TQTKWallOverHighFormBoardAreaDeductPallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return !IsWallWithinBeamWidth(beam, wall);
}

bool TQTKWallOverHighFormBoardAreaDeductColumnOnWall::Deducts(IRDXRecord* wall, IRDXRecord* column) const
{
    return !IsCoveredByWalls(wall, column);
}

// ---------------------------------------------------------------------------
// Beams along the wall

double TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea::Deduct(const TArgs& a) const
{
    if (!IsLineEntsParallel(a.wall, a.object))
        return 0.0;
    const Ref<IQTKWallCalcEDO> wall = WallEDO(a.wall);
    const double width = GetRecordThickness(a.object);
    if (wall->IsLeftSideExternal())
        return SubtractBeyondBand(a.calc, a.object, *wall->GetMidLine(), false, width, CVRMSuperpositionContact);
    if (wall->IsRightSideExternal())
        return SubtractBeyondBand(a.calc, a.object, *wall->GetMidLine(), true, width, CVRMSuperpositionContact);
    return DeductByFact(a);
}

double TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea::Deduct(const TArgs& a) const
{
    if (!IsLineEntsParallel(a.wall, a.object))
        return DeductByFact(a);
    // The inner bands, as the ordinary formwork measures them.
    const Ref<IQTKWallCalcEDO> wall = WallEDO(a.wall);
    TVRMCustomLine2d line = *wall->GetMidLine();
    const double extension = CTieBeamLineExtension * wall->GetThickness();
    line.ExtendBack(extension);
    line.ExtendForward(extension);
    const double width = GetRecordThickness(a.object);
    double result = 0.0;
    if (!wall->IsLeftSideExternal())
        result += SubtractBeyondBand(a.calc, a.object, line, true, width, CVRMSuperpositionContact);
    if (!wall->IsRightSideExternal())
        result += SubtractBeyondBand(a.calc, a.object, line, false, width, CVRMSuperpositionContact);
    return result;
}

double TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard::Deduct(const TArgs& a) const
{
    const Ref<IQTKWallCalcEDO> wall = WallEDO(a.wall);
    const bool left = wall->IsLeftSideExternal(), right = wall->IsRightSideExternal();
    if (left != right)
        return SubtractBeyondBand(a.calc, a.object, *wall->GetMidLine(), right, GetRecordThickness(a.wall),
                                  CVRMSuperpositionBoth);
    return IsInnerWallRecord(a.wall) ? DeductByFact(a) : 0.0;
}

// ---------------------------------------------------------------------------
// Walls, fill walls and slabs

double TQTKOverHighFromBoardAreaDeductWall::Deduct(const TArgs& a) const
{
    if (IsConcreteWallLinked(a.wall, a.object))
        return 0.0;
    const Ref<IQTKCalculatorEDO> own = GetCalcEDO(a.wall, true);
    const Ref<IQTKCalculatorEDO> other = GetCalcEDO(a.object, true);
    const bool first = own && other && CompareWallJoinPriority(own.get(), other.get()) < 0;
    return a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, KindsFor(first));
}

double TQTKOverHighFormBoardAreaDeductFillWall::Deduct(const TArgs& a) const
{
    if (!IsConcreteWallLinked(a.wall, a.object))
        return 0.0;
    double result = a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, CVRMSuperpositionFlush);
    if (!SameValue(result, 0.0) && !SameValue(a.calc.GetArea(), 0.0)) {
        const std::vector<TQTKOverHighLayer> layers = GetWallOverhighLayers(a.subject, a.business, a.ruleContext);
        result -= GetWallOverhighJunctionSideArea(a.wall, a.object, false, GetRecordPropFloat(a.wall, "Thickness", 0.0),
                                                  layers);
    }
    return result;
}

double TQTKWallOverHighFormBoardAreaDeductSlabForFUJIAN::Deduct(const TArgs& a) const
{
    double result = DeductByFact(a);
    const std::unique_ptr<TVRMPolyhedron3d> cut =
        BuildSlabCutSolid(GetRecordDrawObj(a.wall), GetRecordDrawObj(a.object));
    result += a.calc.Subtract(cut.get(), a.object, CVRMSuperpositionBoth);
    return result;
}

// ---------------------------------------------------------------------------

void RegisterWallOverhighFormBoardRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardOriginalArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductHole);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbon);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbon1M);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbon5M);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea1M);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea5M);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHole);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHoleAddSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHole);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHoleAddSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHole);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHoleAddSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaAddPierFormBoard);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaAddAloveSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaAddLargerThanPointCentiareAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductParallelBeam);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductPallelBeam);
    QTK_REGISTER(registry, TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard);
    QTK_REGISTER(registry, TQTKOverHighFromBoardAreaDeductWall);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductColumnOnWall);
    QTK_REGISTER(registry, TQTKOverHighFormBoardAreaDeductFillWall);
    QTK_REGISTER(registry, TQTKWallOverHighFormBoardAreaDeductSlabForFUJIAN);
}
