#pragma once
// Small string routines shared by the console, the definition reader and the weapons.

#include <string>
#include <string_view>

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

}  // namespace kelvane
