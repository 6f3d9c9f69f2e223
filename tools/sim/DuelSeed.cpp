#include "DuelSeed.h"

#include <string>

namespace kelvane::sim {

void Fnv1a64::Add(std::string_view bytes) {
    for (const char c : bytes) {
        hash_ ^= static_cast<uint8_t>(c);
        hash_ *= 1099511628211ull;
    }
}

uint32_t DuelSeed(uint32_t tournamentSeed, std::string_view first, std::string_view second, int game) {
    Fnv1a64 hash;
    const std::string_view separator("\0", 1);
    hash.Add(std::to_string(tournamentSeed));
    hash.Add(separator);
    hash.Add(first);
    hash.Add(separator);
    hash.Add(second);
    hash.Add(separator);
    hash.Add(std::to_string(game));
    // FNV spreads nearby inputs poorly over the low bits; SplitMix64's finaliser does.
    uint64_t z = hash.Value();
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z);
}

}  // namespace kelvane::sim
