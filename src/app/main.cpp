// Kelvane: a two-dimensional space-combat game.

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Folders.h"
#include "app/Version.h"
#include "game/GameDir.h"
#include "platform/sdl/SdlGame.h"

int main(int argc, char** argv) {
    using namespace kelvane;
    GameOptions options;
    try {
        options = ParseGameOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kelvane: %s\n%s", error.what(), GameUsage);
        return 2;
    }
    if (options.Help) {
        std::fputs(GameUsage, stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("kelvane %s\n", KelvaneVersion);
        return 0;
    }
    const GameDataSearch data = FindGameData(options.DataDir, GameDir());
    if (data.GameDir.empty()) {
        std::fprintf(stderr, "kelvane: %s\n", GameDataNotFound(data).c_str());
        return 1;
    }
    return RunSdlGame(data.GameDir, ResolvePlayerFolders(ProcessEnvironment()));
}
