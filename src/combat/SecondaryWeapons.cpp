#include "combat/SecondaryWeapons.h"

#include <array>
#include <cstdint>

#include "combat/Projectiles.h"
#include "combat/WeaponRules.h"
#include "world/Rounding.h"

namespace kelvane {

namespace {

constexpr int32_t TorpedoWave = 1;

struct TorpedoType {
    const char* Id;
    uint8_t ImageIndex;
    double Speed;
    const char* Effect;
};

constexpr std::array<TorpedoType, 5> TorpedoTypes{{
    {"TORPEDO_PHOTON", 2, 15.0, "NONE"},
    {"TORPEDO_QUANTUM", 3, 10.0, "NONE"},
    {"TORPEDO_POLARON", 11, 12.0, "POLARON_EFFECT"},
    {"TORPEDO_ION", 12, 9.0, "NONE"},
    {"TORPEDO_PLASMA", 15, 12.0, "NONE"},
}};

}  // namespace

void FireSecondaryWeapon(Arena& arena, int s) {
    World& world = arena.world;
    for (const TorpedoType& type : TorpedoTypes) {
        TShip& ship = world.Ships[s];
        if (ship.SecondaryWeaponType != type.Id || ship.SecondaryReload != 0 || !HasOtherTarget(world, s))
            continue;
        ProjectileLaunch launch;
        launch.ImageIndex = type.ImageIndex;
        launch.WaveIndex = TorpedoWave;
        launch.Speed = type.Speed;
        launch.Damage = ship.SecondaryStrength;
        launch.Homing = true;
        launch.Effect = type.Effect;
        // Torpedoes reload in a beam's time, from the primary strength.
        if (LaunchProjectile(arena, s, launch))
            ship.SecondaryReload = RoundEven(static_cast<long double>(ship.PrimaryStrength) * 0.95L + 30.0L);
    }
}

}  // namespace kelvane
