#pragma once
// Keys held on a game pad repeat as a held keyboard key does: a key-down when pressed,
// then, after a delay, one at a steady rate until let go. Pure bookkeeping in
// milliseconds; the event loop asks what is due. A key held by two sources at once (the
// stick and the d-pad, two pads) is one held key.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kelvane {

class PadRepeat {
public:
    // The usual keyboard repeat on a desktop: half a second, then 30 a second.
    static constexpr uint64_t DelayMs = 500;
    static constexpr uint64_t IntervalMs = 33;

    // True when the key was not held before: send its key-down now.
    bool Press(uint16_t key, uint64_t now);
    void Release(uint16_t key);
    bool Held(uint16_t key) const { return held_.count(key) != 0; }

    // The keys whose next repeat has come by `now`, in key order, each once however
    // many repeats were missed (a frame takes one key-down of a key anyway).
    std::vector<uint16_t> Due(uint64_t now);
    // When the earliest repeat comes; nothing while no key is held.
    std::optional<uint64_t> NextDue() const;

private:
    struct Hold {
        int Sources = 0;
        uint64_t Next = 0;
    };
    std::map<uint16_t, Hold> held_;
};

}  // namespace kelvane
