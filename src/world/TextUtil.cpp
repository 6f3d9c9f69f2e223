#include "world/TextUtil.h"

#include <algorithm>
#include <numeric>

namespace kelvane {

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
        // Every letter one name has beyond the other is an edit: a far longer word is no slip,
        // and a line of thousands of letters is not measured against every name.
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

std::vector<std::string> NearestNames(std::string_view word, const std::vector<std::string>& candidates,
                                      size_t count) {
    std::vector<int> distances;
    distances.reserve(candidates.size());
    for (const std::string& candidate : candidates) distances.push_back(EditDistance(word, candidate));
    std::vector<size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return distances[a] < distances[b]; });
    std::vector<std::string> nearest;
    for (size_t i = 0; i < order.size() && nearest.size() < count; ++i) nearest.push_back(candidates[order[i]]);
    return nearest;
}

}  // namespace kelvane
