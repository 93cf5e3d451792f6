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
    return ReadOverhighOriginal(
        subject.get(), ruleContext,
        GetOrBuildOverhighFormboard<TQTKColumnCapOverHighStoreBuilder>(subject, business, ruleContext).get());
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
