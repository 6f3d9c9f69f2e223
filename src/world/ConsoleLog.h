#pragma once
// The console log: lines tagged with a one-digit colour code, only ever appended.

#include <cstdint>
#include <string>
#include <string_view>

#include "world/World.h"

namespace kelvane {

// The seven console colours (0xBBGGRR), by their digit.
constexpr uint32_t ConsoleColor1 = 0xF0A8A4;
constexpr uint32_t ConsoleColor2 = 0xC67E7A;  // the player's ship destroyed
constexpr uint32_t ConsoleColor3 = 0xD9A6C7;
constexpr uint32_t ConsoleColor4 = 0xC77BAD;  // another ship destroyed
constexpr uint32_t ConsoleColor5 = 0x0099FF;
constexpr uint32_t ConsoleColor6 = 0x0033FF;  // the welcome line
constexpr uint32_t ConsoleColor7 = 0xF2DCC6;  // command messages and the input line
constexpr uint32_t ConsoleWhite = 0xFFFFFF;

// The digit of a console colour; '0' (drawn white) for a colour outside the seven.
char ConsoleColorDigit(uint32_t color);
// The colour a line's first character stands for; white for anything but '1'..'7'.
uint32_t ConsoleColorOfDigit(char digit);

// Appends the colour's digit followed by the text; shown from the next frame on.
void AddConsoleLine(World& world, std::string_view text, uint32_t color);

}  // namespace kelvane
