#pragma once
// The console on screen: the five newest log lines, and the input line while open.

#include "media/Surface.h"
#include "world/World.h"

namespace kelvane {

constexpr int32_t ConsoleTextX = 10;
constexpr int32_t ConsoleInputY = 690;  // the input line; log rows follow 11 pixels apart
constexpr int32_t ConsoleRowHeight = 11;
constexpr int ConsoleRowsShown = 5;
constexpr uint8_t ConsoleTextSize = 7;

void DrawConsole(Surface& back, const World& world);

}  // namespace kelvane
