#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseFormBoardAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

constexpr int CColumnBaseType = 28;

}  // namespace

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseOriginalFormBoardArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return BaseShellCalc(element, &IQTKColumnBaseCalculatorEDO::GetFormboardShellCalc);
}

TQTKShellTarget TQTKColumnBaseFormBoardAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                                 const TableSourceRef&) const
{
    return BaseShellOf(subject, &IQTKColumnBaseCalculatorEDO::GetFormboardShellCalc);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseOriginalSideArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return BaseShellCalc(element, &IQTKColumnBaseCalculatorEDO::GetSideFaceShellCalc);
}

int TQTKColumnBaseSideDeductByFact::Kinds(IRDXRecord* subject, IRDXRecord* object, const TableSourceRef&) const
{
    if (GetRecordElementTypeID(object) != CColumnBaseType || subject->GetID() > object->GetID())
        return CVRMSuperpositionBoth;
    return CVRMSuperpositionContact;
}

TQTKShellTarget TQTKColumnBaseSideAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                            const TableSourceRef&) const
{
    return BaseShellOf(subject, &IQTKColumnBaseCalculatorEDO::GetSideFaceShellCalc);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseOriginalVerticalSideArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return BaseShellCalc(element, &IQTKColumnBaseCalculatorEDO::GetVerticalSideFaceShellCalc);
}

TQTKShellTarget TQTKColumnBaseVertialcSideAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                                    const TableSourceRef&) const
{
    return BaseShellOf(subject, &IQTKColumnBaseCalculatorEDO::GetVerticalSideFaceShellCalc);
}

void RegisterColumnBaseFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnBaseOriginalFormBoardArea);
    QTK_REGISTER(registry, TQTKColumnBaseFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKColumnBaseOriginalSideArea);
    QTK_REGISTER(registry, TQTKColumnBaseSideAreaDeductByFact);
    QTK_REGISTER(registry, TQTKColumnBaseOriginalVerticalSideArea);
    QTK_REGISTER(registry, TQTKColumnBaseVertialcSideAreaDeductByFact);
}
