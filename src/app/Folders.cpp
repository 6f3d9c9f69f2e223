#include "app/Folders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/GamePaths.h"

namespace kelvane {
namespace {

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// An XDG variable counts only when set to an absolute path; otherwise its default applies.
std::string BaseFolder(const EnvironmentLookup& environment, const char* variable, const char* homeDefault) {
    const std::optional<std::string> value = environment(variable);
    if (value && !value->empty() && value->front() == '/') return WithSlash(*value);
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) return {};
    return WithSlash(*home) + homeDefault;
}

std::string GameSubfolder(const std::string& base) { return base.empty() ? base : base + "kelvane/"; }

// A folder holds the game's data when it has a Data folder (found without regard to case,
// as the game looks up everything under it).
bool HoldsGameData(const std::string& folder) {
    const std::optional<std::string> data = FindEntryNoCase(folder, "Data");
    std::error_code error;
    return data && std::filesystem::is_directory(folder + *data, error);
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (!value) return std::nullopt;
        return std::string(value);
    };
}

UserFolders ResolveUserFolders(const EnvironmentLookup& environment) {
    UserFolders folders;
    folders.Cache = GameSubfolder(BaseFolder(environment, "XDG_CACHE_HOME", ".cache/"));
    folders.Data = GameSubfolder(BaseFolder(environment, "XDG_DATA_HOME", ".local/share/"));
    folders.Config = GameSubfolder(BaseFolder(environment, "XDG_CONFIG_HOME", ".config/"));
    folders.State = GameSubfolder(BaseFolder(environment, "XDG_STATE_HOME", ".local/state/"));
    return folders;
}

PlayerFolders ResolvePlayerFolders(const EnvironmentLookup& environment) {
    const UserFolders folders = ResolveUserFolders(environment);
    return {folders.Data, folders.Cache};
}

std::string ResolvePicturesFolder(const EnvironmentLookup& environment, const UserDirQuery& askUserDir) {
    const std::optional<std::string> variable = environment("XDG_PICTURES_DIR");
    if (variable && !variable->empty() && variable->front() == '/') return WithSlash(*variable);
    if (askUserDir) {
        const std::optional<std::string> answer = askUserDir("PICTURES");
        if (answer && !answer->empty() && answer->front() == '/') return WithSlash(*answer);
    }
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) return {};
    return WithSlash(*home) + "Pictures/";
}

GameDataSearch FindGameData(const std::optional<std::string>& dataOption, const std::string& executableDir) {
    GameDataSearch search;
    if (dataOption) {
        search.GameDir = WithSlash(*dataOption);
        search.LookedAt.push_back(search.GameDir);
        return search;
    }
    const std::string beside = WithSlash(executableDir);
    const std::string installed =
        WithSlash(std::filesystem::path(beside + "../share/kelvane/").lexically_normal().string());
    for (const std::string& candidate : {beside, installed}) {
        search.LookedAt.push_back(candidate);
        if (HoldsGameData(candidate)) {
            search.GameDir = candidate;
            break;
        }
    }
    return search;
}

std::string GameDataNotFound(const GameDataSearch& search) {
    std::string places;
    for (size_t i = 0; i < search.LookedAt.size(); ++i) {
        places += (i == 0 ? "" : i + 1 == search.LookedAt.size() ? " nor " : ", ") + search.LookedAt[i] + "Data/";
    }
    return "cannot find the game's data: " + std::string(search.LookedAt.size() > 1 ? "neither " : "") + places +
           (search.LookedAt.size() > 1 ? " exists" : " does not exist") +
           " (--data DIR names a folder holding Data/ and Scripts/)";
}

std::optional<std::string> AskXdgUserDir(const std::string& kind) {
    // Only plain upper-case words are asked for, so nothing reaches the shell unquoted.
    for (char c : kind) {
        if (c < 'A' || c > 'Z') return std::nullopt;
    }
    FILE* pipe = popen(("xdg-user-dir " + kind + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string answer;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) answer += buffer;
    const int status = pclose(pipe);
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    if (status != 0 || answer.empty()) return std::nullopt;
    return answer;
}

}  // namespace kelvane
