#pragma once
// The player's settings: one structure, read from and written to settings.ini (the file
// itself is the program's business, app/SettingsFile), handed to the desktop that shows
// the game, which changes the window's settings as the player does.

#include <string>
#include <vector>

#include "combat/Pilot.h"

namespace kelvane {

// One line of settings.ini's [Keys] as the player wrote it: an action's name and the
// name of a key as SDL names keys ("Thrust=W", "FirePrimary=Left Ctrl"). Whether the
// names mean anything is decided where the keys are known (the desktop); the line is
// kept as written, so saving the settings never loses what the player typed.
struct KeyBinding {
    std::string Action;
    std::string Key;
    int Line = 0;  // in the file it came from; 0 when it came from no file
    bool operator==(const KeyBinding& other) const { return Action == other.Action && Key == other.Key; }
};

// The UDP port a network game is hosted on and joined at when none is named.
constexpr int DefaultNetworkPort = 26524;

struct Settings {
    bool Fullscreen = true;
    int WindowWidth = 1024;  // the window's size in windowed mode
    int WindowHeight = 768;
    int Volume = 100;        // 0..100
    kelvane::Pilot Pilot = kelvane::Pilot::Classic;  // who flies the computer's ships
    std::vector<KeyBinding> Keys;
    std::string Language = "original";  // the texts' language: "original" or a catalogue's ("en")
    std::string PlayerName{};  // the name others see in a network game; empty: the login name
    int Port = DefaultNetworkPort;  // of network games
    bool operator==(const Settings&) const = default;
};

// Window sides the settings accept; anything else counts as damage.
constexpr int MinWindowSide = 320;
constexpr int MaxWindowSide = 16384;

}  // namespace kelvane
