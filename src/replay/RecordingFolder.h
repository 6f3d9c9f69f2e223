#pragma once
// The folder of the player's recordings: one file per game, named by the time it began
// (kelvane-YYYYMMDD-HHMMSS.replay), the newest few kept. The folder itself is the
// program's to choose and hand in.
//
// Several games may start in the same second and share the folder: a recording's file
// is created exclusively, so no name is ever taken twice, and a game holds a lock on its
// file while it writes, so pruning never removes a recording that is still being written.

#include <cstddef>
#include <ctime>
#include <string>

namespace kelvane {

inline constexpr size_t KeptRecordings = 20;

// "kelvane-20261207-153000.replay" for a game begun at that (local) time.
std::string RecordingFileName(const std::tm& startTime);

// A file made for one recording alone, open for writing and locked as in use.
struct RecordingFile {
    std::string Path;     // empty when none could be made
    int Descriptor = -1;  // the writer takes it over
    std::string Problem;  // why none could be made: what, where and the system's reason
};

// Makes the folder when missing and creates the new game's recording in it under the
// first free name: kelvane-YYYYMMDD-HHMMSS.replay, then "-2", "-3", ... before the
// extension (several games begun in one second).
RecordingFile CreateRecordingFile(const std::string& folder, const std::tm& startTime);

// Removes the oldest recordings of the folder beyond the newest `keep`, oldest by the
// time and number in their names (numbers compared as numbers: -10 is after -9). Only
// names this folder gives are looked at, and a recording that a game is writing (it
// holds the lock) is never removed. `spared` (a file name, the recording being written)
// counts as one of those kept, wherever its name sorts (a clock set back). Files that
// cannot be removed are left.
void KeepNewestRecordings(const std::string& folder, size_t keep = KeptRecordings, const std::string& spared = {});

}  // namespace kelvane
