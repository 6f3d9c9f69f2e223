#pragma once
// The game on a real machine: the desktop opened (an SDL window, full screen or a window,
// showing the 1024 x 768 back surface scaled with its aspect kept; SDL sound; the
// player's keys), and a session run in it on the 40 ms frame timer driven by the event
// loop.

#include "game/GameSession.h"
#include "platform/sdl/SdlDesktop.h"

namespace kelvane {

// Runs the session until the window closes. Returns the process exit code: 0 after a
// normal end, 1 when the game cannot start (the reason is printed on stderr).
int RunSdlGame(const SdlGameOptions& options, GameSession& session);

}  // namespace kelvane
