// Small builders shared by the plan geometry tests.
#pragma once

#include <vector>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"

inline TVRMPolygon2d Box2d(double x0, double y0, double x1, double y1)
{
    return TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

inline TVRMMultiPolygon2d SetOf(std::initializer_list<TVRMPolygon2d> rings)
{
    TVRMMultiPolygon2d set;
    for (const TVRMPolygon2d& r : rings)
        set.Add(r);
    return set;
}

inline TVRMMultiPolygon2d BoxSet(double x0, double y0, double x1, double y1)
{
    return SetOf({Box2d(x0, y0, x1, y1)});
}

inline int ArcVertexCount(const TVRMMultiPolygon2d& set)
{
    int n = 0;
    for (const TVRMPolygon2d& ring : set.Items())
        for (const TVRMVertex2d& v : ring.Vertices())
            n += v.IsArc() ? 1 : 0;
    return n;
}
