#include "Calculator/Strategies/BeamStrategies/QTKBeamSideAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"

double TQTKBeamSideOriginalArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                           const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TQTKShellCalc3d* sides = GetBeamEdo(subject.get())->GetSideFaceShellCalc();
    return sides ? sides->GetArea() : 0.0;
}

TQTKShellCalc3d* TQTKBeamSideAreaDeduction::Shell(IRDXRecord* beam, const TableSourceRef&) const
{
    return GetBeamEdo(beam)->GetSideFaceShellCalc();
}

bool TQTKBeamSideAreaDeductBeam::IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef&) const
{
    return !IsSameElementType(beam, object) || IsLineEntCutBy(beam, object, true);
}

bool TQTKBeamSideAreaDeductByFact::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsStripUnitKeptByType(beam, object);
}

bool TQTKBeamSideAreaDeductNonParallelWall::IsDeducted(IRDXRecord* beam, IRDXRecord* wall) const
{
    return !IsLineEntsParallel(beam, wall) && IsOnThinnerParallelWall(beam, wall);
}

bool TQTKTieBeamSideAreaDeductNonParallelWall::IsDeducted(IRDXRecord* beam, IRDXRecord* wall) const
{
    return !IsLineEntsParallel(beam, wall);
}

void RegisterBeamSideAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamSideOriginalArea);
    QTK_REGISTER(registry, TQTKBeamSideAreaDeductBeam);
    QTK_REGISTER(registry, TQTKBeamSideAreaDeductByFact);
    QTK_REGISTER(registry, TQTKBeamSideAreaDeductNonParallelWall);
    QTK_REGISTER(registry, TQTKTieBeamSideAreaDeductNonParallelWall);
}
