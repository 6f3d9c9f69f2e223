#pragma once
// Where SDL's events become the game's key and mouse events. The keys a desktop player
// expects are taken here, before the game's input tables see anything: F11 and Alt+Enter
// switch full screen, F12 saves a screenshot, F1 shows the help, and Esc becomes the
// Pause key (the console key while the console is open). Game pads are opened as they
// come and produce the same key events as the keyboard, repeated while held.

#include <SDL2/SDL.h>

#include <cstdint>
#include <map>
#include <optional>

#include "platform/sdl/PadRepeat.h"
#include "world/VirtualKeys.h"

namespace kelvane {

// The game side: the form's event handlers and the one thing of its state Esc needs.
class GameInput {
public:
    virtual ~GameInput() = default;
    virtual void KeyPressed(uint16_t key, ShiftState shift) = 0;
    // x, y already in picture pixels.
    virtual void MouseClick(int button, ShiftState shift, int32_t x, int32_t y) = 0;
    virtual bool ConsoleOpen() const = 0;
};

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

enum class KeyRole { Game, ToggleFullscreen, Screenshot, ToggleHelp, PauseOrConsole, Ignored };

// What a key-down is for. Auto-repeats of the window keys and of Esc do nothing: a held
// F11 must not flicker, and a held Esc must not open the console it just closed.
KeyRole RoleOfKey(SDL_Scancode scancode, uint16_t modifiers, bool repeat);

// The key a pad button stands for (0: none). Start is handled as Esc.
uint16_t KeyOfPadButton(SDL_GameControllerButton button);

class EventRouter {
public:
    // Stick deflection that holds a direction, and the smaller one that lets it go.
    static constexpr int StickPress = 16000;
    static constexpr int StickRelease = 12000;

    EventRouter(GameInput& game, WindowActions& window) : game_(game), window_(window) {}
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
    PadRepeat repeat_;
    std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace kelvane
