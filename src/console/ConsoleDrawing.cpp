#include "console/ConsoleDrawing.h"

#include <string>

#include "console/WriteText.h"
#include "world/ConsoleLog.h"

namespace kelvane {

void DrawConsole(Surface& back, const World& world) {
    const std::vector<std::string>& log = world.ConsoleLog;
    const size_t count = log.size();
    // Row m (1..5) shows entry count - 5 + m, so the newest line is always the lowest.
    for (int m = 1; m <= ConsoleRowsShown; ++m) {
        const size_t fromEnd = static_cast<size_t>(ConsoleRowsShown - m);  // 0 for the newest
        if (count <= fromEnd) continue;
        const std::string& entry = log[count - 1 - fromEnd];
        const char digit = entry.empty() ? '\0' : entry.front();
        const std::string_view text = entry.empty() ? std::string_view() : std::string_view(entry).substr(1);
        WriteText(back, ConsoleTextX, ConsoleInputY + ConsoleRowHeight * m, text, ConsoleColorOfDigit(digit),
                  FontStyle(), ConsoleTextSize);
    }
    if (world.ConsoleOpen) {
        // The "_" is a fixed cursor mark at the end of the line.
        WriteText(back, ConsoleTextX, ConsoleInputY, ">> " + world.InputLine + "_", ConsoleColor7, FontStyle(),
                  ConsoleTextSize);
    }
}

}  // namespace kelvane
