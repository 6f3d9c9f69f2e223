// The fight end to end: destruction messages and re-entry on their exact frames, and the
// shipped eight-ship battle running long enough to kill, respawn and score.
//
// Frame arithmetic used below: a step "after K" lands between ticks K and K + 1. A key
// acts at the end of tick K + 1; the destruction of a ship whose hull is gone starts in
// the update of the next unpaused tick, whose explosion clock then reads 1. The clock
// passes 25 in the 26th such tick, which writes the console line and sets the respawn
// wait, counted down once in that same tick (178 left). The wait runs out 178 ticks
// later, when the re-entry starts (AppearFrame 1 in that tick); 14 ticks after that the
// ship is back in the fight.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DumpSeries.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

int DestroyedLines(const nlohmann::json& state) {
    int count = 0;
    for (const auto& line : state["ConsoleLog"]) {
        if (line.get<std::string>().find(" is destroyed...") != std::string::npos) ++count;
    }
    return count;
}

std::string LastLine(const nlohmann::json& state) {
    return state["ConsoleLog"].back().get<std::string>();
}

// Slot of the ship with this name in a dump; 0 when there is none.
int SlotOf(const nlohmann::json& state, const std::string& name) {
    for (size_t s = 0; s < state["Ships"].size(); ++s) {
        if (state["Ships"][s]["ShipName"] == name) return static_cast<int>(s) + 1;
    }
    return 0;
}

TEST(Fight, SelfDestructMessageAndReturnOnTheirFrames) {
    TempGameDir dir;
    // D pressed after tick 5: hull 0 at the end of tick 6, destruction from tick 7.
    const DumpSeries run =
        RunWithDumps(dir, Scenario("fight_self_destruct.json"), {6, 7, 31, 32, 209, 210, 223, 224});
    ASSERT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    ASSERT_EQ(run.At.size(), 8u);
    const int s = run[6]["ControlledShip"].get<int>();
    ASSERT_EQ(s, 7);  // the scenario lowers the shields of slot 7
    ASSERT_EQ(run.Ship(6, s)["ShipName"], "Vigil");

    EXPECT_EQ(run.Ship(6, s)["Hull"], 0);
    EXPECT_EQ(run.Ship(6, s)["Dead"], 0);
    EXPECT_EQ(run.Ship(7, s)["Exploding"], 1);
    EXPECT_EQ(run.Ship(7, s)["Dead"], 1);
    EXPECT_EQ(run.Ship(7, s)["ExplosionTimer"], 1);

    EXPECT_EQ(DestroyedLines(run[31]), 0);
    EXPECT_EQ(run.Ship(31, s)["ExplosionTimer"], 25);
    EXPECT_EQ(DestroyedLines(run[32]), 1);
    EXPECT_EQ(LastLine(run[32]), "2Your ship (Vigil) is destroyed...");
    EXPECT_EQ(run.Ship(32, s)["Exploding"], 0);
    EXPECT_EQ(run.Ship(32, s)["AwaitingRespawn"], 1);
    EXPECT_EQ(run.Ship(32, s)["RespawnTimer"], 178);

    EXPECT_EQ(run.Ship(209, s)["AwaitingRespawn"], 1);
    EXPECT_EQ(run.Ship(209, s)["RespawnTimer"], 1);
    EXPECT_EQ(run.Ship(210, s)["Appearing"], 1);
    EXPECT_EQ(run.Ship(210, s)["AppearFrame"], 1);

    const nlohmann::json& before = run.Ship(223, s);
    EXPECT_EQ(before["Appearing"], 1);
    EXPECT_EQ(before["Dead"], 1);
    EXPECT_EQ(before["AppearFrame"], 14);
    const nlohmann::json& back = run.Ship(224, s);
    EXPECT_EQ(back["Appearing"], 0);
    EXPECT_EQ(back["Dead"], 0);
    EXPECT_EQ(back["InPlay"], 1);
    EXPECT_EQ(back["Shields"], back["MaxShields"]);
    EXPECT_EQ(back["Hull"], back["MaxHull"]);
    EXPECT_GT(back["MaxShields"].get<int>(), 7);
    EXPECT_EQ(back["Target"], s);  // alone in play, it targets itself
    EXPECT_EQ(run[224]["SwallowedErrors"], 0);
}

