// Several machines, each running the frames at once on what it knows and running them
// again as late inputs arrive, end in the very world one machine reaches with every
// input known in time; every machine records the same game, which replays alone.
#include <gtest/gtest.h>

#include "NetTable.h"
#include "replay/ScratchFile.h"
#include "replay/DataFingerprint.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace kelvane {
namespace {

using net::CommandInput;
using net::FrameInputs;
using net::KeyInput;
using testing::NetTable;
using testing::TempGameDir;

constexpr uint64_t Frames = 420;
const char* const ShipOf[] = {"", "Vigil", "Kestrel", "Talon"};

// Each seat creates its own ship, steers and fires; one starts the battle, one types in
// its console, one pauses the game for a while.
FrameInputs Script(int seat, uint64_t frame) {
    FrameInputs inputs;
    if (frame == 2 + static_cast<uint64_t>(seat)) inputs.push_back(CommandInput(std::string("CREATESHIP ") + ShipOf[seat]));
    if (seat == 1 && frame == 30) inputs.push_back(CommandInput("EXEC battle"));
    if (frame > 40 && frame < 380) {
        if (frame % static_cast<uint64_t>(seat + 2) == 0) inputs.push_back(KeyInput(seat == 2 ? VK_RIGHT : VK_LEFT, 0));
        if (frame % 5 == static_cast<uint64_t>(seat)) inputs.push_back(KeyInput(VK_UP, 0));
        if (frame % 9 == 0) inputs.push_back(KeyInput(VK_SPACE, 0));
        if (frame % 31 == static_cast<uint64_t>(seat)) inputs.push_back(KeyInput(VK_MENU, 0));
    }
    if (seat == 2 && frame == 200) inputs.push_back(KeyInput(ConsoleKey, 0));
    if (seat == 2 && frame == 202) inputs.push_back(KeyInput('N', 0));
    if (seat == 2 && frame == 204) inputs.push_back(KeyInput(VK_BACK, 0));
    if (seat == 2 && frame == 206) inputs.push_back(KeyInput(ConsoleKey, 0));
    if (seat == 3 && (frame == 250 || frame == 262)) inputs.push_back(KeyInput(VK_PAUSE, 0));
    return inputs;
}

// One machine, every input known before its frame: the inputs of each seat in seat order.
uint64_t OneMachine(const TempGameDir& dir, int seats) {
    HeadlessMachine machine(false);
    TMainForm form(machine.Services(dir.Path(), 7));
    form.DrawsPictures = false;
    for (uint64_t frame = 1; frame <= Frames; ++frame) {
        for (int seat = 1; seat <= seats; ++seat) {
            form.SetInputSeat(seat);
            if (seat == 1 && frame == 1)
                for (int s = 1; s <= seats; ++s) form.TakeSeat(s, testing::SeatName(s));
            if (frame == 1) continue;
            for (const net::PlayerInput& input : Script(seat, frame)) {
                if (input.Kind == net::InputKind::Key) form.KeyPressed(input.Key, input.Shift);
                if (input.Kind == net::InputKind::Command) form.DoConsoleCommand(input.Text);
            }
        }
        form.SetInputSeat(0);
        machine.Tick(form);
    }
    EXPECT_EQ(form.SwallowedErrors(), 0u);
    return WorldChecksum(form.World);
}

struct Link {
    int Delay;
    int Jitter;
};

class RollbackOverLinks : public ::testing::TestWithParam<Link> {};

TEST_P(RollbackOverLinks, EveryMachineEndsInTheWorldOfOneMachineKnowingAll) {
    TempGameDir dir;
    const uint64_t expected = OneMachine(dir, 3);
    NetTable table(dir, 3, Script);
    table.Run(Frames, GetParam().Delay, GetParam().Jitter);
    ASSERT_TRUE(table.Done(Frames));
    for (int seat = 1; seat <= 3; ++seat) {
        net::Rollback& game = *table.Peer(seat).Game;
        EXPECT_EQ(WorldChecksum(table.Peer(seat).Form->World), expected) << "seat " << seat;
        EXPECT_LE(game.Counts().MostAhead, net::Rollback::Window);
        if (GetParam().Delay > 0) {
            EXPECT_GT(game.Counts().Rollbacks, 0u) << "seat " << seat;
        }
        EXPECT_EQ(table.Peer(seat).Form->SwallowedErrors(), 0u);
    }
    // The game itself: three players' ships and the battle's computer ships.
    const World& world = table.Peer(2).Form->World;
    EXPECT_EQ(world.ShipCount, 8);
    EXPECT_NE(world.Seats[1].ControlledShip, 0);
    EXPECT_NE(world.Seats[2].ControlledShip, world.Seats[1].ControlledShip);
    EXPECT_EQ(world.Ships[world.Seats[3].ControlledShip].ShipName, "Talon");
}

INSTANTIATE_TEST_SUITE_P(Delays, RollbackOverLinks,
                         ::testing::Values(Link{0, 0}, Link{1, 0}, Link{3, 1}, Link{5, 2}, Link{7, 0}),
                         [](const auto& info) {
                             return "Delay" + std::to_string(info.param.Delay) + "Jitter" +
                                    std::to_string(info.param.Jitter);
                         });

TEST(RollbackRecording, EveryMachineRecordsTheSameGameAndEachReplaysAlone) {
    TempGameDir dir;
    NetTable table(dir, 3, Script);
    std::vector<std::unique_ptr<testing::ScratchFile>> files;
    std::vector<std::unique_ptr<ReplayWriter>> writers;
    for (int seat = 1; seat <= 3; ++seat) {
        files.push_back(std::make_unique<testing::ScratchFile>("seat.replay"));
        // A writer writes out what it holds once a second; by the game's own time, as the
        // networked game does, so that every machine splits its runs of frames alike.
        ReplayWriterOptions gameTime;
        net::Rollback* game = table.Peer(seat).Game.get();
        gameTime.Clock = [game] { return game->Confirmed() * TFrameTimer::Interval; };
        writers.push_back(std::make_unique<ReplayWriter>(
            files.back()->Path(), ReplayHeader{7, FingerprintGameData(dir.Path())}, gameTime));
        table.Peer(seat).Game->Recorder = writers.back().get();
    }
    table.Run(Frames, 4, 2);
    ASSERT_TRUE(table.Done(Frames));
    for (int seat = 1; seat <= 3; ++seat) writers[static_cast<size_t>(seat - 1)]->Finish(table.Peer(seat).Form->World);

    const std::string first = testing::ReadFileText(files[0]->Path());
    EXPECT_NE(first.find("player 2\n"), std::string::npos);
    EXPECT_NE(first.find("join 3 P3\n"), std::string::npos);
    for (size_t i = 1; i < files.size(); ++i) EXPECT_EQ(testing::ReadFileText(files[i]->Path()), first);

    const Replay replay = LoadReplay(files[2]->Path());
    ASSERT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    HeadlessMachine machine(false);
    ReplayPlayer player(replay);
    TMainForm form(player.Services(machine.Services(dir.Path(), std::nullopt)));
    form.DrawsPictures = false;
    while (player.PlayFrame(form, [&machine](TMainForm& played) { machine.Tick(played); })) {
    }
    player.Finish(form);
    EXPECT_FALSE(player.Divergence());
    EXPECT_GE(player.ChecksCompared(), Frames / 25);
    EXPECT_EQ(WorldChecksum(form.World), WorldChecksum(table.Peer(1).Form->World));
}

TEST(RollbackWindow, NoMachineRunsMoreThanEightFramesAheadOfWhatIsKnown) {
    TempGameDir dir;
    NetTable table(dir, 2, Script);
    table.Run(120, 20, 0);  // half a second each way: beyond the window, the game waits
    ASSERT_TRUE(table.Done(120));
    EXPECT_EQ(table.Peer(1).Game->Counts().MostAhead, net::Rollback::Window);
    EXPECT_GT(table.Waits, 0u);
    EXPECT_EQ(WorldChecksum(table.Peer(1).Form->World), WorldChecksum(table.Peer(2).Form->World));
}

}  // namespace
}  // namespace kelvane
