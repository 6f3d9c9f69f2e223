#include "platform/sdl/SdlAudioOutput.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace kelvane {

namespace {
std::runtime_error OpenError() {
    return std::runtime_error(std::string("Sound device cannot be opened: ") + SDL_GetError());
}
}  // namespace

SdlAudioOutput::~SdlAudioOutput() { Close(); }

AudioFormat SdlAudioOutput::Open(PullFunction pull) {
    Close();
    // SDL counts subsystem starts, so our own start is balanced by our own stop.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) throw OpenError();
    ownsSubsystem_ = true;

    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // about 23 ms per callback at 44.1 kHz
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // Set before the device exists: the callback may run as soon as it is unpaused.
    pull_ = std::move(pull);
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0) {
        std::runtime_error error = OpenError();
        pull_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ownsSubsystem_ = false;
        throw error;
    }
    channels_ = obtained.channels;
    SDL_PauseAudioDevice(device_, 0);
    return AudioFormat{obtained.freq, obtained.channels};
}

void SdlAudioOutput::Close() {
    if (device_ != 0) {
        // Returns only after the callback has finished for good.
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    pull_ = nullptr;
    if (ownsSubsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ownsSubsystem_ = false;
    }
}

void SdlAudioOutput::Lock() {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlAudioOutput::Unlock() {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

void SDLCALL SdlAudioOutput::Callback(void* self, Uint8* stream, int length) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    // SDL hands over the block uncleared; silence is the mixer's starting point.
    std::memset(stream, 0, static_cast<size_t>(length));
    const int frameBytes = output->channels_ * static_cast<int>(sizeof(int16_t));
    if (output->pull_ && frameBytes > 0)
        output->pull_(reinterpret_cast<int16_t*>(stream), length / frameBytes);
}

}  // namespace kelvane
