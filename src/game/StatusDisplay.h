#pragma once
// Formulas of the status display, shared with its tests.

#include <cstdint>
#include <string>

#include "text/Language.h"

namespace kelvane {

// Every status text is Verdana at this size.
constexpr uint8_t StatusTextSize = 7;
// The list of ships in play: each name starts at this x, each score ends at that one.
constexpr int32_t ShipListNameX = 844;
constexpr int32_t ShipListScoreRight = 997;

// Fill width of a bar: max(0, value) / maximum x 140, rounded; 0 without a maximum.
int32_t StatusBarWidth(int32_t value, int32_t maximum);
// The map point of a world point.
void StatusMapPoint(int32_t x, int32_t y, int32_t& mapX, int32_t& mapY);
// The whole seconds the respawn countdown shows (at 25 frames a second before the
// frame rate is first measured).
int32_t RespawnDigit(int32_t respawnTimer, int32_t frameRate);
// A reload line in the language: `ready` when loaded, else `loading` with the seconds (one
// decimal) in its place.
std::string ReloadText(const Language& texts, const char* ready, const char* loading, int32_t reload,
                       int32_t frameRate);

}  // namespace kelvane
