#pragma once
// The sounds of frames that may run more than once. Network play runs a frame again
// when late inputs arrive; each sound a frame starts is played the first time some run
// of that frame starts it, and never again for that frame: a sound the corrected frame
// adds is played late, one it drops has already been heard.

#include <cstdint>
#include <map>
#include <vector>

#include "combat/Arena.h"
#include "media/Sound.h"

namespace kelvane::net {

class SoundLedger final : public ISoundSink {
public:
    // waves: where sounds are played; none: silent (the ledger still checks nothing).
    explicit SoundLedger(TWaveList* waves) : waves_(waves) {}

    // The sounds that follow are started by this frame's run.
    void BeginFrame(uint64_t frame);
    void Play(int32_t sound) override;
    // The run of this frame that has just ended was its last: its sounds are the frame's.
    void Confirm();
    // Frames up to this one will not run again.
    void Forget(uint64_t upTo);

    uint64_t Played() const { return played_; }
    // How often each sound was started by the frames' last runs: the same on every machine,
    // whatever was heard.
    const std::vector<uint64_t>& Confirmed() const { return confirmed_; }

private:
    TWaveList* waves_;
    uint64_t frame_ = 0;
    std::map<int32_t, int> thisRun_;                     // sound -> times started in this run
    std::map<uint64_t, std::map<int32_t, int>> heard_;  // frame -> sound -> times played
    uint64_t played_ = 0;
    std::vector<uint64_t> confirmed_;  // by sound
};

}  // namespace kelvane::net
