#include "game/GameDir.h"

#include <unistd.h>

#include <climits>

namespace kelvane {

std::string GameDir() {
    char path[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    if (length <= 0) return "./";
    const std::string full(path, static_cast<size_t>(length));
    return full.substr(0, full.rfind('/') + 1);
}

}  // namespace kelvane
