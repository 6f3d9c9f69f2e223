#include "world/ConsoleMessages.h"

#include <stdexcept>

#include "base/TextFormat.h"
#include "world/ConsoleLog.h"

namespace kelvane {
namespace {

constexpr ConsoleMessageText Messages[] = {
    {ConsoleMessage::Welcome, ConsoleColor6, Translatable("Welcome to Orvath : Kelvane")},
    {ConsoleMessage::Version, ConsoleColor7, Translatable("version: 1.0 beta")},
    {ConsoleMessage::ControlledShipDeleted, ConsoleColor7,
     Translatable("%s has been deleted. She was under your control. You are now controling ship %s")},
    {ConsoleMessage::TooManyShips, ConsoleColor7,
     Translatable("Maximum number of ships is %s. There already is %s ships. You cannot create another one.")},
    {ConsoleMessage::ShipCreatedYours, ConsoleColor7,
     Translatable("Ship %s hase been created and is under your control.")},
    {ConsoleMessage::ScriptsStopped, ConsoleColor7,
     Translatable("Scripts stopped: one command ran more than %s script lines.")},
    {ConsoleMessage::ScriptTooDeep, ConsoleColor7, Translatable("Script %s was not run: scripts nest too deep.")},
    {ConsoleMessage::YourShipIs, ConsoleColor7, Translatable("Ship you are currently controling is: %s")},
    {ConsoleMessage::NoShipToControl, ConsoleColor7, Translatable("There are no ship you can control.")},
    {ConsoleMessage::ShipCreated, ConsoleColor7, Translatable("Ship %s hase been created.")},
    {ConsoleMessage::ShipDeleted, ConsoleColor7, Translatable("%s has been deleted.")},
    {ConsoleMessage::OwnShipDestroyed, ConsoleColor2, Translatable("Your ship (%s) is destroyed...")},
    {ConsoleMessage::ShipDestroyed, ConsoleColor4, Translatable("%s is destroyed...")},
};

// The fixed pieces of a message's text around its places: one more piece than places.
std::vector<std::string_view> Pieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = text.find("%s"); at != std::string_view::npos; at = text.find("%s", start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// The words of `line` in the places of `pieces`: the first piece begins the line, the last
// ends it, and each piece between is taken where it first occurs.
std::optional<std::vector<std::string>> Fit(std::string_view line, const std::vector<std::string_view>& pieces) {
    const std::string_view first = pieces.front();
    const std::string_view last = pieces.back();
    if (pieces.size() == 1) {
        if (line != first) return std::nullopt;
        return std::vector<std::string>();
    }
    if (line.size() < first.size() + last.size() || !line.starts_with(first) || !line.ends_with(last))
        return std::nullopt;
    std::string_view rest = line.substr(first.size(), line.size() - first.size() - last.size());
    std::vector<std::string> words;
    for (size_t i = 1; i + 1 < pieces.size(); ++i) {
        const size_t at = rest.find(pieces[i]);
        if (at == std::string_view::npos) return std::nullopt;
        words.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + pieces[i].size());
    }
    words.emplace_back(rest);
    return words;
}

}  // namespace

std::span<const ConsoleMessageText> ConsoleMessageTexts() { return Messages; }

const ConsoleMessageText& TextOf(ConsoleMessage id) {
    for (const ConsoleMessageText& message : Messages)
        if (message.Id == id) return message;
    throw std::out_of_range("no such console message");
}

void AddConsoleMessage(World& world, ConsoleMessage id, std::initializer_list<std::string_view> words) {
    const ConsoleMessageText& message = TextOf(id);
    AddConsoleLine(world, FormatText(message.Original, words), message.Color);
}

std::optional<RecognisedLine> RecogniseConsoleLine(std::string_view entry) {
    if (entry.empty()) return std::nullopt;
    const uint32_t color = ConsoleColorOfDigit(entry.front());
    const std::string_view line = entry.substr(1);
    for (const ConsoleMessageText& message : Messages) {
        if (message.Color != color) continue;
        if (auto words = Fit(line, Pieces(message.Original))) return RecognisedLine{&message, std::move(*words)};
    }
    return std::nullopt;
}

}  // namespace kelvane
