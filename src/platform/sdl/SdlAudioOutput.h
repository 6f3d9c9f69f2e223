#pragma once
// The sound card through SDL: a 44.1 kHz stereo 16-bit device (SDL may pick another
// rate) whose callback pulls mixed samples from the game's mixer.

#include <SDL.h>

#include "media/Platform.h"

namespace kelvane {

class SdlAudioOutput : public IAudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // Throws "Sound device cannot be opened: " with SDL's reason when no device opens.
    AudioFormat Open(PullFunction pull) override;
    void Close() override;
    void Lock() override;
    void Unlock() override;

private:
    static void SDLCALL Callback(void* self, Uint8* stream, int length);

    SDL_AudioDeviceID device_ = 0;
    PullFunction pull_;
    int channels_ = 2;
    bool ownsSubsystem_ = false;  // we started SDL's audio and stop it again on Close
};

}  // namespace kelvane
