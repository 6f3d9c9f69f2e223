#include "console/ConsoleHint.h"

namespace kelvane {
namespace {

// A hint is one line: a long list of names is cut short.
constexpr size_t NamesShown = 12;

std::string Listed(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size() && i < NamesShown; ++i) list += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > NamesShown) list += ", \x85";  // an ellipsis
    return list;
}

}  // namespace

std::string HintText(const CommandOutcome& outcome, const Language& texts) {
    using Kind = CommandOutcome::Kind;
    const std::string names = Listed(outcome.Names);
    const bool none = outcome.Names.empty();
    switch (outcome.What) {
        case Kind::Acted:
            return std::string(texts.Translate("HELP lists the commands; Enter runs the line, Up brings back the last one."));
        case Kind::Help:
            return std::string(texts.Translate(
                "Commands: CREATESHIP type, DELETESHIP ship, YOURSHIP [ship], EXEC script, QUIT. F1 shows examples."));
        case Kind::UnknownCommand:
            return texts.Format("%s is no command. The commands: CREATESHIP, DELETESHIP, YOURSHIP, EXEC, QUIT.",
                                {outcome.Word});
        case Kind::LeadingBlank:
            return std::string(
                texts.Translate("Put one blank between the command and the name, and none before the command."));
        case Kind::NeedsShipName:
            return none ? texts.Format("%s needs a ship's name, and there is no ship it could take.", {outcome.Word})
                        : texts.Format("%s needs a ship's name: %s", {outcome.Word, names});
        case Kind::NeedsScript:
            return none ? std::string(texts.Translate("EXEC needs a script's name, and there are no scripts."))
                        : texts.Format("EXEC needs a script's name: %s", {names});
        case Kind::UnknownShipType:
            return none ? texts.Format("No ship type is named %s, and there are none.", {outcome.Word})
                        : texts.Format("No ship type is named %s. The nearest: %s", {outcome.Word, names});
        case Kind::InPlayAlready:
            return texts.Format("%s is in play already.", {outcome.Word});
        case Kind::NotInPlay:
            return none ? texts.Format("%s is not in play, and no other ship is.", {outcome.Word})
                        : texts.Format("%s is not in play. In play: %s", {outcome.Word, names});
        case Kind::NoSuchScript:
            return none ? texts.Format("There is no script %s, nor any other.", {outcome.Word})
                        : texts.Format("There is no script %s. The scripts: %s", {outcome.Word, names});
    }
    return {};
}

}  // namespace kelvane
