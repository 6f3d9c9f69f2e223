#pragma once
// A sound output without a sound card: time moves only when a test or the runner calls
// Advance, which pulls that many frames from the mixer into a block that can be inspected.

#include <cstdint>
#include <string>
#include <vector>

#include "media/Platform.h"

namespace kelvane {

class HeadlessAudioOutput : public IAudioOutput {
public:
    explicit HeadlessAudioOutput(AudioFormat format = AudioFormat{44100, 2}) : format_(format) {}

    AudioFormat Open(PullFunction pull) override;
    void Close() override;
    void Lock() override {}
    void Unlock() override {}

    // Pulls `frames` frames; while closed the block is silence.
    void Advance(int frames);
    const std::vector<int16_t>& LastBlock() const { return block_; }
    // Largest magnitude in the last block (0 for silence).
    int PeakAbs() const;

    bool IsOpen() const { return static_cast<bool>(pull_); }
    uint64_t FramesPulled() const { return framesPulled_; }
    // Makes the next Open fail with this message, as a missing sound card would.
    void FailOpenWith(std::string message) { failure_ = std::move(message); }

private:
    AudioFormat format_;
    PullFunction pull_;
    std::vector<int16_t> block_;
    uint64_t framesPulled_ = 0;
    std::string failure_;
};

}  // namespace kelvane
