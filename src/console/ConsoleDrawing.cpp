#include "console/ConsoleDrawing.h"

#include "console/ConsoleHint.h"
#include "console/WriteText.h"
#include "world/ConsoleLog.h"
#include "world/ConsoleMessages.h"

namespace kelvane {
namespace {

// The words of a message in a language, with the line's own words (ship names, numbers)
// in their places; "%1$s" lets a translation put them in its own order.
std::string Translated(const RecognisedLine& line, const Language& texts) {
    const std::vector<std::string>& w = line.Words;
    const auto word = [&w](size_t i) { return i < w.size() ? std::string_view(w[i]) : std::string_view(); };
    return texts.Format(line.Message->Original, {word(0), word(1)});
}

}  // namespace

std::string ShownConsoleLine(std::string_view entry, const Language& texts) {
    const std::string_view text = entry.empty() ? std::string_view() : entry.substr(1);
    if (texts.IsOriginal()) return std::string(text);
    const std::optional<RecognisedLine> line = RecogniseConsoleLine(entry);
    return line ? Translated(*line, texts) : std::string(text);
}

void DrawConsole(Surface& back, const World& world, const Language& texts, const CommandOutcome* hint) {
    const std::vector<std::string>& log = world.ConsoleLog;
    const size_t count = log.size();
    // Row m (1..5) shows entry count - 5 + m, so the newest line is always the lowest.
    for (int m = 1; m <= ConsoleRowsShown; ++m) {
        const size_t fromEnd = static_cast<size_t>(ConsoleRowsShown - m);  // 0 for the newest
        if (count <= fromEnd) continue;
        const std::string& entry = log[count - 1 - fromEnd];
        const char digit = entry.empty() ? '\0' : entry.front();
        WriteText(back, ConsoleTextX, ConsoleInputY + ConsoleRowHeight * m, ShownConsoleLine(entry, texts),
                  ConsoleColorOfDigit(digit), FontStyle(), ConsoleTextSize);
    }
    if (world.ConsoleOpen) {
        // The "_" is a fixed cursor mark at the end of the line.
        WriteText(back, ConsoleTextX, ConsoleInputY, ">> " + world.InputLine + "_", ConsoleColor7, FontStyle(),
                  ConsoleTextSize);
        if (hint) WriteText(back, ConsoleTextX, ConsoleHintY, HintText(*hint, texts), ConsoleHintColor, FontStyle(),
                            ConsoleTextSize);
    }
}

}  // namespace kelvane
