#pragma once
// Texts with places for words: "%s" takes the next argument, "%N$s" the Nth (so a
// translation may put them in another order), "%%" is a percent sign. The same rule
// writes the game's own texts and their translations, so both come out of one template.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelvane {

// Marks a text for the catalogues where it is defined (xgettext --keyword=Translatable);
// it is translated where it is shown (text/Language.h).
constexpr const char* Translatable(const char* original) { return original; }

// The template with its places filled; a place without an argument stays empty, and a
// '%' that starts no place is kept as it is.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace kelvane
