#pragma once
// The game's 64-bit hash: xxHash64 (seed 0), fast on long inputs (the data files)
// and well mixed on short ones (the world's fields), the same on every machine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

uint64_t Hash64(const void* data, size_t size, uint64_t seed = 0);
inline uint64_t Hash64(std::string_view text) { return Hash64(text.data(), text.size()); }

// Sixteen lowercase hex digits, and back; FromHex64 is false for anything else.
std::string ToHex64(uint64_t value);
bool FromHex64(std::string_view text, uint64_t& value);

}  // namespace kelvane
