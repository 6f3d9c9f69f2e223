#include "check/Naming.h"

#include <cstdio>

#include "base/Windows1250.h"
#include "world/TextUtil.h"

namespace kelvane::check {

std::string Shown(std::string_view text) {
    std::string shown = "\"";
    for (const char c : Windows1250ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

}  // namespace kelvane::check
