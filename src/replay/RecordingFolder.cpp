#include "replay/RecordingFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view Prefix = "kelvane-";
constexpr std::string_view Extension = ".replay";

bool IsRecordingName(const std::string& name) {
    return name.size() > Prefix.size() + Extension.size() && name.compare(0, Prefix.size(), Prefix) == 0 &&
           name.compare(name.size() - Extension.size(), Extension.size(), Extension) == 0;
}

// Without the extension, so that "...-153000" sorts before "...-153000-2".
std::string Stem(const std::string& name) { return name.substr(0, name.size() - Extension.size()); }

}  // namespace

std::string RecordingFileName(const std::tm& startTime) {
    char name[64];
    std::snprintf(name, sizeof name, "kelvane-%04d%02d%02d-%02d%02d%02d.replay", startTime.tm_year + 1900,
                  startTime.tm_mon + 1, startTime.tm_mday, startTime.tm_hour, startTime.tm_min, startTime.tm_sec);
    return name;
}

std::string NewRecordingPath(const std::string& folder, const std::tm& startTime) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) return {};
    const std::string name = RecordingFileName(startTime);
    fs::path path = fs::path(folder) / name;
    for (int n = 2; fs::exists(path, error) && n < 1000; ++n) {
        path = fs::path(folder) / (Stem(name) + "-" + std::to_string(n) + std::string(Extension));
    }
    return path.string();
}

void KeepNewestRecordings(const std::string& folder, size_t keep, const std::string& spared) {
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statError;
        const std::string name = it->path().filename().string();
        if (name == spared) {
            if (keep > 0) --keep;
        } else if (IsRecordingName(name) && it->is_regular_file(statError)) {
            names.push_back(name);
        }
    }
    if (names.size() <= keep) return;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return Stem(a) < Stem(b); });
    for (size_t i = 0; i + keep < names.size(); ++i) fs::remove(fs::path(folder) / names[i], error);
}

}  // namespace kelvane
