// The writer on its own: ticks without input cost a line per run, lines reach the file
// at least once a second, and a file that cannot be written costs one report line and
// never an exception.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFile.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace kelvane {
namespace {

using testing::ReadFileText;
using testing::ScratchFile;

ReplayHeader SmallHeader() { return ReplayHeader{3, {{"Data/GFX.dxg", 1}}}; }

TEST(ReplayWriter, TicksWithoutInputAreRunsBetweenChecksums) {
    ScratchFile file("idle.replay");
    World world;
    {
        ReplayWriterOptions stillClock;  // no write-out in between splits a run
        stillClock.Clock = [] { return uint64_t{0}; };
        ReplayWriter writer(file.Path(), SmallHeader(), stillClock);
        for (int tick = 1; tick <= 1000; ++tick) writer.TickEnded(world, true);
        writer.KeyDown(VK_SPACE, ssShift);
        for (int tick = 1; tick <= 10; ++tick) writer.TickEnded(world, tick > 5);
        writer.Finish(world);
        EXPECT_FALSE(writer.Failed());
    }
    const Replay replay = ReadReplay(ReadFileText(file.Path()));
    ASSERT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    EXPECT_EQ(replay.Frames, 1010u);
    // 40 runs of 25 frames and their checksums, the key, two runs, the end.
    const std::vector<ReplayRecord> records = ReplayRecords(replay);
    ASSERT_EQ(records.size(), 84u);
    EXPECT_EQ(FormatRecord(records[0]), "frames 25");
    EXPECT_EQ(records[1].Kind, RecordKind::Check);
    EXPECT_EQ(FormatRecord(records[80]), "key 32 1");
    EXPECT_EQ(FormatRecord(records[81]), "skip 5");
    EXPECT_EQ(FormatRecord(records[82]), "frames 5");
    EXPECT_EQ(records[83].Kind, RecordKind::End);
}

TEST(ReplayWriter, WritesOutAtLeastOnceASecond) {
    ScratchFile file("paced.replay");
    uint64_t now = 5000;
    ReplayWriterOptions options;
    options.Clock = [&now] { return now; };
    World world;
    // The game's own file, written where it is as the game goes.
    const int descriptor = ::open(file.Path().c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(descriptor, 0);
    ReplayWriter writer(OwnRecordingFile{file.Path(), descriptor}, SmallHeader(), options);
    const size_t header = ReadFileText(file.Path()).size();
    EXPECT_EQ(ReadFileText(file.Path()), FormatHeader(SmallHeader()));  // the header goes out at once
    for (int tick = 1; tick <= 10; ++tick) {
        now += 99;
        writer.TickEnded(world, true);
        writer.KeyDown(VK_UP, 0);
    }
    EXPECT_EQ(ReadFileText(file.Path()).size(), header);  // 990 ms: still gathered
    now += 10;
    writer.TickEnded(world, true);
    const std::string text = ReadFileText(file.Path());
    EXPECT_GT(text.size(), header);
    EXPECT_EQ(text.substr(text.size() - 9), "frames 1\n");  // everything up to this tick
    const Replay replay = ReadReplay(text);
    EXPECT_EQ(replay.Ending, ReplayEnding::Truncated);  // a kill now would leave this much
    EXPECT_EQ(replay.Frames, 11u);
}

// A runner's recording replaces the file at its path only once it is whole: until then
// the file there stays as it was, and nothing else is left beside it.
TEST(ReplayWriter, AFileStandingAtThePathStaysWholeUntilTheRecordingEnds) {
    ScratchFile file("runner.replay");
    std::ofstream(file.Path()) << "an older recording\n";
    World world;
    {
        ReplayWriter writer(file.Path(), SmallHeader());
        for (int tick = 0; tick < 30; ++tick) writer.TickEnded(world, true);
        EXPECT_EQ(ReadFileText(file.Path()), "an older recording\n");
        writer.Finish(world);
        EXPECT_FALSE(writer.Failed());
    }
    EXPECT_EQ(ReadReplay(ReadFileText(file.Path())).Frames, 30u);
    const std::filesystem::path folder = std::filesystem::path(file.Path()).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

TEST(ReplayWriter, AFileThatCannotBeWrittenStopsTheRecordingOnly) {
    std::vector<std::string> paths = {"/nonexistent-kelvane-dir/game.replay"};
    if (std::filesystem::exists("/dev/full")) paths.push_back("/dev/full");  // opens, then every write fails
    for (const std::string& path : paths) {
        std::vector<std::string> reports;
        ReplayWriterOptions options;
        options.Report = [&reports](const std::string& line) { reports.push_back(line); };
        World world;
        ReplayWriter writer(path, SmallHeader(), options);
        writer.KeyDown(VK_SPACE, 0);
        writer.MouseDown(0);
        writer.ConsoleLine("EXEC battle");
        writer.FieldWritten("ViewX", int64_t{4});
        for (int tick = 0; tick < 60; ++tick) writer.TickEnded(world, true);
        writer.Finish(world);
        EXPECT_TRUE(writer.Failed()) << path;
        EXPECT_FALSE(writer.Recording()) << path;
        ASSERT_EQ(reports.size(), 1u) << path;
        EXPECT_EQ(reports[0].find("cannot write the recording " + path + ": "), 0u) << reports[0];
        EXPECT_NE(reports[0].find("; the game goes on unrecorded"), std::string::npos) << reports[0];
    }
}

}  // namespace
}  // namespace kelvane
