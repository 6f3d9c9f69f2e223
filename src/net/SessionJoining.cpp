// Joining a network game: the host checks the newcomer's version and game data, gives
// it a seat taken in the host's next frame and the addresses of those playing, and
// tells them to expect it; the newcomer greets each of them, and the host brings it up
// to date with every input of the game so far.

#include <random>

#include "net/NetSession.h"

namespace kelvane::net {
namespace {

uint64_t NewSecret() {
    std::random_device device;
    uint64_t secret = 0;
    while (secret == 0) secret = (static_cast<uint64_t>(device()) << 32) | device();
    return secret;
}

}  // namespace

std::string DataDifference(const std::vector<DataFile>& host, const std::vector<DataFile>& joiner) {
    size_t h = 0, j = 0;
    while (h < host.size() || j < joiner.size()) {
        if (j == joiner.size() || (h < host.size() && host[h].Name < joiner[j].Name))
            return host[h].Name + " is missing on the joining side";
        if (h == host.size() || joiner[j].Name < host[h].Name) return joiner[j].Name + " is not on the host's side";
        if (host[h].Hash != joiner[j].Hash) return host[h].Name + " differs";
        ++h;
        ++j;
    }
    return {};
}

Hello NetSession::MyHello(int seat, uint64_t secret) const {
    Hello hello;
    hello.Version = setup_.Version;
    hello.Name = setup_.Name;
    hello.Seat = static_cast<uint8_t>(seat);
    hello.Secret = secret;
    hello.Data = setup_.Data;
    return hello;
}

std::string NetSession::Mismatch(const Hello& hello) const {
    if (hello.Version != setup_.Version)
        return "another version of the game (the host's is " + setup_.Version + ", the joining one " + hello.Version + ")";
    const std::string difference = DataDifference(setup_.Data, hello.Data);
    if (!difference.empty()) return "other game data: " + difference;
    return {};
}

void NetSession::Bind(int seat, PeerId peer) {
    Remote& remote = remotes_[seat];
    remote.Peer = peer;
    remote.HeardMs = clock_();
    if (Lockstep) Lockstep->KeepInStep(peer);
}

void NetSession::OnConnected(PeerId peer) {
    if (peer == hostPeer_ && state_ == SessionState::Joining) Send(peer, MyHello(0, 0), true);
    else if (dialing_.count(peer) != 0) Send(peer, MyHello(seat_, secret_), true);
    // A connection that came in says who it is with its Hello.
}

void NetSession::OnHello(PeerId peer, const Hello& hello) {
    if (hello.Seat == 0) {
        if (host_ && state_ == SessionState::Playing) Admit(peer, hello);
        return;
    }
    const int seat = hello.Seat;
    if (seat == seat_ || state_ != SessionState::Playing) return;
    Remote& remote = remotes_[seat];
    const auto dialed = dialing_.find(peer);
    if (dialed != dialing_.end()) {
        // The answer of a machine this one called.
        if (dialed->second == seat && !remote.Peer && !remote.Lost) {
            dialing_.erase(dialed);
            Bind(seat, peer);
        }
        return;
    }
    // A newcomer the host announced, with the secret the host gave it. Its greeting may
    // come before the host's word: it waits for that (as many as there are seats).
    if (!remote.InGame && remote.Secret == 0) {
        if (unexpected_.size() < MaxSeats) unexpected_[peer] = hello;
        return;
    }
    if (!remote.InGame || remote.Peer || remote.Lost || remote.Secret == 0 || hello.Secret != remote.Secret) return;
    if (!Mismatch(hello).empty()) return;
    Bind(seat, peer);
    Send(peer, MyHello(seat_, 0), true);
}

void NetSession::RefuseJoin(PeerId peer, const std::string& reason) {
    Send(peer, Refuse{reason}, true);
    link_.Disconnect(peer);
}

void NetSession::Admit(PeerId peer, const Hello& hello) {
    const std::string name = CleanPlayerName(hello.Name);
    std::string reason = Mismatch(hello);
    if (reason.empty() && !game_) reason = "the host is not ready yet";
    if (reason.empty() && setup_.Players > 0 && (Seated() >= setup_.Players || game_->Frame() > 0))
        reason = "the game has all its " + std::to_string(setup_.Players) + " players";
    int seat = 0;
    for (int free = 2; free <= MaxSeats && seat == 0; ++free)
        if (!remotes_[free].InGame || remotes_[free].Gone) seat = free;
    if (reason.empty() && seat == 0) reason = "the game is full: " + std::to_string(MaxSeats) + " people play";
    if (!reason.empty()) {
        say_(name + " was refused: " + reason);
        RefuseJoin(peer, reason);
        return;
    }

    const uint64_t joinFrame = game_->Frame() + 1;
    Welcome welcome;
    welcome.Seed = setup_.Seed;
    welcome.PointerX = setup_.PointerX;
    welcome.PointerY = setup_.PointerY;
    welcome.Seat = static_cast<uint8_t>(seat);
    welcome.JoinFrame = joinFrame;
    welcome.Secret = NewSecret();
    welcome.Peers.push_back(PeerEntry{1, setup_.Name, ""});
    for (int other = 2; other <= MaxSeats; ++other) {
        const Remote& remote = remotes_[other];
        if (remote.Peer && !remote.Lost) welcome.Peers.push_back(PeerEntry{static_cast<uint8_t>(other), remote.Name, remote.Address});
    }
    const Expect expect{static_cast<uint8_t>(seat), welcome.Secret, name, joinFrame};
    SendToAll(expect);

    Remote& remote = remotes_[seat];
    remote = Remote{};
    remote.InGame = true;
    remote.Name = name;
    remote.Address = link_.AddressOf(peer);
    remote.Secret = welcome.Secret;
    remote.JoinFrame = joinFrame;
    remote.ExpectedMs = clock_();
    Send(peer, welcome, true);
    Bind(seat, peer);
    // The seat is taken in the host's next frame, on every machine alike.
    game_->AddLocal(JoinInput(seat, name));
    say_(name + " joins the game");
}

void NetSession::OnWelcome(PeerId peer, const Welcome& welcome) {
    seat_ = welcome.Seat;
    secret_ = welcome.Secret;
    joinFrame_ = welcome.JoinFrame;
    setup_.Seed = welcome.Seed;
    setup_.PointerX = welcome.PointerX;
    setup_.PointerY = welcome.PointerY;
    state_ = SessionState::Playing;
    Remote& me = remotes_[seat_];
    me.InGame = true;
    me.Name = setup_.Name;
    me.JoinFrame = joinFrame_;
    for (const PeerEntry& entry : welcome.Peers) {
        if (entry.Seat == seat_) continue;
        Remote& remote = remotes_[entry.Seat];
        remote = Remote{};
        remote.InGame = true;
        remote.Name = CleanPlayerName(entry.Name);
        remote.Address = entry.Address;
        remote.ExpectedMs = clock_();
        if (entry.Seat == 1) {
            Bind(1, peer);
        } else if (const PeerId dialed = link_.Connect(entry.Address)) {
            dialing_[dialed] = entry.Seat;
        }
    }
}

void NetSession::OnExpect(const Expect& expect) {
    if (expect.Seat == seat_) return;
    Remote& remote = remotes_[expect.Seat];
    if (remote.Peer && !remote.Lost) return;
    remote = Remote{};
    remote.InGame = true;
    remote.Name = CleanPlayerName(expect.Name);
    remote.Secret = expect.Secret;
    remote.JoinFrame = expect.JoinFrame;
    remote.ExpectedMs = clock_();
    for (auto waiting = unexpected_.begin(); waiting != unexpected_.end(); ++waiting) {
        if (waiting->second.Seat != expect.Seat) continue;
        const auto [peer, hello] = *waiting;
        unexpected_.erase(waiting);
        OnHello(peer, hello);
        break;
    }
}

// Once every input up to a newcomer's seating is known here, it gets them all: every
// seat's, frame by frame, in runs of known frames.
void NetSession::SendHistory() {
    if (!game_) return;
    const InputLog& log = game_->Log();
    for (int seat = 2; seat <= MaxSeats; ++seat) {
        Remote& remote = remotes_[seat];
        if (!remote.Peer || remote.Lost || remote.HistorySent >= remote.JoinFrame) continue;
        if (game_->Known() < remote.JoinFrame) continue;
        History history;
        const auto flush = [&] {
            if (history.Blocks.empty()) return;
            Send(remote.Peer, history, true);
            history.Blocks.clear();
        };
        for (int owner = 1; owner <= MaxSeats; ++owner) {
            InputBlock block;
            block.Seat = static_cast<uint8_t>(owner);
            const auto close = [&] {
                if (!block.Frames.empty()) history.Blocks.push_back(std::move(block));
                block = InputBlock{static_cast<uint8_t>(owner), 1, {}};
                if (history.Blocks.size() == MaxHistoryBlocks) flush();
            };
            for (uint64_t frame = 1; frame <= remote.JoinFrame; ++frame) {
                const FrameInputs* known = log.Known(owner, frame);
                if (!known || !log.Needed(owner, frame) || block.Frames.size() == MaxBlockFrames) close();
                if (!known || !log.Needed(owner, frame)) continue;
                if (block.Frames.empty()) block.First = frame;
                block.Frames.push_back(*known);
            }
            close();
        }
        flush();
        remote.HistorySent = remote.JoinFrame;
    }
}

}  // namespace kelvane::net
