#pragma once
// Command line of kelvane-sim.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "combat/Pilot.h"

namespace kelvane::sim {

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
    std::string Language = "original";  // the texts' language in shots (dumps never hold any)
    int Seat = 0;            // with --replay: whose view the shots show (network games)

    // Network play (NetGame.h): host on [ADDR:]PORT for Players, or join HOST:PORT.
    std::string Host;
    int Players = 0;
    std::string Join;
    std::string Name;
    uint32_t NetDelayMs = 0;
    uint32_t NetJitterMs = 0;
    double NetLossPercent = 0;
    bool Network() const { return !Host.empty() || !Join.empty(); }
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

// The options, or a failure (BadInput) naming what is wrong.
Result<SimOptions> ParseSimOptions(const std::vector<std::string>& arguments);

// --help or -h anywhere: the usage on standard output, whatever else is given.
bool AsksForHelp(const std::vector<std::string>& arguments);

// The usage text, for --help.
extern const char* const SimUsage;

// A wrong command line: one line on standard error, what is wrong and where the usage is
// (twenty lines of usage would push the reason out of a terminal's or a job log's view);
// its status.
ExitStatus ReportUsageFailure(const Failure& failure);

}  // namespace kelvane::sim
