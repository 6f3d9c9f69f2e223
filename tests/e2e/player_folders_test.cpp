// The player's own ships and scripts in $XDG_DATA_HOME/kelvane/, seen through the runner:
// new ship types take the slots after the shipped ones, a same-named file replaces a
// shipped one in its slot, EXEC finds the player's scripts first, and beyond 64 files the
// rest is left out with a line on stderr.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CraftedShips.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

// The shipped types in slot order (name order): Vigil is the seventh.
constexpr int ShippedTypes = 8;
constexpr int VigilSlot = 7;

class PlayerFolders : public ::testing::Test {
protected:
    // Runs the shipped data with the player's folder, EXEC-ing `command` after the first tick.
    SimResult Run(const std::string& command) {
        game.WriteFile("run.json", R"({"frames": 2, "steps": [{"after": 1, "command": ")" + command + R"("}]})");
        return RunSim({"--data", game.Path(), "--scenario", (game.Root() / "run.json").string(), "--dump", "last:-"},
                      game.Root().string(), {"XDG_DATA_HOME=" + (game.Root() / "player").string()});
    }
    // A file of the player's folder $XDG_DATA_HOME/kelvane/.
    void Own(const std::string& relative, const std::string& text) { game.WriteFile("player/kelvane/" + relative, text); }
    void OwnPicture(const std::string& relative, const std::string& shipped) {
        game.CopyFile(ShippedPicture(shipped), "player/kelvane/" + relative);
    }

    TempGameDir game;
};

TEST_F(PlayerFolders, AnOwnShipTypeIsCreatedByAnOwnScript) {
    Own("Ships/Zephyr.ini", ShipIni("Zephyr", "Zephyr Prime", "Shields=250\r\nHull=200\r\nSpeed=700\r\n",
                                    "PrimaryWeaponType=PHASER_ORANGE\r\n"));
    OwnPicture("Ships/Zephyr.bmp", "Wisp");
    Own("Scripts/patrol", "CREATESHIP Zephyr\nCREATESHIP Kestrel\n");
    const SimResult run = Run("EXEC patrol");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const nlohmann::json state = run.Json();
    EXPECT_EQ(state["ShipImagesCount"], ShippedTypes + 1);
    const nlohmann::json& zephyr = state["Ships"][ShippedTypes];  // slot 9: after the shipped ones
    EXPECT_EQ(zephyr["ShipName"], "Zephyr");
    EXPECT_EQ(zephyr["InPlay"], 1);
    EXPECT_EQ(zephyr["MaxShields"], 250);
    EXPECT_EQ(zephyr["ImageIndex"], ShippedTypes);
    EXPECT_EQ(state["ShipCount"], 2);
    EXPECT_EQ(state["ControlledShip"], ShippedTypes + 1);
    const nlohmann::json& log = state["ConsoleLog"];
    EXPECT_EQ(log[log.size() - 2], "7Ship Zephyr Prime hase been created and is under your control.");
}

TEST_F(PlayerFolders, TheOwnScriptOfAShippedNameRunsInsteadAndShippedOnesStillRun) {
    Own("Scripts/DUEL", "CREATESHIP Wisp\n");  // found without regard to case, as shipped ones
    SimResult run = Run("EXEC duel");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Json()["ShipCount"], 1);
    EXPECT_EQ(run.Json()["Ships"][7]["InPlay"], 1) << "Wisp, slot 8";

    run = Run("EXEC trio");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Json()["ShipCount"], 3);
}

TEST_F(PlayerFolders, ASameNamedDefinitionReplacesTheShippedOneInItsSlot) {
    struct Case {
        const char* what;
        const char* file;
        bool ownPicture;
    } cases[] = {
        {"same name, with its own picture", "Ships/Vigil.ini", true},
        {"a name differing in case, using the shipped picture", "Ships/vigil.INI", false},
    };
    for (const Case& c : cases) {
        fs::remove_all(game.Root() / "player");
        Own(c.file, ShipIni("Vigil", "KSS Vigil Refit", "Shields=999\r\nHull=380\r\n", "PrimaryWeaponType=BEAM_POLARON\r\n"));
        if (c.ownPicture) OwnPicture("Ships/Vigil.bmp", "Kestrel");
        const SimResult run = Run("CREATESHIP Vigil");
        ASSERT_EQ(run.ExitCode, 0) << c.what << "\n" << run.Err;
        const nlohmann::json state = run.Json();
        EXPECT_EQ(state["ShipImagesCount"], ShippedTypes) << c.what;
        const nlohmann::json& vigil = state["Ships"][VigilSlot - 1];
        EXPECT_EQ(vigil["FullShipName"], "KSS Vigil Refit") << c.what;
        EXPECT_EQ(vigil["MaxShields"], 999) << c.what;
        EXPECT_EQ(vigil["PrimaryWeaponType"], "BEAM_POLARON") << c.what;
        EXPECT_EQ(vigil["InPlay"], 1) << c.what;
        EXPECT_EQ(state["Ships"][ShippedTypes]["ShipName"], "") << c.what << ": no new slot";
    }
}

TEST_F(PlayerFolders, BeyondSixtyFourFilesTheRestIsLeftOutWithALine) {
    OwnPicture("Ships/Drone.bmp", "Wisp");
    const int own = 60;  // 68 in all
    for (int n = 1; n <= own; ++n) {
        char number[12];  // room for any int: the compiler cannot see that n stays below 100
        std::snprintf(number, sizeof number, "%02d", n);
        Own(std::string("Ships/Drone.") + number + ".ini",
            ShipIni(std::string("Drone") + number, std::string("Drone ") + number, "Hull=10\r\n", ""));
    }
    const SimResult run = Run("CREATESHIP Drone56");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const nlohmann::json state = run.Json();
    EXPECT_EQ(state["ShipImagesCount"], 64);
    EXPECT_EQ(state["Ships"][63]["ShipName"], "Drone56");
    EXPECT_EQ(state["Ships"][63]["InPlay"], 1);
    const std::string firstLeftOut = (game.Root() / "player/kelvane/Ships/Drone.57.ini").string();
    const std::string line = "only 64 ship types fit; " + firstLeftOut + " and later files are left out";
    EXPECT_NE(run.Err.find(line), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace kelvane::testing
