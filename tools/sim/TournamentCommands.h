#pragma once
// kelvane-sim --tournament and --merge: load once, run the duels, print the table, write
// the result file. Each reports its own failures on standard error and gives the exit
// status: Success; Failure when the game cannot start or the tournament stopped;
// BadInput for ship types that cannot take part or parts that cannot be merged;
// WriteFailed when the table, the result file or a duel's recording cannot be written.

#include "TournamentOptions.h"
#include "base/ExitStatus.h"

namespace kelvane::sim {

ExitStatus RunTournamentCommand(const TournamentOptions& options);
ExitStatus RunMergeCommand(const MergeOptions& options);

}  // namespace kelvane::sim
