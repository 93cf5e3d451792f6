#include "Calculator/Strategies/BeamStrategies/QTKBeamBrickMoldCalculator.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

double TQTKBeamBrickMoldOriginalVolume::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TQTKSolidCalc3d* mould = GetBeamEdo(subject.get())->GetMergedSolidCalc();
    if (!mould)
        return 0.0;
    const double volume = mould->GetVolume();
    if (!IsZero(volume, 0.0010123456789) && mould->GetSolid() && IsExprMode(subject.get())) {
        std::string text;
        if (GVolumeExprParser(subject.get(), object.get(), *mould->GetSolid(), mould->GetFactor(), !GIsDetailMode,
                              volume, text))
            AddExprText(subject.get(), text);
    }
    return volume;
}

double TQTKBeamBrickMoldVolDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                   const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    TQTKSolidCalc3d* mould = GetBeamEdo(subject.get())->GetMergedSolidCalc();
    if (!mould)
        return 0.0;
    double removed = 0.0;
    if (std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get()))
        removed += mould->Subtract(*solid, object.get(), nullptr, true, true);
    if (IsBrickMoldCutBy(subject.get(), object.get())) {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(object, true);
        const TVRMPolyhedron3d* moulds = edo ? edo->GetMergedSolid() : nullptr;
        if (moulds && moulds->HasFaces())
            removed += mould->Subtract(*moulds, object.get(), nullptr, true, true);
    }
    return removed;
}

void RegisterBeamBrickMoldRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamBrickMoldOriginalVolume);
    QTK_REGISTER(registry, TQTKBeamBrickMoldVolDeductByFact);
}
