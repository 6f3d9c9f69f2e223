// The order of the duels, the parts of a sharded tournament, and the duels' seeds.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DuelSeed.h"
#include "Schedule.h"

namespace kelvane::sim {
namespace {

TEST(DuelSeed, FollowsTheDocumentedDerivation) {
    // xxHash64 of "1\0Ardent\0Bastion\0" "1", low 32 bits; worked out apart from this code
    // (xxhsum -H1 gives 4e8aa448a62d675f). A change here makes old result files unmergeable.
    EXPECT_EQ(DuelSeed(1, "Ardent", "Bastion", 1), 0xa62d675fu);
    EXPECT_EQ(DuelSeed(7, "Kestrel", "Vigil", 20), 0x54043ec8u);  // 276a795954043ec8
}

TEST(DuelSeed, DiffersForEveryPairingGameAndTournamentSeed) {
    const std::vector<std::string> ships = {"Ardent", "Bastion", "Halberd", "Kestrel",
                                            "Sable",  "Talon",   "Vigil",   "Wisp"};
    std::set<uint32_t> seeds;
    size_t duels = 0;
    for (uint32_t tournament : {1u, 2u}) {
        for (size_t a = 0; a < ships.size(); ++a) {
            for (size_t b = a + 1; b < ships.size(); ++b) {
                for (int game = 1; game <= 20; ++game) {
                    seeds.insert(DuelSeed(tournament, ships[a], ships[b], game));
                    ++duels;
                }
            }
        }
    }
    EXPECT_EQ(seeds.size(), duels);
    // Names are not run together: "AB" + "C" is not "A" + "BC".
    EXPECT_NE(DuelSeed(1, "AB", "C", 1), DuelSeed(1, "A", "BC", 1));
    EXPECT_NE(DuelSeed(1, "A", "B", 12), DuelSeed(11, "A", "B", 2));
}

TEST(Schedule, PartsAreDisjointAndCoverTheTournamentInOrder) {
    const int ships = 5, games = 3;
    const std::vector<DuelKey> whole = ScheduleDuels(ships, games, {});
    ASSERT_EQ(whole.size(), DuelCount(ships, games));
    ASSERT_EQ(whole.size(), 30u);
    for (size_t k = 0; k < whole.size(); ++k) {
        EXPECT_EQ(whole[k].Index, k);
        EXPECT_LT(whole[k].First, whole[k].Second);
        EXPECT_EQ(DuelIndex(ships, games, whole[k].First, whole[k].Second, whole[k].Game), k);
    }
    EXPECT_EQ(whole.front().First, 0);
    EXPECT_EQ(whole.front().Second, 1);
    EXPECT_EQ(whole.back().First, 3);
    EXPECT_EQ(whole.back().Second, 4);
    EXPECT_EQ(whole.back().Game, 3);

    for (int count : {1, 2, 3, 7, 31, 40}) {
        std::vector<int> seen(whole.size(), 0);
        for (int index = 1; index <= count; ++index) {
            size_t previous = 0;
            bool first = true;
            for (const DuelKey& key : ScheduleDuels(ships, games, {index, count})) {
                ++seen[key.Index];
                // A part's duel is the same pairing and game as in the whole tournament.
                EXPECT_EQ(key.First, whole[key.Index].First);
                EXPECT_EQ(key.Second, whole[key.Index].Second);
                EXPECT_EQ(key.Game, whole[key.Index].Game);
                if (!first) {
                    EXPECT_GT(key.Index, previous);
                }
                previous = key.Index;
                first = false;
            }
        }
        for (size_t k = 0; k < seen.size(); ++k) EXPECT_EQ(seen[k], 1) << "duel " << k << " of " << count << " parts";
    }
}

}  // namespace
}  // namespace kelvane::sim
