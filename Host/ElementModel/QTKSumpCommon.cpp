#include "Host/ElementModel/QTKSumpCommon.h"

#include <vector>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

std::unique_ptr<TVRMPolygon2d> TSumpPolyhedronBuilder::GetBottomPoly() const
{
    if (!drawObj_)
        return nullptr;
    const std::unique_ptr<TVRMPolyhedron3d> body = drawObj_->BuildPolyhedron();
    if (!body || !body->HasFaces())
        return nullptr;
    const double lowest = body->GetBox().min.z;
    for (const TVRMFace3d& face : body->GetFaces()) {
        if (!SameValue(face.GetNormal().z, -1.0) || !SameValue(face.GetBox().min.z, lowest) || face.GetLoopCount() == 0)
            continue;
        std::vector<TVRMPoint2d> points;
        for (const TVRMPoint3d& p : face.GetLoop(0))
            points.push_back({p.x, p.y});
        auto polygon = std::make_unique<TVRMPolygon2d>(points);
        if (polygon->IsClockwise())
            polygon->Reverse();
        return polygon;
    }
    return nullptr;
}
