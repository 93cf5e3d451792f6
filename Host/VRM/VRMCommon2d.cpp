#include "Host/VRM/VRMCommon2d.h"

#include <algorithm>
#include <cmath>
#include <limits>

bool SameValue(double a, double b, double tol) noexcept
{
    if (a == b)
        return true;  // also equal infinities
    return std::fabs(a - b) <= tol;
}

bool GreaterThan(double a, double b, double tol) noexcept
{
    return a > b + tol;
}
bool LessThan(double a, double b, double tol) noexcept
{
    return a < b - tol;
}
bool GreaterEqualThan(double a, double b, double tol) noexcept
{
    return a >= b - tol;
}
bool LessEqualThan(double a, double b, double tol) noexcept
{
    return a <= b + tol;
}

int CompareValue(double a, double b, double tol) noexcept
{
    if (SameValue(a, b, tol))
        return 0;
    return a < b ? -1 : 1;
}

bool IsZero(double a, double tol) noexcept
{
    return std::fabs(a) <= tol;
}

double NormalAnglePI(double angle) noexcept
{
    if (!std::isfinite(angle))
        return angle;
    double a = std::fmod(angle, CVRMPi);
    if (a < 0.0)
        a += CVRMPi;
    return a >= CVRMPi ? 0.0 : a;
}

bool IsSameAnglePI(double a, double b, double tol) noexcept
{
    const double d = NormalAnglePI(a - b);
    return d <= tol || CVRMPi - d <= tol;
}

namespace {
inline double Guard(double x) noexcept
{
    return std::isfinite(x) ? 1e-9 * std::max(1.0, std::fabs(x)) : 0.0;
}

// An integral double as an integer: NaN gives 0, values beyond the integer
// range (infinities included) its nearest bound.
int64_t ToInteger(double x) noexcept
{
    constexpr double bound = 9223372036854775808.0;  // 2^63
    if (std::isnan(x))
        return 0;
    if (x >= bound)
        return std::numeric_limits<int64_t>::max();
    if (x < -bound)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(x);
}
}  // namespace

int64_t Round(double x) noexcept
{
    return ToInteger(std::floor(x + 0.5 + Guard(x)));
}

int64_t RoundHalfEven(double x) noexcept
{
    const double e = Guard(x);
    const double lower = std::floor(x);
    const double frac = x - lower;
    if (std::fabs(frac - 0.5) <= e) {
        const int64_t l = ToInteger(lower);
        return (l % 2 == 0) ? l : l + 1;
    }
    return ToInteger(std::floor(x + 0.5));
}

int64_t Floor(double x) noexcept
{
    return ToInteger(std::floor(x + Guard(x)));
}
int64_t Ceil(double x) noexcept
{
    return ToInteger(std::ceil(x - Guard(x)));
}
