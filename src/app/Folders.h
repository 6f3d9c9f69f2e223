#pragma once
// Where the game reads and writes outside its own data: the XDG base folders of the
// player's home, resolved once at start from the environment. Game code below the app
// never reads the environment; it gets these folders handed in.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/PlayerFolders.h"

namespace kelvane {

// Looks up one environment variable; nothing when it is unset. Tests pass their own.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;
EnvironmentLookup ProcessEnvironment();

// The game's own subfolder of each XDG base folder, every path ending in '/'. A variable
// that is unset, empty or not absolute falls back to its default under $HOME, as the XDG
// base directory rules say; without HOME the folder is empty (nothing can be kept there).
struct UserFolders {
    std::string Cache;   // $XDG_CACHE_HOME/kelvane/   (default ~/.cache/kelvane/)
    std::string Data;    // $XDG_DATA_HOME/kelvane/    (default ~/.local/share/kelvane/)
    std::string Config;  // $XDG_CONFIG_HOME/kelvane/  (default ~/.config/kelvane/)
    std::string State;   // $XDG_STATE_HOME/kelvane/   (default ~/.local/state/kelvane/)
};
UserFolders ResolveUserFolders(const EnvironmentLookup& environment);
// The part of them the game itself is handed: the player's data folder and the cache.
PlayerFolders ResolvePlayerFolders(const EnvironmentLookup& environment);

// The player's pictures folder, ending in '/': $XDG_PICTURES_DIR, else what
// `xdg-user-dir PICTURES` says (through `askUserDir`, which may be empty), else ~/Pictures.
// Empty without HOME.
using UserDirQuery = std::function<std::optional<std::string>(const std::string& kind)>;
std::string ResolvePicturesFolder(const EnvironmentLookup& environment, const UserDirQuery& askUserDir);
// Runs `xdg-user-dir KIND`; nothing when it is missing, fails or answers with no path.
std::optional<std::string> AskXdgUserDir(const std::string& kind);

// Where the game's Data/ and Scripts/ are, first match wins: the --data folder (taken as
// given); the executable's own folder when it holds Data/ (the build folder, a portable
// copy); ../share/kelvane/ beside the executable's folder when that holds Data/ (an
// installed game). Shared by kelvane and kelvane-sim, so both find the same data.
struct GameDataSearch {
    std::string GameDir;                // the folder found, ending in '/'; empty: none
    std::vector<std::string> LookedAt;  // every place tried, in order
};
GameDataSearch FindGameData(const std::optional<std::string>& dataOption, const std::string& executableDir);
// The message when nothing was found, naming the places looked at.
std::string GameDataNotFound(const GameDataSearch& search);

}  // namespace kelvane
