#include "Host/ElementModel/QTKColumnAccBaseShell.h"

#include <vector>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

std::unique_ptr<TVRMPolyhedronShell3d> BuildRaftSideShell3d(const IQTKElementDrawObj* drawObj, int /*mode*/)
{
    if (!drawObj)
        return nullptr;
    std::unique_ptr<TVRMPolyhedron3d> solid = drawObj->BuildPolyhedron(true, nullptr, 0.0, 0);
    if (drawObj->HasSubSolids())
        for (const auto& sub : drawObj->GetSubSolids(true))
            if (sub && sub->HasFaces())
                TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *sub, CVRMBoolUnion);
    if (!solid || !solid->HasFaces())
        return nullptr;
    std::vector<int> sides;
    for (int i = 0; i < solid->GetFaceCount(); ++i) {
        const TVRMVector3d& n = solid->GetFace(i).GetNormal();
        if (!IsZero(n.x, CVRMEpsilon) || !IsZero(n.y, CVRMEpsilon))
            sides.push_back(i);
    }
    return std::make_unique<TVRMPolyhedronShell3d>(*solid, sides);
}
