#pragma once
// Ships move along their heading and turn by their turn rate; the arrow keys steer the
// player's ship; the view follows it.

#include <cstdint>

#include "combat/ShipControls.h"
#include "world/World.h"

namespace kelvane {

// One frame of movement for ship s, clamped to the world.
void MoveShip(World& world, int s);
// Every ship in play moves, in slot order.
void MoveShips(World& world);
// Turn rates smaller than 0.25 in size become 0, for all 64 slots.
void TurnSnap(World& world);
// Arrow keys on the controlled ship's speed and turn rate.
void PlayerSteering(World& world);
// Puts world point (x, y) at screen point (511, 383) where the edges allow.
void CentreView(World& world, int32_t x, int32_t y);

}  // namespace kelvane
