// Where the runner (like the game) finds its data, and where the ship picture archive goes
// when the data folder cannot be written: the player's cache folder, and only when that
// fails too does the start fail, naming both.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

SimResult Start(const TempGameDir& dir, const fs::path& cacheHome) {
    return RunSim({"--data", dir.Path(), "--seed", "3", "--frames", "3", "--dump", "last:-"}, dir.Root().string(),
                  {"XDG_CACHE_HOME=" + cacheHome.string()});
}

TEST(ShipArchive, AWritableDataFolderKeepsItAndTheCacheIsNotTouched) {
    TempGameDir dir;
    const SimResult run = Start(dir, dir.Root() / "cache");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(fs::is_regular_file(dir.Root() / "Data" / "Ships.dxg"));
    EXPECT_FALSE(fs::exists(dir.Root() / "cache"));
    EXPECT_EQ(run.Err, "");
    // Written under a name of its own and renamed: no temporary is left beside it.
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.Root() / "Data"))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

// Data/Ships.dxg as a folder stops its writing even for root, whom no file mode stops.
TEST(ShipArchive, AnUnwritableDataFolderSendsItToTheCacheWithTheSameGame) {
    TempGameDir writable, blocked;
    fs::create_directory(blocked.Root() / "Data" / "Ships.dxg");
    const SimResult usual = Start(writable, writable.Root() / "cache");
    const SimResult cached = Start(blocked, blocked.Root() / "cache");
    ASSERT_EQ(cached.ExitCode, 0) << cached.Err;
    EXPECT_EQ(cached.Err, "");
    EXPECT_TRUE(fs::is_regular_file(blocked.Root() / "cache" / "kelvane" / "Ships.dxg"));
    EXPECT_EQ(fs::file_size(blocked.Root() / "cache" / "kelvane" / "Ships.dxg"),
              fs::file_size(writable.Root() / "Data" / "Ships.dxg"));
    EXPECT_EQ(cached.Out, usual.Out) << "the game read back from the cache is the same game";
}

TEST(ShipArchive, WhenNeitherCanBeWrittenTheStartFailsNamingBoth) {
    TempGameDir blocked;
    fs::create_directory(blocked.Root() / "Data" / "Ships.dxg");
    blocked.WriteFile("cache/kelvane", "a file where the cache folder should be");
    const SimResult run = Start(blocked, blocked.Root() / "cache");
    EXPECT_EQ(run.ExitCode, 1);
    // Each place with the system's reason.
    const std::string expected = "kelvane-sim: the game cannot start: Cannot create file " +
                                 (blocked.Root() / "Data" / "Ships.dxg").string() + ": Is a directory\nThe cache folder " +
                                 (blocked.Root() / "cache" / "kelvane").string() +
                                 "/ cannot be written either (Cannot create file " +
                                 (blocked.Root() / "cache" / "kelvane" / "Ships.dxg").string() + ": Not a directory).\n" +
                                 "kelvane-sim: while writing " + (blocked.Root() / "Data" / "Ships.dxg").string() + "\n";
    EXPECT_EQ(run.Err, expected);
    EXPECT_TRUE(run.Out.empty());
}

// A copy of the runner in a folder of its own finds the data beside it first, else in
// ../share/kelvane/; with neither it names both places.
TEST(DataLocation, BesideTheProgramThenInstalledElseAClearMessage) {
    TempGameDir root({false, false, false});
    const fs::path bin = root.Root() / "opt" / "bin";
    fs::create_directories(bin);
    fs::copy_file(KELVANE_SIM, bin / "kelvane-sim");
    const std::string runner = (bin / "kelvane-sim").string();
    auto start = [&] {
        const std::string command = "cd " + ShellQuote(root.Path()) + " && env XDG_CACHE_HOME=" +
                                    ShellQuote(root.Path() + "cache") + " XDG_DATA_HOME=" +
                                    ShellQuote(root.Path() + "data") + " " + ShellQuote(runner) +
                                    " --frames 2 --dump last:state.json 2>err.txt";
        const int status = std::system(command.c_str());
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(root.Path() + "err.txt"));
    };
    auto link = [](const fs::path& game) {
        fs::create_directories(game / "Data");
        for (const char* name : {"GFX.dxg", "SFX.dxg", "Loading.dxg"})
            fs::create_symlink(fs::path(KELVANE_BINARY_DIR) / "Data" / name, game / "Data" / name);
        fs::create_directory_symlink(fs::path(KELVANE_BINARY_DIR) / "Data" / "Ships", game / "Data" / "Ships");
        fs::create_directory_symlink(fs::path(KELVANE_BINARY_DIR) / "Scripts", game / "Scripts");
    };

    auto [status, err] = start();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "kelvane-sim: cannot find the game's data: neither " + bin.string() + "/Data/ nor " +
                       (root.Root() / "opt" / "share" / "kelvane").string() +
                       "/Data/ exists (--data DIR names a folder holding Data/ and Scripts/)\n");

    link(root.Root() / "opt" / "share" / "kelvane");
    std::tie(status, err) = start();
    EXPECT_EQ(status, 0) << err;
    EXPECT_TRUE(fs::exists(root.Root() / "opt" / "share" / "kelvane" / "Data" / "Ships.dxg"));

    link(bin);
    std::tie(status, err) = start();
    EXPECT_EQ(status, 0) << err;
    EXPECT_TRUE(fs::exists(bin / "Data" / "Ships.dxg")) << "the data beside the program comes first";
}

}  // namespace
}  // namespace kelvane::testing
