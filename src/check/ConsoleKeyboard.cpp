#include "check/ConsoleKeyboard.h"

#include "console/TextEntry.h"
#include "world/VirtualKeys.h"
#include "world/World.h"

namespace kelvane::check {

ConsoleKeyboard::ConsoleKeyboard() {
    World world;
    // Every key alone and with the modifiers the layout reads: Shift, right Alt (reported
    // as Ctrl and Alt) and both. The console key itself never types: the frame toggles
    // the console and clears it before the text is read.
    const uint16_t modifierSets[4][3] = {
        {0, 0, 0}, {VK_SHIFT, 0, 0}, {VK_CONTROL, VK_MENU, 0}, {VK_SHIFT, VK_CONTROL, VK_MENU}};
    for (uint16_t key = 1; key < 256; ++key) {
        if (key == ConsoleKey) continue;
        for (const auto& modifiers : modifierSets) {
            world.KeyState.assign(world.KeyState.size(), 0);
            for (const uint16_t modifier : modifiers)
                if (modifier != 0) world.KeyState[modifier] = 1;
            world.KeyState[key] = 1;
            const std::string typed = KeysToText(world);
            if (typed.size() == 1) typable_.set(static_cast<unsigned char>(typed[0]));
        }
    }
    // A dead key's mark followed by a letter composes into one character.
    const std::bitset<256> single = typable_;
    for (int mark = 0; mark < 256; ++mark) {
        if (!single[mark]) continue;
        for (int letter = 0; letter < 256; ++letter) {
            if (!single[letter]) continue;
            std::string pair{static_cast<char>(mark), static_cast<char>(letter)};
            ModifyText(pair);
            if (pair.size() == 1) typable_.set(static_cast<unsigned char>(pair[0]));
        }
    }
}

const ConsoleKeyboard& TheConsoleKeyboard() {
    static const ConsoleKeyboard keyboard;
    return keyboard;
}

std::string ConsoleKeyboard::Untypable(std::string_view text) const {
    std::string untypable;
    for (const char c : text)
        if (!CanType(c) && untypable.find(c) == std::string::npos) untypable += c;
    return untypable;
}

}  // namespace kelvane::check
