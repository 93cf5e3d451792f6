#include "Geometry3dTestUtils.h"

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox({{x0, y0, z0}, {x1, y1, z1}});
}

std::unique_ptr<TVRMPolyhedron3d> Prism(const std::vector<std::vector<std::pair<double, double>>>& rings, double z0,
                                        double z1)
{
    std::vector<TVRMLoop3d> loops;
    for (const auto& ring : rings) {
        TVRMLoop3d& l = loops.emplace_back();
        for (auto [x, y] : ring)
            l.push_back({x, y, z0});
    }
    return TVRMPolyhedron3d::CreateExtrusion(loops, {0, 0, 1}, {0, 0, z1 - z0}, false);
}
