#pragma once
// Conversion of the archive's Unicode strings (UTF-16 and UTF-8 values) to the game's
// 8-bit Windows-1250 text. Characters the code page cannot hold become '?'.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane {

// The Windows-1250 byte of a Unicode character, or '?' when it has none.
char UnicodeToWindows1250(char32_t ch);
// count UTF-16 code units, little-endian, at data (2 * count bytes); unpaired
// surrogates become '?'.
std::string Utf16ToWindows1250(const uint8_t* data, size_t count);
// UTF-8 bytes; a malformed sequence becomes one '?'.
std::string Utf8ToWindows1250(const uint8_t* data, size_t size);

}  // namespace kelvane
