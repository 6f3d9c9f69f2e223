#pragma once
// The game's own extended-precision real: a sign, a 15-bit-range exponent and a 64-bit
// significand, every operation rounded once to the nearest value, ties to even. The rules
// form their intermediate results in this format (the 80-bit extended format of the x87
// unit), so a product like 25 x 0.1 comes out as exactly 2.5 and then rounds to even.
// Doing it in software rather than through the compiler's `long double` makes the world
// move on bit for bit alike on every processor: `long double` is the 80-bit format on
// x86-64 but a 128-bit one on aarch64 (and plain double elsewhere), which rounds the
// halves the other way.
//
// Only finite values occur in the world's arithmetic (32-bit integers, doubles and the
// rules' constants and products), so there are no infinities, NaNs or subnormals; a
// non-finite double converts to 0 (NaN) or to a value far beyond every integer (infinity).
// Division by zero gives 0: every caller guards it, as the rules ask.

#include <bit>
#include <cstdint>
#include <limits>

namespace kelvane {

class Extended {
public:
    constexpr Extended() = default;  // +0

    // Integers convert exactly.
    constexpr explicit Extended(int64_t value) {
        const bool negative = value < 0;
        const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        *this = Rounded(negative, 0, magnitude, false);
    }
    constexpr explicit Extended(int32_t value) : Extended(static_cast<int64_t>(value)) {}

    // Doubles convert exactly (53 bits fit in 64).
    constexpr explicit Extended(double value) {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        const bool negative = (bits >> 63) != 0;
        const int32_t biased = static_cast<int32_t>((bits >> 52) & 0x7FF);
        const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
        if (biased == 0x7FF) {
            if (fraction == 0) *this = FromParts(negative, 16383, uint64_t{1} << 63);  // infinity
            return;                                                                  // NaN: 0
        }
        if (biased == 0) {
            *this = Rounded(negative, -1074, fraction, false);  // zero or subnormal
        } else {
            *this = Rounded(negative, biased - 1075, fraction | (uint64_t{1} << 52), false);
        }
    }

    // numerator / denominator, rounded once: the constants of the rules (0.1 is 1 / 10,
    // 0.075 is 3 / 40) are the values a compiler gives their decimal literals.
    static constexpr Extended Ratio(int64_t numerator, int64_t denominator) {
        return Extended(numerator) / Extended(denominator);
    }

    // sign, exponent and significand as they stand: the value is
    // significand x 2^(exponent - 63); a non-zero significand has its top bit set.
    static constexpr Extended FromParts(bool negative, int32_t exponent, uint64_t significand) {
        Extended result;
        result.negative_ = negative;
        result.exponent_ = significand == 0 ? 0 : exponent;
        result.significand_ = significand;
        return result;
    }

    constexpr bool Negative() const { return negative_; }
    constexpr int32_t Exponent() const { return exponent_; }
    constexpr uint64_t Significand() const { return significand_; }
    constexpr bool IsZero() const { return significand_ == 0; }

    // Rounded to the nearest double, ties to even.
    double ToDouble() const;

    constexpr Extended operator-() const { return FromParts(!negative_, exponent_, significand_); }

    friend constexpr Extended operator*(Extended a, Extended b) {
        const bool negative = a.negative_ != b.negative_;
        if (a.IsZero() || b.IsZero()) return FromParts(negative, 0, 0);
        const Wide product = static_cast<Wide>(a.significand_) * b.significand_;
        return Rounded(negative, a.exponent_ + b.exponent_ - 126, product, false);
    }

    friend constexpr Extended operator/(Extended a, Extended b) {
        const bool negative = a.negative_ != b.negative_;
        if (a.IsZero() || b.IsZero()) return FromParts(negative, 0, 0);
        // 64 or 65 quotient bits, then 32 more from the remainder: enough to round, with
        // the last remainder as the sticky bit.
        const Wide numerator = static_cast<Wide>(a.significand_) << 64;
        const Wide quotient = numerator / b.significand_;
        const Wide remainder = numerator % b.significand_;
        const Wide more = remainder << 32;
        const Wide extended = (quotient << 32) | (more / b.significand_);
        return Rounded(negative, a.exponent_ - b.exponent_ - 96, extended, more % b.significand_ != 0);
    }

    friend constexpr Extended operator+(Extended a, Extended b) {
        if (a.IsZero()) return b.IsZero() ? FromParts(a.negative_ && b.negative_, 0, 0) : b;
        if (b.IsZero()) return a;
        // a is the larger magnitude.
        if (b.exponent_ > a.exponent_ || (b.exponent_ == a.exponent_ && b.significand_ > a.significand_)) {
            const Extended t = a;
            a = b;
            b = t;
        }
        // 62 guard bits below the significands; what b loses to the alignment is sticky.
        const Wide big = static_cast<Wide>(a.significand_) << 62;
        const int64_t shift = static_cast<int64_t>(a.exponent_) - b.exponent_;
        Wide small = 0;
        bool sticky = false;
        if (shift < 126) {
            const Wide aligned = static_cast<Wide>(b.significand_) << 62;
            small = aligned >> shift;
            sticky = (small << shift) != aligned;
        } else {
            sticky = true;
        }
        const int32_t scale = a.exponent_ - 125;
        if (a.negative_ == b.negative_) return Rounded(a.negative_, scale, big + small, sticky);
        // The lost bits of b make the true difference a little smaller than big - small.
        const Wide difference = big - small - (sticky ? 1 : 0);
        if (difference == 0 && !sticky) return Extended();  // x - x is +0
        return Rounded(a.negative_, scale, difference, sticky);
    }

    friend constexpr Extended operator-(Extended a, Extended b) { return a + (-b); }

    friend constexpr bool operator==(Extended a, Extended b) {
        if (a.IsZero() && b.IsZero()) return true;
        return a.negative_ == b.negative_ && a.exponent_ == b.exponent_ && a.significand_ == b.significand_;
    }

private:
    __extension__ typedef unsigned __int128 Wide;

    // magnitude x 2^scale (plus a little more when sticky), rounded to 64 bits, ties to
    // even. A sticky caller leaves at least two bits below the 64 it keeps.
    static constexpr Extended Rounded(bool negative, int32_t scale, Wide magnitude, bool sticky) {
        if (magnitude == 0) return FromParts(negative, 0, 0);
        const uint64_t high = static_cast<uint64_t>(magnitude >> 64);
        const int top = high != 0 ? 127 - std::countl_zero(high)
                                  : 63 - std::countl_zero(static_cast<uint64_t>(magnitude));
        if (top <= 63) return FromParts(negative, scale + top, static_cast<uint64_t>(magnitude) << (63 - top));
        const int shift = top - 63;
        uint64_t significand = static_cast<uint64_t>(magnitude >> shift);
        const Wide rest = magnitude - (static_cast<Wide>(significand) << shift);
        const Wide half = static_cast<Wide>(1) << (shift - 1);
        int32_t exponent = scale + top;
        if (rest > half || (rest == half && (sticky || (significand & 1) != 0))) {
            ++significand;
            if (significand == 0) {  // carried out of the top bit
                significand = uint64_t{1} << 63;
                ++exponent;
            }
        }
        return FromParts(negative, exponent, significand);
    }

    bool negative_ = false;
    int32_t exponent_ = 0;
    uint64_t significand_ = 0;
};

// v rounded to the nearest integer, halves to the even neighbour; values beyond the
// 32-bit range saturate.
int32_t RoundEven(Extended v);

}  // namespace kelvane
