#include "Host/ElementModel/QTKBeamBrickMoldBuilder.h"

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

std::vector<std::unique_ptr<TVRMPolyhedron3d>> BuildBeamBrickMoldPolyHedron(const TVRMCustomLine2d& left,
                                                                            const TVRMCustomLine2d& right,
                                                                            double thickness, double startBottom,
                                                                            double startTop, double endBottom,
                                                                            double endTop)
{
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> solids;
    if (!(thickness > CVRMEpsilon) || !(startTop - startBottom > CVRMEpsilon || endTop - endBottom > CVRMEpsilon))
        return solids;
    // The left wall has the side line on its right, the right wall on its left.
    for (const auto& [line, leftOffset] : {std::pair{&left, thickness}, std::pair{&right, 0.0}}) {
        auto wall =
            TVRMPolyhedron3d::CreateBand(*line, thickness, leftOffset, startBottom, startTop, endBottom, endTop);
        if (wall && wall->HasFaces())
            solids.push_back(std::move(wall));
    }
    return solids;
}
