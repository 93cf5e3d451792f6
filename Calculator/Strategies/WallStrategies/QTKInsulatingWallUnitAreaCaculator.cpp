#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitAreaCaculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallFormBoardAreaCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
// Beam faces standing out beside an external face: steep and downward faces
// against 45 degrees.
constexpr double CStandingOutAngle = 45.0;

double PropFloat(IRDXRecord* record, std::string_view name)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

IRDXRecord* ParentOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

// The pier stands on the unit's insulating wall.
bool IsPierOfUnit(IRDXRecord* unit, IRDXRecord* pier)
{
    const IRDXRecord* wall = ParentOf(unit);
    return wall && FieldValueInteger(pier, "EDOPID", -1) == wall->GetID();
}

bool IsAboveLimit(double measure, const std::optional<double>& limit)
{
    return !limit || !LessEqualThan(measure, *limit);
}

// Solid taken off the layer's middle face (Mid) or its formwork on behalf of Record.
double SubtractFromUnit(IRDXRecord* unit, bool mid, const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds,
                        bool formulaText = true)
{
    if (!solid || !solid->HasFaces())
        return 0.0;
    const Ref<IQTKInsulatingWallUnitCalcEDO> edo = GetInsulatingUnitEDO(unit);
    const std::shared_ptr<TQTKShellCalc3d> shell = mid ? edo->GetMidFaceShellCalc() : edo->GetSideFaceShellCalc();
    return shell ? shell->Subtract(*solid, record, kinds, nullptr, true, formulaText) : 0.0;
}

// The beam less its part in the band of its thickness beside Line (right of
// it when RightSide): what lies over the other side of the line.
std::unique_ptr<TVRMPolyhedron3d> BeamBeyondBand(IRDXRecord* beam, const TVRMCustomLine2d& line, bool rightSide)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(beam);
    if (!solid)
        return std::make_unique<TVRMPolyhedron3d>();
    return CutLineBandFromSolid(*solid, line, rightSide, GetRecordThickness(beam));
}

const TVRMPolyhedron3d* TrenchSolidOfUnit(IRDXRecord* trenchUnit, bool whole)
{
    IRDXRecord* trenchRecord = ParentOf(trenchUnit);
    QTK_ASSERT(trenchRecord);
    const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trenchRecord, true));
    if (!trench)
        throw EIntfCastError("element " + std::to_string(trenchRecord->GetID()) + " is no trench");
    return whole ? trench->GetWholeSolid() : trench->GetHoleSolid();
}

}  // namespace

// ---------------------------------------------------------------------------
// The layer's face area

double TQTKInsulatingWallUnitAreaDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                         const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    return SubtractFromUnit(subject.get(), true, HoldOriginalSolid(object.get()).get(), object.get(),
                            CVRMSuperpositionBoth);
}

bool TQTKInsulatingWallUnitAreaDeductParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return IsLineEntsParallel(unit, beam);
}

bool TQTKInsulatingWallUnitAreaDeductIrregularBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return IsLineEntsParallel(unit, beam) && !IsWallWithinBeamWidth(beam, unit);
}

bool TQTKInsulatingUnitAreaDeductIrregularColumn::Deducts(IRDXRecord* unit, IRDXRecord* column) const
{
    return !IsCoveredByWalls(unit, column);
}

bool TQTKInsulatingUnitAreaDeductPointThreeHole::Deducts(IRDXRecord*, IRDXRecord* opening) const
{
    return IsAboveLimit(GetOpeningOutlineArea(opening), 300'000.0);
}

bool TQTKInsulatingUnitAreaDeduct1m2Hole::Deducts(IRDXRecord*, IRDXRecord* opening) const
{
    return IsAboveLimit(GetOpeningOutlineArea(opening), 1'000'000.0);
}

double TQTKInsulatingUnitAreaDeductHoleIndenting::Calculate(const RecordRef& subject, const RecordRef& object,
                                                            const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsTypeZeroElement(object.get()))
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> toothed = BuildColumnIndentingSolid(object.get(), Whole());
    return SubtractFromUnit(subject.get(), true, toothed.get(), object.get(), CVRMSuperpositionBoth);
}

double TQTKInsulatingUnitAreaDeductTrenchHollow::Calculate(const RecordRef& subject, const RecordRef& object,
                                                           const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(object, true));
    if (!trench)
        throw EIntfCastError("element " + std::to_string(object->GetID()) + " is no trench");
    return SubtractFromUnit(subject.get(), true, trench->GetHoleSolid(), object.get(), CVRMSuperpositionBoth);
}

