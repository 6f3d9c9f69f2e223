#pragma once
// Where a picture looks into the field: the world point at the screen's top-left corner.
// Drawing is handed a view and reads the world, so one world can be drawn from any view:
// the game's own, a watcher's, each player's.

#include <cstdint>

#include "world/World.h"

namespace kelvane {

struct View {
    int32_t X = 0;
    int32_t Y = 0;
};

// The view the game's rules keep: centred on the player's ship where the edges allow.
inline View OwnView(const World& world) { return {world.ViewX, world.ViewY}; }

}  // namespace kelvane
