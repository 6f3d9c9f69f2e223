#pragma once
// kelvane-sim in a network game: it hosts (--host [ADDR:]PORT --players N) or joins
// (--join HOST:PORT), plays its own scenario's steps as its person's inputs, and runs in
// game time through the link conditioner (--net-delay, --net-jitter, --net-loss), as fast
// as the others' inputs allow. Dumps show the world after confirmed frames; --record
// records the game as every machine records it.

#include "SimOptions.h"

namespace kelvane::sim {

// The exit status: 0, 1 (cannot start, refused, out of step, the others gone wrong),
// 2 (a bad scenario), 3 (a dump or the recording cannot be written).
ExitStatus RunNetGame(const SimOptions& options);

}  // namespace kelvane::sim
