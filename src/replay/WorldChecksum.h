#pragma once
// One 64-bit value for everything the game's rules read or write: the three tables
// (slot 0 included), the globals, the key and mouse tables, the console log and input
// line, and the random generator's state. Every field goes in at a fixed width and in
// a fixed byte order, never as raw struct bytes (padding), so every build of the game
// on every machine gives the same value for the same world.

#include <cstdint>

#include "world/World.h"

namespace kelvane {

uint64_t WorldChecksum(const World& world);

}  // namespace kelvane
