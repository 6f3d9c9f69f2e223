#include "SimOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "base/FailureReport.h"
#include "text/Language.h"

namespace kelvane::sim {

const char* const SimUsage =
    "usage: kelvane-sim [--data DIR] [--seed N] [--frames N] [--scenario FILE]\n"
    "                   [--dump K:FILE]... [--shot K:FILE]... [--timing] [--record FILE]\n"
    "                   [--language LANG] [--pilot classic|veteran]\n"
    "       kelvane-sim --replay FILE [--verify] [--force] [--seat N] [--data DIR]\n"
    "                   [--dump K:FILE]... [--shot K:FILE]... [--timing] [--language LANG]\n"
    "       kelvane-sim --host [ADDR:]PORT --players N | --join HOST:PORT [--name NAME]\n"
    "                   [--net-delay MS] [--net-jitter MS] [--net-loss PERCENT]\n"
    "                   [--data DIR] [--seed N] [--frames N] [--scenario FILE]\n"
    "                   [--dump K:FILE]... [--record FILE]\n"
    "       kelvane-sim --tournament [--data DIR] [--ships A,B,...] [--games N] [--ticks T]\n"
    "                   [--seed S] [--jobs J] [--shard I/N] [--json FILE]\n"
    "                   [--record-duels DIR] [--pilots P[,Q]] [--no-scatter] [--measure]\n"
    "       kelvane-sim --merge PART.json... [--json FILE]\n"
    "       kelvane-sim --help\n"
    "  K is a tick number or 'last'; a dump FILE of '-' is standard output. LANG is the\n"
    "  language of the texts in shots: original (the default) or en.\n"
    "  A tournament's duels: N per pair of ship types (default 20), at most T frames each\n"
    "  (default 15000), on J threads (default: all cores); --shard runs part I of N; a\n"
    "  --json FILE of '-' is standard output; --record-duels writes every duel into DIR as\n"
    "  a recording (NAME-NAME-GAME.replay) to watch with kelvane --replay.\n"
    "  --pilot: who flies the computer's ships (default classic). --pilots: one pilot flies\n"
    "  both ships of every duel, or two play each pair both ways round; --no-scatter leaves\n"
    "  stalemates alone; --measure counts shots, hits and quiet stretches.\n"
    "  A network game: N players (2 to 8) in all, each peer with its own scenario for its\n"
    "  own player; the delay, jitter and loss condition this peer's own traffic.\n"
    "  Exit status: 0 done; 1 the game cannot start, a replay diverges or was made with\n"
    "  other data, a tournament stopped; 2 bad arguments, a bad scenario, a file that is\n"
    "  no recording or a damaged one, parts that cannot be merged; 3 an output cannot be\n"
    "  written; 4 a cut recording verified up to its end.\n";

namespace {

TickOutput ParseTickOutput(const std::string& text, const std::string& option) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) {
        throw UsageError(option + " needs K:FILE, not '" + text + "'");
    }
    TickOutput output;
    const std::string tick = text.substr(0, colon);
    if (tick != "last") output.Tick = ParseNumber<uint64_t>(tick, option + " tick");
    output.File = text.substr(colon + 1);
    return output;
}

double ParsePercent(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= 100))
        throw UsageError("--net-loss needs a percentage from 0 to 100, not '" + text + "'");
    return value;
}

void CheckNetworkOptions(const SimOptions& options) {
    const bool conditioned = options.NetDelayMs || options.NetJitterMs || options.NetLossPercent > 0;
    if (!options.Network()) {
        if (options.Players || !options.Name.empty() || conditioned)
            throw UsageError("--players, --name and --net-* go with --host or --join");
        if (options.Seat != 0 && options.ReplayFile.empty()) throw UsageError("--seat goes with --replay");
        if (options.Seat < 0 || options.Seat > 8) throw UsageError("--seat needs a seat from 1 to 8");
        return;
    }
    if (!options.Host.empty() && !options.Join.empty()) throw UsageError("--host and --join exclude each other");
    if (!options.ReplayFile.empty()) throw UsageError("--replay plays alone: no --host or --join");
    if (!options.Host.empty() && (options.Players < 2 || options.Players > 8))
        throw UsageError("--host needs --players N, from 2 to 8");
    if (!options.Join.empty() && options.Players) throw UsageError("--players goes with --host");
    if (!options.Shots.empty()) throw UsageError("a network game takes no --shot: record it and take shots with --replay --seat");
    if (options.Timing) throw UsageError("a network game takes no --timing");
}

// Throws UsageError naming what is wrong.
SimOptions ReadSimOptions(const std::vector<std::string>& arguments) {
    SimOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--data") options.DataDir = value();
        else if (option == "--seed") options.Seed = ParseNumber<uint32_t>(value(), "--seed");
        else if (option == "--frames") options.Frames = ParseNumber<uint64_t>(value(), "--frames");
        else if (option == "--scenario") options.ScenarioFile = value();
        else if (option == "--dump") options.Dumps.push_back(ParseTickOutput(value(), "--dump"));
        else if (option == "--shot") {
            options.Shots.push_back(ParseTickOutput(value(), "--shot"));
            if (options.Shots.back().File == "-") throw UsageError("--shot needs a file name");
        } else if (option == "--timing") options.Timing = true;
        else if (option == "--record") options.RecordFile = value();
        else if (option == "--replay") options.ReplayFile = value();
        else if (option == "--verify") options.Verify = true;
        else if (option == "--force") options.Force = true;
        else if (option == "--language") {
            options.Language = value();
            if (!IsLanguageName(options.Language))
                throw UsageError("--language needs the name of a language (original, en, ...), not '" +
                                 options.Language + "'");
        }
        else if (option == "--seat") options.Seat = ParseNumber<int>(value(), "--seat");
        else if (option == "--host") options.Host = value();
        else if (option == "--players") options.Players = ParseNumber<int>(value(), "--players");
        else if (option == "--join") options.Join = value();
        else if (option == "--name") options.Name = value();
        else if (option == "--net-delay") options.NetDelayMs = ParseNumber<uint32_t>(value(), "--net-delay");
        else if (option == "--net-jitter") options.NetJitterMs = ParseNumber<uint32_t>(value(), "--net-jitter");
        else if (option == "--net-loss") options.NetLossPercent = ParsePercent(value());
        else if (option == "--pilot") {
            const std::string& name = value();
            options.Pilot = FindPilot(name);
            if (!options.Pilot) throw UsageError("--pilot needs " + PilotChoices() + ", not '" + name + "'");
        }
        else throw UsageError("unknown option '" + option + "'");
    }
    CheckNetworkOptions(options);
    if (!options.ReplayFile.empty()) {
        // A recording brings its own seed, frames and inputs.
        if (!options.ScenarioFile.empty() || options.Seed || options.Frames || !options.RecordFile.empty() ||
            options.Pilot) {
            throw UsageError("--replay takes no --scenario, --seed, --frames, --record or --pilot");
        }
    } else if (options.Verify || options.Force) {
        throw UsageError("--verify and --force go with --replay");
    }
    return options;
}

}  // namespace

bool AsksForHelp(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& argument) { return argument == "--help" || argument == "-h"; });
}

ExitStatus ReportUsageFailure(const Failure& failure) {
    Failure oneLine = failure;
    oneLine.Reason += " (kelvane-sim --help shows the usage)";
    return ReportFailure("kelvane-sim", oneLine);
}

Result<SimOptions> ParseSimOptions(const std::vector<std::string>& arguments) {
    return Catching<UsageError>(ExitStatus::BadInput, [&] { return ReadSimOptions(arguments); });
}

}  // namespace kelvane::sim
