#include "base/ExtendedMath.h"

#include <cmath>
#include <cstdint>

#include "base/WideReal.h"

namespace kelvane {

namespace {

using Bits = WideReal::Bits;

constexpr WideReal HalfPi = WideReal::FromHalves(0, 0xC90FDAA22168C234, 0xC4C6628B80DC1CD1);
// atan(k / 8) for k = 0..8.
constexpr WideReal AtanEighths[9] = {
    WideReal(),
    WideReal::FromHalves(-4, 0xFEADD4D5617B6E32, 0xC897989F3E888EF7),
    WideReal::FromHalves(-3, 0xFADBAFC96406EB15, 0x6DC79EF5F7A217E5),
    WideReal::FromHalves(-2, 0xB7B0CA0F26F78473, 0x8AA32122DCFE4483),
    WideReal::FromHalves(-2, 0xED63382B0DDA7B45, 0x6FE445ECBC3A8D03),
    WideReal::FromHalves(-1, 0x8F005D5EF7F59F9B, 0x5C835E1665C43747),
    WideReal::FromHalves(-1, 0xA4BC7D1934F70924, 0x19A87F2A457DAC9E),
    WideReal::FromHalves(-1, 0xB8053E2BC2319E73, 0xCB2DA55210A4443D),
    WideReal::FromHalves(-1, 0xC90FDAA22168C234, 0xC4C6628B80DC1CD1),
};

// A term this far below the sum no longer touches its 128 bits.
bool Negligible(const WideReal& term, const WideReal& sum) {
    return term.IsZero() || term.Exponent() < sum.Exponent() - 130;
}

// Taylor series, for |x| up to a little over pi / 4.
WideReal SinSeries(WideReal x) {
    const WideReal square = x * x;
    WideReal term = x, sum = x;
    for (uint32_t k = 1; k < 40; ++k) {
        term = term * square / (2 * k * (2 * k + 1));
        if (Negligible(term, sum)) break;
        sum = k % 2 == 1 ? sum - term : sum + term;
    }
    return sum;
}

WideReal CosSeries(WideReal x) {
    const WideReal square = x * x;
    WideReal term(int64_t{1}), sum(int64_t{1});
    for (uint32_t k = 1; k < 40; ++k) {
        term = term * square / ((2 * k - 1) * 2 * k);
        if (Negligible(term, sum)) break;
        sum = k % 2 == 1 ? sum - term : sum + term;
    }
    return sum;
}

// x = quadrant x pi / 2 + rest, with |rest| about pi / 4 at most.
struct QuarterTurns {
    int64_t Quadrant;
    WideReal Rest;
};

QuarterTurns Reduce(Extended x) {
    const WideReal wide(x);
    const int64_t quadrant = std::llround(wide.Approximate() / 1.5707963267948966);
    return {quadrant, wide - HalfPi * WideReal(quadrant)};
}

// atan(t) for 0 <= t <= 1: atan(c) + atan((t - c) / (1 + t c)) with c the nearest
// eighth, whose series then converges by 8 bits a term.
WideReal AtanUpToOne(WideReal t) {
    const int64_t eighths = std::llround(t.Approximate() * 8);
    const WideReal c(false, 124, static_cast<Bits>(eighths));  // eighths / 8, exact
    const WideReal u = (t - c) * Reciprocal(WideReal(int64_t{1}) + t * c);
    const WideReal square = u * u;
    WideReal power = u, sum = u;
    for (uint32_t n = 1; n < 40; ++n) {
        power = power * square;
        const WideReal term = power / (2 * n + 1);
        if (Negligible(term, sum)) break;
        sum = n % 2 == 1 ? sum - term : sum + term;
    }
    return AtanEighths[eighths] + sum;
}

// The integer square root of v, rounded down.
uint64_t RootDown(Bits v) {
    const double guess = std::sqrt(static_cast<double>(v));
    uint64_t root = guess >= 18446744073709549568.0 ? ~uint64_t{0} : static_cast<uint64_t>(guess);
    if (root != 0) {
        const Bits better = (static_cast<Bits>(root) + v / root) / 2;
        root = better > ~uint64_t{0} ? ~uint64_t{0} : static_cast<uint64_t>(better);
    }
    while (static_cast<Bits>(root) * root > v) --root;
    while (root != ~uint64_t{0} && static_cast<Bits>(root + 1) * (root + 1) <= v) ++root;
    return root;
}

}  // namespace

Extended Sin(Extended x) {
    const QuarterTurns turns = Reduce(x);
    switch (turns.Quadrant & 3) {
        case 0: return SinSeries(turns.Rest).ToExtended();
        case 1: return CosSeries(turns.Rest).ToExtended();
        case 2: return (-SinSeries(turns.Rest)).ToExtended();
        default: return (-CosSeries(turns.Rest)).ToExtended();
    }
}

Extended Cos(Extended x) {
    const QuarterTurns turns = Reduce(x);
    switch (turns.Quadrant & 3) {
        case 0: return CosSeries(turns.Rest).ToExtended();
        case 1: return (-SinSeries(turns.Rest)).ToExtended();
        case 2: return (-CosSeries(turns.Rest)).ToExtended();
        default: return SinSeries(turns.Rest).ToExtended();
    }
}

Extended Atan(Extended x) {
    if (x.IsZero()) return x;
    const WideReal t = WideReal(x.Negative() ? -x : x);
    const bool beyondOne = t.Approximate() > 1.0;
    WideReal angle = beyondOne ? HalfPi - AtanUpToOne(Reciprocal(t)) : AtanUpToOne(t);
    if (x.Negative()) angle = -angle;
    return angle.ToExtended();
}

Extended Sqrt(Extended x) {
    if (x.IsZero() || x.Negative()) return Extended();
    // x = m x 2^power with an even power and m in [2^126, 2^128): the root has 64 bits.
    Bits m = static_cast<Bits>(x.Significand()) << 64;
    int32_t power = x.Exponent() - 127;
    if ((power & 1) != 0) {
        m >>= 1;  // the low 64 bits are zero: nothing is lost
        ++power;
    }
    uint64_t root = RootDown(m);
    // The root lies above root + 1/2 exactly when m > root^2 + root; it is never a tie.
    int32_t exponent = power / 2 + 63;
    if (m - static_cast<Bits>(root) * root > root) {
        ++root;
        if (root == 0) {
            root = uint64_t{1} << 63;
            ++exponent;
        }
    }
    return Extended::FromParts(false, exponent, root);
}

}  // namespace kelvane
