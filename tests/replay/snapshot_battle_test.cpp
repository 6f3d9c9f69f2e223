// The shipped eight-ship battle, saved in the middle of the fight and restored, runs on
// exactly as it ran the first time: the same checksum every frame, the same world in
// every field and the same picture at the end; also when restored into another game.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/WorldChecksum.h"
#include "world/WorldSnapshot.h"

namespace kelvane {
namespace {

constexpr uint64_t SavedAt = 300;  // frames into the battle
constexpr uint64_t RunOn = 200;

// A game on the headless platform, loaded by its first tick.
struct Game {
    explicit Game(const testing::TempGameDir& dir) : form(machine.Services(dir.Path(), 1)) { machine.Tick(form); }

    // Frame `frame` of the battle: the player's keys of that frame, then the tick.
    void Play(uint64_t frame) {
        static const uint16_t keys[] = {'N', VK_UP, VK_SPACE, VK_MENU, VK_CONTROL, VK_LEFT};
        if (frame % 40 < 6) form.KeyPressed(keys[frame % 40], 0);
        machine.Tick(form);
    }
    // The world's checksum after each of the frames from `first` on.
    std::vector<uint64_t> PlayOn(uint64_t first, uint64_t count) {
        std::vector<uint64_t> checksums;
        for (uint64_t frame = first; frame < first + count; ++frame) {
            Play(frame);
            checksums.push_back(WorldChecksum(form.World));
        }
        return checksums;
    }

    HeadlessMachine machine{false};
    TMainForm form;
};

TEST(SnapshotBattle, ARestoredBattleRunsOnAsItDidTheFirstTime) {
    testing::TempGameDir dir;
    Game game(dir);
    game.form.DoConsoleCommand("EXEC battle");
    game.PlayOn(2, SavedAt - 1);
    ASSERT_EQ(game.form.World.ShipCount, MaxShipsInPlay);
    WorldSnapshot snapshot;
    SaveWorld(game.form.World, snapshot);
    const World saved = game.form.World;

    const std::vector<uint64_t> first = game.PlayOn(SavedAt + 1, RunOn);
    const World ran = game.form.World;
    const std::vector<uint32_t> picture = game.machine.Presenter.LastFrame;
    ASSERT_FALSE(ran == saved);

    RestoreWorld(game.form.World, snapshot);
    EXPECT_TRUE(game.form.World == saved);
    EXPECT_EQ(game.PlayOn(SavedAt + 1, RunOn), first);
    EXPECT_TRUE(game.form.World == ran);
    EXPECT_TRUE(game.machine.Presenter.LastFrame == picture);

    // Another game, just loaded, takes the battle over from the snapshot.
    Game other(dir);
    RestoreWorld(other.form.World, snapshot);
    EXPECT_TRUE(other.form.World == saved);
    EXPECT_EQ(other.PlayOn(SavedAt + 1, RunOn), first);
    EXPECT_TRUE(other.form.World == ran);
    EXPECT_EQ(game.form.SwallowedErrors(), 0u);
}

}  // namespace
}  // namespace kelvane
