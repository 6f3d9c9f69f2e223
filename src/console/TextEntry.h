#pragma once
// Typing into the console with its own Czech keyboard layout: the key states of the
// frame become at most one character, dead-key accents compose with the next letter,
// and Enter runs the line.

#include <string>

#include "console/Commands.h"
#include "world/World.h"

namespace kelvane {

// A character is appended only while the line is shorter than this.
constexpr size_t MaxInputLength = 65;

// Windows-1250 accent marks that compose with the following letter.
constexpr char CaronMark = '\xA1';
constexpr char AcuteMark = '\xB4';
constexpr char RingMark = '\xB0';

// The frame's typed text: "", one character, "VK_BACK" or "VK_RETURN"; of several keys
// the last applicable rule wins. With CapsLock set, Shift's entry first becomes 1.
std::string KeysToText(World& world);
// Composes caron, acute and ring marks (in that order) with the letter after them.
void ModifyText(std::string& text);
// The console key opens or closes the console and empties the input line.
void ToggleConsole(World& world);
// One frame of typing while the console is open; Enter hands the line to DoConsoleCommand.
void TextEntry(ConsoleContext& context);

}  // namespace kelvane
