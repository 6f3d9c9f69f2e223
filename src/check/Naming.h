#pragma once
// Names in findings: the nearest known name for a misspelt one, and game text shown on
// a UTF-8 terminal.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::check {

// Edits that turn one name into the other: a letter inserted, deleted or changed, or two
// neighbours swapped ("Sheilds"), each counting one; the letters a to z compare without
// regard to case, as the game compares names.
int EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to `word`, when it is near enough to be what was meant (a few
// edits for its length) and not `word` itself; the first of equally near ones.
std::optional<std::string> NearestName(std::string_view word, const std::vector<std::string>& candidates);

// Windows-1250 game text in double quotes as UTF-8, control characters written as \xNN.
std::string Shown(std::string_view text);

}  // namespace kelvane::check
