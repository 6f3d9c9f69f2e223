#pragma once
// The game on a real machine: an SDL window at full-screen-desktop size showing the
// 1024 x 768 back surface scaled with its aspect kept, the 40 ms frame timer driven by
// the event loop, keys and mouse handed to the form between ticks, and SDL sound.

#include <string>

#include "game/PlayerFolders.h"

namespace kelvane {

// Runs the game until its window closes. Returns the process exit code: 0 after a
// normal end, 1 when the game cannot start (the reason is printed on stderr).
int RunSdlGame(const std::string& gameDir, const PlayerFolders& folders);

}  // namespace kelvane
