#include "combat/Shields.h"

#include <cstdint>

namespace kelvane {

void LowerOrRaiseShields(TShip& ship) {
    if (ship.ShieldsUp) {
        ship.ShieldsUp = 0;
        ship.ShieldsDownTimer = 0;
        ship.StoredShields = ship.Shields;
        ship.Shields = 0;
    } else if (ship.ShieldsDownTimer == 0) {
        ship.ShieldsUp = 1;
        ship.Shields = ship.StoredShields;
        ship.StoredShields = 0;
    }
    // Otherwise a tachyon hit holds them down until its timer runs out.
}

void KnockOutShields(World& world, int h) {
    TShip& ship = world.Ships[h];
    // A second hit while they are down holds back the current value, which is 0.
    ship.ShieldsUp = 0;
    ship.StoredShields = ship.Shields;
    ship.Shields = 0;
    ship.ShieldsDownTimer = static_cast<uint8_t>(world.Random(2) * 20 + 60);
}

void ReturnShields(World& world) {
    for (TShip& ship : world.Ships) {
        // Shields lowered by hand have no timer and stay down; a ship out of play keeps
        // its countdown frozen.
        if (!ship.InPlay || ship.ShieldsUp || ship.ShieldsDownTimer == 0) continue;
        if (ship.ShieldsDownTimer == 1) {
            ship.ShieldsUp = 1;
            ship.Shields = ship.StoredShields;
            ship.StoredShields = 0;
        }
        --ship.ShieldsDownTimer;
    }
}

}  // namespace kelvane
