#pragma once
// Things drawn over the scene: the first hint, which is part of the frame until the first
// ship has been created, and the help and notice overlays, which the platform draws on a
// copy of the shown picture so that they never reach the game's own frames.

#include <string_view>

#include "media/Surface.h"
#include "world/World.h"

namespace kelvane {

// The first hint, centred: how to open the console and start a battle. Only while no
// ship has ever been created (the controlled slot stays named once one has) and the
// console is closed.
bool FirstHintShown(const World& world);
void DrawFirstHint(Surface& back);

// The keys, the pad buttons and the console commands with an example each.
void DrawHelpOverlay(Surface& picture);

// A short message in a small box near the top of the picture (a saved screenshot's
// name), with an optional second, dimmer line (its folder).
void DrawNoticeOverlay(Surface& picture, std::string_view text, std::string_view detail);

}  // namespace kelvane
