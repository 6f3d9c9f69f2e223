#pragma once
// Ratings of ship types from duel results: a Bradley-Terry model on the Elo scale.
//
// Type i beats type j with probability 1 / (1 + 10^((Rj - Ri) / 400)). A draw counts as
// half a win and half a loss. Every type also carries one virtual draw against a fixed
// reference type, which keeps a type that wins (or loses) everything at a finite rating.
// The strengths maximise the likelihood of the results (Newton's method); the ratings are
// these strengths shifted so that their average is 1500. The uncertainty is 1.96
// standard errors (a 95% interval) of a rating against the field's average, from the
// inverse of the likelihood's curvature at its maximum.

#include <vector>

namespace kelvane::sim {

// Results between two types, counted from `First`'s side.
struct PairResults {
    int First = 0;
    int Second = 0;
    int FirstWins = 0;
    int SecondWins = 0;
    int Draws = 0;
};

struct Rating {
    double Value = 1500;
    double Uncertainty = 0;  // half the 95% interval
};

constexpr double BaseRating = 1500;  // the field's average

// One rating per type 0..typeCount-1. Pairs naming a type outside that range throw
// std::invalid_argument.
std::vector<Rating> RateTypes(int typeCount, const std::vector<PairResults>& results);

}  // namespace kelvane::sim
