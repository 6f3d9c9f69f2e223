// The first hint in the game's frame, and the help and notice overlays the platform draws
// over a copy of it.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "console/InputState.h"
#include "game/MainForm.h"
#include "game/Overlays.h"
#include "platform/font/FontRasteriser.h"
#include "platform/headless/HeadlessMachine.h"
#include "TempGameDir.h"

namespace kelvane {
namespace {

// Pixels of a frame that differ between two pictures, within a box.
int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int left, int top, int right,
              int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += a[y * ScreenWidth + x] != b[y * ScreenWidth + x] ? 1 : 0;
    }
    return count;
}

// The hint's box in the middle of the picture.
constexpr int HintLeft = 262, HintTop = 300, HintRight = 762, HintBottom = 376;

TEST(FirstHint, ShownUntilAShipHasBeenCreatedAndWhileTheConsoleIsClosed) {
    World world;
    EXPECT_TRUE(FirstHintShown(world));
    world.ConsoleOpen = true;
    EXPECT_FALSE(FirstHintShown(world));
    world.ConsoleOpen = false;
    world.ControlledShip = 3;  // the first ship created names it for good
    EXPECT_FALSE(FirstHintShown(world));
    world.ControlledShip = 0;  // ships in play that are none of the player's (a duel)
    world.ShipCount = 2;
    EXPECT_FALSE(FirstHintShown(world));
}

TEST(FirstHint, PartOfTheFrameAndGoneForGoodOnceAShipIsCreated) {
    testing::TempGameDir dir;
    HeadlessMachine machine;  // with the real font, as the runner draws
    TMainForm form(machine.Services(dir.Path(), 1));
    auto frame = [&] {
        machine.Tick(form);
        return machine.Presenter.LastFrame;
    };
    frame();
    const std::vector<uint32_t> withHint = frame();
    form.KeyPressed(ConsoleKey, 0);
    const std::vector<uint32_t> consoleOpening = frame();  // the key acts after this frame's picture
    const std::vector<uint32_t> consoleOpen = frame();
    EXPECT_EQ(Differing(withHint, consoleOpening, HintLeft, HintTop, HintRight, HintBottom), 0);
    EXPECT_GT(Differing(withHint, consoleOpen, HintLeft, HintTop, HintRight, HintBottom), 2000);
    form.KeyPressed(ConsoleKey, 0);
    frame();
    EXPECT_EQ(Differing(withHint, frame(), HintLeft, HintTop, HintRight, HintBottom), 0);  // closed: back

    // Created and deleted again: the field is as empty as at the start, the hint stays away.
    form.DoConsoleCommand("CREATESHIP Vigil");
    form.DoConsoleCommand("DELETESHIP Vigil");
    frame();
    const std::vector<uint32_t> after = frame();
    EXPECT_EQ(form.World.ShipCount, 0);
    EXPECT_GT(Differing(withHint, after, HintLeft, HintTop, HintRight, HintBottom), 2000);
    // Nothing of it in the console log.
    for (const std::string& line : form.World.ConsoleLog) EXPECT_EQ(line.find("EXEC battle"), std::string::npos);
}

class OverlayPicture : public ::testing::Test {
protected:
    std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    Surface picture{ScreenWidth, ScreenHeight, font.get()};
    std::vector<uint32_t> before;
    void SetUp() override {
        for (int y = 0; y < ScreenHeight; ++y) {
            for (int x = 0; x < ScreenWidth; ++x) picture.Row(y)[x] = 0x00808080u + static_cast<uint32_t>(x % 7);
        }
        before.assign(picture.Pixels(), picture.Pixels() + ScreenWidth * ScreenHeight);
    }
    std::vector<uint32_t> Now() const {
        return std::vector<uint32_t>(picture.Pixels(), picture.Pixels() + ScreenWidth * ScreenHeight);
    }
};

TEST_F(OverlayPicture, HelpDarkensItsBoxWritesInItAndLeavesTheRest) {
    DrawHelpOverlay(picture, GameKeyNames());
    const std::vector<uint32_t> after = Now();
    // Outside the box: the picture as it was (the panels at the corners stay readable).
    EXPECT_EQ(Differing(before, after, 0, 0, ScreenWidth, 110), 0);
    EXPECT_EQ(Differing(before, after, 0, 0, 130, ScreenHeight), 0);
    EXPECT_EQ(Differing(before, after, 894, 0, ScreenWidth, ScreenHeight), 0);
    EXPECT_EQ(Differing(before, after, 0, 620, ScreenWidth, ScreenHeight), 0);
    // Inside: dark, with a good deal of bright text.
    int bright = 0, dark = 0;
    for (int y = 115; y < 560; ++y) {
        for (int x = 135; x < 889; ++x) {
            const uint32_t p = after[y * ScreenWidth + x];
            const uint32_t g = (p >> 8) & 0xFF;
            bright += g > 0x90 ? 1 : 0;
            dark += g < 0x20 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 250000);
    EXPECT_GT(bright, 5000);
}

// Each action has its row: a key rebound changes the key column of that row alone.
TEST_F(OverlayPicture, HelpNamesTheKeysItIsGiven) {
    DrawHelpOverlay(picture, GameKeyNames());
    const std::vector<uint32_t> original = Now();
    int previousTop = 0;
    for (const PlayerAction action : {PlayerAction::Thrust, PlayerAction::NearestTarget, PlayerAction::Pause}) {
        std::copy(before.begin(), before.end(), picture.Pixels());
        ActionKeyNames keys = GameKeyNames();
        keys[static_cast<size_t>(action)] = "Left Ctrl";
        DrawHelpOverlay(picture, keys);
        const std::vector<uint32_t> rebound = Now();
        int top = ScreenHeight, bottom = 0, left = ScreenWidth, right = 0;
        for (int y = 0; y < ScreenHeight; ++y) {
            for (int x = 0; x < ScreenWidth; ++x) {
                if (original[y * ScreenWidth + x] == rebound[y * ScreenWidth + x]) continue;
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
        }
        const std::string name(ActionRow(action).Name);
        EXPECT_LT(top, bottom) << name;
        EXPECT_LE(bottom - top, 17) << name;     // one row
        EXPECT_GE(left, 150) << name;            // of the key column
        EXPECT_LE(right, 336) << name;
        EXPECT_GT(top, previousTop) << name;     // rows in the table's order
        previousTop = top;
    }
}

TEST_F(OverlayPicture, NoticeIsASmallBoxNearTheTop) {
    DrawNoticeOverlay(picture, "Screenshot saved: kelvane-20261207-090503.png", "in /home/p/Pictures/Kelvane");
    const std::vector<uint32_t> after = Now();
    EXPECT_EQ(Differing(before, after, 0, 0, ScreenWidth, 100), 0);
    EXPECT_EQ(Differing(before, after, 0, 150, ScreenWidth, ScreenHeight), 0);
    EXPECT_GT(Differing(before, after, 312, 100, 712, 146), 10000);
}

}  // namespace
}  // namespace kelvane