double TQTKInsulatingUnitAreaAddPierByThickness::Calculate(const RecordRef& subject, const RecordRef& object,
                                                           const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsPierOfUnit(subject.get(), object.get()))
        return 0.0;
    // A layer of no thickness gives no quotient.
    const double thickness = PropFloat(subject.get(), "Thickness");
    if (SameValue(thickness, 0.0))
        return 0.0;
    const Ref<IQTKPierCalcEDO> pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(object, true));
    if (!pier)
        throw EIntfCastError("element " + std::to_string(object->GetID()) + " is no pier");
    return pier->GetVolume() / thickness;
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildBeamStandingOutShell(IRDXRecord* unitRecord, IRDXRecord* beam)
{
    const Ref<IQTKInsulatingWallUnitCalcEDO> unit = GetInsulatingUnitEDO(unitRecord);
    // The beam beyond the band on the layer's inner side: what stands over the external face.
    std::unique_ptr<TVRMPolyhedron3d> beyond;
    if (unit->IsLeftOuterUnit())
        beyond = BeamBeyondBand(beam, *unit->GetMidLine(), true);
    else if (unit->IsRightOuterUnit())
        beyond = BeamBeyondBand(beam, *unit->GetMidLine(), false);
    const TVRMPolyhedron3d* unitSolid = unit->GetOriginalPolyhedron();
    if (!beyond || !beyond->HasFaces() || !unitSolid)
        return nullptr;
    // The beam's sides and soffit beside the external face stand out of the layer.
    std::unique_ptr<TVRMPolyhedronShell3d> standingOut =
        BuildShellBySlope(*beyond, CQTKSlopeSteep | CQTKSlopeDown, CStandingOutAngle);
    TVRMNewPolyBooleanOperator::BooleanOperate(*standingOut, *unitSolid, CVRMBoolSubtract, CVRMSuperpositionContact, 1);
    return standingOut;
}

// ---------------------------------------------------------------------------
// The layer's formwork: original faces

double TQTKInsulatingUnitFormBoardEndAreaOriginal::Calculate(const RecordRef& subject, const RecordRef&,
                                                             const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetInsulatingUnitEDO(subject.get())->GetEndFormboardArea();
}

double TQTKInsulatingUnitLeftLineLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKInsulatingWallUnitCalcEDO> unit = GetInsulatingUnitEDO(subject.get());
    unit->AddLeftSideFace();
    const TVRMCustomLine2d* line = unit->GetLeftLine();
    return line ? line->Length() : 0.0;
}

double TQTKInsulatingUnitRightLineLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                    const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKInsulatingWallUnitCalcEDO> unit = GetInsulatingUnitEDO(subject.get());
    unit->AddRightSideFace();
    const TVRMCustomLine2d* line = unit->GetRightLine();
    return line ? line->Length() : 0.0;
}

// ---------------------------------------------------------------------------
// By fact and beams

double TQTKInsulatingUnitFormBoardDeductByFact::DeductByFact(IRDXRecord* unit, IRDXRecord* object,
                                                             const TableSourceRef& ruleContext)
{
    const IRDXRecord* parent = ParentOf(object);
    const IRDXRecord* ownParent = ParentOf(unit);
    if (parent && ownParent && parent->GetID() == ownParent->GetID())
        return 0.0;
    const bool objectFirst = CompareFormboardPriority(unit, object, ruleContext) < 0;
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(object);
    if (drawObj && drawObj->GetElementTypeID() == CWallType && IsConcreteElement(drawObj)) {
        const std::shared_ptr<TQTKShellCalc3d> shell = GetInsulatingUnitEDO(unit)->GetSideFaceShellCalc();
        return shell ? SubtractWallFromShell(*shell, object, objectFirst, true) : 0.0;
    }
    return SubtractFromUnit(unit, false, HoldOriginalSolid(object).get(), object,
                            objectFirst ? CVRMSuperpositionBoth : CVRMSuperpositionContact);
}

double TQTKInsulatingUnitFormBoardDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    return DeductByFact(subject.get(), object.get(), ruleContext);
}

bool TQTKInsulatingUnitFormBoardDeductNotParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(unit, beam);
}

bool TQTKInsulatingUnitFormBoardDeductParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return IsLineEntsParallel(unit, beam);
}

double TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide::Calculate(const RecordRef& subject,
                                                                          const RecordRef& object,
                                                                          const TableSourceRef&,
                                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return CrossingByFact() ? DeductByFact(subject.get(), object.get(), ruleContext) : 0.0;
    const double removed = SubtractFromUnit(subject.get(), false, HoldOriginalSolid(object.get()).get(), object.get(),
                                            CVRMSuperpositionBoth, false);
    const std::unique_ptr<TVRMPolyhedronShell3d> standingOut = BuildBeamStandingOutShell(subject.get(), object.get());
    return standingOut ? removed - standingOut->GetArea() : removed;
}

double TQTKInsulatingUnitFormBoardDeductNotRegularBeam::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsWallWithinBeamWidth(object.get(), subject.get()))
        return 0.0;
    return SubtractFromUnit(subject.get(), false, HoldOriginalSolid(object.get()).get(), object.get(),
                            CVRMSuperpositionBoth);
}

