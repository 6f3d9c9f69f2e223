#pragma once
// The text of a recording: one record per line, '\n' after each, ASCII only.
//
//   kelvane-replay 1              format and version
//   seed 1                        the random generator's seed
//   pilot NAME [SLOT]...          who flies the computer's ships when not the classic pilot:
//                                 every one, or only the slots listed (the rest classic)
//   file HASH NAME                one per data file, sorted by name (DataFingerprint.h)
//   start                         the frames follow
//   key CODE SHIFT                a key-down: virtual-key code, modifier set (ShiftState)
//   mouse BUTTON                  a mouse-down: 0 left, 1 right, 2 middle
//   command TEXT                  a console line given directly (the runner's steps)
//   set PATH int|real|text VALUE  a world field written directly (the runner's steps)
//   player K                      network play: the inputs that follow are seat K's (1..8;
//                                 0 the world's own fields)
//   join K NAME                   network play: someone named NAME takes seat K
//   leave K                       network play: seat K's person leaves
//   pointer X Y                   the pointer position read while loading
//   frames N                      N ticks that moved the world on
//   skip N                        N ticks in which the world stood still (no picture)
//   check K HASH                  the world checksum after frame K (every 25th frame)
//   end K HASH                    the recording ends after frame K; the world checksum then
//
// Inputs arrive before the tick that consumes them: the inputs written before a "frames"
// or "skip" line arrived before the first of its ticks. Frames count every tick from 1.
// TEXT runs to the end of the line: printable ASCII as it is, a backslash as "\\",
// every other byte (and a space ending the text) as "\xHH". HASH is 16 hex digits.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "combat/Pilot.h"
#include "replay/DataFingerprint.h"
#include "world/FieldRegistry.h"
#include "world/VirtualKeys.h"

namespace kelvane {

inline constexpr std::string_view ReplayMagic = "kelvane-replay";
inline constexpr int ReplayVersion = 1;
// The world checksum goes into the recording after every this many frames.
inline constexpr uint64_t ChecksumInterval = 25;

struct ReplayHeader {
    uint32_t Seed = 0;
    std::vector<DataFile> Data;  // sorted by name
    PilotSeats Pilots{};         // classic everywhere unless the game chose another pilot
};

// Inputs first: IsInput relies on the order. Player, Join and Leave appear only in
// recordings of network games, so a game for one is written as it always was.
enum class RecordKind : uint8_t { Key, Mouse, Command, Set, Player, Join, Leave, Pointer, Frames, Skip, Check, End };

// One line of the frame stream.
struct ReplayRecord {
    RecordKind Kind = RecordKind::Frames;
    uint16_t Key = 0;       // Key
    ShiftState Shift = 0;   // Key
    uint8_t Button = 0;     // Mouse
    int32_t X = 0;          // Pointer
    int32_t Y = 0;          // Pointer
    uint8_t Seat = 0;       // Player, Join, Leave
    std::string Text;       // Command: the line; Set: the field's path; Join: the name
    FieldValue Value;       // Set
    uint64_t Count = 0;     // Frames, Skip: ticks; Check, End: the frame
    uint64_t Checksum = 0;  // Check, End

    bool IsInput() const { return Kind <= RecordKind::Pointer; }
    bool operator==(const ReplayRecord&) const = default;
};

// What is wrong with one line; the reader adds the line number.
class ReplayLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header's lines, each ending in '\n', "start" included.
std::string FormatHeader(const ReplayHeader& header);
// The "pilot" lines of a header (none when the classic pilot flies every ship).
std::string FormatPilotLines(const PilotSeats& pilots);
// One "pilot" line (without its '\n') taken into `pilots`; throws ReplayLineError.
void ParsePilotLine(std::string_view line, PilotSeats& pilots);
// One record as its line, without the '\n'.
std::string FormatRecord(const ReplayRecord& record);
// A line of the frame stream (without its '\n'); throws ReplayLineError. The path of a
// "set" is checked only for its shape here; the reader checks that the field exists.
ReplayRecord ParseRecord(std::string_view line);

std::string EscapeText(std::string_view bytes);
// Throws ReplayLineError for a raw byte outside printable ASCII or a bad escape.
std::string UnescapeText(std::string_view text);

// A whole decimal number with nothing around it, at most `limit`; throws ReplayLineError
// naming `what` otherwise.
uint64_t ParseCount(std::string_view text, uint64_t limit, const char* what);

}  // namespace kelvane
