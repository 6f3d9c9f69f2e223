#include "app/SettingsFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "base/FailureReport.h"
#include "base/FileError.h"
#include "base/FileWriter.h"
#include "base/InputFile.h"
#include "media/ProfileFile.h"
#include "text/Language.h"

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

// A language's name; whether it has a catalogue is the game's to say when it starts.
constexpr SettingKey LanguageName(std::string_view name) {
    return {name,
            [](std::string_view text, Settings& settings) -> std::string {
                if (!IsLanguageName(text)) return "a language (original, en, ...)";
                settings.Language = std::string(text);
                return {};
            },
            [](const Settings& settings) { return settings.Language; }};
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

// Text kept as written (whoever uses it makes it fit).
template <auto Field>
constexpr SettingKey Text(std::string_view name) {
    return {name,
            [](std::string_view text, Settings& settings) -> std::string {
                settings.*Field = std::string(text);
                return {};
            },
            [](const Settings& settings) { return settings.*Field; }};
}

// Every key of [Settings], in the order the file is written. A new setting is a field of
// Settings and one row here.
constexpr SettingKey SettingKeys[] = {
    Number<&Settings::Fullscreen, 0, 1>("Fullscreen"),
    Number<&Settings::WindowWidth, MinWindowSide, MaxWindowSide>("WindowWidth"),
    Number<&Settings::WindowHeight, MinWindowSide, MaxWindowSide>("WindowHeight"),
    Number<&Settings::Volume, 0, 100>("Volume"),
    LanguageName("Language"),
    PilotChoice("Pilot"),
    Text<&Settings::PlayerName>("PlayerName"),
    Number<&Settings::Port, 1, 65535>("Port"),
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
    // Words before any section, or a file of sections none of which is the game's, are no settings.
    const std::vector<ProfileSkippedLine>& skipped = file.SkippedLines();
    if (!skipped.empty() && skipped.front().BeforeAnySection)
        return damaged("line " + std::to_string(skipped.front().Line) + " is no setting: \"" +
                       skipped.front().Text.substr(0, 40) + "\"");
    const auto& sections = file.Sections();
    const bool ours = std::any_of(sections.begin(), sections.end(), [](const ProfileSection& section) {
        return ProfileNamesEqual(section.Name, SettingsSection) || ProfileNamesEqual(section.Name, KeysSection);
    });
    if (!ours && !sections.empty()) return damaged("it has no [Settings] section");
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
    std::string text;
    try {
        // Settings are a few lines; a huge file is no settings file.
        text = ReadFileText(path, {64 * 1024, "the settings file"});
    } catch (const InputFileError& error) {
        if (error.SystemError == ENOENT) return loaded;  // no settings yet: the defaults, quietly
        const bool tooLarge = error.Why == InputFileError::Refusal::TooLarge;
        loaded.Problem = path + (tooLarge ? " is damaged (" : " cannot be read (") + error.Reason +
                         "); using the default settings";
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

Result<void> SaveSettings(const std::string& path, const Settings& settings) {
    const std::filesystem::path target(path);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    if (error)
        return Failure{ExitStatus::WriteFailed, "cannot make " + target.parent_path().string() + ": " + error.message(), {}};
    return Catching<FileError>(ExitStatus::WriteFailed, [&] { WriteFile(path, FormatSettings(settings)); });
}

}  // namespace kelvane
