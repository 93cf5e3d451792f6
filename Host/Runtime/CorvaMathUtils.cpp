#include "Host/Runtime/CorvaMathUtils.h"

#include <cmath>

#include "Host/Runtime/SysUtils.h"

double FRound(double value, int decimals, double tolerance)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double magnitude = std::floor((std::fabs(value) + tolerance) * scale + 0.5) / scale;
    if (magnitude == 0.0)
        return 0.0;
    return value < 0 ? -magnitude : magnitude;
}

std::string FRoundToStr(double value, int decimals, double tolerance)
{
    return FloatToStr(FRound(value, decimals, tolerance));
}
