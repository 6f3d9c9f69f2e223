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

// Why an entry that was looked at through its links is no file to read.
std::string WhyNoFile(const std::filesystem::file_status& status, const std::error_code& error) {
    using std::filesystem::file_type;
    if (status.type() == file_type::not_found) return "it is a link that leads nowhere";
    if (error) return error.message();  // a link that loops, no permission to look
    if (status.type() == file_type::directory) return "it is a folder, not a file";
    if (status.type() == file_type::fifo) return "it is a FIFO (named pipe), not a regular file";
    return "it is not a regular file";
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

FolderListing ListFolder(const std::string& directory, const std::string& extension) {
    namespace fs = std::filesystem;
    FolderListing listing;
    std::error_code error;
    const std::string wanted = Lower(extension);
    fs::directory_iterator it(directory, error);
    if (error) {
        if (error == std::errc::no_such_file_or_directory) listing.Missing = true;
        else listing.Problem = error.message();
        return listing;
    }
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() < wanted.size() || Lower(name.substr(name.size() - wanted.size())) != wanted) continue;
        std::error_code statError;
        const fs::file_status status = fs::status(it->path(), statError);  // through links
        if (status.type() == fs::file_type::regular) listing.Names.push_back(name);
        else listing.Skipped.push_back({name, WhyNoFile(status, statError)});
    }
    if (error) listing.Problem = error.message();
    std::sort(listing.Names.begin(), listing.Names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return listing;
}

std::vector<std::string> ListFilesNoCase(const std::string& directory, const std::string& extension) {
    return ListFolder(directory, extension).Names;
}

}  // namespace kelvane
