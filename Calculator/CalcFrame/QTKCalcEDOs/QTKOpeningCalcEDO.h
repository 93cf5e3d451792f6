// The plain wall opening (element type 7): the common opening object serves
// it unchanged.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

class TQTKOpeningCalcEDO final : public TQTKWallHollowCalcEDO, public IQTKOpeningCalcEDO {
public:
    using TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO;

private:
    ~TQTKOpeningCalcEDO() override;
};
