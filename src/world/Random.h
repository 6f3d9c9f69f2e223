#pragma once
// The game's one random generator: a 32-bit linear congruential generator whose
// Random(n) scales the state into 0..n-1. Seeded once by the loading sequence (from
// the clock in the game, from a given seed in tests and the headless runner), so the
// same seed, data and input give the same game, frame for frame.

#include <cstdint>

namespace kelvane {

class RandomGenerator {
public:
    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t State() const { return state_; }
    bool operator==(const RandomGenerator&) const = default;

    // Uniform integer in 0..n-1; 0 when n is 0 or negative.
    int32_t Random(int32_t n) {
        state_ = state_ * 134775813u + 1u;
        if (n <= 0) return 0;
        return static_cast<int32_t>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
    }

private:
    uint32_t state_ = 0;
};

}  // namespace kelvane
