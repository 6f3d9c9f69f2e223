#pragma once
// Several headless machines at one table, their inputs carried by an in-memory wire that
// delivers each frame's inputs some ticks late: the rollback tests' game.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "net/Rollback.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/WorldChecksum.h"

namespace kelvane::testing {

// "P1", "P2", ...: the names the table's people sit down with.
inline std::string SeatName(int seat) {
    std::string name = "P";
    name += std::to_string(seat);
    return name;
}

// What seat `seat` does before frame `frame` (empty: nothing).
using Script = std::function<net::FrameInputs(int seat, uint64_t frame)>;

struct TablePeer {
    explicit TablePeer(const TempGameDir& dir, int seat, uint32_t seed) : Machine(false) {
        Form = std::make_unique<TMainForm>(Machine.Services(dir.Path(), seed));
        Game = std::make_unique<net::Rollback>(*Form, seat);
    }
    HeadlessMachine Machine;
    std::unique_ptr<TMainForm> Form;
    std::unique_ptr<net::Rollback> Game;
    uint64_t Sent = 0;  // own frames put on the wire
};

struct Delivery {
    int To = 0;
    int Seat = 0;
    uint64_t Frame = 0;
    net::FrameInputs Inputs;
};

// Every peer ticks once a round: takes what the wire brings, corrects, and runs a frame
// when the window lets it. The host (seat 1) seats everyone in frame 1.
class NetTable {
public:
    NetTable(const TempGameDir& dir, int seats, Script script, uint32_t seed = 7) : script_(std::move(script)) {
        for (int seat = 1; seat <= seats; ++seat) {
            peers_.push_back(std::make_unique<TablePeer>(dir, seat, seed));
            peers_.back()->Game->Log().Open(1, 1);
        }
    }

    // Inputs reach the others `delay` rounds late, plus 0..jitter more (seeded).
    void Run(uint64_t frames, int delay, int jitter, uint32_t wireSeed = 3) {
        std::mt19937 wire(wireSeed);
        for (uint64_t round = 0; round < frames * 4 + 200 && !Done(frames); ++round) {
            for (size_t p = 0; p < peers_.size(); ++p) {
                TablePeer& peer = *peers_[p];
                const int seat = static_cast<int>(p) + 1;
                Deliver(round, seat, peer);
                net::Rollback& game = *peer.Game;
                game.Correct();
                if (game.Frame() < frames && game.CanAdvance()) {
                    const uint64_t next = game.Frame() + 1;
                    if (seat == 1 && next == 1) {
                        for (size_t s = 1; s <= peers_.size(); ++s)
                            game.AddLocal(net::JoinInput(static_cast<int>(s), SeatName(static_cast<int>(s))));
                    }
                    for (net::PlayerInput& input : script_(seat, next)) game.AddLocal(std::move(input));
                    peer.Machine.Clock.Advance(TFrameTimer::Interval);
                    peer.Form->MainTimer.CountTick();
                    game.Advance(false);
                } else {
                    ++Waits;
                }
                // Own inputs now known go out to every other peer.
                while (peer.Sent < game.Log().KnownUpTo(seat)) {
                    ++peer.Sent;
                    const net::FrameInputs* inputs = game.Log().Known(seat, peer.Sent);
                    if (!inputs) continue;
                    for (size_t to = 1; to <= peers_.size(); ++to) {
                        if (static_cast<int>(to) == seat) continue;
                        const uint64_t due = round + static_cast<uint64_t>(delay) +
                                             (jitter > 0 ? wire() % static_cast<uint32_t>(jitter + 1) : 0);
                        wire_.emplace(due, Delivery{static_cast<int>(to), seat, peer.Sent, *inputs});
                    }
                }
            }
        }
    }

    bool Done(uint64_t frames) const {
        for (const auto& peer : peers_)
            if (peer->Game->Confirmed() < frames) return false;
        return true;
    }

    TablePeer& Peer(int seat) { return *peers_.at(static_cast<size_t>(seat - 1)); }
    size_t Size() const { return peers_.size(); }
    uint64_t Waits = 0;

private:
    void Deliver(uint64_t round, int seat, TablePeer& peer) {
        for (auto due = wire_.begin(); due != wire_.end() && due->first <= round;) {
            if (due->second.To == seat) {
                peer.Game->Receive(due->second.Seat, due->second.Frame, due->second.Inputs);
                due = wire_.erase(due);
            } else {
                ++due;
            }
        }
    }

    Script script_;
    std::vector<std::unique_ptr<TablePeer>> peers_;
    std::multimap<uint64_t, Delivery> wire_;
};

}  // namespace kelvane::testing
