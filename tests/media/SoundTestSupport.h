#pragma once
// Waves and a stand-in sound output for the sound tests.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/Limiter.h"
#include "media/Platform.h"
#include "media/WaveItem.h"

namespace kelvane::soundtest {

inline std::vector<uint8_t> FmtChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t blockAlign,
                                     uint16_t bits) {
    const uint32_t bytesPerSec = rate * blockAlign;
    return {static_cast<uint8_t>(tag),        static_cast<uint8_t>(tag >> 8),
            static_cast<uint8_t>(channels),   static_cast<uint8_t>(channels >> 8),
            static_cast<uint8_t>(rate),       static_cast<uint8_t>(rate >> 8),
            static_cast<uint8_t>(rate >> 16), static_cast<uint8_t>(rate >> 24),
            static_cast<uint8_t>(bytesPerSec), static_cast<uint8_t>(bytesPerSec >> 8),
            static_cast<uint8_t>(bytesPerSec >> 16), static_cast<uint8_t>(bytesPerSec >> 24),
            static_cast<uint8_t>(blockAlign), static_cast<uint8_t>(blockAlign >> 8),
            static_cast<uint8_t>(bits),       static_cast<uint8_t>(bits >> 8)};
}

// A 16-bit mono wave at the device rate holding `frames` samples of `value`.
inline WaveData ConstantWave(size_t frames, int16_t value, uint32_t rate = 44100) {
    WaveData wave;
    wave.Format = FmtChunk(1, 1, rate, 2, 16);
    for (size_t i = 0; i < frames; ++i) {
        wave.Samples.push_back(static_cast<uint8_t>(value));
        wave.Samples.push_back(static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8));
    }
    return wave;
}

inline std::unique_ptr<TWaveCollectionItem> MakeItem(WaveData wave, int32_t maxPlaying = 0,
                                                     bool looped = false) {
    auto item = std::make_unique<TWaveCollectionItem>();
    item->Wave = std::move(wave);
    item->MaxPlayingCount = maxPlaying;
    item->Looped = looped;
    return item;
}

// Pulls only when the test says so; counts locks so that a test can see them balanced.
class ManualOutput : public IAudioOutput {
public:
    AudioFormat Open(PullFunction pull) override {
        if (!failure.empty()) throw std::runtime_error(failure);
        pull_ = std::move(pull);
        ++opens;
        return format;
    }
    void Close() override {
        pull_ = nullptr;
        ++closes;
    }
    void Lock() override { ++depth; }
    void Unlock() override { --depth; }

    // Pulls `frames` frames and returns them.
    std::vector<int16_t> Advance(int frames) {
        std::vector<int16_t> block(static_cast<size_t>(frames) * format.Channels, 0);
        if (pull_) pull_(block.data(), frames);
        return block;
    }
    // The frame in which what sounds now is heard: the mixer's limiter delays its output
    // by Limiter::LatencyFrames, so that many frames more are pulled first.
    std::vector<int16_t> HeardNow() {
        const std::vector<int16_t> block = Advance(static_cast<int>(Limiter::LatencyFrames) + 1);
        return std::vector<int16_t>(block.end() - format.Channels, block.end());
    }

    AudioFormat format{44100, 2};
    std::string failure;
    int opens = 0;
    int closes = 0;
    int depth = 0;

private:
    PullFunction pull_;
};

}  // namespace kelvane::soundtest
