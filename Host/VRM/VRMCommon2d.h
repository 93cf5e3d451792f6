// Tolerant comparisons and host rounding shared by every geometry layer.
#pragma once

#include <cstdint>

inline constexpr double CVRMEpsilon = 0.0010123456789;       // lengths, areas, elevations (mm)
inline constexpr double CVRMPlaneEpsilon = 1.0123456789e-5;  // plane coincidence, 3D cuts
inline constexpr double CVRMParallelEpsilon = 0.002;         // 2D parallel test
inline constexpr double CVRMZero = 1e-9;
inline constexpr double CVRMPi = 3.14159265358979323846;
// Bound of an open box and "no rank / no level".
inline constexpr int CVRMMaxInt = 2147483647;

// abs(a - b) <= tol; an infinity equals itself; NaN equals nothing.
bool SameValue(double a, double b, double tol = CVRMEpsilon) noexcept;
bool GreaterThan(double a, double b, double tol = CVRMEpsilon) noexcept;       // a > b + tol
bool LessThan(double a, double b, double tol = CVRMEpsilon) noexcept;          // a < b - tol
bool GreaterEqualThan(double a, double b, double tol = CVRMEpsilon) noexcept;  // a >= b - tol
bool LessEqualThan(double a, double b, double tol = CVRMEpsilon) noexcept;     // a <= b + tol
// 0 when SameValue, else the sign of a - b.
int CompareValue(double a, double b, double tol = CVRMEpsilon) noexcept;
bool IsZero(double a, double tol = CVRMEpsilon) noexcept;

// A direction angle (radians) brought into the half turn [0, pi): a line
// direction and its opposite give the same value.
double NormalAnglePI(double angle) noexcept;
// Two direction angles name the same line direction (equal modulo pi) within tol.
bool IsSameAnglePI(double a, double b, double tol = CVRMEpsilon) noexcept;

// Host rounding: floor(x + 0.5 + e) with e = 1e-9 * max(1, abs(x)), ties toward +infinity.
int64_t Round(double x) noexcept;
// Nearest integer with exact halves to the even integer (only where a caller asks for it).
int64_t RoundHalfEven(double x) noexcept;
// floor(x + e) and ceil(x - e), e as for Round: 2.9999999999 floors to 3.
int64_t Floor(double x) noexcept;
int64_t Ceil(double x) noexcept;
// Each of these gives 0 for NaN and the nearest int64_t bound beyond its range
// (infinities included).
