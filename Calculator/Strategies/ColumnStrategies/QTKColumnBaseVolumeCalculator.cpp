#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseVolumeCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

// A calculator of its own over the whole solid: what the deductions took is not seen.
std::shared_ptr<TQTKSolidCalc3d> TQTKColumnBaseVol::SolidCalcOf(IQTKCalculatorEDO& element) const
{
    const Ref<IQTKPolyhedron3dIntf> solid = element.GetOriginalPolyhedronIntf();
    if (!solid)
        return nullptr;
    return std::make_shared<TQTKSolidCalc3d>(solid->GetPolyhedron()->Clone(),
                                             RecordRef(element.GetElementDrawObj()->GetRecord()), 1.0);
}

TQTKVolumeTarget TQTKColumnBaseVolDeductByFact::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                                         const TableSourceRef&) const
{
    // The base object keeps its calculator while it is attached to its element.
    const Ref<IQTKColumnBaseCalculatorEDO> base = RefCast<IQTKColumnBaseCalculatorEDO>(GetCalcEDO(subject, true));
    return base ? TQTKVolumeTarget(base->GetVolumeCalc().get()) : TQTKVolumeTarget();
}

bool TQTKColumnBaseVolDeductByFact::GivesWay(IRDXRecord* subject, IRDXRecord* object) const
{
    return IsColumnBaseCutBy(subject, object);
}

void RegisterColumnBaseVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnBaseVol);
    QTK_REGISTER(registry, TQTKColumnBaseVolDeductByFact);
}
