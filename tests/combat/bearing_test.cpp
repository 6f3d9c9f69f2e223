#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "combat/Geometry.h"

namespace kelvane {
namespace {

// Bearing is AngleAndDistance without the distance: every caller that swapped one for the
// other must see the same angle, on the axes, at the same point and at the 32-bit ends.
TEST(Bearing, MatchesTheBearingOfAngleAndDistance) {
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    const std::vector<int32_t> offsets = {0, 1, -1, 2, -3, 7, -10, 99, -1000, 2047, -1535};
    for (int32_t dx : offsets) {
        for (int32_t dy : offsets) {
            int32_t distance = 0;
            EXPECT_EQ(Bearing(500, 600, 500 + dx, 600 + dy),
                      AngleAndDistance(500, 600, 500 + dx, 600 + dy, distance))
                << dx << "," << dy;
        }
    }
    struct Case {
        int32_t x1, y1, x2, y2;
    };
    for (const Case& c : std::vector<Case>{{Min, Min, Max, Max},
                                           {Max, 0, Min, 0},
                                           {0, Max, 1, Min},
                                           {Max, Max, Max, Max},
                                           {1, 1000, 0, 0}}) {
        int32_t distance = 0;
        EXPECT_EQ(Bearing(c.x1, c.y1, c.x2, c.y2), AngleAndDistance(c.x1, c.y1, c.x2, c.y2, distance))
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
    EXPECT_EQ(Bearing(1, 1000, 0, 0), 360);  // not wrapped, like AngleAndDistance
}

}  // namespace
}  // namespace kelvane
