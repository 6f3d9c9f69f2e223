#include "combat/Destruction.h"

#include <array>
#include <string>

#include "combat/Geometry.h"
#include "world/ArchiveItems.h"
#include "world/ConsoleMessages.h"

namespace kelvane {

namespace {

// Sound of explosion parts 1..4.
constexpr std::array<int32_t, 4> PartSounds{Sfx::ExplosionPart1, Sfx::ExplosionPart2, Sfx::ExplosionPart3,
                                            Sfx::ExplosionPart4};

// Both ends of a ship's death leave it standing still with every clock of the
// destruction at its start: `wrecked` as it begins, whole again as the re-entry ends.
void StopAndResetClocks(TShip& ship, bool wrecked) {
    ship.Exploding = wrecked ? 1 : 0;
    ship.Dead = wrecked ? 1 : 0;
    ship.ExplosionTimer = 0;
    ship.AwaitingRespawn = 0;
    ship.Appearing = 0;
    ship.AppearFrame = 0;
    ship.TurnRate = 0;
    ship.Speed = 0;
}

}  // namespace

void StartDestruction(World& world) {
    for (TShip& ship : world.Ships) {
        if (ship.Hull > 0 || ship.Exploding || ship.AwaitingRespawn || ship.Appearing) continue;
        // The wreck stays where it is.
        StopAndResetClocks(ship, true);
    }
}

void RunExplosionClocks(Arena& arena) {
    for (TShip& ship : arena.World.Ships) {
        // A ship taken out of play keeps its clock where it stopped.
        if (!ship.Exploding || !ship.InPlay) continue;
        ++ship.ExplosionTimer;
        for (int n = 1; n <= 4; ++n) {
            const TExplosionPart& part = ship.ExplosionParts[n];
            if (part.Enabled && ship.ExplosionTimer == part.Delay) arena.Play(PartSounds[n - 1]);
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
        AddConsoleMessage(world, s == world.ControlledShip ? ConsoleMessage::OwnShipDestroyed : ConsoleMessage::ShipDestroyed,
                          {ship.ShipName});
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
        PlaceAtRandom(world, ship);
    }
}

void AdvanceReEntries(World& world) {
    for (TShip& ship : world.Ships)
        if (ship.Appearing && ship.AppearFrame < AppearFrames) ++ship.AppearFrame;
    for (int s = 1; s <= MaxShips; ++s) {
        TShip& ship = world.Ships[s];
        if (!ship.Appearing || ship.AppearFrame < AppearFrames) continue;
        StopAndResetClocks(ship, false);
        // Score, reloads and a running shield knock-out carry over into the new life.
        ship.Shields = ship.MaxShields;
        ship.Hull = ship.MaxHull;
        ship.Target = static_cast<uint8_t>(FindNearestShip(world, s));
    }
}

}  // namespace kelvane
