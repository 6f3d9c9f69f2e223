#include "console/CommandOutcome.h"

#include <algorithm>
#include <optional>

#include "base/GamePaths.h"
#include "world/TextUtil.h"

namespace kelvane {
namespace {

// Nearest names offered for a misspelt type: enough to spot the one meant.
constexpr size_t NearestShown = 3;

// The short names of every type the console can name, in slot order, each once.
std::vector<std::string> TypeNames(const World& world) {
    std::vector<std::string> names;
    for (const TShip& ship : world.Ships) {
        if (ship.ShipName.empty()) continue;
        if (std::find(names.begin(), names.end(), ship.ShipName) == names.end()) names.push_back(ship.ShipName);
    }
    return names;
}

std::vector<std::string> NamesInPlay(const World& world) {
    std::vector<std::string> names;
    for (const TShip& ship : world.Ships)
        if (ship.InPlay && !ship.ShipName.empty()) names.push_back(ship.ShipName);
    return names;
}

bool AnyTypeNamed(const World& world, const std::string& name) {
    return std::any_of(world.Ships.begin(), world.Ships.end(),
                       [&](const TShip& ship) { return !ship.ShipName.empty() && UpperCaseText(ship.ShipName) == name; });
}

bool NoCaseLess(const std::string& a, const std::string& b) { return UpperCaseText(a) < UpperCaseText(b); }

}  // namespace

CommandOutcome ShipNameMissed(const World& world, std::string_view keyword, const std::string& name, bool inPlay) {
    using Kind = CommandOutcome::Kind;
    if (name.empty()) return {Kind::NeedsShipName, std::string(keyword), inPlay ? NamesInPlay(world) : TypeNames(world)};
    if (name.front() == ' ') return {Kind::LeadingBlank, std::string(keyword), {}};
    if (!AnyTypeNamed(world, name)) return {Kind::UnknownShipType, name, NearestNames(name, TypeNames(world), NearestShown)};
    if (inPlay) return {Kind::NotInPlay, name, NamesInPlay(world)};
    return {Kind::InPlayAlready, name, {}};
}

CommandOutcome ScriptMissed(const std::string& name, const std::string& gameDir, const std::string& playerDir) {
    using Kind = CommandOutcome::Kind;
    if (name.empty()) return {Kind::NeedsScript, "EXEC", ConsoleScriptNames(gameDir, playerDir)};
    if (name.front() == ' ') return {Kind::LeadingBlank, "EXEC", {}};
    return {Kind::NoSuchScript, name, ConsoleScriptNames(gameDir, playerDir)};
}

CommandOutcome KeywordMissed(const std::string& keyword) {
    using Kind = CommandOutcome::Kind;
    if (keyword == "HELP") return {Kind::Help, keyword, {}};
    // Every blank ends a word: a line that starts with one has an empty first word.
    if (keyword.empty()) return {Kind::LeadingBlank, keyword, {}};
    return {Kind::UnknownCommand, keyword, {}};
}

std::vector<std::string> ConsoleScriptNames(const std::string& gameDir, const std::string& playerDir) {
    std::vector<std::string> names;
    for (const std::string& base : {playerDir, gameDir}) {
        if (base.empty()) continue;
        std::string dir = base;
        if (dir.back() != '/') dir += '/';
        const std::optional<std::string> scripts = FindEntryNoCase(dir, "Scripts");
        if (!scripts) continue;
        for (const std::string& name : ListFilesNoCase(dir + *scripts, "")) {
            const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& other) {
                return UpperCaseText(other) == UpperCaseText(name);
            });
            if (!known) names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), NoCaseLess);
    return names;
}

}  // namespace kelvane
