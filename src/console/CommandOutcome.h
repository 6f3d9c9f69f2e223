#pragma once
// What a console line did, as its player is told beside the log (the hint line under the
// console): a line the console acted on needs no word, one it did not act on says why,
// with the names that would have worked. The rules and the log never see any of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/World.h"

namespace kelvane {

struct CommandOutcome {
    enum class Kind : uint8_t {
        Acted,            // the console did what the line says (whatever it wrote)
        Help,             // HELP: the commands
        UnknownCommand,   // Word is no command
        LeadingBlank,     // the line starts with a blank, or the name after two of them
        NeedsShipName,    // Word (a command) without a ship's name; Names: the ones it takes
        NeedsScript,      // EXEC without a name; Names: the scripts there are
        UnknownShipType,  // no type is named Word; Names: the nearest ones
        InPlayAlready,    // every ship named Word is in play
        NotInPlay,        // no ship named Word is in play; Names: the ships that are
        NoSuchScript,     // no script Word; Names: the scripts there are
    };
    Kind What = Kind::Acted;
    std::string Word;                // as the line has it, upper-cased
    std::vector<std::string> Names;  // Windows-1250
    bool operator==(const CommandOutcome&) const = default;
};

// A command that found no ship it could take by `name` (upper-cased, as the command
// matched it): no name, a blank too many, no such type, or none of that type where it
// looked (`inPlay`: among the ships in play, else among those out of play).
CommandOutcome ShipNameMissed(const World& world, std::string_view keyword, const std::string& name, bool inPlay);
// EXEC found no script by `name`.
CommandOutcome ScriptMissed(const std::string& name, const std::string& gameDir, const std::string& playerDir);
// A line whose first word is no command (HELP among them).
CommandOutcome KeywordMissed(const std::string& keyword);

// The names of the scripts EXEC can run (the player's and the shipped ones, each name once,
// sorted without regard to case).
std::vector<std::string> ConsoleScriptNames(const std::string& gameDir, const std::string& playerDir);

}  // namespace kelvane
