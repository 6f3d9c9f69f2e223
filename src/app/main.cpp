// Kelvane: a two-dimensional space-combat game.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "platform/sdl/SdlGame.h"

namespace {

// The directory of the running executable, ending in '/': the game's data lives beside it.
std::string ExecutableDirectory(const char* argv0) {
    char path[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    std::string full = length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string(argv0 ? argv0 : "");
    const size_t slash = full.rfind('/');
    return slash == std::string::npos ? std::string("./") : full.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        std::fprintf(stderr, "usage: %s\nKelvane takes no options; everything comes from its data files.\n", argv[0]);
        return 2;
    }
    return kelvane::RunSdlGame(ExecutableDirectory(argc > 0 ? argv[0] : nullptr));
}
