#include "app/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "media/ProfileFile.h"

namespace kelvane {
namespace {

constexpr std::string_view SettingsSection = "Settings";
constexpr std::string_view KeysSection = "Keys";

// One key of [Settings]: how its value is read into the settings and written back.
struct SettingKey {
    std::string_view Name;
    // Stores the value and returns an empty string, or says what a good value is.
    std::string (*Read)(std::string_view text, Settings& settings);
    std::string (*Write)(const Settings& settings);
};

// A whole number from Minimum to Maximum (a flag is a number from 0 to 1), in any form the
// INI reader takes (hexadecimal too), written back in decimal.
template <auto Field, int Minimum, int Maximum>
constexpr SettingKey Number(std::string_view name) {
    return {name,
            [](std::string_view text, Settings& settings) -> std::string {
                int32_t value = 0;
                if (!ParseProfileInteger(text, value) || value < Minimum || value > Maximum) {
                    return "a number from " + std::to_string(Minimum) + " to " + std::to_string(Maximum);
                }
                settings.*Field = static_cast<std::remove_reference_t<decltype(settings.*Field)>>(value);
                return {};
            },
            [](const Settings& settings) { return std::to_string(static_cast<int>(settings.*Field)); }};
}

// A pilot by name (classic, veteran, in any case), written back in lower case.
constexpr SettingKey PilotChoice(std::string_view name) {
    return {name,
            [](std::string_view text, Settings& settings) -> std::string {
                const std::optional<Pilot> pilot = FindPilot(text);
                if (!pilot) return PilotChoices();
                settings.Pilot = *pilot;
                return {};
            },
            [](const Settings& settings) { return std::string(PilotName(settings.Pilot)); }};
}

// Every key of [Settings], in the order the file is written. A new setting is a field of
// Settings and one row here.
constexpr SettingKey SettingKeys[] = {
    Number<&Settings::Fullscreen, 0, 1>("Fullscreen"),
    Number<&Settings::WindowWidth, MinWindowSide, MaxWindowSide>("WindowWidth"),
    Number<&Settings::WindowHeight, MinWindowSide, MaxWindowSide>("WindowHeight"),
    Number<&Settings::Volume, 0, 100>("Volume"),
    PilotChoice("Pilot"),
};

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
    for (const SettingKey& key : SettingKeys) {
        const ProfileEntry* entry = file.FindEntry(SettingsSection, key.Name);
        if (!entry) continue;
        const std::string good = key.Read(entry->Value, loaded.Values);
        if (!good.empty()) return damaged(std::string(key.Name) + "=" + entry->Value + " is not " + good);
    }
    for (const ProfileEntry& entry : file.Entries()) {
        if (ProfileNamesEqual(entry.Section, KeysSection)) {
            loaded.Values.Keys.push_back({entry.Key, entry.Value, entry.Line});
        }
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
    std::string text;
    const auto line = [&text](std::string_view a, std::string_view b, std::string_view c) {
        text.append(a).append(b).append(c).append("\n");
    };
    line("[", SettingsSection, "]");
    for (const SettingKey& key : SettingKeys) line(key.Name, "=", key.Write(settings));
    if (!settings.Keys.empty()) {
        line("\n[", KeysSection, "]");
        for (const KeyBinding& binding : settings.Keys) line(binding.Action, "=", binding.Key);
    }
    return text;
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
