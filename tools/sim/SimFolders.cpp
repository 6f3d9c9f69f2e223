#include "SimFolders.h"

#include <optional>

#include "app/Folders.h"
#include "game/GameDir.h"

namespace kelvane::sim {

SimFolders FindSimFolders(const std::string& dataDir) {
    const GameDataSearch data = FindGameData(dataDir.empty() ? std::nullopt : std::optional(dataDir), GameDir());
    if (data.GameDir.empty()) throw NoGameData(GameDataNotFound(data));
    return {data.GameDir, ResolvePlayerFolders(ProcessEnvironment())};
}

}  // namespace kelvane::sim
