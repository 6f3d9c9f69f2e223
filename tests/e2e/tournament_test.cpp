// The tournament through kelvane-sim: the same result file byte for byte whatever the
// threads and however it is split and merged; a destroyed ship counted as a loss on its
// frame; bad arguments and bad parts refused with exit status 2.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CraftedShips.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

std::vector<std::string> Tournament(const TempGameDir& dir, std::vector<std::string> more) {
    std::vector<std::string> arguments = {"--tournament", "--data", dir.Path(), "--ships", "Vigil,Talon,Wisp",
                                          "--games",      "4",      "--ticks",  "3000",    "--seed",
                                          "3"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

TEST(Tournament, TheSameResultFileWhateverTheThreadsAndTheParts) {
    TempGameDir dir;
    const std::string root = dir.Root().string() + "/";
    const SimResult one = RunSim(Tournament(dir, {"--jobs", "1", "--json", root + "one.json"}), root);
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    const SimResult two = RunSim(Tournament(dir, {"--jobs", "2", "--json", root + "two.json"}), root);
    ASSERT_EQ(two.ExitCode, 0) << two.Err;
    for (const char* part : {"1/2", "2/2"}) {
        const std::string file = root + "part" + std::string(1, part[0]) + ".json";
        const SimResult run = RunSim(Tournament(dir, {"--jobs", "2", "--shard", part, "--json", file}), root);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
    }
    const SimResult merged =
        RunSim({"--merge", root + "part2.json", root + "part1.json", "--json", root + "merged.json"}, root);
    ASSERT_EQ(merged.ExitCode, 0) << merged.Err;

    // Loading wrote its Data/Ships.dxg into a game directory of the run's own.
    EXPECT_FALSE(std::filesystem::exists(dir.Root() / "Data" / "Ships.dxg"));

    const std::string expected = ReadText(root + "one.json");
    EXPECT_EQ(ReadText(root + "two.json"), expected);
    EXPECT_EQ(ReadText(root + "merged.json"), expected);
    EXPECT_NE(ReadText(root + "part1.json"), ReadText(root + "part2.json"));
    EXPECT_EQ(merged.Out, one.Out);  // the same table

    const nlohmann::json results = ParseJson(expected);
    EXPECT_EQ(results["ships"], nlohmann::json({"Talon", "Vigil", "Wisp"}));
    ASSERT_EQ(results["duels"].size(), 12u);
    ASSERT_EQ(results["table"].size(), 3u);
    int wins = 0, losses = 0, draws = 0;
    for (const auto& row : results["table"]) {
        wins += row["wins"].get<int>();
        losses += row["losses"].get<int>();
        draws += row["draws"].get<int>();
    }
    EXPECT_EQ(wins, losses);
    EXPECT_EQ(wins + draws / 2, 12);
}

TEST(Tournament, ADestroyedShipIsALossForItAndAWinForTheOther) {
    TempGameDir dir(TempGameDir::Options{.LinkShips = false});
    for (const char* name : {"Vigil", "Wisp"}) {
        const std::string ships = "Data/Ships/" + std::string(name);
        dir.CopyFile(std::string(KELVANE_BINARY_DIR) + "/" + ships + ".ini", ships + ".ini");
        dir.CopyFile(ShippedPicture(name), ships + ".bmp");
    }
    // No hull: its destruction starts in the first frame of every duel.
    dir.WriteFile("Data/Ships/Paper.ini", ShipIni("Paper", "Paper Moth", "Shields=50\r\nHull=0\r\nSpeed=500\r\n",
                                                  "PrimaryWeaponType=PHASER_ORANGE\r\n"));
    dir.CopyFile(ShippedPicture("Wisp"), "Data/Ships/Paper.bmp");
    const std::string root = dir.Root().string() + "/";
    const SimResult run = RunSim({"--tournament", "--data", dir.Path(), "--games", "2", "--ticks", "500", "--jobs",
                                  "2", "--json", root + "r.json"},
                                 root);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const nlohmann::json results = ParseJson(ReadText(root + "r.json"));
    EXPECT_EQ(results["ships"], nlohmann::json({"Paper", "Vigil", "Wisp"}));
    int paperDuels = 0;
    for (const auto& duel : results["duels"]) {
        if (duel["first"] != "Paper") continue;
        ++paperDuels;
        EXPECT_EQ(duel["winner"], duel["second"]);
        EXPECT_EQ(duel["frames"], 1);
    }
    EXPECT_EQ(paperDuels, 4);
    const auto& last = results["table"].back();
    EXPECT_EQ(last["ship"], "Paper");
    EXPECT_EQ(last["wins"], 0);
    EXPECT_EQ(last["losses"], 4);
    EXPECT_EQ(last["draws"], 0);
    EXPECT_TRUE(last["mean_frames_to_kill"].is_null());
    EXPECT_NE(run.Out.find("Paper"), std::string::npos);
}

TEST(Tournament, AGameThatCannotStartNamesTheRealFolder) {
    TempGameDir dir(TempGameDir::Options{.LinkArchives = false});
    const SimResult run = RunSim({"--tournament", "--data", dir.Path()}, dir.Root().string());
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("kelvane-sim: the game cannot start: "), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(dir.Path() + "Data/"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("kelvane-tournament-"), std::string::npos) << run.Err;
}

TEST(Tournament, BadArgumentsAndBadPartsExitWithStatus2) {
    TempGameDir dir;
    const std::string root = dir.Root().string() + "/";
    dir.WriteFile("not-a-part.json", "{\"format\": \"something\"}");
    struct Case {
        std::vector<std::string> arguments;
        bool usage;
    };
    const std::vector<Case> cases = {
        {{"--tournament", "--games", "0"}, true},
        {{"--tournament", "--shard", "3/2", "--json", "p.json"}, true},
        {{"--tournament", "--data", dir.Path(), "--ships", "Vigil,Nobody"}, false},
        {{"--merge"}, true},
        {{"--merge", root + "not-a-part.json"}, false},
        {{"--merge", root + "missing.json"}, false},
    };
    for (const Case& c : cases) {
        const SimResult run = RunSim(c.arguments, root);
        EXPECT_EQ(run.ExitCode, 2) << c.arguments.back() << "\n" << run.Err;
        EXPECT_EQ(run.Err.find("--help shows the usage") != std::string::npos, c.usage) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_TRUE(run.Out.empty());
    }
}

}  // namespace
}  // namespace kelvane::testing
