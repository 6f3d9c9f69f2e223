#pragma once
// One kelvane-sim run with state dumps after chosen ticks, read back by tick number.

#include <cstdint>
#include <filesystem>
#include <map>
#include "JsonText.h"
#include <string>
#include <vector>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {

struct DumpSeries {
    SimResult Run;
    std::map<uint64_t, nlohmann::json> At;  // tick -> dump; ticks the run never reached are missing

    bool Has(uint64_t tick) const { return At.count(tick) != 0; }
    const nlohmann::json& operator[](uint64_t tick) const { return At.at(tick); }
    // Slot s (1-based) of the ship table in the dump after `tick`.
    const nlohmann::json& Ship(uint64_t tick, int s) const { return At.at(tick)["Ships"][s - 1]; }
    const nlohmann::json& Projectile(uint64_t tick, int p) const { return At.at(tick)["Projectiles"][p - 1]; }
    const nlohmann::json& Beam(uint64_t tick, int b) const { return At.at(tick)["Beams"][b - 1]; }
};

// Runs the scenario on the game directory with a dump after every tick in `ticks`.
inline DumpSeries RunWithDumps(const TempGameDir& dir, const std::string& scenario,
                               const std::vector<uint64_t>& ticks,
                               const std::vector<std::string>& extra = {}) {
    const auto file = [&](uint64_t tick) {
        return (dir.Root() / ("dump-" + std::to_string(tick) + ".json")).string();
    };
    std::vector<std::string> arguments = {"--data", dir.Path(), "--scenario", scenario};
    for (uint64_t tick : ticks) {
        std::filesystem::remove(file(tick));  // a dump the run does not reach must not be an old one
        arguments.push_back("--dump");
        arguments.push_back(std::to_string(tick) + ":" + file(tick));
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    DumpSeries series;
    series.Run = RunSim(arguments, dir.Root().string());
    for (uint64_t tick : ticks) {
        const std::string text = ReadText(file(tick));
        if (!text.empty()) series.At[tick] = ParseJson(text);
    }
    return series;
}

inline std::vector<uint64_t> TickRange(uint64_t first, uint64_t last) {
    std::vector<uint64_t> ticks;
    for (uint64_t tick = first; tick <= last; ++tick) ticks.push_back(tick);
    return ticks;
}

}  // namespace kelvane::testing
