#pragma once
// The options of the game executable `kelvane`.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "combat/Pilot.h"

namespace kelvane {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct GameOptions {
    bool Help = false;
    bool Version = false;
    bool Check = false;                  // --check: check the data and exit, no window
    std::optional<bool> Fullscreen;  // --fullscreen / --windowed; unset: the saved setting
    std::optional<std::string> DataDir;  // --data DIR: the folder holding Data/ and Scripts/
    std::optional<uint32_t> Seed;        // --seed N: the same seed as kelvane-sim --seed
    std::optional<std::string> ReplayFile;  // --replay FILE: watch a recording instead of playing
    bool Force = false;                     // --force: watch a recording made with other data
    std::optional<kelvane::Pilot> Pilot;    // --pilot NAME: who flies the computer's ships; unset: the setting
};

// Throws UsageError naming the option that is wrong.
GameOptions ParseGameOptions(const std::vector<std::string>& arguments);

// The usage text, for --help (stdout) and for a wrong option (stderr).
extern const char* const GameUsage;

}  // namespace kelvane
