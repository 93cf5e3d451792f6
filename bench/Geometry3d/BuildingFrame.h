// The generated frame of the 3D booleans' benches: bays of 6000 x 6000 over storeys of 3000,
// columns at the nodes (square 500 or round r 250), beams 300 x 600 along the grid lines under
// the slab top, slabs of 120 per bay; every slab less its corner columns and edge beams, every
// beam less its end columns.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace geometry3d_bench {

inline std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox({{x0, y0, z0}, {x1, y1, z1}});
}

inline std::unique_ptr<TVRMPolyhedron3d> Round(double x, double y, double r, double z0, double z1)
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d::CreateCircle({x, y}, r));
    return TVRMPolyhedron3d::CreatePrism(plan, z0, z1 - z0);
}

struct Building {
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> columns, beams, slabs;
    std::vector<std::vector<const TVRMPolyhedron3d*>> slabNeighbours, beamNeighbours;
    size_t Elements() const { return columns.size() + beams.size() + slabs.size(); }
};

inline Building MakeBuilding(bool round)
{
    constexpr int kBays = 17, kStoreys = 4;
    constexpr double kSpan = 6000, kStorey = 3000;
    Building b;
    for (int s = 0; s < kStoreys; ++s) {
        const double z0 = s * kStorey, top = z0 + kStorey;
        std::map<std::pair<int, int>, const TVRMPolyhedron3d*> column;
        for (int i = 0; i <= kBays; ++i)
            for (int j = 0; j <= kBays; ++j) {
                const double x = i * kSpan, y = j * kSpan;
                b.columns.push_back(round ? Round(x, y, 250, z0, top)
                                          : Box(x - 250, y - 250, z0, x + 250, y + 250, top));
                column[{i, j}] = b.columns.back().get();
            }
        std::map<std::tuple<int, int, int>, const TVRMPolyhedron3d*> beam;  // (i, j, along y)
        for (int i = 0; i <= kBays; ++i)
            for (int j = 0; j <= kBays; ++j)
                for (int dir = 0; dir < 2; ++dir) {
                    if ((dir == 0 && i == kBays) || (dir == 1 && j == kBays))
                        continue;
                    const double x = i * kSpan, y = j * kSpan;
                    b.beams.push_back(dir == 0 ? Box(x, y - 150, top - 600, x + kSpan, y + 150, top)
                                               : Box(x - 150, y, top - 600, x + 150, y + kSpan, top));
                    beam[{i, j, dir}] = b.beams.back().get();
                    b.beamNeighbours.push_back({column[{i, j}], column[{i + (dir == 0), j + (dir == 1)}]});
                }
        for (int i = 0; i < kBays; ++i)
            for (int j = 0; j < kBays; ++j) {
                const double x = i * kSpan, y = j * kSpan;
                b.slabs.push_back(Box(x, y, top - 120, x + kSpan, y + kSpan, top));
                b.slabNeighbours.push_back({column[{i, j}], column[{i + 1, j}], column[{i, j + 1}],
                                            column[{i + 1, j + 1}], beam[{i, j, 0}], beam[{i, j + 1, 0}],
                                            beam[{i, j, 1}], beam[{i + 1, j, 1}]});
            }
    }
    return b;
}

// Deducts every slab's and every beam's neighbours from a copy of it, calling `each` with the
// subject after every boolean (and whether it succeeded); the sum of the results' volumes.
inline double DeductFrame(const Building& b, const std::function<void(const TVRMPolyhedron3d&, bool)>& each)
{
    double volume = 0;
    auto deduct = [&](const TVRMPolyhedron3d& subject, const std::vector<const TVRMPolyhedron3d*>& others) {
        TVRMPolyhedron3d a = subject;
        for (const TVRMPolyhedron3d* o : others)
            each(a, TVRMNewPolyBooleanOperator::BooleanOperate(a, *o, CVRMBoolSubtract));
        volume += a.GetVolume();
    };
    for (size_t i = 0; i < b.slabs.size(); ++i)
        deduct(*b.slabs[i], b.slabNeighbours[i]);
    for (size_t i = 0; i < b.beams.size(); ++i)
        deduct(*b.beams[i], b.beamNeighbours[i]);
    return volume;
}

}  // namespace geometry3d_bench
