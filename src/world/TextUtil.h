#pragma once
// Small string routines shared by the console, the definition reader and the weapons.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Only the letters a to z become upper case; letters with diacritics stay as they are.
inline std::string UpperCaseText(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

// The characters before the first "."; the whole text when it has none.
inline std::string BaseName(std::string_view text) {
    const size_t dot = text.find('.');
    return std::string(dot == std::string_view::npos ? text : text.substr(0, dot));
}

// Edits that turn one name into the other: a letter inserted, deleted or changed, or two
// neighbours swapped ("Sheilds"), each counting one; the letters a to z compare without
// regard to case, as the game compares names.
int EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to `word`, when it is near enough to be what was meant (a few
// edits for its length) and not `word` itself; the first of equally near ones.
std::optional<std::string> NearestName(std::string_view word, const std::vector<std::string>& candidates);

// Up to `count` of the candidates, nearest to `word` first (equally near ones in their
// order), however far they are.
std::vector<std::string> NearestNames(std::string_view word, const std::vector<std::string>& candidates,
                                      size_t count);

}  // namespace kelvane
