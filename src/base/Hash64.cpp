#include "base/Hash64.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kelvane {
namespace {

constexpr uint64_t Prime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t Prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t Prime3 = 0x165667B19E3779F9ull;
constexpr uint64_t Prime4 = 0x85EBCA77C2B2AE63ull;
constexpr uint64_t Prime5 = 0x27D4EB2F165667C5ull;

// Little-endian reads whatever the machine's byte order, from any alignment.
uint64_t Read64(const uint8_t* p) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}
uint64_t Read32(const uint8_t* p) {
    return uint64_t{p[0]} | uint64_t{p[1]} << 8 | uint64_t{p[2]} << 16 | uint64_t{p[3]} << 24;
}

uint64_t Round(uint64_t accumulator, uint64_t input) {
    accumulator += input * Prime2;
    return std::rotl(accumulator, 31) * Prime1;
}

uint64_t MergeRound(uint64_t accumulator, uint64_t value) {
    accumulator ^= Round(0, value);
    return accumulator * Prime1 + Prime4;
}

// The four lanes of 32-byte stripes, joined into one.
uint64_t Converge(const uint64_t (&lanes)[4]) {
    uint64_t hash = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) + std::rotl(lanes[3], 18);
    for (uint64_t lane : lanes) hash = MergeRound(hash, lane);
    return hash;
}

void Stripe(uint64_t (&lanes)[4], const uint8_t* p) {
    for (int i = 0; i < 4; ++i) lanes[i] = Round(lanes[i], Read64(p + 8 * i));
}

// The bytes after the last stripe (fewer than 32), then the final mix.
uint64_t Finish(uint64_t hash, const uint8_t* p, const uint8_t* end) {
    for (; end - p >= 8; p += 8) hash = std::rotl(hash ^ Round(0, Read64(p)), 27) * Prime1 + Prime4;
    if (end - p >= 4) {
        hash = std::rotl(hash ^ (Read32(p) * Prime1), 23) * Prime2 + Prime3;
        p += 4;
    }
    for (; p < end; ++p) hash = std::rotl(hash ^ (*p * Prime5), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    hash ^= hash >> 32;
    return hash;
}

}  // namespace

uint64_t Hash64(const void* data, size_t size, uint64_t seed) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    const uint8_t* const end = p + size;
    uint64_t hash;
    if (size >= 32) {
        uint64_t lanes[4] = {seed + Prime1 + Prime2, seed + Prime2, seed, seed - Prime1};
        for (const uint8_t* limit = end - 32; p <= limit; p += 32) Stripe(lanes, p);
        hash = Converge(lanes);
    } else {
        hash = seed + Prime5;
    }
    return Finish(hash + size, p, end);
}

Hash64Stream::Hash64Stream(uint64_t seed)
    : lanes_{seed + Prime1 + Prime2, seed + Prime2, seed, seed - Prime1}, seed_(seed) {}

void Hash64Stream::Add(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    const uint8_t* const end = p + size;
    total_ += size;
    if (buffered_ > 0) {
        const size_t taken = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, p, taken);
        buffered_ += taken;
        p += taken;
        if (buffered_ < sizeof buffer_) return;
        Stripe(lanes_, buffer_);
        buffered_ = 0;
    }
    for (; end - p >= 32; p += 32) Stripe(lanes_, p);
    std::memcpy(buffer_, p, static_cast<size_t>(end - p));
    buffered_ = static_cast<size_t>(end - p);
}

uint64_t Hash64Stream::Value() const {
    const uint64_t hash = total_ >= 32 ? Converge(lanes_) : seed_ + Prime5;
    return Finish(hash + total_, buffer_, buffer_ + buffered_);
}

std::string ToHex64(uint64_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = digits[value & 15];
    return text;
}

bool FromHex64(std::string_view text, uint64_t& value) {
    if (text.size() != 16) return false;
    uint64_t result = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return false;
        result = result << 4 | static_cast<uint64_t>(digit);
    }
    value = result;
    return true;
}

}  // namespace kelvane
