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

// A wall's middle face (0), volume (1, 622) and side faces (2, 3: both side
// lines' faces and the end faces already gathered).
std::optional<double> WallQty(IQTKWallCalcEDO& wall, int qtyId)
{
    std::shared_ptr<TQTKShellCalc3d> shell;
    switch (qtyId) {
        case CQTKWallQtyVolume:
        case CQTKWallQtyVolumeAlt:
            if (const auto calc = wall.GetVolumeCalc())
                return calc->GetVolume();
            return std::nullopt;
        case CQTKWallQtyMidFaceArea:
            shell = wall.GetMidFaceShellCalc();
            break;
        case CQTKWallQtySideFaceArea:
        case CQTKWallQtyFormboardArea:
            shell = wall.GetSideFaceShellCalc();
            break;
        default:
            return std::nullopt;
    }
    if (!shell)
        return std::nullopt;
    return shell->GetArea();
}

// An insulating wall layer's volume (its volume calculator).
std::optional<double> InsulatingUnitQty(IQTKInsulatingWallUnitCalcEDO& unit, int qtyId)
{
    if (qtyId != CQTKInsulatingUnitQtyVolume)
        return std::nullopt;
    if (const auto calc = unit.GetVolumeCalc())
        return calc->GetVolume();
    return std::nullopt;
}

}  // namespace

std::optional<double> GetOriginalQtyByQtyId(IQTKCalculatorEDO* edo, int qtyId)
{
    if (auto* wall = dynamic_cast<IQTKWallCalcEDO*>(edo))
        return WallQty(*wall, qtyId);
    if (auto* column = dynamic_cast<IQTKColumnCalculatorEDO*>(edo))
        return ColumnQty(*column, qtyId);
    if (auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(edo))
        return InsulatingUnitQty(*unit, qtyId);
    return std::nullopt;
}
