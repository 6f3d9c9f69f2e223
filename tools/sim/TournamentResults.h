#pragma once
// What a tournament (or one part of it) found: its settings and every duel's result,
// the table of ship types (or of types with their pilots) made from them, and the
// summary of how the duels went.

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
    Pilot FirstPilot = Pilot::Classic;
    Pilot SecondPilot = Pilot::Classic;
    std::optional<DuelMeasures> Measures;  // in a tournament that measures
};

struct TournamentResults {
    uint32_t Seed = 1;
    int Games = 0;
    uint64_t Ticks = 0;
    std::vector<std::string> Ships;  // UTF-8, in the order the pairs are made
    std::string Data;                // fingerprint of the ship types fought with
    ShardSpec Shard;
    std::vector<Pilot> Pilots{Pilot::Classic};  // one, or two taking turns in the first seat
    bool Scatter = true;   // stalemates broken by new places
    bool Measured = false;  // every duel carries its measures
    std::vector<DuelRecord> Duels;   // in tournament order

    // More than the classic pilot alone: the table tells the pilots apart.
    bool NamesPilots() const { return Pilots.size() != 1 || Pilots[0] != Pilot::Classic; }
    int SeatingOf(const DuelRecord& duel) const { return Pilots.size() > 1 && duel.FirstPilot != Pilots[0] ? 1 : 0; }
};

struct TableRow {
    std::string Ship;
    Pilot Flown = Pilot::Classic;
    int Wins = 0;
    int Losses = 0;
    int Draws = 0;
    std::optional<double> MeanFramesToKill;  // over the duels it won; none without a win
    Rating Rated;
};

// One row per ship type (per type and pilot when two pilots play), best rating first
// (ties: more wins, then the name).
std::vector<TableRow> MakeTable(const TournamentResults& results);
// The table as text for a terminal, under a line that says what was played, and the
// summary below it.
std::string FormatTable(const TournamentResults& results, const std::vector<TableRow>& table);

// How the duels went, all of them together.
struct DuelSummary {
    int Duels = 0;
    int Draws = 0;
    std::optional<double> MeanFramesToKill;    // over the decided duels
    std::optional<double> MedianFramesToKill;
    uint64_t Frames = 0;                       // played in all duels
    uint64_t QuietFrames = 0;                  // with measures: in quiet stretches
    std::vector<std::pair<Pilot, ShotCounts>> Shots;  // with measures: each pilot's shots
};
DuelSummary Summarise(const TournamentResults& results);
std::string FormatSummary(const TournamentResults& results, const DuelSummary& summary);

}  // namespace kelvane::sim
