#include "Schedule.h"

namespace kelvane::sim {
namespace {

// Place of the pair (first, second) in the list of pairs.
size_t PairIndex(int shipCount, int first, int second) {
    // Pairs of every earlier first ship, then the pairs of this one up to `second`.
    const size_t n = static_cast<size_t>(shipCount), i = static_cast<size_t>(first);
    return i * (2 * n - i - 1) / 2 + static_cast<size_t>(second - first - 1);
}

}  // namespace

size_t PairCount(int shipCount) {
    return shipCount < 2 ? 0 : static_cast<size_t>(shipCount) * static_cast<size_t>(shipCount - 1) / 2;
}

size_t DuelCount(int shipCount, int games, int seatings) {
    return PairCount(shipCount) * static_cast<size_t>(seatings) * static_cast<size_t>(games);
}

size_t DuelIndex(int shipCount, int games, int first, int second, int game, int seating, int seatings) {
    const size_t round = PairIndex(shipCount, first, second) * static_cast<size_t>(seatings) + static_cast<size_t>(seating);
    return round * static_cast<size_t>(games) + static_cast<size_t>(game - 1);
}

std::vector<DuelKey> ScheduleDuels(int shipCount, int games, ShardSpec shard, int seatings) {
    std::vector<DuelKey> duels;
    for (int first = 0; first < shipCount; ++first) {
        for (int second = first + 1; second < shipCount; ++second) {
            for (int seating = 0; seating < seatings; ++seating) {
                for (int game = 1; game <= games; ++game) {
                    const size_t index = DuelIndex(shipCount, games, first, second, game, seating, seatings);
                    if (index % static_cast<size_t>(shard.Count) == static_cast<size_t>(shard.Index - 1))
                        duels.push_back({index, first, second, game, seating});
                }
            }
        }
    }
    return duels;
}

}  // namespace kelvane::sim
