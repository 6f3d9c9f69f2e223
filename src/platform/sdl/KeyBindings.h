#pragma once
// The player's own keys (settings.ini's [Keys]) where SDL's key events become the game's:
// a bound key sends its action's game key; a key that does an action by default but whose
// action has moved to another key, or which another action has taken, does nothing in
// flight. The rules, the runner and recordings only ever see the game's own keys, so a
// recording made with any bindings plays back anywhere; and the console, with its own
// keyboard layout, gets every key as it is.

#include <SDL2/SDL_keycode.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "game/PlayerActions.h"
#include "game/Settings.h"

namespace kelvane {

class KeyBindings {
public:
    // The game's own keys.
    KeyBindings() = default;
    // The [Keys] lines, in the file's order, read with SDL's video up (the player's
    // keyboard layout decides which key is which). A line that cannot be used (no such action,
    // an action given twice, no key of that name, a key the desktop keeps, a key another
    // action has already) is told through `say` as one line starting "FILE:LINE: ", and
    // its action keeps the key it had.
    KeyBindings(const std::vector<KeyBinding>& lines, const std::string& file,
                const std::function<void(const std::string&)>& say);

    // The game key a key-down sends in flight: `symbol` is the key as SDL names it in the
    // player's layout, `code` the game's own code for it (0: none). 0: the key sends nothing.
    uint16_t InFlight(SDL_Keycode symbol, uint16_t code) const;
    // The modifier set a key-down carries in flight. A held Ctrl or Alt counts with every
    // key as the special device's and the torpedo's key; once either of those actions has
    // another key, or Ctrl or Alt another action, it no longer does.
    ShiftState InFlight(ShiftState shift) const;

    // The key an action has now: SDL's name of its bound key, the table's words for the
    // game's own key, or empty when another action has taken that. UTF-8.
    std::string KeyName(PlayerAction action) const;
    // The same for every action, as the help shows them (Windows-1250).
    ActionKeyNames HelpKeyNames() const;

private:
    // The game code of a bound key, as its default would send it.
    static uint16_t GameCodeOf(SDL_Keycode key);

    std::array<SDL_Keycode, PlayerActionCount> bound_{};  // SDLK_UNKNOWN: the game's own key
    bool ctrlMoved_ = false;
    bool altMoved_ = false;
};

}  // namespace kelvane
