#include "TournamentOptions.h"

#include <algorithm>
#include <optional>

#include "SimOptions.h"
#include "base/FailureReport.h"

namespace kelvane::sim {
namespace {

constexpr int MaxGames = 1000000;
constexpr uint64_t MaxTicks = 1000000000;
constexpr unsigned MaxJobs = 4096;
constexpr int MaxShards = 1000000;

bool Contains(const std::vector<std::string>& arguments, const char* option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
}

template <class T>
T ParseInRange(const std::string& text, const std::string& option, T low, T high) {
    const T value = ParseNumber<T>(text, option);
    if (value < low || value > high)
        throw UsageError(option + " must lie within " + std::to_string(low) + ".." + std::to_string(high));
    return value;
}

// Names separated by commas; blanks inside a name stay, as the console reads them.
std::vector<std::string> SplitNames(const std::string& text, const std::string& option) {
    std::vector<std::string> names;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (name.empty()) throw UsageError(option + " needs names separated by commas, not '" + text + "'");
        names.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return names;
}

std::vector<Pilot> ParsePilots(const std::string& text) {
    std::vector<Pilot> pilots;
    for (const std::string& name : SplitNames(text, "--pilots")) {
        const std::optional<Pilot> pilot = FindPilot(name);
        if (!pilot) throw UsageError("--pilots: no pilot is called '" + name + "' (there are " + PilotChoices() + ")");
        if (std::find(pilots.begin(), pilots.end(), *pilot) != pilots.end())
            throw UsageError("--pilots names " + name + " twice");
        pilots.push_back(*pilot);
    }
    if (pilots.size() > 2) throw UsageError("--pilots takes one pilot, or two to play against each other");
    return pilots;
}

}  // namespace

std::vector<Seating> Seatings(const std::vector<Pilot>& pilots) {
    if (pilots.size() >= 2) return {Seating{pilots[0], pilots[1]}, Seating{pilots[1], pilots[0]}};
    const Pilot everyone = pilots.empty() ? Pilot::Classic : pilots[0];
    return {Seating{everyone, everyone}};
}

bool AsksForTournament(const std::vector<std::string>& arguments) { return Contains(arguments, "--tournament"); }
bool AsksForMerge(const std::vector<std::string>& arguments) { return Contains(arguments, "--merge"); }

ShardSpec ParseShard(const std::string& text) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos) throw UsageError("--shard needs I/N, not '" + text + "'");
    ShardSpec shard;
    shard.Count = ParseInRange<int>(text.substr(slash + 1), "--shard count", 1, MaxShards);
    shard.Index = ParseInRange<int>(text.substr(0, slash), "--shard part", 1, shard.Count);
    return shard;
}

namespace {

TournamentOptions ReadTournamentOptions(const std::vector<std::string>& arguments) {
    TournamentOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--tournament") continue;
        if (option == "--data") options.DataDir = value();
        else if (option == "--ships") options.Ships = SplitNames(value(), "--ships");
        else if (option == "--pilots") options.Pilots = ParsePilots(value());
        else if (option == "--no-scatter") options.Scatter = false;
        else if (option == "--measure") options.Measure = true;
        else if (option == "--games") options.Games = ParseInRange<int>(value(), "--games", 1, MaxGames);
        else if (option == "--ticks") options.Ticks = ParseInRange<uint64_t>(value(), "--ticks", 1, MaxTicks);
        else if (option == "--seed") options.Seed = ParseNumber<uint32_t>(value(), "--seed");
        else if (option == "--jobs") options.Jobs = ParseInRange<unsigned>(value(), "--jobs", 1, MaxJobs);
        else if (option == "--shard") options.Shard = ParseShard(value());
        else if (option == "--json") options.JsonFile = value();
        else if (option == "--record-duels") options.RecordDuelsDir = value();
        else throw UsageError("unknown option '" + option + "' for a tournament");
    }
    if (options.Ships.size() == 1) throw UsageError("--ships needs at least two ship types");
    // A part that nobody can merge is wasted work.
    if (!options.Shard.Whole() && options.JsonFile.empty()) throw UsageError("--shard needs --json FILE");
    return options;
}

MergeOptions ReadMergeOptions(const std::vector<std::string>& arguments) {
    MergeOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--merge") continue;
        if (argument == "--json") {
            if (i + 1 >= arguments.size()) throw UsageError("--json needs a value");
            options.JsonFile = arguments[++i];
        } else if (argument.starts_with("--")) {
            throw UsageError("unknown option '" + argument + "' for a merge");
        } else {
            options.Files.push_back(argument);
        }
    }
    if (options.Files.empty()) throw UsageError("--merge needs the parts' JSON files");
    return options;
}

}  // namespace

Result<TournamentOptions> ParseTournamentOptions(const std::vector<std::string>& arguments) {
    return Catching<UsageError>(ExitStatus::BadInput, [&] { return ReadTournamentOptions(arguments); });
}

Result<MergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments) {
    return Catching<UsageError>(ExitStatus::BadInput, [&] { return ReadMergeOptions(arguments); });
}

}  // namespace kelvane::sim
