#pragma once
// SDL key events become the Windows virtual-key codes the game reads: letters by the
// symbol of the user's layout (so N, D, S and R are where the user sees them), digits,
// punctuation and the key left of 1 by physical position as on a US board (the console
// carries its own layout), right Alt (AltGr) as Ctrl and Alt together.

#include <SDL2/SDL_keyboard.h>

#include <cstdint>

#include "world/VirtualKeys.h"

namespace kelvane {

enum class KeyRole { Game, ToggleFullscreen, Screenshot, ToggleHelp, PauseOrConsole, Ignored };

// What a key-down is for: the desktop's keys are taken before the game sees them.
// Auto-repeats of the window keys and of Esc do nothing: a held F11 must not flicker, and
// a held Esc must not open the console it just closed.
KeyRole RoleOfKey(SDL_Scancode scancode, uint16_t modifiers, bool repeat);

// 0 for a key the game has no code for.
uint16_t VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode symbol, uint16_t modifiers);
// The modifier set of a key-down as Windows reports it.
ShiftState ShiftStateFromSdl(SDL_Scancode scancode, uint16_t modifiers, uint32_t mouseButtons);

}  // namespace kelvane
