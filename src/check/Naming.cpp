#include "check/Naming.h"

#include <algorithm>
#include <cstdio>

#include "base/Windows1250.h"
#include "world/TextUtil.h"

namespace kelvane::check {

int EditDistance(std::string_view a, std::string_view b) {
    const std::string x = UpperCaseText(a), y = UpperCaseText(b);
    const size_t n = x.size(), m = y.size();
    // Three rows of the optimal-string-alignment table are enough.
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (size_t j = 0; j <= m; ++j) previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= m; ++j) {
            const int change = x[i - 1] == y[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[m];
}

std::optional<std::string> NearestName(std::string_view word, const std::vector<std::string>& candidates) {
    std::optional<std::string> best;
    int bestDistance = 0;
    for (const std::string& candidate : candidates) {
        // One edit in three letters of the shorter name still reads as a slip of the hand.
        const int allowed = std::max<int>(1, static_cast<int>(std::min(word.size(), candidate.size())) / 3);
        // Every letter one name has beyond the other is an edit: a far longer word is no slip.
        const size_t longer = std::max(word.size(), candidate.size()) - std::min(word.size(), candidate.size());
        if (longer > static_cast<size_t>(allowed)) continue;
        const int distance = EditDistance(word, candidate);
        if (distance == 0 || distance > allowed) continue;
        if (!best || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

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
