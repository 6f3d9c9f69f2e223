// The world's real arithmetic is the game's own extended precision. These tests hold it to
// the x86-64 extended (long double) results over every input in play, where that format
// is at hand, and to the committed digests of those results on every processor.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "PrecisionDigests.h"
#include "WorldInputs.h"
#include "base/Extended.h"
#include "base/ExtendedMath.h"
#include "base/Rounding.h"
#include "combat/Geometry.h"
#include "combat/Trigonometry.h"

namespace kelvane {
namespace {

using precision::SpeedsInPlay;

// The exhaustive runs are plain arithmetic, which the sanitizers have nothing to say
// about: the plain build runs them.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_UNDER_SANITIZERS() GTEST_SKIP() << "exhaustive arithmetic: run by the plain build"
#else
#define SKIP_UNDER_SANITIZERS() (void)0
#endif

TEST(Precision, EveryProcessorGivesTheCommittedDigests) {
    SKIP_UNDER_SANITIZERS();
    std::ifstream file(std::string(KELVANE_SOURCE_DIR) + "/tests/combat/data/precision-digests.txt");
    std::stringstream committed;
    committed << file.rdbuf();
    EXPECT_EQ(precision::FormatDigests(precision::WorldArithmeticDigests()), committed.str());
}

// Values that differ between the 80-bit and the 128-bit format: the x86-64 results hold.
TEST(Precision, HalvesRoundAsInTheEightyBitFormat) {
    struct Case {
        Extended value;
        int32_t rounded;
    } cases[] = {
        {Extended(25) * Extended::Ratio(1, 10), 2},      // exactly 2.5
        {Extended(35) * Extended::Ratio(1, 10), 4},      // exactly 3.5
        {Extended(380) * Extended::Ratio(3, 40), 29},    // 28.5 and a hair
        {Extended::Ratio(23, 40) * Extended(100.0), 58},  // 57.5 and a hair
        {Extended(1250) * Extended::Ratio(1, 100), 12},  // 12.5
        {Sin(Extended(30) * DegreesToRadians) * Extended(7), 4},   // sin 30 is exactly 0.5
        {Cos(Extended(60) * DegreesToRadians) * Extended(-5), -2},  // and so is cos 60
        {Extended(-2.5), -2},
        {Extended(int64_t{1} << 40), INT32_MAX},
        {Extended(-(int64_t{1} << 40)), INT32_MIN},
        {Extended(-2147483648.4), INT32_MIN},
        {Extended(0.5), 0},
        {Extended(1.5), 2},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundEven(c.value), c.rounded) << c.value.ToDouble();
    EXPECT_EQ(Sin(Extended(30) * DegreesToRadians), Extended(0.5));
    EXPECT_EQ(Cos(Extended(0)), Extended(1.0));
    EXPECT_EQ(Sqrt(Extended(int64_t{1524157875019052100})), Extended(1234567890.0));
    EXPECT_EQ(Sqrt(Extended(2.0)), Extended::FromParts(false, 0, 0xB504F333F9DE6484));
}

#if LDBL_MANT_DIG == 64

long double Native(Extended v) {
    if (v.IsZero()) return v.Negative() ? -0.0L : 0.0L;
    unsigned char bytes[sizeof(long double)] = {};
    const uint64_t significand = v.Significand();
    const uint16_t top = static_cast<uint16_t>((v.Negative() ? 0x8000 : 0) | (v.Exponent() + 16383));
    std::memcpy(bytes, &significand, 8);
    std::memcpy(bytes + 8, &top, 2);
    long double result;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

bool Same(Extended portable, long double native) {
    const long double mine = Native(portable);
    return mine == native && std::signbit(mine) == std::signbit(native);
}

long double UnitsApart(Extended portable, long double native) {
    const long double mine = Native(portable);
    if (mine == native) return 0;
    return std::fabs(mine - native) / std::fabs(std::nextafter(native, 2 * native) - native);
}

int32_t NativeRoundEven(long double v) {
    if (std::isnan(v)) return 0;
    const long double r = std::nearbyintl(v);
    if (r >= 2147483647.0L) return INT32_MAX;
    if (r <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(r);
}

constexpr long double PiL = 3.141592653589793238462643383279502884L;
constexpr long double DegToRad = PiL / 180.0L;
constexpr long double RadToDeg = 180.0L / PiL;

TEST(PrecisionOnX86, ConstantsAreTheCompilersExtendedLiterals) {
    EXPECT_TRUE(Same(ExtendedPi, PiL));
    EXPECT_TRUE(Same(DegreesToRadians, DegToRad));
    EXPECT_TRUE(Same(RadiansToDegrees, RadToDeg));
    struct Case {
        int64_t numerator, denominator;
        long double literal;
    } cases[] = {{1, 10, 0.1L},  {3, 40, 0.075L}, {1, 100, 0.01L}, {3, 2000, 0.0015L}, {11, 10, 1.1L},
                 {19, 20, 0.95L}, {2, 5, 0.4L},   {9, 10, 0.9L},   {9, 4, 2.25L},       {5, 4, 1.25L}};
    for (const Case& c : cases) EXPECT_TRUE(Same(Extended::Ratio(c.numerator, c.denominator), c.literal)) << c.literal;
}

TEST(PrecisionOnX86, ArithmeticIsBitForBitTheExtendedFormats) {
    int checked = 0;
    for (const auto& [a, b] : precision::ArithmeticOperands()) {
        const Extended x = Extended::Ratio(a.Numerator, a.Denominator);
        const Extended y = Extended::Ratio(b.Numerator, b.Denominator);
        const long double nx = static_cast<long double>(a.Numerator) / static_cast<long double>(a.Denominator);
        const long double ny = static_cast<long double>(b.Numerator) / static_cast<long double>(b.Denominator);
        ASSERT_TRUE(Same(x, nx)) << a.Numerator << "/" << a.Denominator;
        ASSERT_TRUE(Same(x + y, nx + ny)) << (double)nx << " + " << (double)ny;
        ASSERT_TRUE(Same(x - y, nx - ny)) << (double)nx << " - " << (double)ny;
        ASSERT_TRUE(Same(x * y, nx * ny)) << (double)nx << " * " << (double)ny;
        if (!y.IsZero()) {
            ASSERT_TRUE(Same(x / y, nx / ny)) << (double)nx << " / " << (double)ny;
        }
        ASSERT_EQ(RoundEven(x * y), NativeRoundEven(nx * ny));
        ASSERT_EQ(std::bit_cast<uint64_t>(x.ToDouble()), std::bit_cast<uint64_t>(static_cast<double>(nx)));
        ASSERT_TRUE(Same(Extended(static_cast<double>(nx)), static_cast<long double>(static_cast<double>(nx))));
        ++checked;
    }
    EXPECT_EQ(checked, 200000);
}

// sinl and cosl (the C library's polynomials) and the x87 arctangent and power are not
// always rounded correctly: the portable functions, which are, may stand one unit in the
// last place beside them. What the world keeps of them, the rounded whole pixels and
// degrees, is the same for every input in play.
TEST(PrecisionOnX86, MovesAlongEveryHeadingInPlayRoundAsBefore) {
    SKIP_UNDER_SANITIZERS();
    std::vector<double> headings = precision::QuarterDegreeHeadings();
    const std::vector<double> released = precision::ReleasedTurnHeadings();
    headings.insert(headings.end(), released.begin(), released.end());
    const std::vector<double> speeds = SpeedsInPlay();
    int64_t functionsApart = 0;
    for (double heading : headings) {
        const double a = precision::AngleInQuadrant(heading);
        const SineCosine portable = SinCosDegrees(a);
        const long double x = static_cast<long double>(a) * DegToRad;
        const long double sine = std::sin(x), cosine = std::cos(x);
        ASSERT_LE(UnitsApart(portable.Sin, sine), 1) << heading;
        ASSERT_LE(UnitsApart(portable.Cos, cosine), 1) << heading;
        functionsApart += !Same(portable.Sin, sine) + !Same(portable.Cos, cosine);
        for (double speed : speeds) {
            ASSERT_EQ(RoundEven(portable.Sin * Extended(speed)), NativeRoundEven(sine * speed)) << heading << " " << speed;
            ASSERT_EQ(RoundEven(portable.Cos * Extended(speed)), NativeRoundEven(cosine * speed)) << heading << " " << speed;
        }
    }
    std::cout << headings.size() << " headings x " << speeds.size() << " speeds: moves alike; sines and cosines "
              << functionsApart << " of " << 2 * headings.size() << " one unit apart\n";
}

TEST(PrecisionOnX86, PointsAroundAShipLandAsBefore) {
    for (int32_t angle = 0; angle < 360; ++angle) {
        const int32_t a = angle % 90;
        const long double sine = std::sin(a * DegToRad), cosine = std::cos(a * DegToRad);
        const long double along = angle < 90 || (angle >= 180 && angle < 270) ? sine : cosine;
        const long double across = along == sine ? cosine : sine;
        const int sx = angle < 180 ? 1 : -1, sy = angle < 90 || angle >= 270 ? -1 : 1;
        for (int32_t d = 0; d <= precision::LargestDistance; ++d) {
            ASSERT_EQ(PolarOffset(0, 0, d, "X", angle), sx * NativeRoundEven(along * d)) << angle << " " << d;
            ASSERT_EQ(PolarOffset(0, 0, d, "Y", angle), sy * NativeRoundEven(across * d)) << angle << " " << d;
        }
    }
}

TEST(PrecisionOnX86, BearingsAndDistancesOverTheFlightAreaAreAsBefore) {
    SKIP_UNDER_SANITIZERS();
    int64_t arctangentsApart = 0, rootsApart = 0;
    for (int64_t a = 1; a <= precision::LargestDx; ++a) {
        for (int64_t b = 1; b <= precision::LargestDx; ++b) {
            const long double ratio = static_cast<long double>(a) / static_cast<long double>(b);
            const long double native = std::atan(ratio);
            ASSERT_EQ(RoundedArcTanDegrees(a, b), NativeRoundEven(native * RadToDeg)) << a << "/" << b;
            if (a <= 256 && b <= 256) {
                const Extended portable = Atan(Extended::Ratio(a, b));
                ASSERT_LE(UnitsApart(portable, native), 1) << a << "/" << b;
                arctangentsApart += !Same(portable, native);
            }
        }
    }
    for (int32_t dx = 1; dx <= precision::LargestDx; ++dx) {
        for (int32_t dy = 1; dy <= precision::LargestDy; ++dy) {
            const long double fx = dx, fy = dy;
            const long double native = std::pow(std::pow(fx, 2.0L) + std::pow(fy, 2.0L), 0.5L);
            int32_t distance = 0;
            AngleAndDistance(0, 0, dx, dy, distance);
            ASSERT_EQ(distance, NativeRoundEven(native)) << dx << " " << dy;
            if (dx % 16 == 0) rootsApart += !Same(Sqrt(Extended(dx) * Extended(dx) + Extended(dy) * Extended(dy)), native);
        }
    }
    std::cout << "arctangents one unit apart: " << arctangentsApart << " of 65536; roots: " << rootsApart << "\n";
}

#endif

}  // namespace
}  // namespace kelvane
