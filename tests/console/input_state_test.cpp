#include "console/InputState.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

constexpr uint16_t KeyA = 'A';

TEST(KeyAgeing, AKeyIsActiveInExactlyOneFrame) {
    for (uint16_t key : {KeyA, uint16_t{0x1234}, uint16_t{0xFFFF}}) {
        World world;
        KeyPressed(world, key, 0);
        KeyPressed(world, key, 0);  // a second key-down before the frame does not count twice
        EXPECT_EQ(world.KeyState[key], 2);
        AgeInput(world);
        EXPECT_TRUE(KeyActive(world, key)) << key;
        AgeInput(world);
        EXPECT_FALSE(KeyActive(world, key)) << key;
        AgeInput(world);
        EXPECT_EQ(world.KeyState[key], 0) << "an idle entry must not wrap";
    }
}

TEST(KeyAgeing, EveryEntryOfTheTableGoesDownByOne) {
    World world;
    for (std::size_t code = 0; code < world.KeyState.size(); ++code)
        world.KeyState[code] = static_cast<uint8_t>(code % 4 == 3 ? 255 : code % 3);
    world.MouseButtonState = {2, 0, 1};
    const std::vector<uint8_t> before = world.KeyState;
    AgeInput(world);
    for (std::size_t code = 0; code < before.size(); ++code)
        ASSERT_EQ(world.KeyState[code], before[code] > 0 ? before[code] - 1 : 0) << "code " << code;
    EXPECT_EQ(world.MouseButtonState, (std::array<uint8_t, 3>{1, 0, 0}));
}

TEST(KeyPressed, ModifiersComeFromTheEventsOwnSet) {
    struct Case { ShiftState shift; uint8_t shiftKey, ctrlKey, altKey; };
    const std::vector<Case> cases = {
        {0, 0, 0, 0}, {ssShift, 2, 0, 0}, {ssCtrl, 0, 2, 0}, {ssAlt, 0, 0, 2},
        {ssShift | ssAlt, 2, 0, 2}, {ssLeft | ssDouble, 0, 0, 0},
    };
    for (const Case& c : cases) {
        World world;
        KeyPressed(world, KeyA, c.shift);
        EXPECT_EQ(world.KeyState[KeyA], 2);
        EXPECT_EQ(world.KeyState[VK_SHIFT], c.shiftKey) << int(c.shift);
        EXPECT_EQ(world.KeyState[VK_CONTROL], c.ctrlKey) << int(c.shift);
        EXPECT_EQ(world.KeyState[VK_MENU], c.altKey) << int(c.shift);
    }
}

TEST(KeyPressed, CapsLockTogglesUntilItsEntryHasAgedAway) {
    // Frames aged between the Caps Lock key-down and a letter's key-down, and CapsLock after both.
    struct Case { int framesBetween; uint8_t capsLock; };
    for (const Case& c : std::vector<Case>{{0, 0}, {1, 0}, {2, 1}, {5, 1}}) {
        World world;
        KeyPressed(world, VK_CAPITAL, 0);
        EXPECT_EQ(world.CapsLock, 1);
        for (int i = 0; i < c.framesBetween; ++i) AgeInput(world);
        KeyPressed(world, KeyA, 0);
        EXPECT_EQ(world.CapsLock, c.capsLock) << c.framesBetween << " frames between";
    }
}

TEST(MouseClick, MarksOnlyAnIdleButton) {
    World world;
    MouseClick(world, 0, 0, 10, 10);
    MouseClick(world, 0, 0, 10, 10);
    EXPECT_EQ(world.MouseButtonState[0], 2);
    AgeInput(world);
    MouseClick(world, 0, 0, 10, 10);
    EXPECT_EQ(world.MouseButtonState[0], 1) << "a button active this frame stays 1";
    MouseClick(world, 2, 0, 10, 10);
    MouseClick(world, 3, 0, 10, 10);
    MouseClick(world, -1, 0, 10, 10);
    EXPECT_EQ(world.MouseButtonState, (std::array<uint8_t, 3>{1, 0, 2}));
}

TEST(MouseIn, AllFourComparisonsAreStrict) {
    World world;
    world.MouseX = 100;
    world.MouseY = 200;
    struct Case { int32_t x1, y1, x2, y2; bool in; };
    const std::vector<Case> cases = {
        {99, 199, 101, 201, true},  {100, 199, 101, 201, false}, {99, 200, 101, 201, false},
        {99, 199, 100, 201, false}, {99, 199, 101, 200, false},  {101, 199, 99, 201, false},
        {100, 199, 100, 201, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MouseIn(world, c.x1, c.y1, c.x2, c.y2), c.in)
            << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
}

}  // namespace
}  // namespace kelvane
