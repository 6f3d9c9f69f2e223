#include "base/TextFormat.h"

#include <cctype>
#include <cstddef>

namespace kelvane {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string text;
    text.reserve(pattern.size() + 32);
    size_t next = 0;  // the argument a plain "%s" takes
    const auto argument = [&args](size_t index) {
        return index < args.size() ? *(args.begin() + index) : std::string_view();
    };
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            text += c;
            continue;
        }
        if (pattern[i + 1] == '%') {
            text += '%';
            ++i;
        } else if (pattern[i + 1] == 's') {
            text += argument(next++);
            ++i;
        } else if (std::isdigit(static_cast<unsigned char>(pattern[i + 1]))) {
            // "%N$s": digits, a dollar sign and the s, or else no place at all.
            size_t end = i + 1;
            size_t number = 0;
            while (end < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[end])) && number < 100)
                number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
            if (number >= 1 && end + 1 < pattern.size() && pattern[end] == '$' && pattern[end + 1] == 's') {
                text += argument(number - 1);
                i = end + 1;
            } else {
                text += c;
            }
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace kelvane
