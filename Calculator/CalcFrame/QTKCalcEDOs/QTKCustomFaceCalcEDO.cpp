#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomFaceCalcEDO.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomElementCalcs.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

TQTKCustomFaceCalcEDO::~TQTKCustomFaceCalcEDO() = default;

std::shared_ptr<TQTKShellCalc3d> TQTKCustomFaceCalcEDO::GetAreaShellCalc()
{
    return KeepOnce(areaShellCalc_, [this] {
        return std::make_shared<TQTKShellCalc3d>(BuildFaceShapeOutlineShell(GetElementDrawObj(), true),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKCustomFaceCalcEDO::GetVolumeSolidCalc()
{
    return KeepOnce(volumeSolidCalc_, [this] { return MakeOriginalVolumeCalc(*this); });
}

bool TQTKCustomFaceCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({CQTKCustomPointType, CQTKCustomLineType});
    return IsRecordOfTypes(record, types) && TQTKCalculatorEDO::IsIntersectWith(record);
}

void TQTKCustomFaceCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(areaShellCalc_, {});
    Keep(volumeSolidCalc_, {});
}

void TQTKCustomFaceCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    FillCustomElementDetail(*this, qtyRecord);
}
