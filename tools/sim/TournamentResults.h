#pragma once
// What a tournament (or one part of it) found: its settings and every duel's result,
// and the table of ship types made from them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Duel.h"
#include "Rating.h"
#include "TournamentOptions.h"

namespace kelvane::sim {

struct DuelRecord {
    int First = 0;  // indices into TournamentResults::Ships
    int Second = 0;
    int Game = 1;
    uint32_t Seed = 0;
    DuelWinner Winner = DuelWinner::None;
    uint64_t Frames = 0;
    uint64_t Scatters = 0;
    uint64_t Errors = 0;
};

struct TournamentResults {
    uint32_t Seed = 1;
    int Games = 0;
    uint64_t Ticks = 0;
    std::vector<std::string> Ships;  // UTF-8, in the order the pairs are made
    std::string Data;                // fingerprint of the ship types fought with
    ShardSpec Shard;
    std::vector<DuelRecord> Duels;   // in tournament order
};

struct TableRow {
    std::string Ship;
    int Wins = 0;
    int Losses = 0;
    int Draws = 0;
    std::optional<double> MeanFramesToKill;  // over the duels it won; none without a win
    Rating Rated;
};

// One row per ship type, best rating first (ties: more wins, then the name).
std::vector<TableRow> MakeTable(const TournamentResults& results);
// The table as text for a terminal, under a line that says what was played.
std::string FormatTable(const TournamentResults& results, const std::vector<TableRow>& table);

}  // namespace kelvane::sim
