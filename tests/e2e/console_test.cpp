// The console, end to end: key events type a command with the console's own layout, Enter
// runs it, and scripts run from the Scripts folder and nowhere else.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CraftedShips.h"
#include "DumpSeries.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

int SlotNamed(const nlohmann::json& state, const std::string& name) {
    for (size_t i = 0; i < state["Ships"].size(); ++i) {
        if (state["Ships"][i]["ShipName"] == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

int InPlayCount(const nlohmann::json& state) {
    int count = 0;
    for (const nlohmann::json& ship : state["Ships"]) count += ship["InPlay"].get<int>();
    return count;
}

std::vector<std::string> Log(const nlohmann::json& state) {
    return state["ConsoleLog"].get<std::vector<std::string>>();
}

// A game directory with its own ships (Kestrel and Wisp as shipped, and Vévoda, whose name
// needs a dead key) and its own scripts.
class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest() : dir_({true, false, false}) {
        for (const char* name : {"Kestrel", "Wisp"}) {
            dir_.CopyFile(std::string(KELVANE_BINARY_DIR) + "/Data/Ships/" + name + ".ini",
                          std::string("Data/Ships/") + name + ".ini");
            dir_.CopyFile(ShippedPicture(name), std::string("Data/Ships/") + name + ".bmp");
        }
        // Windows-1250 text: 0xE9 is "é".
        dir_.WriteFile("Data/Ships/vevoda.ini",
                       ShipIni("V\xE9voda", "KSS V\xE9voda", "Shields=100\r\nHull=90\r\n", ""));
        dir_.CopyFile(ShippedPicture("Wisp"), "Data/Ships/vevoda.bmp");
        dir_.WriteFile("Scripts/loop", "EXEC loop\r\nCREATESHIP Wisp\r\n");
        dir_.WriteFile("Scripts/finale", "CREATESHIP Kestrel\r\nQUIT\r\nCREATESHIP Wisp\r\n");
        dir_.WriteFile("Scripts/inside", "CREATESHIP Wisp\r\n");
        // Scripts outside the Scripts folder, under both spellings of the upper-cased name.
        dir_.WriteFile("X", "CREATESHIP Kestrel\r\n");
        dir_.WriteFile("x", "CREATESHIP Kestrel\r\n");
    }

    DumpSeries Run(const char* scenario, const std::vector<uint64_t>& ticks) {
        DumpSeries series = RunWithDumps(dir_, Scenario(scenario), ticks);
        EXPECT_EQ(series.Run.ExitCode, 0) << series.Run.Err;
        return series;
    }

    TempGameDir dir_;
};

TEST_F(ConsoleTest, TypedCommandCreatesTheShipItNames) {
    // console_typed_create.json, one key a tick: the console key after 1; Caps Lock after 2
    // and an idle tick (a key arriving while Caps Lock is still marked would toggle it back);
    // C R E A T E S H I P after 4..13; Caps Lock after 14 and an idle tick; Space after 16;
    // Shift+V after 17; the acute dead key (0xBB) after 18 and E after 19; V O D A after
    // 20..23; Enter after 24.
    const DumpSeries d = Run("console_typed_create.json", {2, 3, 14, 15, 19, 20, 24, 25});
    ASSERT_TRUE(d.Has(25));
    const int vevoda = SlotNamed(d[25], "V\u00e9voda");
    ASSERT_NE(vevoda, 0);

    EXPECT_EQ(d[2]["ConsoleOpen"], 1);
    EXPECT_EQ(d[2]["InputLine"], "");
    EXPECT_EQ(d[3]["CapsLock"], 1);
    EXPECT_EQ(d[3]["InputLine"], "") << "Caps Lock types nothing";
    EXPECT_EQ(d[14]["InputLine"], "CREATESHIP") << "capitals without Shift while Caps Lock is on";
    EXPECT_EQ(d[15]["CapsLock"], 0);
    EXPECT_EQ(d[15]["InputLine"], "CREATESHIP");
    EXPECT_EQ(d[19]["InputLine"], "CREATESHIP V\u00b4") << "the accent waits for its letter";
    EXPECT_EQ(d[20]["InputLine"], "CREATESHIP V\u00e9");
    EXPECT_EQ(d[24]["InputLine"], "CREATESHIP V\u00e9voda");
    EXPECT_EQ(d[24]["Ships"][vevoda - 1]["InPlay"], 0);
    EXPECT_EQ(d[24]["ConsoleLog"].size(), 2u);

    // Enter ran the line inside the frame; the typed line itself is not logged.
    const nlohmann::json& after = d[25];
    EXPECT_EQ(after["Ships"][vevoda - 1]["InPlay"], 1);
    EXPECT_EQ(after["ControlledShip"], vevoda);
    EXPECT_EQ(after["ShipCount"], 1);
    EXPECT_EQ(after["InputLine"], "");
    EXPECT_EQ(after["LastCommand"], "CREATESHIP V\u00e9voda");
    EXPECT_EQ(after["ConsoleOpen"], 1);
    const std::vector<std::string> log = Log(after);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "7Ship KSS V\u00e9voda hase been created and is under your control.");
    EXPECT_EQ(InPlayCount(after), 1);
}

TEST_F(ConsoleTest, ScriptsOutsideTheScriptsFolderAreNotRun) {
    // After tick 1: EXEC ../x, EXEC ..\x, EXEC Scripts/../../x and EXEC ..; after tick 2 the
    // script "inside", which does run.
    const DumpSeries d = Run("console_exec_traversal.json", {1, 2, 3});
    ASSERT_TRUE(d.Has(3));
    EXPECT_EQ(d[2]["ConsoleLog"], d[1]["ConsoleLog"]);
    EXPECT_EQ(InPlayCount(d[2]), 0);
    EXPECT_EQ(d[2]["SwallowedErrors"], 0);
    const int wisp = SlotNamed(d[3], "Wisp");
    ASSERT_NE(wisp, 0);
    EXPECT_EQ(d[3]["Ships"][wisp - 1]["InPlay"], 1);
    EXPECT_EQ(InPlayCount(d[3]), 1);
    EXPECT_EQ(Log(d[3]).back(), "7Ship Wisp Seeker hase been created and is under your control.");
}

TEST_F(ConsoleTest, AScriptThatRunsItselfStopsWithOneLine) {
    // "loop" runs itself, then creates Wisp. After tick 2 YOURSHIP, after tick 3 CREATESHIP.
    const DumpSeries d = Run("console_script_nesting.json", {2, 3, 4});
    ASSERT_TRUE(d.Has(4)) << "the game went on";
    const std::vector<std::string> log = Log(d[2]);
    EXPECT_EQ(std::count(log.begin(), log.end(), "7Script LOOP was not run: scripts nest too deep."), 1);
    const auto created = std::count_if(log.begin(), log.end(), [](const std::string& line) {
        return line.rfind("7Ship Wisp Seeker hase been created", 0) == 0;
    });
    EXPECT_EQ(created, 1) << "every level went on with its next line; only the first found Wisp free";
    EXPECT_EQ(log.size(), 4u);
    EXPECT_EQ(InPlayCount(d[2]), 1);
    EXPECT_EQ(d[2]["SwallowedErrors"], 0);
    EXPECT_EQ(Log(d[3]).back(), "7Ship you are currently controling is: Wisp Seeker");
    EXPECT_EQ(Log(d[4]).back(), "7Ship Kestrel Dawn hase been created.");
    EXPECT_EQ(d[4]["SwallowedErrors"], 0);
}

TEST_F(ConsoleTest, TypedQuitEndsTheRunAfterItsTick) {
    // Console key after 1, q u i t after 2..5, Enter after 6; the scenario asks for 60 ticks.
    const DumpSeries d = RunWithDumps(dir_, Scenario("console_typed_quit.json"), {6, 7, 8});
    // A dump asked for a tick the run never reaches is no silent success.
    EXPECT_EQ(d.Run.ExitCode, 1);
    EXPECT_NE(d.Run.Err.find("--dump 8:"), std::string::npos) << d.Run.Err;
    EXPECT_NE(d.Run.Err.find(": the run ends after tick 7, so tick 8 never comes\n"), std::string::npos) << d.Run.Err;
    ASSERT_TRUE(d.Has(7));
    EXPECT_EQ(d[6]["Closed"], false);
    EXPECT_EQ(d[6]["InputLine"], "quit");
    EXPECT_EQ(d[7]["Closed"], true);
    EXPECT_EQ(d[7]["LastCommand"], "quit");
    EXPECT_FALSE(d.Has(8)) << "the runner went on after the game closed";
}

TEST_F(ConsoleTest, QuitInAScriptLetsTheScriptFinishAndEndsTheRunThere) {
    // "finale": CREATESHIP Kestrel, QUIT, CREATESHIP Wisp; run between ticks 1 and 2, as an
    // event would be: the game closes there and no further tick runs.
    const SimResult run = RunSim({"--data", dir_.Path(), "--scenario", Scenario("console_script_quit.json"),
                                  "--dump", "2:" + (dir_.Root() / "tick2.json").string(), "--dump", "last:-"},
                                 dir_.Root().string());
    EXPECT_EQ(run.ExitCode, 1) << run.Err;  // the dump of tick 2 is named as never written
    EXPECT_EQ(run.Err, "kelvane-sim: --dump 2:" + (dir_.Root() / "tick2.json").string() +
                           ": the run ends after tick 1, so tick 2 never comes\n");
    const nlohmann::json state = run.Json();
    EXPECT_EQ(state["Tick"], 1);
    EXPECT_EQ(state["Closed"], true);
    EXPECT_EQ(InPlayCount(state), 2);
    const std::vector<std::string> log = Log(state);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "7Ship Kestrel Dawn hase been created and is under your control.");
    EXPECT_EQ(log[3], "7Ship Wisp Seeker hase been created.");
    EXPECT_FALSE(std::filesystem::exists(dir_.Root() / "tick2.json"));
}

