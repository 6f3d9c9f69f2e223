#include "SimFolders.h"

#include <optional>

#include "app/Folders.h"
#include "game/GameDir.h"

namespace kelvane::sim {

Result<SimFolders> FindSimFolders(const std::string& dataDir) {
    const GameDataSearch data = FindGameData(dataDir.empty() ? std::nullopt : std::optional(dataDir), GameDir());
    if (data.GameDir.empty()) return Failure{ExitStatus::Failure, GameDataNotFound(data), {}};
    return SimFolders{data.GameDir, ResolvePlayerFolders(ProcessEnvironment())};
}

}  // namespace kelvane::sim
