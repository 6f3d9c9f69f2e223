// The ratings: Bradley-Terry on the Elo scale, one virtual draw per type, averaging 1500.
// Expected values were worked out apart from this code (bisection and plain gradient
// ascent on the same likelihood).

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "Rating.h"
#include "TournamentResults.h"

namespace kelvane::sim {
namespace {

TEST(Rating, SmallResultSetsGiveTheWorkedOutRatings) {
    {
        const std::vector<Rating> ratings = RateTypes(2, {{0, 1, 3, 1, 0}});
        EXPECT_NEAR(ratings[0].Value, 1582.419, 0.01);
        EXPECT_NEAR(ratings[1].Value, 1417.581, 0.01);
        EXPECT_NEAR(ratings[0].Uncertainty, 177.198, 0.01);
        EXPECT_NEAR(ratings[1].Uncertainty, 177.198, 0.01);
    }
    {
        const std::vector<Rating> ratings = RateTypes(3, {{0, 1, 3, 1, 0}, {1, 2, 2, 1, 1}, {0, 2, 4, 0, 0}});
        EXPECT_NEAR(ratings[0].Value, 1699.523, 0.01);
        EXPECT_NEAR(ratings[1].Value, 1465.619, 0.01);
        EXPECT_NEAR(ratings[2].Value, 1334.858, 0.01);
        EXPECT_NEAR(ratings[0].Uncertainty, 210.953, 0.01);
        EXPECT_NEAR(ratings[1].Uncertainty, 176.062, 0.01);
        EXPECT_NEAR(ratings[2].Uncertainty, 196.196, 0.01);
    }
}

TEST(Rating, NoGamesAndOnlyDrawsLeaveEveryTypeAtTheBase) {
    for (const std::vector<PairResults>& results :
         {std::vector<PairResults>{}, std::vector<PairResults>{{0, 1, 0, 0, 6}, {1, 2, 0, 0, 2}}}) {
        for (const Rating& rating : RateTypes(3, results)) EXPECT_NEAR(rating.Value, BaseRating, 1e-9);
    }
}

TEST(Rating, ADrawCountsAsHalfAWinAndHalfALoss) {
    const std::vector<Rating> split = RateTypes(3, {{0, 1, 1, 1, 0}, {0, 2, 3, 0, 0}, {1, 2, 0, 1, 0}});
    const std::vector<Rating> drawn = RateTypes(3, {{0, 1, 0, 0, 2}, {0, 2, 3, 0, 0}, {1, 2, 0, 1, 0}});
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(split[i].Value, drawn[i].Value, 1e-9);
        EXPECT_NEAR(split[i].Uncertainty, drawn[i].Uncertainty, 1e-9);
    }
}

TEST(Rating, MoreGamesNarrowTheUncertainty) {
    const std::vector<Rating> few = RateTypes(2, {{0, 1, 3, 1, 0}});
    const std::vector<Rating> many = RateTypes(2, {{0, 1, 30, 10, 0}});
    EXPECT_NEAR(many[0].Uncertainty, 61.424, 0.01);
    EXPECT_LT(many[0].Uncertainty, few[0].Uncertainty / 2);
    EXPECT_GT(many[0].Value, few[0].Value);  // the same share, better established
}

TEST(Rating, ResultsNamingAnUnknownTypeAreRefused) {
    EXPECT_THROW(RateTypes(2, {{0, 2, 1, 0, 0}}), std::invalid_argument);
    EXPECT_THROW(RateTypes(2, {{1, 1, 1, 0, 0}}), std::invalid_argument);
}

DuelRecord Duel(int first, int second, DuelWinner winner, uint64_t frames) {
    DuelRecord duel;
    duel.First = first;
    duel.Second = second;
    duel.Winner = winner;
    duel.Frames = frames;
    return duel;
}

TEST(Table, ATypeThatWinsEverythingRanksFirstWithAFiniteRating) {
    TournamentResults results;
    results.Ships = {"Able", "Baker", "Charlie"};
    results.Games = 2;
    results.Duels = {Duel(0, 1, DuelWinner::Second, 100), Duel(0, 1, DuelWinner::None, 15000),
                     Duel(0, 2, DuelWinner::Second, 300), Duel(0, 2, DuelWinner::Second, 500),
                     Duel(1, 2, DuelWinner::Second, 700), Duel(1, 2, DuelWinner::Second, 900)};
    const std::vector<TableRow> table = MakeTable(results);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].Ship, "Charlie");
    EXPECT_EQ(table[0].Wins, 4);
    EXPECT_EQ(table[0].Losses, 0);
    ASSERT_TRUE(table[0].MeanFramesToKill);
    EXPECT_DOUBLE_EQ(*table[0].MeanFramesToKill, 600.0);
    EXPECT_TRUE(std::isfinite(table[0].Rated.Value));
    EXPECT_EQ(table[1].Ship, "Baker");
    EXPECT_EQ(table[1].Wins, 1);
    EXPECT_EQ(table[1].Losses, 2);
    EXPECT_EQ(table[1].Draws, 1);
    EXPECT_DOUBLE_EQ(*table[1].MeanFramesToKill, 100.0);
    EXPECT_EQ(table[2].Ship, "Able");
    EXPECT_FALSE(table[2].MeanFramesToKill);  // no kill, no mean
    EXPECT_GT(table[0].Rated.Value, table[1].Rated.Value);
    EXPECT_GT(table[1].Rated.Value, table[2].Rated.Value);
}

}  // namespace
}  // namespace kelvane::sim
