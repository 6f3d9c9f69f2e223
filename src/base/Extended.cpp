#include "base/Extended.h"

#include <cmath>

namespace kelvane {

double Extended::ToDouble() const {
    if (IsZero()) return negative_ ? -0.0 : 0.0;
    // The top 53 bits, rounded on the 11 below them; the world's values lie far inside
    // the range of normal doubles, where ldexp is exact.
    uint64_t kept = significand_ >> 11;
    const uint64_t rest = significand_ & 0x7FF;
    int32_t exponent = exponent_;
    if (rest > 0x400 || (rest == 0x400 && (kept & 1) != 0)) {
        ++kept;
        if (kept == uint64_t{1} << 53) {
            kept >>= 1;
            ++exponent;
        }
    }
    const double magnitude = std::ldexp(static_cast<double>(kept), exponent - 52);
    return negative_ ? -magnitude : magnitude;
}

int32_t RoundEven(Extended v) {
    constexpr int64_t Largest = std::numeric_limits<int32_t>::max();
    if (v.IsZero() || v.Exponent() < -1) return 0;  // below one half
    uint64_t whole = Largest + 1;                  // anything of 2^31 or more saturates
    if (v.Exponent() < 31) {
        const int shift = 63 - v.Exponent();  // 33..64 fraction bits
        whole = shift == 64 ? 0 : v.Significand() >> shift;
        const uint64_t fraction = shift == 64 ? v.Significand() : v.Significand() << (64 - shift);
        constexpr uint64_t Half = uint64_t{1} << 63;
        if (fraction > Half || (fraction == Half && (whole & 1) != 0)) ++whole;
    }
    if (v.Negative()) return whole > Largest ? std::numeric_limits<int32_t>::min() : -static_cast<int32_t>(whole);
    return whole > Largest ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(whole);
}

}  // namespace kelvane
