#include "game/FrameTimer.h"

#include "media/Rounding.h"

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
        frameRate_ = RoundEven(static_cast<double>(ticksSinceMeasurement_) * 1000.0 / static_cast<double>(elapsed));
        ticksSinceMeasurement_ = 0;
        lastMeasurement_ = now;
    }
}

}  // namespace kelvane
