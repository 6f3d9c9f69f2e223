#include "base/GamePaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kelvane {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

std::optional<std::string> FindEntryNoCase(const std::string& directory, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path dir = directory.empty() ? fs::path(".") : fs::path(directory);
    if (fs::exists(dir / name, error)) return name;
    const std::string wanted = Lower(name);
    std::optional<std::string> found;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        // Several entries may differ only in case; take the first in name order.
        if (Lower(entry) == wanted && (!found || entry < *found)) found = entry;
    }
    return found;
}

std::string ResolveGamePath(const std::string& gameDir, const std::string& relative) {
    std::string path = gameDir;
    if (!path.empty() && path.back() != '/') path += '/';
    size_t start = 0;
    bool first = true;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string::npos) end = relative.size();
        const std::string part = relative.substr(start, end - start);
        if (!part.empty()) {
            if (!first) path += '/';
            const std::optional<std::string> found = FindEntryNoCase(path.empty() ? "." : path, part);
            path += found ? *found : part;
            first = false;
        }
        start = end + 1;
    }
    return path;
}

std::vector<std::string> ListFilesNoCase(const std::string& directory, const std::string& extension) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    const std::string wanted = Lower(extension);
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::error_code statError;
        if (!it->is_regular_file(statError)) continue;
        const std::string name = it->path().filename().string();
        if (name.size() >= wanted.size() && Lower(name.substr(name.size() - wanted.size())) == wanted) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

}  // namespace kelvane
