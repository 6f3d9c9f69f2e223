#pragma once
// The findings of the command scripts: each line parsed as the console parses it, the
// ships and scripts it names looked up as the console looks them up. The console itself
// says nothing about a line it cannot use; the checker does.

#include <string>
#include <vector>

#include "check/ConsoleKeyboard.h"
#include "check/Report.h"

namespace kelvane::check {

struct ScriptFolders {
    std::string GameDir;    // holding the shipped Scripts/, ending in '/'
    std::string PlayerDir;  // holding the player's Scripts/; empty: none
};

// Every script file of both Scripts folders; shipNames are the ShipNames of the ship slots.
void CheckScripts(const ScriptFolders& folders, const std::vector<std::string>& shipNames,
                  const ConsoleKeyboard& keyboard, Report& report);

}  // namespace kelvane::check
