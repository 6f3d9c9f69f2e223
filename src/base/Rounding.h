#pragma once
// How numbers become 32-bit integers. Every real that becomes an integer is rounded to
// the nearest integer with halves going to the even neighbour (the floating-point unit's
// default mode); where the inputs are integers the rounding is done exactly on their
// ratio, so that an exact half is never missed by a last bit of a double. Values beyond
// the 32-bit range saturate and NaN gives 0, so that no data file can make a conversion
// undefined or wrap a sum around.

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelvane {

// v kept inside the 32-bit range.
inline int32_t Saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// a + b kept inside the 32-bit range.
inline int32_t SaturatingAdd(int32_t a, int64_t b) { return Saturate(static_cast<int64_t>(a) + b); }

inline int32_t SaturateToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Extended-precision values round through RoundEven(Extended) (base/Extended.h).
inline int32_t RoundEven(double v) { return SaturateToInt32(std::nearbyint(v)); }

// numerator / denominator rounded exactly, halves to the even neighbour; a zero
// denominator gives 0. The operands stay far inside 64 bits: callers pass 32-bit values
// times small constants.
inline int32_t RoundEvenRatio(int64_t numerator, int64_t denominator) {
    if (denominator == 0) return 0;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {  // floor division: 0 <= remainder < denominator
        --quotient;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) ++quotient;
    return Saturate(quotient);
}

// Truncation toward zero, where the game asks for it.
inline int32_t Trunc(double v) { return SaturateToInt32(std::trunc(v)); }

}  // namespace kelvane
