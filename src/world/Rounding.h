#pragma once
// Every real that becomes an integer is rounded to the nearest integer with halves
// going to the even neighbour (the floating-point unit's default mode). Values beyond
// the 32-bit range saturate and NaN gives 0, so that no data file can make a
// conversion undefined.

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelvane {

inline int32_t SaturateToInt32(long double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0L) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0L) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

inline int32_t RoundEven(long double v) { return SaturateToInt32(std::nearbyintl(v)); }
inline int32_t RoundEven(double v) { return SaturateToInt32(std::nearbyint(v)); }

// Truncation toward zero, where the game asks for it.
inline int32_t Trunc(double v) { return SaturateToInt32(std::trunc(static_cast<long double>(v))); }

}  // namespace kelvane
