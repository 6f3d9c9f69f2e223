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

// The same hash over bytes that come in pieces (a file read in chunks): Value() after
// adding every piece equals Hash64 of the whole.
class Hash64Stream {
public:
    explicit Hash64Stream(uint64_t seed = 0);
    void Add(const void* data, size_t size);
    void Add(std::string_view text) { Add(text.data(), text.size()); }
    uint64_t Value() const;

private:
    uint64_t lanes_[4];
    uint8_t buffer_[32] = {};  // the start of a stripe not yet complete
    size_t buffered_ = 0;
    uint64_t total_ = 0;
    uint64_t seed_;
};

// Sixteen lowercase hex digits, and back; FromHex64 is false for anything else.
std::string ToHex64(uint64_t value);
bool FromHex64(std::string_view text, uint64_t& value);

}  // namespace kelvane
