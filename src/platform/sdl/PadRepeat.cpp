#include "platform/sdl/PadRepeat.h"

namespace kelvane {

bool PadRepeat::Press(uint16_t key, uint64_t now) {
    Hold& hold = held_[key];
    if (++hold.Sources > 1) return false;
    hold.Next = now + DelayMs;
    return true;
}

void PadRepeat::Release(uint16_t key) {
    const auto found = held_.find(key);
    if (found != held_.end() && --found->second.Sources <= 0) held_.erase(found);
}

std::vector<uint16_t> PadRepeat::Due(uint64_t now) {
    std::vector<uint16_t> due;
    for (auto& [key, hold] : held_) {
        if (hold.Next > now) continue;
        due.push_back(key);
        while (hold.Next <= now) hold.Next += IntervalMs;
    }
    return due;
}

std::optional<uint64_t> PadRepeat::NextDue() const {
    std::optional<uint64_t> earliest;
    for (const auto& [key, hold] : held_) {
        if (!earliest || hold.Next < *earliest) earliest = hold.Next;
    }
    return earliest;
}

}  // namespace kelvane
