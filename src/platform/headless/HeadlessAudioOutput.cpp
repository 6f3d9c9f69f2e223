#include "platform/headless/HeadlessAudioOutput.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace kelvane {

AudioFormat HeadlessAudioOutput::Open(PullFunction pull) {
    if (!failure_.empty()) throw std::runtime_error(failure_);
    pull_ = std::move(pull);
    return format_;
}

void HeadlessAudioOutput::Close() { pull_ = nullptr; }

void HeadlessAudioOutput::Advance(int frames) {
    if (frames <= 0) {
        block_.clear();
        return;
    }
    block_.assign(static_cast<size_t>(frames) * static_cast<size_t>(std::max(1, format_.Channels)), 0);
    if (pull_) pull_(block_.data(), frames);
    framesPulled_ += static_cast<uint64_t>(frames);
}

int HeadlessAudioOutput::PeakAbs() const {
    int peak = 0;
    for (int16_t sample : block_) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

}  // namespace kelvane
