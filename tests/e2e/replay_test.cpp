// Recordings end to end through kelvane-sim: a runner session of the shipped battle with
// keys, console lines, field writes and a self-destruct is recorded, verified, and played
// back to the same dumps and pictures; other data, a wrong checksum and a cut-off file are
// each told apart; and the committed recording verifies in every build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<uint64_t> DumpTicks = {1, 36, 61, 101, 131, 155};
const std::vector<uint64_t> ShotTicks = {131, 300};

// prefix-tick.extension in the test's directory.
std::string OutputFile(const TempGameDir& dir, const std::string& prefix, const std::string& tick, const char* extension) {
    std::string name = prefix;
    name += '-';
    name += tick;
    name += extension;
    return (dir.Root() / name).string();
}

// The dumps and shots asked for, each in its own file under `prefix`.
std::vector<std::string> Outputs(const TempGameDir& dir, const std::string& prefix) {
    std::vector<std::string> arguments;
    for (uint64_t tick : DumpTicks) {
        arguments.insert(arguments.end(),
                         {"--dump", std::to_string(tick) + ":" + OutputFile(dir, prefix, std::to_string(tick), ".json")});
    }
    arguments.insert(arguments.end(), {"--dump", "last:" + OutputFile(dir, prefix, "last", ".json")});
    for (uint64_t tick : ShotTicks) {
        arguments.insert(arguments.end(),
                         {"--shot", std::to_string(tick) + ":" + OutputFile(dir, prefix, std::to_string(tick), ".png")});
    }
    return arguments;
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Records the battle scenario on `dir`'s data into `recording`.
SimResult Record(const TempGameDir& dir, const std::string& recording, const std::vector<std::string>& more = {}) {
    return RunSim(With({"--data", dir.Path(), "--scenario", Scenario("replay_battle.json"), "--record", recording}, more),
                  dir.Root().string());
}

SimResult Verify(const TempGameDir& dir, const std::string& recording, const std::vector<std::string>& more = {}) {
    return RunSim(With({"--data", dir.Path(), "--replay", recording, "--verify"}, more), dir.Root().string());
}

TEST(Replay, RecordedBattlePlaysBackToTheSameDumpsAndPictures) {
    TempGameDir dir;
    const std::string recording = (dir.Root() / "battle.replay").string();
    const SimResult recorded = Record(dir, recording, Outputs(dir, "run"));
    ASSERT_EQ(recorded.ExitCode, 0) << recorded.Err;

    const std::string text = ReadText(recording);
    for (const char* line : {"\nseed 5\n", "\nkey 20 0\npointer 0 0\nframes 1\ncommand EXEC battle\n", "\nkey 18 2\n",
                             "\nset Ships[2].Speed real 2.5\nset Ships[3].Hull int 1\n", "\nmouse 0\n", "\nkey 68 0\n",
                             "\ncheck 400 ", "\nend 400 "}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }

    const SimResult played = Verify(dir, recording, Outputs(dir, "replay"));
    ASSERT_EQ(played.ExitCode, 0) << played.Err;
    EXPECT_EQ(played.Out, "replay verified: 400 frames\n");
    EXPECT_EQ(played.Err, "");
    for (uint64_t tick : DumpTicks) {
        const std::string original = ReadText(OutputFile(dir, "run", std::to_string(tick), ".json"));
        ASSERT_FALSE(original.empty()) << tick;
        EXPECT_EQ(ReadText(OutputFile(dir, "replay", std::to_string(tick), ".json")), original) << "dump of tick " << tick;
    }
    EXPECT_EQ(ReadText(OutputFile(dir, "replay", "last", ".json")), ReadText(OutputFile(dir, "run", "last", ".json")));
    // The self-destruct of the player's ship after tick 100 shows in both.
    EXPECT_NE(ReadText(OutputFile(dir, "replay", "131", ".json")).find("is destroyed..."), std::string::npos);
    for (uint64_t tick : ShotTicks) {
        const std::string original = ReadText(OutputFile(dir, "run", std::to_string(tick), ".png"));
        ASSERT_FALSE(original.empty()) << tick;
        EXPECT_TRUE(ReadText(OutputFile(dir, "replay", std::to_string(tick), ".png")) == original) << "shot of tick " << tick;
    }
}

// A game directory with its own copy of the shipped ships, so that one can be changed.
class OwnShips : public ::testing::Test {
protected:
    OwnShips() : dir_({.LinkArchives = true, .LinkShips = false, .LinkScripts = true}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(KELVANE_BINARY_DIR) / "Data" / "Ships")) {
            dir_.CopyFile(entry.path(), "Data/Ships/" + entry.path().filename().string());
        }
        recording_ = (dir_.Root() / "battle.replay").string();
        const SimResult recorded = Record(dir_, recording_);
        EXPECT_EQ(recorded.ExitCode, 0) << recorded.Err;
        text_ = ReadText(recording_);
    }
    TempGameDir dir_;
    std::string recording_;
    std::string text_;
};

