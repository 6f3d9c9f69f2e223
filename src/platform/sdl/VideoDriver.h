#pragma once
// Opening SDL's video without ever landing on an off-screen or dummy driver by itself:
// a game nobody can see must say so and end, not run on invisibly. A driver that the
// user names in SDL_VIDEODRIVER is taken as asked, whatever it is.

#include <string>

namespace kelvane {

// Drivers that draw nowhere a player can see.
bool IsInvisibleVideoDriver(const std::string& name);

// Starts SDL's video (SDL_Init must have run for events). Returns an empty string on
// success, else the reason: every driver tried with what it said.
std::string OpenVideo();

}  // namespace kelvane
