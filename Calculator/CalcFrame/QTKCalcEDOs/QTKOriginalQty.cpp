#include "Calculator/CalcFrame/QTKCalcEDOs/QTKOriginalQty.h"

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

std::optional<double> GetOriginalQtyByQtyId(IQTKCalculatorEDO* edo, int qtyId)
{
    if (!edo)
        return std::nullopt;
    (void)qtyId;
    return std::nullopt;
}
