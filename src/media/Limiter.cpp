#include "media/Limiter.h"

#include <algorithm>
#include <cstdlib>

namespace kelvane {

void Limiter::Reset(int channels) {
    channels_ = std::max(0, channels);
    frame_ = 0;
    delay_.assign(LookAheadFrames * static_cast<size_t>(channels_), 0);
    hold_.assign(LookAheadFrames, One);
    holdSum_ = One * static_cast<int64_t>(LookAheadFrames);
    minimum_.clear();
    minimumFront_ = 0;
    gain_ = One;
}

// Per frame: r, the gain that brings this frame's peak down to the threshold; the
// smallest r of the last LookAheadFrames frames held; the average of the last
// LookAheadFrames holds. Every hold in that average is at most the r of the frame now
// leaving the delay, so the scaled frame never exceeds the threshold; the slow release
// can only lower the gain further.
void Limiter::Process(const int32_t* in, int16_t* out, size_t frames, int volume) {
    if (channels_ <= 0) return;
    const size_t channels = static_cast<size_t>(channels_);
    const int64_t volumeScale = std::clamp(volume, 0, 100);
    for (size_t f = 0; f < frames; ++f, ++frame_) {
        const int32_t* sample = in + f * channels;
        int64_t peak = 0;
        for (size_t c = 0; c < channels; ++c) peak = std::max<int64_t>(peak, std::llabs(sample[c]));
        const int64_t wanted = peak > Threshold ? (int64_t{Threshold} << 30) / peak : One;

        // Sliding minimum of the wanted gains over the window.
        if (minimumFront_ > 0 && minimumFront_ * 2 > minimum_.size()) {
            minimum_.erase(minimum_.begin(), minimum_.begin() + static_cast<std::ptrdiff_t>(minimumFront_));
            minimumFront_ = 0;
        }
        while (minimum_.size() > minimumFront_ && minimum_.back().second >= wanted) minimum_.pop_back();
        minimum_.emplace_back(frame_, wanted);
        if (minimum_[minimumFront_].first + LookAheadFrames <= frame_) ++minimumFront_;
        const int64_t held = minimum_[minimumFront_].second;

        const size_t slot = frame_ % LookAheadFrames;
        holdSum_ += held - hold_[slot];
        hold_[slot] = held;
        const int64_t smooth = holdSum_ / static_cast<int64_t>(LookAheadFrames);
        gain_ = std::min(smooth, gain_ + ((One - gain_) >> ReleaseShift));

        // The frame leaving the delay is the one LatencyFrames before this one, which
        // sits in the slot this frame will take.
        int32_t* delayed = delay_.data() + ((frame_ + 1) % LookAheadFrames) * channels;
        int32_t* incoming = delay_.data() + slot * channels;
        for (size_t c = 0; c < channels; ++c) incoming[c] = sample[c];
        int16_t* target = out + f * channels;
        for (size_t c = 0; c < channels; ++c) {
            const int64_t limited = (static_cast<int64_t>(delayed[c]) * gain_) >> 30;
            target[c] = static_cast<int16_t>(std::clamp<int64_t>(limited * volumeScale / 100, -32767, 32767));
        }
    }
}

}  // namespace kelvane
