#pragma once
// kelvane --check: reads every ship definition, ship picture and command script the game
// would read, through the game's own readers, and reports what will not work as its maker
// meant. It never changes a file, and needs no display and no sound.

#include <string>

#include "check/Report.h"
#include "media/Platform.h"

namespace kelvane::check {

struct CheckOptions {
    std::string GameDir;    // the folder holding Data/ and Scripts/, ending in '/'
    std::string PlayerDir;  // the player's own folder (Ships/, Scripts/); empty: none
    // The game's font, to measure ship names as the ship list draws them; nullptr: names
    // are measured in characters (ShipNameFallbackCharacters).
    IFontRasteriser* Font = nullptr;
};

Report CheckGameData(const CheckOptions& options);

}  // namespace kelvane::check
