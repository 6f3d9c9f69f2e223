#include "combat/Damage.h"

#include "base/Extended.h"
#include "base/Rounding.h"

namespace kelvane {
namespace {

constexpr uint8_t HullRepairInterval = 40;

// HitRoll / Accuracy of the shooter. A shooter with Accuracy 0 always rolls 0, and 0 / 0
// is taken as 0, so such a ship deals just the fixed part of its damage.
Extended HitRatio(World& world, int shooter, int target) {
    const int32_t roll = HitRoll(world, shooter, target);
    const int32_t accuracy = world.Ships[shooter].Accuracy;
    if (accuracy == 0) return Extended();
    return Extended::Ratio(roll, accuracy);
}

}  // namespace

int32_t HitRoll(World& world, int shooter, int target) {
    const int32_t accuracy = world.Ships[shooter].Accuracy;
    const int32_t evasion = world.Ships[target].Manoeuvrability;
    const int64_t aim = world.Random(accuracy);  // drawn first
    const int64_t dodge = world.Random(evasion);
    const int64_t quality = aim - dodge;
    return quality > 0 ? static_cast<int32_t>(quality) : 0;
}

int32_t BeamDamage(World& world, int shooter, int target, Extended hullFactor) {
    const Extended ratio = HitRatio(world, shooter, target);
    const Extended strength(world.Ships[shooter].PrimaryStrength);
    const Extended base = ratio * strength + strength / Extended(2.0);
    const bool shieldsHold = world.Ships[target].Shields > 0;
    return RoundEven(shieldsHold ? base : base * hullFactor);
}

int32_t ShotDamage(World& world, int owner, int target, int32_t damage) {
    const Extended ratio = HitRatio(world, owner, target);
    const Extended base(damage);
    const Extended half(0.5), two(2.0), oneAndHalf(1.5);
    return RoundEven(ratio * base * half + base / two * oneAndHalf);
}

void ApplyDamage(World& world, int target, int32_t damage) {
    TShip& ship = world.Ships[target];
    if (ship.Shields > 0)
        ship.Shields = SaturatingAdd(ship.Shields, -static_cast<int64_t>(damage));
    else
        ship.Hull = SaturatingAdd(ship.Hull, -static_cast<int64_t>(damage));
}

void AwardPoints(World& world, int shooter, int target) {
    const TShip& victim = world.Ships[target];
    TShip& scorer = world.Ships[shooter];
    // A shooter without a strength rating would divide by zero: such a ship scores nothing.
    if (scorer.StrengthRating == 0) return;
    if (victim.Hull >= 1) return;
    const Extended ratio = Extended::Ratio(victim.StrengthRating, scorer.StrengthRating);
    scorer.Score = SaturatingAdd(scorer.Score, RoundEven(ratio * Extended(100.0)));
}

void RepairHulls(World& world) {
    --world.HullRepairTimer;  // an 8-bit counter: 0 becomes 255
    for (TShip& ship : world.Ships) {
        // Wrecks in play are repaired too.
        if (ship.InPlay && ship.Hull < ship.MaxHull && world.HullRepairTimer == 0) {
            world.HullRepairTimer = HullRepairInterval;
            ++ship.Hull;
        }
    }
}

}  // namespace kelvane
