// Every output of the runner, the tournament and the asset tool written where it cannot
// go (the full device /dev/full, and a tiny full disk when the tests run as root): each
// ends with status 3 and a line naming the file, and nothing is left under its name.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FullDisk.h"
#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

// kelvane-sim with its standard output sent to `output` instead of the test.
SimResult RunSimInto(const std::string& output, const std::vector<std::string>& arguments, const std::string& work) {
    std::vector<std::string> shell = {"-c", "exec \"$0\" \"$@\" > " + ShellQuote(output), KELVANE_SIM};
    shell.insert(shell.end(), arguments.begin(), arguments.end());
    return RunProgram("/bin/sh", shell, work);
}

std::vector<std::string> SmallTournament(const TempGameDir& dir) {
    return {"--tournament", "--data", dir.Path(), "--ships", "Talon,Vigil", "--games", "1", "--ticks", "50"};
}

// "kelvane-sim: ...cannot write FILE: No space left on device" ("... the recording FILE ...").
bool SaysNotWritten(const std::string& err, const std::string& file) {
    return err.find("kelvane-sim: ") == 0 && err.find("cannot write ") != std::string::npos &&
           err.find(" " + file + ": No space left on device") != std::string::npos;
}

// The result file of the small tournament, for a merge to read.
std::string MadePart(const TempGameDir& dir) {
    const std::string part = dir.Root().string() + "/part.json";
    std::vector<std::string> arguments = SmallTournament(dir);
    arguments.insert(arguments.end(), {"--json", part});
    EXPECT_EQ(RunSim(arguments, dir.Root().string()).ExitCode, 0);
    return part;
}

struct Output {
    std::string what;
    std::vector<std::string> arguments;  // FILE stands for the file written
    bool toStandardOutput;               // FILE goes to standard output ("-" or the table)
};

std::vector<Output> Outputs(const TempGameDir& dir, const std::string& part) {
    auto tournament = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = SmallTournament(dir);
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const std::string data = dir.Path();
    return {
        {"a dump", {"--data", data, "--frames", "2", "--dump", "1:FILE"}, false},
        {"the last dump on standard output", {"--data", data, "--frames", "2", "--dump", "last:-"}, true},
        {"a shot", {"--data", data, "--frames", "2", "--shot", "1:FILE"}, false},
        {"a recording", {"--data", data, "--frames", "2", "--record", "FILE"}, false},
        {"a tournament's result file", tournament({"--json", "FILE"}), false},
        {"a tournament's result file on standard output", tournament({"--json", "-"}), true},
        {"a tournament's table", tournament({}), true},
        {"a merged result file", {"--merge", part, "--json", "FILE"}, false},
    };
}

std::vector<std::string> Placed(std::vector<std::string> arguments, const std::string& file) {
    for (std::string& argument : arguments) {
        const size_t at = argument.find("FILE");
        if (at != std::string::npos) argument.replace(at, 4, file);
    }
    return arguments;
}

TEST(FullDisk, EveryOutputOfTheRunnerFailsOnAFullDevice) {
    TempGameDir dir;
    const std::string work = dir.Root().string();
    const std::string part = MadePart(dir);
    for (const Output& output : Outputs(dir, part)) {
        const SimResult run = output.toStandardOutput ? RunSimInto("/dev/full", output.arguments, work)
                                                      : RunSim(Placed(output.arguments, "/dev/full"), work);
        EXPECT_EQ(run.ExitCode, 3) << output.what << "\n" << run.Err;
        const std::string named = output.toStandardOutput ? "standard output" : "/dev/full";
        EXPECT_TRUE(SaysNotWritten(run.Err, named)) << output.what << "\n" << run.Err;
    }
}

TEST(FullDisk, EveryOutputOfTheRunnerFailsOnAFullDiskAndLeavesNoFile) {
    FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    TempGameDir dir;
    const std::string work = dir.Root().string();
    const std::string part = MadePart(dir);
    for (const Output& output : Outputs(dir, part)) {
        const std::string file = (disk.Root() / "out").string();
        const SimResult run = output.toStandardOutput ? RunSimInto(file, output.arguments, work)
                                                      : RunSim(Placed(output.arguments, file), work);
        EXPECT_EQ(run.ExitCode, 3) << output.what << "\n" << run.Err;
        const std::string named = output.toStandardOutput ? "standard output" : file;
        EXPECT_TRUE(SaysNotWritten(run.Err, named)) << output.what << "\n" << run.Err;
        // The shell makes the file standard output goes to; nothing else is left.
        std::set<std::string> left = disk.Left();
        if (output.toStandardOutput) left.erase("out");
        EXPECT_TRUE(left.empty()) << output.what << ": " << *left.begin();
        fs::remove(file);
    }
}

TEST(FullDisk, TheDuelsRecordingsOnAFullDiskEndWithStatus3) {
    FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    TempGameDir dir;
    std::vector<std::string> arguments = SmallTournament(dir);
    arguments.insert(arguments.end(), {"--record-duels", disk.Root().string()});
    const SimResult run = RunSim(arguments, dir.Root().string());
    EXPECT_EQ(run.ExitCode, 3) << run.Err;
    EXPECT_NE(run.Err.find("cannot write the recording " + disk.Root().string() + "/Talon-Vigil-01.replay: No space "
                           "left on device"),
              std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("1 of the duels' recordings could not be written"), std::string::npos) << run.Err;
}

TEST(FullDisk, TheAssetToolStopsAtTheFirstFileThatCannotBeWritten) {
    TempGameDir work;
    // The graphics archive is the first file written: here it leads to the full device.
    const fs::path game = work.Root() / "game";
    fs::create_directories(game / "Data");
    fs::create_symlink("/dev/full", game / "Data" / "GFX.dxg");
    const std::string source = std::string(KELVANE_SOURCE_DIR) + "/data";
    const SimResult full = RunProgram(KELVANE_ASSETS, {source, game.string()}, work.Root().string());
    EXPECT_EQ(full.ExitCode, 3) << full.Err;
    EXPECT_EQ(full.Err, "kelvane-assets: cannot write " + (game / "Data" / "GFX.dxg").string() +
                            ": No space left on device\n");
    EXPECT_TRUE(fs::is_symlink(game / "Data" / "GFX.dxg"));

    FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    const SimResult onDisk = RunProgram(KELVANE_ASSETS, {source, disk.Root().string()}, work.Root().string());
    EXPECT_EQ(onDisk.ExitCode, 3) << onDisk.Err;
    EXPECT_NE(onDisk.Err.find("cannot write " + disk.Root().string() + "/Data/GFX.dxg: No space left on device"),
              std::string::npos)
        << onDisk.Err;
    for (const auto& entry : fs::recursive_directory_iterator(disk.Root()))
        EXPECT_TRUE(entry.is_directory() || entry.path().filename() == "filler") << entry.path();
}

}  // namespace
}  // namespace kelvane::testing
