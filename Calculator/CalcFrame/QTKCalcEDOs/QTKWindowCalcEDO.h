// The window (element type 5): a wall opening framed on all four sides; the
// common opening object serves it unchanged.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

class TQTKWindowCalcEDO final : public TQTKWallHollowCalcEDO, public IQTKWindowCalcEDO {
public:
    using TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO;

private:
    ~TQTKWindowCalcEDO() override;
};
