#pragma once
// The runner's folders are the game's: the data found as the game finds it (--data, beside
// the runner, or installed) and the player's own folders, so an installed runner reads the
// installed data and the player's own ships and scripts.

#include <string>

#include "base/Result.h"
#include "game/PlayerFolders.h"

namespace kelvane::sim {

struct SimFolders {
    std::string GameDir;  // holds Data/ and Scripts/, ending in '/'
    PlayerFolders Player;
};

// dataDir: the --data option, empty when not given. Without data, a failure saying where
// it looked (the game cannot start).
Result<SimFolders> FindSimFolders(const std::string& dataDir);

}  // namespace kelvane::sim
