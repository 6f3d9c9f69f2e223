#include "world/ConsoleLog.h"

namespace kelvane {
namespace {
constexpr uint32_t kColors[7] = {ConsoleColor1, ConsoleColor2, ConsoleColor3, ConsoleColor4,
                                 ConsoleColor5, ConsoleColor6, ConsoleColor7};
}

char ConsoleColorDigit(uint32_t color) {
    for (int i = 0; i < 7; ++i) {
        if (kColors[i] == color) return static_cast<char>('1' + i);
    }
    return '0';
}

uint32_t ConsoleColorOfDigit(char digit) {
    if (digit >= '1' && digit <= '7') return kColors[digit - '1'];
    return ConsoleWhite;
}

void AddConsoleLine(World& world, std::string_view text, uint32_t color) {
    std::string line(1, ConsoleColorDigit(color));
    line.append(text);
    world.ConsoleLog.push_back(std::move(line));
}

}  // namespace kelvane
