#pragma once
// The player's single-key commands on the controlled ship: targets, triggers,
// self-destruct, shields and the range ring. Steering and pause live elsewhere.

#include "combat/Arena.h"

namespace kelvane {

// Acts on every key active this frame, in a fixed order. Nothing happens while the
// console is open, before the first ship exists, or while the player's ship is destroyed.
void PlayerControls(Arena& arena);

}  // namespace kelvane
