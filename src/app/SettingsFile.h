#pragma once
// The player's settings, remembered between games in settings.ini of the config folder:
//
//   [Settings]
//   Fullscreen=1
//   WindowWidth=1024
//   WindowHeight=768
//   Volume=100
//   Pilot=classic
//   PlayerName=Ann
//   Port=26524
//
//   [Keys]
//   Thrust=W
//   FirePrimary=Space
//
// Pilot names who flies the computer's ships: classic or veteran. PlayerName is the name
// others see in a network game (empty: the login name), Port the UDP port of network
// games (hosted on, and joined at when --join names none).
// Every key of [Settings] is one row of a table that both reads and writes it; a missing
// key keeps its default, and a value that is no good makes the file damaged: it is then
// ignored whole. [Keys] lines are kept as written; the desktop says which of them it
// cannot use, line by line, and the rest of the settings stand.
// Read once at start with the game's own INI reader; written whenever the player changes
// one (full screen switched, the window resized).

#include <string>

#include "base/Result.h"
#include "game/Settings.h"

namespace kelvane {

struct LoadedSettings {
    Settings Values;
    // Empty when the file was fine or missing; otherwise one line saying what was wrong
    // with it (the values are then the defaults: a damaged file is ignored whole).
    std::string Problem;
};

// The text of settings.ini, parsed. `source` names the file in the problem line.
LoadedSettings ParseSettings(const std::string& text, const std::string& source);
// Reads the file; a missing file is no problem, an unreadable or damaged one is.
LoadedSettings LoadSettings(const std::string& path);

std::string FormatSettings(const Settings& settings);
// Writes the file whole or not at all (FileWriter: a crash or a full disk never leaves
// half of it), making its folder; a failure says why.
Result<void> SaveSettings(const std::string& path, const Settings& settings);

}  // namespace kelvane
