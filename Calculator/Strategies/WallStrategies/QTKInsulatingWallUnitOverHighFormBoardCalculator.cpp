#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitOverHighFormBoardCalculator.h"

#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallUnitAreaCaculator.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CWallType = 0;

IRDXRecord* ParentOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------

double TQTKInsulatingWallUnitOverHighFormBoardDeductByFact::DeductUnitByFact(const TArgs& a)
{
    const IRDXRecord* parent = ParentOf(a.object);
    const IRDXRecord* ownParent = ParentOf(a.wall);
    if (parent && ownParent && parent->GetID() == ownParent->GetID())
        return 0.0;
    const bool first = CompareFormboardPriority(a.wall, a.object, a.ruleContext) < 0;
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(a.object);
    if (drawObj && drawObj->GetElementTypeID() == CWallType && IsConcreteElement(drawObj))
        return a.calc.SubtractWall(a.object, first);
    return a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object,
                           first ? CVRMSuperpositionBoth : CVRMSuperpositionContact);
}

double TQTKInsulatingWallUnitOverHighFormBoardDeductByFact::Deduct(const TArgs& a) const
{
    return Deducts(a.wall, a.object) ? DeductUnitByFact(a) : 0.0;
}

bool TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return IsLineEntsParallel(unit, beam);
}

bool TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(unit, beam);
}

bool TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return !IsWallWithinBeamWidth(beam, unit);
}

bool TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn::Deducts(IRDXRecord* unit, IRDXRecord* column) const
{
    return !IsCoveredByWalls(unit, column);
}

double TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide::Deduct(const TArgs& a) const
{
    if (!IsLineEntsParallel(a.wall, a.object))
        return CrossingByFact() ? DeductUnitByFact(a) : 0.0;
    const double removed = a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, CVRMSuperpositionBoth, false);
    const std::unique_ptr<TVRMPolyhedronShell3d> standingOut = BuildBeamStandingOutShell(a.wall, a.object);
    if (!standingOut)
        return removed;
    return removed - SumLayerShellAreas(*standingOut, GetWallOverhighLayers(a.subject, a.business, a.ruleContext));
}

double TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide::Deduct(const TArgs& a) const
{
    return a.calc.Subtract(HoldOriginalSolid(a.object).get(), a.object, CVRMSuperpositionContact);
}

// ---------------------------------------------------------------------------

double TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide::AlcoveDepth(IRDXRecord* unit, IRDXRecord* alcove) const
{
    return GetAlcoveDepthInUnit(unit, alcove);
}

bool TQTKInsulatingWallUnitOverHighFormBoardAddPier::IsPierOf(IRDXRecord* unit, IRDXRecord* pier) const
{
    const IRDXRecord* wall = ParentOf(unit);
    return wall && FieldValueInteger(pier, "EDOPID", -1) == wall->GetID();
}

void TQTKInsulatingWallUnitOverHighFormBoardAddPier::AddTerm(IRDXRecord* unit, IRDXRecord* pier, double width,
                                                             double height, double weight) const
{
    AddAreaExprDetail(unit, pier, width, height, weight, true);
}

// ---------------------------------------------------------------------------

void RegisterInsulatingWallUnitOverHighFormBoardRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardOriginal);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductHollow);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductByFact);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardAddPointThreeAloveSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardAddOneAloveSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardAddPier);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide);
    QTK_REGISTER(registry, TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn);
}
