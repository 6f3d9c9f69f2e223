#pragma once
// The data a game was played with: every file the game reads from Data/ (the three
// archives, the ship definitions and their pictures) and every script of Scripts/, each
// by its name relative to the game directory (letter case as on disk) and the hash of
// its contents, sorted by name; then the player's own ships and scripts, named
// "Player/Ships/..." and "Player/Scripts/...". Data/Ships.dxg is not among them: the game
// writes it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/PlayerFolders.h"

namespace kelvane {

struct DataFile {
    std::string Name;  // "Data/Ships/Vigil.ini", '/' between the parts
    uint64_t Hash = 0;
    bool operator==(const DataFile&) const = default;
};

std::vector<DataFile> FingerprintGameData(const std::string& gameDir, const PlayerFolders& player = {});

// Adds the regular files of `directory` whose names end in one of `extensions` (any
// letter case; an empty list takes every file), each named `label` + '/' + its name.
// For folders beyond the game directory (the player's own ships and scripts). Files
// that cannot be read are left out: the game cannot read them either.
void AddFolderFiles(std::vector<DataFile>& files, const std::string& label, const std::string& directory,
                    const std::vector<std::string>& extensions);
void SortDataFiles(std::vector<DataFile>& files);

// The first difference between two sorted fingerprints in name order, as a phrase naming
// the file ("Data/Ships/Vigil.ini differs"); empty when they are the same.
std::string FirstDataDifference(const std::vector<DataFile>& recorded, const std::vector<DataFile>& here);

// The line that refuses (or, forced, warns of) a recording made with other data:
// "replay made with other data: Data/Ships/Vigil.ini differs (--force plays it anyway)".
std::string OtherDataLine(const std::string& difference, bool forced);

}  // namespace kelvane
