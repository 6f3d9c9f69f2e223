// The player's folder of recordings: names by the time a game began, no name taken twice,
// and only the newest recordings kept.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

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

TEST(RecordingFolder, CreatesTheFolderAndTakesNoNameTwiceHoweverManyGamesStartAtOnce) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path() / "state" / "kelvane" / "replays";
    const std::tm start = Time(2026, 12, 7, 15, 3, 9);
    // Twelve games begun in the same second, on threads: each creates its file at once.
    std::vector<RecordingFile> files(12);
    std::vector<std::thread> games;
    for (RecordingFile& file : files)
        games.emplace_back([&file, &folder, &start] { file = CreateRecordingFile(folder.string(), start); });
    for (std::thread& game : games) game.join();
    std::set<std::string> names;
    for (const RecordingFile& file : files) {
        ASSERT_GE(file.Descriptor, 0) << file.Problem;
        ::close(file.Descriptor);
        names.insert(fs::path(file.Path).filename().string());
    }
    EXPECT_EQ(names.size(), 12u);
    EXPECT_TRUE(names.count("kelvane-20261207-150309.replay"));
    EXPECT_TRUE(names.count("kelvane-20261207-150309-12.replay"));

    std::ofstream(folder / "blocker") << "a file where a folder should be";
    const RecordingFile blocked = CreateRecordingFile((folder / "blocker" / "replays").string(), start);
    EXPECT_EQ(blocked.Descriptor, -1);
    EXPECT_EQ(blocked.Problem, "cannot make the folder of recordings " + (folder / "blocker" / "replays").string() +
                                   ": Not a directory");
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

TEST(RecordingFolder, OlderByTheNumbersInTheNameNotByItsText) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path();
    // Twelve games in one second, then one a day later, and names of others' files.
    for (int number = 1; number <= 12; ++number) {
        const std::string name = RecordingFileName(Time(2026, 12, 7, 15, 0, 0));
        std::ofstream(folder / (number == 1 ? name : name.substr(0, 23) + "-" + std::to_string(number) + ".replay"))
            << "game";
    }
    std::ofstream(folder / RecordingFileName(Time(2026, 12, 8, 9, 0, 0))) << "game";
    for (const char* name : {"kelvane-copy.replay", "kelvane-20261207-150000-02.replay", "kelvane-2026.replay"})
        std::ofstream(folder / name) << "not a name the game gives";
    KeepNewestRecordings(folder.string(), 4);
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"kelvane-20261207-150000-10.replay",
                                                      "kelvane-20261207-150000-11.replay",
                                                      "kelvane-20261207-150000-12.replay", "kelvane-20261208-090000.replay",
                                                      "kelvane-copy.replay", "kelvane-20261207-150000-02.replay",
                                                      "kelvane-2026.replay"}));
}

TEST(RecordingFolder, ARecordingAnotherGameIsWritingIsNeverRemoved) {
    testing::ScratchFile scratch("unused");
    const fs::path folder = fs::path(scratch.Path()).parent_path();
    const RecordingFile writing = CreateRecordingFile(folder.string(), Time(2026, 1, 1, 0, 0, 0));  // the oldest
    ASSERT_GE(writing.Descriptor, 0) << writing.Problem;
    for (int second = 0; second < 5; ++second)
        std::ofstream(folder / RecordingFileName(Time(2026, 12, 7, 15, 0, second))) << "game";
    KeepNewestRecordings(folder.string(), 2);
    EXPECT_TRUE(fs::exists(writing.Path));  // its game still holds it
    EXPECT_EQ(Entries(folder).size(), 3u);
    ::close(writing.Descriptor);  // the game ended
    KeepNewestRecordings(folder.string(), 2);
    EXPECT_FALSE(fs::exists(writing.Path));
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
