// The reader on good, damaged and cut-off recordings: a damaged line stops the reading
// with its number, a cut anywhere keeps every whole line before it, and a header that
// cannot be read refuses the whole file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <string>
#include <vector>

#include "ReplayTexts.h"
#include "ScratchFile.h"
#include "replay/ReplayReader.h"

namespace kelvane {
namespace {

using testing::SampleRecording;

// The sample with its line `number` (1-based) replaced by `line`.
std::string WithLine(int number, const std::string& line) {
    const std::string& text = SampleRecording();
    size_t start = 0;
    for (int n = 1; n < number; ++n) start = text.find('\n', start) + 1;
    const size_t end = text.find('\n', start);
    return text.substr(0, start) + line + text.substr(end);
}

TEST(ReplayReader, ReadsEveryRecordOfTheSample) {
    const Replay replay = ReadReplay(SampleRecording());
    EXPECT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    EXPECT_EQ(replay.Header.Seed, 7u);
    ASSERT_EQ(replay.Header.Data.size(), 2u);
    EXPECT_EQ(replay.Header.Data[1].Name, "Scripts/my script");
    EXPECT_EQ(replay.Header.Data[1].Hash, 0xffu);
    EXPECT_EQ(replay.Frames, 50u);
    EXPECT_TRUE(replay.TrailingInputs);  // the QUIT after the last frame
    const std::vector<ReplayRecord> records = ReplayRecords(replay);
    ASSERT_EQ(records.size(), 15u);
    EXPECT_EQ(records[0].Kind, RecordKind::Pointer);
    EXPECT_EQ(records[0].Y, -20);
    EXPECT_EQ(records[2].Text, "EXEC battle");
    EXPECT_EQ(records[5].Key, 32);
    EXPECT_EQ(records[5].Shift, 1);
    EXPECT_EQ(records[6].Button, 2);
    EXPECT_EQ(records[7].Value, FieldValue(int64_t{-5}));
    EXPECT_EQ(records[8].Value, FieldValue(2.5));
    EXPECT_EQ(records[9].Value, FieldValue(std::string("A\\b\xe9 ")));
    EXPECT_EQ(records[10].Kind, RecordKind::Skip);
    EXPECT_EQ(records.back().Kind, RecordKind::End);
    EXPECT_EQ(records.back().Checksum, 0xccu);
}

TEST(ReplayReader, HeadersThatCannotBeRead) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "ends in its header"},
        {"hello\n", "line 1: not a Kelvane recording"},
        {"kelvane-replay 2\nseed 1\nstart\n", "format version 2; this game reads version 1"},
        {"kelvane-replay one\n", "line 1: the version must be a whole number"},
        {"kelvane-replay 1\n", "ends in its header"},
        {"kelvane-replay 1\nseed 4294967296\nstart\n", "line 2: the seed must be a whole number up to 4294967295"},
        {"kelvane-replay 1\nsed 1\nstart\n", "line 2: the second line must be the seed"},
        {"kelvane-replay 1\nseed 1\nfile 12 Data/GFX.dxg\nstart\n", "line 3: a data file is 'file HASH NAME'"},
        {"kelvane-replay 1\nseed 1\nfile 0000000000000001 b\nfile 0000000000000001 a\nstart\n",
         "line 4: the data files are not sorted by name"},
        {"kelvane-replay 1\nseed 1\nfile 0000000000000001 a\tb\nstart\n", "line 3: a raw byte 9"},
        {"kelvane-replay 1\nseed 1\nframes 1\n", "line 3: expected a data file or 'start'"},
        {"kelvane-replay 1\nseed 1\nfile 0000000000000001 Data/GFX.dxg\nsta", "ends in its header"},
    };
    for (const auto& c : cases) {
        try {
            ReadReplay(c.text);
            ADD_FAILURE() << "read: " << c.text;
        } catch (const ReplayError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << "text: " << c.text << "\nmessage: " << error.what();
        }
    }
}

