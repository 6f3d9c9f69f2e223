#pragma once
// Names in findings: game text shown on a UTF-8 terminal (the nearest known name for a
// misspelt one is the console's too: world/TextUtil.h).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "world/TextUtil.h"

namespace kelvane::check {

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
