#pragma once
// One 64-bit value for everything the game's rules read or write: every field of the
// world's description (world/WorldFields.h) in its order, the tables slot by slot with
// slot 0 included, the key table by its own hash. Every field goes in at a fixed width
// and in a fixed byte order, never as raw struct bytes (padding), so every build of the
// game on every machine gives the same value for the same world. The committed
// recordings hold such values: the layout of a field already described never changes.

#include <cstdint>

#include "world/World.h"

namespace kelvane {

uint64_t WorldChecksum(const World& world);

}  // namespace kelvane
