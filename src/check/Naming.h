#pragma once
// Names in findings: game text shown on a UTF-8 terminal (the nearest known name for a
// misspelt one is the console's too: world/TextUtil.h).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "world/TextUtil.h"

namespace kelvane::check {

// Windows-1250 game text in double quotes as UTF-8, control characters written as \xNN.
std::string Shown(std::string_view text);

}  // namespace kelvane::check
