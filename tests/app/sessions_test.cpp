// The game's two sessions on the headless platform: a game played is recorded into the
// folder of recordings (the newest 20 kept), names the frame and file of an error it
// passes over, and plays on unrecorded where nothing can be written; a recording watched
// plays the same game again, waits while the window cannot show it, and says how it ended.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "app/RecordedGame.h"
#include "app/WatchedRecording.h"
#include "game/PlayerActions.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/RecordingFolder.h"
#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing::TempGameDir;

std::tm StartTime(int second) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 15;
    time.tm_sec = second;
    return time;
}

std::set<std::string> Recordings(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A session driving a form on the headless platform, the lines it says kept.
struct Played {
    HeadlessMachine machine{false};
    std::vector<std::string> lines;
    SayLine say = [this](const std::string& line) { lines.push_back(line); };
    std::unique_ptr<TMainForm> form;

    void Start(GameSession& session, const TempGameDir& dir) {
        form = std::make_unique<TMainForm>(session.Services(machine.Services(dir.Path(), std::nullopt)));
        session.Begin(*form);
    }
    // A tick of the frame timer; false once the session wants no more.
    bool Tick(GameSession& session) {
        machine.Clock.Advance(40);
        session.Tick(*form);
        return session.Ticking();
    }
};

// A short game: a ship created from the console, flown, its controls given a bad value
// for two frames (each of which ends in an error the game passes over).
void PlayAGame(Played& game, GameSession& session) {
    int64_t controlled = 0;
    for (int tick = 1; tick <= 90; ++tick) {
        game.Tick(session);
        if (tick == 1) game.form->DoConsoleCommand("CREATESHIP Vigil");
        if (tick == 10 || tick == 11) game.form->KeyPressed(VK_UP, 0);
        if (tick == 30) game.form->KeyPressed(VK_LEFT, ssShift);
        if (tick == 49) {
            controlled = game.form->World.ControlledShip;
            game.form->SetWorldField("ControlledShip", int64_t{100});  // outside the table
        }
        if (tick == 51) game.form->SetWorldField("ControlledShip", controlled);
    }
}

TEST(RecordedGame, RecordsTheGameWithItsSeedKeepsTheNewestAndNamesTheFrameOfAnError) {
    TempGameDir dir;
    const fs::path folder = dir.Root() / "state" / "kelvane" / "replays";
    fs::create_directories(folder);
    for (int second = 0; second < 25; ++second) std::ofstream(folder / RecordingFileName(StartTime(second))) << "old";

    Played game;
    RecordedGame session(folder.string() + "/", StartTime(59), 4242, game.say);
    game.Start(session, dir);
    EXPECT_EQ(game.form->Services.Seed, 4242u);  // never the loading's clock: the recording must know it
    const std::string path = (folder / "kelvane-20261207-150059.replay").string();
    EXPECT_EQ(session.Path(), path);
    // The newest 20, this game's among them.
    const std::set<std::string> kept = Recordings(folder);
    EXPECT_EQ(kept.size(), 20u);
    EXPECT_TRUE(kept.count("kelvane-20261207-150059.replay"));
    EXPECT_FALSE(kept.count(RecordingFileName(StartTime(5))));
    EXPECT_TRUE(kept.count(RecordingFileName(StartTime(6))));

    PlayAGame(game, session);
    const uint64_t finalChecksum = WorldChecksum(game.form->World);
    session.End(*game.form);
    // Frames 50 and 51 ran with the bad value, each an error passed over.
    ASSERT_EQ(game.lines.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const std::string expected = "an error was passed over in frame " + std::to_string(50 + i) + " (recorded in " +
                                     path + "): ";
        EXPECT_EQ(game.lines[i].substr(0, expected.size()), expected) << game.lines[i];
    }

    // The recording plays the same game through a fresh form, checksum for checksum.
    const Replay replay = LoadReplay(path);
    EXPECT_EQ(replay.Ending, ReplayEnding::Complete);
    EXPECT_EQ(replay.Header.Seed, 4242u);
    EXPECT_EQ(replay.Frames, 90u);
    HeadlessMachine machine(false);
    ReplayPlayer player(replay);
    TMainForm again(player.Services(machine.Services(dir.Path(), std::nullopt)));
    while (player.PlayFrame(again, [&machine](TMainForm& form) { machine.Tick(form); })) {
    }
    player.Finish(again);
    EXPECT_EQ(player.ChecksCompared(), 90u / ChecksumInterval + 1);
    EXPECT_FALSE(player.Divergence());
    EXPECT_EQ(WorldChecksum(again.World), finalChecksum);
    EXPECT_EQ(again.SwallowedErrors(), 2u);
}

TEST(RecordedGame, WhereNothingCanBeWrittenOneLineAndTheGamePlaysOnUnrecorded) {
    TempGameDir dir;
    std::ofstream(dir.Root() / "state") << "a file where the folder should be";
    struct Case {
        const char* what;
        std::string folder;
        std::string line;
    };
    const Case cases[] = {
        {"a folder that cannot be made", (dir.Root() / "state" / "replays/").string(),
         "cannot make the folder of recordings " + (dir.Root() / "state" / "replays/").string() +
             ": Not a directory; the game goes on unrecorded"},
        {"no home", "",
         "there is no folder for recordings (neither XDG_STATE_HOME nor HOME is set); the game goes on unrecorded"},
    };
    for (const Case& c : cases) {
        Played game;
        RecordedGame session(c.folder, StartTime(0), 7, game.say);
        game.Start(session, dir);
        PlayAGame(game, session);
        session.End(*game.form);
        EXPECT_EQ(session.Path(), "") << c.what;
        ASSERT_EQ(game.lines.size(), 3u) << c.what;
        EXPECT_EQ(game.lines[0], c.line);
        EXPECT_EQ(game.lines[1].substr(0, 53), "an error was passed over in frame 50 (not recorded): ") << c.what;
        // The game itself went on as ever.
        EXPECT_EQ(game.form->World.Controlled().ShipName, "Vigil") << c.what;
        EXPECT_EQ(game.form->World.ShipCount, 1) << c.what;
    }
}

TEST(RecordedGame, AGameThatCannotStartLeavesNoRecording) {
    TempGameDir dir(TempGameDir::Options{.LinkArchives = false});
    const fs::path folder = dir.Root() / "replays";
    Played game;
    RecordedGame session(folder.string() + "/", StartTime(0), 7, game.say);
    game.Start(session, dir);
    EXPECT_FALSE(fs::is_empty(folder));
    game.Tick(session);
    ASSERT_TRUE(game.form->StartError());
    session.End(*game.form);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(session.Path(), "");
}

// Two games begun in the same second share the folder: each writes its own file, and the
// one that cannot start removes only its own.
TEST(RecordedGame, TwoGamesInOneSecondKeepTheirOwnRecordings) {
    TempGameDir good;
    TempGameDir broken(TempGameDir::Options{.LinkArchives = false});
    const fs::path folder = good.Root() / "replays";
    Played first, second;
    RecordedGame playing(folder.string() + "/", StartTime(0), 7, first.say);
    RecordedGame failing(folder.string() + "/", StartTime(0), 8, second.say);
    first.Start(playing, good);
    second.Start(failing, broken);
    EXPECT_EQ(Recordings(folder), (std::set<std::string>{"kelvane-20261207-150000.replay",
                                                         "kelvane-20261207-150000-2.replay"}));
    second.Tick(failing);
    ASSERT_TRUE(second.form->StartError());
    failing.End(*second.form);
    PlayAGame(first, playing);
    playing.End(*first.form);
    EXPECT_EQ(Recordings(folder), (std::set<std::string>{"kelvane-20261207-150000.replay"}));
    const Replay replay = LoadReplay(playing.Path());
    EXPECT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    EXPECT_EQ(replay.Frames, 90u);
}

TEST(PassedOverErrors, AGameFailingEveryFrameSaysSoOnlyAFewTimes) {
    TempGameDir dir;
    Played game;
    RecordedGame session("", StartTime(0), 7, [](const std::string&) {});
    game.Start(session, dir);
    PassedOverErrors errors(game.say);
    game.Tick(session);
    game.form->DoConsoleCommand("CREATESHIP Vigil");
    game.form->SetWorldField("ControlledShip", int64_t{100});
    for (uint64_t frame = 2; frame < 100; ++frame) {
        game.Tick(session);
        errors.Tell(*game.form, frame, "/r.replay");
    }
    EXPECT_EQ(game.form->SwallowedErrors(), 98u);
    ASSERT_EQ(game.lines.size(), PassedOverErrors::MaxLines + 1);
    EXPECT_EQ(game.lines[0].substr(0, 61), "an error was passed over in frame 2 (recorded in /r.replay): ");
    EXPECT_EQ(game.lines.back(), "further errors are passed over without a word (the first 20 are above)");
}

// Records a short game into `folder` and returns its file.
std::string RecordAGame(const TempGameDir& dir, const fs::path& folder) {
    Played game;
    RecordedGame session(folder.string() + "/", StartTime(0), 11, game.say);
    game.Start(session, dir);
    PlayAGame(game, session);
    session.End(*game.form);
    return session.Path();
}

TEST(WatchedRecording, PlaysTheGameAgainWaitingWhileTheWindowCannotShowIt) {
    TempGameDir dir;
    const Replay replay = LoadReplay(RecordAGame(dir, dir.Root() / "replays"));
    Played watch;
    WatchedRecording session(replay, watch.say);
    watch.Start(session, dir);
    int ticks = 0;
    for (; ticks < 40; ++ticks) ASSERT_TRUE(watch.Tick(session));
    // Minimised: ticks come, the recording waits for the window.
    watch.machine.Presenter.Drawable = false;
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(watch.Tick(session));
    EXPECT_EQ(session.FramesPlayed(), 40u);
    watch.machine.Presenter.Drawable = true;
    while (watch.Tick(session)) ASSERT_LT(++ticks, 1000);
    EXPECT_EQ(session.FramesPlayed(), 90u);
    EXPECT_EQ(session.Standing(), (StandingLine{"End of the recording (90 frames)", "Close the window to leave."}));
    EXPECT_TRUE(watch.lines.empty()) << watch.lines.front();
    EXPECT_EQ(watch.form->World.Controlled().ShipName, "Vigil");
}

TEST(WatchedRecording, ACutFileSaysWhereItBreaksOff) {
    TempGameDir dir;
    const std::string path = RecordAGame(dir, dir.Root() / "replays");
    std::string text;
    {
        std::ifstream file(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(file), {});
    }
    text.resize(text.find("check 50 "));  // a game killed after frame 50 was written
    const fs::path cut = dir.Root() / "cut.replay";
    std::ofstream(cut, std::ios::binary) << text;

    Played watch;
    Replay replay;
    const std::optional<int> refused = OpenRecordingToWatch(cut.string(), false, dir.Path(), {}, replay, watch.say);
    EXPECT_FALSE(refused);
    ASSERT_EQ(watch.lines.size(), 1u);
    const std::string& line = watch.lines[0];
    const std::string cutAt = "the recording is truncated: the recording stops after frame 50 (line ";
    EXPECT_EQ(line.substr(0, cutAt.size()), cutAt) << line;
    EXPECT_EQ(line.substr(line.size() - 23), "; playing its 50 frames") << line;
    WatchedRecording session(replay, watch.say);
    watch.Start(session, dir);
    while (watch.Tick(session)) {
    }
    EXPECT_EQ(session.FramesPlayed(), 50u);
    EXPECT_EQ(session.EndText(), "The recording breaks off after frame 50");
}

TEST(WatchedRecording, OtherDataIsRefusedUnlessForcedAndAFileThatIsNoRecordingToo) {
    TempGameDir dir;
    const std::string path = RecordAGame(dir, dir.Root() / "replays");
    TempGameDir other(TempGameDir::Options{.LinkScripts = false});
    other.WriteFile("Scripts/battle", "CREATESHIP Vigil\n");
    for (const bool force : {false, true}) {
        std::vector<std::string> lines;
        Replay replay;
        const std::optional<int> refused = OpenRecordingToWatch(
            path, force, other.Path(), {}, replay, [&lines](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(refused, force ? std::nullopt : std::optional<int>(1));
        EXPECT_EQ(lines, (std::vector<std::string>{force ? "replay made with other data: Scripts/battle differs; "
                                                           "playing it anyway (--force)"
                                                         : "replay made with other data: Scripts/battle differs "
                                                           "(--force plays it anyway)"}));
    }
    std::vector<std::string> lines;
    Replay replay;
    const std::optional<int> refused =
        OpenRecordingToWatch((dir.Root() / "Scripts").string(), false, dir.Path(), {}, replay,
                             [&lines](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(refused, 2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 14), "cannot replay ");
}

// The sessions' own rules, which the desktop follows: where keys go, whether the keys
// pressed now are the console's, when the game ticks and when the window closes.
TEST(PlayedGame, KeysGoToTheGameAndItsQuitClosesTheWindow) {
    TempGameDir dir;
    Played game;
    RecordedGame session("", StartTime(0), 7, [](const std::string&) {});
    game.Start(session, dir);
    game.Tick(session);
    GameInput& input = session.Input();
    input.KeyPressed(KeyOf(PlayerAction::Thrust), ssShift);
    EXPECT_EQ(game.form->World.KeyState[KeyOf(PlayerAction::Thrust)], 2);
    EXPECT_EQ(game.form->World.KeyState[VK_SHIFT], 2);
    // The console key pressed: keys typed before the next frame are the console's already,
    // and once it is open, until the console key is pressed again.
    const auto typing = [&] { return input.ConsoleOpen(); };
    EXPECT_FALSE(typing());
    input.KeyPressed(ConsoleKey, 0);
    EXPECT_TRUE(typing());
    game.Tick(session);
    EXPECT_TRUE(game.form->World.ConsoleOpen);
    EXPECT_TRUE(typing());
    input.KeyPressed(ConsoleKey, 0);
    EXPECT_FALSE(typing());
    game.Tick(session);
    EXPECT_FALSE(typing());

    EXPECT_FALSE(session.Closes(*game.form));
    game.form->DoConsoleCommand("QUIT");
    EXPECT_TRUE(session.Closes(*game.form));
    EXPECT_EQ(session.Standing(), StandingLine{});
    session.End(*game.form);
}

TEST(WatchedRecording, ThePauseKeyPausesThePlaybackAndNoOtherKeyReachesTheGame) {
    TempGameDir dir;
    const Replay replay = LoadReplay(RecordAGame(dir, dir.Root() / "replays"));
    Played watch;
    WatchedRecording session(replay, watch.say);
    watch.Start(session, dir);
    for (int tick = 0; tick < 20; ++tick) watch.Tick(session);
    GameInput& input = session.Input();
    EXPECT_FALSE(input.ConsoleOpen());  // the watcher's keys are never the watched console's
    const std::vector<uint8_t> keysBefore = watch.form->World.KeyState;
    for (const PlayerActionRow& row : PlayerActions) {
        if (row.Action != PlayerAction::Pause) input.KeyPressed(row.Key, 0);
    }
    input.KeyPressed(ConsoleKey, 0);
    input.MouseClick(0, 0, 10, 10);
    EXPECT_TRUE(session.Ticking());
    EXPECT_EQ(session.Standing(), StandingLine{});
    EXPECT_TRUE(watch.form->World.KeyState == keysBefore);

    input.KeyPressed(KeyOf(PlayerAction::Pause), 0);
    EXPECT_FALSE(session.Ticking());
    EXPECT_EQ(session.Standing(), (StandingLine{"Playback paused", "Esc goes on"}));
    input.KeyPressed(KeyOf(PlayerAction::Pause), 0);
    EXPECT_TRUE(session.Ticking());
    EXPECT_EQ(session.Standing(), StandingLine{});

    int ticks = 20;
    while (watch.Tick(session)) ASSERT_LT(++ticks, 1000);
    EXPECT_EQ(session.FramesPlayed(), 90u);
    // The watched game's QUIT never closes the window: the last picture stays.
    EXPECT_FALSE(session.Closes(*watch.form));
    input.KeyPressed(KeyOf(PlayerAction::Pause), 0);
    EXPECT_EQ(session.Standing().Text, "End of the recording (90 frames)");
}

}  // namespace
}  // namespace kelvane
