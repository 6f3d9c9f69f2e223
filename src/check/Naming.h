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

// Quoted text longer than this is cut (a line of a megabyte would make a report of one).
inline constexpr size_t MaxQuotedLength = 120;

// Windows-1250 game text in double quotes as UTF-8, control characters written as \xNN;
// a text longer than MaxQuotedLength shows its start and how long it is in all.
std::string Shown(std::string_view text);
// The start of a text that is too long to quote whole, and what to say after the quote
// (" ... (123456 characters in all)"); the whole text and nothing when it is short.
std::string_view QuotedPart(std::string_view text);
std::string CutNote(std::string_view text);

}  // namespace kelvane::check
