#include "console/Commands.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "combat/Geometry.h"
#include "base/GamePaths.h"
#include "base/Windows1250.h"
#include "world/ConsoleLog.h"
#include "world/TextUtil.h"

namespace kelvane {
namespace {

void Say(World& world, std::string_view text) { AddConsoleLine(world, text, ConsoleColor7); }

// A ship answers to the upper-cased ShipName. An empty name matches nothing, so a slot
// that no definition file filled can never be put into play or named by a command.
bool Matches(const TShip& ship, const std::string& name) {
    return !name.empty() && UpperCaseText(ship.ShipName) == name;
}

void CreateShip(World& world, const std::string& name) {
    if (world.ShipCount >= MaxShipsInPlay) {
        // Both numbers are the limit, not the count.
        const std::string max = std::to_string(MaxShipsInPlay);
        Say(world, "Maximum number of ships is " + max + ". There already is " + max +
                       " ships. You cannot create another one.");
        return;
    }
    for (int slot = 1; slot <= MaxShips; ++slot) {
        TShip& ship = world.Ships[slot];
        if (!Matches(ship, name) || ship.InPlay) continue;
        ship.InPlay = 1;
        ship.Target = static_cast<uint8_t>(FindNearestShip(world, slot));
        if (world.ShipCount == 0) {
            world.ControlledShip = static_cast<uint8_t>(slot);
            ship.Target = static_cast<uint8_t>(slot);
        }
        if (world.ControlledShip == slot)
            Say(world, "Ship " + ship.FullShipName + " hase been created and is under your control.");
        else
            Say(world, "Ship " + ship.FullShipName + " hase been created.");
        ++world.ShipCount;
        return;
    }
}

void DeleteShip(World& world, const std::string& name) {
    for (int slot = 1; slot <= MaxShips; ++slot) {
        TShip& ship = world.Ships[slot];
        if (!Matches(ship, name) || !ship.InPlay) continue;
        if (world.ControlledShip != slot) {
            Say(world, ship.FullShipName + " has been deleted.");
        } else {
            // Control passes to the highest-numbered other ship in play; with none left,
            // ControlledShip keeps naming the deleted slot and nothing is said.
            int heir = 0;
            for (int other = MaxShips; other >= 1 && heir == 0; --other) {
                if (other != slot && world.Ships[other].InPlay) heir = other;
            }
            if (heir != 0) {
                TShip& next = world.Ships[heir];
                world.ControlledShip = static_cast<uint8_t>(heir);
                next.Target = static_cast<uint8_t>(heir);
                Say(world, ship.FullShipName +
                               " has been deleted. She was under your control. You are now controling ship " +
                               next.FullShipName);
            }
        }
        ship.InPlay = 0;
        // ShipCount is recounted every unpaused frame; never let it wrap below 0 meanwhile.
        if (world.ShipCount > 0) --world.ShipCount;
        return;
    }
}

void YourShip(World& world, const std::string& name) {
    if (name.empty()) {
        if (world.ShipCount > 0)
            Say(world, "Ship you are currently controling is: " + world.Controlled().FullShipName);
        else
            Say(world, "There are no ship you can control.");
        return;
    }
    // Every match takes control in turn, so the highest-numbered one keeps it.
    for (int slot = 1; slot <= MaxShips; ++slot) {
        TShip& ship = world.Ships[slot];
        if (!Matches(ship, name) || !ship.InPlay) continue;
        world.ControlledShip = static_cast<uint8_t>(slot);
        ship.Target = static_cast<uint8_t>(slot);
    }
}

// The script's full path, or nothing when there is no such file. Both the Scripts
// folder and the script are found without regard to case, as on Windows (the name
// arrives upper-cased).
std::optional<std::string> FindScript(const std::string& gameDir, const std::string& name) {
    if (!IsScriptName(name)) return std::nullopt;
    std::string dir = gameDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::optional<std::string> scripts = FindEntryNoCase(dir.empty() ? "." : dir, "Scripts");
    if (!scripts) return std::nullopt;
    dir += *scripts + '/';
    const std::optional<std::string> entry = FindEntryNoCase(dir, name);
    if (!entry) return std::nullopt;
    std::error_code error;
    const std::string path = dir + *entry;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    return path;
}

class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

void Exec(ConsoleContext& context, const std::string& name) {
    const std::optional<std::string> path = FindConsoleScript(context.GameDir, context.PlayerDir, name);
    if (!path) return;
    if (context.ScriptDepth >= MaxScriptDepth) {
        // Refusing the deepest call lets a script that runs itself come to an end.
        Say(context.World, "Script " + name + " was not run: scripts nest too deep.");
        return;
    }
    const std::string text = ReadFileText(*path, ScriptFileLimit);
    if (context.ScriptDepth == 0) context.ScriptLinesRun = 0;
    const DepthGuard guard(context.ScriptDepth);
    bool firstLine = true;
    for (size_t start = 0; start < text.size() && context.ScriptLinesRun <= MaxScriptLines;) {
        // Lines end at '\n'; the last may lack it.
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (++context.ScriptLinesRun > MaxScriptLines) {
            Say(context.World, "Scripts stopped: one command ran more than " + std::to_string(MaxScriptLines) +
                                   " script lines.");
            break;
        }
        PrepareScriptLine(line, firstLine);
        firstLine = false;
        DoConsoleCommand(context, line);
    }
}

}  // namespace

void PrepareScriptLine(std::string& line, bool firstLine) {
    // Scripts written on Windows end their lines in CR LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A script saved as UTF-8 with a byte-order mark still starts with its first command.
    if (firstLine && StartsWithUtf8ByteOrderMark(line)) line.erase(0, Utf8ByteOrderMark.size());
}

bool IsScriptName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
}

// The player's own scripts come first, so one of theirs can stand in for a shipped one.
std::optional<std::string> FindConsoleScript(const std::string& gameDir, const std::string& playerDir,
                                             const std::string& name) {
    if (!playerDir.empty()) {
        if (std::optional<std::string> own = FindScript(playerDir, name)) return own;
    }
    return FindScript(gameDir, name);
}

CommandWords ParseCommandWords(std::string_view line) {
    CommandWords words;
    std::string current;
    int count = 0;
    // The blank after the line ends its last word.
    const std::string padded = std::string(line) + ' ';
    for (const char c : padded) {
        if (c != ' ') {
            current += c;
            continue;
        }
        // Only 16 words are kept; the rest of a longer line is dropped.
        if (count < CommandWordCount) words[static_cast<size_t>(count)] = UpperCaseText(current);
        ++count;
        current.clear();
    }
    return words;
}

std::string CommandArgument(const CommandWords& words) {
    std::string argument = words[1];
    for (size_t i = 2; i < words.size(); ++i) {
        if (!words[i].empty()) argument += ' ' + words[i];
    }
    return argument;
}

void DoConsoleCommand(ConsoleContext& context, std::string_view line) {
    const CommandWords words = ParseCommandWords(line);
    const std::string& keyword = words[0];
    const std::string argument = CommandArgument(words);
    if (keyword == "CREATESHIP") {
        CreateShip(context.World, argument);
    } else if (keyword == "DELETESHIP") {
        DeleteShip(context.World, argument);
    } else if (keyword == "YOURSHIP") {
        YourShip(context.World, argument);
    } else if (keyword == "EXEC") {
        Exec(context, argument);
    } else if (keyword == "QUIT" || keyword == "EXIT") {
        // The form closes once the frame is over; the rest of a script still runs.
        if (context.Close) context.Close();
    }
}

}  // namespace kelvane
