#include "media/ProfileFile.h"

#include "base/Windows1250.h"

namespace kelvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool ParseProfileInteger(std::string_view text, int32_t& value) {
    std::string converted(text);
    // "0x" becomes "$" when something follows it.
    if (converted.size() > 2 && converted[0] == '0' && (converted[1] == 'x' || converted[1] == 'X')) {
        converted.replace(0, 2, "$");
    }
    std::string_view rest = converted;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) return false;
    int64_t magnitude = 0;
    if (rest.front() == '$') {
        rest.remove_prefix(1);
        if (rest.empty() || rest.size() > 8) return false;
        for (char c : rest) {
            const int digit = HexDigit(c);
            if (digit < 0) return false;
            magnitude = magnitude * 16 + digit;
        }
        // Eight hex digits fill the 32 bits: $FFFFFFFF is -1.
        int64_t result = negative ? -magnitude : magnitude;
        value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(result)));
        return true;
    }
    for (char c : rest) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > 2147483647LL || result < -2147483648LL) return false;
    value = static_cast<int32_t>(result);
    return true;
}

ProfileFile ProfileFile::Load(const std::string& path, FileLimit limit) {
    try {
        return Parse(ReadFileText(path, limit));
    } catch (const InputFileError& error) {
        if (error.Why == InputFileError::Refusal::TooLarge) throw;
        return ProfileFile();
    }
}

ProfileFile ProfileFile::Parse(std::string_view text) {
    ProfileFile profile;
    // Editors that save UTF-8 put a byte-order mark first; it belongs to no line.
    text = SkipUtf8ByteOrderMark(text);
    std::string section;
    bool inSection = false;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        ++number;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section = std::string(Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            inSection = true;
            profile.sections_.push_back({number, section, close != std::string_view::npos});
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) {
            profile.skipped_.push_back({number, std::string(line), !inSection});
            continue;
        }
        std::string_view value = Trim(line.substr(equals + 1));
        const bool cut = value.size() > MaxValueLength;
        if (cut) value = value.substr(0, MaxValueLength);
        profile.entries_.push_back(
            {number, section, std::string(Trim(line.substr(0, equals))), std::string(value), cut});
    }
    return profile;
}

// The first section of that name, and the first key of that name in it, count.
const ProfileEntry* ProfileFile::FindEntry(std::string_view section, std::string_view key) const {
    const std::string* firstSection = nullptr;
    for (const ProfileEntry& entry : entries_) {
        if (!ProfileNamesEqual(entry.Section, section)) continue;
        if (!firstSection) firstSection = &entry.Section;
        if (entry.Section != *firstSection) continue;
        if (ProfileNamesEqual(entry.Key, key)) return &entry;
    }
    return nullptr;
}

void ProfileFile::Record(std::string_view section, std::string_view key, ProfileReadKind kind,
                         std::string fallback) const {
    if (reads_)
        reads_->push_back({std::string(section), std::string(key), kind, std::move(fallback), FindEntry(section, key)});
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    Record(section, key, ProfileReadKind::String, std::string(fallback));
    const ProfileEntry* entry = FindEntry(section, key);
    return entry ? entry->Value : std::string(fallback);
}

namespace {

int32_t IntegerOf(const ProfileEntry* entry, int32_t fallback) {
    int32_t value = 0;
    return entry && ParseProfileInteger(entry->Value, value) ? value : fallback;
}

}  // namespace

int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    Record(section, key, ProfileReadKind::Integer, std::to_string(fallback));
    return IntegerOf(FindEntry(section, key), fallback);
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    Record(section, key, ProfileReadKind::Bool, fallback ? "1" : "0");
    return IntegerOf(FindEntry(section, key), fallback ? 1 : 0) != 0;
}

}  // namespace kelvane
