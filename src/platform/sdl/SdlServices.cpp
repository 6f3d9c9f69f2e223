#include "platform/sdl/SdlServices.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace kelvane {

void SdlPointer::GetCursorPos(int32_t& x, int32_t& y) {
    int globalX = 0, globalY = 0, windowX = 0, windowY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_GetWindowPosition(window_.Window(), &windowX, &windowY);
    window_.WindowToPicture(globalX - windowX, globalY - windowY, x, y);
}

AudioFormat SoundOrSilence::Open(PullFunction pull) {
    try {
        silent_ = false;
        return sound_.Open(std::move(pull));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane: playing without sound: %s\n", error.what());
        silent_ = true;
        return AudioFormat{};
    }
}

}  // namespace kelvane
