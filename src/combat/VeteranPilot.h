#pragma once
// The veteran: a computer pilot that flies with the player's own keys (the same thrust,
// brake and turn steps, the same triggers and reloads) and plays as an old hand would. It
// leads its shots, keeps the range its weapons want, turns inside its own circle instead
// of orbiting, steps out of the way of shots, saves the tachyon for raised shields, and
// breaks off while it is losing until it can strike again. It reads the world and draws
// no random numbers.

#include "combat/Arena.h"
#include "combat/ShipControls.h"

namespace kelvane {

// The keys the veteran holds this frame for ship s.
HeldActions VeteranControls(const Arena& arena, int s);
// One frame of the veteran's play for ship s: its keys, acted on.
void FlyVeteran(Arena& arena, int s);

}  // namespace kelvane
