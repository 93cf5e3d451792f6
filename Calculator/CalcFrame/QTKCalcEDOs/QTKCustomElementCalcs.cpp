#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomElementCalcs.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

std::shared_ptr<TQTKSolidCalc3d> MakeOriginalVolumeCalc(TQTKCalculatorEDO& edo)
{
    return std::make_shared<TQTKSolidCalc3d>(edo.GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                             RecordRef(edo.GetElementDrawObj()->GetRecord()), 1.0);
}

void FillCustomElementDetail(TQTKCalculatorEDO& edo, IRDXRecord* qtyRecord)
{
    if (TQTKCalculatorEDO::IsDeductDetailEmpty())
        edo.AddOriginalSolidDetail(qtyRecord);
}

bool IsRecordOfTypes(IRDXRecord* record, const TQTKElementTypeSet& types)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const int type = drawObj ? drawObj->GetElementTypeID() : -1;
    return type >= 0 && type < 256 && types.test(static_cast<size_t>(type));
}
