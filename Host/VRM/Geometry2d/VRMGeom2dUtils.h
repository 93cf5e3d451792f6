// Small helpers shared by the plan geometry units (not part of the public interface).
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

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

inline double TotalLength(const std::vector<TVRMCustomLine2d>& lines) noexcept
{
    double sum = 0.0;
    for (const TVRMCustomLine2d& l : lines)
        sum += l.Length();
    return sum;
}

inline TVRMBox2d BoxOfLines(const std::vector<TVRMCustomLine2d>& lines) noexcept
{
    TVRMBox2d box;
    for (const TVRMCustomLine2d& l : lines)
        box.Add(l.Box());
    return box;
}

// The same path travelled backwards.
inline std::vector<TVRMCustomLine2d> ReversedLines(std::vector<TVRMCustomLine2d> lines)
{
    std::reverse(lines.begin(), lines.end());
    for (TVRMCustomLine2d& l : lines)
        l.Reverse();
    return lines;
}

// The infinite line through a directed line, as a piece reaching margin beyond a box.
inline TVRMCustomLine2d LineOverBox(const TVRMCustomLine2d& line, const TVRMBox2d& box, double margin)
{
    const TVRMVector2d u = line.Vector().Normal();
    double tMin = HUGE_VAL, tMax = -HUGE_VAL;
    for (const TVRMPoint2d& corner :
         {box.min, box.max, TVRMPoint2d{box.min.x, box.max.y}, TVRMPoint2d{box.max.x, box.min.y}}) {
        const double t = (corner - line.StartPt()).InnerProduct(u);
        tMin = std::min(tMin, t), tMax = std::max(tMax, t);
    }
    return TVRMCustomLine2d(line.StartPt() + u * (tMin - margin), line.StartPt() + u * (tMax + margin));
}

}  // namespace VRMGeom2d
