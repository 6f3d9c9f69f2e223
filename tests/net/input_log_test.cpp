// The input log: which seat's inputs each frame needs, when a frame is confirmed, and
// what a late seat is predicted to do.
#include <gtest/gtest.h>

#include "net/InputLog.h"

namespace kelvane::net {
namespace {

FrameInputs Keys(std::initializer_list<uint16_t> keys) {
    FrameInputs inputs;
    for (uint16_t key : keys) inputs.push_back(KeyInput(key, 0));
    return inputs;
}

TEST(InputLog, ASeatIsNeededFromTheFrameAfterItWasSeatedUntilItsLeave) {
    InputLog log;
    log.Open(1, 1);
    EXPECT_TRUE(log.Put(1, 1, {JoinInput(1, "ann"), JoinInput(2, "bob")}));
    EXPECT_FALSE(log.Needed(2, 1));
    EXPECT_TRUE(log.Needed(2, 2));
    EXPECT_FALSE(log.Put(2, 1, Keys({VK_UP})));  // before its seat was taken
    EXPECT_EQ(log.ConfirmedUpTo(), 1u);
    EXPECT_TRUE(log.Put(1, 2, {}));
    EXPECT_EQ(log.ConfirmedUpTo(), 1u);  // bob's frame 2 is missing
    EXPECT_TRUE(log.Put(2, 3, FrameInputs{LeaveInput()}));
    EXPECT_EQ(log.KnownUpTo(2), 1u);  // frame 2 still unknown
    EXPECT_TRUE(log.Put(2, 2, Keys({VK_LEFT})));
    EXPECT_EQ(log.KnownUpTo(2), 3u);
    EXPECT_FALSE(log.Needed(2, 4));
    EXPECT_TRUE(log.Put(1, 3, {}));
    EXPECT_TRUE(log.Put(1, 4, {}));
    EXPECT_EQ(log.ConfirmedUpTo(), 4u);  // frame 4 needs nothing of bob's
    EXPECT_FALSE(log.Put(1, 4, Keys({VK_UP})));  // known once, kept
}

TEST(InputLog, ALateSeatKeepsItsHeldKeysButNoLineOrToggle) {
    InputLog log;
    log.Open(1, 1);
    log.Put(1, 1, {KeyInput(VK_UP, 0), KeyInput(VK_PAUSE, 0), KeyInput(ConsoleKey, 0), CommandInput("EXEC battle"),
                   KeyInput(VK_SPACE, ssShift), KeyInput('D', 0)});
    const FrameInputs predicted = log.InputsFor(1, 4);
    EXPECT_EQ(predicted, (FrameInputs{KeyInput(VK_UP, 0), KeyInput(VK_SPACE, ssShift)}));
    log.Put(1, 2, {});
    EXPECT_TRUE(log.InputsFor(1, 4).empty());  // the newest known frame held nothing
    EXPECT_EQ(log.InputsFor(1, 1).size(), 6u);  // a known frame is what it was
}

TEST(InputLog, DroppingASeatForgetsWhatCameOutOfOrder) {
    InputLog log;
    log.Open(1, 1);
    log.Put(1, 1, {});
    log.Put(1, 3, Keys({VK_UP}));
    log.DropAfter(1, log.KnownUpTo(1));
    EXPECT_EQ(log.Known(1, 3), nullptr);
    EXPECT_TRUE(log.Put(1, 2, FrameInputs{LeaveInput()}));
    EXPECT_FALSE(log.Needed(1, 3));
}

TEST(InputLog, SeatsOutsideTheTableAreRefused) {
    InputLog log;
    EXPECT_THROW(log.Open(9, 1), std::out_of_range);
    EXPECT_THROW(log.Put(0, 1, {}), std::out_of_range);
}

}  // namespace
}  // namespace kelvane::net
