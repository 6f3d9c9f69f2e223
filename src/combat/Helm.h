#pragma once
// The veteran pilot's hands on the arrow keys: which keys bring the nose toward a heading
// and the speed toward a value, found by trying the keys on a copy of the ship through
// the very steering rule the player's keys go through.

#include "combat/ShipControls.h"
#include "world/World.h"

namespace kelvane {

// a - b in degrees, brought into (-180, 180].
double HeadingDifference(double a, double b);
// Bearing in degrees (0 up, clockwise, in [0, 360)) of the vector (dx, dy).
double BearingOf(double dx, double dy);

// Sets the turn keys of `keys` so that the next move leaves the nose as near `wanted` as
// one frame's keys can; with a `way` (1 clockwise, -1 counter-clockwise) a turn of more
// than a few degrees goes that way round even when the other way is shorter.
void TurnToward(const TShip& ship, double wanted, HeldActions& keys, int way = 0);
// Sets the thrust and brake keys toward `wanted` pixels a frame (0 stops the ship).
void HoldSpeed(const TShip& ship, double wanted, HeldActions& keys);
// The radius, in pixels, of the tightest circle the ship flies at this speed.
double TurningRadius(double speed);

}  // namespace kelvane
