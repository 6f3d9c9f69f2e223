#include "net/ConditionedLink.h"

#include <algorithm>
#include <cmath>

#include "base/ByteReader.h"

namespace kelvane::net {
namespace {

constexpr uint8_t GameTag = 0;
constexpr uint8_t TickTag = 1;
// Sent before the sender's game time began (joining): read at once.
constexpr uint8_t UntimedTag = 2;

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

void ConditionedLink::Put(PeerId peer, const std::vector<uint8_t>& datagram) {
    ByteWriter tagged;
    tagged.U8(started_ ? GameTag : UntimedTag);
    tagged.U64(tick_);
    tagged.Append(datagram);
    inner_.Send(peer, tagged.Bytes(), true);
}

void ConditionedLink::Note(PeerId peer, uint64_t tick) {
    ByteWriter note;
    note.U8(TickTag);
    note.U64(tick);
    inner_.Send(peer, note.Bytes(), true);
}

void ConditionedLink::Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) {
    if (!reliable && conditions_.LossPercent > 0) {
        std::uniform_real_distribution<double> roll(0.0, 100.0);
        if (roll(random_) < conditions_.LossPercent) {
            ++dropped_;
            return;
        }
    }
    std::vector<uint8_t> data(datagram.begin(), datagram.end());
    if (!started_) {
        Put(peer, data);
        return;
    }
    // Put on the wire in tick T + d - 1, it is read on the other side in tick T + d.
    const uint64_t due = tick_ + DelayTicks() - 1;
    if (due <= tick_) Put(peer, data);
    else held_.emplace(due, Held{peer, std::move(data)});
}

PeerId ConditionedLink::Connect(const std::string& address) {
    const PeerId peer = inner_.Connect(address);
    if (peer != 0) connected_.insert(peer);
    return peer;
}

void ConditionedLink::Disconnect(PeerId peer) {
    LetGo(peer);
    connected_.erase(peer);
    for (auto held = held_.begin(); held != held_.end();) {
        if (held->second.Peer == peer) held = held_.erase(held);
        else ++held;
    }
    inner_.Disconnect(peer);
}

void ConditionedLink::BeginTick(uint64_t tick) {
    started_ = true;
    tick_ = tick;
    for (auto held = held_.begin(); held != held_.end() && held->first <= tick; held = held_.erase(held))
        Put(held->second.Peer, held->second.Data);
}

void ConditionedLink::EndTick(uint64_t tick) {
    lastEnded_ = static_cast<int64_t>(tick);
    for (const PeerId peer : connected_) Note(peer, tick);
    inner_.Flush();
}

void ConditionedLink::Remind() {
    if (lastEnded_ < 0) return;
    for (const PeerId peer : connected_) Note(peer, static_cast<uint64_t>(lastEnded_));
    inner_.Flush();
}

void ConditionedLink::Finish() {
    for (auto& [due, held] : held_) Put(held.Peer, held.Data);
    held_.clear();
    // A tick no one will reach: nobody waits for this peer again.
    const uint64_t never = uint64_t{1} << 61;
    for (const PeerId peer : connected_) Note(peer, never);
    lastEnded_ = static_cast<int64_t>(never);
    inner_.Flush();
}

void ConditionedLink::KeepInStep(PeerId peer) {
    const auto heard = heard_.find(peer);
    ended_[peer] = heard == heard_.end() ? -1 : heard->second;
}

void ConditionedLink::LetGo(PeerId peer) { ended_.erase(peer); }

bool ConditionedLink::InStep(uint64_t tick) const {
    return std::all_of(ended_.begin(), ended_.end(),
                       [tick](const auto& entry) { return entry.second + 1 >= static_cast<int64_t>(tick); });
}

bool ConditionedLink::Poll(LinkEvent& event, uint32_t waitMs) {
    LinkEvent got;
    while (inner_.Poll(got, waitMs)) {
        waitMs = 0;
        if (got.Kind != LinkEventKind::Received) {
            if (got.Kind == LinkEventKind::Connected) {
                // It hears where this one's ticks are at once.
                connected_.insert(got.Peer);
                if (lastEnded_ >= 0) Note(got.Peer, static_cast<uint64_t>(lastEnded_));
            } else {
                LetGo(got.Peer);
                connected_.erase(got.Peer);
                heard_.erase(got.Peer);
            }
            arrived_.push_back(Arrived{0, std::move(got)});
            continue;
        }
        if (got.Data.size() < 9) continue;  // no datagram of ours: dropped
        ByteReader head(got.Data.data() + 1, 8);
        const uint64_t tick = std::min<uint64_t>(head.U64(), uint64_t{1} << 61);
        if (got.Data.front() == GameTag || got.Data.front() == UntimedTag) {
            const uint64_t readIn = got.Data.front() == GameTag ? tick + 1 : 0;
            got.Data.erase(got.Data.begin(), got.Data.begin() + 9);
            arrived_.push_back(Arrived{readIn, std::move(got)});
        } else if (got.Data.front() == TickTag && got.Data.size() == 9) {
            const auto ended = static_cast<int64_t>(tick);
            int64_t& heard = heard_.try_emplace(got.Peer, -1).first->second;
            heard = std::max(heard, ended);
            const auto inStep = ended_.find(got.Peer);
            if (inStep != ended_.end()) inStep->second = std::max(inStep->second, ended);
            // The peer is there, even while nothing of the game comes from it: an empty
            // datagram says so at once.
            arrived_.push_back(Arrived{0, LinkEvent{LinkEventKind::Received, got.Peer, {}}});
        }
    }
    // Handed on in the order they came, each once its tick has come; nothing of a peer
    // overtakes what came before it from that peer (its going away included).
    std::vector<PeerId> waiting;
    for (auto next = arrived_.begin(); next != arrived_.end(); ++next) {
        const PeerId peer = next->Event.Peer;
        const bool signOfLife = next->Event.Kind == LinkEventKind::Received && next->Event.Data.empty();
        if (!signOfLife && std::find(waiting.begin(), waiting.end(), peer) != waiting.end()) continue;
        // Before game time begins here (joining) everything is read at once.
        if (started_ && next->Tick > tick_) {
            waiting.push_back(peer);
            continue;
        }
        event = std::move(next->Event);
        arrived_.erase(next);
        return true;
    }
    return false;
}

}  // namespace kelvane::net
