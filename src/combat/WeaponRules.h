#pragma once
// Small rules every trigger shares: whether a ship has something to shoot at, and the
// hit-quality ratio that scales a weapon's damage.

#include <cstdint>
#include <limits>

#include "combat/Geometry.h"
#include "world/World.h"

namespace kelvane {

// A ship aiming at itself has no target. Target 0 is the "no ship" slot: firing at it
// would write damage into the slot that must stay zero, so it counts as no target too.
inline bool HasOtherTarget(const World& world, int s) {
    const int t = world.Ships[s].Target;
    return t != s && t != 0;
}

// HitRoll / Accuracy of the shooter. A shooter with Accuracy 0 always rolls 0, and 0 / 0
// is taken as 0, so such a ship deals just the fixed part of its damage.
inline long double HitRatio(World& world, int shooter, int target) {
    const int32_t roll = HitRoll(world, shooter, target);
    const int32_t accuracy = world.Ships[shooter].Accuracy;
    if (accuracy == 0) return 0.0L;
    return static_cast<long double>(roll) / static_cast<long double>(accuracy);
}

// a + b kept inside the 32-bit range, whatever a data file put into a field.
inline int32_t SaturatingAdd(int32_t a, int64_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

}  // namespace kelvane
