#pragma once
// The whole world saved into a buffer and restored from it exactly: every field of the
// world's description (world/WorldFields.h), slot 0 of every table, the key table, the
// mouse buttons, the console log, the input line and the random generator's state. For
// rolling a game back: a restored world run on gives the frames the saved one gave.
//
//   WorldSnapshot snapshot;         // kept: saving again reuses its buffer
//   SaveWorld(world, snapshot);
//   ...                             // frames
//   RestoreWorld(world, snapshot);  // the world as it was saved, in every field
//
// The bytes are this process's own (its byte order, its type sizes): a snapshot is
// restored in the program that took it, never written to a file or sent. Whether two
// worlds are the same is WorldChecksum's question.

#include <cstddef>
#include <vector>

#include "world/World.h"

namespace kelvane {

struct WorldSnapshot {
    // The fields end to end. It grows to the largest world saved into it and never
    // shrinks, so saving again allocates nothing; restoring allocates only where a text
    // or the log is longer than the one it replaces.
    std::vector<unsigned char> Bytes;
    size_t Size = 0;  // the bytes of the last save; 0 while nothing is saved
};

void SaveWorld(const World& world, WorldSnapshot& into);
// Throws std::logic_error for a snapshot into which nothing was saved.
void RestoreWorld(World& world, const WorldSnapshot& from);

}  // namespace kelvane
