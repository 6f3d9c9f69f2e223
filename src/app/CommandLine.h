#pragma once
// The options of the game executable `kelvane`.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "combat/Pilot.h"

namespace kelvane {

struct GameOptions {
    bool Help = false;
    bool Version = false;
    bool Check = false;                  // --check: check the data and exit, no window
    std::optional<bool> Fullscreen;  // --fullscreen / --windowed; unset: the saved setting
    std::optional<std::string> DataDir;  // --data DIR: the folder holding Data/ and Scripts/
    std::optional<uint32_t> Seed;        // --seed N: the same seed as kelvane-sim --seed
    std::optional<std::string> ReplayFile;  // --replay FILE: watch a recording instead of playing
    bool Force = false;                     // --force: watch a recording made with other data
    std::optional<std::string> Language;    // --language LANG: the texts' language for this game
    std::optional<kelvane::Pilot> Pilot;    // --pilot NAME: who flies the computer's ships; unset: the setting
    // --host [PORT]: a network game others join (the port 0 when none is given: Port= of
    // settings.ini); --join HOST[:PORT]: join one; --name NAME: this player's name in it.
    std::optional<uint16_t> Host;
    std::optional<std::string> Join;
    std::optional<std::string> Name;
};

// The options, or a failure (BadInput) naming the option that is wrong.
Result<GameOptions> ParseGameOptions(const std::vector<std::string>& arguments);

// The usage text, for --help (stdout) and for a wrong option (stderr).
extern const char* const GameUsage;

}  // namespace kelvane
