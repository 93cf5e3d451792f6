#include "Calculator/Strategies/WallStrategies/QTKWallFormBoardAreaCalculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKStrategiesCommonWallFace.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
// Extension of a wall's middle line at each end, in wall thicknesses, for the
// tie-beam bands (the beam may run on past the wall's ends).
constexpr double CTieBeamLineExtension = 10.0;
// The column sides counted are those within this many wall thicknesses.
constexpr double COnePointFive = 1.5;

Ref<IQTKWallCalcEDO> WallEDO(IRDXRecord* record)
{
    const Ref<IQTKWallCalcEDO> edo = RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("element " + std::to_string(record->GetID()) + " is no wall");
    return edo;
}

double PropFloat(IRDXRecord* record, std::string_view name)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

// Solid taken off the wall's formwork on behalf of Record.
double SubtractFromWall(IRDXRecord* wall, const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds,
                        bool formulaText = true)
{
    if (!solid || !solid->HasFaces())
        return 0.0;
    const std::shared_ptr<TQTKShellCalc3d> shell = WallEDO(wall)->GetSideFaceShellCalc();
    return shell ? shell->Subtract(*solid, record, kinds, nullptr, true, formulaText) : 0.0;
}

double SubtractObject(IRDXRecord* wall, IRDXRecord* object, int kinds)
{
    return SubtractFromWall(wall, HoldOriginalSolid(object).get(), object, kinds);
}

// The object less its part in the band of Width beside Line (right of it
// when RightSide) taken off the wall's formwork: a band laid over the
// external side keeps the object off that face.
double SubtractBeyondBand(IRDXRecord* wall, IRDXRecord* object, const TVRMCustomLine2d& line, bool rightSide,
                          double width, int kinds)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object);
    if (!solid)
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> rest = CutLineBandFromSolid(*solid, line, rightSide, width);
    return SubtractFromWall(wall, rest.get(), object, kinds);
}

bool IsAboveLimit(double measure, const std::optional<double>& limit)
{
    return !limit || !LessEqualThan(measure, *limit);
}

}  // namespace

// ---------------------------------------------------------------------------
// Routines shared with the insulating wall units

std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildHoleRevealLinearCalc(IRDXRecord* wall, IRDXRecord* opening)
{
    std::unique_ptr<TVRMMultiPolyLinearCalc2d> calc = BuildAlcoveSideLinearCalc(wall, opening);
    if (!calc || calc->GetCount() == 0)
        return nullptr;
    AppendOtherRibbonSections(opening, wall, *calc, 1);
    const IQTKElementDrawObj* wallDrawObj = GetRecordDrawObj(wall);
    if (wallDrawObj->GetElementTypeID() == CWallType && IsConcreteElement(wallDrawObj)) {
        const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(opening, wall);
        if (section && section->GetPolygon())
            AppendOverlayFillWallPolygonsByPosition(opening, wall, *calc, true, *section->GetPolygon());
    }
    AppendPriorBeamFacesOfHost(opening, wall, *calc, 1);
    return calc;
}

std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildFillWallJunctionLinearCalc(IRDXRecord* wall, IRDXRecord* fillWall)
{
    std::unique_ptr<TVRMMultiPolyLinearCalc2d> calc = BuildWallJunctionLinearCalc(wall, fillWall);
    if (!calc || calc->GetCount() == 0)
        return nullptr;
    AppendOverlayFillWallPolygons(fillWall, wall, *calc, true);
    AppendOpeningSectionsOnWall(*calc, wall);
    AppendPriorBeamFaces(fillWall, wall, *calc, 1);
    return calc;
}

namespace {

// The uncovered length of the calculator times the wall's thickness, with its
// detail on Other.
double SideAreaOfLength(IRDXRecord* wall, IRDXRecord* other, const TVRMMultiPolyLinearCalc2d* calc, bool flag)
{
    if (!calc)
        return 0.0;
    const double thickness = PropFloat(wall, "Thickness");
    const double length = calc->GetNullLength();
    const double area = length * thickness;
    if (!SameValue(area, 0.0) && !GIsDetailMode)
        AddAreaExprDetail(wall, other, length, thickness, 1.0, flag);
    return area;
}

}  // namespace

double GetWallHoleSideFormboardArea(IRDXRecord* wall, IRDXRecord* opening, bool flag)
{
    return SideAreaOfLength(wall, opening, BuildHoleRevealLinearCalc(wall, opening).get(), flag);
}

double GetFillWallJunctionSideArea(IRDXRecord* wall, IRDXRecord* fillWall, bool flag)
{
    return SideAreaOfLength(wall, fillWall, BuildFillWallJunctionLinearCalc(wall, fillWall).get(), flag);
}

