#pragma once
// The game's strings are Windows-1250 bytes; the font wants Unicode code points.

#include <cstdint>

namespace kelvane {

// The code point of one Windows-1250 byte. The five bytes the code page leaves unused
// (0x81, 0x83, 0x88, 0x90, 0x98) map to the control code of the same value, as Windows
// itself converts them.
char32_t Cp1250ToUnicode(uint8_t byte);

}  // namespace kelvane
