#include "combat/SpecialDevices.h"

#include <cstdint>

#include "combat/Projectiles.h"
#include "combat/WeaponRules.h"

namespace kelvane {

namespace {

constexpr uint8_t TachyonImage = 21;
constexpr int32_t TachyonWave = 1;
constexpr double TachyonSpeed = 15.0;
constexpr int32_t TachyonReload = 200;  // 8 seconds

}  // namespace

void UseSpecialDevice(Arena& arena, int s) {
    World& world = arena.world;
    TShip& ship = world.Ships[s];
    if (ship.SpecialDevice != "TACHYON_PULSE" || ship.SpecialReload != 0 || !HasOtherTarget(world, s)) return;
    ProjectileLaunch launch;
    launch.ImageIndex = TachyonImage;
    launch.WaveIndex = TachyonWave;
    launch.Speed = TachyonSpeed;
    launch.Damage = 0;
    launch.Homing = false;
    launch.Effect = "TACHYON_EFFECT";
    if (LaunchProjectile(arena, s, launch)) ship.SpecialReload = TachyonReload;
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
