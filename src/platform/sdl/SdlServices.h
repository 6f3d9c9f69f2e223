#pragma once
// The small services the form gets from SDL: the millisecond clock, the sleeper, the
// pointer in picture pixels, and the sound card (or silence where there is none).

#include <SDL2/SDL.h>

#include <cstdint>

#include "media/Platform.h"
#include "platform/sdl/GameWindow.h"
#include "platform/sdl/SdlAudioOutput.h"

namespace kelvane {

class SdlClock : public IClock {
public:
    uint64_t Milliseconds() override { return SDL_GetTicks64(); }
};

class SdlSleeper : public ISleeper {
public:
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

// The pointer in picture pixels, wherever the picture sits in the window.
class SdlPointer : public IPointer {
public:
    explicit SdlPointer(const GameWindow& window) : window_(window) {}
    void HideCursor() override { SDL_ShowCursor(SDL_DISABLE); }
    void GetCursorPos(int32_t& x, int32_t& y) override;

private:
    const GameWindow& window_;
};

// Without a sound card the game still starts and plays silently; a line on stderr says why.
class SoundOrSilence : public IAudioOutput {
public:
    AudioFormat Open(PullFunction pull) override;
    void Close() override {
        if (!silent_) sound_.Close();
    }
    void Lock() override {
        if (!silent_) sound_.Lock();
    }
    void Unlock() override {
        if (!silent_) sound_.Unlock();
    }

private:
    SdlAudioOutput sound_;
    bool silent_ = false;
};

}  // namespace kelvane
