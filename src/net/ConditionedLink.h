#pragma once
// The runner's link: its own traffic delayed, jittered and lost as asked, and the game
// kept in game time. Headless peers run as fast as their machines allow, so the link
// counts in ticks of the 40 ms frame clock, not in milliseconds: a datagram sent in tick
// T arrives in tick T + max(1, (delay +- jitter) / 40), or never (loss, for datagrams
// sent unreliably); and a peer begins tick T only once every peer it plays with has ended
// tick T - 1. Each peer then sees exactly what it would see at 25 frames a second over
// such a line, however fast or slow the machines are, and a run is the same every time.
//
// Underneath, everything goes reliably and in order, each datagram tagged as the game's
// own or as a "tick ended" note; both sides of a game must use this link.

#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "net/Link.h"

namespace kelvane::net {

struct LinkConditions {
    uint32_t DelayMs = 0;
    uint32_t JitterMs = 0;    // each datagram's delay is DelayMs +- up to JitterMs
    double LossPercent = 0;   // of the datagrams sent unreliably
    uint32_t Seed = 1;        // of the jitter and the losses
};

class ConditionedLink final : public ILink {
public:
    static constexpr uint32_t TickMs = 40;

    ConditionedLink(ILink& inner, LinkConditions conditions);

    PeerId Connect(const std::string& address) override { return inner_.Connect(address); }
    void Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) override;
    void Disconnect(PeerId peer) override;
    bool Poll(LinkEvent& event, uint32_t waitMs) override;
    void Flush() override { inner_.Flush(); }
    std::string AddressOf(PeerId peer) const override { return inner_.AddressOf(peer); }
    std::string LocalAddress() const override { return inner_.LocalAddress(); }
    uint32_t RoundTripMs(PeerId peer) const override { return inner_.RoundTripMs(peer); }

    // Tick T begins: what is due by now goes on the wire.
    void BeginTick(uint64_t tick);
    // Tick T has ended: every peer in step hears it.
    void EndTick(uint64_t tick);
    // The peer's ticks hold ours from now on (and it hears ours); LetGo ends that.
    void KeepInStep(PeerId peer);
    void LetGo(PeerId peer);
    // Whether every peer in step has ended the tick before this one.
    bool InStep(uint64_t tick) const;
    uint64_t Dropped() const { return dropped_; }

private:
    struct Held {
        PeerId Peer = 0;
        std::vector<uint8_t> Data;  // tagged
    };
    uint64_t DelayTicks();
    void Put(PeerId peer, const std::vector<uint8_t>& tagged) { inner_.Send(peer, tagged, true); }

    ILink& inner_;
    LinkConditions conditions_;
    std::mt19937 random_;
    uint64_t tick_ = 0;
    std::multimap<uint64_t, Held> held_;  // by the tick that puts it on the wire
    std::map<PeerId, int64_t> ended_;     // peers in step: their last ended tick (-1: none yet)
    std::map<PeerId, int64_t> heard_;     // every peer's last ended tick heard
    int64_t lastEnded_ = -1;
    uint64_t dropped_ = 0;
};

}  // namespace kelvane::net
