#include "base/WideReal.h"

#include <cmath>

namespace kelvane {

namespace {

using Bits = WideReal::Bits;
constexpr Bits Low64 = ~uint64_t{0};

}  // namespace

Extended WideReal::ToExtended() const {
    if (IsZero()) return Extended::FromParts(negative_, 0, 0);
    uint64_t kept = static_cast<uint64_t>(significand_ >> 64);
    const uint64_t rest = static_cast<uint64_t>(significand_);
    constexpr uint64_t Half = uint64_t{1} << 63;
    int32_t exponent = exponent_;
    if (rest > Half || (rest == Half && (kept & 1) != 0)) {
        ++kept;
        if (kept == 0) {
            kept = Half;
            ++exponent;
        }
    }
    return Extended::FromParts(negative_, exponent, kept);
}

double WideReal::Approximate() const {
    const double magnitude = std::ldexp(static_cast<double>(static_cast<uint64_t>(significand_ >> 64)), exponent_ - 63);
    return negative_ ? -magnitude : magnitude;
}

WideReal operator*(WideReal a, WideReal b) {
    const bool negative = a.negative_ != b.negative_;
    if (a.IsZero() || b.IsZero()) return WideReal();
    const Bits aHigh = a.significand_ >> 64, aLow = a.significand_ & Low64;
    const Bits bHigh = b.significand_ >> 64, bLow = b.significand_ & Low64;
    const Bits cross1 = aHigh * bLow, cross2 = aLow * bHigh;
    const Bits middle = (cross1 & Low64) + (cross2 & Low64) + ((aLow * bLow) >> 64);
    const Bits top = aHigh * bHigh + (cross1 >> 64) + (cross2 >> 64) + (middle >> 64);
    // top is the product's upper half, in [2^126, 2^128).
    const int32_t exponent = a.exponent_ + b.exponent_ + 1;
    return WideReal(negative, exponent, top);
}

WideReal operator+(WideReal a, WideReal b) {
    if (a.IsZero()) return b;
    if (b.IsZero()) return a;
    if (b.exponent_ > a.exponent_ || (b.exponent_ == a.exponent_ && b.significand_ > a.significand_)) {
        const WideReal t = a;
        a = b;
        b = t;
    }
    // One bit of headroom for the carry.
    const int64_t shift = static_cast<int64_t>(a.exponent_) - b.exponent_ + 1;
    const Bits big = a.significand_ >> 1;
    const Bits small = shift < 128 ? b.significand_ >> shift : 0;
    const Bits sum = a.negative_ == b.negative_ ? big + small : big - small;
    return WideReal(a.negative_, a.exponent_ + 1, sum);
}

WideReal operator/(WideReal a, uint32_t divisor) {
    if (a.IsZero() || divisor == 0) return WideReal();
    const Bits quotient = a.significand_ / divisor;
    const Bits remainder = a.significand_ % divisor;
    // Normalise, filling the freed low bits from the remainder (at most 32 of them).
    const int lead = WideReal::LeadingZeros(quotient);
    const Bits filled = (quotient << lead) | ((remainder << lead) / divisor);
    return WideReal::Raw(a.negative_, a.exponent_ - lead, filled);
}

WideReal Reciprocal(WideReal d) {
    WideReal y = WideReal(Extended(1.0 / d.Approximate()));
    const WideReal one(int64_t{1});
    // Each step doubles the correct bits: 53, 106, then all that 128 can hold.
    for (int step = 0; step < 3; ++step) y = y + y * (one - d * y);
    return y;
}

}  // namespace kelvane
