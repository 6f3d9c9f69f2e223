#pragma once
// The three triggers (primary weapon, torpedo, special device), the beam table, the beam
// range and the reload countdown. What each weapon does comes from the weapon table.

#include <cstdint>

#include "combat/Arena.h"
#include "combat/WeaponTable.h"
#include "world/World.h"

namespace kelvane {

// Frames a fired beam is counted down from; it is drawn in the next 16 frames.
constexpr int32_t BeamLifetime = 15;

// Fires every weapon of ship s that `trigger` fires and that is ready, in table order,
// each on the state the earlier ones left: a beam from the primary slot and a pulse from
// the secondary slot may go off in the same pull. Range and the target's state are the
// caller's business.
void PullTrigger(Arena& arena, int s, Trigger trigger);
inline void FirePrimaryWeapon(Arena& arena, int s) { PullTrigger(arena, s, Trigger::Primary); }
inline void FireSecondaryWeapon(Arena& arena, int s) { PullTrigger(arena, s, Trigger::Secondary); }
inline void UseSpecialDevice(Arena& arena, int s) { PullTrigger(arena, s, Trigger::Special); }

// First free slot of the beam table, scanning 1..32; 0 when all are shown.
int FindFreeBeam(const World& world);
// Range of the beams, in pixels: Accuracy / 2.25 + 300 of the ship under the player's
// control, whoever fires. The range ring shows it.
int32_t BeamRange(const World& world);
// Ship s's target lies closer than BeamRange.
bool InBeamRange(const World& world, int s);
// Once per unpaused frame: primary, then secondary, then special reloads of all 64 slots
// go down by 1 where above 0, in three passes.
void CountDownReloads(World& world);
// Once per unpaused frame: beams whose time is up are freed, the others counted down.
void AgeBeams(World& world);

}  // namespace kelvane
