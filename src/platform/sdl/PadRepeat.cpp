#include "platform/sdl/PadRepeat.h"

namespace kelvane {

bool PadRepeat::Press(uint16_t key, uint64_t now) {
    Hold& hold = held_[key];
    if (++hold.sources > 1) return false;
    hold.next = now + DelayMs;
    return true;
}

void PadRepeat::Release(uint16_t key) {
    const auto found = held_.find(key);
    if (found != held_.end() && --found->second.sources <= 0) held_.erase(found);
}

std::vector<uint16_t> PadRepeat::Due(uint64_t now) {
    std::vector<uint16_t> due;
    for (auto& [key, hold] : held_) {
        if (hold.next > now) continue;
        due.push_back(key);
        while (hold.next <= now) hold.next += IntervalMs;
    }
    return due;
}

std::optional<uint64_t> PadRepeat::NextDue() const {
    std::optional<uint64_t> earliest;
    for (const auto& [key, hold] : held_) {
        if (!earliest || hold.next < *earliest) earliest = hold.next;
    }
    return earliest;
}

}  // namespace kelvane
