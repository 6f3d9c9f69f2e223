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
#include "WorkerThreads.h"
#include "base/Result.h"
#include "replay/ReplayFormat.h"

namespace kelvane::sim {

struct TournamentShip {
    std::string Name;  // the definition's ShipName (Windows-1250), typed after CREATESHIP
    int Slot = 0;
};

// The types named (UTF-8, matched as the console matches a typed name), or every type
// the console can put into play; in slot order. Types left out go to `notes`. A failure
// (BadInput) for a name no type answers to, a type named twice, or fewer than two.
Result<std::vector<TournamentShip>> ChooseShips(const World& loaded, const std::vector<std::string>& requested,
                                                std::vector<std::string>& notes);

// What the duels' results depend on in the data: the chosen types' definitions and
// pictures, nothing else (a recording's fingerprint covers every file of the game
// folder). Parts of one tournament must agree on it.
std::string ChosenTypesFingerprint(const World& loaded, const TImageList& shipImages,
                                   const std::vector<TournamentShip>& ships);

struct RunCounts {
    uint64_t Duels = 0;
    uint64_t Frames = 0;  // frames played in all duels
    uint64_t RecordingsFailed = 0;
    unsigned Threads = 0;  // threads the duels ran on: never more than there were duels
};

// Where every duel is recorded (--record-duels): one file per duel, named by the pair
// and the game ("Ardent-Bastion-03.replay"), each beginning with the same header.
struct DuelRecordings {
    std::string Folder;   // ending in '/'
    ReplayHeader Header;  // the seed the run's data was loaded with, and the data's fingerprint
    // Hears a recording that cannot be written; called from the duels' threads.
    std::function<void(const std::string&)> Report;
};

// "Ardent-Bastion-03.replay" for game 3 of 20: names as in the result file (a character
// a file name cannot hold becomes '_'), the game with as many digits as the last game
// has, and at least two.
std::string DuelRecordingName(const std::string& first, const std::string& second, int game, int games);
// The same with each type's pilot after its name when the tournament names pilots
// ("Ardent-veteran-Bastion-classic-03.replay").
std::string DuelRecordingName(const TournamentResults& results, const DuelRecord& duel, int games);

// Called from the running thread, at the start and now and then, with the duels done so far.
using ProgressReport = std::function<void(size_t done, size_t total)>;

// The duels of options.Shard on options.Jobs threads (0: one per core), each recorded
// when `recordings` is given. counts.RecordingsFailed tells how many could not be written.
// A thread that cannot be started, an error in a duel or in `progress` stops the run:
// every thread is told to stop after its duel and joined, then the error is thrown on.
TournamentResults RunTournament(const DuelGround& ground, const std::vector<TournamentShip>& ships,
                                const TournamentOptions& options, const std::string& dataFingerprint,
                                const ProgressReport& progress, RunCounts& counts,
                                const DuelRecordings* recordings = nullptr,
                                const ThreadStarter& startThread = StartThread);

}  // namespace kelvane::sim
