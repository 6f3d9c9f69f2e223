#include "DuelSeed.h"

#include <string>

#include "base/Hash64.h"

namespace kelvane::sim {

uint32_t DuelSeed(uint32_t tournamentSeed, std::string_view first, std::string_view second, int game) {
    std::string bytes = std::to_string(tournamentSeed);
    bytes += '\0';
    bytes += first;
    bytes += '\0';
    bytes += second;
    bytes += '\0';
    bytes += std::to_string(game);
    return static_cast<uint32_t>(Hash64(bytes));
}

}  // namespace kelvane::sim
