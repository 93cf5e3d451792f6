// The alcove (element type 13): a niche in a wall, "Depth" deep from the
// face on the side of the wall's middle line its insertion point lies on.
// Its footprint is that niche; it cuts the wall like a window.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

class TQTKAlcoveCalcEDO final : public TQTKWallHollowCalcEDO, public IQTKAlcoveCalcEDO {
public:
    using TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO;

protected:
    // The host wall's middle, left and right lines.
    TQTKHollowWallLines GatherPlanWallLines() override;
    std::unique_ptr<TVRMMultiPolygon2d> BuildPlanPolygon(const TQTKHollowWallLines& lines) override;

private:
    ~TQTKAlcoveCalcEDO() override;
};
