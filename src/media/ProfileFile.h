#pragma once
// INI files read with the classic profile-string rules: section and key names match
// without regard to letter case, values are trimmed of surrounding blanks, a missing
// file, section or key gives the default, and at most 2047 characters of a value are
// seen. Text is 8-bit; a UTF-8 byte-order mark at the very start is skipped.
//
// Besides the values, a parsed file keeps where everything stood (line numbers, the
// section headers, the lines it skipped) and can record every value asked of it, so
// that the definition checker sees a file exactly as the game's reader does.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/InputFile.h"

namespace kelvane {

// One key=value line inside a section.
struct ProfileEntry {
    int Line = 0;         // 1-based
    std::string Section;  // as written
    std::string Key;
    std::string Value;    // trimmed and cut to MaxValueLength characters
    bool Cut = false;     // the value was longer than that
};

// A section header line.
struct ProfileSection {
    int Line = 0;
    std::string Name;     // trimmed, as written
    bool Closed = true;   // false: the line has no ']' (the rest of the line is the name)
};

// A line the reader skips although it is neither blank nor a ';' comment.
struct ProfileSkippedLine {
    int Line = 0;
    std::string Text;        // trimmed
    bool BeforeAnySection;   // before the first header: even a key=value line counts for nothing
};

enum class ProfileReadKind : uint8_t { String, Integer, Bool };

// One value asked of the file, with the entry that answered (nullptr: the default applied).
struct ProfileRead {
    std::string Section;
    std::string Key;
    ProfileReadKind Kind;
    std::string Fallback;  // the default, as text ("0", "1", "NONE", ...)
    const ProfileEntry* Entry;
};

class ProfileFile {
public:
    static constexpr size_t MaxValueLength = 2047;

    // A file that cannot be read behaves as an empty one; one larger than `limit` is
    // refused (an InputFileError), since reading it would take the memory it fills.
    static ProfileFile Load(const std::string& path, FileLimit limit);
    static ProfileFile Parse(std::string_view text);

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal with an optional sign, or hexadecimal after "$" or "0x"; anything else
    // (trailing characters, a value out of the 32-bit range) gives the default.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // Read as an integer with default 0 or 1; any value but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // The entry that answers for a key: the first key of that name in the first section
    // of that name; nullptr when there is none.
    const ProfileEntry* FindEntry(std::string_view section, std::string_view key) const;

    const std::vector<ProfileEntry>& Entries() const { return entries_; }
    const std::vector<ProfileSection>& Sections() const { return sections_; }
    const std::vector<ProfileSkippedLine>& SkippedLines() const { return skipped_; }

    // From now on every Read* call appends what it asked and what answered to `reads`
    // (nullptr: stop recording). The file must outlive the record's entry pointers.
    void RecordReads(std::vector<ProfileRead>* reads) const { reads_ = reads; }

private:
    void Record(std::string_view section, std::string_view key, ProfileReadKind kind, std::string fallback) const;

    std::vector<ProfileEntry> entries_;
    std::vector<ProfileSection> sections_;
    std::vector<ProfileSkippedLine> skipped_;
    mutable std::vector<ProfileRead>* reads_ = nullptr;
};

// The integer rule on its own, for tests and other readers.
bool ParseProfileInteger(std::string_view text, int32_t& value);

// Section and key names compare this way: only the letters a to z ignore case.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

}  // namespace kelvane
