#pragma once
// Whole sessions on in-memory links: a host and the machines that join it, each with its
// own headless form, ticking round by round on one shared clock of 40 ms a round.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MemoryLink.h"
#include "TempGameDir.h"
#include "net/NetSession.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/WorldChecksum.h"

namespace kelvane::testing {

using SessionScript = std::function<net::FrameInputs(int seat, uint64_t frame)>;

struct SessionPeer {
    SessionPeer(MemoryHub& hub, const std::string& address) : Link(hub, address), Machine(false) {}
    MemoryLink Link;
    HeadlessMachine Machine;
    std::unique_ptr<net::NetSession> Session;
    std::unique_ptr<TMainForm> Form;
    std::vector<std::string> Said;
    bool Ticking = true;  // false: switched off
    std::string GameDir;  // where its form reads the game's data
};

class SessionTable {
public:
    explicit SessionTable(const TempGameDir& dir, SessionScript script = {})
        : dir_(dir), script_(std::move(script)), data_(FingerprintGameData(dir.Path())) {}

    net::NetSetup Setup(const std::string& name, int players = 0) const {
        net::NetSetup setup;
        setup.Version = "test";
        setup.Name = name;
        setup.Data = data_;
        setup.Players = players;
        setup.Seed = 11;
        setup.PointerX = 12;
        setup.PointerY = 34;
        return setup;
    }

    SessionPeer& Host(net::NetSetup setup) {
        SessionPeer& peer = Add("host", dir_);
        peer.Session = net::NetSession::Host(peer.Link, std::move(setup), Clock(), Say(peer));
        Begin(peer);
        return peer;
    }
    // ownData: the folder its form reads (by default the table's).
    SessionPeer& Join(net::NetSetup setup, const TempGameDir* ownData = nullptr) {
        SessionPeer& peer = Add("peer" + std::to_string(peers_.size()), ownData ? *ownData : dir_);
        peer.Session = net::NetSession::Join(peer.Link, std::move(setup), "host", Clock(), Say(peer));
        return peer;
    }

    // One round: every machine still on takes what came, makes its form once let in, and ticks.
    void Round(uint64_t lastFrame) {
        now_ += 40;
        for (auto& peer : peers_) {
            if (!peer->Ticking) continue;
            peer->Session->Pump(0);
            if (peer->Session->Welcomed() && !peer->Form && peer->Session->State() == net::SessionState::Playing)
                Begin(*peer);
            if (peer->Form) {
                peer->Machine.Clock.Advance(TFrameTimer::Interval);
                peer->Form->MainTimer.CountTick();
                peer->Session->Tick(false, lastFrame);
            }
        }
    }
    // Rounds until every machine still on is done with lastFrame, or the limit.
    bool RunTo(uint64_t lastFrame, int rounds) {
        for (int round = 0; round < rounds; ++round) {
            Round(lastFrame);
            bool done = true;
            for (auto& peer : peers_)
                if (peer->Ticking && (!peer->Form || !peer->Session->AllDone(lastFrame))) done = false;
            if (done) return true;
        }
        return false;
    }
    void Rounds(int rounds, uint64_t lastFrame = net::NoFrame) {
        for (int round = 0; round < rounds; ++round) Round(lastFrame);
    }

    SessionPeer& Peer(size_t index) { return *peers_.at(index); }
    MemoryHub& Hub() { return hub_; }
    uint64_t Now() const { return now_; }

private:
    SessionPeer& Add(const std::string& address, const TempGameDir& data) {
        peers_.push_back(std::make_unique<SessionPeer>(hub_, address));
        peers_.back()->GameDir = data.Path();
        return *peers_.back();
    }
    net::NetSession::Clock Clock() {
        return [this] { return now_; };
    }
    static net::NetSession::Say Say(SessionPeer& peer) {
        return [&peer](const std::string& line) { peer.Said.push_back(line); };
    }
    void Begin(SessionPeer& peer) {
        peer.Machine.Pointer.X = peer.Session->PointerX();
        peer.Machine.Pointer.Y = peer.Session->PointerY();
        peer.Form = std::make_unique<TMainForm>(peer.Machine.Services(peer.GameDir, peer.Session->Seed()));
        peer.Session->Attach(*peer.Form, nullptr);
        net::NetSession& session = *peer.Session;
        peer.Session->BeforeFrame = [this, &session](uint64_t frame) {
            if (!script_) return;
            for (net::PlayerInput& input : script_(session.Seat(), frame)) session.AddLocal(std::move(input));
        };
    }

    const TempGameDir& dir_;
    SessionScript script_;
    std::vector<DataFile> data_;
    MemoryHub hub_;
    std::vector<std::unique_ptr<SessionPeer>> peers_;
    uint64_t now_ = 1000;
};

}  // namespace kelvane::testing
