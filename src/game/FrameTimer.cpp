#include "game/FrameTimer.h"

#include "base/Rounding.h"

namespace kelvane {

bool TFrameTimer::Due() { return MillisecondsToNextTick() == 0; }

uint32_t TFrameTimer::MillisecondsToNextTick() {
    const uint64_t now = clock_.Milliseconds();
    const uint64_t due = lastTick_ + Interval;
    return now >= due ? 0 : static_cast<uint32_t>(due - now);
}

void TFrameTimer::CountTick() {
    const uint64_t now = clock_.Milliseconds();
    lastTick_ = now;
    ++ticksSinceMeasurement_;
    const uint64_t elapsed = now - lastMeasurement_;
    if (elapsed >= 1000) {
        // Exactly on the integer ratio, halves to even. A clock that jumps by more than
        // 2^53 ms is beyond any real run.
        frameRate_ = RoundEvenRatio(int64_t{ticksSinceMeasurement_} * 1000, static_cast<int64_t>(elapsed));
        ticksSinceMeasurement_ = 0;
        lastMeasurement_ = now;
    }
}

}  // namespace kelvane
