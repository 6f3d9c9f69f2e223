// The replay reader on arbitrary text: it refuses only through ReplayError, keeps its
// promises about what it read (the frame count, the end record last), and what it read
// writes back out as a recording that reads the same.

#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "replay/ReplayReader.h"

namespace kelvane::fuzz {

namespace {

std::string Lines(const Replay& replay, const std::vector<ReplayRecord>& records) {
    std::string text = FormatHeader(replay.Header);
    for (const ReplayRecord& record : records) {
        text += FormatRecord(record);
        text += '\n';
    }
    return text;
}

void CheckPromises(const Replay& replay, const std::vector<ReplayRecord>& records) {
    uint64_t frames = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const ReplayRecord& record = records[i];
        if (record.Kind == RecordKind::Frames || record.Kind == RecordKind::Skip) {
            Check(record.Count > 0, "a run of no ticks");
            // As the writer writes them: no run passes a frame whose checksum is due.
            Check(frames / ChecksumInterval == (frames + record.Count - 1) / ChecksumInterval, "a run past a checksum");
            frames += record.Count;
        }
        if (record.Kind == RecordKind::Check) Check(frames % ChecksumInterval == 0, "a checksum where none is due");
        if (record.Kind == RecordKind::Check || record.Kind == RecordKind::End)
            Check(record.Count == frames, "a checksum of another frame than the one reached");
        if (record.Kind == RecordKind::End) Check(i + 1 == records.size(), "records after the end");
        // Every record reads back from its own line as the same line.
        const std::string line = FormatRecord(record);
        Check(FormatRecord(ParseRecord(line)) == line, "a record that does not read back as written");
    }
    Check(frames == replay.Frames, "the frame count is not the sum of the runs");
    const bool ended = !records.empty() && records.back().Kind == RecordKind::End;
    // Damage may follow an end record (lines after it); a cut never does.
    Check(ended || replay.Ending != ReplayEnding::Complete, "complete without an end record");
    Check(!ended || replay.Ending != ReplayEnding::Truncated, "truncated after its end record");
    Check(replay.Ending == ReplayEnding::Complete || !replay.Problem.empty(), "an incomplete recording without a word");
}

}  // namespace

void FuzzReplay(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    try {
        replay = ReadReplay(std::string(text));
    } catch (const ReplayError&) {
        return;  // not a recording, or a header that cannot be read
    }
    const std::vector<ReplayRecord> records = ReplayRecords(replay);
    CheckPromises(replay, records);
    // Written out again, what was read is a recording of the same frames.
    const std::string written = Lines(replay, records);
    const Replay again = ReadReplay(written);
    const std::vector<ReplayRecord> againRecords = ReplayRecords(again);
    Check(again.Frames == replay.Frames && againRecords.size() == records.size(),
          "the written recording reads back to other frames");
    const bool ended = !records.empty() && records.back().Kind == RecordKind::End;
    Check(again.Ending == (ended ? ReplayEnding::Complete : ReplayEnding::Truncated),
          "the written recording ends otherwise");
    Check(Lines(again, againRecords) == written, "the written recording reads back to other records");
}

}  // namespace kelvane::fuzz
