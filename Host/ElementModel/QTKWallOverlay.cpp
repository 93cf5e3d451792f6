#include "Host/ElementModel/QTKWallOverlay.h"

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

bool GetIsFillWall(const IQTKElementDrawObj* wall)
{
    const IPropValues* values = wall ? wall->GetPropValues() : nullptr;
    return values && values->HasProp("IsFillWall") && !values->IsPropNull("IsFillWall") &&
           values->GetInteger("IsFillWall") != 0;
}

bool IsActuallyOverlay(const IQTKElementDrawObj* fillWall, const IQTKElementDrawObj* wall, int /*flag1*/, int /*flag2*/)
{
    if (!fillWall || !wall || !fillWall->GetBox().Meets(wall->GetBox()))
        return false;
    std::unique_ptr<TVRMPolyhedron3d> common = fillWall->BuildPolyhedron(true, nullptr, 0.0, 0);
    const std::unique_ptr<TVRMPolyhedron3d> other = wall->BuildPolyhedron(true, nullptr, 0.0, 0);
    if (!common || !other || !common->HasFaces() || !other->HasFaces())
        return false;
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(*common, *other, CVRMBoolIntersect))
        return false;
    return common->GetVolume() > CVRMEpsilon * CVRMEpsilon * CVRMEpsilon;
}
