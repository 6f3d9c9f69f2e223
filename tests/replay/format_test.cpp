// Records and texts survive being written and read back exactly.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "replay/ReplayFormat.h"

namespace kelvane {
namespace {

ReplayRecord Make(RecordKind kind) {
    ReplayRecord record;
    record.Kind = kind;
    return record;
}

TEST(ReplayFormat, EveryKindOfRecordRoundTrips) {
    std::vector<ReplayRecord> records;
    ReplayRecord key = Make(RecordKind::Key);
    key.Key = 0xFFFF;
    key.Shift = ssShift | ssCtrl | ssAlt;
    records.push_back(key);
    ReplayRecord mouse = Make(RecordKind::Mouse);
    mouse.Button = 1;
    records.push_back(mouse);
    for (const std::string& line : {std::string(""), std::string(" CREATESHIP  Vigil "), std::string("\\x41\n\x8a\xe8")}) {
        ReplayRecord command = Make(RecordKind::Command);
        command.Text = line;
        records.push_back(command);
    }
    for (const FieldValue& value :
         {FieldValue(int64_t{-9}), FieldValue(std::numeric_limits<int64_t>::min()), FieldValue(0.1),
          FieldValue(-1e-300), FieldValue(1.0 / 3.0), FieldValue(std::string("Kestrel \xc8")), FieldValue(std::string())}) {
        ReplayRecord set = Make(RecordKind::Set);
        set.Text = "Ships[64].ShipName";
        set.Value = value;
        records.push_back(set);
    }
    for (RecordKind kind : {RecordKind::Player, RecordKind::Join, RecordKind::Leave}) {
        ReplayRecord seat = Make(kind);
        seat.Seat = 8;
        if (kind == RecordKind::Join) seat.Text = "ann \x8a";
        records.push_back(seat);
    }
    ReplayRecord pointer = Make(RecordKind::Pointer);
    pointer.X = std::numeric_limits<int32_t>::min();
    pointer.Y = std::numeric_limits<int32_t>::max();
    records.push_back(pointer);
    for (RecordKind kind : {RecordKind::Frames, RecordKind::Skip, RecordKind::Check, RecordKind::End}) {
        ReplayRecord record = Make(kind);
        record.Count = 12345;  // a frame; a run is at most the checksum interval long
        if (kind == RecordKind::Frames || kind == RecordKind::Skip) record.Count = ChecksumInterval;
        record.Checksum = 0xfedcba9876543210ull;
        if (kind == RecordKind::Frames || kind == RecordKind::Skip) record.Checksum = 0;
        records.push_back(record);
    }
    for (const ReplayRecord& record : records) {
        const std::string line = FormatRecord(record);
        for (char c : line) ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << line;
        ASSERT_FALSE(line.empty() || line.back() == ' ') << line;
        EXPECT_EQ(ParseRecord(line), record) << line;
    }
}

TEST(ReplayFormat, SeatsOutsideTheTableAreDamage) {
    for (const char* line : {"player 9", "join 0 ann", "join 9 ann", "leave 0", "player -1", "leave", "player 1 2"})
        EXPECT_THROW(ParseRecord(line), ReplayLineError) << line;
    EXPECT_EQ(ParseRecord("player 0").Seat, 0);  // the world's own fields again
}

TEST(ReplayFormat, EveryByteValueSurvivesEscaping) {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
    bytes += ' ';
    const std::string text = EscapeText(bytes);
    for (char c : text) ASSERT_TRUE(c >= 0x20 && c <= 0x7E);
    EXPECT_EQ(text.substr(text.size() - 4), "\\x20");  // a blank at the end is written out
    EXPECT_EQ(UnescapeText(text), bytes);
    EXPECT_THROW(UnescapeText("\\X"), ReplayLineError);
}

TEST(ReplayFormat, HeaderLists) {
    ReplayHeader header;
    header.Seed = 42;
    header.Data = {{"Data/GFX.dxg", 1}, {"Scripts/my script", 0xabc}};
    EXPECT_EQ(FormatHeader(header),
              "kelvane-replay 1\nseed 42\nfile 0000000000000001 Data/GFX.dxg\n"
              "file 0000000000000abc Scripts/my script\nstart\n");
}

TEST(ReplayFormat, PilotLinesOnlyWhenNotClassic) {
    ReplayHeader header;
    header.Seed = 7;
    EXPECT_EQ(FormatHeader(header), "kelvane-replay 1\nseed 7\nstart\n");  // as it always was
    header.Pilots = PilotSeats(Pilot::Veteran);
    EXPECT_EQ(FormatPilotLines(header.Pilots), "pilot veteran\n");
    PilotSeats mixed;
    mixed.Seat(2, Pilot::Veteran);
    mixed.Seat(7, Pilot::Veteran);
    EXPECT_EQ(FormatPilotLines(mixed), "pilot veteran 2 7\n");

    PilotSeats read;
    ParsePilotLine("pilot veteran 2 7", read);
    EXPECT_EQ(read, mixed);
    ParsePilotLine("pilot veteran", read);
    EXPECT_EQ(read, PilotSeats(Pilot::Veteran));
    for (const char* bad : {"pilot ace", "pilot veteran 0", "pilot veteran 65", "pilot"}) {
        PilotSeats untouched;
        EXPECT_THROW(ParsePilotLine(bad, untouched), ReplayLineError) << bad;
    }
    try {
        ParsePilotLine("pilot ace", read);
    } catch (const ReplayLineError& error) {
        EXPECT_NE(std::string(error.what()).find("'ace', which this game does not know"), std::string::npos);
    }
}

}  // namespace
}  // namespace kelvane
