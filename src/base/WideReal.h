#pragma once
// A real with a 128-bit significand, for working out sines, cosines and arctangents well
// beyond the 64 bits of Extended before rounding to it once. Operations truncate; each
// loses less than 2^-126 of its result, which the functions' few dozen steps keep far
// below the last bit of an Extended.

#include <bit>
#include <cstdint>

#include "base/Extended.h"

namespace kelvane {

class WideReal {
public:
    __extension__ typedef unsigned __int128 Bits;

    constexpr WideReal() = default;  // 0

    // significand x 2^(exponent - 127), sign apart; the significand need not be normalised.
    constexpr WideReal(bool negative, int32_t exponent, Bits significand) {
        if (significand == 0) return;
        const int lead = LeadingZeros(significand);
        negative_ = negative;
        exponent_ = exponent - lead;
        significand_ = significand << lead;
    }
    static constexpr WideReal FromHalves(int32_t exponent, uint64_t high, uint64_t low) {
        return WideReal(false, exponent, (static_cast<Bits>(high) << 64) | low);
    }
    constexpr explicit WideReal(Extended v) : WideReal(v.Negative(), v.Exponent(), static_cast<Bits>(v.Significand()) << 64) {}
    constexpr explicit WideReal(int64_t v)
        : WideReal(v < 0, 127, static_cast<Bits>(v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v))) {}

    constexpr bool IsZero() const { return significand_ == 0; }
    constexpr bool Negative() const { return negative_; }
    constexpr int32_t Exponent() const { return exponent_; }  // value in [2^e, 2^(e+1))
    constexpr WideReal operator-() const { return Raw(!negative_, exponent_, significand_); }

    // Rounded once to the nearest Extended, ties to even (the bits below the 128 kept
    // here are unknown, and never decide: no value the world asks for is that close to a tie).
    Extended ToExtended() const;
    // A close double, for first guesses.
    double Approximate() const;

    friend WideReal operator*(WideReal a, WideReal b);
    friend WideReal operator+(WideReal a, WideReal b);
    friend WideReal operator-(WideReal a, WideReal b) { return a + (-b); }
    // Division by a small positive integer.
    friend WideReal operator/(WideReal a, uint32_t divisor);

private:
    static constexpr int LeadingZeros(Bits v) {
        const uint64_t high = static_cast<uint64_t>(v >> 64);
        return high != 0 ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<uint64_t>(v));
    }
    static constexpr WideReal Raw(bool negative, int32_t exponent, Bits significand) {
        WideReal r;
        r.negative_ = negative;
        r.exponent_ = exponent;
        r.significand_ = significand;
        return r;
    }

    bool negative_ = false;
    int32_t exponent_ = 0;  // the value is significand_ x 2^(exponent_ - 127)
    Bits significand_ = 0;  // top bit set unless zero
};

// 1 / d for d > 0, by Newton's steps from a double's guess.
WideReal Reciprocal(WideReal d);

}  // namespace kelvane
