// Held pad keys repeat as a held keyboard key does.

#include <gtest/gtest.h>

#include "platform/sdl/PadRepeat.h"

namespace kelvane {
namespace {

using Keys = std::vector<uint16_t>;

TEST(PadRepeat, APressThenADelayThenASteadyRate) {
    PadRepeat repeat;
    EXPECT_FALSE(repeat.NextDue().has_value());
    EXPECT_TRUE(repeat.Press(32, 1000));
    EXPECT_EQ(repeat.NextDue(), 1000 + PadRepeat::DelayMs);
    EXPECT_EQ(repeat.Due(1000 + PadRepeat::DelayMs - 1), Keys{});
    EXPECT_EQ(repeat.Due(1000 + PadRepeat::DelayMs), Keys{32});
    EXPECT_EQ(repeat.Due(1000 + PadRepeat::DelayMs), Keys{});
    EXPECT_EQ(repeat.Due(1000 + PadRepeat::DelayMs + PadRepeat::IntervalMs), Keys{32});
    // A late look gives one key-down, not a burst of the missed ones.
    EXPECT_EQ(repeat.Due(1000 + PadRepeat::DelayMs + 10 * PadRepeat::IntervalMs + 5), Keys{32});
    EXPECT_EQ(repeat.NextDue(), 1000 + PadRepeat::DelayMs + 11 * PadRepeat::IntervalMs);
    repeat.Release(32);
    EXPECT_FALSE(repeat.Held(32));
    EXPECT_EQ(repeat.Due(100000), Keys{});
    EXPECT_FALSE(repeat.NextDue().has_value());
}

TEST(PadRepeat, AKeyHeldTwiceIsOneKeyUntilBothLetGo) {
    PadRepeat repeat;
    EXPECT_TRUE(repeat.Press(0x25, 0));    // stick left
    EXPECT_FALSE(repeat.Press(0x25, 300));  // and the d-pad: no second key-down, no new delay
    repeat.Release(0x25);
    EXPECT_TRUE(repeat.Held(0x25));
    EXPECT_EQ(repeat.Due(PadRepeat::DelayMs), Keys{0x25});
    repeat.Release(0x25);
    EXPECT_FALSE(repeat.Held(0x25));
    repeat.Release(0x25);  // a stray release changes nothing
    EXPECT_TRUE(repeat.Press(0x25, 1000));
}

TEST(PadRepeat, SeveralKeysRepeatEachOnItsOwnClock) {
    PadRepeat repeat;
    repeat.Press(0x26, 0);
    repeat.Press(32, 100);
    EXPECT_EQ(repeat.NextDue(), PadRepeat::DelayMs);
    EXPECT_EQ(repeat.Due(PadRepeat::DelayMs), Keys{0x26});
    EXPECT_EQ(repeat.Due(PadRepeat::DelayMs + 100), (Keys{32, 0x26}));
}

}  // namespace
}  // namespace kelvane
