// Ship definition files: the profile reader with the keys the game asks for, and the
// integer rule checked against a plain reading of its description.

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "media/ProfileFile.h"

namespace kelvane::fuzz {

namespace {

struct Key {
    const char* Section;
    const char* Name;
};

// What a ship definition is read for, plus two names in odd case and a key outside
// any section the game knows.
const Key Keys[] = {
    {"StrengthIndices", "PrimaryWeapon"},
    {"StrengthIndices", "SecondaryWeapon"},
    {"StrengthIndices", "Accurancy"},
    {"StrengthIndices", "Shields"},
    {"StrengthIndices", "Hull"},
    {"StrengthIndices", "Speed"},
    {"StrengthIndices", "Manoeuvrability"},
    {"OverallInfo", "ClassName"},
    {"OverallInfo", "ShipName"},
    {"OverallInfo", "FullShipName"},
    {"OverallInfo", "Crew"},
    {"OverallInfo", "Length"},
    {"OverallInfo", "ShipDescription1"},
    {"OverallInfo", "ShipDescription5"},
    {"Weapons", "PrimaryWeaponType"},
    {"Weapons", "SecondaryWeaponType"},
    {"Weapons", "SpecialDevice"},
    {"ExploDefinition", "ShipDisappearance"},
    {"ExploDefinition", "Explo1"},
    {"ExploDefinition", "Angle2Explo"},
    {"ExploDefinition", "Distance3Explo"},
    {"ExploDefinition", "Delay4Explo"},
    {"ExploDefinition", "Type1Explo"},
    {"explodefinition", "TYPE2EXPLO"},
    {"", ""},
    {"Unknown", "Key"},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool AllOf(std::string_view text, bool (*accept)(char)) {
    for (char c : text)
        if (!accept(c)) return false;
    return true;
}

// The rule as written: an optional sign and decimal digits, in the 32-bit range; or up
// to eight hexadecimal digits after "$" (sign allowed) or after a leading "0x", taken as
// 32 bits. Nothing else is a number.
bool ReferenceInteger(std::string_view text, int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8 || !AllOf(digits, IsHexDigit)) return false;
        value = static_cast<int32_t>(
            static_cast<uint32_t>(std::strtoull(std::string(digits).c_str(), nullptr, 16)));
        return true;
    }
    bool negative = false;
    std::string_view rest = text;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest[0] == '$') {
        const std::string_view digits = rest.substr(1);
        if (digits.empty() || digits.size() > 8 || !AllOf(digits, IsHexDigit)) return false;
        const uint32_t magnitude =
            static_cast<uint32_t>(std::strtoull(std::string(digits).c_str(), nullptr, 16));
        value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
        return true;
    }
    if (rest.empty() || !AllOf(rest, IsDigit)) return false;
    errno = 0;
    const long long parsed = std::strtoll(std::string(text).c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

void CheckIntegerRule(std::string_view text) {
    int32_t expected = 0, got = 0;
    const bool expectedOk = ReferenceInteger(text, expected);
    const bool gotOk = ParseProfileInteger(text, got);
    Check(expectedOk == gotOk, "integer rule accepts or refuses the wrong text");
    Check(!gotOk || got == expected, "integer rule reads the wrong value");
}

}  // namespace

void FuzzDefinition(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileFile ini = ProfileFile::Parse(text);
    for (const Key& key : Keys) {
        const std::string value = ini.ReadString(key.Section, key.Name, "\x01");
        Check(value.size() <= ProfileFile::MaxValueLength, "value longer than the profile limit");
        Check(value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back())), "value not trimmed");
        const bool missing = value == "\x01";
        int32_t number = 0;
        const bool numeric = !missing && ParseProfileInteger(value, number);
        for (const int32_t fallback : {0, -7}) {
            Check(ini.ReadInteger(key.Section, key.Name, fallback) == (numeric ? number : fallback),
                  "ReadInteger disagrees with ReadString and the integer rule");
        }
        Check(ini.ReadBool(key.Section, key.Name, true) == (numeric ? number != 0 : true),
              "ReadBool disagrees with ReadInteger");
    }
    // Each line as a value, and the whole input once.
    for (size_t start = 0; start <= size;) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = size;
        CheckIntegerRule(text.substr(start, end - start));
        start = end + 1;
    }
    CheckIntegerRule(text);
}

}  // namespace kelvane::fuzz
