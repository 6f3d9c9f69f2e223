#pragma once
// What every frame does after its picture is shown: the world moves on by one step
// (unless paused), then the input tables are aged and the keys are acted on. This is the
// one list of those steps, in their order; the game, the headless runner and everything
// that replays a game run it.

#include <string>
#include <vector>

#include "combat/Arena.h"
#include "console/Commands.h"

namespace kelvane {

// When `recordedSteps` is given, the name of every step is appended as it runs (the frame
// order's tests read it); the steps themselves are the same either way.
void FrameUpdate(Arena& arena, ConsoleContext& console, std::vector<std::string>* recordedSteps = nullptr);

}  // namespace kelvane
