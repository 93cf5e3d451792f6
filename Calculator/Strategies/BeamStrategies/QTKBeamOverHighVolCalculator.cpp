#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighVolCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/Common/OverHigh/QTKBeamOverHighCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighVolumeStore.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"

namespace {

constexpr int CBeamType = 15;

}  // namespace

TQTKVolumeTarget GetOrBuildBeamOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                              const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighVolume<TQTkBeamOverHighCalcBuilder>(subject, business, ruleContext);
}

double TQTKBeamOriginalOverHighVol::Calculate(const RecordRef& subject, const RecordRef&,
                                              const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    return GetOverhighOriginalVolume(subject.get(), ruleContext,
                                     GetOrBuildBeamOverHighVolume(subject, business, ruleContext));
}

bool TQTKBeamOverHighVolDeductBelowBoardSlab::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return IsSubBeam(beam, object);
}

bool TQTKBeamOverHighVolDeductByFact::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    if (GetRecordElementTypeID(object) != CBeamType)
        return IsHoleOnLineEnt(beam, object);
    const Ref<IQTKCalculatorEDO> own = GetCalcEDO(beam, true);
    const Ref<IQTKCalculatorEDO> other = GetCalcEDO(object, true);
    return own && other && CompareBeamJoinPriority(own.get(), other.get()) < 0;
}

double TQTKBeamOverHighVolAddHaunchingVol::Calculate(const RecordRef&, const RecordRef&, const TableSourceRef&,
                                                     const TableSourceRef&)
{
    return 0.0;
}

bool TQTKBeamOverhighVolDeductSlabByThinner::RecordJointPolygons() const
{
    return false;
}

bool TQTKBeamOverhighVolDeductSlabByAve::RecordJointPolygons() const
{
    return false;
}

bool TQTKBeamOverHighVolDeductSlabByThinnerExceptSingleBeam::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsSingleBeamRecord(beam) && TQTKBeamOverhighVolDeductSlabByThinner::IsDeducted(beam, object);
}

void RegisterBeamOverHighVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamOriginalOverHighVol);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductBeam);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductBelowBoardSlab);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductByFact);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductParellelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductNotParellelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighVolGiveParellelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighVolGiveSameThickWall);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductParellelAndNotParellelWall);
    QTK_REGISTER(registry, TQTKSingleBeamOverHighVolDeductTieColumn);
    QTK_REGISTER(registry, TQTKInnerBeamOverHighVolDeductBoard);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductBeelineStearSeg);
    QTK_REGISTER(registry, TQTKBeamOverHighVolAddHaunchingVol);
    QTK_REGISTER(registry, TQTKBeamOverHighVolGiveLintelIntLength);
    QTK_REGISTER(registry, TQTKBeamOverhighVolDeductSlabByThinner);
    QTK_REGISTER(registry, TQTKBeamOverhighVolDeductSlabByAve);
    QTK_REGISTER(registry, TQTKBeamOverHighVolDeductSlabByThinnerExceptSingleBeam);
}
