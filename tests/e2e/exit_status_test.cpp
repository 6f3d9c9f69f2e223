// How the runner ends when it cannot go on: the usage asked for, a start that fails on a
// file while a recording is replayed.

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

TEST(ExitStatus, HelpIsTheUsageOnStandardOutput) {
    TempGameDir dir;
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"--tournament", "--help"}}) {
        const SimResult run = RunSim(arguments, dir.Root().string());
        EXPECT_EQ(run.ExitCode, 0) << arguments.back() << "\n" << run.Err;
        EXPECT_EQ(run.Out.rfind("usage: kelvane-sim", 0), 0u) << run.Out;
        EXPECT_TRUE(run.Err.empty()) << run.Err;
    }
}

TEST(ExitStatus, AReplayThatCannotStartNamesTheFileAtFault) {
    TempGameDir dir;
    const std::string recording = (dir.Root() / "run.replay").string();
    ASSERT_EQ(RunSim({"--data", dir.Path(), "--frames", "5", "--record", recording}, dir.Root().string()).ExitCode, 0);
    // The same data but for one damaged ship picture, played anyway.
    fs::remove(dir.Root() / "Data" / "Ships");
    fs::copy(fs::path(KELVANE_BINARY_DIR) / "Data" / "Ships", dir.Root() / "Data" / "Ships");
    std::ofstream(dir.Root() / "Data" / "Ships" / "Vigil.bmp", std::ios::trunc) << "not a picture";
    const SimResult run = RunSim({"--data", dir.Path(), "--replay", recording, "--force"}, dir.Root().string());
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("kelvane-sim: the game cannot start: Bitmap image is not valid\n"
                           "kelvane-sim: while reading " + dir.Path() + "Data/Ships/Vigil.bmp\n"),
              std::string::npos)
        << run.Err;
}

}  // namespace
}  // namespace kelvane::testing
