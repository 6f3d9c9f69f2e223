#include "platform/sdl/KeyMap.h"

#include <SDL2/SDL_mouse.h>

namespace kelvane {
namespace {

struct ScancodeKey {
    SDL_Scancode Scancode;
    uint16_t Key;
};

// Keys taken by their physical position.
constexpr ScancodeKey kPositional[] = {
    {SDL_SCANCODE_1, 0x31}, {SDL_SCANCODE_2, 0x32}, {SDL_SCANCODE_3, 0x33}, {SDL_SCANCODE_4, 0x34},
    {SDL_SCANCODE_5, 0x35}, {SDL_SCANCODE_6, 0x36}, {SDL_SCANCODE_7, 0x37}, {SDL_SCANCODE_8, 0x38},
    {SDL_SCANCODE_9, 0x39}, {SDL_SCANCODE_0, 0x30},
    {SDL_SCANCODE_GRAVE, VK_OEM_3}, {SDL_SCANCODE_MINUS, VK_OEM_MINUS}, {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4}, {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5}, {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1}, {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA}, {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD}, {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_TAB, VK_TAB}, {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_RETURN2, VK_RETURN}, {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT}, {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL}, {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU}, {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_PAUSE, VK_PAUSE}, {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL}, {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_SPACE, VK_SPACE}, {SDL_SCANCODE_PAGEUP, VK_PRIOR}, {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_END, VK_END}, {SDL_SCANCODE_HOME, VK_HOME}, {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP}, {SDL_SCANCODE_RIGHT, VK_RIGHT}, {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_INSERT, VK_INSERT}, {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_LGUI, 0x5B}, {SDL_SCANCODE_RGUI, 0x5C}, {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY}, {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT}, {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK}, {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
};

// The keypad's digits and point; with Num Lock off they are the navigation keys.
struct KeypadKey {
    SDL_Scancode Scancode;
    uint16_t WithNumLock;
    uint16_t WithoutNumLock;
};
constexpr KeypadKey kKeypad[] = {
    {SDL_SCANCODE_KP_0, 0x60, VK_INSERT}, {SDL_SCANCODE_KP_1, 0x61, VK_END},
    {SDL_SCANCODE_KP_2, 0x62, VK_DOWN},   {SDL_SCANCODE_KP_3, 0x63, VK_NEXT},
    {SDL_SCANCODE_KP_4, 0x64, VK_LEFT},   {SDL_SCANCODE_KP_5, 0x65, 0x0C},
    {SDL_SCANCODE_KP_6, 0x66, VK_RIGHT},  {SDL_SCANCODE_KP_7, 0x67, VK_HOME},
    {SDL_SCANCODE_KP_8, 0x68, VK_UP},     {SDL_SCANCODE_KP_9, 0x69, VK_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
};

}  // namespace

KeyRole RoleOfKey(SDL_Scancode scancode, uint16_t modifiers, bool repeat) {
    const bool enter = scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
    KeyRole role = KeyRole::Game;
    if (scancode == SDL_SCANCODE_F11 || (enter && (modifiers & KMOD_ALT))) role = KeyRole::ToggleFullscreen;
    else if (scancode == SDL_SCANCODE_F12) role = KeyRole::Screenshot;
    else if (scancode == SDL_SCANCODE_F1) role = KeyRole::ToggleHelp;
    else if (scancode == SDL_SCANCODE_ESCAPE) role = KeyRole::PauseOrConsole;
    if (role != KeyRole::Game && repeat) return KeyRole::Ignored;
    return role;
}

uint16_t VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode symbol, uint16_t modifiers) {
    // Letters follow the user's layout; a layout without a Latin letter on the key
    // falls back to the key's US position.
    if (symbol >= SDLK_a && symbol <= SDLK_z) return static_cast<uint16_t>('A' + (symbol - SDLK_a));
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        const bool symbolIsOtherLatin = symbol >= 0x20 && symbol < 0x80;
        if (!symbolIsOtherLatin) return static_cast<uint16_t>('A' + (scancode - SDL_SCANCODE_A));
    }
    for (const ScancodeKey& entry : kPositional) {
        if (entry.Scancode == scancode) return entry.Key;
    }
    for (const KeypadKey& entry : kKeypad) {
        if (entry.Scancode == scancode) {
            return (modifiers & KMOD_NUM) ? entry.WithNumLock : entry.WithoutNumLock;
        }
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return static_cast<uint16_t>(VK_F1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return static_cast<uint16_t>(VK_F1 + 12 + (scancode - SDL_SCANCODE_F13));
    }
    return 0;
}

ShiftState ShiftStateFromSdl(SDL_Scancode scancode, uint16_t modifiers, uint32_t mouseButtons) {
    ShiftState shift = 0;
    if (modifiers & KMOD_SHIFT) shift |= ssShift;
    if (modifiers & KMOD_CTRL) shift |= ssCtrl;
    if (modifiers & KMOD_ALT) shift |= ssAlt;
    // AltGr arrives from Windows as Ctrl and Alt together.
    if (scancode == SDL_SCANCODE_RALT || (modifiers & (KMOD_RALT | KMOD_MODE))) shift |= ssCtrl | ssAlt;
    if (mouseButtons & SDL_BUTTON_LMASK) shift |= ssLeft;
    if (mouseButtons & SDL_BUTTON_RMASK) shift |= ssRight;
    if (mouseButtons & SDL_BUTTON_MMASK) shift |= ssMiddle;
    return shift;
}

}  // namespace kelvane
