#pragma once
// The seed of one duel, derived from the tournament's seed, the pairing and the game
// number alone, so a duel plays the same whichever thread, shard or machine runs it.

#include <cstdint>
#include <string_view>

namespace kelvane::sim {

// xxHash64 (seed 0) over the bytes  SEED NUL FIRST NUL SECOND NUL GAME  (the numbers in
// decimal, the names as the result file writes them, UTF-8); the low 32 bits seed the
// duel's random generator.
uint32_t DuelSeed(uint32_t tournamentSeed, std::string_view first, std::string_view second, int game);

}  // namespace kelvane::sim
