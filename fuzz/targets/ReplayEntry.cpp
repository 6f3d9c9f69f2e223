// The replay reader on arbitrary text: it refuses only through ReplayError, keeps its
// promises about what it read (the frame count, the end record last), and what it read
// writes back out as a recording that reads the same.

#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "replay/ReplayReader.h"

namespace kelvane::fuzz {

namespace {

std::string Lines(const Replay& replay) {
    std::string text = FormatHeader(replay.Header);
    for (const ReplayRecord& record : replay.Records) {
        text += FormatRecord(record);
        text += '\n';
    }
    return text;
}

void CheckPromises(const Replay& replay) {
    uint64_t frames = 0;
    for (size_t i = 0; i < replay.Records.size(); ++i) {
        const ReplayRecord& record = replay.Records[i];
        if (record.Kind == RecordKind::Frames || record.Kind == RecordKind::Skip) {
            Check(record.Count > 0, "a run of no ticks");
            frames += record.Count;
        }
        if (record.Kind == RecordKind::Check || record.Kind == RecordKind::End)
            Check(record.Count == frames, "a checksum of another frame than the one reached");
        if (record.Kind == RecordKind::End) Check(i + 1 == replay.Records.size(), "records after the end");
        // Every record reads back from its own line as the same line.
        const std::string line = FormatRecord(record);
        Check(FormatRecord(ParseRecord(line)) == line, "a record that does not read back as written");
    }
    Check(frames == replay.Frames, "the frame count is not the sum of the runs");
    const bool ended = !replay.Records.empty() && replay.Records.back().Kind == RecordKind::End;
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
        replay = ReadReplay(text);
    } catch (const ReplayError&) {
        return;  // not a recording, or a header that cannot be read
    }
    CheckPromises(replay);
    // Written out again, what was read is a recording of the same frames.
    const std::string written = Lines(replay);
    const Replay again = ReadReplay(written);
    Check(again.Frames == replay.Frames && again.Records.size() == replay.Records.size(),
          "the written recording reads back to other frames");
    const bool ended = !replay.Records.empty() && replay.Records.back().Kind == RecordKind::End;
    Check(again.Ending == (ended ? ReplayEnding::Complete : ReplayEnding::Truncated),
          "the written recording ends otherwise");
    Check(Lines(again) == written, "the written recording reads back to other records");
}

}  // namespace kelvane::fuzz
