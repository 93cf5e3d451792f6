#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseFaceAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseOriginalTopFaceArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return BaseShellCalc(element, &IQTKColumnBaseCalculatorEDO::GetTopFaceShellCalc);
}

bool TQTKColumnBaseFaceDeductByFact::GivesWay(IRDXRecord* subject, IRDXRecord* object) const
{
    return IsColumnBaseCutBy(subject, object);
}

TQTKShellTarget TQTKColumnBaseTopFaceAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                               const TableSourceRef&) const
{
    return BaseShellOf(subject, &IQTKColumnBaseCalculatorEDO::GetTopFaceShellCalc);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseOriginalBottomFaceArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return BaseShellCalc(element, &IQTKColumnBaseCalculatorEDO::GetBottomFaceShellCalc);
}

TQTKShellTarget TQTKColumnBaseBottomFaceAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                                  const TableSourceRef&) const
{
    return BaseShellOf(subject, &IQTKColumnBaseCalculatorEDO::GetBottomFaceShellCalc);
}

void RegisterColumnBaseFaceAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnBaseOriginalTopFaceArea);
    QTK_REGISTER(registry, TQTKColumnBaseTopFaceAreaDeductByFact);
    QTK_REGISTER(registry, TQTKColumnBaseOriginalBottomFaceArea);
    QTK_REGISTER(registry, TQTKColumnBaseBottomFaceAreaDeductByFact);
}
