#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDoorWinCalcEDO.h"

#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The section kind of a door-window drawn as a door beside a window.
constexpr int CDoorBesideWindowSection = 4;

}  // namespace

TQTKDoorWinCalcEDO::~TQTKDoorWinCalcEDO() = default;

std::unique_ptr<TVRMPolyhedron3d> TQTKDoorWinCalcEDO::BuildCutSolid()
{
    THostPlace place;
    if (PropInteger("SectionTypeID") != CDoorBesideWindowSection || !GetHostPlace(place))
        return CopyOwnSolid();
    const IQTKPointShape* shape = GetPointShape();
    const double openingWidth = PropFloat("OpeningWidth");
    const double winWidth = PropFloat("WinWidth");
    auto solid = std::make_unique<TVRMPolyhedron3d>();
    auto unite = [&solid](std::unique_ptr<TVRMPolyhedron3d> part) {
        if (part)
            TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *part, 1);
    };
    // The door: no frame at the threshold, the whole "DoorFillingHeight" at its head.
    unite(BuildWallBandPrism(place, place.position - winWidth / 2,
                             (openingWidth - winWidth) / 2 - PropFloat("DoorFillingWidth") / 2, shape->GetBottomElev(),
                             shape->GetTopElev() - PropFloat("DoorFillingHeight")));
    // The window: on its sill above the door's bottom, framed all round.
    const double winFrame = PropFloat("WinFillingHeight") / 2;
    unite(BuildWallBandPrism(
        place, place.position - winWidth / 2 + openingWidth / 2, winWidth / 2 - PropFloat("WinFillingWidth") / 2,
        shape->GetBottomElev() + PropFloat("WinAboveFloorHeight") - PropFloat("DoorAboveFloorHeight") + winFrame,
        shape->GetTopElev() - winFrame));
    return solid;
}
