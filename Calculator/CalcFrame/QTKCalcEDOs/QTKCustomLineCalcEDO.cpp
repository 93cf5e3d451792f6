#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomLineCalcEDO.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomElementCalcs.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

TQTKCustomLineCalcEDO::~TQTKCustomLineCalcEDO() = default;

TVRMPolyhedron3d* TQTKCustomLineCalcEDO::GetOriginalPolyhedron()
{
    if (!HasOriginalPolyhedron()) {
        SetOriginalPolyhedron(BuildOriginalPolyhedron());
        AfterPrepareSolid();
    }
    return TQTKHasSectionInfoLineEntCalcEDO::GetOriginalPolyhedron();
}

std::shared_ptr<TQTKLinearCalc2d> TQTKCustomLineCalcEDO::GetLengthCalc()
{
    return KeepOnce(lengthCalc_, [this] { return std::make_shared<TQTKLinearCalc2d>(*GetMidLine(), false, 1.0, 0.0); });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKCustomLineCalcEDO::GetVolumeSolidCalc()
{
    return KeepOnce(volumeSolidCalc_, [this] { return MakeOriginalVolumeCalc(*this); });
}

bool TQTKCustomLineCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    static const TQTKElementTypeSet types =
        MakeElementTypeSet({CQTKCustomPointType, CQTKCustomLineType, CQTKCustomFaceType});
    return IsRecordOfTypes(record, types) && TQTKHasSectionInfoLineEntCalcEDO::IsIntersectWith(record);
}

void TQTKCustomLineCalcEDO::FreeCalcCache()
{
    TQTKHasSectionInfoLineEntCalcEDO::FreeCalcCache();
    Keep(lengthCalc_, {});
    Keep(volumeSolidCalc_, {});
}

void TQTKCustomLineCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    FillCustomElementDetail(*this, qtyRecord);
}
