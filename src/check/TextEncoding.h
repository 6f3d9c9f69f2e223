#pragma once
// How a file's bytes are meant to be read: the game reads 8-bit Windows-1250 text, and
// editors save UTF-8 (with or without a byte-order mark) or UTF-16.

#include <string>
#include <string_view>

#include "check/Report.h"

namespace kelvane::check {

// Reports a byte-order mark, UTF-16 text, UTF-8 text with letters beyond ASCII (naming the
// letters meant and what the game shows instead), and bytes that are no Windows-1250
// character. Returns false when the text is UTF-16, of which the game reads nothing
// sensible, so that line-by-line findings would only repeat that.
bool CheckTextEncoding(std::string_view bytes, const std::string& path, Report& report);

}  // namespace kelvane::check
