// The element object of tie beams (type 18): a beam that also tells whether
// it lies on an outer wall.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBeamCalcEDO.h"

class TQTKTieBeamCalculator final : public TQTKBeamCalcEDO, public IQTKTieBeamCalculator {
public:
    using TQTKBeamCalcEDO::TQTKBeamCalcEDO;

    // True unless a related wall or insulating wall whose axis is parallel to
    // the tie beam's axis is an outer wall.
    bool IsNotOnInnerWall() override;
};
