#pragma once
// Sines, cosines and arctangents in degrees, as the rules take them: degrees become
// radians with the extended constant pi / 180 (and back with 180 / pi), and the functions
// work in extended precision, so every processor gives the same bits.

#include <cstdint>

#include "base/Extended.h"

namespace kelvane {

struct SineCosine {
    Extended Sin;
    Extended Cos;
};

// 0 <= degrees < 90. Whole and quarter degrees are looked up.
SineCosine SinCosDegrees(double degrees);
// 0 <= degrees < 90.
SineCosine SinCosDegrees(int32_t degrees);

// RoundEven(degrees(arctan(numerator / denominator))) for a positive ratio, the ratio and
// the arctangent taken in extended precision.
int32_t RoundedArcTanDegrees(int64_t numerator, int64_t denominator);

}  // namespace kelvane
