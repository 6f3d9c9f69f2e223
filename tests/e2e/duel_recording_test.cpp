// Recordings the runner makes beside a game: every duel of a tournament, which replays
// through the game's own form to the duel's result, and a recorded run that names the
// frame and the file of an error it passes over.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Tournament(const TempGameDir& dir, const std::string& json, std::vector<std::string> more) {
    std::vector<std::string> arguments = {"--tournament", "--data", dir.Path(), "--ships", "Vigil,Talon,Wisp",
                                          "--games", "2", "--ticks", "2500", "--seed", "3", "--jobs", "2",
                                          "--json", json};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// The dumped ship of that name.
const nlohmann::json& ShipNamed(const nlohmann::json& dump, const std::string& name) {
    for (const auto& ship : dump["Ships"])
        if (ship["ShipName"] == name) return ship;
    static const nlohmann::json none;
    ADD_FAILURE() << "no ship " << name;
    return none;
}

TEST(DuelRecordings, EveryDuelReplaysThroughTheFormToItsResult) {
    TempGameDir dir;
    const std::string root = dir.Root().string() + "/";
    const SimResult plain = RunSim(Tournament(dir, root + "plain.json", {}), root);
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
    const SimResult recorded = RunSim(Tournament(dir, root + "recorded.json", {"--record-duels", root + "duels"}), root);
    ASSERT_EQ(recorded.ExitCode, 0) << recorded.Err;
    // Recording changes nothing of the duels.
    EXPECT_EQ(ReadText(root + "recorded.json"), ReadText(root + "plain.json"));

    const nlohmann::json results = ParseJson(ReadText(root + "recorded.json"));
    ASSERT_EQ(results["duels"].size(), 6u);
    int scattered = 0, decided = 0;
    for (const auto& duel : results["duels"]) {
        const std::string first = duel["first"], second = duel["second"];
        const uint64_t frames = duel["frames"];
        const std::string name = first + "-" + second + "-0" + std::to_string(duel["game"].get<int>());
        const std::string file = root + "duels/" + name + ".replay";
        SCOPED_TRACE(name);
        // Loading with the run's seed, then the duel set up as it was: its own seed, the
        // two ships put into play as the console would put them but without its lines (no
        // ship is the player's), nobody's, and placed.
        const std::string text = ReadText(file);
        EXPECT_NE(text.find("\nseed 3\n"), std::string::npos);
        const size_t setup = text.find("\nskip 1\nset RandomState int " + std::to_string(duel["seed"].get<uint64_t>()));
        EXPECT_NE(setup, std::string::npos);
        EXPECT_NE(text.find(".InPlay int 1\n", setup), std::string::npos);
        EXPECT_NE(text.find("\nset ShipCount int 2\nset ControlledShip int 0\n", setup), std::string::npos);
        EXPECT_EQ(text.find("\ncommand "), std::string::npos);

        // Frame K of the duel is frame K + 1 of its recording: the first is the loading.
        const SimResult replayed =
            RunSim({"--data", dir.Path(), "--replay", file, "--verify", "--dump",
                    std::to_string(frames) + ":" + root + "before.json", "--dump", "last:" + root + "last.json"},
                   root);
        ASSERT_EQ(replayed.ExitCode, 0) << replayed.Err;
        EXPECT_EQ(replayed.Out, "replay verified: " + std::to_string(frames + 1) + " frames\n");
        const nlohmann::json before = ParseJson(ReadText(root + "before.json"));
        const nlohmann::json last = ParseJson(ReadText(root + "last.json"));
        for (const auto& line : last["ConsoleLog"])
            EXPECT_EQ(line.get<std::string>().find("under your control"), std::string::npos) << line;
        EXPECT_EQ(ShipNamed(before, first)["Dead"], 0);
        EXPECT_EQ(ShipNamed(before, second)["Dead"], 0);
        if (duel["winner"].is_null()) {
            // Out of time, both up; or both down in the same frame.
            const int down = frames == 2500 ? 0 : 1;
            EXPECT_EQ(ShipNamed(last, first)["Dead"], down);
            EXPECT_EQ(ShipNamed(last, second)["Dead"], down);
        } else {
            ++decided;
            const std::string winner = duel["winner"];
            EXPECT_EQ(ShipNamed(last, winner)["Dead"], 0);
            EXPECT_EQ(ShipNamed(last, winner == first ? second : first)["Dead"], 1);
        }
        if (duel["scatters"].get<int>() > 0) ++scattered;
    }
    // Both kinds of duel, and the new places of a scatter written between frames.
    EXPECT_GT(decided, 0);
    EXPECT_GT(scattered, 0);

    // A folder that cannot be made.
    dir.WriteFile("blocker", "a file");
    const SimResult refused = RunSim(Tournament(dir, root + "x.json", {"--record-duels", root + "blocker/duels"}), root);
    EXPECT_EQ(refused.ExitCode, 3);
    EXPECT_NE(refused.Err.find("kelvane-sim: cannot write the duels' recordings into " + root + "blocker/duels: "),
              std::string::npos)
        << refused.Err;
}

