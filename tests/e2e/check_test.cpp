// kelvane --check as a player runs it: no display (DISPLAY unset), the findings and a
// summary on standard output, exit status 1 only when something does not work.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CraftedShips.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

SimResult Check(const TempGameDir& dir, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> arguments = {"--check", "--data", dir.Path()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return RunProgram(KELVANE_GAME, arguments, dir.Root().string(),
                      {"-u DISPLAY", "-u WAYLAND_DISPLAY", "-u SDL_VIDEODRIVER", "HOME=" + dir.Root().string()});
}

// "PATH:LINE: error: ..." (or warning, note) about one of `files` (under `root`).
bool IsFinding(const std::string& line, const std::string& root, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const std::string path = root + file + ":";
        if (!line.starts_with(path)) continue;
        size_t at = path.size();
        const size_t digits = line.find_first_not_of("0123456789", at);
        if (digits == at || digits == std::string::npos) return false;
        const std::string rest = line.substr(digits);
        return rest.starts_with(": error: ") || rest.starts_with(": warning: ") || rest.starts_with(": note: ");
    }
    return false;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

TEST(CheckCommand, TheShippedDataChecksCleanWithoutADisplay) {
    TempGameDir dir;
    const SimResult run = Check(dir);
    EXPECT_EQ(run.ExitCode, 0) << run.Out << run.Err;
    EXPECT_EQ(run.Out, "8 ship definitions, 8 pictures and 3 scripts checked: no errors, no warnings\n");
    EXPECT_EQ(run.Err, "");
}

TEST(CheckCommand, FindingsOneALineThenTheSummary) {
    TempGameDir dir({true, false, false});
    dir.WriteFile("Data/Ships/Probe.ini", ShipIni("Probe", "The Probe", "Sheilds=200\r\nHull=0\r\nSpeed=600\r\n",
                                                  "PrimaryWeaponType=BEAM_POLARONN\r\n"));
    WriteBytes(dir, "Data/Ships/Probe.bmp", ShipPictureBmp(60, 60, [](int x, int y) { return x > 20 && y > 20; }));
    dir.WriteFile("Scripts/fight", "CREATESHIP Prob\nEXEC fihgt\n");
    const SimResult run = Check(dir);
    EXPECT_EQ(run.ExitCode, 1) << run.Out << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_GE(lines.size(), 5u) << run.Out;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(IsFinding(lines[i], dir.Path(), {"Data/Ships/Probe.ini", "Data/Ships/Probe.bmp", "Scripts/fight"}))
            << lines[i];
    const std::string summary = "1 ship definition, 1 picture and 1 script checked: ";
    EXPECT_TRUE(lines.back().starts_with(summary) && lines.back().find(" errors, ") != std::string::npos)
        << lines.back();
    const std::string ini = dir.Path() + "Data/Ships/Probe.ini:";
    for (const std::string& expected :
         {ini + "6: warning: unknown key Sheilds in [StrengthIndices]: the game ignores it; did you mean Shields?",
          ini + "7: error: Hull 0: the ship explodes as soon as it is put into play, and again each time it comes back",
          ini + "11: error: unknown weapon \"BEAM_POLARONN\" in PrimaryWeaponType: it fires nothing; did you mean "
                "BEAM_POLARON?",
          dir.Path() + "Scripts/fight:1: error: CREATESHIP \"PROB\": no ship type has that name; did you mean Probe?",
          dir.Path() + "Scripts/fight:2: error: EXEC \"FIHGT\": there is no such script; did you mean fight?"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected << "\n" << run.Out;
}

TEST(CheckCommand, WarningsAloneLeaveTheStatusAtZeroAndThePlayersOwnShipsCount) {
    TempGameDir dir;
    dir.WriteFile("xdg-data/kelvane/Ships/Zephyr.ini",
                  ShipIni("Zephyr", "Zephyr Prime",
                          "Shields=250\r\nHull=200\r\nSpeed=300\r\nAccurancy=600\r\nPrimaryWeapon=400\r\n",
                          "PrimaryWeaponType=DISRUPTOR_MARK1\r\n"));
    dir.CopyFile(ShippedPicture("Wisp"), "xdg-data/kelvane/Ships/Zephyr.bmp");
    const SimResult run = Check(dir);
    EXPECT_EQ(run.ExitCode, 0) << run.Out << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 2u) << run.Out;
    EXPECT_NE(
        lines[0].find("xdg-data/kelvane/Ships/Zephyr.ini:8: warning: Speed gives a top speed of 3 pixels a frame"),
        std::string::npos)
        << lines[0];
    EXPECT_EQ(lines[1], "9 ship definitions, 9 pictures and 3 scripts checked: no errors, 1 warning");
}

TEST(CheckCommand, AWrongOptionBesideItIsAUsageError) {
    TempGameDir dir;
    const SimResult run = Check(dir, {"--bogus"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("usage: kelvane"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("--check"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace kelvane::testing
