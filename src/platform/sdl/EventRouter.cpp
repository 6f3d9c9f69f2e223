#include "platform/sdl/EventRouter.h"

#include <cstdlib>

#include "platform/sdl/KeyMap.h"

namespace kelvane {

PadInput PadInputOfButton(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return PadInput::A;
        case SDL_CONTROLLER_BUTTON_B: return PadInput::B;
        case SDL_CONTROLLER_BUTTON_X: return PadInput::X;
        case SDL_CONTROLLER_BUTTON_Y: return PadInput::Y;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadInput::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadInput::RightShoulder;
        case SDL_CONTROLLER_BUTTON_BACK: return PadInput::Back;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK: return PadInput::LeftStickClick;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadInput::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadInput::DpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadInput::DpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadInput::DpadRight;
        default: return PadInput::None;
    }
}

EventRouter::~EventRouter() {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.Controller);
}

void EventRouter::Handle(const SDL_Event& event, uint64_t now) {
    switch (event.type) {
        case SDL_QUIT:
            window_.Quit();
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_LOST: window_.FocusChanged(false); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: window_.FocusChanged(true); break;
                case SDL_WINDOWEVENT_SIZE_CHANGED: window_.SizeChanged(); break;
                case SDL_WINDOWEVENT_EXPOSED: window_.Exposed(); break;
                default: break;
            }
            break;
        case SDL_KEYDOWN:
            KeyDown(event.key);
            break;
        case SDL_MOUSEBUTTONDOWN: {
            int button = -1;
            if (event.button.button == SDL_BUTTON_LEFT) button = 0;
            if (event.button.button == SDL_BUTTON_RIGHT) button = 1;
            if (event.button.button == SDL_BUTTON_MIDDLE) button = 2;
            if (button < 0) break;
            int32_t x = 0, y = 0;
            window_.WindowToPicture(event.button.x, event.button.y, x, y);
            game_.MouseClick(button, ShiftStateFromSdl(SDL_SCANCODE_UNKNOWN, SDL_GetModState(), 0), x, y);
            break;
        }
        case SDL_CONTROLLERDEVICEADDED: PadAdded(event.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: PadRemoved(event.cdevice.which); break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            PadButton(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, now);
            break;
        case SDL_CONTROLLERAXISMOTION: PadAxis(event.caxis.which, event.caxis.axis, event.caxis.value, now); break;
        default: break;
    }
}

void EventRouter::KeyDown(const SDL_KeyboardEvent& key) {
    const SDL_Keysym& sym = key.keysym;
    const ShiftState shift = ShiftStateFromSdl(sym.scancode, sym.mod, SDL_GetMouseState(nullptr, nullptr));
    switch (RoleOfKey(sym.scancode, sym.mod, key.repeat != 0)) {
        case KeyRole::ToggleFullscreen: window_.ToggleFullscreen(); return;
        case KeyRole::Screenshot: window_.SaveScreenshot(); return;
        case KeyRole::ToggleHelp: window_.ToggleHelp(); return;
        case KeyRole::PauseOrConsole: PauseOrConsoleKey(shift); return;
        case KeyRole::Ignored: return;
        case KeyRole::Game: break;
    }
    // Auto-repeated key-downs of game keys count like any other.
    uint16_t code = VirtualKeyFromSdl(sym.scancode, sym.sym, sym.mod);
    ShiftState gameShift = shift;
    // The player's keys are for flying; the console types every key as it is.
    if (!game_.ConsoleOpen() && code != ConsoleKey) {
        code = bindings_.InFlight(sym.sym, code);
        gameShift = bindings_.InFlight(shift);
    }
    if (code != 0) game_.KeyPressed(code, gameShift);
}

// Esc pauses as the Pause key does, and closes the console as the console key does.
void EventRouter::PauseOrConsoleKey(ShiftState shift) {
    game_.KeyPressed(game_.ConsoleOpen() ? ConsoleKey : KeyOf(PlayerAction::Pause), shift);
}

void EventRouter::PadAdded(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pads_.count(id)) {
        // Already open (SDL announces pads present at start once more): keep one handle.
        SDL_GameControllerClose(controller);
        return;
    }
    pads_[id].Controller = controller;
}

void EventRouter::PadRemoved(SDL_JoystickID id) {
    const auto found = pads_.find(id);
    if (found == pads_.end()) return;
    ReleasePad(found->second);
    SDL_GameControllerClose(found->second.Controller);
    pads_.erase(found);
}

void EventRouter::ReleasePad(Pad& pad) {
    for (const auto& [button, key] : pad.Buttons) repeat_.Release(key);
    pad.Buttons.clear();
    if (pad.StickX) repeat_.Release(pad.StickX);
    if (pad.StickY) repeat_.Release(pad.StickY);
    pad.StickX = pad.StickY = 0;
}

void EventRouter::PadButton(SDL_JoystickID id, uint8_t button, bool down, uint64_t now) {
    const auto found = pads_.find(id);
    if (found == pads_.end()) return;
    Pad& pad = found->second;
    if (button == SDL_CONTROLLER_BUTTON_START) {
        if (down) PauseOrConsoleKey(0);
        return;
    }
    const uint16_t key = KeyOfPadInput(PadInputOfButton(static_cast<SDL_GameControllerButton>(button)));
    if (key == 0) return;
    const auto held = pad.Buttons.find(button);
    if (down && held == pad.Buttons.end()) {
        pad.Buttons[button] = key;
        Hold(key, now);
    } else if (!down && held != pad.Buttons.end()) {
        repeat_.Release(held->second);
        pad.Buttons.erase(held);
    }
}

void EventRouter::PadAxis(SDL_JoystickID id, uint8_t axis, int value, uint64_t now) {
    const auto found = pads_.find(id);
    if (found == pads_.end()) return;
    Pad& pad = found->second;
    uint16_t* held = nullptr;
    PadInput negative = PadInput::None, positive = PadInput::None;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
        held = &pad.StickX;
        negative = PadInput::StickLeft;
        positive = PadInput::StickRight;
    } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
        held = &pad.StickY;
        negative = PadInput::StickUp;  // pushed away
        positive = PadInput::StickDown;
    } else {
        return;
    }
    uint16_t wanted = *held;
    if (std::abs(value) >= StickPress) wanted = KeyOfPadInput(value < 0 ? negative : positive);
    else if (std::abs(value) < StickRelease) wanted = 0;
    StickHolds(*held, wanted, now);
}

void EventRouter::StickHolds(uint16_t& held, uint16_t key, uint64_t now) {
    if (held == key) return;
    if (held) repeat_.Release(held);
    held = key;
    if (key) Hold(key, now);
}

void EventRouter::Hold(uint16_t key, uint64_t now) {
    if (repeat_.Press(key, now)) game_.KeyPressed(key, 0);
}

void EventRouter::RepeatHeldKeys(uint64_t now) {
    for (uint16_t key : repeat_.Due(now)) game_.KeyPressed(key, 0);
}

}  // namespace kelvane
