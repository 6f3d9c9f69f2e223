// The layout of a definition file: which sections and keys the game reads, which lines it
// skips, and values it cannot take as the numbers they are meant to be.

#include <algorithm>

#include "check/DefinitionCheck.h"
#include "check/Naming.h"

namespace kelvane::check {
namespace {

// The key the game spells its own way; a suggestion of it says so.
constexpr std::string_view OddlySpeltKey = "Accurancy";

bool Known(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& known) { return ProfileNamesEqual(known, name); });
}

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (!Known(names, name)) names.push_back(name);
}

std::string DidYouMean(const std::optional<std::string>& suggestion, const char* open = "", const char* close = "") {
    if (!suggestion) return "";
    return "; did you mean " + std::string(open) + *suggestion + close +
           (*suggestion == OddlySpeltKey ? " (the game's spelling)" : "") + "?";
}

const ProfileRead* ReadOf(const DefinitionInput& input, std::string_view section, std::string_view key) {
    for (const ProfileRead& read : input.Reads)
        if (ProfileNamesEqual(read.Section, section) && ProfileNamesEqual(read.Key, key)) return &read;
    return nullptr;
}

// A blank and then ';': what an INI file elsewhere would take for a trailing comment.
bool HasTrailingComment(std::string_view value) {
    const size_t semicolon = value.find(';');
    return semicolon != std::string_view::npos && semicolon > 0 &&
           (value[semicolon - 1] == ' ' || value[semicolon - 1] == '\t');
}

// The header line of the section whose entries the game reads under that name.
int FirstSectionLine(const ProfileFile& ini, std::string_view section) {
    for (const ProfileEntry& entry : ini.Entries()) {
        if (!ProfileNamesEqual(entry.Section, section)) continue;
        int line = 0;
        for (const ProfileSection& header : ini.Sections())
            if (header.Line < entry.Line) line = header.Line;
        return line;
    }
    return 0;
}

void CheckSkippedLines(const DefinitionInput& input, Report& report) {
    for (const ProfileSkippedLine& skipped : input.Ini.SkippedLines()) {
        std::string message;
        if (skipped.Text.front() == '#' || skipped.Text.starts_with("//"))
            message =
                "comments start with ';' in these files: the game skips this line, but not because it is a comment";
        else if (skipped.BeforeAnySection && skipped.Text.find('=') != std::string::npos)
            message = Shown(skipped.Text) + " stands before the first [section]: the game never reads it";
        else
            message = Shown(skipped.Text) + " is not a [section], a key=value line or a ; comment: the game skips it";
        report.Warning(input.Path, skipped.Line, message);
    }
}

void CheckSections(const DefinitionInput& input, const std::vector<std::string>& sections, Report& report) {
    for (const ProfileSection& header : input.Ini.Sections()) {
        if (!header.Closed) report.Warning(input.Path, header.Line, "[" + header.Name + " has no closing ]");
        if (Known(sections, header.Name)) continue;
        report.Warning(input.Path, header.Line,
                       "unknown section [" + header.Name + "]: the game reads nothing from it" +
                           DidYouMean(NearestName(header.Name, sections), "[", "]"));
    }
}

// A key the game does not read where it stands.
void CheckUnknownKey(const DefinitionInput& input, const ProfileEntry& entry, Report& report) {
    for (const ProfileRead& read : input.Reads) {
        if (ProfileNamesEqual(read.Key, entry.Key)) {
            report.Warning(
                input.Path, entry.Line,
                entry.Key + " belongs in [" + read.Section + "]: the game does not read it in [" + entry.Section + "]");
            return;
        }
    }
    std::vector<std::string> keys;
    for (const ProfileRead& read : input.Reads)
        if (ProfileNamesEqual(read.Section, entry.Section)) AddOnce(keys, read.Key);
    report.Warning(input.Path, entry.Line,
                   "unknown key " + entry.Key + " in [" + entry.Section + "]: the game ignores it" +
                       DidYouMean(NearestName(entry.Key, keys)));
}

// A value the game reads, checked against what it reads it as.
void CheckValue(const DefinitionInput& input, const ProfileRead& read, const ProfileEntry& entry, Report& report) {
    if (entry.Cut)
        report.Warning(input.Path, entry.Line,
                       entry.Key + " is longer than " + std::to_string(ProfileFile::MaxValueLength) +
                           " characters: the game reads only the first " + std::to_string(ProfileFile::MaxValueLength));
    const bool comment = HasTrailingComment(entry.Value);
    if (read.Kind == ProfileReadKind::String) {
        if (comment)
            report.Warning(input.Path, entry.Line,
                           entry.Key + " is " + Shown(entry.Value) +
                               ": values take no trailing ; comments, so all of this is the value");
        return;
    }
    int32_t number = 0;
    if (ParseProfileInteger(entry.Value, number)) return;
    report.Warning(input.Path, entry.Line,
                   entry.Key + " " + Shown(entry.Value) + " is not a number: the game uses the default " +
                       read.Fallback + " instead" + (comment ? " (values take no trailing ; comments)" : ""));
}

}  // namespace

int LineOfKey(const DefinitionInput& input, std::string_view section, std::string_view key) {
    if (const ProfileRead* read = ReadOf(input, section, key); read && read->Entry) return read->Entry->Line;
    for (const ProfileSection& header : input.Ini.Sections())
        if (ProfileNamesEqual(header.Name, section)) return header.Line;
    return 0;
}

void CheckDefinitionLayout(const DefinitionInput& input, Report& report) {
    std::vector<std::string> sections;
    for (const ProfileRead& read : input.Reads) AddOnce(sections, read.Section);
    CheckSkippedLines(input, report);
    CheckSections(input, sections, report);
    for (const ProfileEntry& entry : input.Ini.Entries()) {
        if (!Known(sections, entry.Section)) continue;  // reported once, at its header
        const ProfileRead* read = ReadOf(input, entry.Section, entry.Key);
        if (!read) {
            CheckUnknownKey(input, entry, report);
        } else if (read->Entry == &entry) {
            CheckValue(input, *read, entry, report);
        } else if (read->Entry) {
            report.Warning(
                input.Path, entry.Line,
                entry.Key + " is given again: the game reads the one on line " + std::to_string(read->Entry->Line));
        } else {
            report.Warning(input.Path, entry.Line,
                           "the game reads only the first [" + read->Section + "] section (line " +
                               std::to_string(FirstSectionLine(input.Ini, read->Section)) +
                               ") and ignores this one, whose name is written differently");
        }
    }
}

}  // namespace kelvane::check
