#include <gtest/gtest.h>

#include <filesystem>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

TEST(Startup, LoadsTheShippedDataAndWritesTheShipArchive) {
    TempGameDir dir;
    const SimResult run = RunSim({"--data", dir.Path(), "--dump", "last:-"}, dir.Root().string());
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const nlohmann::json state = run.Json();
    EXPECT_EQ(state["Tick"], 1);
    EXPECT_EQ(state["Loaded"], 1);
    ASSERT_GE(state["ConsoleLog"].size(), 2u);
    EXPECT_EQ(state["ConsoleLog"][0], "6Welcome to Orvath : Kelvane");
    EXPECT_EQ(state["ConsoleLog"][1], "7version: 1.0 beta");
    EXPECT_EQ(state["LoadingPauseMs"], 650);
    EXPECT_EQ(state["SwallowedErrors"], 0);
    EXPECT_EQ(state["ImagePatternCounts"].size(), 22u);

    // Every definition file fills a slot, in name order; the rest stay zero.
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root() / "Data" / "Ships")) {
        if (entry.path().extension() == ".ini") files.push_back(entry.path().filename().string());
    }
    ASSERT_GE(files.size(), 8u);
    const int shipCount = static_cast<int>(files.size());
    EXPECT_EQ(state["ShipImagesCount"], shipCount);
    const nlohmann::json& ships = state["Ships"];
    ASSERT_EQ(ships.size(), 64u);
    for (int s = 0; s < shipCount; ++s) {
        const nlohmann::json& ship = ships[s];
        EXPECT_NE(ship["ShipName"], "") << s + 1;
        EXPECT_EQ(ship["InPlay"], 0);
        EXPECT_EQ(ship["Target"], s + 1);
        EXPECT_EQ(ship["ShieldsUp"], 1);
        EXPECT_EQ(ship["Shields"], ship["MaxShields"]);
        EXPECT_EQ(ship["Hull"], ship["MaxHull"]);
        EXPECT_EQ(ship["ImageIndex"], s);
        EXPECT_GE(ship["X"].get<int>(), 300);
        EXPECT_LE(ship["X"].get<int>(), 1746);
        EXPECT_GE(ship["Y"].get<int>(), 300);
        EXPECT_LE(ship["Y"].get<int>(), 1234);
    }
    for (int s = shipCount; s < 64; ++s) {
        EXPECT_EQ(ships[s]["ShipName"], "") << s + 1;
        EXPECT_EQ(ships[s]["Hull"], 0) << s + 1;
        EXPECT_EQ(ships[s]["ImageIndex"], 0) << s + 1;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.Root() / "Data" / "Ships.dxg"));
}

TEST(Startup, SameSeedSameWorld) {
    TempGameDir first, second;
    const SimResult a = RunSim({"--data", first.Path(), "--seed", "7", "--frames", "3", "--dump", "last:-"},
                               first.Root().string());
    const SimResult b = RunSim({"--data", second.Path(), "--seed", "7", "--frames", "3", "--dump", "last:-"},
                               second.Root().string());
    ASSERT_EQ(a.ExitCode, 0) << a.Err;
    ASSERT_EQ(b.ExitCode, 0) << b.Err;
    EXPECT_EQ(a.Out, b.Out);
    const SimResult c = RunSim({"--data", second.Path(), "--seed", "8", "--dump", "last:-"}, second.Root().string());
    EXPECT_NE(a.Json()["Ships"][0]["X"], nlohmann::json()) << c.Err;
    EXPECT_NE(c.Json()["Ships"], a.Json()["Ships"]);
}

TEST(Startup, MissingDataEndsWithAClearMessage) {
    struct Case {
        const char* remove;
        const char* expected;
    } cases[] = {
        {"Data/GFX.dxg", "Cannot open file"},
        {"Data/SFX.dxg", "Cannot open file"},
        {"Data/Loading.dxg", "Cannot open file"},
    };
    for (const Case& c : cases) {
        TempGameDir dir;
        std::filesystem::remove(dir.Root() / c.remove);
        const SimResult run = RunSim({"--data", dir.Path(), "--dump", "last:-"}, dir.Root().string());
        EXPECT_EQ(run.ExitCode, 1) << c.remove;
        EXPECT_NE(run.Err.find(c.expected), std::string::npos) << c.remove << ": " << run.Err;
        EXPECT_TRUE(run.Out.empty());
    }
    TempGameDir empty({true, false, true});
    const SimResult run = RunSim({"--data", empty.Path()}, empty.Root().string());
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("No ship definitions"), std::string::npos) << run.Err;
}

TEST(Startup, BadArgumentsAndScenariosExitTwo) {
    TempGameDir dir;
    const std::vector<std::vector<std::string>> bad = {
        {"--frames", "ten"}, {"--dump", "5"}, {"--wat"}, {"--shot", "1:-"}, {"--seed"},
        {"--verify"}, {"--force", "--frames", "3"}, {"--replay", "x.replay", "--seed", "3"}, {"--record"},
    };
    for (const auto& arguments : bad) {
        const SimResult run = RunSim(arguments, dir.Root().string());
        EXPECT_EQ(run.ExitCode, 2) << arguments[0];
        // One line: what is wrong, and where to find the usage.
        EXPECT_EQ(run.Err.rfind("kelvane-sim: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
        EXPECT_NE(run.Err.find("(kelvane-sim --help shows the usage)"), std::string::npos) << run.Err;
    }
    dir.WriteFile("bad.json", R"({"steps":[{"after":1,"set":{"Ships[1].Nope":3}}]})");
    const SimResult scenario = RunSim({"--data", dir.Path(), "--scenario", (dir.Root() / "bad.json").string()},
                                      dir.Root().string());
    EXPECT_EQ(scenario.ExitCode, 2);
    EXPECT_NE(scenario.Err.find("Ships[1].Nope"), std::string::npos) << scenario.Err;
    dir.WriteFile("notjson.json", "{");
    const SimResult broken = RunSim({"--data", dir.Path(), "--scenario", (dir.Root() / "notjson.json").string()},
                                    dir.Root().string());
    EXPECT_EQ(broken.ExitCode, 2);
}

}  // namespace
}  // namespace kelvane::testing
