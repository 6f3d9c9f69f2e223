// A game recorded through the form's observer plays back through the same frame to the
// same world, checksum for checksum: keys, Caps Lock, the mouse, console lines, field
// writes, and ticks in which the display could not draw.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ScratchFile.h"
#include "TempGameDir.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayWriter.h"
#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

using testing::ScratchFile;
using testing::TempGameDir;

constexpr int Ticks = 300;

// Plays a duel with inputs between ticks; ticks 60 to 64 cannot draw, and keys arrive
// while they pass. Returns the final world's checksum.
uint64_t RecordGame(const TempGameDir& dir, const std::string& path) {
    HeadlessMachine machine(false);
    machine.Pointer.X = 321;
    machine.Pointer.Y = 123;
    TMainForm form(machine.Services(dir.Path(), 99));
    ReplayWriter writer(path, ReplayHeader{99, FingerprintGameData(dir.Path())});
    form.Observer = &writer;
    form.KeyPressed(VK_CAPITAL, 0);  // before the first tick
    for (int tick = 1; tick <= Ticks; ++tick) {
        machine.Presenter.Drawable = tick < 60 || tick > 64;
        machine.Tick(form);
        if (tick == 1) form.DoConsoleCommand("EXEC duel");
        if (tick % 7 == 0) form.KeyPressed(tick % 2 ? VK_LEFT : VK_UP, 0);
        if (tick % 30 == 0) form.KeyPressed(VK_SPACE, ssShift);
        if (tick == 61 || tick == 62) form.KeyPressed(VK_CAPITAL, 0);  // arrives while nothing ages
        if (tick == 63) form.KeyPressed('N', 0);
        if (tick == 90) form.MouseClick(1, 0, 5, 5);
        if (tick == 100) form.SetWorldField("Ships[2].Hull", int64_t{1});
        if (tick == 150) form.KeyPressed(ConsoleKey, 0);
        if (tick == 151) form.KeyPressed('W', ssShift);
        if (tick == 152) form.KeyPressed(VK_RETURN, 0);
        if (tick == 153) form.KeyPressed(ConsoleKey, 0);
    }
    form.DoConsoleCommand("QUIT");
    writer.Finish(form.World);
    EXPECT_FALSE(writer.Failed());
    EXPECT_TRUE(form.World.Loaded);
    return WorldChecksum(form.World);
}

struct Playback {
    uint64_t Checksum = 0;
    uint64_t Compared = 0;
    std::optional<uint64_t> Divergence;
    bool Closed = false;
};

Playback Play(const TempGameDir& dir, const Replay& replay) {
    HeadlessMachine machine(false);
    ReplayPlayer player(replay);
    TMainForm form(player.Services(machine.Services(dir.Path(), std::nullopt)));
    form.DrawsPictures = false;
    while (player.PlayFrame(form, [&machine](TMainForm& played) { machine.Tick(played); })) {
    }
    player.Finish(form);
    EXPECT_EQ(player.FramesPlayed(), replay.Frames);
    return {WorldChecksum(form.World), player.ChecksCompared(), player.Divergence(), form.CloseRequested()};
}

class ReplayPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        recorded_ = RecordGame(dir_, file_.Path());
        replay_ = LoadReplay(file_.Path());
    }
    TempGameDir dir_;
    ScratchFile file_{"duel.replay"};
    uint64_t recorded_ = 0;
    Replay replay_;
};

TEST_F(ReplayPlayback, PlaysBackToTheSameWorld) {
    ASSERT_EQ(replay_.Ending, ReplayEnding::Complete) << replay_.Problem;
    EXPECT_EQ(replay_.Frames, uint64_t{Ticks});
    EXPECT_EQ(replay_.Header.Seed, 99u);
    EXPECT_EQ(FirstDataDifference(replay_.Header.Data, FingerprintGameData(dir_.Path())), "");
    EXPECT_EQ(FormatRecord(ReplayRecords(replay_)[1]), "pointer 321 123");

    const Playback playback = Play(dir_, replay_);
    EXPECT_FALSE(playback.Divergence) << "diverges at frame " << *playback.Divergence;
    EXPECT_EQ(playback.Compared, Ticks / ChecksumInterval + 1);
    EXPECT_EQ(playback.Checksum, recorded_);
    EXPECT_TRUE(playback.Closed);  // the QUIT after the last frame
}

// The ticks that could not draw matter: played as ordinary frames, the world runs ahead.
TEST_F(ReplayPlayback, TicksThatStoodStillArePlayedStill) {
    std::string text;
    int skips = 0;
    for (const ReplayRecord& record : ReplayRecords(replay_)) {
        ReplayRecord played = record;
        if (record.Kind == RecordKind::Skip) {
            ++skips;
            played.Kind = RecordKind::Frames;
        }
        text += FormatRecord(played) + "\n";
    }
    EXPECT_EQ(skips, 5);  // ticks 60 to 64, split by the keys that arrived in between
    EXPECT_EQ(Play(dir_, ReadReplay(FormatHeader(replay_.Header) + text)).Divergence, std::optional<uint64_t>(75));
}

}  // namespace
}  // namespace kelvane