// Made once by the Release build (scripts/make-test-replay.sh), verified by every build.
TEST(DuelRecordings, TheCommittedDuelVerifies) {
    TempGameDir dir;
    const std::string root = dir.Root().string() + "/";
    const std::string recording = std::string(KELVANE_SOURCE_DIR) + "/tests/e2e/replays/duel.replay";
    const SimResult played =
        RunSim({"--data", dir.Path(), "--replay", recording, "--verify", "--dump", "last:" + root + "last.json"}, root);
    ASSERT_EQ(played.Err.find("replay made with other data"), std::string::npos)
        << played.Err << "The generated data has changed since the committed recording was made: make it anew "
        << "with scripts/make-test-replay.sh (on a Release build) and commit it.";
    EXPECT_EQ(played.ExitCode, 0) << played.Err;
    EXPECT_EQ(played.Out, "replay verified: 1417 frames\n");
    const nlohmann::json last = ParseJson(ReadText(root + "last.json"));
    EXPECT_EQ(ShipNamed(last, "Bastion")["Dead"], 0);
    EXPECT_EQ(ShipNamed(last, "Wisp")["Dead"], 1);
}

TEST(RecordedRun, AnErrorPassedOverIsNamedWithItsFrameAndRecording) {
    TempGameDir dir;
    const std::string root = dir.Root().string() + "/";
    // Vigil (slot 7) is flown; a step points the player's ship outside the table for a frame.
    dir.WriteFile("error.json", R"({"frames": 20, "steps": [{"after": 1, "command": "CREATESHIP Vigil"},
                                   {"after": 5, "set": {"ControlledShip": 100}},
                                   {"after": 6, "set": {"ControlledShip": 7}}]})");
    const std::string recording = root + "error.replay";
    const SimResult run = RunSim({"--data", dir.Path(), "--scenario", root + "error.json", "--record", recording}, root);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string expected = "kelvane-sim: an error was passed over in frame 6 (recorded in " + recording + "): ";
    EXPECT_EQ(run.Err.substr(0, expected.size()), expected) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;

    // The error is part of the game the recording holds.
    const SimResult replayed =
        RunSim({"--data", dir.Path(), "--replay", recording, "--verify", "--dump", "last:-"}, root);
    ASSERT_EQ(replayed.ExitCode, 0) << replayed.Err;
    const std::string out = replayed.Out;
    const size_t verified = out.rfind("replay verified: 20 frames\n");
    ASSERT_NE(verified, std::string::npos) << out;
    EXPECT_EQ(ParseJson(out.substr(0, verified))["SwallowedErrors"], 1);
}

}  // namespace
}  // namespace kelvane::testing
