#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Extended.h"
#include "base/ExtendedMath.h"

namespace kelvane {
namespace {

constexpr uint64_t Top = uint64_t{1} << 63;

// 1 + k x 2^-63: the Extended just above 1, k units in the last place.
Extended OnePlusUnits(uint64_t k) { return Extended::FromParts(false, 0, Top + k); }
Extended PowerOfTwo(int32_t exponent) { return Extended::FromParts(false, exponent, Top); }

TEST(Extended, EveryOperationRoundsOnceToNearestWithTiesToEven) {
    struct Case {
        const char* what;
        Extended got, expected;
    } cases[] = {
        {"1 + half a unit: a tie, to even 1", Extended(1.0) + PowerOfTwo(-64), Extended(1.0)},
        {"1 + 1 unit + half a unit: a tie, to even 1 + 2 units", OnePlusUnits(1) + PowerOfTwo(-64), OnePlusUnits(2)},
        {"1 + a hair over half a unit rounds up", Extended(1.0) + (PowerOfTwo(-64) + PowerOfTwo(-100)), OnePlusUnits(1)},
        {"1 - 2^-70 rounds to 1", Extended(1.0) - PowerOfTwo(-70), Extended(1.0)},
        {"(1 + 1 unit) - 1 is exact", OnePlusUnits(1) - Extended(1.0), PowerOfTwo(-63)},
        {"x - x is +0", OnePlusUnits(5) - OnePlusUnits(5), Extended()},
        {"1 / 3", Extended::Ratio(1, 3), Extended::FromParts(false, -2, 0xAAAAAAAAAAAAAAAB)},
        {"-2 / 3", Extended::Ratio(-2, 3), Extended::FromParts(true, -1, 0xAAAAAAAAAAAAAAAB)},
        {"(1 + 1 unit)^2: 1 + 2 units and a sliver", OnePlusUnits(1) * OnePlusUnits(1), OnePlusUnits(2)},
        {"a carry out of the top bit", Extended::FromParts(false, 0, ~uint64_t{0}) + PowerOfTwo(-64), Extended(2.0)},
        {"division by zero gives 0", Extended(5.0) / Extended(), Extended()},
        {"sqrt 2", Sqrt(Extended(2.0)), Extended::FromParts(false, 0, 0xB504F333F9DE6484)},
        {"the root of a negative is 0", Sqrt(Extended(-4.0)), Extended()},
        {"atan 1 is pi / 4", Atan(Extended(1.0)), ExtendedPi / Extended(4.0)},
        {"atan -1 is -pi / 4", Atan(Extended(-1.0)), -(ExtendedPi / Extended(4.0))},
        {"sin of a tiny angle is the angle", Sin(PowerOfTwo(-40)), PowerOfTwo(-40)},
        {"sin pi / 2 is 1", Sin(ExtendedPi / Extended(2.0)), Extended(1.0)},
        {"cos pi is -1", Cos(ExtendedPi), Extended(-1.0)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what << ": " << c.got.ToDouble();
}

TEST(Extended, DoublesConvertExactlyAndRoundBackToEven) {
    const double values[] = {0.0, 1.0, -1.5, 0.1, 1e300, -4.9e-324, 2.2250738585072014e-308, 359.99999999999994};
    for (double v : values) EXPECT_EQ(Extended(v).ToDouble(), v) << v;
    EXPECT_EQ((Extended(1.0) + PowerOfTwo(-53)).ToDouble(), 1.0);  // a tie, to even
    EXPECT_EQ((OnePlusUnits(3 << 10)).ToDouble(), 1.0 + std::ldexp(1.0, -51));
    EXPECT_EQ(RoundEven(Extended(std::numeric_limits<double>::quiet_NaN())), 0);
    EXPECT_EQ(RoundEven(Extended(std::numeric_limits<double>::infinity())), INT32_MAX);
    EXPECT_EQ(RoundEven(Extended(-std::numeric_limits<double>::infinity())), INT32_MIN);
}

}  // namespace
}  // namespace kelvane
