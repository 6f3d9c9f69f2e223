#pragma once
// What the console's own keyboard can type, found by asking its key rules (KeysToText and
// the dead-key compositions of ModifyText) about every key, so a ship name that holds
// anything else is known to be one the player can never type.

#include <bitset>
#include <string>
#include <string_view>

namespace kelvane::check {

class ConsoleKeyboard {
public:
    ConsoleKeyboard();
    // True when the Windows-1250 character can be typed into the input line.
    bool CanType(char c) const { return typable_[static_cast<unsigned char>(c)]; }
    // The characters of `text` that cannot be typed, each once, in their order.
    std::string Untypable(std::string_view text) const;

private:
    std::bitset<256> typable_;
};

// The one keyboard of the console, worked out once (it never changes).
const ConsoleKeyboard& TheConsoleKeyboard();

}  // namespace kelvane::check
