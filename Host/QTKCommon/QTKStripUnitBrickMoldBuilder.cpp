#include "Host/QTKCommon/QTKStripUnitBrickMoldBuilder.h"

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

std::unique_ptr<TVRMPolyhedron3d> TQTKStripUnitBrickMoldBuilder::BuildOneBrickMold(double thickness, double height,
                                                                                   const TVRMMultiPolygon2d& plan,
                                                                                   double bottom)
{
    if (!(thickness > CVRMEpsilon) || !(height > CVRMEpsilon) || plan.GetCount() == 0)
        return nullptr;
    TVRMMultiPolygon2d grown;
    if (!TVRMOffsetFunc2d::Offset(plan, thickness, grown))
        return nullptr;
    const std::unique_ptr<TVRMMultiPolygon2d> ring = TVRMIntersectFunc2d::SubPolygon(grown, plan);
    if (!ring || ring->GetCount() == 0)
        return nullptr;
    return TVRMPolyhedron3d::CreatePrism(*ring, bottom, height);
}

void TQTKStripUnitBrickMoldBuilder::TrimToBand(TVRMPolyhedron3d& mould, const TVRMCustomLine2d& line, double halfWidth,
                                               double reach)
{
    if (!mould.HasFaces())
        return;
    TVRMCustomLine2d left = TVRMOffsetFunc2d::Offset(line, -halfWidth);
    TVRMCustomLine2d right = TVRMOffsetFunc2d::Offset(line, halfWidth);
    for (TVRMCustomLine2d* side : {&left, &right}) {
        side->ExtendBack(reach);
        side->ExtendForward(reach);
    }
    TVRMNewPolyBooleanOperator::Cut(mould, left, right);
}
