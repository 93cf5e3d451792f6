#include "Calculator/Strategies/BeamStrategies/QTKFDBeamBelowRaftFDCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CTolerance = 0.0010123456789;

}  // namespace

double TQTKFDBeamBelowRaftFDSideOriginalArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    return GetFDBeamEdo(subject.get())->CalcSideFormboardArea(GetBeamFormboardAngle(ruleContext));
}

double TQTKFDBeamBelowRaftFDEndOriginalArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                       const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    return GetFDBeamEdo(subject.get())->CalcEndFormboardArea(GetBeamFormboardAngle(ruleContext));
}

TQTKShellCalc3d* TQTKFDBeamBelowRaftFormBoardAreaDeductByFact::Shell(IRDXRecord* beam, const TableSourceRef&) const
{
    return GetFDBeamEdo(beam)->GetFDFormboardShellCalc();
}

bool TQTKFDBeamBelowRaftFormBoardAreaDeductByFact::IsObjectFirst(IRDXRecord* beam, IRDXRecord* object,
                                                                 const TableSourceRef& ruleContext) const
{
    return CompareFormboardPriority(beam, object, ruleContext) < 0;
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKFDBeamBelowRaftFormBoardAreaDeductTrench::DeductedSolid(
    IRDXRecord* object) const
{
    return GetUnitTrenchWholeSolid(object);
}

IRDXRecord* TQTKFDBeamBelowRaftFormBoardAreaDeductTrench::DeductedRecord(IRDXRecord* object) const
{
    return GetUnitTrench(object);
}

double TQTKFDBeamBelowRaftFormBoardAreaDeductHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                             const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKFDBeamCalcEDO> beam = GetFDBeamEdo(subject.get());
    TQTKShellCalc3d* shell = beam->GetFDFormboardShellCalc();
    const std::shared_ptr<const TVRMPolyhedron3d> opening = HoldOriginalSolid(object.get());
    if (!shell || IsZero(shell->GetArea(), CTolerance) || !opening || !opening->HasFaces())
        return 0.0;
    const double deducted = shell->Subtract(*opening, object.get(), CVRMSuperpositionBoth, nullptr, true, false);
    // The opening's edges between the beam's bottom and the top of its formwork faces.
    const std::unique_ptr<TVRMLinearCalcContr> edges = BuildOpeningEdgeCalc(object.get(), nullptr, false);
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(object.get());
    const auto* point = openingObj ? dynamic_cast<const IQTKPointShape*>(openingObj->GetShape()) : nullptr;
    const IQTKLineShape* beamShape = GetRecordLineShape(subject.get());
    if (!edges || !point || !beamShape)
        return deducted;
    const int mark = static_cast<int>(object->GetID());
    edges->AppendY(beamShape->GetBottomElevAt(point->GetInsertPt()), beam->GetMaxFaceElev(), mark, nullptr, false,
                   CTolerance);
    return deducted - GetRecordPropFloat(subject.get(), "SectionWidth") * edges->GetLengthFor(mark);
}

void RegisterFDBeamBelowRaftFDRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKFDBeamBelowRaftFDSideOriginalArea);
    QTK_REGISTER(registry, TQTKFDBeamBelowRaftFDEndOriginalArea);
    QTK_REGISTER(registry, TQTKFDBeamBelowRaftFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKFDBeamBelowRaftFormBoardAreaDeductHole);
    QTK_REGISTER(registry, TQTKFDBeamBelowRaftFormBoardAreaDeductTrench);
}
