#pragma once
// A ship whose hull is gone stops, plays its scripted explosion, vanishes, waits and comes
// back at a random place with full shields and hull. One call of each step per unpaused
// frame, in the order of this file.

#include <cstdint>

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

constexpr int32_t ExplosionLength = 25;      // the explosion ends when its clock passes this
constexpr int32_t RespawnWait = 179;         // RespawnTimer at the end of the explosion
constexpr int32_t AppearFrames = 15;         // re-entry animation frames

// Hull at 0 or below starts the explosion, for every slot, in play or not.
void StartDestruction(World& world);
// Explosion clocks of ships in play, and the sound of each part as it starts.
void RunExplosionClocks(Arena& arena);
// Explosions that have run their course: the ship vanishes and a console line says so.
void EndExplosions(World& world);
// Respawn countdown of the vanished ships.
void CountDownRespawns(World& world);
// Ships whose wait is over start re-entering at a random place and heading.
void ComeBack(World& world);
// The re-entry clock, then ships whose re-entry is complete are back in the fight.
void AdvanceReEntries(World& world);

}  // namespace kelvane
