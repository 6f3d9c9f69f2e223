#pragma once
// Reading a recording. Nothing in the file is trusted: every number is checked against
// its range, every count against what came before it, and the frame stream against what
// the writer can write (a checksum after every 25th frame, so no run of frames is longer
// than that and playing a recording takes time in proportion to its size). A damaged
// line stops the reading there with its line number. A file cut off anywhere (a killed
// game, even in the middle of a line) gives every frame up to the cut and says where it
// ends.
//
// A recording is read as a stream, a line at a time, never whole: once through to learn
// what it holds and how it ends (ReadReplay, LoadReplay), and again as it is played
// (ReplayPlayer), so memory stays the same whatever its size.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/InputFile.h"
#include "replay/ReplayFormat.h"

namespace kelvane {

struct World;

// A recording that cannot be played at all: not a recording, another version, or a
// header that is damaged or cut short; or a file that cannot be read.
class ReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Hours of play take a few megabytes; a larger file is refused before it is read.
inline constexpr FileLimit ReplayFileLimit{uint64_t{256} << 20, "a recording"};
inline constexpr size_t MaxReplayLine = 1 << 20;

// The text of a recording, read through as often as it is played: a file, kept open so
// that every reading sees the same file, or text in memory (tests).
class ReplaySource {
public:
    // Throws ReplayError naming the file and why it cannot be read.
    static ReplaySource File(const std::string& path);
    static ReplaySource Text(std::string text);

    // Up to `size` bytes from `offset` on; 0 at the end. Throws ReplayError when the
    // file cannot be read.
    size_t ReadAt(uint64_t offset, char* buffer, size_t size) const;

private:
    std::shared_ptr<InputFile> file_;
    std::shared_ptr<const std::string> text_;
};

enum class ReplayEnding : uint8_t {
    Complete,   // ends with its end record
    Truncated,  // cut off: every line before the cut is there
    Damaged,    // a line that is no record, or one the writer never writes there
};

// The records of a recording one by one, as the file is read.
class ReplayStream {
public:
    // Reads the header; throws ReplayError when it cannot be read.
    explicit ReplayStream(ReplaySource source);
    ~ReplayStream();
    ReplayStream(ReplayStream&&) noexcept;
    ReplayStream& operator=(ReplayStream&&) = delete;

    const ReplayHeader& Header() const { return header_; }
    // The next record of the frame stream; false at the end, at a cut or at damage
    // (Ending and Problem then say which, and where).
    bool Next(ReplayRecord& record);
    // Ticks that the records read so far hold.
    uint64_t Frames() const { return frames_; }
    ReplayEnding Ending() const { return ending_; }
    // For Truncated and Damaged: what and where ("line 12: ...").
    const std::string& Problem() const { return problem_; }

private:
    class Lines;
    // Checks one record against what came before it; throws ReplayLineError.
    void Take(const ReplayRecord& record);
    void ReadHeader();

    std::unique_ptr<Lines> lines_;
    ReplayHeader header_;
    uint64_t frames_ = 0;
    bool checkDue_ = false;  // the last run ended on a checksum's frame: its check comes next
    bool ended_ = false;
    bool over_ = false;
    ReplayEnding ending_ = ReplayEnding::Complete;
    std::string problem_;
    std::unique_ptr<World> probe_;  // where "set" records are tried out
};

// A recording read through once: what it holds and how it ends.
struct Replay {
    ReplayHeader Header;
    uint64_t Frames = 0;  // ticks that the records hold
    ReplayEnding Ending = ReplayEnding::Complete;
    std::string Problem;          // for Truncated and Damaged: what and where ("line 12: ...")
    bool TrailingInputs = false;  // inputs follow the last frame (a runner's step that closed the game)
    ReplaySource Source = ReplaySource::Text({});  // read again to play it
};

// For a recording that does not end with its end record: "the recording is truncated:
// line 12: ...; playing its 300 frames". Empty for a complete one.
std::string IncompleteRecordingLine(const Replay& replay);

// Throws ReplayError when not even the header can be read.
Replay ReadReplay(std::string text);
// The file through ReadReplay's checks, read as a stream; ReplayError also when the
// file cannot be read, is no regular file or is larger than ReplayFileLimit.
Replay LoadReplay(const std::string& path);

// Every record of the frame stream up to where the reading stops, in memory (tests and
// small tools: a long recording takes memory in proportion).
std::vector<ReplayRecord> ReplayRecords(const Replay& replay);

}  // namespace kelvane