TEST_F(OwnShips, AChangedDefinitionFileIsNamed) {
    const fs::path vigil = dir_.Root() / "Data" / "Ships" / "Vigil.ini";
    WriteText(vigil, ReadText(vigil.string()) + "; a note that changes nothing in the game\n");
    const SimResult refused = Verify(dir_, recording_);
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(refused.Err, "kelvane-sim: replay made with other data: Data/Ships/Vigil.ini differs "
                           "(--force plays it anyway)\n");

    const SimResult forced = Verify(dir_, recording_, {"--force"});
    EXPECT_EQ(forced.ExitCode, 0) << forced.Err;
    EXPECT_EQ(forced.Out, "replay verified: 400 frames\n");
    EXPECT_NE(forced.Err.find("Data/Ships/Vigil.ini differs; playing it anyway (--force)"), std::string::npos);
}

TEST_F(OwnShips, AChangedShipPlaysDifferently) {
    const fs::path talon = dir_.Root() / "Data" / "Ships" / "Talon.ini";
    std::string definition = ReadText(talon.string());
    const size_t speed = definition.find("Speed=");
    ASSERT_NE(speed, std::string::npos);
    definition.insert(speed + 6, 1, '1');  // a faster Talon
    WriteText(talon, definition);
    const SimResult forced = Verify(dir_, recording_, {"--force"});
    EXPECT_EQ(forced.ExitCode, 1);
    EXPECT_EQ(forced.Out.rfind("replay diverges at frame ", 0), 0u) << forced.Out;
}

TEST_F(OwnShips, ACorruptedChecksumIsTheFrameWhereItDiverges) {
    const size_t check = text_.find("\ncheck 100 ");
    ASSERT_NE(check, std::string::npos);
    std::string corrupted = text_;
    char& digit = corrupted[check + 11];
    digit = digit == '0' ? '1' : '0';
    WriteText(recording_, corrupted);
    const SimResult played = Verify(dir_, recording_);
    EXPECT_EQ(played.ExitCode, 1);
    EXPECT_EQ(played.Out, "replay diverges at frame 100\n");
}

// Cut off after frame 250's checksum, once at the end of a line and once inside the next.
TEST_F(OwnShips, ATruncatedFileVerifiesUpToWhereItEnds) {
    const size_t check = text_.find("\ncheck 250 ");
    ASSERT_NE(check, std::string::npos);
    const size_t lineEnd = text_.find('\n', check + 1) + 1;
    for (size_t cut : {lineEnd, lineEnd + 3}) {
        WriteText(recording_, text_.substr(0, cut));
        const SimResult played = Verify(dir_, recording_, {"--dump", "last:" + (dir_.Root() / "cut.json").string()});
        EXPECT_EQ(played.ExitCode, 4) << played.Err;
        EXPECT_EQ(played.Out, "replay verified: 250 frames\n");
        EXPECT_NE(played.Err.find("the recording is truncated: "), std::string::npos) << played.Err;
        EXPECT_NE(played.Err.find("after frame 250"), std::string::npos) << played.Err;
        EXPECT_NE(ReadText((dir_.Root() / "cut.json").string()).find("\"Tick\": 250"), std::string::npos);
    }
}

TEST(Replay, FilesThatAreNoRecordingAndDamagedLines) {
    TempGameDir dir;
    const std::string file = (dir.Root() / "other.replay").string();
    WriteText(file, "{\"steps\": []}\n");
    const SimResult refused = Verify(dir, file);
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_EQ(refused.Err, "kelvane-sim: cannot replay " + file + ": line 1: not a Kelvane recording\n");

    // A recording whose second run of frames is damaged: the loading frame before it plays.
    const std::string recording = std::string(KELVANE_SOURCE_DIR) + "/tests/e2e/replays/battle.replay";
    std::string text = ReadText(recording);
    const size_t frames = text.find("\nframes 9\n");
    ASSERT_NE(frames, std::string::npos);
    text.replace(frames + 1, 8, "frames -9");
    WriteText(file, text);
    const SimResult damaged = Verify(dir, file);
    EXPECT_EQ(damaged.ExitCode, 2);
    // What came before the damage matched, but nothing calls the recording verified.
    EXPECT_EQ(damaged.Out, "replay damaged after frame 1: the frames before it match\n");
    EXPECT_NE(damaged.Err.find("the recording is damaged: line "), std::string::npos) << damaged.Err;
    EXPECT_NE(damaged.Err.find(": a tick count must be a whole number"), std::string::npos) << damaged.Err;
}

// Made once by the Release build (scripts/make-test-replay.sh); verified by every build's
// runner, so the Release and the ASan + UBSan builds must play the same game.
TEST(Replay, TheCommittedRecordingVerifies) {
    TempGameDir dir;
    const std::string recording = std::string(KELVANE_SOURCE_DIR) + "/tests/e2e/replays/battle.replay";
    const SimResult played = Verify(dir, recording);
    ASSERT_EQ(played.Err.find("replay made with other data"), std::string::npos)
        << played.Err << "The generated data has changed since the committed recording was made: make it anew "
        << "with scripts/make-test-replay.sh (on a Release build) and commit it.";
    EXPECT_EQ(played.ExitCode, 0) << played.Err;
    EXPECT_EQ(played.Out, "replay verified: 400 frames\n");
}

}  // namespace
}  // namespace kelvane::testing
