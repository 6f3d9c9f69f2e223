#pragma once
// The primary trigger: beams that hit at once ("PHASER_ORANGE", "BEAM_POLARON") and pulse
// weapons that launch a projectile ("PHASER_PULSE" from the secondary slot,
// "DISRUPTOR_MARK1", "DISRUPTOR_MARK2"); the beam table, the beam range and the reload
// countdown.

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

// Frames a fired beam is counted down from; it is drawn in the next 16 frames.
constexpr int32_t BeamLifetime = 15;

// First free slot of the beam table, scanning 1..32; 0 when all are shown.
int FindFreeBeam(const World& world);
// Range of the beams: Accuracy / 2.25 + 300 of the ship under the player's control.
int32_t BeamRange(const World& world);
// Ship s's target lies closer than BeamRange (the player's ship's range, whoever asks).
bool InBeamRange(const World& world, int s);
// Fires every weapon of ship s's primary trigger that is ready. Range and the target's
// state are the caller's business.
void FirePrimaryWeapon(Arena& arena, int s);
// Once per unpaused frame: primary, then secondary, then special reloads of all 64 slots
// go down by 1 where above 0, in three passes.
void CountDownReloads(World& world);
// Once per unpaused frame: beams whose time is up are freed, the others counted down.
void AgeBeams(World& world);

}  // namespace kelvane
