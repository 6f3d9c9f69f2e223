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
// own (with the tick it went on the wire in) or as a "tick ended" note; both sides of a
// game must use this link. What arrives is handed on only from the tick after the one it
// was put on the wire in, so it is read in the same tick however fast it came. Each
// "tick ended" note is also handed on at once as an empty datagram: the peer is there.

#include <cstdint>
#include <deque>
#include <map>
#include <set>
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

    PeerId Connect(const std::string& address) override;
    void Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) override;
    void Disconnect(PeerId peer) override;
    bool Poll(LinkEvent& event, uint32_t waitMs) override;
    void Flush() override { inner_.Flush(); }
    std::string AddressOf(PeerId peer) const override { return inner_.AddressOf(peer); }
    std::string LocalAddress() const override { return inner_.LocalAddress(); }
    uint32_t RoundTripMs(PeerId peer) const override { return inner_.RoundTripMs(peer); }

    // Tick T begins: what is due by now goes on the wire.
    void BeginTick(uint64_t tick);
    // Tick T has ended: every peer connected hears it (a peer may wait for this one's
    // ticks before this one waits for it).
    void EndTick(uint64_t tick);
    // While this one waits for others: tells every peer again where its ticks are, which
    // also shows it is still there.
    void Remind();
    // The peer's ticks hold ours from now on (and it hears ours); LetGo ends that.
    void KeepInStep(PeerId peer);
    void LetGo(PeerId peer);
    // Whether every peer in step has ended the tick before this one.
    bool InStep(uint64_t tick) const;
    // The game is over here: everything held goes out now, and no peer waits for this
    // one's ticks any more.
    void Finish();
    uint64_t Dropped() const { return dropped_; }

private:
    struct Held {
        PeerId Peer = 0;
        std::vector<uint8_t> Data;  // tagged
    };
    uint64_t DelayTicks();
    // Puts a game datagram on the wire, marked with this tick.
    void Put(PeerId peer, const std::vector<uint8_t>& datagram);
    void Note(PeerId peer, uint64_t tick);

    ILink& inner_;
    LinkConditions conditions_;
    std::mt19937 random_;
    uint64_t tick_ = 0;
    bool started_ = false;  // game time has begun here (before: joining, in real time)
    std::multimap<uint64_t, Held> held_;  // by the tick that puts it on the wire
    struct Arrived {
        uint64_t Tick = 0;  // the tick it went on the wire in
        LinkEvent Event;
    };
    std::deque<Arrived> arrived_;         // read from the tick after its own
    std::map<PeerId, int64_t> ended_;     // peers in step: their last ended tick (-1: none yet)
    std::map<PeerId, int64_t> heard_;     // every peer's last ended tick heard
    std::set<PeerId> connected_;          // every peer that hears this one's ticks
    int64_t lastEnded_ = -1;
    uint64_t dropped_ = 0;
};

}  // namespace kelvane::net