TEST(Fight, PauseDelaysTheSelfDestruct) {
    TempGameDir dir;
    // D and Pause together after tick 5, Pause again after tick 15: the world stands from
    // tick 7 to 16, the destruction starts in tick 17 and ends in tick 42.
    const DumpSeries run =
        RunWithDumps(dir, Scenario("fight_self_destruct_paused.json"), {15, 16, 17, 41, 42});
    ASSERT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    ASSERT_EQ(run.At.size(), 5u);
    const int s = run[15]["ControlledShip"].get<int>();
    EXPECT_EQ(run[15]["Paused"], 1);
    EXPECT_EQ(run.Ship(15, s)["Hull"], 0);
    EXPECT_EQ(run.Ship(16, s)["Exploding"], 0);
    EXPECT_EQ(run[16]["Paused"], 0);
    EXPECT_EQ(run.Ship(17, s)["ExplosionTimer"], 1);
    EXPECT_EQ(DestroyedLines(run[41]), 0);
    EXPECT_EQ(DestroyedLines(run[42]), 1);
    EXPECT_EQ(LastLine(run[42]),
              "2Your ship (" + run.Ship(42, s)["ShipName"].get<std::string>() + ") is destroyed...");
}

TEST(Fight, AnotherShipsDestructionIsAnnouncedInItsOwnColour) {
    TempGameDir dir;
    // Slot 8's hull is set to 0 after tick 4: destruction from tick 5, message in tick 30,
    // re-entry from tick 208, back in the fight in tick 222.
    const DumpSeries run =
        RunWithDumps(dir, Scenario("fight_other_destroyed.json"), {29, 30, 207, 208, 221, 222});
    ASSERT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    ASSERT_EQ(run.At.size(), 6u);
    ASSERT_EQ(run.Ship(29, 8)["ShipName"], "Wisp");
    ASSERT_NE(run[29]["ControlledShip"], 8);

    EXPECT_EQ(DestroyedLines(run[29]), 0);
    EXPECT_EQ(DestroyedLines(run[30]), 1);
    EXPECT_EQ(LastLine(run[30]), "4Wisp is destroyed...");
    EXPECT_EQ(run.Ship(207, 8)["AwaitingRespawn"], 1);
    EXPECT_EQ(run.Ship(208, 8)["Appearing"], 1);
    EXPECT_EQ(run.Ship(221, 8)["Dead"], 1);
    const nlohmann::json& back = run.Ship(222, 8);
    EXPECT_EQ(back["Dead"], 0);
    EXPECT_EQ(back["Shields"], back["MaxShields"]);
    EXPECT_EQ(back["Hull"], back["MaxHull"]);
    // Back in the fight, it takes the only other ship as its target.
    EXPECT_EQ(back["Target"], run[222]["ControlledShip"]);
}

TEST(Fight, TheShippedBattleKillsRespawnsAndScores) {
    TempGameDir dir;
    const DumpSeries run = RunWithDumps(dir, Scenario("fight_battle.json"), {2, 10000});
    ASSERT_EQ(run.Run.ExitCode, 0) << run.Run.Err;
    ASSERT_TRUE(run.Has(2) && run.Has(10000));
    EXPECT_EQ(run[2]["ShipCount"], 8);

    const nlohmann::json& end = run[10000];
    EXPECT_EQ(end["SwallowedErrors"], 0) << end["Errors"];
    EXPECT_EQ(end["ShipCount"], 8);

    std::set<std::string> destroyed;
    for (const auto& entry : end["ConsoleLog"]) {
        const std::string line = entry.get<std::string>();
        const std::string mine = "2Your ship (";
        const std::string suffix = " is destroyed...";
        if (line.rfind(mine, 0) == 0) {
            destroyed.insert(line.substr(mine.size(), line.find(')') - mine.size()));
        } else if (line.size() > suffix.size() + 1 && line[0] == '4' &&
                   line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0) {
            destroyed.insert(line.substr(1, line.size() - suffix.size() - 1));
        }
    }
    EXPECT_GE(DestroyedLines(end), 2);
    ASSERT_FALSE(destroyed.empty());

    int back = 0;
    for (const std::string& name : destroyed) {
        const int s = SlotOf(end, name);
        ASSERT_NE(s, 0) << name;
        const nlohmann::json& ship = end["Ships"][s - 1];
        EXPECT_EQ(ship["InPlay"], 1) << name;
        if (ship["Dead"] == 0 && ship["Hull"].get<int>() > 0) ++back;
    }
    EXPECT_GE(back, 1) << "no destroyed ship came back";

    int scoreTotal = 0;
    for (const auto& ship : end["Ships"]) {
        EXPECT_GE(ship["Score"].get<int>(), 0);
        scoreTotal += ship["Score"].get<int>();
    }
    EXPECT_GT(scoreTotal, 0);
}

}  // namespace
}  // namespace kelvane::testing
