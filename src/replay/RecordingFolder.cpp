#include "replay/RecordingFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <tuple>
#include <vector>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view Prefix = "kelvane-";
constexpr std::string_view Extension = ".replay";
// More games than this begun in one second are not recorded.
constexpr int MaxGamesInOneSecond = 1000;

std::string NumberedName(const std::string& name, int number) {
    if (number == 1) return name;
    return name.substr(0, name.size() - Extension.size()) + "-" + std::to_string(number) + std::string(Extension);
}

// When a recording of ours began and its number within that second, from its name:
// "kelvane-20261207-153000-2.replay" is (20261207, 153000, 2). Nothing for other names.
using RecordingTime = std::tuple<uint32_t, uint32_t, uint32_t>;
std::optional<RecordingTime> TimeOfRecording(std::string_view name) {
    if (!name.starts_with(Prefix) || !name.ends_with(Extension)) return std::nullopt;
    name.remove_prefix(Prefix.size());
    name.remove_suffix(Extension.size());
    const auto digits = [&name](size_t count, char after, uint32_t& value) {
        if (name.size() < count || (name.size() > count && name[count] != after)) return false;
        const std::string_view part = name.substr(0, count);
        if (!std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
        std::from_chars(part.data(), part.data() + part.size(), value);
        name.remove_prefix(std::min(name.size(), count + 1));
        return true;
    };
    uint32_t date = 0, time = 0, number = 1;
    if (!digits(8, '-', date) || name.empty() || !digits(6, '-', time)) return std::nullopt;
    if (!name.empty()) {
        const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
        if (error != std::errc() || end != name.data() + name.size() || number < 2 || name.front() == '0')
            return std::nullopt;
    }
    return RecordingTime{date, time, number};
}

// Whether another game holds the recording open for writing (its lock).
bool BeingWritten(const fs::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) return false;
    const bool locked = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);  // releases the lock taken just now
    return locked;
}

}  // namespace

std::string RecordingFileName(const std::tm& startTime) {
    char name[64];
    std::snprintf(name, sizeof name, "kelvane-%04d%02d%02d-%02d%02d%02d.replay", startTime.tm_year + 1900,
                  startTime.tm_mon + 1, startTime.tm_mday, startTime.tm_hour, startTime.tm_min, startTime.tm_sec);
    return name;
}

RecordingFile CreateRecordingFile(const std::string& folder, const std::tm& startTime) {
    RecordingFile file;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        file.Problem = "cannot make the folder of recordings " + folder + ": " +
                       (error ? error.message() : std::string("it is not a folder"));
        return file;
    }
    const std::string name = RecordingFileName(startTime);
    for (int number = 1; number <= MaxGamesInOneSecond; ++number) {
        const std::string path = (fs::path(folder) / NumberedName(name, number)).string();
        // Created only if the name is free: the test and the taking are one step.
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
        if (descriptor < 0 && errno == EEXIST) continue;
        if (descriptor < 0) {
            file.Problem = "cannot write the recording " + path + ": " + std::strerror(errno);
            return file;
        }
        ::flock(descriptor, LOCK_SH);  // in use: other games' pruning leaves it alone
        file.Path = path;
        file.Descriptor = descriptor;
        return file;
    }
    file.Problem = "cannot write a recording into " + folder + ": " + std::to_string(MaxGamesInOneSecond) +
                   " games began in this second";
    return file;
}

void KeepNewestRecordings(const std::string& folder, size_t keep, const std::string& spared) {
    std::error_code error;
    std::vector<std::pair<RecordingTime, std::string>> recordings;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statError;
        const std::string name = it->path().filename().string();
        if (name == spared) {
            if (keep > 0) --keep;
        } else if (const std::optional<RecordingTime> time = TimeOfRecording(name);
                   time && it->is_regular_file(statError)) {
            recordings.emplace_back(*time, name);
        }
    }
    if (recordings.size() <= keep) return;
    std::sort(recordings.begin(), recordings.end());
    for (size_t i = 0; i + keep < recordings.size(); ++i) {
        const fs::path path = fs::path(folder) / recordings[i].second;
        if (!BeingWritten(path)) fs::remove(path, error);
    }
}

}  // namespace kelvane
