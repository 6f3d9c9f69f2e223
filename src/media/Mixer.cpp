#include "media/Mixer.h"

#include <algorithm>

namespace kelvane {

namespace {
// Frames summed per pass; the 32-bit sums of one pass stay in a buffer sized once.
constexpr size_t PassFrames = 1024;
}  // namespace

void Mixer::SetChannels(int channels) {
    channels_ = std::max(0, channels);
    sum_.assign(PassFrames * static_cast<size_t>(channels_), 0);
    limiter_.Reset(channels_);
}

void Mixer::SetVolume(int volume) { volume_ = std::clamp(volume, 0, 100); }

void Mixer::Attach(Voice* voice) {
    if (voice && std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(voice);
}

void Mixer::Detach(Voice* voice) {
    voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

void Mixer::AddVoice(Voice& voice, int32_t* sum, size_t frames, int channels) {
    size_t done = 0;
    while (done < frames && voice.Playing) {
        if (voice.Position >= voice.Frames) {
            if (voice.Looping && voice.Frames > 0) {
                voice.Position = 0;
            } else {
                voice.Playing = false;
                break;
            }
        }
        const size_t run = std::min(frames - done, voice.Frames - voice.Position);
        const int16_t* from = voice.Samples + voice.Position * channels;
        int32_t* to = sum + done * channels;
        for (size_t i = 0; i < run * channels; ++i) to[i] += from[i];
        voice.Position += run;
        done += run;
    }
    // A one-shot voice that has just played its last frame is no longer sounding.
    if (voice.Playing && !voice.Looping && voice.Position >= voice.Frames) voice.Playing = false;
}

void Mixer::Mix(int16_t* out, int frames) {
    if (channels_ <= 0 || frames <= 0 || !out) return;
    size_t left = static_cast<size_t>(frames);
    while (left > 0) {
        const size_t pass = std::min(left, PassFrames);
        const size_t samples = pass * static_cast<size_t>(channels_);
        std::fill(sum_.begin(), sum_.begin() + samples, 0);
        for (Voice* voice : voices_) {
            if (voice->Playing) AddVoice(*voice, sum_.data(), pass, channels_);
        }
        limiter_.Process(sum_.data(), out, pass, volume_);
        out += samples;
        left -= pass;
    }
}

}  // namespace kelvane
