#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

#include <algorithm>

TVRMPoint3d TVRMPoint3d::Unit() const
{
    const double len = Length();
    return len > 0 ? *this / len : *this;
}

double TVRMPoint3d::AngleBetween(const TVRMPoint3d& b) const
{
    const double cr = CrossProduct(b).Length();
    const double dt = InnerProduct(b);
    if (cr == 0 && dt == 0)
        return 0;
    return std::atan2(cr, dt);
}

bool TVRMPoint3d::IsParallel(const TVRMPoint3d& b, double tol) const
{
    const TVRMPoint3d u = Unit(), w = b.Unit();
    if (u.IsZeroVector(0) || w.IsZeroVector(0))
        return false;
    return u.CrossProduct(w).Length() <= tol;
}

TVRMBox3d TVRMBox3d::Open()
{
    const double m = CVRMMaxInt;
    return {{-m, -m, -m}, {m, m, m}};
}

bool TVRMBox3d::IsOpen() const
{
    for (int k = 0; k < 3; ++k)
        if (min[k] <= -CVRMMaxInt || max[k] >= CVRMMaxInt)
            return true;
    return false;
}

void TVRMBox3d::Extend(const TVRMPoint3d& p)
{
    if (!IsValid()) {
        min = max = p;
        return;
    }
    for (int k = 0; k < 3; ++k) {
        min[k] = std::min(min[k], p[k]);
        max[k] = std::max(max[k], p[k]);
    }
}

void TVRMBox3d::Extend(const TVRMBox3d& b)
{
    if (!b.IsValid())
        return;
    Extend(b.min);
    Extend(b.max);
}

bool TVRMBox3d::Meets(const TVRMBox3d& b, double tol) const
{
    if (!IsValid() || !b.IsValid())
        return false;
    for (int k = 0; k < 3; ++k)
        if (min[k] > b.max[k] + tol || b.min[k] > max[k] + tol)
            return false;
    return true;
}

bool TVRMBox3d::Contains(const TVRMPoint3d& p, double tol) const
{
    if (!IsValid())
        return false;
    for (int k = 0; k < 3; ++k)
        if (p[k] < min[k] - tol || p[k] > max[k] + tol)
            return false;
    return true;
}

TVRMPlane3d::TVRMPlane3d(const TVRMVector3d& normal, const TVRMPoint3d& point, double errorCoefficient)
    : base_(point), normal_(normal.Unit()), errorCoefficient_(errorCoefficient)
{
    if (normal_.IsZeroVector(0))
        normal_ = {0, 0, 1};
}

namespace {
// Solves n . (p - base) = 0 for coordinate `axis` of p.
bool SolveAxis(const TVRMPlane3d& plane, TVRMPoint3d p, int axis, double& value)
{
    const TVRMVector3d& n = plane.GetNormal();
    if (std::fabs(n[axis]) <= CVRMZero)
        return false;
    p[axis] = plane.GetBasePoint()[axis];
    value = p[axis] - plane.GetDistance(p) / n[axis];
    return true;
}
}  // namespace

bool TVRMPlane3d::GetX(double y, double z, double& x) const
{
    return SolveAxis(*this, {0, y, z}, 0, x);
}
bool TVRMPlane3d::GetY(double x, double z, double& y) const
{
    return SolveAxis(*this, {x, 0, z}, 1, y);
}
bool TVRMPlane3d::GetZ(double x, double y, double& z) const
{
    return SolveAxis(*this, {x, y, 0}, 2, z);
}

int TVRMPlane3d::Intersect(const TVRMPoint3d& p1, const TVRMPoint3d& p2, TVRMPoint3d& point, double tol) const
{
    const double d1 = GetDistance(p1), d2 = GetDistance(p2);
    const bool on1 = std::fabs(d1) <= tol, on2 = std::fabs(d2) <= tol;
    if (on1 && on2)
        return CVRMPlaneEdgeInPlane;
    if (on1) {
        point = p1;
        return CVRMPlaneEdgeFirstEnd;
    }
    if (on2) {
        point = p2;
        return CVRMPlaneEdgeSecondEnd;
    }
    if (d1 * d2 < 0) {
        point = p1 + (p2 - p1) * (d1 / (d1 - d2));
        return CVRMPlaneEdgeCrosses;
    }
    return CVRMPlaneEdgeNone;
}

bool TVRMPlane3d::IsParallelism(const TVRMPlane3d& other, double tol) const
{
    return normal_.CrossProduct(other.normal_).Length() <= tol;
}

bool TVRMPlane3d::IsSuperposition(const TVRMPlane3d& other, double tol) const
{
    return IsParallelism(other, tol) && std::fabs(GetDistance(other.base_)) <= tol;
}

bool TVRMPlane3d::IsSamePlane(const TVRMPlane3d& other, double tol) const
{
    return IsSuperposition(other, tol) && normal_.InnerProduct(other.normal_) >= 1 - CVRMEpsilon;
}

TVRMPlane3d TVRMPlane3d::Reversed() const
{
    TVRMPlane3d r = *this;
    r.Negate();
    return r;
}
