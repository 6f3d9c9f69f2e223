#pragma once
// kelvane-sim --tournament and --merge: load once, run the duels, print the table, write
// the result file. Exit status as the runner's: 0 done; 1 the game cannot start; 2 bad
// arguments or bad parts to merge (UsageError is thrown for the caller to report with
// the usage); 3 the result file cannot be written.

#include "TournamentOptions.h"

namespace kelvane::sim {

int RunTournamentCommand(const TournamentOptions& options);
int RunMergeCommand(const MergeOptions& options);

}  // namespace kelvane::sim
