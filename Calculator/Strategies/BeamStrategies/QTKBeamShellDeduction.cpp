#include "Calculator/Strategies/BeamStrategies/QTKBeamShellDeduction.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/Runtime/Assert.h"

double TQTKBeamShellDeduction::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                         const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    return Deduct(subject.get(), object.get(), ruleContext);
}

double TQTKBeamShellDeduction::Deduct(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const
{
    if (!IsDeducted(beam, object))
        return 0.0;
    TQTKShellCalc3d* shell = Shell(beam, ruleContext);
    if (!shell)
        return 0.0;
    return SubtractSolid(*shell, DeductedSolid(object).get(), DeductedRecord(object),
                         KindsFor(IsObjectFirst(beam, object, ruleContext)));
}

TQTKShellCalc3d* TQTKBeamShellDeduction::Shell(IRDXRecord*, const TableSourceRef&) const
{
    return nullptr;
}

bool TQTKBeamShellDeduction::IsDeducted(IRDXRecord*, IRDXRecord*) const
{
    return true;
}

bool TQTKBeamShellDeduction::IsObjectFirst(IRDXRecord*, IRDXRecord*, const TableSourceRef&) const
{
    return true;
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKBeamShellDeduction::DeductedSolid(IRDXRecord* object) const
{
    return HoldOriginalSolid(object);
}

IRDXRecord* TQTKBeamShellDeduction::DeductedRecord(IRDXRecord* object) const
{
    return object;
}
