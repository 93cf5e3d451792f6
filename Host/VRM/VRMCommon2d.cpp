#include "Host/VRM/VRMCommon2d.h"

#include <algorithm>
#include <cmath>

bool SameValue(double a, double b, double tol) noexcept
{
    if (a == b)
        return true;  // also equal infinities
    return std::fabs(a - b) <= tol;
}

bool GreaterThan(double a, double b, double tol) noexcept { return a > b + tol; }
bool LessThan(double a, double b, double tol) noexcept { return a < b - tol; }
bool GreaterEqualThan(double a, double b, double tol) noexcept { return a >= b - tol; }
bool LessEqualThan(double a, double b, double tol) noexcept { return a <= b + tol; }

int CompareValue(double a, double b, double tol) noexcept
{
    if (SameValue(a, b, tol))
        return 0;
    return a < b ? -1 : 1;
}

bool IsZero(double a, double tol) noexcept { return std::fabs(a) <= tol; }

namespace {
inline double Guard(double x) noexcept { return 1e-9 * std::max(1.0, std::fabs(x)); }
}  // namespace

int64_t Round(double x) noexcept { return static_cast<int64_t>(std::floor(x + 0.5 + Guard(x))); }

int64_t RoundHalfEven(double x) noexcept
{
    const double e = Guard(x);
    const double lower = std::floor(x);
    const double frac = x - lower;
    if (std::fabs(frac - 0.5) <= e) {
        const auto l = static_cast<int64_t>(lower);
        return (l % 2 == 0) ? l : l + 1;
    }
    return static_cast<int64_t>(std::floor(x + 0.5));
}

int64_t Floor(double x) noexcept { return static_cast<int64_t>(std::floor(x + Guard(x))); }
int64_t Ceil(double x) noexcept { return static_cast<int64_t>(std::ceil(x - Guard(x))); }
