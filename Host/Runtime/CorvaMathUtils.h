// Rounding of the host runtime.
#pragma once

#include <string>

// Rounds to `decimals` places, halves away from zero, after nudging the
// magnitude by `tolerance` (so 0.12345 -> 0.1235 at 4 places even though its
// binary value lies a hair below the half). -0 comes back as 0.
double FRound(double value, int decimals, double tolerance);
// FRound, then the text of the rounded value in the general number format
// (FloatToStr).
std::string FRoundToStr(double value, int decimals, double tolerance);
