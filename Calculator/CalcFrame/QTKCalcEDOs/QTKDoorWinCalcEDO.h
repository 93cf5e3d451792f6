// The door-window (element type 6): a door and a window side by side in one
// opening of width "OpeningWidth" centred on the insertion point, the door
// on the start side of the host wall's axis and the window ("WinWidth") on
// its end side. Drawn with its own section ("SectionTypeID" 4), it cuts the
// wall with the two clear openings united; otherwise with its own solid.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

class TQTKDoorWinCalcEDO final : public TQTKWallHollowCalcEDO, public IQTKDoorWinCalcEDO {
public:
    using TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO;

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildCutSolid() override;

private:
    ~TQTKDoorWinCalcEDO() override;
};
