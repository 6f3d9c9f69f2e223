#include "platform/sdl/StartFailureBox.h"

#include "base/Windows1250.h"

namespace kelvane {

StartFailureText StartFailureBoxText(std::string_view reason, std::string_view context, const Language& texts) {
    // The reason and the path are UTF-8 as they come; the language's words are the game's
    // Windows-1250 text.
    StartFailureText text;
    text.Title = Windows1250ToUtf8(texts.Translate("Kelvane cannot start"));
    text.Message = std::string(reason);
    // A line of standard error ("the game cannot start: ...") begins a sentence here.
    if (!text.Message.empty() && text.Message[0] >= 'a' && text.Message[0] <= 'z') text.Message[0] -= 'a' - 'A';
    if (!context.empty()) text.Message.append("\n").append(context);
    if (context.starts_with("while reading ")) {
        text.Message.append("\n\n").append(Windows1250ToUtf8(texts.Translate(
            "kelvane --check says what is wrong with the ship definitions, pictures and scripts the game reads, "
            "yours included.")));
    }
    return text;
}

bool ShowStartFailureBox(SDL_Window* window, std::string_view reason, std::string_view context,
                         const Language& texts) {
    const StartFailureText text = StartFailureBoxText(reason, context, texts);
    // The window shows only the loading picture now; out of the way, so that no full-screen
    // window can stand over the box, whatever the window manager does with a dialog.
    if (window) SDL_HideWindow(window);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, text.Title.c_str(), text.Message.c_str(), nullptr) == 0;
}

}  // namespace kelvane
