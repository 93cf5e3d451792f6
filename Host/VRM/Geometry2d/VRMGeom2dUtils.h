// Small helpers shared by the plan geometry units (not part of the public interface).
#pragma once

#include <cmath>

#include "Host/VRM/Geometry2d/VRMLine2d.h"

namespace VRMGeom2d {

inline constexpr double TwoPi = 6.28318530717958647692;

// Angle in [0, 2pi).
inline double NormalizeAngle(double a) noexcept
{
    a = std::fmod(a, TwoPi);
    if (a < 0.0)
        a += TwoPi;
    return a >= TwoPi ? 0.0 : a;
}

// Same arc travelled the other way: counter-clockwise and clockwise swap, the sweep stays.
inline int FlipArcKind(int kind) noexcept
{
    static constexpr int flipped[] = {0, 2, 1, 4, 3};
    return kind >= 0 && kind <= 4 ? flipped[kind] : 0;
}

inline TVRMPoint2d Lerp(const TVRMPoint2d& a, const TVRMPoint2d& b, double t) noexcept
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

inline TVRMPoint2d MidPoint(const TVRMPoint2d& a, const TVRMPoint2d& b) noexcept
{
    return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
}

}  // namespace VRMGeom2d
