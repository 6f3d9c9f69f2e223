#include "PrivateGameDir.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "base/GamePaths.h"
#include "world/TextUtil.h"

namespace kelvane::sim {
namespace {

namespace fs = std::filesystem;

// Links every entry of `from` into `to`, except `skip` (and names equal to it without
// regard to case) and `own`, which the caller makes itself.
void LinkEntries(const fs::path& from, const fs::path& to, const std::string& skip, const std::string& own) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const std::string name = entry.path().filename().string();
        if (name == own || (!skip.empty() && UpperCaseText(name) == UpperCaseText(skip))) continue;
        fs::create_symlink(fs::absolute(entry.path()), to / name, error);
    }
}

}  // namespace

PrivateGameDir::PrivateGameDir(const std::string& gameDir) : real_(gameDir) {
    std::string pattern = (fs::temp_directory_path() / "kelvane-tournament-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder in " + fs::temp_directory_path().string());
    path_ = pattern + "/";
    // The Data folder the game would find (an unreadable game folder leaves all empty, and
    // loading then says what is missing).
    const std::optional<std::string> data = FindEntryNoCase(gameDir, "Data");
    LinkEntries(gameDir, path_, "", data.value_or(""));
    if (data) {
        fs::create_directory(path_ + *data);
        LinkEntries(fs::path(gameDir) / *data, path_ + *data, "Ships.dxg", "");
    }
}

PrivateGameDir::~PrivateGameDir() {
    std::error_code error;
    fs::remove_all(path_, error);  // links only: the real files stay
}

std::string PrivateGameDir::Real(std::string text) const {
    for (size_t at = text.find(path_); at != std::string::npos; at = text.find(path_, at + real_.size()))
        text.replace(at, path_.size(), real_);
    return text;
}

}  // namespace kelvane::sim
