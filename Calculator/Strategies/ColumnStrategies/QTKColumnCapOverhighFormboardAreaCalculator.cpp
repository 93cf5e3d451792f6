#include "Calculator/Strategies/ColumnStrategies/QTKColumnCapOverhighFormboardAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnOverHighStores.h"
#include "Host/Runtime/Assert.h"

double TQTKColumnCapOverHeightOrginalFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                              const TableSourceRef& business,
                                                              const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(ruleContext);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildOverhighFormboard<TQTKColumnCapOverHighStoreBuilder>(subject, business, ruleContext);
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(subject.get(), ruleContext, calc.get());
    return calc->GetArea();
}

TQTKShellTarget TQTKColumnCapOverHeightFormBoardAreaDeductByFact::ShellOf(const RecordRef& subject,
                                                                          const TableSourceRef& business,
                                                                          const TableSourceRef& ruleContext) const
{
    return TQTKShellTarget(
        GetOrBuildOverhighFormboard<TQTKColumnCapOverHighStoreBuilder>(subject, business, ruleContext));
}

void RegisterColumnCapOverhighFormboardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnCapOverHeightOrginalFormBoardArea);
    QTK_REGISTER(registry, TQTKColumnCapOverHeightFormBoardAreaDeductByFact);
}
