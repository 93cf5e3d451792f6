#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDoorCalcEDO.h"

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

TQTKDoorCalcEDO::~TQTKDoorCalcEDO() = default;

std::unique_ptr<TVRMPolyhedron3d> TQTKDoorCalcEDO::BuildCutSolid()
{
    return BuildClearCutSolid(PropFloat("FillingWidth") / 2, 0.0, PropFloat("FillingHeight"));
}
