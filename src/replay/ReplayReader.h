#pragma once
// Reading a recording. Nothing in the file is trusted: every number is checked against
// its range, every count against what came before it, and a damaged line stops the
// reading there with its line number. A file cut off anywhere (a killed game, even in
// the middle of a line) gives every frame up to the cut and says where it ends.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "replay/ReplayFormat.h"

namespace kelvane {

// A recording that cannot be played at all: not a recording, another version, or a
// header that is damaged or cut short.
class ReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ReplayEnding : uint8_t {
    Complete,   // ends with its end record
    Truncated,  // cut off: every line before the cut is there
    Damaged,    // a line that is no record; the lines before it are there
};

struct Replay {
    ReplayHeader Header;
    std::vector<ReplayRecord> Records;  // the frame stream; an end record only as the last
    uint64_t Frames = 0;                // ticks that the records hold
    ReplayEnding Ending = ReplayEnding::Complete;
    std::string Problem;  // for Truncated and Damaged: what and where ("line 12: ...")
};

// Larger files are refused rather than read (hours of play take a few megabytes).
inline constexpr uint64_t MaxReplayBytes = 256ull << 20;
inline constexpr size_t MaxReplayLine = 1 << 20;

// For a recording that does not end with its end record: "the recording is truncated:
// line 12: ...; playing its 300 frames". Empty for a complete one.
std::string IncompleteRecordingLine(const Replay& replay);

// Throws ReplayError when not even the header can be read.
Replay ReadReplay(std::string_view text);
// The file's text through ReadReplay; ReplayError also when the file cannot be read.
Replay LoadReplay(const std::string& path);

}  // namespace kelvane
