#pragma once
// What a pilot can do to its ship in a frame: the steering actions, the nearest target
// and the three triggers. The player's keys reach the ship through these rules (as the
// actions of game/PlayerActions' table), and so do the veteran computer pilot's choices:
// it can do exactly what a player can, no more.

#include "combat/Arena.h"
#include "combat/PlayerAction.h"
#include "world/World.h"

namespace kelvane {

// Thrust from standstill jumps straight to this speed (pixels a frame), whatever the
// ship's top speed; only then does thrust add to it up to MaxSpeed.
constexpr double StartSpeed = 4.0;
constexpr double SpeedStep = 0.5;      // thrust and brake change per frame
constexpr double BrakeCutOff = 4.5;    // braking below this stops the ship at once
constexpr double TurnStep = 0.75;      // turn-rate change per frame while a turn key is held
constexpr double TurnLimitTest = 2.0;  // stepped only up to this size, so the top rate is 2.25
constexpr double TurnDecay = 0.005;    // per-frame return toward 0 once the key is let go
constexpr double TopTurnRate = 3 * TurnStep;  // 0.75, 1.5, 2.25: stepped no further above 2.0


// The steering actions on a ship's turn rate and speed.
void Steer(TShip& ship, const HeldActions& controls);
// The nearest target, then the three triggers, each only at a target not destroyed;
// the primary trigger also only within beam range.
void UseTargetAndTriggers(Arena& arena, int s, const HeldActions& controls);
// Steering, then the target and the triggers: a whole frame's keys.
void ApplyControls(Arena& arena, int s, const HeldActions& controls);

}  // namespace kelvane
