#pragma once
// The player's settings, remembered between games in settings.ini of the config folder:
//
//   [Settings]
//   Fullscreen=1
//   WindowWidth=1024
//   WindowHeight=768
//   Volume=100
//   Pilot=classic
//
// Fullscreen 0 or 1; the window's size in windowed mode; Volume 0..100; Pilot the pilot
// of the computer's ships, classic or veteran. A missing key keeps its default.
// Read once at start with the game's own INI reader; written whenever the player changes
// one (full screen switched, the window resized).

#include <string>

#include "combat/Pilot.h"

namespace kelvane {

struct Settings {
    bool Fullscreen = true;
    int WindowWidth = 1024;
    int WindowHeight = 768;
    int Volume = 100;
    kelvane::Pilot Pilot = kelvane::Pilot::Classic;
    bool operator==(const Settings&) const = default;
};

// Window sides the settings accept; anything else counts as damage.
constexpr int MinWindowSide = 320;
constexpr int MaxWindowSide = 16384;

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
// Writes the file whole (through a temporary file, so a crash never leaves half of it),
// making its folder. Returns an empty string, or why it could not.
std::string SaveSettings(const std::string& path, const Settings& settings);

}  // namespace kelvane
