#pragma once
// The computer's ships: each one turns back from the world's edges, steers at its target
// in a few angle bands, takes the nearest ship when its target is gone or out of reach,
// and pulls its triggers.

#include <cstdint>

#include "combat/Arena.h"
#include "world/World.h"

namespace kelvane {

constexpr double ComputerSpeed = 6.0;
constexpr int32_t TrackingRange = 1164;

// Ship s's target lies closer than 1164 pixels.
bool InTrackingRange(const World& world, int s);
// One frame of the computer's play for ship s.
void DoAIMove(Arena& arena, int s);
// Every ship in play but the player's takes its turn, in slot order, each flown by the
// pilot seated in it (the arena's pilots): the classic pilot above, or the veteran.
void MoveComputerShips(Arena& arena);

}  // namespace kelvane
