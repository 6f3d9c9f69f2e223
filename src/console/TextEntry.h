#pragma once
// Typing into the console with its own Czech keyboard layout: the keys of the frame
// become characters, dead-key accents compose with the next letter, and Enter runs the
// line. A frame in which one key types reads the key states as the console always has;
// when several keys arrived between two frames, each is typed in turn, in the order they
// came, so that fast typing on a busy machine loses nothing.

#include <span>
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
// What one key-down types on its own, with the modifiers it came with and Caps Lock as it
// then stood (the same rules as KeysToText, for that key alone).
std::string KeyToText(const TypedKey& key);
// Composes caron, acute and ring marks (in that order) with the letter after them.
void ModifyText(std::string& text);
// The console key opens or closes the console and empties the input line; true when it did.
bool ToggleConsole(World& world);
// One frame of typing while the console is open; Enter hands the line to DoConsoleCommand,
// and what the line did becomes the hint. `keys` are the key-downs since the last frame, in
// order: when two or more of them type something, those after the frame's console key are
// typed one by one; otherwise the frame's key states type, as always.
void TextEntry(ConsoleContext& context, std::span<const TypedKey> keys = {});

}  // namespace kelvane
