#pragma once
// The 40 ms frame timer's own bookkeeping: when the next tick is due and the measured
// frame rate. The platform's event loop asks Due() and calls the form's tick.

#include <cstdint>

#include "media/Platform.h"

namespace kelvane {

class TFrameTimer {
public:
    static constexpr uint32_t Interval = 40;  // milliseconds between ticks

    // The timer starts with the form: the first tick is due one interval later.
    explicit TFrameTimer(IClock& clock)
        : clock_(clock), lastTick_(clock.Milliseconds()), lastMeasurement_(lastTick_) {}

    // True when at least Interval ms have passed since the previous tick.
    bool Due();
    // Milliseconds until the next tick is due (0 when it is due now).
    uint32_t MillisecondsToNextTick();
    // Counts one tick and, once at least 1000 ms have passed since the last
    // measurement, sets the frame rate to ticks * 1000 / elapsed ms, rounded.
    void CountTick();
    // Frames per second; 0 until the first measurement.
    int32_t FrameRate() const { return frameRate_; }

private:
    IClock& clock_;
    uint64_t lastTick_;
    uint64_t lastMeasurement_;
    uint32_t ticksSinceMeasurement_ = 0;
    int32_t frameRate_ = 0;
};

}  // namespace kelvane