double GetAlcoveSideFormboardArea(IRDXRecord* wall, IRDXRecord* alcove, double depth, bool markOtherAlcoves)
{
    const std::unique_ptr<TVRMMultiPolyLinearCalc2d> calc = BuildAlcoveSideLinearCalc(wall, alcove);
    if (!calc || calc->GetCount() == 0)
        return 0.0;
    if (markOtherAlcoves)
        AppendAlcoveFaces(alcove, wall, *calc, 1);
    const double length = calc->GetNullLength();
    const double area = length * depth;
    if (!SameValue(area, 0.0) && !GIsDetailMode)
        AddAreaExprDetail(wall, alcove, length, depth, 1.0, true);
    return area;
}

double DeductOpeningGivingRevealBack(TQTKShellCalc3d& shell, IRDXRecord* wall, IRDXRecord* opening)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(opening);
    if (!solid)
        return 0.0;
    double result = shell.Subtract(*solid, opening, CVRMSuperpositionFlush, nullptr, true, true);
    // An opening already taken off by an earlier rule gives no reveal back.
    if (!GreaterEqualThan(result, 1.0))
        return result;
    result -= GetWallHoleSideFormboardArea(wall, opening, false);
    // The detail shows the net amount, with its sign: a reveal larger than the
    // opening is an addition to the formwork.
    ReplaceLastDeductExpr(opening, MM2ToM2, result);
    return result;
}

double AddPierSidesToShell(TQTKShellCalc3d& shell, IRDXRecord* holder, const TVRMPolyhedron3d& holderSolid,
                           IRDXRecord* pier, bool corrective)
{
    const Ref<IQTKCalculatorEDO> holderEdo = GetCalcEDO(holder, true);
    auto* kept = Supports<IQTKPierFormboardHolder>(holderEdo.get());
    double result = 0.0;
    if (kept && kept->FindPierFormboard(pier, result))
        return result;
    const IQTKElementDrawObj* pierDrawObj = GetRecordDrawObj(pier);
    const auto* shape = pierDrawObj ? dynamic_cast<const IQTKPointShape*>(pierDrawObj->GetShape()) : nullptr;
    const std::shared_ptr<const TVRMPolyhedron3d> pierSolid = HoldOriginalSolid(pier);
    TQTKPierPlanSides plan;
    if (!shape || !pierSolid || !GetPierPlanSides(holder, pier, plan) || !plan.MeetsHolder())
        return 0.0;
    const double covered = shell.Subtract(*pierSolid, pier, CVRMSuperpositionContact, nullptr, true, false);
    TVRMPolyhedronShell3d sides;
    sides.AddFace(shape->GetOutline(), shape->GetBottomElev(), shape->GetTopElev(), false);
    TVRMNewPolyBooleanOperator::BooleanOperate(sides, holderSolid, CVRMBoolSubtract, CVRMSuperpositionContact, 1);
    KeepPierSidesOfHolder(sides, holder, pier);
    result = sides.GetArea() - covered;
    shell.AddShell(sides, pier, pierSolid.get());
    if (corrective && GIsDetailMode)
        if (TQTKDeductDetailContainer* details = GetDeductDetailContainer(); details && details->GetLast())
            details->GetLast()->AddCorrecticeEDO(
                std::make_unique<TQTKCorrectiveEDO>(RecordRef(holder), holderSolid.Clone()));
    shell.CalcArea();
    if (kept)
        kept->KeepPierFormboard(pier, result);
    return result;
}

// ---------------------------------------------------------------------------

double TQTKWallEndSideFormBoardOriginalArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                       const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return WallEDO(subject.get())->GetConnectedEndFaceArea();
}

// ---------------------------------------------------------------------------
// By fact

double TQTKWallFormBoardAreaDeductByFact::DeductByFact(IRDXRecord* wall, IRDXRecord* object,
                                                       const TableSourceRef& ruleContext)
{
    const int kinds =
        CompareFormboardPriority(wall, object, ruleContext) < 0 ? CVRMSuperpositionBoth : CVRMSuperpositionContact;
    return SubtractObject(wall, object, kinds);
}

double TQTKWallFormBoardAreaDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    return DeductByFact(subject.get(), object.get(), ruleContext);
}

bool TQTKWallFormBoardAreaDeductNotParallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(wall, beam);
}

bool TQTKWallFormBoardAreaDeductParallelBeam::Deducts(IRDXRecord* wall, IRDXRecord* beam) const
{
    return IsLineEntsParallel(wall, beam);
}

bool TQTKWallFormBoardAreaDeductColumnOnWall::Deducts(IRDXRecord* wall, IRDXRecord* column) const
{
    return !IsCoveredByWalls(wall, column);
}

// ---------------------------------------------------------------------------
// Walls and fill walls

double TQTKWallFormBoardAreaDeductWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (IsConcreteWallLinked(subject.get(), object.get()))
        return 0.0;
    const IQTKElementDrawObj* other = GetRecordDrawObj(object.get());
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    const std::shared_ptr<TQTKShellCalc3d> shell = wall->GetSideFaceShellCalc();
    if (!shell)
        return 0.0;
    if (other->GetElementTypeID() != CWallType || !IsConcreteElement(other))
        return SubtractCutterFromShellCalc(wall.get(), GetCalcEDO(object, true).get(), *shell);
    return SubtractWallFromShell(*shell, object.get(), IsLineEntCutBy(subject.get(), object.get(), false), true);
}

double TQTKWallFormBoardAreaDeductFillWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsConcreteWallLinked(subject.get(), object.get()))
        return 0.0;
    double result = SubtractObject(subject.get(), object.get(), CVRMSuperpositionFlush);
    const std::shared_ptr<TQTKShellCalc3d> shell = WallEDO(subject.get())->GetSideFaceShellCalc();
    if (!SameValue(result, 0.0) && shell && !SameValue(shell->GetArea(), 0.0))
        result -= GetFillWallJunctionSideArea(subject.get(), object.get(), false);
    return result;
}

// ---------------------------------------------------------------------------
// Openings

double TQTKWallFormBoardAreaDeductHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsAboveLimit(GetOpeningOutlineArea(object.get()), SizeLimit()))
        return 0.0;
    if (!IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    return SubtractObject(subject.get(), object.get(), CVRMSuperpositionFlush);
}

double TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                    const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsAboveLimit(GetOpeningOutlineArea(object.get()), SizeLimit()))
        return 0.0;
    if (!IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    const std::shared_ptr<TQTKShellCalc3d> shell = WallEDO(subject.get())->GetSideFaceShellCalc();
    return shell ? DeductOpeningGivingRevealBack(*shell, subject.get(), object.get()) : 0.0;
}

double TQTKWallFormBoardAreaAddAlcoveSideArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                         const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (const std::optional<double> limit = SizeLimit()) {
        const IQTKElementDrawObj* alcove = GetRecordDrawObj(object.get());
        const IQTKShape* shape = alcove ? alcove->GetShape() : nullptr;
        if (!IsAboveLimit(shape ? shape->GetPolygon().Area() : 0.0, limit))
            return 0.0;
    }
    if (!IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    return GetAlcoveSideFormboardArea(subject.get(), object.get(), PropFloat(object.get(), "Depth"), true);
}

// ---------------------------------------------------------------------------
// Piers

double TQTKWallFromBoardAreaAddPierFromBoard::Calculate(const RecordRef& subject, const RecordRef& object,
                                                        const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (FieldValueInteger(object.get(), "EDOPID", -1) != subject->GetID())
        return 0.0;
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    const std::shared_ptr<TQTKShellCalc3d> shell = wall->GetSideFaceShellCalc();
    const TVRMPolyhedron3d* wallSolid = wall->GetOriginalPolyhedron();
    if (!shell || !wallSolid)
        return 0.0;
    return AddPierSidesToShell(*shell, subject.get(), *wallSolid, object.get(), true);
}

// ---------------------------------------------------------------------------
// Beams

double TQTKWallFormBoardAreaDeductPallelBeam::Calculate(const RecordRef& subject, const RecordRef& object,
                                                        const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (IsWallWithinBeamWidth(object.get(), subject.get()))
        return 0.0;
    return SubtractObject(subject.get(), object.get(), CVRMSuperpositionBoth);
}

double TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea::Calculate(const RecordRef& subject,
                                                                            const RecordRef& object,
                                                                            const TableSourceRef&,
                                                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return 0.0;
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    const double width = GetRecordThickness(object.get());
    if (wall->IsLeftSideExternal())
        return SubtractBeyondBand(subject.get(), object.get(), *wall->GetMidLine(), false, width,
                                  CVRMSuperpositionContact);
    if (wall->IsRightSideExternal())
        return SubtractBeyondBand(subject.get(), object.get(), *wall->GetMidLine(), true, width,
                                  CVRMSuperpositionContact);
    return DeductByFact(subject.get(), object.get(), ruleContext);
}

double TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea::Calculate(const RecordRef& subject,
                                                                               const RecordRef& object,
                                                                               const TableSourceRef&,
                                                                               const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return DeductByFact(subject.get(), object.get(), ruleContext);
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    TVRMCustomLine2d line = *wall->GetMidLine();
    const double extension = CTieBeamLineExtension * wall->GetThickness();
    line.ExtendBack(extension);
    line.ExtendForward(extension);
    const double width = GetRecordThickness(object.get());
    double result = 0.0;
    if (!wall->IsLeftSideExternal())
        result += SubtractBeyondBand(subject.get(), object.get(), line, true, width, CVRMSuperpositionContact);
    if (!wall->IsRightSideExternal())
        result += SubtractBeyondBand(subject.get(), object.get(), line, false, width, CVRMSuperpositionContact);
    return result;
}

double TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard::Calculate(const RecordRef& subject,
                                                                       const RecordRef& object, const TableSourceRef&,
                                                                       const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKWallCalcEDO> wall = WallEDO(subject.get());
    const bool left = wall->IsLeftSideExternal(), right = wall->IsRightSideExternal();
    const double width = GetRecordThickness(subject.get());
    if (left != right)
        return SubtractBeyondBand(subject.get(), object.get(), *wall->GetMidLine(), right, width,
                                  CVRMSuperpositionBoth);
    return IsInnerWallRecord(subject.get()) ? DeductByFact(subject.get(), object.get(), ruleContext) : 0.0;
}

// ---------------------------------------------------------------------------
// Columns

double TQTKWallFormBoardAreaAddOnePointFiveColumnArea::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const IQTKElementDrawObj* column = GetRecordDrawObj(object.get());
    const IQTKElementDrawObj* wall = GetRecordDrawObj(subject.get());
    if (!column || !wall || !column->GetShape())
        return 0.0;
    const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(subject, true);
    const TVRMMultiPolygon2d* plan = nullptr;
    if (auto* lineEnt = Supports<IQTKLineEntBaseCalcEDO>(wallEdo.get()))
        plan = lineEnt->GetPlanPolygon();
    else if (auto* unit = Supports<IQTKInsulatingWallUnitCalcEDO>(wallEdo.get()))
        plan = unit->GetPlanPolygon();
    if (!plan || plan->IsEmpty())
        return 0.0;
    const IPropValues* props = wall->GetPropValues();
    TVRMMultiPolygon2d ring;
    if (!TVRMOffsetFunc2d::Offset(*plan, COnePointFive * EdoPropValueFloat(props, "Thickness"), ring))
        return 0.0;
    TVRMMultiPolyLinearCalc2d calc;
    calc.Add(column->GetShape()->GetOutline(), true);
    // The wall's own outline first: the column side on the wall face keeps
    // the wall's mark, and the next mark is the ring beyond it.
    const int mark = static_cast<int>(EdoPropValueFloat(props, "ElementID"));
    calc.Append(*plan, mark, nullptr, true, CVRMEpsilon);
    calc.Append(ring, mark + 1, nullptr, true, CVRMEpsilon);
    const double height = EdoPropValueFloat(props, "TopElev") - EdoPropValueFloat(props, "BottomElev");
    return calc.GetLengthFor(mark + 1) * height;
}

// ---------------------------------------------------------------------------
// Trenches and slabs

double TQTKWallFormBoardAreaDeductTrenchHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                        const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const IQTKElementDrawObj* unit = GetRecordDrawObj(object.get());
    IRDXRecord* trenchRecord = unit ? unit->GetParentRecord() : nullptr;
    QTK_ASSERT(trenchRecord);
    const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trenchRecord, true));
    if (!trench)
        throw EIntfCastError("element " + std::to_string(trenchRecord->GetID()) + " is no trench");
    const TVRMPolyhedron3d* solid = WholeSolid() ? trench->GetWholeSolid() : trench->GetHoleSolid();
    return SubtractFromWall(subject.get(), solid, object.get(), CVRMSuperpositionBoth);
}

double TQTKWallFormBoardAreaDeductSlabForFUJIAN::Calculate(const RecordRef& subject, const RecordRef& object,
                                                           const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    double result = DeductByFact(subject.get(), object.get(), ruleContext);
    const std::unique_ptr<TVRMPolyhedron3d> cut =
        BuildSlabCutSolid(GetRecordDrawObj(subject.get()), GetRecordDrawObj(object.get()));
    result += SubtractFromWall(subject.get(), cut.get(), object.get(), CVRMSuperpositionBoth);
    return result;
}

// ---------------------------------------------------------------------------

void RegisterWallFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallEndSideFormBoardOriginalArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductWall);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductHole);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbon);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbon1M);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbon5M);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea);
    QTK_REGISTER(registry, TQTKWallFromBoardAreaAddPierFromBoard);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaAddAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaAddLargerThanPointTwoCentiareAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductParallelBeam);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductPallelBeam);
    QTK_REGISTER(registry, TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductColumnOnWall);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaAddOnePointFiveColumnArea);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductTrenchHole);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductTrench);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductFillWall);
    QTK_REGISTER(registry, TQTKWallFormBoardAreaDeductSlabForFUJIAN);
}
