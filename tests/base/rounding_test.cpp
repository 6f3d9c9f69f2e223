#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "base/Rounding.h"

namespace kelvane {
namespace {

TEST(Rounding, HalvesGoToEvenAndExtremesSaturate) {
    struct Case {
        double in;
        int32_t out;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.49, 0}, {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {NAN, 0}};
    for (const Case& c : cases) EXPECT_EQ(RoundEven(c.in), c.out) << c.in;
    EXPECT_EQ(Trunc(-2.9), -2);
}

TEST(Rounding, RatiosRoundExactlyWithHalvesToEven) {
    struct Case {
        int64_t numerator, denominator;
        int32_t out;
    } cases[] = {
        {29 * 140, 280, 14},  // 14.5: a double makes it 14.500000000000002
        {15 * 140, 200, 10},  // 10.5
        {45 * 140, 200, 32},  // 31.5
        {7, 2, 4},           {5, 2, 2},           {-5, 2, -2},   {-7, 2, -4},  {5, -2, -2},
        {1, 3, 0},           {2, 3, 1},           {-2, 3, -1},   {0, 7, 0},    {9, 0, 0},
        {int64_t{1} << 40, 1, INT32_MAX},         {-(int64_t{1} << 40), 1, INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundEvenRatio(c.numerator, c.denominator), c.out) << c.numerator << " / " << c.denominator;
    }
}

TEST(Rounding, SaturatingSumsStopAtTheEnds) {
    EXPECT_EQ(SaturatingAdd(INT32_MAX, 1), INT32_MAX);
    EXPECT_EQ(SaturatingAdd(INT32_MIN, -10), INT32_MIN);
    EXPECT_EQ(SaturatingAdd(5, -10), -5);
    EXPECT_EQ(Saturate(int64_t{1} << 35), INT32_MAX);
}

}  // namespace
}  // namespace kelvane