TEST(ReplayReader, DamagedLinesStopTheReadingThere) {
    const struct {
        int line;
        std::string replacement;
        std::string problem;
        uint64_t frames;  // read before the damage
    } cases[] = {
        {6, "teleport 1 2", "line 6: unknown record 'teleport'", 0},
        {11, "key 65536 0", "line 11: a key code must be a whole number from 0 to 65535", 25},
        {11, "key -1 0", "line 11: a key code must be", 25},
        {11, "key 32", "line 11: missing modifier set", 25},
        {11, "key 32 256", "line 11: a modifier set must be a whole number from 0 to 255", 25},
        {11, "key 32 1 7", "line 11: unexpected text at the end", 25},
        {12, "mouse 3", "line 12: a mouse button must be a whole number from 0 to 2", 25},
        {6, "pointer 10 2147483648", "line 6: a pointer y must be", 0},
        {7, "frames 0", "line 7: a tick count must be at least 1", 0},
        {7, "frames 1x", "line 7: a tick count must be a whole number", 0},
        {7, "frames 1099511627776", "line 7: a tick count must be a whole number up to 25", 0},
        {10, "check 24 00000000000000aa", "line 10: a checksum of frame 24, but the recording is at frame 25", 25},
        {10, "check 25 00000000000000AA", "line 10: a checksum must be 16 hex digits", 25},
        {10, "check 25", "line 10: missing checksum", 25},
        {20, "end 49 00000000000000cc", "line 20: the end of frame 49, but the recording is at frame 50", 50},
        {13, "set Ships[65].Hull int 0", "line 13: slot out of range in Ships[65].Hull", 25},
        {13, "set Ships[3].Hul int 0", "line 13: unknown field: Ships[3].Hul", 25},
        {13, "set Ships[1].ShipName int 3", "line 13: Ships[1].ShipName takes text", 25},
        {13, "set Ships[1].Hull real 1.5", "line 13: Ships[1].Hull takes an integer", 25},
        {13, "set Ships[1].Hull float 1", "line 13: a value type is int, real or text", 25},
        {13, "set Ships[1]-Hull int 1", "line 13: a field name holds only", 25},
        {14, "set Ships[2].Speed real 2,5", "line 14: a real value must be a decimal number", 25},
        {8, "command EXEC\\q", "line 8: a bad escape in a text", 1},
        {8, "command EXEC\\x4", "line 8: a bad escape in a text", 1},
        {8, "command EXEC\tbattle", "line 8: a raw byte 9 in a text", 1},
        {8, "command EXEC " + std::string(MaxReplayLine, 'a'), "line 8: a line longer than 1 MiB", 1},
    };
    for (const auto& c : cases) {
        const Replay replay = ReadReplay(WithLine(c.line, c.replacement));
        EXPECT_EQ(replay.Ending, ReplayEnding::Damaged) << c.replacement.substr(0, 60);
        EXPECT_NE(replay.Problem.find(c.problem), std::string::npos)
            << c.replacement.substr(0, 60) << "\nproblem: " << replay.Problem;
        EXPECT_EQ(replay.Frames, c.frames) << c.replacement.substr(0, 60);
    }
}

TEST(ReplayReader, RecordsAfterTheEndAreDamage) {
    const Replay replay = ReadReplay(SampleRecording() + "frames 1\n");
    EXPECT_EQ(replay.Ending, ReplayEnding::Damaged);
    EXPECT_EQ(replay.Problem, "line 21: a record after the end record");
    EXPECT_EQ(replay.Frames, 50u);
}

// The writer puts a checksum after every 25th frame, right after the run that reaches it;
// a stream that does otherwise is damage, so no line can ask for more than 25 frames.
TEST(ReplayReader, RunsAndChecksumsAsTheWriterWritesThem) {
    const std::string head = "kelvane-replay 1\nseed 1\nstart\n";
    const std::string sum = " 0000000000000001\n";
    const struct {
        std::string frames;
        std::string problem;
        uint64_t framesRead;
    } cases[] = {
        {"frames 20\nskip 10\n", "line 5: a run of 10 frames from frame 21 passes frame 25 without its checksum", 20},
        {"frames 25\nkey 32 0\n", "line 5: frame 25 has no checksum (the recording holds one every 25 frames)", 25},
        {"frames 25\nend 25" + sum, "line 5: frame 25 has no checksum", 25},
        {"frames 25\ncheck 25" + sum + "check 25" + sum, "line 6: a checksum of frame 25, where none is due", 25},
        {"frames 10\ncheck 10" + sum, "line 5: a checksum of frame 10, where none is due", 10},
        {"frames 1099511627776\n", "line 4: a tick count must be a whole number up to 25", 0},
    };
    for (const auto& c : cases) {
        const Replay replay = ReadReplay(head + c.frames);
        EXPECT_EQ(replay.Ending, ReplayEnding::Damaged) << c.frames;
        EXPECT_NE(replay.Problem.find(c.problem), std::string::npos) << c.frames << "\nproblem: " << replay.Problem;
        EXPECT_EQ(replay.Frames, c.framesRead) << c.frames;
    }
    // A run cut short by a write-out, then the checksum; the end at any frame.
    const Replay good = ReadReplay(head + "frames 10\nframes 15\ncheck 25" + sum + "skip 3\nend 28" + sum);
    EXPECT_EQ(good.Ending, ReplayEnding::Complete) << good.Problem;
    EXPECT_EQ(good.Frames, 28u);
}

