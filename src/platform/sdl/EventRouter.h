#pragma once
// Where SDL's events become the game's key and mouse events. The keys a desktop player
// expects are taken here, before the game's input tables see anything: F11 and Alt+Enter
// switch full screen, F12 saves a screenshot, F1 shows the help, and Esc becomes the
// Pause key (the console key while the console is open). In flight the player's own
// keys become the game's (KeyBindings); the console gets every key as it is. Game pads
// are opened as they come and press the game keys of the actions their buttons and
// stick stand for (PlayerActions), repeated while held.

#include <SDL2/SDL.h>

#include <cstdint>
#include <map>
#include <optional>

#include "game/GameSession.h"
#include "game/PlayerActions.h"
#include "platform/sdl/KeyBindings.h"
#include "platform/sdl/PadRepeat.h"
#include "world/VirtualKeys.h"

namespace kelvane {

// The window side: what the keys of the desktop and the window's own events ask for.
class WindowActions {
public:
    virtual ~WindowActions() = default;
    virtual void ToggleFullscreen() = 0;
    virtual void SaveScreenshot() = 0;
    virtual void ToggleHelp() = 0;
    virtual void Quit() = 0;
    virtual void FocusChanged(bool active) = 0;
    virtual void SizeChanged() = 0;
    virtual void Exposed() = 0;
    virtual void WindowToPicture(int x, int y, int32_t& pictureX, int32_t& pictureY) const = 0;
};

// The pad input a button is (PadInput::None for the others). Start is handled as Esc.
PadInput PadInputOfButton(SDL_GameControllerButton button);

class EventRouter {
public:
    // Stick deflection that holds a direction, and the smaller one that lets it go.
    static constexpr int StickPress = 16000;
    static constexpr int StickRelease = 12000;

    EventRouter(GameInput& game, WindowActions& window, KeyBindings bindings = {})
        : game_(game), window_(window), bindings_(std::move(bindings)) {}
    ~EventRouter();
    EventRouter(const EventRouter&) = delete;
    EventRouter& operator=(const EventRouter&) = delete;

    // now: SDL's millisecond clock, for the pad's repeats.
    void Handle(const SDL_Event& event, uint64_t now);
    // Sends the key-downs of held pad keys whose repeat has come.
    void RepeatHeldKeys(uint64_t now);
    std::optional<uint64_t> NextRepeat() const { return repeat_.NextDue(); }
    size_t PadCount() const { return pads_.size(); }

private:
    struct Pad {
        SDL_GameController* Controller = nullptr;
        uint16_t StickX = 0;  // the key the stick's horizontal axis holds now (0: none)
        uint16_t StickY = 0;
        std::map<uint8_t, uint16_t> Buttons;  // buttons held now and the key each holds
    };

    void KeyDown(const SDL_KeyboardEvent& key);
    void PauseOrConsoleKey(ShiftState shift);
    void PadAdded(int deviceIndex);
    void PadRemoved(SDL_JoystickID id);
    void PadButton(SDL_JoystickID id, uint8_t button, bool down, uint64_t now);
    void PadAxis(SDL_JoystickID id, uint8_t axis, int value, uint64_t now);
    // Moves what one stick axis holds from `held` to `key` (0: nothing).
    void StickHolds(uint16_t& held, uint16_t key, uint64_t now);
    void Hold(uint16_t key, uint64_t now);
    void ReleasePad(Pad& pad);

    GameInput& game_;
    WindowActions& window_;
    KeyBindings bindings_;
    PadRepeat repeat_;
    std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace kelvane
