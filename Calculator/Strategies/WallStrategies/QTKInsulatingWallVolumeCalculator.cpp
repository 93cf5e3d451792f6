#include "Calculator/Strategies/WallStrategies/QTKInsulatingWallVolumeCalculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CInsulatingWallUnitType = 86;
constexpr double CMinHeight = 1.0;

double PropFloat(IRDXRecord* record, std::string_view name)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

// Solid taken off the unit's volume on behalf of Record.
double SubtractFromUnit(IRDXRecord* unit, const TVRMPolyhedron3d* solid, IRDXRecord* record, bool formulaText = true)
{
    if (!solid || !solid->HasFaces())
        return 0.0;
    const std::shared_ptr<TQTKSolidCalc3d> volume = GetInsulatingUnitEDO(unit)->GetVolumeCalc();
    return volume ? volume->Subtract(*solid, record, nullptr, true, formulaText) : 0.0;
}

IRDXRecord* ParentOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Measures

double TQTKInsulatingWallMiddleLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                 const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TVRMCustomLine2d* line = GetInsulatingUnitEDO(subject.get())->GetMidLine();
    return line ? line->Length() : 0.0;
}

double TQTKInsulatingWallHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                           const TableSourceRef&)
{
    QTK_ASSERT(subject);
    IRDXRecord* record = subject.get();
    const double height = ((PropFloat(record, "StartPtTopElev") + PropFloat(record, "EndPtTopElev")) -
                           PropFloat(record, "StartPtBottomElev") - PropFloat(record, "EndPtBottomElev")) /
                          2.0;
    return LessThan(height, CMinHeight) ? 0.0 : height;
}

double TQTKInsulatingWallThickness::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return PropFloat(subject.get(), "Thickness");
}

double TQTKInsulatingWallRatingThickness::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                    const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const double thickness = PropFloat(subject.get(), "Thickness");
    const IRDXRecord* settings = GetSettingRow(ruleContext, "QTKWallCalcSettings");
    // A settings row whose "ThicknessModulus" holds no table rates nothing.
    const IRDXTable* modulus = settings ? settings->GetDetail("ThicknessModulus") : nullptr;
    const auto defined = static_cast<int>(Round(thickness));
    for (int i = 0; modulus && i < modulus->GetRowCount(); ++i) {
        const IRDXRecord* row = modulus->GetRow(i);
        if (FieldValueInteger(row, "DefinedThickness", -1) == defined)
            return FieldValueInteger(row, "ActualThickness", defined);
    }
    return thickness;
}

// ---------------------------------------------------------------------------
// Openings

double TQTKInsulatingWallVolumeDeductHollowByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                             const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    const double thickness = PropFloat(subject.get(), "Thickness");
    if (SameValue(thickness, 0.0))
        return 0.0;
    const double volume = SubtractFromUnit(subject.get(), HoldOriginalSolid(object.get()).get(), object.get(), false);
    const double area = volume / thickness;
    // The detail shows the layer area the opening takes (m²).
    ReplaceLastDeductExpr(object.get(), MM2ToM2, area);
    return area;
}

bool TQTKInsulatingWallVolumeDeductRibbonByFact::Deducts(IRDXRecord* unit, IRDXRecord* ribbon) const
{
    return IsLineEntsParallel(unit, ribbon);
}

bool TQTKInsulatingWallVolumeDeductDot3M2LimitedOpenning::Deducts(IRDXRecord*, IRDXRecord* opening) const
{
    return !LessEqualThan(GetOpeningOutlineArea(opening), 300'000.0);
}

// ---------------------------------------------------------------------------
// By fact and beams

double TQTKInsulatingWallVolumeDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(subject.get(), object.get()))
        return 0.0;
    if (GetRecordElementTypeID(object.get()) == CInsulatingWallUnitType) {
        IRDXRecord* wall = ParentOf(subject.get());
        IRDXRecord* otherWall = ParentOf(object.get());
        QTK_ASSERT(wall && otherWall);
        if (wall->GetID() == otherWall->GetID() || !IsInsulatingWallCutBy(wall, otherWall))
            return 0.0;
    }
    return SubtractFromUnit(subject.get(), HoldOriginalSolid(object.get()).get(), object.get());
}

bool TQTKInsulatingWallVolumeDeductNotParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return !IsLineEntsParallel(unit, beam);
}

bool TQTKInsulatingWallVolumeDeductParallelBeam::Deducts(IRDXRecord* unit, IRDXRecord* beam) const
{
    return IsLineEntsParallel(unit, beam);
}

double TQTKInsulatingWallVolumeDeductRegularParallelBeam::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                    const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const std::shared_ptr<TQTKSolidCalc3d> volume = GetInsulatingUnitEDO(subject.get())->GetVolumeCalc();
    if (!volume)
        return 0.0;
    if (!IsLineEntsParallel(subject.get(), object.get()))
        return TakesCrossingBeams() ? DeductPartSolid(*volume, object.get()) : 0.0;
    if (IsWallWithinBeamWidth(object.get(), subject.get()))
        return 0.0;
    return AddPartSolid(*volume, object.get());
}

// ---------------------------------------------------------------------------
// Tie columns and piers

double TQTKInsulatingWallVolumeDeductWholeIndenting::Calculate(const RecordRef& subject, const RecordRef& object,
                                                               const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (!IsTypeZeroElement(object.get()))
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> toothed = BuildColumnIndentingSolid(object.get(), Whole());
    return SubtractFromUnit(subject.get(), toothed.get(), object.get());
}

double TQTKInsulatingWallVolumeAddPier::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    if (GIsDetailMode ||
        FieldValueInteger(object.get(), "EDOPID", -1) != FieldValueInteger(subject.get(), "EDOPID", -2))
        return 0.0;
    const Ref<IQTKPierCalcEDO> pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(object, true));
    if (!pier)
        throw EIntfCastError("element " + std::to_string(object->GetID()) + " is no pier");
    const std::shared_ptr<TQTKSolidCalc3d> volume = pier->GetVolumeCalc();
    return volume ? volume->HandleVolumeExpr(true) : 0.0;
}

// ---------------------------------------------------------------------------

void RegisterInsulatingWallVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKInsulatingWallMiddleLength);
    QTK_REGISTER(registry, TQTKInsulatingWallHeight);
    QTK_REGISTER(registry, TQTKInsulatingWallThickness);
    QTK_REGISTER(registry, TQTKInsulatingWallRatingThickness);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductHollowByFact);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductRibbonByFact);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductDot3M2LimitedOpenning);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductByFact);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductNotParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductRegularParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductIrRegularParallelBeam);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductWholeIndenting);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeDeductHalfIndenting);
    QTK_REGISTER(registry, TQTKInsulatingWallVolumeAddPier);
}
