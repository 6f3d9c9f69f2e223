#pragma once
// INI files read with the classic profile-string rules: section and key names match
// without regard to letter case, values are trimmed of surrounding blanks, a missing
// file, section or key gives the default, and at most 2047 characters of a value are
// seen. Text is 8-bit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class ProfileFile {
public:
    static constexpr size_t MaxValueLength = 2047;

    // A file that cannot be read behaves as an empty one.
    static ProfileFile Load(const std::string& path);
    static ProfileFile Parse(std::string_view text);

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal with an optional sign, or hexadecimal after "$" or "0x"; anything else
    // (trailing characters, a value out of the 32-bit range) gives the default.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // Read as an integer with default 0 or 1; any value but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

private:
    struct Entry {
        std::string Section;  // as written
        std::string Key;
        std::string Value;
    };
    const Entry* Find(std::string_view section, std::string_view key) const;

    std::vector<Entry> entries_;
};

// The integer rule on its own, for tests and other readers.
bool ParseProfileInteger(std::string_view text, int32_t& value);

}  // namespace kelvane
