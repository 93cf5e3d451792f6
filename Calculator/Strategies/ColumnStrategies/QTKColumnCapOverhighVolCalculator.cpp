#include "Calculator/Strategies/ColumnStrategies/QTKColumnCapOverhighVolCalculator.h"

#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnOverHighStores.h"
#include "Host/Runtime/Assert.h"

double TQTKColumnCapOriginalOverhighVol::Calculate(const RecordRef& subject, const RecordRef&,
                                                   const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(ruleContext);
    return GetOverhighOriginalVolume(
        subject.get(), ruleContext,
        GetOrBuildOverhighVolume<TQTKColumnCapOverHighStoreBuilder>(subject, business, ruleContext));
}

TQTKVolumeTarget TQTKColumnCapOverHeightDeductByFact::VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                                               const TableSourceRef& ruleContext) const
{
    return GetOrBuildOverhighVolume<TQTKColumnCapOverHighStoreBuilder>(subject, business, ruleContext);
}

bool TQTKColumnCapOverHeightDeductByFact::GivesWay(IRDXRecord* subject, IRDXRecord* object) const
{
    return IsColumnCapCutBy(subject, object);
}

void RegisterColumnCapOverhighVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnCapOriginalOverhighVol);
    QTK_REGISTER(registry, TQTKColumnCapOverHeightDeductByFact);
}
