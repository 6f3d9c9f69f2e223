#pragma once
// Lowering, raising, knocking out and returning shields. While a ship's shields are down
// their points are held back in StoredShields and every hit goes to the hull.

#include "world/World.h"

namespace kelvane {

// The player's shield key: lowers raised shields, raises lowered ones; shields knocked
// out by a tachyon hit stay down until their timer runs out.
void LowerOrRaiseShields(TShip& ship);
// A tachyon hit on ship h: the shields drop to 0, their value is held back and they
// return by themselves after 60 or 80 frames.
void KnockOutShields(World& world, int h);
// Once per unpaused frame: knocked-out shields of ships in play come back when their
// timer runs out.
void ReturnShields(World& world);

}  // namespace kelvane
