#include "replay/DataFingerprint.h"

#include <algorithm>
#include <stdexcept>

#include "base/InputFile.h"
#include "media/Archive.h"
#include "base/GamePaths.h"
#include "base/Hash64.h"
#include "world/GameDataFiles.h"

namespace kelvane {
namespace {

// `path` below `gameDir`, as the name a fingerprint lists it by.
std::string RelativeName(const std::string& gameDir, const std::string& path) {
    std::string name = path.substr(std::min(path.size(), gameDir.size()));
    while (!name.empty() && name.front() == '/') name.erase(0, 1);
    return name;
}

bool AddFile(std::vector<DataFile>& files, const std::string& name, const std::string& path) {
    try {
        // Hashed as it is read, so a large file costs time, never memory.
        InputFile file(path, ArchiveFileLimit);
        Hash64Stream hash;
        char chunk[65536];
        while (const size_t got = file.Read(chunk, sizeof chunk)) hash.Add(chunk, got);
        files.push_back({name, hash.Value()});
        return true;
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace

void AddFolderFiles(std::vector<DataFile>& files, const std::string& label, const std::string& directory,
                    const std::vector<std::string>& extensions) {
    std::vector<std::string> names;
    if (extensions.empty()) {
        names = ListFilesNoCase(directory, "");
    } else {
        for (const std::string& extension : extensions) {
            const std::vector<std::string> found = ListFilesNoCase(directory, extension);
            names.insert(names.end(), found.begin(), found.end());
        }
    }
    for (const std::string& name : names) AddFile(files, label + "/" + name, directory + "/" + name);
}

void SortDataFiles(std::vector<DataFile>& files) {
    std::sort(files.begin(), files.end(), [](const DataFile& a, const DataFile& b) { return a.Name < b.Name; });
}

std::vector<DataFile> FingerprintGameData(const std::string& gameDir, const PlayerFolders& player) {
    std::vector<DataFile> files;
    const GameDataFiles game = GameDataFiles::In(gameDir);
    for (const std::string& archive : {game.Graphics, game.Sounds, game.LoadingScreen})
        AddFile(files, RelativeName(gameDir, archive), archive);
    AddFolderFiles(files, RelativeName(gameDir, game.ShipsFolder), game.ShipsFolder, {".ini", ".bmp"});
    AddFolderFiles(files, RelativeName(gameDir, game.ScriptsFolder), game.ScriptsFolder, {});
    if (!player.Data.empty()) {
        AddFolderFiles(files, "Player/Ships", player.Data + "Ships", {".ini", ".bmp"});
        AddFolderFiles(files, "Player/Scripts", player.Data + "Scripts", {});
    }
    SortDataFiles(files);
    return files;
}

std::string FirstDataDifference(const std::vector<DataFile>& recorded, const std::vector<DataFile>& here) {
    size_t r = 0, h = 0;
    while (r < recorded.size() || h < here.size()) {
        if (h == here.size() || (r < recorded.size() && recorded[r].Name < here[h].Name)) {
            return recorded[r].Name + " is missing here";
        }
        if (r == recorded.size() || here[h].Name < recorded[r].Name) {
            return here[h].Name + " was not there when the recording was made";
        }
        if (recorded[r].Hash != here[h].Hash) return recorded[r].Name + " differs";
        ++r;
        ++h;
    }
    return {};
}

std::string OtherDataLine(const std::string& difference, bool forced) {
    return "replay made with other data: " + difference +
           (forced ? "; playing it anyway (--force)" : " (--force plays it anyway)");
}

}  // namespace kelvane
