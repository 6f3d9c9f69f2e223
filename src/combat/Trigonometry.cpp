#include "combat/Trigonometry.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "base/ExtendedMath.h"

namespace kelvane {

namespace {

SineCosine SinCosRadians(Extended radians) { return {Sin(radians), Cos(radians)}; }

// Every whole and quarter degree of a quarter turn: the headings of the computer's ships
// and of projectiles (whole degrees turned by halves) and the player's held turns
// (quarters) meet only these, so their sines are looked up rather than worked out.
const std::array<SineCosine, 360>& QuarterDegrees() {
    static const std::array<SineCosine, 360> table = [] {
        std::array<SineCosine, 360> values{};
        for (int32_t q = 0; q < 360; ++q) values[q] = SinCosRadians(Extended::Ratio(q, 4) * DegreesToRadians);
        return values;
    }();
    return table;
}

// arctan(numerator / denominator) in degrees, in doubles: within 1e-12 of the exact value
// (the ratio is off by half a unit in the last place, the series by less). Reduced to a
// ratio t of at most 1, then to atan(c) + atan((t - c) / (1 + t c)) with c the nearest eighth.
double ApproximateArcTanDegrees(int64_t numerator, int64_t denominator) {
    static constexpr double AtanEighths[9] = {0.0,
                                              0.12435499454676144,
                                              0.24497866312686414,
                                              0.35877067027057225,
                                              0.4636476090008061,
                                              0.5585993153435624,
                                              0.6435011087932844,
                                              0.7188299996216245,
                                              0.7853981633974483};
    const bool steep = numerator > denominator;
    const double t = steep ? static_cast<double>(denominator) / static_cast<double>(numerator)
                           : static_cast<double>(numerator) / static_cast<double>(denominator);
    const int eighths = static_cast<int>(t * 8 + 0.5);
    const double c = eighths / 8.0;
    const double u = (t - c) / (1 + t * c);  // |u| < 1/15
    const double square = u * u;
    double series = 0;
    for (int n = 15; n >= 3; n -= 2) series = (series + (n % 4 == 1 ? 1.0 : -1.0) / n) * square;
    const double degrees = (AtanEighths[eighths] + u + u * series) * 57.29577951308232;
    return steep ? 90 - degrees : degrees;
}

}  // namespace

SineCosine SinCosDegrees(double degrees) {
    const double quarters = degrees * 4;  // exact
    if (quarters >= 0 && quarters < 360 && quarters == std::floor(quarters))
        return QuarterDegrees()[static_cast<size_t>(quarters)];
    return SinCosRadians(Extended(degrees) * DegreesToRadians);
}

SineCosine SinCosDegrees(int32_t degrees) { return QuarterDegrees()[static_cast<size_t>(degrees) * 4]; }

int32_t RoundedArcTanDegrees(int64_t numerator, int64_t denominator) {
    // Most bearings lie far from a half degree, where the doubles settle the rounding at a
    // fraction of the cost; only those within a hair of one take the extended way.
    const double approximate = ApproximateArcTanDegrees(numerator, denominator);
    const double whole = std::floor(approximate);
    const double fraction = approximate - whole;
    if (std::fabs(fraction - 0.5) > 1e-9) return static_cast<int32_t>(fraction < 0.5 ? whole : whole + 1);
    return RoundEven(Atan(Extended::Ratio(numerator, denominator)) * RadiansToDegrees);
}

}  // namespace kelvane
