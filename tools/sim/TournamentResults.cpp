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
    const int types = static_cast<int>(results.Ships.size());
    std::vector<TableRow> rows(types);
    std::vector<double> killFrames(types, 0.0);
    std::map<std::pair<int, int>, PairResults> pairs;
    for (int i = 0; i < types; ++i) rows[i].Ship = results.Ships[i];
    for (const DuelRecord& duel : results.Duels) {
        PairResults& pair = pairs[{duel.First, duel.Second}];
        pair.First = duel.First;
        pair.Second = duel.Second;
        if (duel.Winner == DuelWinner::None) {
            ++pair.Draws;
            ++rows[duel.First].Draws;
            ++rows[duel.Second].Draws;
            continue;
        }
        const bool firstWon = duel.Winner == DuelWinner::First;
        const int winner = firstWon ? duel.First : duel.Second;
        const int loser = firstWon ? duel.Second : duel.First;
        ++(firstWon ? pair.FirstWins : pair.SecondWins);
        ++rows[winner].Wins;
        ++rows[loser].Losses;
        killFrames[winner] += static_cast<double>(duel.Frames);
    }
    std::vector<PairResults> pairList;
    for (const auto& entry : pairs) pairList.push_back(entry.second);
    const std::vector<Rating> ratings = RateTypes(types, pairList);
    for (int i = 0; i < types; ++i) {
        rows[i].Rated = ratings[i];
        if (rows[i].Wins > 0) rows[i].MeanFramesToKill = killFrames[i] / rows[i].Wins;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const TableRow& a, const TableRow& b) {
        if (a.Rated.Value != b.Rated.Value) return a.Rated.Value > b.Rated.Value;
        if (a.Wins != b.Wins) return a.Wins > b.Wins;
        return a.Ship < b.Ship;
    });
    return rows;
}

std::string FormatTable(const TournamentResults& results, const std::vector<TableRow>& table) {
    const int types = static_cast<int>(results.Ships.size());
    std::string text = std::to_string(results.Duels.size()) + " duels";
    if (!results.Shard.Whole()) {
        text += " (part " + std::to_string(results.Shard.Index) + " of " + std::to_string(results.Shard.Count) +
                ", of " + std::to_string(DuelCount(types, results.Games)) + ")";
    }
    text += ": " + std::to_string(types) + " ship types, " + std::to_string(results.Games) +
            " games a pair, at most " + std::to_string(results.Ticks) + " frames, seed " +
            std::to_string(results.Seed) + "\n";
    size_t nameWidth = 4;
    for (const TableRow& row : table) nameWidth = std::max(nameWidth, DisplayWidth(row.Ship));
    text += "rank  " + Padded("ship", nameWidth) + "   wins  losses  draws  frames/kill   rating\n";
    int rank = 0;
    for (const TableRow& row : table) {
        const std::string frames = row.MeanFramesToKill ? Format("%.0f", *row.MeanFramesToKill) : "-";
        char rankText[16];
        std::snprintf(rankText, sizeof rankText, "%4d  ", ++rank);
        char numbers[128];
        std::snprintf(numbers, sizeof numbers, " %6d  %6d  %5d  %11s  %7.0f +- %.0f\n", row.Wins, row.Losses,
                      row.Draws, frames.c_str(), row.Rated.Value, row.Rated.Uncertainty);
        text += rankText + Padded(row.Ship, nameWidth) + numbers;
    }
    return text;
}

}  // namespace kelvane::sim
