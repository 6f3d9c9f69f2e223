#include "platform/sdl/VideoDriver.h"

#include <SDL2/SDL.h>

namespace kelvane {

bool IsInvisibleVideoDriver(const std::string& name) {
    return name == "offscreen" || name == "dummy" || name == "evdev";
}

namespace {
// Wayland needs its runtime folder; without it the library only complains on stderr.
bool WaylandPossible() {
    const char* display = SDL_getenv("WAYLAND_DISPLAY");
    const char* runtime = SDL_getenv("XDG_RUNTIME_DIR");
    return (display && *display == '/') || (runtime && *runtime);
}
}  // namespace

std::string OpenVideo() {
    // SDL_VIDEODRIVER reaches us as SDL's own hint: the user's choice is kept as it is.
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return {};
        return std::string(asked) + ": " + SDL_GetError();
    }
    std::string reasons;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (!name || IsInvisibleVideoDriver(name)) continue;
        if (std::string(name) == "wayland" && !WaylandPossible()) {
            if (!reasons.empty()) reasons += "; ";
            reasons += "wayland: no Wayland display";
            continue;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return {};
        if (!reasons.empty()) reasons += "; ";
        reasons += std::string(name) + ": " + SDL_GetError();
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
    return reasons.empty() ? std::string("no video driver") : reasons;
}

}  // namespace kelvane
