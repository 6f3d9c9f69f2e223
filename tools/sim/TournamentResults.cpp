#include "TournamentResults.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "Schedule.h"

namespace kelvane::sim {
namespace {

// Columns of the terminal line up by characters, not by UTF-8 bytes.
size_t DisplayWidth(const std::string& text) {
    size_t width = 0;
    for (const char c : text) width += (static_cast<uint8_t>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

std::string Padded(const std::string& text, size_t width) {
    const size_t shown = DisplayWidth(text);
    return text + std::string(width > shown ? width - shown : 0, ' ');
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

std::vector<TableRow> MakeTable(const TournamentResults& results) {
    // One row per type, or per type and pilot when pilots are named.
    const int types = static_cast<int>(results.Ships.size());
    const bool byPilot = results.Pilots.size() > 1;
    const int pilots = byPilot ? static_cast<int>(results.Pilots.size()) : 1;
    const auto rowOf = [&](int type, Pilot pilot) {
        int p = 0;
        while (byPilot && p + 1 < pilots && results.Pilots[p] != pilot) ++p;
        return type * pilots + p;
    };
    const int entries = types * pilots;
    std::vector<TableRow> rows(entries);
    std::vector<double> killFrames(entries, 0.0);
    std::map<std::pair<int, int>, PairResults> pairs;
    for (int i = 0; i < types; ++i) {
        for (int p = 0; p < pilots; ++p) {
            rows[i * pilots + p].Ship = results.Ships[i];
            rows[i * pilots + p].Flown = results.Pilots.empty() ? Pilot::Classic : results.Pilots[p];
        }
    }
    for (const DuelRecord& duel : results.Duels) {
        const int first = rowOf(duel.First, duel.FirstPilot), second = rowOf(duel.Second, duel.SecondPilot);
        PairResults& pair = pairs[{first, second}];
        pair.First = first;
        pair.Second = second;
        if (duel.Winner == DuelWinner::None) {
            ++pair.Draws;
            ++rows[first].Draws;
            ++rows[second].Draws;
            continue;
        }
        const bool firstWon = duel.Winner == DuelWinner::First;
        const int winner = firstWon ? first : second;
        const int loser = firstWon ? second : first;
        ++(firstWon ? pair.FirstWins : pair.SecondWins);
        ++rows[winner].Wins;
        ++rows[loser].Losses;
        killFrames[winner] += static_cast<double>(duel.Frames);
    }
    std::vector<PairResults> pairList;
    for (const auto& entry : pairs) pairList.push_back(entry.second);
    const std::vector<Rating> ratings = RateTypes(entries, pairList);
    for (int i = 0; i < entries; ++i) {
        rows[i].Rated = ratings[i];
        if (rows[i].Wins > 0) rows[i].MeanFramesToKill = killFrames[i] / rows[i].Wins;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const TableRow& a, const TableRow& b) {
        if (a.Rated.Value != b.Rated.Value) return a.Rated.Value > b.Rated.Value;
        if (a.Wins != b.Wins) return a.Wins > b.Wins;
        if (a.Ship != b.Ship) return a.Ship < b.Ship;
        return a.Flown < b.Flown;
    });
    return rows;
}

std::string FormatTable(const TournamentResults& results, const std::vector<TableRow>& table) {
    const int types = static_cast<int>(results.Ships.size());
    std::string text = std::to_string(results.Duels.size()) + " duels";
    if (!results.Shard.Whole()) {
        text += " (part " + std::to_string(results.Shard.Index) + " of " + std::to_string(results.Shard.Count) +
                ", of " +
                std::to_string(DuelCount(types, results.Games, static_cast<int>(Seatings(results.Pilots).size()))) + ")";
    }
    text += ": " + std::to_string(types) + " ship types, " + std::to_string(results.Games) +
            " games a pair" + (results.Pilots.size() > 1 ? " each way round" : "") + ", at most " +
            std::to_string(results.Ticks) + " frames, seed " + std::to_string(results.Seed);
    if (results.NamesPilots()) {
        text += ", pilots ";
        for (size_t p = 0; p < results.Pilots.size(); ++p) text += (p ? " and " : "") + std::string(PilotName(results.Pilots[p]));
    }
    if (!results.Scatter) text += ", no scattering";
    text += "\n";
    size_t nameWidth = 4;
    for (const TableRow& row : table) nameWidth = std::max(nameWidth, DisplayWidth(row.Ship));
    const bool pilotColumn = results.NamesPilots();
    text += "rank  " + Padded("ship", nameWidth) + (pilotColumn ? "  pilot  " : "") +
            "   wins  losses  draws  frames/kill   rating\n";
    int rank = 0;
    for (const TableRow& row : table) {
        const std::string frames = row.MeanFramesToKill ? Format("%.0f", *row.MeanFramesToKill) : "-";
        char rankText[16];
        std::snprintf(rankText, sizeof rankText, "%4d  ", ++rank);
        char numbers[128];
        std::snprintf(numbers, sizeof numbers, " %6d  %6d  %5d  %11s  %7.0f +- %.0f\n", row.Wins, row.Losses,
                      row.Draws, frames.c_str(), row.Rated.Value, row.Rated.Uncertainty);
        text += rankText + Padded(row.Ship, nameWidth) + (pilotColumn ? "  " + Padded(PilotName(row.Flown), 7) : "") +
                numbers;
    }
    return text + FormatSummary(results, Summarise(results));
}

DuelSummary Summarise(const TournamentResults& results) {
    DuelSummary summary;
    std::vector<uint64_t> kills;
    double killFrames = 0;
    for (const DuelRecord& duel : results.Duels) {
        ++summary.Duels;
        summary.Frames += duel.Frames;
        if (duel.Winner == DuelWinner::None) {
            ++summary.Draws;
        } else {
            kills.push_back(duel.Frames);
            killFrames += static_cast<double>(duel.Frames);
        }
        if (!duel.Measures) continue;
        summary.QuietFrames += duel.Measures->QuietFrames;
        const Pilot seats[2] = {duel.FirstPilot, duel.SecondPilot};
        for (int i = 0; i < 2; ++i) {
            auto found = std::find_if(summary.Shots.begin(), summary.Shots.end(),
                                      [&](const auto& entry) { return entry.first == seats[i]; });
            if (found == summary.Shots.end()) found = summary.Shots.insert(summary.Shots.end(), {seats[i], {}});
            found->second += duel.Measures->Shots[i];
        }
    }
    std::sort(summary.Shots.begin(), summary.Shots.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!kills.empty()) {
        summary.MeanFramesToKill = killFrames / static_cast<double>(kills.size());
        std::sort(kills.begin(), kills.end());
        const size_t middle = kills.size() / 2;
        summary.MedianFramesToKill = kills.size() % 2 ? static_cast<double>(kills[middle])
                                                      : (kills[middle - 1] + kills[middle]) / 2.0;
    }
    return summary;
}

std::string FormatSummary(const TournamentResults& results, const DuelSummary& summary) {
    const auto share = [](uint64_t part, uint64_t whole) {
        return whole ? Format("%.1f %%", 100.0 * static_cast<double>(part) / static_cast<double>(whole)) : std::string("-");
    };
    std::string text = std::to_string(summary.Draws) + " of " + std::to_string(summary.Duels) + " duels drawn (" +
                       share(summary.Draws, summary.Duels) + ")";
    if (summary.MeanFramesToKill) {
        text += "; a kill took " + Format("%.0f", *summary.MeanFramesToKill) + " frames on average, " +
                Format("%.0f", *summary.MedianFramesToKill) + " in the median duel";
    }
    text += "\n";
    if (!results.Measured) return text;
    text += "quiet: " + share(summary.QuietFrames, summary.Frames) + " of " + std::to_string(summary.Frames) +
            " frames lay in stretches of " + std::to_string(QuietStretch) + " frames or more without a loss\n";
    for (const auto& [pilot, shots] : summary.Shots) {
        text += std::string(PilotName(pilot)) + ": damage " + std::to_string(shots.Damage) + "; pulse shots " + std::to_string(shots.Pulses) + ", hit " +
                share(shots.PulseHits, shots.Pulses) + "; torpedoes " + std::to_string(shots.Torpedoes) + ", hit " +
                share(shots.TorpedoHits, shots.Torpedoes) + "; beams " + std::to_string(shots.Beams) +
                "; tachyon shots " + std::to_string(shots.Tachyons) + ", hit " + share(shots.TachyonHits, shots.Tachyons) +
                ", " + std::to_string(shots.TachyonsAtBareShields) + " at shields already down\n";
    }
    return text;
}

}  // namespace kelvane::sim
