#pragma once
// A tournament of ship types: which types take part, and their duels run on threads.
// Every duel starts from its own copy of one loaded world and shares only what nobody
// writes, so the results do not depend on how many threads run them or in what order.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Duel.h"
#include "TournamentOptions.h"
#include "TournamentResults.h"

namespace kelvane::sim {

struct TournamentShip {
    std::string Name;  // the definition's ShipName (Windows-1250), typed after CREATESHIP
    int Slot = 0;
};

// The types named (UTF-8, matched as the console matches a typed name), or every type
// the console can put into play; in slot order. Types left out go to `notes`.
// UsageError for a name no type answers to, a type named twice, or fewer than two.
std::vector<TournamentShip> ChooseShips(const World& loaded, const std::vector<std::string>& requested,
                                        std::vector<std::string>& notes);

// What the duels' results depend on in the data: the chosen types' definitions and
// pictures. Parts of one tournament must agree on it.
std::string DataFingerprint(const World& loaded, const TImageList& shipImages,
                            const std::vector<TournamentShip>& ships);

struct RunCounts {
    uint64_t Duels = 0;
    uint64_t Frames = 0;  // frames played in all duels
};

// Called from the running thread, now and then, with the duels done so far.
using ProgressReport = std::function<void(size_t done, size_t total)>;

// The duels of options.Shard on options.Jobs threads (0: one per core).
TournamentResults RunTournament(const DuelGround& ground, const std::vector<TournamentShip>& ships,
                                const TournamentOptions& options, const std::string& dataFingerprint,
                                const ProgressReport& progress, RunCounts& counts);

}  // namespace kelvane::sim
