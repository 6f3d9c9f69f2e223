#pragma once
// A start that fails once the display is there is shown where the player looks: in a
// message box (SDL's), besides the lines on standard error, which nobody sees when the
// game was started from a desktop's menu. The box waits until the player closes it.

#include <SDL2/SDL.h>

#include <string>
#include <string_view>

#include "text/Language.h"

namespace kelvane {

// The box's title and message, UTF-8: the failure's lines as standard error has them
// (`reason` "the game cannot start: ...", `context` "while reading PATH" or empty) and, when a file the game reads is at fault, that
// kelvane --check says what is wrong with the game's data.
struct StartFailureText {
    std::string Title;
    std::string Message;
};
StartFailureText StartFailureBoxText(std::string_view reason, std::string_view context, const Language& texts);

// Shows the box over the window (none: on its own) and returns once it is closed; false
// when no box could be shown (standard error has the message all the same).
bool ShowStartFailureBox(SDL_Window* window, std::string_view reason, std::string_view context,
                         const Language& texts);

}  // namespace kelvane
