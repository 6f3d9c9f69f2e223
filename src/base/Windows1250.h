#pragma once
// The game's 8-bit text is Windows-1250. Conversions from the archive's Unicode strings
// (UTF-16 and UTF-8 values; characters the code page cannot hold become '?') and to
// Unicode for the font and for UTF-8 output.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The code point of one Windows-1250 byte. The five bytes the code page leaves unused
// (0x81, 0x83, 0x88, 0x90, 0x98) map to the control code of the same value, as Windows
// itself converts them.
char32_t Windows1250ToUnicode(uint8_t byte);
// Windows-1250 text as UTF-8.
std::string Windows1250ToUtf8(std::string_view text);

// The Windows-1250 byte of a Unicode character, or '?' when it has none.
char UnicodeToWindows1250(char32_t ch);
// count UTF-16 code units, little-endian, at data (2 * count bytes); unpaired
// surrogates become '?'.
std::string Utf16ToWindows1250(const uint8_t* data, size_t count);
// UTF-8 bytes; a malformed sequence becomes one '?'.
std::string Utf8ToWindows1250(const uint8_t* data, size_t size);
// The characters of well-formed UTF-8 text; false (and `out` incomplete) at the first
// malformed sequence, overlong form or surrogate.
bool DecodeUtf8(std::string_view text, std::u32string& out);

// What an editor saving UTF-8 may put before the first line.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
inline bool StartsWithUtf8ByteOrderMark(std::string_view text) { return text.starts_with(Utf8ByteOrderMark); }
inline std::string_view SkipUtf8ByteOrderMark(std::string_view text) {
    return StartsWithUtf8ByteOrderMark(text) ? text.substr(Utf8ByteOrderMark.size()) : text;
}

}  // namespace kelvane
