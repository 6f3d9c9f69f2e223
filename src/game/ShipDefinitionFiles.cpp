#include "game/ShipDefinitionFiles.h"

#include <filesystem>
#include <system_error>

#include "game/ShipDefinition.h"
#include "base/GamePaths.h"
#include "world/GameDataFiles.h"
#include "world/TextUtil.h"
#include "world/World.h"

namespace kelvane {
namespace {

struct Listed {
    std::string Key;  // the name compared for replacement
    ShipDefinitionFile File;
};

std::vector<Listed> IniFiles(const std::string& dir, ShipDefinitionFiles& listing) {
    const FolderListing folder = ListFolder(dir, ".ini");
    // The folder is named as the game names it elsewhere: without the separator it is listed by.
    if (!folder.Problem.empty())
        listing.UnreadFolders.push_back({dir.ends_with('/') ? dir.substr(0, dir.size() - 1) : dir, folder.Problem});
    for (const FolderListing::SkippedEntry& skipped : folder.Skipped) listing.Skipped.push_back({dir + skipped.Name, skipped.Reason});
    std::vector<Listed> files;
    for (const std::string& name : folder.Names)
        files.push_back({UpperCaseText(name), {dir + name, ShipPicturePath(dir, name)}});
    return files;
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

ShipDefinitionFiles ListShipDefinitionFiles(const std::string& gameDir, const std::string& playerDir) {
    ShipDefinitionFiles listing;
    listing.ShippedDir = GameDataFiles::In(gameDir).ShipsFolder;
    const std::string shippedDir = listing.ShippedDir + "/";
    std::vector<Listed> files = IniFiles(shippedDir, listing);
    if (!playerDir.empty()) {
        const size_t shipped = files.size();
        for (Listed& own : IniFiles(ResolveGamePath(playerDir, "Ships") + "/", listing)) {
            if (!IsFile(own.File.Picture)) {
                const std::string shippedPicture = ShipPicturePath(shippedDir, own.Key);
                if (IsFile(shippedPicture)) own.File.Picture = shippedPicture;
            }
            size_t slot = 0;
            while (slot < shipped && files[slot].Key != own.Key) ++slot;
            if (slot < shipped) files[slot] = std::move(own);
            else files.push_back(std::move(own));
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        (i < static_cast<size_t>(MaxShips) ? listing.Files : listing.LeftOut).push_back(std::move(files[i].File));
    }
    return listing;
}

}  // namespace kelvane
