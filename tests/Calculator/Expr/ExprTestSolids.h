// Small solids for the expression tests: boxes, upright prisms, square
// frustums and solids given face by face (each face counter-clockwise seen
// from outside). Sizes mm.
#pragma once

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

inline TVRMPolyhedron3d ExprBox(double x, double y, double z, double bottom = 0.0)
{
    return *TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, 0, bottom}, {x, y, bottom + z}));
}

// A regular hexagon of the given side in plan, standing from bottom up by height.
inline TVRMPolyhedron3d ExprHexagonalPrism(double side, double height, double bottom = 0.0)
{
    std::vector<TVRMPoint2d> points;
    for (int i = 0; i < 6; ++i)
        points.push_back({side * std::cos(i * std::numbers::pi / 3), side * std::sin(i * std::numbers::pi / 3)});
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d(points));
    return *TVRMPolyhedron3d::CreatePrism(plan, bottom, height);
}

// The square of a side centred on the origin at an elevation, counter-clockwise from above.
inline TVRMLoop3d ExprSquare(double side, double z)
{
    const double h = side / 2;
    return {{-h, -h, z}, {h, -h, z}, {h, h, z}, {-h, h, z}};
}

// Square sections from one level to the next (bottom first): each pair of
// levels a prism (same sides) or a frustum.
inline TVRMPolyhedron3d ExprSquareStack(const std::vector<double>& sides, const std::vector<double>& levels)
{
    TVRMPolyhedron3d solid;
    TVRMLoop3d bottom = ExprSquare(sides.front(), levels.front());
    solid.AddFace(TVRMFace3d::FromLoop({bottom[3], bottom[2], bottom[1], bottom[0]}));
    for (size_t k = 1; k < sides.size(); ++k) {
        const TVRMLoop3d low = ExprSquare(sides[k - 1], levels[k - 1]);
        const TVRMLoop3d high = ExprSquare(sides[k], levels[k]);
        for (size_t i = 0; i < 4; ++i) {
            const size_t j = (i + 1) % 4;
            solid.AddFace(TVRMFace3d::FromLoop({low[i], low[j], high[j], high[i]}));
        }
    }
    solid.AddFace(TVRMFace3d::FromLoop(ExprSquare(sides.back(), levels.back())));
    return solid;
}

// A loft between a bottom and a top ring of four points each.
inline TVRMPolyhedron3d ExprLoft(const TVRMLoop3d& bottom, const TVRMLoop3d& top)
{
    return *TVRMPolyhedron3d::CreateLoft(bottom, top);
}
