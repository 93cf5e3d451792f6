#include "Calculator/Strategies/BeamStrategies/QTKFDBeamBottomCalculatro.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"

namespace {

TQTKShellCalc3d* BottomShell(IRDXRecord* record, const TableSourceRef& ruleContext)
{
    return GetFDBeamEdo(record)->GetBottomShellCalc(GetBeamFormboardAngle(ruleContext));
}

}  // namespace

double TQTKFDBeamOrigialBottomArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const TQTKShellCalc3d* bottom = BottomShell(subject.get(), ruleContext);
    if (!bottom)
        return 0.0;
    BuildFDBeamBottomAreaExpr(subject.get(), bottom->GetShell());
    return bottom->GetArea();
}

TQTKShellCalc3d* TQTKFDBeamBottomAreaDeduction::Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const
{
    return BottomShell(beam, ruleContext);
}

bool TQTKFDBeamBottomAreaDedutFDBeam::IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef&) const
{
    return IsLineEntCutBy(beam, object, false);
}

bool TQTKFDBeamBottomAreaDeductTrench::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsLineEntsParallel(beam, object);
}

bool TQTKFDBeamBottomAreaDeductTrench::IsObjectFirst(IRDXRecord* beam, IRDXRecord* object,
                                                     const TableSourceRef& ruleContext) const
{
    return CompareFormboardPriority(beam, object, ruleContext) < 0;
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKFDBeamBottomAreaDeductTrench::DeductedSolid(IRDXRecord* object) const
{
    return GetUnitTrenchWholeSolid(object);
}

void RegisterFDBeamBottomRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKFDBeamOrigialBottomArea);
    QTK_REGISTER(registry, TQTKFDBeamBottomAreaDedutFDBeam);
    QTK_REGISTER(registry, TQTKFDBeamBottomAreaDedutByFact);
    QTK_REGISTER(registry, TQTKFDBeamBottomAreaDeductTrench);
}
