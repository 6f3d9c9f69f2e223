#pragma once
// The console on screen: the five newest log lines, and while it is open the input line
// and, under the log, the hint line. The log's lines are shown in the watcher's language:
// each is recognised by the message it was written as and put into that language's words.

#include <string>
#include <string_view>

#include "console/CommandOutcome.h"
#include "media/Surface.h"
#include "text/Language.h"
#include "world/World.h"

namespace kelvane {

constexpr int32_t ConsoleTextX = 10;
constexpr int32_t ConsoleInputY = 690;  // the input line; log rows follow 11 pixels apart
constexpr int32_t ConsoleRowHeight = 11;
constexpr int ConsoleRowsShown = 5;
constexpr uint8_t ConsoleTextSize = 7;
// The hint line: the row under the newest log line.
constexpr int32_t ConsoleHintY = ConsoleInputY + ConsoleRowHeight * (ConsoleRowsShown + 1);
constexpr uint32_t ConsoleHintColor = 0xA8C8D8;

// A log entry's text (without its colour digit) in the language; as it stands when the
// language is the original one or no message makes the line.
std::string ShownConsoleLine(std::string_view entry, const Language& texts);

// `hint`: what the hint line says while the console is open; none without one.
void DrawConsole(Surface& back, const World& world, const Language& texts = OriginalLanguage(),
                 const CommandOutcome* hint = nullptr);

}  // namespace kelvane
