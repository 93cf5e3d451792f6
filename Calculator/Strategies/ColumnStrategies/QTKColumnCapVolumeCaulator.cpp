#include "Calculator/Strategies/ColumnStrategies/QTKColumnCapVolumeCaulator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnCapOriginalVolume::SolidCalcOf(IQTKCalculatorEDO& element) const
{
    auto* cap = dynamic_cast<IQTKColumnCapCalculatorEDO*>(&element);
    return cap ? cap->GetVolumeCalc() : nullptr;
}

TQTKVolumeTarget TQTKColumnCapVolDeductByFact::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                                        const TableSourceRef&) const
{
    // The cap object keeps its calculator while it is attached to its element.
    const Ref<IQTKColumnCapCalculatorEDO> cap = RefCast<IQTKColumnCapCalculatorEDO>(GetCalcEDO(subject, true));
    return cap ? TQTKVolumeTarget(cap->GetVolumeCalc().get()) : TQTKVolumeTarget();
}

bool TQTKColumnCapVolDeductByFact::GivesWay(IRDXRecord* subject, IRDXRecord* object) const
{
    return IsColumnCapCutBy(subject, object);
}

void RegisterColumnCapVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnCapOriginalVolume);
    QTK_REGISTER(registry, TQTKColumnCapVolDeductByFact);
}
