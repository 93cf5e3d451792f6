#include "Calculator/Strategies/ColumnStrategies/QTKColumnCapFormBoradAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapOriginalFormBoardArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return CapShellCalc(element, &IQTKColumnCapCalculatorEDO::GetFormboardShellCalc);
}

TQTKShellTarget TQTKColumnCapFormBoardAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                                const TableSourceRef&) const
{
    return CapShellOf(subject, &IQTKColumnCapCalculatorEDO::GetFormboardShellCalc);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapOriginalSideArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return CapShellCalc(element, &IQTKColumnCapCalculatorEDO::GetSideFaceShellCalc);
}

TQTKShellTarget TQTKColumnCapSideAreaDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                           const TableSourceRef&) const
{
    return CapShellOf(subject, &IQTKColumnCapCalculatorEDO::GetSideFaceShellCalc);
}

// The soffit is the cap's lowest level face (its object's "top face" calculator).
std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapOriginalBottomArea::ShellCalcOf(IQTKCalculatorEDO& element) const
{
    return CapShellCalc(element, &IQTKColumnCapCalculatorEDO::GetTopFaceShellCalc);
}

TQTKShellTarget TQTKColumnCapBottomDeductByFact::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                         const TableSourceRef&) const
{
    return CapShellOf(subject, &IQTKColumnCapCalculatorEDO::GetTopFaceShellCalc);
}

bool TQTKColumnCapBottomDeductByFact::GivesWay(IRDXRecord* subject, IRDXRecord* object) const
{
    return IsColumnCapCutBy(subject, object);
}

void RegisterColumnCapFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnCapOriginalFormBoardArea);
    QTK_REGISTER(registry, TQTKColumnCapFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKColumnCapOriginalSideArea);
    QTK_REGISTER(registry, TQTKColumnCapSideAreaDeductByFact);
    QTK_REGISTER(registry, TQTKColumnCapOriginalBottomArea);
    QTK_REGISTER(registry, TQTKColumnCapBottomDeductByFact);
}
