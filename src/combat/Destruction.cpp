#include "combat/Destruction.h"

#include <array>
#include <string>

#include "combat/Geometry.h"
#include "world/ConsoleLog.h"

namespace kelvane {

namespace {

// Sound of explosion parts 1..4.
constexpr std::array<int32_t, 4> PartWaves{2, 3, 4, 8};

}  // namespace

void StartDestruction(World& world) {
    for (TShip& ship : world.Ships) {
        if (ship.Hull > 0 || ship.Exploding || ship.AwaitingRespawn || ship.Appearing) continue;
        // The wreck stays where it is.
        ship.Exploding = 1;
        ship.Dead = 1;
        ship.ExplosionTimer = 0;
        ship.AwaitingRespawn = 0;
        ship.Appearing = 0;
        ship.AppearFrame = 0;
        ship.TurnRate = 0;
        ship.Speed = 0;
    }
}

void RunExplosionClocks(Arena& arena) {
    for (TShip& ship : arena.world.Ships) {
        // A ship taken out of play keeps its clock where it stopped.
        if (!ship.Exploding || !ship.InPlay) continue;
        ++ship.ExplosionTimer;
        for (int n = 1; n <= 4; ++n) {
            const TExplosionPart& part = ship.ExplosionParts[n];
            if (part.Enabled && ship.ExplosionTimer == part.Delay) arena.Waves.Play(PartWaves[n - 1]);
        }
    }
}

void EndExplosions(World& world) {
    for (int s = 1; s <= MaxShips; ++s) {
        TShip& ship = world.Ships[s];
        if (ship.ExplosionTimer <= ExplosionLength) continue;
        ship.Exploding = 0;
        ship.Dead = 1;
        ship.ExplosionTimer = 0;
        ship.AwaitingRespawn = 1;
        ship.RespawnTimer = RespawnWait;
        if (s == world.ControlledShip)
            AddConsoleLine(world, "Your ship (" + ship.ShipName + ") is destroyed...", ConsoleColor2);
        else
            AddConsoleLine(world, ship.ShipName + " is destroyed...", ConsoleColor4);
    }
}

void CountDownRespawns(World& world) {
    for (TShip& ship : world.Ships)
        if (ship.AwaitingRespawn && ship.RespawnTimer > 0) --ship.RespawnTimer;
}

void ComeBack(World& world) {
    for (TShip& ship : world.Ships) {
        if (!ship.AwaitingRespawn || ship.RespawnTimer > 0) continue;
        ship.Appearing = 1;
        ship.AwaitingRespawn = 0;
        ship.AppearFrame = 0;
        // Drawn in this order: X, Y, heading.
        ship.X = world.Random(1447) + 300;
        ship.Y = world.Random(935) + 300;
        ship.Heading = world.Random(3) * 90;
    }
}

void AdvanceReEntries(World& world) {
    for (TShip& ship : world.Ships)
        if (ship.Appearing && ship.AppearFrame < AppearFrames) ++ship.AppearFrame;
    for (int s = 1; s <= MaxShips; ++s) {
        TShip& ship = world.Ships[s];
        if (!ship.Appearing || ship.AppearFrame < AppearFrames) continue;
        ship.Exploding = 0;
        ship.Dead = 0;
        ship.ExplosionTimer = 0;
        ship.AwaitingRespawn = 0;
        ship.Appearing = 0;
        ship.AppearFrame = 0;
        // Score, reloads and a running shield knock-out carry over into the new life.
        ship.Shields = ship.MaxShields;
        ship.Hull = ship.MaxHull;
        ship.TurnRate = 0;
        ship.Speed = 0;
        ship.Target = static_cast<uint8_t>(FindNearestShip(world, s));
    }
}

void UpdateDestruction(Arena& arena) {
    StartDestruction(arena.world);
    RunExplosionClocks(arena);
    EndExplosions(arena.world);
    CountDownRespawns(arena.world);
    ComeBack(arena.world);
    AdvanceReEntries(arena.world);
}

}  // namespace kelvane
