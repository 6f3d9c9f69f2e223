#include "net/ConditionedLink.h"

#include <algorithm>
#include <cmath>

#include "base/ByteReader.h"

namespace kelvane::net {
namespace {

constexpr uint8_t GameTag = 0;
constexpr uint8_t TickTag = 1;

}  // namespace

ConditionedLink::ConditionedLink(ILink& inner, LinkConditions conditions)
    : inner_(inner), conditions_(conditions), random_(conditions.Seed) {}

uint64_t ConditionedLink::DelayTicks() {
    double ms = conditions_.DelayMs;
    if (conditions_.JitterMs > 0) {
        std::uniform_int_distribution<int64_t> jitter(-int64_t{conditions_.JitterMs}, conditions_.JitterMs);
        ms += static_cast<double>(jitter(random_));
    }
    const auto ticks = static_cast<int64_t>(std::nearbyint(std::max(0.0, ms) / TickMs));
    return static_cast<uint64_t>(std::max<int64_t>(1, ticks));
}

void ConditionedLink::Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) {
    if (!reliable && conditions_.LossPercent > 0) {
        std::uniform_real_distribution<double> roll(0.0, 100.0);
        if (roll(random_) < conditions_.LossPercent) {
            ++dropped_;
            return;
        }
    }
    std::vector<uint8_t> tagged;
    tagged.reserve(datagram.size() + 1);
    tagged.push_back(GameTag);
    tagged.insert(tagged.end(), datagram.begin(), datagram.end());
    // Sent before the end of tick T + d - 1 is read by the other side in tick T + d.
    const uint64_t due = tick_ + DelayTicks() - 1;
    if (due <= tick_) Put(peer, tagged);
    else held_.emplace(due, Held{peer, std::move(tagged)});
}

void ConditionedLink::Disconnect(PeerId peer) {
    LetGo(peer);
    for (auto held = held_.begin(); held != held_.end();) {
        if (held->second.Peer == peer) held = held_.erase(held);
        else ++held;
    }
    inner_.Disconnect(peer);
}

void ConditionedLink::BeginTick(uint64_t tick) {
    tick_ = tick;
    for (auto held = held_.begin(); held != held_.end() && held->first <= tick; held = held_.erase(held))
        Put(held->second.Peer, held->second.Data);
}

void ConditionedLink::EndTick(uint64_t tick) {
    ByteWriter note;
    note.U8(TickTag);
    note.U64(tick);
    lastEnded_ = static_cast<int64_t>(tick);
    for (const auto& [peer, ended] : ended_) Put(peer, note.Bytes());
    inner_.Flush();
}

void ConditionedLink::KeepInStep(PeerId peer) {
    const auto heard = heard_.find(peer);
    ended_[peer] = heard == heard_.end() ? -1 : heard->second;
    if (lastEnded_ >= 0) {
        ByteWriter note;
        note.U8(TickTag);
        note.U64(static_cast<uint64_t>(lastEnded_));
        Put(peer, note.Bytes());
    }
}

void ConditionedLink::LetGo(PeerId peer) { ended_.erase(peer); }

bool ConditionedLink::InStep(uint64_t tick) const {
    return std::all_of(ended_.begin(), ended_.end(),
                       [tick](const auto& entry) { return entry.second + 1 >= static_cast<int64_t>(tick); });
}

bool ConditionedLink::Poll(LinkEvent& event, uint32_t waitMs) {
    while (inner_.Poll(event, waitMs)) {
        waitMs = 0;
        if (event.Kind == LinkEventKind::Disconnected) {
            LetGo(event.Peer);
            heard_.erase(event.Peer);
            return true;
        }
        if (event.Kind != LinkEventKind::Received) return true;
        if (event.Data.empty()) continue;
        if (event.Data.front() == GameTag) {
            event.Data.erase(event.Data.begin());
            return true;
        }
        if (event.Data.front() == TickTag && event.Data.size() == 9) {
            ByteReader note(event.Data.data() + 1, 8);
            const auto tick = static_cast<int64_t>(std::min<uint64_t>(note.U64(), uint64_t{1} << 62));
            int64_t& heard = heard_.try_emplace(event.Peer, -1).first->second;
            heard = std::max(heard, tick);
            const auto inStep = ended_.find(event.Peer);
            if (inStep != ended_.end()) inStep->second = std::max(inStep->second, tick);
        }
        // Anything else is no datagram of ours: dropped.
    }
    return false;
}

}  // namespace kelvane::net
