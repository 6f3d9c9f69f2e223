#pragma once
// The special device: "TACHYON_PULSE" fires a harmless shot that knocks out the target's
// shields for 60 or 80 frames; a per-frame countdown brings them back.

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

// The device's trigger for ship s: one tachyon shot at its target when the device is ready.
void UseSpecialDevice(Arena& arena, int s);
// A tachyon hit on ship h: the shields drop to 0, their value is held back and they
// return by themselves after 60 or 80 frames.
void KnockOutShields(World& world, int h);
// Once per unpaused frame: knocked-out shields of ships in play come back when their
// timer runs out.
void ReturnShields(World& world);

}  // namespace kelvane
