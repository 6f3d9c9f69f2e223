#pragma once
// The console language: CREATESHIP, DELETESHIP, YOURSHIP, EXEC and QUIT/EXIT. A line
// comes from the input line (Enter) or from a command script.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/InputFile.h"
#include "console/CommandOutcome.h"
#include "world/VirtualKeys.h"
#include "world/World.h"

namespace kelvane {

constexpr int CommandWordCount = 16;
// Scripts may run scripts this deep; the EXEC that would go one deeper is refused.
constexpr int MaxScriptDepth = 16;
// One command runs at most this many script lines in all, so scripts that run themselves
// several times over (each level doubling the work) still end at once.
constexpr int MaxScriptLines = 10000;
// 10,000 lines of a console line's 65 characters come to about 650 KiB; a script file
// larger than this is refused before it is read.
inline constexpr FileLimit ScriptFileLimit{uint64_t{1} << 20, "a script"};

// Keys kept for typing between two frames; beyond them (a window that shows no frames
// while a key repeats) further keys only mark the key table.
constexpr size_t MaxKeysBetweenFrames = 1024;

// A key-down as it arrived, for typing: keys pressed between two frames are all typed,
// in order, with the modifiers each was pressed with.
struct TypedKey {
    uint16_t Code = 0;
    ShiftState Shift = 0;
    uint8_t CapsLock = 0;  // the console keyboard's Caps Lock once this key had arrived
    bool operator==(const TypedKey&) const = default;
};

// What a command needs beyond the world: where the scripts live and how to end the game;
// and the console's own state that is its player's, not the world's: the keys pressed
// since the last frame and what the hint line says.
struct ConsoleContext {
    kelvane::World& World;
    std::string GameDir;          // the folder holding the shipped Scripts/, ending in '/'
    std::function<void()> Close;  // asks the main form to close; may be empty
    int ScriptDepth = 0;          // scripts now running inside one another
    int ScriptLinesRun = 0;       // script lines the outermost EXEC has run so far
    // The player's own folder whose Scripts/ EXEC searches before the shipped one; empty: none.
    std::string PlayerDir = {};
    // Key-downs since the frame's input was last aged (the form's key handler adds them);
    // the frame takes them when it ages the input tables.
    std::vector<TypedKey> KeysPressed = {};
    // Network play: each seat's own key-downs since its last frame, in order (seats
    // 1..MaxSeats), so that keys a person types faster than the frames all reach their console.
    std::array<std::vector<TypedKey>, MaxSeats + 1> SeatKeysPressed = {};
    // The outcome of the last line typed, for the hint line; Acted when there is nothing to say.
    CommandOutcome Hint = {};
    // Network play: the seat whose line runs now (its QUIT ends only that person's game);
    // 0 in a game for one.
    int Seat = 0;
};

using CommandWords = std::array<std::string, CommandWordCount>;

// Splits a line into its 16 upper-cased words; every blank ends a word, so consecutive
// blanks give empty words. Words after the 16th are dropped.
CommandWords ParseCommandWords(std::string_view line);
// Word 2, then each non-empty word of 3 to 16 after one blank.
std::string CommandArgument(const CommandWords& words);

// A line of a script file (read up to its '\n') as EXEC runs it: without the CR of a
// Windows line end, and the first line without a UTF-8 byte-order mark.
void PrepareScriptLine(std::string& line, bool firstLine);
// A script is named by a plain file name inside a Scripts folder; anything that could
// reach outside it (a separator, "." or "..", a NUL) names no script.
bool IsScriptName(const std::string& name);
// The file EXEC runs for a name (as the command has it, upper-cased): the player's
// Scripts/ first, then the shipped one, each found without regard to case; nothing
// when there is none or the name is refused.
std::optional<std::string> FindConsoleScript(const std::string& gameDir, const std::string& playerDir,
                                             const std::string& name);

// The slot CREATESHIP takes for a name (upper-cased, as the command has it): the first that
// answers to it and is out of play; 0 when there is none.
int FreeSlotNamed(const World& world, const std::string& name);
// Puts a slot into play as CREATESHIP does, without a word: aimed at the nearest other ship
// in play, and the player's (aimed at itself) when no ship was in play.
void EnterPlay(World& world, int slot);

// Executes one line of the console language; messages go to the console log. Returns
// what the line did, for its player's hint.
CommandOutcome DoConsoleCommand(ConsoleContext& context, std::string_view line);


}  // namespace kelvane
