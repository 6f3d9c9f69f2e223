#include "world/GameDataFiles.h"

#include "base/GamePaths.h"

namespace kelvane {

GameDataFiles GameDataFiles::In(const std::string& gameDir) {
    return {
        .Graphics = ResolveGamePath(gameDir, DataFileName::Graphics),
        .Sounds = ResolveGamePath(gameDir, DataFileName::Sounds),
        .LoadingScreen = ResolveGamePath(gameDir, DataFileName::LoadingScreen),
        .ShipsFolder = ResolveGamePath(gameDir, DataFileName::ShipsFolder),
        .ShipArchive = ResolveGamePath(gameDir, DataFileName::ShipArchive),
        .ScriptsFolder = ResolveGamePath(gameDir, DataFileName::ScriptsFolder),
    };
}

}  // namespace kelvane
