#pragma once
// Every line the game writes into the console log, by its identifier: the colour and the
// original text with places for its words (ship names, numbers). The log keeps the
// original bytes, as it always has (the world checksum and the runner's dumps read them);
// a watcher reading the game in another language has a log line recognised again by its
// identifier and shown in that language, so the language never enters the world.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "world/World.h"

namespace kelvane {

enum class ConsoleMessage : uint8_t {
    Welcome,
    Version,
    ShipCreatedYours,
    ShipCreated,
    ControlledShipDeleted,
    ShipDeleted,
    YourShipIs,
    NoShipToControl,
    TooManyShips,
    ScriptTooDeep,
    ScriptsStopped,
    OwnShipDestroyed,
    ShipDestroyed,
};

struct ConsoleMessageText {
    ConsoleMessage Id;
    uint32_t Color;
    std::string_view Original;  // Windows-1250; "%s" where a word goes
};

// One row per message, in the order lines are recognised: of two that could both fit a
// line, the one with more fixed text comes first.
std::span<const ConsoleMessageText> ConsoleMessageTexts();
const ConsoleMessageText& TextOf(ConsoleMessage id);

// Appends the message with its words in their places, in its colour.
void AddConsoleMessage(World& world, ConsoleMessage id, std::initializer_list<std::string_view> words = {});

struct RecognisedLine {
    const ConsoleMessageText* Message;
    std::vector<std::string> Words;
};

// The message a log entry (its colour digit and text) was written as, with its words;
// nothing for a line no message makes.
std::optional<RecognisedLine> RecogniseConsoleLine(std::string_view entry);

}  // namespace kelvane
