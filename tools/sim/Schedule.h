#pragma once
// The order of a tournament's duels: the pairs of ship types in list order (first with
// second, first with third, ..., second with third, ...), each in its seatings of pilots
// (one, or two when two pilots take turns in the first seat), each with its games 1..N.
// With one seating, duel k is game k mod N + 1 of pair k div N; part I of P shards takes
// the duels whose k mod P is I - 1, so parts are disjoint, cover everything and mix long
// and short pairs.

#include <cstddef>
#include <vector>

#include "TournamentOptions.h"

namespace kelvane::sim {

struct DuelKey {
    size_t Index = 0;  // k, the duel's place in the whole tournament
    int First = 0;     // indices into the tournament's ship list, First < Second
    int Second = 0;
    int Game = 1;      // 1-based
    int Seating = 0;   // which pilots sit in the two seats: 0, or 1 for the second seating
};

size_t PairCount(int shipCount);
size_t DuelCount(int shipCount, int games, int seatings = 1);
// The duels of one part, in tournament order.
std::vector<DuelKey> ScheduleDuels(int shipCount, int games, ShardSpec shard, int seatings = 1);
// The place k of game `game` of the pair (first, second), first < second, in a seating.
size_t DuelIndex(int shipCount, int games, int first, int second, int game, int seating = 0, int seatings = 1);

}  // namespace kelvane::sim
