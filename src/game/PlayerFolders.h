#pragma once
// The player's own folders, resolved by the program around the game (which never reads
// the environment itself).

#include <string>

namespace kelvane {

// Each ends in '/'; an empty one is not used.
struct PlayerFolders {
    std::string Data;   // $XDG_DATA_HOME/kelvane/: the player's own Ships/ and Scripts/
    std::string Cache;  // $XDG_CACHE_HOME/kelvane/: Ships.dxg when the data folder is read-only
};

}  // namespace kelvane
