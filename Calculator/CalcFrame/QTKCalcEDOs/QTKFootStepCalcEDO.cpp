#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFootStepCalcEDO.h"

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

}  // namespace

bool TQTkFootStepCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (other) {
        const TVRMBox3d own = GetElementDrawObj()->GetBox();
        const TVRMBox3d box = other->GetBox();
        if (std::abs(own.max.z - box.min.z) <= CLengthTol || std::abs(own.min.z - box.max.z) <= CLengthTol)
            return false;
    }
    return TQTKCalculatorEDO::IsIntersectWith(record);
}
