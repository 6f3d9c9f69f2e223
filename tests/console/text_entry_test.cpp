#include "console/TextEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/InputState.h"
#include "world/VirtualKeys.h"

namespace kelvane {
namespace {

// Key-downs since the last frame, then the ageing that makes them active.
void Press(World& world, const std::vector<uint16_t>& keys, ShiftState shift = 0) {
    for (uint16_t key : keys) KeyPressed(world, key, shift);
    AgeInput(world);
}

constexpr ShiftState AltGr = ssCtrl | ssAlt;

TEST(KeysToText, FollowsTheConsoleLayout) {
    struct Case {
        std::vector<uint16_t> keys;
        ShiftState shift;
        const char* text;
    } const cases[] = {
        {{'2'}, 0, "\xEC"},  // ě
        {{'2'}, ssShift, "2"},
        {{'1'}, 0, "+"},
        {{'1'}, ssShift, "1"},
        {{'0'}, 0, "\xE9"},  // é
        {{'A'}, 0, "a"},
        {{'A'}, ssShift, "A"},
        {{'Q'}, AltGr, "\\"},
        {{'A'}, AltGr | ssShift, "a"},  // right Alt turns Shift's capitals off
        {{'V'}, AltGr, "@"},
        {{VK_OEM_1}, 0, "\xF9"},  // ů
        {{VK_OEM_1}, ssShift, "\""},
        {{VK_OEM_4}, ssShift, "/"},
        {{VK_OEM_7}, 0, "\xA7"},  // §
        {{VK_OEM_5}, 0, "\xA8"},  // ¨
        {{VK_OEM_PLUS}, 0, "\xB4"},
        {{VK_OEM_PLUS}, ssShift, "\xA1"},
        {{VK_OEM_3}, ssShift, "\xB0"},
        {{0x65}, 0, "5"},
        {{VK_DIVIDE}, 0, "/"},
        {{'A', 'B'}, 0, "b"},  // of several keys the last rule wins
        {{'A', VK_SPACE}, 0, " "},
        {{VK_RETURN, VK_BACK, 'A'}, 0, "VK_RETURN"},
        {{VK_F1}, 0, ""},
        {{VK_NUMLOCK}, 0, ""},
        {{0x5B}, 0, ""},  // the left Windows key
    };
    for (const Case& c : cases) {
        World world;
        Press(world, c.keys, c.shift);
        EXPECT_EQ(KeysToText(world), c.text) << "first key " << c.keys.front() << " shift " << int(c.shift);
    }
}

TEST(KeysToText, CapsLockHoldsShiftForTheFrame) {
    World world;
    world.CapsLock = 1;
    Press(world, {'2'});
    EXPECT_EQ(KeysToText(world), "2");
    EXPECT_EQ(world.KeyState[VK_SHIFT], 1);
}

TEST(ModifyText, ComposesMarksWithTheLetterAfterThem) {
    struct Case {
        std::string before, after;
    } const cases[] = {
        {"\xB4" "e", "\xE9"},
        {"\xA1" "a", "\xA1" "a"},  // no caron on a
        {"x\xA1", "x\xA1"},        // a trailing mark waits
        {"\xA1s\xA1Z", "\x9A\x8E"},
        {"\xB0U\xB0u", "\xD9\xB0u"},
        {"\xA1\xB4" "e", "\xA1\xE9"},  // caron pass first, acute second
        {"\xB4\xB4Y", "\xB4\xDD"},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        ModifyText(text);
        EXPECT_EQ(text, c.after);
    }
}

class TextEntryTest : public ::testing::Test {
protected:
    TextEntryTest() : context{World, "", [this] { ++closeCalls; }} {}

    // One frame's input steps as the frame loop runs them.
    void Frame(const std::vector<uint16_t>& keys, ShiftState shift = 0) {
        Press(World, keys, shift);
        ToggleConsole(World);
        if (World.ConsoleOpen) TextEntry(context);
    }

    kelvane::World World;
    int closeCalls = 0;
    ConsoleContext context;
};

TEST_F(TextEntryTest, ConsoleKeyOpensClosesAndEmptiesTheLine) {
    Frame({ConsoleKey});
    EXPECT_TRUE(World.ConsoleOpen);
    EXPECT_EQ(World.KeyState[ConsoleKey], 0);
    EXPECT_EQ(World.InputLine, "") << "the key that opens the console types nothing";
    Frame({'Q'});
    World.LastCommand = "quit";
    Frame({ConsoleKey});
    EXPECT_FALSE(World.ConsoleOpen);
    EXPECT_EQ(World.InputLine, "");
    Frame({'Q'});
    EXPECT_EQ(World.InputLine, "") << "nothing is typed while closed";
    Frame({ConsoleKey});
    EXPECT_TRUE(World.ConsoleOpen);
    EXPECT_EQ(World.InputLine, "");
    EXPECT_EQ(World.LastCommand, "quit");
}

TEST_F(TextEntryTest, AccentsComposeAcrossFrames) {
    World.ConsoleOpen = true;
    Frame({VK_OEM_PLUS});
    EXPECT_EQ(World.InputLine, "\xB4");
    Frame({'E'});
    EXPECT_EQ(World.InputLine, "\xE9");
    Frame({'1'});
    Frame({VK_F1});
    EXPECT_EQ(World.InputLine, "\xE9+");
}

TEST_F(TextEntryTest, TheLineStopsAtSixtyFiveCharacters) {
    World.ConsoleOpen = true;
    World.InputLine = std::string(64, 'x');
    Frame({'A'});
    Frame({'B'});
    EXPECT_EQ(World.InputLine, std::string(64, 'x') + "a");
    Frame({VK_BACK});
    EXPECT_EQ(World.InputLine, std::string(64, 'x'));
    World.InputLine.clear();
    Frame({VK_BACK});
    EXPECT_EQ(World.InputLine, "");
}

TEST_F(TextEntryTest, EnterRunsTheLineAndRemembersIt) {
    World.ConsoleOpen = true;
    World.LastCommand = "earlier";
    Frame({VK_RETURN});
    EXPECT_EQ(World.LastCommand, "earlier") << "an empty line runs nothing";

    World.InputLine = "quit";
    Frame({VK_RETURN});
    EXPECT_EQ(closeCalls, 1);
    EXPECT_EQ(World.LastCommand, "quit");
    EXPECT_EQ(World.InputLine, "");
    EXPECT_TRUE(World.ConsoleLog.empty()) << "the typed line is not echoed";

    Frame({VK_UP, VK_RETURN});
    EXPECT_EQ(closeCalls, 2);
    EXPECT_EQ(World.InputLine, "");

    Frame({VK_UP});
    EXPECT_EQ(World.InputLine, "quit");
}

}  // namespace
}  // namespace kelvane
