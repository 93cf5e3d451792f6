// Plan points, vectors and boxes (mm). Plain values, cheap to copy and include.
// Frame: x right, y up; "left" is the counter-clockwise side of a direction.
#pragma once

#include <cmath>

#include "Host/VRM/VRMCommon2d.h"

struct TVRMVector2d;

struct TVRMPoint2d {
    double x = 0.0;
    double y = 0.0;

    bool IsEqualTo(const TVRMPoint2d& p, double tol = CVRMEpsilon) const noexcept
    {
        return std::abs(x - p.x) <= tol && std::abs(y - p.y) <= tol;
    }
    double DistanceTo(const TVRMPoint2d& p) const noexcept { return std::hypot(p.x - x, p.y - y); }
    friend bool operator==(const TVRMPoint2d&, const TVRMPoint2d&) = default;
};

struct TVRMVector2d {
    double x = 0.0;
    double y = 0.0;

    double Length() const noexcept { return std::hypot(x, y); }
    double InnerProduct(const TVRMVector2d& v) const noexcept { return x * v.x + y * v.y; }
    // ax*by - ay*bx: positive when v lies counter-clockwise of this vector.
    double CrossProduct(const TVRMVector2d& v) const noexcept { return x * v.y - y * v.x; }
    // Unit vector of the same direction; a zero vector stays zero.
    TVRMVector2d Normal() const noexcept
    {
        const double len = Length();
        return len > 0.0 ? TVRMVector2d{x / len, y / len} : TVRMVector2d{};
    }
    void Normalize() noexcept { *this = Normal(); }
    // Quarter turn: clockwise (x,y)->(y,-x) when clockwise is true, else (x,y)->(-y,x).
    TVRMVector2d RotateHalfPi(bool clockwise) const noexcept
    {
        return clockwise ? TVRMVector2d{y, -x} : TVRMVector2d{-y, x};
    }
    // Either direction: |ua x ub| <= tol on the unit vectors. A zero vector is parallel to nothing.
    bool IsParallelTo(const TVRMVector2d& v, double tol = CVRMParallelEpsilon) const noexcept;
    bool IsSameDirectionTo(const TVRMVector2d& v) const noexcept { return InnerProduct(v) > 0.0; }
    bool IsEqualTo(const TVRMVector2d& v, double tol = CVRMEpsilon) const noexcept
    {
        return std::abs(x - v.x) <= tol && std::abs(y - v.y) <= tol;
    }
    // Signed angle turning this vector onto v, in (-pi, pi], counter-clockwise positive.
    double AngleTo(const TVRMVector2d& v) const noexcept { return std::atan2(CrossProduct(v), InnerProduct(v)); }
    // Direction angle from the x axis in [0, 2pi).
    double Angle() const noexcept;

    TVRMVector2d operator-() const noexcept { return {-x, -y}; }
    friend bool operator==(const TVRMVector2d&, const TVRMVector2d&) = default;
};

inline TVRMVector2d operator-(const TVRMPoint2d& a, const TVRMPoint2d& b) noexcept
{
    return {a.x - b.x, a.y - b.y};
}
inline TVRMPoint2d operator+(const TVRMPoint2d& p, const TVRMVector2d& v) noexcept
{
    return {p.x + v.x, p.y + v.y};
}
inline TVRMPoint2d operator-(const TVRMPoint2d& p, const TVRMVector2d& v) noexcept
{
    return {p.x - v.x, p.y - v.y};
}
inline TVRMVector2d operator+(const TVRMVector2d& a, const TVRMVector2d& b) noexcept
{
    return {a.x + b.x, a.y + b.y};
}
inline TVRMVector2d operator-(const TVRMVector2d& a, const TVRMVector2d& b) noexcept
{
    return {a.x - b.x, a.y - b.y};
}
inline TVRMVector2d operator*(const TVRMVector2d& v, double k) noexcept
{
    return {v.x * k, v.y * k};
}
inline TVRMVector2d operator*(double k, const TVRMVector2d& v) noexcept
{
    return {v.x * k, v.y * k};
}

// Axis-aligned box; empty until a point is added.
struct TVRMBox2d {
    TVRMPoint2d min{HUGE_VAL, HUGE_VAL};
    TVRMPoint2d max{-HUGE_VAL, -HUGE_VAL};

    bool IsEmpty() const noexcept { return min.x > max.x || min.y > max.y; }
    void Add(const TVRMPoint2d& p) noexcept
    {
        min.x = std::fmin(min.x, p.x), min.y = std::fmin(min.y, p.y);
        max.x = std::fmax(max.x, p.x), max.y = std::fmax(max.y, p.y);
    }
    void Add(const TVRMBox2d& b) noexcept
    {
        if (!b.IsEmpty())
            Add(b.min), Add(b.max);
    }
    double Width() const noexcept { return IsEmpty() ? 0.0 : max.x - min.x; }
    double Height() const noexcept { return IsEmpty() ? 0.0 : max.y - min.y; }
    // Closed boxes; touching within tol counts.
    bool Meets(const TVRMBox2d& b, double tol = CVRMEpsilon) const noexcept
    {
        return !IsEmpty() && !b.IsEmpty() && min.x <= b.max.x + tol && b.min.x <= max.x + tol &&
               min.y <= b.max.y + tol && b.min.y <= max.y + tol;
    }
    bool Contains(const TVRMPoint2d& p, double tol = CVRMEpsilon) const noexcept
    {
        return p.x >= min.x - tol && p.x <= max.x + tol && p.y >= min.y - tol && p.y <= max.y + tol;
    }
};
