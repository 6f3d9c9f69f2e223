#pragma once
// Things drawn over the scene: the first hint, which is part of the frame until the first
// ship has been created, and the help and notice overlays, which the platform draws on a
// copy of the shown picture so that they never reach the game's own frames.

#include <cstdint>
#include <string_view>

#include "game/PlayerActions.h"
#include "media/Surface.h"
#include "world/World.h"

namespace kelvane {

// The first hint, centred: how to open the console and start a battle. Only while no
// ship has ever been created (the controlled slot stays named once one has) and the
// console is closed; never over ships in play, even those of a game in which none is the
// player's (a tournament's duel, watched).
bool FirstHintShown(const World& world);
void DrawFirstHint(Surface& back);

// The keys (each action's as `keys` names it, then the desktop's own), the pad buttons and
// the console commands with an example each.
void DrawHelpOverlay(Surface& picture, const ActionKeyNames& keys);

// A short message in a small box, centred across the picture with its top at `top`,
// with an optional second, dimmer line: near the top a passing notice (a saved
// screenshot's name and its folder), lower down a standing line (a watched recording
// paused or ended), so the two never cover each other.
inline constexpr int32_t NoticeTop = 100;
inline constexpr int32_t StandingLineTop = 620;
void DrawNoticeOverlay(Surface& picture, std::string_view text, std::string_view detail, int32_t top = NoticeTop);

}  // namespace kelvane
