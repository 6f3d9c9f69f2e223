#pragma once
// The mixer's last stage: a look-ahead peak limiter. Loud moments stay loud, but no
// sample leaves above the threshold, so several weapons firing together no longer clip.
// The gain falls smoothly over the look-ahead before a peak arrives (the signal is
// delayed by that much) and recovers slowly afterwards, so it does not follow the
// waveform itself. Integer arithmetic throughout: the bound is exact, not approximate.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvane {

class Limiter {
public:
    // About -1 dB below full scale: a lone sound loses at most 1 dB, and the loudest
    // output sample stays well clear of the 16-bit limit.
    static constexpr int32_t Threshold = 29300;
    static constexpr size_t LookAheadFrames = 64;  // 1.5 ms at 44.1 kHz
    // Output sample n is input sample n - LatencyFrames, scaled.
    static constexpr size_t LatencyFrames = LookAheadFrames - 1;
    // Recovery: the gap to full gain shrinks by 1/2^ReleaseShift a frame (about 93 ms).
    static constexpr int ReleaseShift = 12;

    void Reset(int channels);
    // Takes `frames` frames of summed samples (any size) and writes as many limited frames,
    // each scaled by volume / 100.
    void Process(const int32_t* in, int16_t* out, size_t frames, int volume);

private:
    static constexpr int64_t One = int64_t{1} << 30;  // gain 1.0

    int channels_ = 0;
    size_t frame_ = 0;                   // frames taken so far
    std::vector<int32_t> delay_;         // the last LookAheadFrames input frames, ring
    std::vector<int64_t> hold_;          // the last LookAheadFrames held gains, ring
    int64_t holdSum_ = 0;
    std::vector<std::pair<size_t, int64_t>> minimum_;  // rising gains of the window, oldest first
    size_t minimumFront_ = 0;
    int64_t gain_ = One;
};

}  // namespace kelvane
