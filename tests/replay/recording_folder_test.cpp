// The player's folder of recordings: names by the time a game began, no name taken twice,
// and only the newest recordings kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "ScratchFile.h"
#include "replay/RecordingFolder.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

std::tm Time(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

TEST(RecordingFolder, NamesByTheTimeTheGameBegan) {
    EXPECT_EQ(RecordingFileName(Time(2026, 12, 7, 15, 3, 9)), "kelvane-20261207-150309.replay");
    EXPECT_EQ(RecordingFileName(Time(1999, 1, 31, 0, 0, 0)), "kelvane-19990131-000000.replay");
}

TEST(RecordingFolder, CreatesTheFolderAndTakesNoNameTwice) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path() / "state" / "kelvane" / "replays";
    const std::tm start = Time(2026, 12, 7, 15, 3, 9);
    std::set<std::string> paths;
    for (int game = 0; game < 3; ++game) {
        const std::string path = NewRecordingPath(folder.string(), start);
        ASSERT_FALSE(path.empty());
        std::ofstream(path) << "game";
        paths.insert(fs::path(path).filename().string());
    }
    EXPECT_EQ(paths, (std::set<std::string>{"kelvane-20261207-150309.replay", "kelvane-20261207-150309-2.replay",
                                            "kelvane-20261207-150309-3.replay"}));
    std::ofstream(folder / "blocker") << "a file where a folder should be";
    EXPECT_EQ(NewRecordingPath((folder / "blocker" / "replays").string(), start), "");
}

TEST(RecordingFolder, KeepsTheNewestOnly) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path();
    for (int second = 0; second < 25; ++second) {
        std::ofstream(folder / RecordingFileName(Time(2026, 12, 7, 15, 0, second))) << "game";
    }
    std::ofstream(folder / "kelvane-20261207-150024-2.replay") << "a second game in the newest second";
    std::ofstream(folder / "notes.txt") << "not a recording";
    KeepNewestRecordings(folder.string(), 20);
    const std::set<std::string> left = Entries(folder);
    EXPECT_EQ(left.size(), 21u);  // 20 recordings and the notes
    EXPECT_TRUE(left.count("notes.txt"));
    EXPECT_TRUE(left.count("kelvane-20261207-150024-2.replay"));
    EXPECT_TRUE(left.count("kelvane-20261207-150006.replay"));
    EXPECT_FALSE(left.count("kelvane-20261207-150005.replay"));
}

TEST(RecordingFolder, TheRecordingBeingWrittenIsKeptWhereverItsNameSorts) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path();
    for (int second = 0; second < 25; ++second) {
        std::ofstream(folder / RecordingFileName(Time(2026, 12, 7, 15, 0, second))) << "game";
    }
    // The clock was set back: the game being recorded has the oldest name of all.
    const std::string writing = RecordingFileName(Time(2025, 1, 1, 0, 0, 0));
    std::ofstream(folder / writing) << "the game going on";
    KeepNewestRecordings(folder.string(), 20, writing);
    const std::set<std::string> left = Entries(folder);
    EXPECT_EQ(left.size(), 20u);
    EXPECT_TRUE(left.count(writing));
    EXPECT_TRUE(left.count("kelvane-20261207-150006.replay"));
    EXPECT_FALSE(left.count("kelvane-20261207-150005.replay"));
}

}  // namespace
}  // namespace kelvane
