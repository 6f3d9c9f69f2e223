#include <gtest/gtest.h>

#include <SDL2/SDL_mouse.h>

#include "platform/sdl/KeyMap.h"

namespace kelvane {
namespace {

struct KeyCase {
    SDL_Scancode scancode;
    SDL_Keycode symbol;
    uint16_t modifiers;
    uint16_t expected;
    const char* what;
};

TEST(KeyMap, SdlKeysBecomeWindowsVirtualKeys) {
    const KeyCase cases[] = {
        // Letters follow the user's layout: on a German board the key at US "Y" types Z.
        {SDL_SCANCODE_Y, SDLK_z, 0, 'Z', "letter by layout symbol"},
        {SDL_SCANCODE_N, SDLK_n, 0, 'N', "plain letter"},
        {SDL_SCANCODE_Q, 0x0444, 0, 'Q', "Cyrillic layout falls back to the US position"},
        // Digits and punctuation by position, whatever the layout types there.
        {SDL_SCANCODE_2, SDLK_2, 0, 0x32, "digit"},
        {SDL_SCANCODE_2, 0xEC, 0, 0x32, "Czech layout digit key"},
        {SDL_SCANCODE_GRAVE, SDLK_SEMICOLON, 0, 0xC0, "key left of 1 opens the console"},
        {SDL_SCANCODE_MINUS, SDLK_MINUS, 0, 0xBD, "minus"},
        {SDL_SCANCODE_EQUALS, SDLK_EQUALS, 0, 0xBB, "equals"},
        {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, 0, 0xDB, "left bracket"},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 0, 0xBA, "semicolon"},
        {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 0, 0xDE, "quote"},
        {SDL_SCANCODE_SLASH, SDLK_SLASH, 0, 0xBF, "slash"},
        // Game keys.
        {SDL_SCANCODE_SPACE, SDLK_SPACE, 0, VK_SPACE, "space"},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, VK_BACK, "backspace"},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, 0, VK_RETURN, "enter"},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, VK_RETURN, "keypad enter"},
        {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 0, VK_PAUSE, "pause"},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 0, VK_LEFT, "left"},
        {SDL_SCANCODE_UP, SDLK_UP, 0, VK_UP, "up"},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, 0, VK_CONTROL, "ctrl"},
        {SDL_SCANCODE_RALT, SDLK_RALT, 0, VK_MENU, "right alt"},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 0, VK_SHIFT, "shift"},
        {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 0, VK_CAPITAL, "caps lock"},
        {SDL_SCANCODE_F1, SDLK_F1, 0, 0x70, "F1"},
        {SDL_SCANCODE_F12, SDLK_F12, 0, 0x7B, "F12"},
        // Keypad: digits with Num Lock on, navigation without.
        {SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM, 0x67, "keypad 7"},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, 0, VK_HOME, "keypad 7 without num lock"},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 0, 0x6B, "keypad plus"},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 0, 0x6F, "keypad divide"},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM, 0x6E, "keypad decimal"},
        {SDL_SCANCODE_VOLUMEUP, SDLK_VOLUMEUP, 0, 0, "a key the game has no code for"},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyFromSdl(c.scancode, c.symbol, c.modifiers), c.expected) << c.what;
    }
}

TEST(KeyMap, ModifierSetsAsWindowsReportsThem) {
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_A, KMOD_LSHIFT, 0), ssShift);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_A, KMOD_RCTRL, 0), ssCtrl);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_A, KMOD_LALT, 0), ssAlt);
    // AltGr is Ctrl and Alt together, whether SDL calls it right Alt or Mode.
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_Q, KMOD_RALT, 0), ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_Q, KMOD_MODE, 0), ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_RALT, 0, 0), ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_Q, KMOD_RALT | KMOD_LSHIFT, 0), ssCtrl | ssAlt | ssShift);
    EXPECT_EQ(ShiftStateFromSdl(SDL_SCANCODE_A, 0, SDL_BUTTON_LMASK), ssLeft);
}

}  // namespace
}  // namespace kelvane
