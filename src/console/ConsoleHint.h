#pragma once
// The console's hint line: one short line under the log, drawn only while the console is
// open, saying why the last line typed did nothing (with the names that would have
// worked) or, when there is nothing to say, how to get help. It is its player's alone:
// never in the log, the world or a recording.

#include <string>

#include "console/CommandOutcome.h"
#include "text/Language.h"

namespace kelvane {

// The hint for an outcome, in the language (Windows-1250).
std::string HintText(const CommandOutcome& outcome, const Language& texts);

}  // namespace kelvane
