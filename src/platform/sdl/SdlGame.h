#pragma once
// The game on a real machine: an SDL window, full screen or a window, showing the 1024 x
// 768 back surface scaled with its aspect kept; the 40 ms frame timer driven by the event
// loop; keys, pads and mouse handed to the form between ticks; SDL sound.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/PlayerFolders.h"
#include "base/ExitStatus.h"
#include "game/GameSession.h"

namespace kelvane {

struct SdlGameOptions {
    std::string GameDir;           // holds Data/ and Scripts/, ending in '/'
    PlayerFolders Folders;         // the player's own ships and scripts, the cache
    std::optional<uint32_t> Seed;  // a fixed seed instead of the clock (tests, bug reports)
    bool Fullscreen = true;
    int WindowWidth = 1024;        // the window's size in windowed mode
    int WindowHeight = 768;
    int Volume = 100;              // 0..100
    std::string PicturesFolder;    // screenshots go into its Kelvane/ subfolder; ends in '/'
    // Told when the player changes the window: F11 (full screen or not), or a resize of
    // the window in windowed mode.
    std::function<void(bool fullscreen, int windowWidth, int windowHeight)> WindowChanged;
    // What the ticks drive (the game recorded, a recording watched); none: the game as
    // it is, unrecorded. The session's services take precedence over Seed.
    GameSession* Session = nullptr;
};

// Runs the game until its window closes: Success after a normal end, Failure when the
// game cannot start (the reason is printed on stderr, with the file at fault).
ExitStatus RunSdlGame(const SdlGameOptions& options);

}  // namespace kelvane