TEST(ReplayReader, LinesEndingInCarriageReturnsRead) {
    std::string text;
    for (char c : SampleRecording()) {
        if (c == '\n') text += '\r';
        text += c;
    }
    const Replay replay = ReadReplay(text);
    EXPECT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    EXPECT_EQ(ReplayRecords(replay), ReplayRecords(ReadReplay(SampleRecording())));
}

// Cut after every byte: a cut in the header refuses the file; any later cut keeps every
// whole line before it (the cut line is dropped, even when what is left of it would read).
TEST(ReplayReader, ACutAnywhereKeepsTheWholeLinesBeforeIt) {
    const std::string& text = SampleRecording();
    const std::vector<ReplayRecord> full = ReplayRecords(ReadReplay(text));
    const size_t headerEnd = text.find("start\n") + 6;
    for (size_t cut = 0; cut < text.size(); ++cut) {
        const std::string prefix = text.substr(0, cut);
        if (cut < headerEnd) {
            EXPECT_THROW(ReadReplay(prefix), ReplayError) << "cut at " << cut;
            continue;
        }
        const Replay replay = ReadReplay(prefix);
        ASSERT_EQ(replay.Ending, ReplayEnding::Truncated) << "cut at " << cut;
        size_t wholeLines = 0;
        for (size_t i = headerEnd; i < cut; ++i) wholeLines += text[i] == '\n';
        const std::vector<ReplayRecord> records = ReplayRecords(replay);
        ASSERT_EQ(records.size(), wholeLines) << "cut at " << cut;
        EXPECT_TRUE(std::equal(records.begin(), records.end(), full.begin())) << "cut at " << cut;
        const bool midLine = text[cut - 1] != '\n';
        EXPECT_NE(replay.Problem.find(midLine ? "cut off in the middle of the line" : "without its end record"),
                  std::string::npos)
            << "cut at " << cut << ": " << replay.Problem;
        EXPECT_NE(replay.Problem.find("after frame " + std::to_string(replay.Frames)), std::string::npos)
            << replay.Problem;
    }
}

TEST(ReplayReader, FilesThatCannotBeReadSayWhy) {
    testing::ScratchFile fifo("recording.fifo");
    ASSERT_EQ(mkfifo(fifo.Path().c_str(), 0600), 0);  // no writer: reading it would wait for ever
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {"/nonexistent/kelvane.replay", "No such file or directory"},
        {"/", "it is a folder, not a file"},
        {fifo.Path(), "it is a FIFO (named pipe), not a regular file"},
        {"/dev/zero", "it is a device, not a regular file"},
    };
    for (const auto& c : cases) {
        try {
            LoadReplay(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const ReplayError& error) {
            EXPECT_EQ(std::string(error.what()), c.message) << c.path;
        }
    }
}

// A file is read through again as it is played, from the file it was opened on.
TEST(ReplayReader, AFileIsReadAgainFromTheSameFile) {
    testing::ScratchFile file("long.replay");
    {
        std::ofstream out(file.Path(), std::ios::binary);
        out << SampleRecording();
    }
    const Replay replay = LoadReplay(file.Path());
    EXPECT_EQ(replay.Ending, ReplayEnding::Complete) << replay.Problem;
    EXPECT_EQ(ReplayRecords(replay), ReplayRecords(ReadReplay(SampleRecording())));
    // Read again from the file it was opened on, even when the name now holds another file.
    std::filesystem::remove(file.Path());
    std::ofstream(file.Path()) << "kelvane-replay 1\nseed 9\nstart\n";
    EXPECT_EQ(ReplayRecords(replay).size(), 15u);
}

}  // namespace
}  // namespace kelvane
