#pragma once
// Sine, cosine, arctangent and square root of an Extended: worked out with 128-bit
// significands and rounded once to the nearest Extended, so the same argument gives the
// same bits on every processor and with every C library. Angles are radians.

#include "base/Extended.h"

namespace kelvane {

// The constants of the angle conversions, as a compiler gives the extended literals:
// pi rounded to 64 bits, and pi / 180 and 180 / pi each rounded once from it.
inline constexpr Extended ExtendedPi = Extended::FromParts(false, 1, 0xC90FDAA22168C235);
inline constexpr Extended DegreesToRadians = ExtendedPi / Extended(int32_t{180});
inline constexpr Extended RadiansToDegrees = Extended(int32_t{180}) / ExtendedPi;

// Accurate for |x| up to a few thousand turns (the world asks for a quarter turn at most).
Extended Sin(Extended x);
Extended Cos(Extended x);
Extended Atan(Extended x);
// The root of a negative number is 0.
Extended Sqrt(Extended x);

}  // namespace kelvane
