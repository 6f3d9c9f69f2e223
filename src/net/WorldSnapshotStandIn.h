#pragma once
// The world saved and put back for rollback, under the names the world's own snapshot
// will have; until then, the whole world copied. Network play calls only these.

#include "world/World.h"

namespace kelvane::net {

struct WorldSnapshot {
    World Saved;
};

inline void SaveWorld(const World& world, WorldSnapshot& snapshot) { snapshot.Saved = world; }
inline void RestoreWorld(World& world, const WorldSnapshot& snapshot) { world = snapshot.Saved; }

}  // namespace kelvane::net
