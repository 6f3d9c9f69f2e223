#include "console/TextEntry.h"

#include <algorithm>
#include <string_view>

#include "console/InputState.h"
#include "world/VirtualKeys.h"

namespace kelvane {
namespace {

struct KeyChar {
    uint16_t Code;
    char Character;
};

struct KeyPair {
    uint16_t Code;
    char WithShift;
    char WithoutShift;
};

struct Composition {
    char Letter;
    char Composed;
};

// The number row and two punctuation keys type Czech letters without Shift
// (Windows-1250 bytes).
constexpr KeyChar CzechLetters[] = {
    {0x32, '\xEC'},  // ě
    {0x33, '\x9A'},  // š
    {0x34, '\xE8'},  // č
    {0x35, '\xF8'},  // ř
    {0x36, '\x9E'},  // ž
    {0x37, '\xFD'},  // ý
    {0x38, '\xE1'},  // á
    {0x39, '\xED'},  // í
    {0x30, '\xE9'},  // é
    {0xDB, '\xFA'},  // ú
    {0xBA, '\xF9'},  // ů
};

constexpr KeyPair ShiftPairs[] = {
    {0xBE, ':', '.'},
    {0xBC, '?', ','},
    {0xDE, '!', '\xA7'},  // §
    {0xDD, '(', ')'},
    {0xC0, RingMark, ';'},
    {0xBD, '%', '='},
    {0xDC, '\'', '\xA8'},  // ¨
    {0xBF, '_', '-'},
    {0xBB, CaronMark, AcuteMark},
};

// Right-hand Alt, which reports itself as Ctrl and Alt together.
constexpr KeyChar AltGrChars[] = {
    {0x51, '\\'}, {0x56, '@'}, {0x58, '#'}, {0x43, '&'},
    {0x42, '{'},  {0x4E, '}'}, {0x46, '['}, {0x47, ']'},
};

constexpr KeyChar KeypadOperators[] = {
    {0x6B, '+'}, {0x6D, '-'}, {0x6A, '*'}, {0x6F, '/'}, {0x6E, ','},
};

constexpr Composition CaronLetters[] = {
    {'C', '\xC8'}, {'D', '\xCF'}, {'E', '\xCC'}, {'N', '\xD2'},  // Č Ď Ě Ň
    {'R', '\xD8'}, {'S', '\x8A'}, {'T', '\x8D'}, {'Z', '\x8E'},  // Ř Š Ť Ž
    {'c', '\xE8'}, {'d', '\xEF'}, {'e', '\xEC'}, {'n', '\xF2'},  // č ď ě ň
    {'r', '\xF8'}, {'s', '\x9A'}, {'t', '\x9D'}, {'z', '\x9E'},  // ř š ť ž
};

constexpr Composition AcuteLetters[] = {
    {'A', '\xC1'}, {'E', '\xC9'}, {'I', '\xCD'}, {'O', '\xD3'},  // Á É Í Ó
    {'U', '\xDA'}, {'Y', '\xDD'}, {'a', '\xE1'}, {'e', '\xE9'},  // Ú Ý á é
    {'i', '\xED'}, {'o', '\xF3'}, {'u', '\xFA'}, {'y', '\xFD'},  // í ó ú ý
};

constexpr Composition RingLetters[] = {
    {'U', '\xD9'},  // Ů
};

template <size_t N>
void ComposePass(std::string& text, char mark, const Composition (&table)[N]) {
    for (size_t p = 0; p < text.size(); ++p) {
        if (text[p] != mark || p + 1 >= text.size()) continue;
        for (const Composition& entry : table) {
            if (text[p + 1] == entry.Letter) {
                text[p] = entry.Composed;
                text.erase(p + 1, 1);
                break;
            }
        }
    }
}


// The console layout's rules over the keys that `active` says are down; each applicable
// rule replaces the result, so the last one wins.
template <class Active>
std::string TextOfKeys(const Active& active) {
    const bool shift = active(VK_SHIFT);
    const bool altGr = active(VK_CONTROL) && active(VK_MENU);
    std::string result;
    for (uint16_t code = 'A'; code <= 'Z'; ++code) {
        if (!active(code)) continue;
        const char upper = static_cast<char>(code);
        result = std::string(1, shift && !altGr ? upper : static_cast<char>(upper - 'A' + 'a'));
    }
    for (uint16_t code = '0'; code <= '9'; ++code) {
        if (active(code) && shift) result = std::string(1, static_cast<char>(code));
    }
    for (const KeyChar& key : CzechLetters) {
        if (active(key.Code) && !shift) result = std::string(1, key.Character);
    }
    for (const KeyPair& key : ShiftPairs) {
        if (active(key.Code)) result = std::string(1, shift ? key.WithShift : key.WithoutShift);
    }
    if (active(0x31) && !shift) result.assign(1, '+');
    if (active(0xBA) && shift) result.assign(1, '"');
    if (active(0xDB) && shift) result.assign(1, '/');
    if (altGr) {
        for (const KeyChar& key : AltGrChars) {
            if (active(key.Code)) result = std::string(1, key.Character);
        }
    }
    for (uint16_t code = VK_NUMPAD0; code <= VK_NUMPAD0 + 9; ++code) {
        if (active(code)) result = std::string(1, static_cast<char>(code - 0x30));
    }
    for (const KeyChar& key : KeypadOperators) {
        if (active(key.Code)) result = std::string(1, key.Character);
    }
    if (active(VK_SPACE)) result.assign(1, ' ');
    if (active(VK_BACK)) result = "VK_BACK";
    if (active(VK_RETURN)) result = "VK_RETURN";
    return result;
}

// One step of typing: Enter runs the line (which is not echoed), Backspace takes a
// character back, anything else is appended while the line has room; then the marks compose.
void Type(ConsoleContext& context, const std::string& typed) {
    World& world = context.World;
    if (typed == "VK_RETURN") {
        if (!world.InputLine.empty()) {
            world.LastCommand = world.InputLine;
            // The command may change anything; run it on a copy of the line it was given.
            const std::string line = world.InputLine;
            context.Hint = DoConsoleCommand(context, line);
            world.InputLine.clear();
        }
    } else if (typed == "VK_BACK") {
        if (!world.InputLine.empty()) world.InputLine.pop_back();
    } else if (world.InputLine.size() < MaxInputLength) {
        world.InputLine += typed;
    }
    ModifyText(world.InputLine);
}

}  // namespace

std::string KeysToText(World& world) {
    if (world.CapsLock == 1) world.KeyState[VK_SHIFT] = 1;
    return TextOfKeys([&world](uint16_t code) { return KeyActive(world, code); });
}

std::string KeyToText(const TypedKey& key) {
    return TextOfKeys([&key](uint16_t code) {
        switch (code) {
            case VK_SHIFT: return key.Code == code || (key.Shift & ssShift) != 0 || key.CapsLock == 1;
            case VK_CONTROL: return key.Code == code || (key.Shift & ssCtrl) != 0;
            case VK_MENU: return key.Code == code || (key.Shift & ssAlt) != 0;
            default: return key.Code == code;
        }
    });
}

void ModifyText(std::string& text) {
    ComposePass(text, CaronMark, CaronLetters);
    ComposePass(text, AcuteMark, AcuteLetters);
    ComposePass(text, RingMark, RingLetters);
}

bool ToggleConsole(World& world) {
    if (!KeyActive(world, ConsoleKey)) return false;
    world.ConsoleOpen = !world.ConsoleOpen;
    // Cleared so that no later reader of this frame sees the key.
    world.KeyState[ConsoleKey] = 0;
    world.InputLine.clear();
    return true;
}

void TextEntry(ConsoleContext& context, std::span<const TypedKey> keys) {
    World& world = context.World;
    const auto types = [](const TypedKey& key) { return key.Code != ConsoleKey && !KeyToText(key).empty(); };
    if (std::count_if(keys.begin(), keys.end(), types) < 2) {
        if (KeyActive(world, VK_UP)) world.InputLine = world.LastCommand;
        Type(context, KeysToText(world));
        return;
    }
    // Caps Lock holds Shift for the rest of the frame, as when one key types.
    if (world.CapsLock == 1) world.KeyState[VK_SHIFT] = 1;
    // Keys that came before the console key were pressed while the console was closed.
    const auto opened = std::find_if(keys.rbegin(), keys.rend(), [](const TypedKey& key) { return key.Code == ConsoleKey; });
    for (auto key = opened.base(); key != keys.end(); ++key) {
        if (key->Code == VK_UP) world.InputLine = world.LastCommand;
        Type(context, KeyToText(*key));
    }
}

}  // namespace kelvane