// The shipped script "battle", typed in lower case.
TEST(Console, TypedExecRunsAShippedScript) {
    TempGameDir dir;
    const DumpSeries d = RunWithDumps(dir, Scenario("console_exec_battle.json"), {13, 14});
    ASSERT_EQ(d.Run.ExitCode, 0) << d.Run.Err;
    ASSERT_TRUE(d.Has(14));
    EXPECT_EQ(d[13]["InputLine"], "exec battle");
    EXPECT_EQ(InPlayCount(d[13]), 0);

    // What the script asks for, line by line.
    std::istringstream script(ReadText(std::string(KELVANE_BINARY_DIR) + "/Scripts/battle"));
    std::vector<std::string> expected;
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string keyword = "CREATESHIP ";
        ASSERT_EQ(line.rfind(keyword, 0), 0u) << line;
        const int slot = SlotNamed(d[14], line.substr(keyword.size()));
        ASSERT_NE(slot, 0) << line;
        EXPECT_EQ(d[14]["Ships"][slot - 1]["InPlay"], 1) << line;
        const std::string full = d[14]["Ships"][slot - 1]["FullShipName"];
        expected.push_back(expected.empty()
                               ? "7Ship " + full + " hase been created and is under your control."
                               : "7Ship " + full + " hase been created.");
    }
    ASSERT_EQ(expected.size(), 8u);
    EXPECT_EQ(InPlayCount(d[14]), 8);
    EXPECT_EQ(d[14]["ShipCount"], 8);
    const std::vector<std::string> log = Log(d[14]);
    ASSERT_EQ(log.size(), 2 + expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.end()), expected);
    EXPECT_EQ(d[14]["SwallowedErrors"], 0);
}

}  // namespace
}  // namespace kelvane::testing
