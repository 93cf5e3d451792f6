#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomPointCalcEDO.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomElementCalcs.h"

TQTKCustomPointCalcEDO::~TQTKCustomPointCalcEDO() = default;

std::shared_ptr<TQTKSolidCalc3d> TQTKCustomPointCalcEDO::GetVolumeSolidCalc()
{
    return KeepOnce(volumeSolidCalc_, [this] { return MakeOriginalVolumeCalc(*this); });
}

bool TQTKCustomPointCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({CQTKCustomLineType, CQTKCustomFaceType});
    return IsRecordOfTypes(record, types) && TQTKCalculatorEDO::IsIntersectWith(record);
}

void TQTKCustomPointCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(volumeSolidCalc_, {});
}

void TQTKCustomPointCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    FillCustomElementDetail(*this, qtyRecord);
}
