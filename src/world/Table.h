#pragma once
// A fixed table indexed from 1, as the game's tables are. Slot 0 exists and stays
// zero so that an index of 0 (no ship yet, no target) reads harmlessly; any index
// outside 0..N throws, and the frame's error handling discards that frame.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kelvane {

class TableIndexError : public std::out_of_range {
public:
    TableIndexError(const char* table, long long index)
        : std::out_of_range(std::string(table) + " index out of bounds (" + std::to_string(index) + ")") {}
};

template <class T, int N>
class Table {
public:
    static constexpr int Count = N;

    Table() = default;
    // The name an index error gives ("Ships index out of bounds (65)").
    constexpr explicit Table(const char* name) : name_(name) {}

    T& operator[](long long index) { return slots_[checked(index)]; }
    const T& operator[](long long index) const { return slots_[checked(index)]; }

    // Iteration covers the real slots 1..N only.
    T* begin() { return slots_.data() + 1; }
    T* end() { return slots_.data() + N + 1; }
    const T* begin() const { return slots_.data() + 1; }
    const T* end() const { return slots_.data() + N + 1; }

    // Every slot, 0 included: what the world's description hands its visitors.
    std::array<T, N + 1>& Slots() { return slots_; }
    const std::array<T, N + 1>& Slots() const { return slots_; }

    // Slot by slot, 0 included; the name does not count.
    bool operator==(const Table& other) const { return slots_ == other.slots_; }

private:
    std::size_t checked(long long index) const {
        if (index < 0 || index > N) throw TableIndexError(name_, index);
        return static_cast<std::size_t>(index);
    }

    std::array<T, N + 1> slots_{};
    const char* name_ = "Table";
};

}  // namespace kelvane
