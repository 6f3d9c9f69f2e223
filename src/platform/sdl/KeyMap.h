#pragma once
// SDL key events become the Windows virtual-key codes the game reads: letters by the
// symbol of the user's layout (so N, D, S and R are where the user sees them), digits,
// punctuation and the key left of 1 by physical position as on a US board (the console
// carries its own layout), right Alt (AltGr) as Ctrl and Alt together.

#include <SDL2/SDL_keyboard.h>

#include <cstdint>

#include "world/VirtualKeys.h"

namespace kelvane {

// 0 for a key the game has no code for.
uint16_t VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode symbol, uint16_t modifiers);
// The modifier set of a key-down as Windows reports it.
ShiftState ShiftStateFromSdl(SDL_Scancode scancode, uint16_t modifiers, uint32_t mouseButtons);

}  // namespace kelvane
