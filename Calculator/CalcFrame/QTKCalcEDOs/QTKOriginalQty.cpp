#include "Calculator/CalcFrame/QTKCalcEDOs/QTKOriginalQty.h"

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"

namespace {

// A column's volume (quantity ids 56, 127, 623, 624) and side faces (57, 128).
std::optional<double> ColumnQty(IQTKColumnCalculatorEDO& column, int qtyId)
{
    switch (qtyId) {
        case 56:
        case 127:
        case 623:
        case 624:
            if (const auto calc = column.GetVolumeCalc())
                return calc->GetVolume();
            return std::nullopt;
        case 57:
        case 128:
            if (const auto calc = column.GetSideFaceShellCalc())
                return calc->GetArea();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<double> GetOriginalQtyByQtyId(IQTKCalculatorEDO* edo, int qtyId)
{
    if (auto* column = dynamic_cast<IQTKColumnCalculatorEDO*>(edo))
        return ColumnQty(*column, qtyId);
    return std::nullopt;
}
