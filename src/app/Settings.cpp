#include "app/Settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "media/ProfileFile.h"

namespace kelvane {
namespace {

constexpr const char* Section = "Settings";

struct Key {
    const char* Name;
    int Settings::*Field;
    int Minimum;
    int Maximum;
};
constexpr Key IntegerKeys[] = {
    {"WindowWidth", &Settings::WindowWidth, MinWindowSide, MaxWindowSide},
    {"WindowHeight", &Settings::WindowHeight, MinWindowSide, MaxWindowSide},
    {"Volume", &Settings::Volume, 0, 100},
};

// A key that is present must hold a whole number in range.
std::optional<int> ReadKey(const ProfileFile& file, const char* key, int minimum, int maximum, bool& present,
                           std::string& problem) {
    // A value no line could hold tells a missing key from an empty one.
    constexpr const char* Missing = "\n";
    const std::string text = file.ReadString(Section, key, Missing);
    present = text != Missing;
    if (!present) return std::nullopt;
    int32_t value = 0;
    if (!ParseProfileInteger(text, value) || value < minimum || value > maximum) {
        problem = std::string(key) + "=" + text + " is not a number from " + std::to_string(minimum) + " to " +
                  std::to_string(maximum);
        return std::nullopt;
    }
    return value;
}

}  // namespace

LoadedSettings ParseSettings(const std::string& text, const std::string& source) {
    LoadedSettings loaded;
    auto damaged = [&](const std::string& why) {
        loaded.Values = Settings{};
        loaded.Problem = source + " is damaged (" + why + "); using the default settings";
        return loaded;
    };
    for (char c : text) {
        // Settings are plain text; a NUL or other control byte means the file was broken.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t') {
            return damaged("it is not text");
        }
    }
    const ProfileFile file = ProfileFile::Parse(text);
    std::string problem;
    bool present = false;
    if (const std::optional<int> fullscreen = ReadKey(file, "Fullscreen", 0, 1, present, problem)) {
        loaded.Values.Fullscreen = *fullscreen == 1;
    }
    if (!problem.empty()) return damaged(problem);
    for (const Key& key : IntegerKeys) {
        if (const std::optional<int> value = ReadKey(file, key.Name, key.Minimum, key.Maximum, present, problem)) {
            loaded.Values.*key.Field = *value;
        }
        if (!problem.empty()) return damaged(problem);
    }
    constexpr const char* Missing = "\n";
    const std::string pilot = file.ReadString(Section, "Pilot", Missing);
    if (pilot != Missing) {
        const std::optional<Pilot> chosen = FindPilot(pilot);
        if (!chosen) return damaged("Pilot=" + pilot + " is not " + PilotChoices());
        loaded.Values.Pilot = *chosen;
    }
    return loaded;
}

LoadedSettings LoadSettings(const std::string& path) {
    LoadedSettings loaded;
    auto unreadable = [&](int code) {
        loaded.Problem = path + " cannot be read (" + std::strerror(code) + "); using the default settings";
        return loaded;
    };
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT) return loaded;  // no settings yet: the defaults, quietly
        return unreadable(errno);
    }
    std::string text;
    char chunk[4096];
    size_t got = 0;
    // Settings are a few lines; a huge file is no settings file.
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() < 65536) text.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int code = errno;
    std::fclose(file);
    if (failed) return unreadable(code ? code : EIO);  // a folder, a bad disk
    if (text.size() >= 65536) {
        loaded.Problem = path + " is damaged (it is far too long); using the default settings";
        return loaded;
    }
    return ParseSettings(text, path);
}

std::string FormatSettings(const Settings& settings) {
    return std::string("[") + Section + "]\n" +
           "Fullscreen=" + (settings.Fullscreen ? "1" : "0") + "\n" +
           "WindowWidth=" + std::to_string(settings.WindowWidth) + "\n" +
           "WindowHeight=" + std::to_string(settings.WindowHeight) + "\n" +
           "Volume=" + std::to_string(settings.Volume) + "\n" +
           "Pilot=" + PilotName(settings.Pilot) + "\n";
}

std::string SaveSettings(const std::string& path, const Settings& settings) {
    const std::filesystem::path target(path);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    if (error) return "cannot make " + target.parent_path().string() + ": " + error.message();
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << FormatSettings(settings);
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return "cannot write " + temporary;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        const std::string why = "cannot write " + path + ": " + error.message();
        std::filesystem::remove(temporary, error);
        return why;
    }
    return {};
}

}  // namespace kelvane
