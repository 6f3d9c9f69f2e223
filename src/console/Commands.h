#pragma once
// The console language: CREATESHIP, DELETESHIP, YOURSHIP, EXEC and QUIT/EXIT. A line
// comes from the input line (Enter) or from a command script.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/InputFile.h"
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

// What a command needs beyond the world: where the scripts live and how to end the game.
struct ConsoleContext {
    kelvane::World& World;
    std::string GameDir;          // the folder holding the shipped Scripts/, ending in '/'
    std::function<void()> Close;  // asks the main form to close; may be empty
    int ScriptDepth = 0;          // scripts now running inside one another
    int ScriptLinesRun = 0;       // script lines the outermost EXEC has run so far
    // The player's own folder whose Scripts/ EXEC searches before the shipped one; empty: none.
    std::string PlayerDir = {};
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

// Executes one line of the console language; messages go to the console log.
void DoConsoleCommand(ConsoleContext& context, std::string_view line);

}  // namespace kelvane
