#pragma once
// What a hit does: the hit-quality roll, the damage of a beam and of a shot, how the
// damage is booked against shields and hull, the points for a kill, and the slow repair
// of damaged hulls.

#include <cstdint>

#include "base/Extended.h"
#include "world/World.h"

namespace kelvane {

// Random(shooter's Accuracy) - Random(target's Manoeuvrability), at least 0.
int32_t HitRoll(World& world, int shooter, int target);
// Damage of a beam hit from `shooter` on `target`: between half the shooter's
// PrimaryStrength and just under one and a half times it, times hullFactor when the
// target's shields are down. Draws the hit roll.
int32_t BeamDamage(World& world, int shooter, int target, Extended hullFactor);
// Damage of a shot of base `damage` from `owner` hitting `target`: between 0.75 and 1.25
// times the base. Draws the hit roll.
int32_t ShotDamage(World& world, int owner, int target, int32_t damage);
// The whole amount goes to the shields while they are above 0, else to the hull.
void ApplyDamage(World& world, int target, int32_t damage);
// Points for a hit that leaves the target's hull below 1: the target's strength rating
// over the shooter's, times 100.
void AwardPoints(World& world, int shooter, int target);
// Once per unpaused frame: a shared countdown lets at most one ship, the lowest-numbered
// damaged one in play, gain one hull point, at most every 40 frames.
void RepairHulls(World& world);

}  // namespace kelvane
