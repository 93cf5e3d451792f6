// Rounding of the host runtime.
#pragma once

// Rounds to `decimals` places, halves away from zero, after nudging the
// magnitude by `tolerance` (so 0.12345 -> 0.1235 at 4 places even though its
// binary value lies a hair below the half). -0 comes back as 0.
double FRound(double value, int decimals, double tolerance);
