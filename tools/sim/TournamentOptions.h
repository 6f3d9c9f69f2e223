#pragma once
// Command lines of kelvane-sim's tournament (--tournament) and of the merge of its
// parts (--merge).

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "combat/Pilot.h"

namespace kelvane::sim {

// Part Index of Count (1-based); 1/1 is the whole tournament.
struct ShardSpec {
    int Index = 1;
    int Count = 1;
    bool Whole() const { return Count == 1; }
    bool operator==(const ShardSpec&) const = default;
};

// The pilots of a duel's two seats.
struct Seating {
    Pilot First = Pilot::Classic;
    Pilot Second = Pilot::Classic;
};
// One pilot flies both ships of every duel; two pilots take turns in the first seat, so
// that every pair of types is played both ways round.
std::vector<Seating> Seatings(const std::vector<Pilot>& pilots);

struct TournamentOptions {
    std::string DataDir;             // empty: the executable's directory
    std::vector<std::string> Ships;  // as typed (UTF-8); empty: every ship type
    int Games = 20;
    uint64_t Ticks = 15000;
    uint32_t Seed = 1;
    unsigned Jobs = 0;  // 0: one per core
    ShardSpec Shard;
    std::string JsonFile;  // empty: none; "-": standard output
    std::string RecordDuelsDir;  // --record-duels DIR: every duel recorded there; empty: none
    std::vector<Pilot> Pilots{Pilot::Classic};  // --pilots: one, or two different ones
    bool Scatter = true;   // --no-scatter: stalemates are not broken by new places
    bool Measure = false;  // --measure: shots, hits and quiet stretches counted in every duel
};

struct MergeOptions {
    std::vector<std::string> Files;
    std::string JsonFile;
};

bool AsksForTournament(const std::vector<std::string>& arguments);
bool AsksForMerge(const std::vector<std::string>& arguments);

// The options, or a failure (BadInput) naming what is wrong.
Result<TournamentOptions> ParseTournamentOptions(const std::vector<std::string>& arguments);
Result<MergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments);

// "I/N" with 1 <= I <= N; UsageError otherwise.
ShardSpec ParseShard(const std::string& text);

}  // namespace kelvane::sim
