// What a network game sends: four people on loopback over the real UDP link, each
// pressing keys all game long, 25 frames a second in real time for 10 seconds of play.
// Reported: the bytes each peer puts on the wire a second, ENet's headers included
// (goal: at most 4 KB/s a peer), and the datagrams a second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "NetScript.h"
#include "TempGameDir.h"
#include "app/Version.h"
#include "game/MainForm.h"
#include "net/EnetLink.h"
#include "net/NetSession.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"

namespace kelvane {
namespace {

constexpr int People = 4;
constexpr uint64_t Frames = 250;
constexpr auto GiveUpAfter = std::chrono::seconds(30);

uint64_t SteadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

struct Peer {
    explicit Peer(bool host) : Link(host ? "127.0.0.1" : "", 0) {}
    net::EnetLink Link;
    HeadlessMachine Machine{false};
    std::unique_ptr<net::NetSession> Session;
    std::unique_ptr<TMainForm> Form;
};

class LoopbackGame {
public:
    explicit LoopbackGame(const testing::TempGameDir& dir) : dir_(dir) {
        net::NetSetup setup;
        setup.Version = KelvaneVersion;
        setup.Data = FingerprintGameData(dir.Path());
        setup.Players = People;
        setup.Seed = 7;
        for (int person = 1; person <= People; ++person) {
            peers_.push_back(std::make_unique<Peer>(person == 1));
            Peer& peer = *peers_.back();
            setup.Name = bench::PersonName(person);
            const auto say = [](const std::string&) {};
            peer.Session = person == 1 ? net::NetSession::Host(peer.Link, setup, SteadyMs, say)
                                       : net::NetSession::Join(peer.Link, setup, peers_[0]->Link.LocalAddress(),
                                                               SteadyMs, say);
        }
    }

    // Everyone let in, then frames in real time until all have confirmed the last.
    bool Play() {
        const auto until = std::chrono::steady_clock::now() + GiveUpAfter;
        while (!AllSeated()) {
            if (std::chrono::steady_clock::now() > until) return false;
            for (auto& peer : peers_) {
                peer->Session->Pump(1);
                Begin(*peer);
            }
        }
        auto next = std::chrono::steady_clock::now();
        while (!AllDone()) {
            if (std::chrono::steady_clock::now() > until) return false;
            for (auto& peer : peers_) {
                peer->Session->Pump(0);
                peer->Machine.Clock.Advance(TFrameTimer::Interval);
                peer->Form->MainTimer.CountTick();
                peer->Session->Tick(false, Frames);
            }
            next += std::chrono::milliseconds(TFrameTimer::Interval);
            std::this_thread::sleep_until(next);
        }
        return true;
    }

    uint64_t BytesSent() const {
        uint64_t bytes = 0;
        for (const auto& peer : peers_) bytes += peer->Link.BytesSent();
        return bytes;
    }
    uint64_t DatagramsSent() const {
        uint64_t datagrams = 0;
        for (const auto& peer : peers_) datagrams += peer->Session->Counts().DatagramsSent;
        return datagrams;
    }

private:
    void Begin(Peer& peer) {
        if (peer.Form || !peer.Session->Welcomed() || peer.Session->State() != net::SessionState::Playing) return;
        peer.Machine.Pointer.X = peer.Session->PointerX();
        peer.Machine.Pointer.Y = peer.Session->PointerY();
        peer.Form = std::make_unique<TMainForm>(peer.Machine.Services(dir_.Path(), peer.Session->Seed()));
        peer.Form->DrawsPictures = false;
        peer.Session->Attach(*peer.Form, nullptr);
        net::NetSession& session = *peer.Session;
        session.BeforeFrame = [&session](uint64_t frame) {
            for (net::PlayerInput& input : bench::NetScript(session.Seat(), frame)) session.AddLocal(std::move(input));
        };
    }
    bool AllSeated() const {
        for (const auto& peer : peers_)
            if (!peer->Form) return false;
        return peers_[0]->Session->Seated() >= People;
    }
    bool AllDone() const {
        for (const auto& peer : peers_)
            if (!peer->Session->AllDone(Frames)) return false;
        return true;
    }

    const testing::TempGameDir& dir_;
    std::vector<std::unique_ptr<Peer>> peers_;
};

void BM_NetBandwidthFourPeople(benchmark::State& state) {
    testing::TempGameDir dir;
    double perPeer = 0, datagrams = 0;
    for (auto _ : state) {
        LoopbackGame game(dir);
        if (!game.Play()) {
            state.SkipWithError("the game did not reach its last frame in 30 seconds");
            return;
        }
        const double seconds = static_cast<double>(Frames) / 25.0;
        perPeer = static_cast<double>(game.BytesSent()) / People / seconds;
        datagrams = static_cast<double>(game.DatagramsSent()) / People / seconds;
    }
    state.counters["bytes_per_s_per_peer"] = perPeer;
    state.counters["datagrams_per_s_per_peer"] = datagrams;
}
BENCHMARK(BM_NetBandwidthFourPeople)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kelvane
