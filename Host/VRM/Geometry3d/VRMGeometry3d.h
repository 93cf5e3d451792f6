// Space primitives of the 3D geometry library: points and vectors, boxes and
// planes. Lengths are mm; tolerances are passed explicitly (CVRMEpsilon for
// lengths, CVRMPlaneEpsilon for plane coincidence and cuts).
#pragma once

#include <cmath>
#include <memory>

#include "Host/VRM/VRMCommon2d.h"

// A point or a vector in space.
struct TVRMPoint3d {
    double x = 0, y = 0, z = 0;

    constexpr TVRMPoint3d() = default;
    constexpr TVRMPoint3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}

    double operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
    double& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : z; }

    friend TVRMPoint3d operator+(const TVRMPoint3d& a, const TVRMPoint3d& b)
    {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend TVRMPoint3d operator-(const TVRMPoint3d& a, const TVRMPoint3d& b)
    {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend TVRMPoint3d operator-(const TVRMPoint3d& a) { return {-a.x, -a.y, -a.z}; }
    friend TVRMPoint3d operator*(const TVRMPoint3d& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
    friend TVRMPoint3d operator*(double s, const TVRMPoint3d& a) { return a * s; }
    friend TVRMPoint3d operator/(const TVRMPoint3d& a, double s) { return {a.x / s, a.y / s, a.z / s}; }
    TVRMPoint3d& operator+=(const TVRMPoint3d& b) { return *this = *this + b; }
    TVRMPoint3d& operator-=(const TVRMPoint3d& b) { return *this = *this - b; }
    friend bool operator==(const TVRMPoint3d&, const TVRMPoint3d&) = default;

    double InnerProduct(const TVRMPoint3d& b) const { return x * b.x + y * b.y + z * b.z; }
    TVRMPoint3d CrossProduct(const TVRMPoint3d& b) const
    {
        return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x};
    }
    double Length() const { return std::sqrt(InnerProduct(*this)); }
    // The unit vector; the zero vector stays zero.
    TVRMPoint3d Unit() const;
    bool IsZeroVector(double tol = CVRMEpsilon) const { return Length() <= tol; }
    bool IsEqualTo(const TVRMPoint3d& b, double tol = CVRMEpsilon) const { return DistanceTo(b) <= tol; }
    double DistanceTo(const TVRMPoint3d& b) const { return (*this - b).Length(); }
    // Angle in [0, pi] between two vectors (0 for a zero vector).
    double AngleBetween(const TVRMPoint3d& b) const;
    // Parallel in either direction: the sine of the angle between the unit vectors is within tol.
    bool IsParallel(const TVRMPoint3d& b, double tol = CVRMPlaneEpsilon) const;
};

using Point3d = TVRMPoint3d;
using TVRMVector3d = TVRMPoint3d;

// Axis-aligned box. A box whose min exceeds its max is empty; the open box
// reaches +-CVRMMaxInt on every axis.
struct TVRMBox3d {
    TVRMPoint3d min{1, 1, 1};
    TVRMPoint3d max{-1, -1, -1};

    TVRMBox3d() = default;
    TVRMBox3d(const TVRMPoint3d& lo, const TVRMPoint3d& hi) : min(lo), max(hi) {}
    static TVRMBox3d Open();

    bool IsValid() const { return min.x <= max.x && min.y <= max.y && min.z <= max.z; }
    bool IsOpen() const;
    void Extend(const TVRMPoint3d& p);
    void Extend(const TVRMBox3d& b);
    // Closed boxes meet when they overlap or touch within tol on every axis.
    bool Meets(const TVRMBox3d& b, double tol = CVRMEpsilon) const;
    bool Contains(const TVRMPoint3d& p, double tol = CVRMEpsilon) const;
    TVRMPoint3d Centre() const { return (min + max) * 0.5; }
    TVRMPoint3d Size() const { return max - min; }
};

// Result codes of TVRMPlane3d::Intersect.
enum : int {
    CVRMPlaneEdgeNone = -1,
    CVRMPlaneEdgeCrosses = 0,
    CVRMPlaneEdgeFirstEnd = 1,
    CVRMPlaneEdgeSecondEnd = 2,
    CVRMPlaneEdgeInPlane = 3,
};

// A plane through a base point with a unit normal. Signed distances are
// positive on the normal side.
class TVRMPlane3d {
public:
    TVRMPlane3d() = default;  // z = 0, normal +z
    // The normal is made unit; a zero normal gives +z.
    TVRMPlane3d(const TVRMVector3d& normal, const TVRMPoint3d& point, double errorCoefficient = 0);

    const TVRMPoint3d& GetBasePoint() const { return base_; }
    const TVRMVector3d& GetNormal() const { return normal_; }
    double GetErrorCoefficient() const { return errorCoefficient_; }
    std::unique_ptr<TVRMPlane3d> Clone() const { return std::make_unique<TVRMPlane3d>(*this); }

    double GetDistance(const TVRMPoint3d& p) const { return normal_.InnerProduct(p - base_); }
    TVRMPoint3d Project(const TVRMPoint3d& p) const { return p - normal_ * GetDistance(p); }
    // Solve the missing coordinate of a point on the plane; false when the
    // plane is parallel to that axis.
    bool GetX(double y, double z, double& x) const;
    bool GetY(double x, double z, double& y) const;
    bool GetZ(double x, double y, double& z) const;
    // Edge p1-p2 against the plane, with signed distances compared at tol:
    // 3 both ends on the plane, 1 first end on it, 2 second end on it,
    // 0 the edge crosses it (point returned), -1 no contact.
    int Intersect(const TVRMPoint3d& p1, const TVRMPoint3d& p2, TVRMPoint3d& point,
                  double tol = CVRMPlaneEpsilon) const;
    // Same plane whatever the orientation: normals parallel within tol and the
    // other base point within tol of this plane.
    bool IsSuperposition(const TVRMPlane3d& other, double tol = CVRMPlaneEpsilon) const;
    bool IsParallelism(const TVRMPlane3d& other, double tol = CVRMPlaneEpsilon) const;
    // Superposition with the same orientation.
    bool IsSamePlane(const TVRMPlane3d& other, double tol = CVRMPlaneEpsilon) const;
    void Negate() { normal_ = -normal_; }
    TVRMPlane3d Reversed() const;
    void Move(const TVRMVector3d& v) { base_ += v; }

private:
    TVRMPoint3d base_{0, 0, 0};
    TVRMVector3d normal_{0, 0, 1};
    double errorCoefficient_ = 0;
};
