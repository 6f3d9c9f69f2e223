#pragma once
// The mixer: a set of voices, each a play position into converted samples, summed into
// the block the sound output asks for, then limited (so that many sounds at once never
// clip) and scaled by the player's volume. Mix is all the audio callback does; the game
// thread changes voices only between Lock and Unlock of the output, so Mix sees them
// whole.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/Limiter.h"

namespace kelvane {

// One sounding instance of a wave: the item's main buffer or one of its copies. The
// samples are interleaved in the device's channel count and belong to the wave item.
struct Voice {
    const int16_t* Samples = nullptr;
    size_t Frames = 0;
    size_t Position = 0;  // next frame to play
    bool Playing = false;
    bool Looping = false;  // repeats from the start instead of stopping at the end

    bool Sounding() const { return Playing; }
    // Stops the voice and winds it back to the start (start it again with Start).
    void Rewind() {
        Playing = false;
        Position = 0;
    }
    void Start(bool looping) {
        Position = 0;
        Looping = looping;
        Playing = Frames > 0;
    }
};

class Mixer {
public:
    // Until the device's channel count is known, Mix leaves the block alone.
    void SetChannels(int channels);
    // 0..100 (values outside are taken to the nearest end); 100 leaves the level as it is.
    // Like the voices, changed before the output opens or between Lock and Unlock.
    void SetVolume(int volume);
    int Volume() const { return volume_; }
    int Channels() const { return channels_; }

    void Attach(Voice* voice);
    void Detach(Voice* voice);
    void DetachAll() { voices_.clear(); }
    size_t VoiceCount() const { return voices_.size(); }

    // Writes frames x Channels() samples: the sum of every playing voice, through the
    // limiter (so Limiter::LatencyFrames later) and scaled by the volume. Advances the
    // voices; a one-shot voice stops at its end, a looping one starts over.
    void Mix(int16_t* out, int frames);

private:
    static void AddVoice(Voice& voice, int32_t* sum, size_t frames, int channels);

    int channels_ = 0;
    int volume_ = 100;
    Limiter limiter_;
    std::vector<Voice*> voices_;
    std::vector<int32_t> sum_;  // kept between calls so the callback does not allocate
};

}  // namespace kelvane
