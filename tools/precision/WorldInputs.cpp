#include "WorldInputs.h"

#include "combat/Geometry.h"

namespace kelvane::precision {

std::vector<double> QuarterDegreeHeadings() {
    std::vector<double> headings;
    for (int q = 0; q < 360 * 4; ++q) headings.push_back(q / 4.0);
    return headings;
}

std::vector<double> ReleasedTurnHeadings() {
    constexpr double Decay = 0.005, Snap = 0.25;
    std::vector<double> headings;
    for (int start = 0; start < 360; ++start) {
        for (double held : {0.75, 1.5, 2.25, -0.75, -1.5, -2.25}) {
            double heading = start, rate = held;
            int32_t x = 1000, y = 800;
            while (rate <= -Snap || rate >= Snap) {
                HeadingStep(x, y, 0.0, heading, rate);
                headings.push_back(heading);
                rate += rate > 0 ? -Decay : Decay;
            }
        }
    }
    return headings;
}

std::vector<double> SpeedsInPlay() {
    std::vector<double> speeds;
    for (int half = 0; half <= 40; ++half) speeds.push_back(half / 2.0);
    return speeds;
}

}  // namespace kelvane::precision
