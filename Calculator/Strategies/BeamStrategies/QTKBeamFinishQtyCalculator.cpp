#include "Calculator/Strategies/BeamStrategies/QTKBeamFinishQtyCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/Runtime/Assert.h"

double TQTKAloneBeamFinishFaceArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    QTK_ASSERT(subject);
    if (!IsCalcAloneBeamFinishQty(subject.get()) || FaceKind() == 0)
        return 0.0;
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    return BlockFinish() ? beam->GetBlockFinishSideArea(FaceKind()) : beam->GetFinishSideArea(FaceKind());
}

TQTKShellCalc3d* TQTKAloneBeamFinishDeduction::Shell(IRDXRecord* beam, const TableSourceRef&) const
{
    const Ref<IQTKBeamCalcEDO> edo = GetBeamEdo(beam);
    return BlockFinish() ? edo->GetBlockFinishShellCalc() : edo->GetFinishShellCalc();
}

bool TQTKAloneBeamFinishDeduction::IsDeducted(IRDXRecord* beam, IRDXRecord*) const
{
    return IsCalcAloneBeamFinishQty(beam);
}

bool TQTKAloneBeamFinishAreaDeductBeamRule::IsObjectFirst(IRDXRecord* beam, IRDXRecord* object,
                                                          const TableSourceRef&) const
{
    return IsLineEntCutBy(beam, object, false);
}

double TQTKAloneBeamFinishAreaDeductSlabRule::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    TRecordList slabs;
    GetBeamEdo(subject.get())->GetRelatedByTypes(MakeElementTypeSet({19, 20, 21}), &slabs);
    double area = 0.0;
    for (const RecordRef& slab : slabs)
        area += Deduct(subject.get(), slab.get(), ruleContext);
    return area;
}

void RegisterBeamFinishQtyRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKAloneBeamFinishSideAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamFinishBottomAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamFinishTopAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamFinishEndAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamFinishAreaDeductBeam);
    QTK_REGISTER(registry, TQTKAloneBeamFinishAreaDeductByFact);
    QTK_REGISTER(registry, TQTKAloneBeamFinishAreaDeductSlab);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishSideAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishBottomAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishTopAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishEndAreaQty);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishAreaDeductBeam);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishAreaDeductByFact);
    QTK_REGISTER(registry, TQTKAloneBeamBlockFinishAreaDeductSlab);
}
