#pragma once
// The folder of the player's recordings: one file per game, named by the time it began
// (kelvane-YYYYMMDD-HHMMSS.replay), the newest few kept. The folder itself is the
// program's to choose and hand in.

#include <cstddef>
#include <ctime>
#include <string>

namespace kelvane {

inline constexpr size_t KeptRecordings = 20;

// "kelvane-20261207-153000.replay" for a game begun at that (local) time.
std::string RecordingFileName(const std::tm& startTime);

// Where a new game's recording goes: the folder is created when missing; a name already
// taken (two games begun in one second) gets "-2", "-3", ... before its extension.
// Empty when the folder cannot be created.
std::string NewRecordingPath(const std::string& folder, const std::tm& startTime);

// Removes the oldest recordings of the folder (kelvane-*.replay only, oldest by name)
// beyond the newest `keep`. `spared` (a file name, the recording being written) is never
// removed and counts as one of those kept, wherever its name sorts (a clock set back).
// Files that cannot be removed are left.
void KeepNewestRecordings(const std::string& folder, size_t keep = KeptRecordings, const std::string& spared = {});

}  // namespace kelvane
