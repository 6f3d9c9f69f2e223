#pragma once
// Command line of kelvane-sim.

#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "combat/Pilot.h"

namespace kelvane::sim {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A tick number, or "after the last tick".
struct TickOutput {
    std::optional<uint64_t> Tick;  // empty: last
    std::string File;              // "-" for standard output (dumps only)
};

struct SimOptions {
    std::string DataDir;  // empty: found as the game finds it (beside the runner, or installed)
    std::optional<uint32_t> Seed;
    std::optional<uint64_t> Frames;
    std::string ScenarioFile;
    std::vector<TickOutput> Dumps;
    std::vector<TickOutput> Shots;
    bool Timing = false;
    std::string RecordFile;  // records the run
    std::string ReplayFile;  // plays a recording instead of a scenario
    bool Verify = false;     // compares the recording's checksums
    bool Force = false;      // plays a recording made with other data
    std::optional<kelvane::Pilot> Pilot;  // who flies the computer's ships; unset: classic
};

// A whole number of type T, all of `text`; UsageError naming `what` otherwise.
template <class T>
T ParseNumber(const std::string& text, const std::string& what) {
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw UsageError(what + " needs a whole number, not '" + text + "'");
    }
    return value;
}

// Throws UsageError naming what is wrong.
SimOptions ParseSimOptions(const std::vector<std::string>& arguments);

extern const char* const kSimUsage;

}  // namespace kelvane::sim
