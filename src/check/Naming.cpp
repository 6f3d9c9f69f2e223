#include "check/Naming.h"

#include <cstdio>

#include "base/Windows1250.h"
#include "world/TextUtil.h"

namespace kelvane::check {

std::string_view QuotedPart(std::string_view text) {
    // The start, short enough that the whole line of a finding stays readable.
    return text.size() <= MaxQuotedLength ? text : text.substr(0, MaxQuotedLength - 20);
}

std::string CutNote(std::string_view text) {
    if (text.size() <= MaxQuotedLength) return {};
    return " ... (" + std::to_string(text.size()) + " characters in all)";
}

std::string Shown(std::string_view text) {
    std::string shown = "\"";
    for (const char c : Windows1250ToUtf8(QuotedPart(text))) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown + "\"" + CutNote(text);
}

}  // namespace kelvane::check
