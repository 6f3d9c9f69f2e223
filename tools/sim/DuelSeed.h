#pragma once
// The seed of one duel, derived from the tournament's seed, the pairing and the game
// number alone, so a duel plays the same whichever thread, shard or machine runs it.

#include <cstdint>
#include <string_view>

namespace kelvane::sim {

// FNV-1a (64 bits) over the bytes  SEED NUL FIRST NUL SECOND NUL GAME  (the numbers in
// decimal, the names as the result file writes them, UTF-8), then SplitMix64's final
// mix; the low 32 bits seed the duel's random generator.
uint32_t DuelSeed(uint32_t tournamentSeed, std::string_view first, std::string_view second, int game);

// FNV-1a, 64 bits: the hash the duel seeds and the data's fingerprint start from.
class Fnv1a64 {
public:
    void Add(std::string_view bytes);
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

}  // namespace kelvane::sim
