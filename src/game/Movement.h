#pragma once
// Ships move along their heading and turn by their turn rate; the arrow keys steer the
// player's ship; the view follows it.

#include <cstdint>

#include "combat/ShipControls.h"
#include "world/View.h"
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
// The view that puts world point (x, y) at screen point (511, 383) where the edges allow.
View CentredView(int32_t x, int32_t y);
// Moves the world's own view there.
void CentreView(World& world, int32_t x, int32_t y);
// The view of someone watching a game in which no ship is the player's (a tournament's
// duel): centred on the middle of the ships in play, since the game's own view stays in
// the field's corner. Any other game is watched from its own view.
View WatchersView(const World& world);

}  // namespace kelvane
