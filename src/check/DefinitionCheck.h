#pragma once
// The findings of one ship definition file, read exactly as the game reads it: the parsed
// file, every value the game's reader asked of it (ProfileFile::RecordReads) and the ship
// it gave. Sections and keys are known because the reader asked for them, so the checker
// and the game can never disagree about what a file holds.

#include <string>
#include <string_view>
#include <vector>

#include "check/ConsoleKeyboard.h"
#include "check/Report.h"
#include "media/Platform.h"
#include "media/ProfileFile.h"
#include "world/World.h"

namespace kelvane::check {

// Without a font, a ship name may have this many characters before it is taken to run
// into the score in the ship list.
constexpr size_t ShipNameFallbackCharacters = 18;

struct DefinitionInput {
    const std::string& Path;
    const ProfileFile& Ini;
    const std::vector<ProfileRead>& Reads;  // what the game's reader asked, in its order
    const TShip& Ship;                      // what it gave
};

struct NameRules {
    const ConsoleKeyboard& Keyboard;
    IFontRasteriser* Font;  // the game's font for the ship list; nullptr: ShipNameFallbackCharacters
};

// Sections, keys and the lines the reader skips; numbers that are not numbers.
void CheckDefinitionLayout(const DefinitionInput& input, Report& report);
// The ship as read: names, strengths, weapons and explosion.
void CheckShipValues(const DefinitionInput& input, const NameRules& names, Report& report);

// The line a finding about a key points at: the key's own line when given, else the
// line of its section's header, else 0.
int LineOfKey(const DefinitionInput& input, std::string_view section, std::string_view key);

}  // namespace kelvane::check
