#pragma once
// The runner's folders are the game's: the data found as the game finds it (--data, beside
// the runner, or installed) and the player's own folders, so an installed runner reads the
// installed data and the player's own ships and scripts.

#include <stdexcept>
#include <string>

#include "game/PlayerFolders.h"

namespace kelvane::sim {

struct SimFolders {
    std::string GameDir;  // holds Data/ and Scripts/, ending in '/'
    PlayerFolders Player;
};

class NoGameData : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// dataDir: the --data option, empty when not given. Throws NoGameData saying where it looked.
SimFolders FindSimFolders(const std::string& dataDir);

}  // namespace kelvane::sim
