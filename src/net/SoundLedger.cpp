#include "net/SoundLedger.h"

namespace kelvane::net {

void SoundLedger::BeginFrame(uint64_t frame) {
    frame_ = frame;
    thisRun_.clear();
}

void SoundLedger::Play(int32_t sound) {
    // A bad index ends the frame in every run alike, heard or not.
    if (waves_) waves_->Item(sound);
    int& heard = heard_[frame_][sound];
    if (++thisRun_[sound] <= heard) return;
    ++heard;
    ++played_;
    if (waves_) waves_->Play(sound);
}

void SoundLedger::Confirm() {
    for (const auto& [sound, times] : thisRun_) {
        const auto index = static_cast<size_t>(sound);
        if (confirmed_.size() <= index) confirmed_.resize(index + 1, 0);
        confirmed_[index] += static_cast<uint64_t>(times);
    }
}

void SoundLedger::Forget(uint64_t upTo) { heard_.erase(heard_.begin(), heard_.upper_bound(upTo)); }

}  // namespace kelvane::net
