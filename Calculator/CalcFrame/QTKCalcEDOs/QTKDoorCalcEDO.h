// The door (element type 4): a wall opening without a frame at its threshold.
// Its cutting solid stands on the door's bottom and loses the whole
// "FillingHeight" at its head; "FillingWidth" narrows it when the door has it.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

class TQTKDoorCalcEDO final : public TQTKWallHollowCalcEDO, public IQTKDoorCalcEDO {
public:
    using TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO;

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildCutSolid() override;

private:
    ~TQTKDoorCalcEDO() override;
};
