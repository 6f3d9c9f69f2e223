#include "platform/sdl/KeyBindings.h"

#include <SDL2/SDL_keyboard.h>

#include "base/Windows1250.h"
#include "platform/sdl/KeyMap.h"

namespace kelvane {
namespace {

size_t IndexOf(PlayerAction action) { return static_cast<size_t>(action); }

// Why a key cannot be an action's: the desktop's keys and the console key act before any
// binding would. Empty when it can be.
std::string KeptFor(SDL_Keycode key) {
    const SDL_Scancode scancode = SDL_GetScancodeFromKey(key);
    switch (RoleOfKey(scancode, 0, false)) {
        case KeyRole::ToggleHelp: return "it shows the help";
        case KeyRole::ToggleFullscreen: return "it switches full screen";
        case KeyRole::Screenshot: return "it saves a screenshot";
        case KeyRole::PauseOrConsole: return "it pauses and closes the console";
        case KeyRole::Game:
        case KeyRole::Ignored: break;
    }
    if (VirtualKeyFromSdl(scancode, key, 0) == ConsoleKey) return "it opens the console";
    return {};
}

// Right Alt (AltGr) arrives as Ctrl and Alt together.
bool IsCtrl(SDL_Keycode key) { return key == SDLK_LCTRL || key == SDLK_RCTRL || key == SDLK_RALT || key == SDLK_MODE; }
bool IsAlt(SDL_Keycode key) { return key == SDLK_LALT || key == SDLK_RALT || key == SDLK_MODE; }

}  // namespace

KeyBindings::KeyBindings(const std::vector<KeyBinding>& lines, const std::string& file,
                         const std::function<void(const std::string&)>& say) {
    struct Refused {
        const KeyBinding* Line;
        std::string Why;
        const PlayerActionRow* Keeps;  // the action that keeps its key, when the line named one
    };
    std::vector<Refused> refused;
    std::array<int, PlayerActionCount> boundAt{};
    for (const KeyBinding& line : lines) {
        const PlayerActionRow* row = FindPlayerAction(line.Action);
        if (!row) {
            refused.push_back({&line, "there is no action " + line.Action + " (the actions are " +
                                          PlayerActionNames() + ")", nullptr});
            continue;
        }
        const size_t index = IndexOf(row->Action);
        if (bound_[index] != SDLK_UNKNOWN) {
            refused.push_back({&line, std::string(row->Name) + " has its key from line " +
                                          std::to_string(boundAt[index]) + " already", nullptr});
            continue;
        }
        const SDL_Keycode key = SDL_GetKeyFromName(line.Key.c_str());
        std::string why;
        if (key == SDLK_UNKNOWN) {
            why = "SDL knows no key called \"" + line.Key + "\"";
        } else if (const std::string kept = KeptFor(key); !kept.empty()) {
            why = std::string(SDL_GetKeyName(key)) + " cannot be bound: " + kept;
        } else {
            for (size_t other = 0; other < PlayerActionCount; ++other) {
                if (bound_[other] != key) continue;
                why = std::string(SDL_GetKeyName(key)) + " is " + std::string(PlayerActions[other].Name) +
                      "'s key already (line " + std::to_string(boundAt[other]) + ")";
            }
        }
        if (!why.empty()) {
            refused.push_back({&line, why, row});
            continue;
        }
        bound_[index] = key;
        boundAt[index] = line.Line;
    }
    ctrlMoved_ = bound_[IndexOf(PlayerAction::Special)] != SDLK_UNKNOWN;
    altMoved_ = bound_[IndexOf(PlayerAction::FireSecondary)] != SDLK_UNKNOWN;
    for (SDL_Keycode key : bound_) {
        ctrlMoved_ = ctrlMoved_ || IsCtrl(key);
        altMoved_ = altMoved_ || IsAlt(key);
    }
    // Told once every line is read, so that each says the key its action really keeps.
    for (const Refused& r : refused) {
        std::string text = file + ":" + std::to_string(r.Line->Line) + ": " + r.Line->Action + "=" + r.Line->Key +
                           ": " + r.Why;
        if (r.Keeps) {
            const std::string kept = KeyName(r.Keeps->Action);
            text += "; " + std::string(r.Keeps->Name) + (kept.empty() ? " has no key" : " keeps " + kept);
        }
        say(text);
    }
}

uint16_t KeyBindings::GameCodeOf(SDL_Keycode key) {
    return VirtualKeyFromSdl(SDL_GetScancodeFromKey(key), key, KMOD_NUM);
}

uint16_t KeyBindings::InFlight(SDL_Keycode symbol, uint16_t code) const {
    if (symbol != SDLK_UNKNOWN) {
        for (size_t i = 0; i < PlayerActionCount; ++i) {
            if (bound_[i] == symbol) return PlayerActions[i].Key;
        }
    }
    const PlayerActionRow* action = ActionOfKey(code);
    if (action && bound_[IndexOf(action->Action)] != SDLK_UNKNOWN) return 0;
    return code;
}

ShiftState KeyBindings::InFlight(ShiftState shift) const {
    if (ctrlMoved_) shift &= static_cast<ShiftState>(~ssCtrl);
    if (altMoved_) shift &= static_cast<ShiftState>(~ssAlt);
    return shift;
}

std::string KeyBindings::KeyName(PlayerAction action) const {
    const SDL_Keycode key = bound_[IndexOf(action)];
    if (key != SDLK_UNKNOWN) return SDL_GetKeyName(key);
    for (SDL_Keycode other : bound_) {
        if (other != SDLK_UNKNOWN && GameCodeOf(other) == KeyOf(action)) return {};
    }
    return std::string(ActionRow(action).KeyWords);
}

ActionKeyNames KeyBindings::HelpKeyNames() const {
    ActionKeyNames names;
    for (size_t i = 0; i < PlayerActionCount; ++i) {
        const std::string name = KeyName(PlayerActions[i].Action);
        names[i] = Utf8ToWindows1250(reinterpret_cast<const uint8_t*>(name.data()), name.size());
    }
    return names;
}

}  // namespace kelvane