double TQTKInsulatingUnitFormBoardDeductRegularBeamAddOutSide::Calculate(const RecordRef& subject,
                                                                         const RecordRef& object, const TableSourceRef&,
                                                                         const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return 0.0;
    int side = 0;
    if (!IsBeamSideOnWallFace(object.get(), subject.get(), side) || side == 0)
        return SubtractFromUnit(subject.get(), false, HoldOriginalSolid(object.get()).get(), object.get(),
                                CVRMSuperpositionContact);
    // The unit's middle line run the beam's way.
    TVRMCustomLine2d line = *GetInsulatingUnitEDO(subject.get())->GetMidLine();
    const IQTKElementDrawObj* beam = GetRecordDrawObj(object.get());
    const auto* beamShape = beam ? dynamic_cast<const IQTKLineShape*>(beam->GetShape()) : nullptr;
    if (beamShape) {
        const TVRMVector2d along = beamShape->GetLine().EndPt() - beamShape->GetLine().StartPt();
        const TVRMVector2d own = line.EndPt() - line.StartPt();
        if (along.x * own.x + along.y * own.y < 0.0)
            line.Reverse();
    }
    // Flush with the left face: the beam less the band on the left, so the
    // flush external face keeps its formwork (right alike); flush with both
    // faces: both.
    double result = 0.0;
    if (side == 1 || side == 3)
        result += SubtractFromUnit(subject.get(), false, BeamBeyondBand(object.get(), line, false).get(), object.get(),
                                   CVRMSuperpositionBoth);
    if (side == 2 || side == 3)
        result += SubtractFromUnit(subject.get(), false, BeamBeyondBand(object.get(), line, true).get(), object.get(),
                                   CVRMSuperpositionBoth);
    return result;
}

double TQTKInsulatingUnitFormBoardDeductNotRegularColumn::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                    const TableSourceRef&,
                                                                    const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (IsCoveredByWalls(subject.get(), object.get()))
        return 0.0;
    const int kinds = CompareFormboardPriority(subject.get(), object.get(), ruleContext) < 0 ? CVRMSuperpositionBoth
                                                                                             : CVRMSuperpositionContact;
    return SubtractFromUnit(subject.get(), false, HoldOriginalSolid(object.get()).get(), object.get(), kinds);
}

// ---------------------------------------------------------------------------
// Openings, alcoves, piers, trenches

double TQTKInsulatingUnitFormBoardDeductHollow::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsAboveLimit(GetOpeningOutlineArea(object.get()), SizeLimit()) ||
        !IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    return SubtractFromUnit(subject.get(), false, HoldOriginalSolid(object.get()).get(), object.get(),
                            CVRMSuperpositionBoth);
}

double TQTKInsulatingUnitFormBoardDeductHollowAddSide::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsAboveLimit(GetOpeningOutlineArea(object.get()), SizeLimit()) ||
        !IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    const std::shared_ptr<TQTKShellCalc3d> shell = GetInsulatingUnitEDO(subject.get())->GetSideFaceShellCalc();
    return shell ? DeductOpeningGivingRevealBack(*shell, subject.get(), object.get()) : 0.0;
}

double TQTKInsulatingUnitFormBoardAddAlcoveSide::Calculate(const RecordRef& subject, const RecordRef& object,
                                                           const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsAboveLimit(GetOpeningOutlineArea(object.get()), SizeLimit()) ||
        !IsOpeningInWall(subject.get(), object.get()))
        return 0.0;
    const double depth = GetAlcoveDepthInUnit(subject.get(), object.get());
    return GetAlcoveSideFormboardArea(subject.get(), object.get(), depth, false);
}

double TQTKInsulatingUnitFormBoardAddPier::Calculate(const RecordRef& subject, const RecordRef& object,
                                                     const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsPierOfUnit(subject.get(), object.get()))
        return 0.0;
    const Ref<IQTKInsulatingWallUnitCalcEDO> unit = GetInsulatingUnitEDO(subject.get());
    const std::shared_ptr<TQTKShellCalc3d> shell = unit->GetSideFaceShellCalc();
    const TVRMPolyhedron3d* unitSolid = unit->GetOriginalPolyhedron();
    if (!shell || !unitSolid)
        return 0.0;
    return AddPierSidesToShell(*shell, subject.get(), *unitSolid, object.get(), false);
}

double TQTKInsulatingUnitFormBoardAreaDeductTrenchHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    return SubtractFromUnit(subject.get(), false, TrenchSolidOfUnit(object.get(), WholeSolid()), object.get(),
                            CVRMSuperpositionBoth);
}

// ---------------------------------------------------------------------------

void RegisterInsulatingWallUnitAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKInsulatingWallUnitAreaDeductByFact);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitAreaDeductParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitAreaDeductIrregularBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeductIrregularColumn);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeductHoleIndenting);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeductHalfIndenting);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeductPointThreeHole);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeduct1m2Hole);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaDeductTrenchHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitAreaAddPierByThickness);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardEndAreaOriginal);
    QTK_REGISTER(registry, TQTKInsulatingUnitLeftLineLength);
    QTK_REGISTER(registry, TQTKInsulatingUnitRightLineLength);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductByFact);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductOneHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductOneHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductFiveHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductPointThreeHollow);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAddAlcoveSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAddOneAlcoveSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAddPier);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAreaDeductTrenchHole);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardAreaDeductTrench);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductNotRegularBeam);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductRegularBeamAddOutSide);
    QTK_REGISTER(registry, TQTKInsulatingUnitFormBoardDeductNotRegularColumn);
}
