#include "net/NetSession.h"

#include <algorithm>
#include <cmath>

namespace kelvane::net {
namespace {

// Frames of its own inputs one datagram carries at most; more go in the next.
constexpr uint64_t FramesPerDatagram = 128;
// A peer's frames this far ahead of ours are not taken yet (it sends them again).
constexpr uint64_t FramesTakenAhead = 1024;
// Frames a machine catching up runs in one tick at most.
constexpr int CatchUpFrames = 500;
// Checksums kept for comparing, in frames.
constexpr uint64_t SumsKept = 25 * 40;

// Messages that need the form: they wait until it is attached.
bool NeedsGame(const Message& message) {
    return std::holds_alternative<Inputs>(message) || std::holds_alternative<History>(message) ||
           std::holds_alternative<Left>(message) || std::holds_alternative<Lost>(message) ||
           std::holds_alternative<Check>(message);
}

}  // namespace

NetSession::NetSession(ILink& link, NetSetup setup, Clock clock, Say say, bool host)
    : link_(link),
      setup_(std::move(setup)),
      clock_(std::move(clock)),
      say_(std::move(say)),
      host_(host),
      state_(host ? SessionState::Playing : SessionState::Joining) {
    setup_.Name = CleanPlayerName(setup_.Name);
    if (host_) {
        seat_ = 1;
        remotes_[1].InGame = true;
        remotes_[1].Name = setup_.Name;
    }
}

NetSession::~NetSession() = default;

std::unique_ptr<NetSession> NetSession::Host(ILink& link, NetSetup setup, Clock clock, Say say) {
    return std::unique_ptr<NetSession>(new NetSession(link, std::move(setup), std::move(clock), std::move(say), true));
}

std::unique_ptr<NetSession> NetSession::Join(ILink& link, NetSetup setup, const std::string& address, Clock clock,
                                             Say say) {
    std::unique_ptr<NetSession> session(
        new NetSession(link, std::move(setup), std::move(clock), std::move(say), false));
    session->hostPeer_ = link.Connect(address);
    if (session->hostPeer_ == 0) {
        session->state_ = SessionState::Failed;
        session->problem_ = "cannot reach " + address + ": not an address";
    }
    return session;
}

int NetSession::Seated() const {
    int seated = 0;
    for (int seat = 1; seat <= MaxSeats; ++seat) seated += remotes_[seat].InGame && !remotes_[seat].Gone ? 1 : 0;
    return seated;
}

void NetSession::Attach(TMainForm& form, IFrameObserver* recorder) {
    game_ = std::make_unique<Rollback>(form, seat_);
    game_->Recorder = recorder;
    game_->ConfirmedChecksum = [this](uint64_t frame, uint64_t sum) {
        ownSums_[frame] = sum;
        for (int seat = 1; seat <= MaxSeats; ++seat)
            if (seat != seat_ && remotes_[seat].Peer && !remotes_[seat].Lost)
                Send(remotes_[seat].Peer, Check{frame, sum}, true);
        Compare(frame);
    };
    // The host's seat plays from the first frame; every other seat from the frame after
    // the host's input that seats it.
    game_->Log().Open(1, 1);
    if (host_) game_->AddLocal(JoinInput(1, setup_.Name));
    std::vector<std::pair<PeerId, Message>> early = std::move(early_);
    early_.clear();
    for (auto& [peer, message] : early) {
        const int seat = SeatOf(peer);
        if (seat != 0) OnMessage(seat, peer, std::move(message));
    }
}

void NetSession::AddLocal(PlayerInput input) {
    if (game_) game_->AddLocal(std::move(input));
}

int NetSession::SeatOf(PeerId peer) const {
    if (peer == 0) return 0;
    for (int seat = 1; seat <= MaxSeats; ++seat)
        if (remotes_[seat].Peer == peer) return seat;
    return 0;
}

void NetSession::Send(PeerId peer, const Message& message, bool reliable) {
    const std::vector<uint8_t> datagram = Encode(message);
    counts_.BytesSent += datagram.size();
    ++counts_.DatagramsSent;
    link_.Send(peer, datagram, reliable);
}

void NetSession::SendToAll(const Message& message) {
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        const Remote& remote = remotes_[seat];
        if (seat != seat_ && remote.Peer && !remote.Lost) Send(remote.Peer, message, true);
    }
}

void NetSession::Pump(uint32_t waitMs) {
    LinkEvent event;
    while (link_.Poll(event, waitMs)) {
        waitMs = 0;
        switch (event.Kind) {
            case LinkEventKind::Connected:
                OnConnected(event.Peer);
                break;
            case LinkEventKind::Received:
                OnDatagram(event.Peer, event.Data);
                break;
            case LinkEventKind::Disconnected:
                if (event.Peer == hostPeer_ && state_ == SessionState::Joining) {
                    state_ = SessionState::Failed;
                    problem_ = "the host did not let this game in (no answer, or the connection was closed)";
                }
                dialing_.erase(event.Peer);
                unexpected_.erase(event.Peer);
                if (const int seat = SeatOf(event.Peer)) {
                    remotes_[seat].Peer = 0;
                    say_(remotes_[seat].Name + "'s connection closed");
                    Lose(seat);
                }
                break;
        }
    }
}

void NetSession::OnDatagram(PeerId peer, const std::vector<uint8_t>& data) {
    const int seat = SeatOf(peer);
    // Anything at all from a peer playing shows it is there (the lockstep link's empty
    // datagrams say no more than that).
    if (seat != 0) remotes_[seat].HeardMs = clock_();
    std::optional<Message> message = Decode(data);
    if (!message) return;
    if (seat == 0) {
        // Only greetings come from machines not yet playing; anything else from them is dropped.
        if (const auto* hello = std::get_if<Hello>(&*message)) OnHello(peer, *hello);
        if (peer != hostPeer_ || state_ != SessionState::Joining) return;
        if (const auto* refuse = std::get_if<Refuse>(&*message)) {
            state_ = SessionState::Refused;
            problem_ = refuse->Reason;
        } else if (const auto* welcome = std::get_if<Welcome>(&*message)) {
            OnWelcome(peer, *welcome);
        }
        return;
    }
    if (!game_ && NeedsGame(*message)) {
        early_.emplace_back(peer, std::move(*message));
        return;
    }
    OnMessage(seat, peer, std::move(*message));
}

void NetSession::OnMessage(int seat, PeerId /*peer*/, Message message) {
    Remote& remote = remotes_[seat];
    if (auto* inputs = std::get_if<Inputs>(&message)) {
        OnInputs(seat, *inputs);
    } else if (const auto* check = std::get_if<Check>(&message)) {
        OnCheck(seat, *check);
    } else if (const auto* out = std::get_if<OutOfStep>(&message)) {
        GoOutOfStep(out->Frame);
    } else if (const auto* lost = std::get_if<Lost>(&message)) {
        OnLost(seat, *lost);
    } else if (const auto* left = std::get_if<Left>(&message)) {
        OnLeft(*left);
    } else if (const auto* history = std::get_if<History>(&message)) {
        if (seat != 1) return;  // only the host brings a joiner up to date
        for (const InputBlock& block : history->Blocks) TakeInputs(block, NoFrame);
    } else if (const auto* expect = std::get_if<Expect>(&message)) {
        if (seat == 1) OnExpect(*expect);
    } else if (std::holds_alternative<Bye>(message)) {
        say_(remote.Name + " left the game");
        Lose(seat);
    } else if (const auto* done = std::get_if<Done>(&message)) {
        remote.DoneFrame = std::max(remote.DoneFrame, done->Frame);
    }
}

void NetSession::OnInputs(int seat, const Inputs& inputs) {
    Remote& remote = remotes_[seat];
    if (inputs.Block.Seat != seat) return;  // each machine speaks for its own seat only
    remote.Frame = std::max(remote.Frame, inputs.Frame);
    remote.Ack = std::max(remote.Ack, inputs.Ack);
    remote.Advantage = inputs.Advantage;
    if (remote.Lost || state_ != SessionState::Playing) return;
    const uint64_t limit = std::max(game_->Frame(), game_->Known()) + FramesTakenAhead;
    for (size_t i = 0; i < inputs.Block.Frames.size(); ++i) {
        const uint64_t frame = inputs.Block.First + i;
        if (frame > limit) break;
        game_->Receive(seat, frame, inputs.Block.Frames[i]);
    }
}

void NetSession::OnCheck(int seat, const Check& check) {
    theirSums_[check.Frame][seat] = check.Sum;
    Compare(check.Frame);
}

void NetSession::Compare(uint64_t frame) {
    const auto own = ownSums_.find(frame);
    const auto theirs = theirSums_.find(frame);
    if (own == ownSums_.end() || theirs == theirSums_.end()) return;
    for (const auto& [seat, sum] : theirs->second)
        if (sum != own->second) GoOutOfStep(frame);
    // Old sums are of no more use.
    if (frame > SumsKept) {
        ownSums_.erase(ownSums_.begin(), ownSums_.lower_bound(frame - SumsKept));
        theirSums_.erase(theirSums_.begin(), theirSums_.lower_bound(frame - SumsKept));
    }
}

void NetSession::GoOutOfStep(uint64_t frame) {
    if (state_ == SessionState::OutOfStep) return;
    state_ = SessionState::OutOfStep;
    problem_ = "the game went out of step at frame " + std::to_string(frame);
    SendToAll(OutOfStep{frame});
    link_.Flush();
    say_(problem_);
}

// One frame a tick, except: a machine catching up (a joiner replaying the game so far)
// runs many; one ahead of the others by two frames or more leaves a tick out, one behind
// by as much runs two.
int NetSession::FramesThisTick() {
    const uint64_t known = game_->Known();
    if (known > game_->Frame() + Rollback::Window)
        return static_cast<int>(std::min<uint64_t>(known - game_->Frame(), CatchUpFrames));
    double lead = 0;
    int peers = 0;
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        const Remote& remote = remotes_[seat];
        if (seat == seat_ || !remote.Peer || remote.Lost || remote.Frame == 0) continue;
        const double mine = static_cast<double>(game_->Frame()) - static_cast<double>(remote.Frame);
        lead += (mine - remote.Advantage) / 2;
        ++peers;
    }
    if (peers == 0 || game_->Frame() == 0) return 1;
    lead /= peers;
    if (lead >= 2) return 0;
    if (lead <= -2) return 2;
    return 1;
}

void NetSession::Watch() {
    if (state_ != SessionState::Playing || !game_) return;
    CheckSilence();
    Decide();
}

void NetSession::Tick(bool draw, uint64_t lastFrame) {
    if (state_ != SessionState::Playing || !game_) return;
    Watch();
    if (host_) SendHistory();
    game_->Correct();
    const uint64_t before = game_->Frame();
    const int frames = FramesThisTick();
    if (frames == 0) ++counts_.SyncPauses;
    bool waited = false;
    for (int i = 0; i < frames && game_->Frame() < lastFrame; ++i) {
        // The runner's host begins only once everyone it waits for has joined.
        if (host_ && setup_.Players > 0 && game_->Frame() == 0 && Seated() < setup_.Players) break;
        if (!game_->CanAdvance()) {
            waited = true;
            break;
        }
        if (BeforeFrame) BeforeFrame(game_->Frame() + 1);
        game_->Advance(draw && i == 0);
    }
    // Waiting for the first frame is waiting for the game to begin, not for a late player.
    if (waited && game_->Frame() >= 1) {
        ++counts_.Waits;
        counts_.LongestWait = std::max(counts_.LongestWait, ++waitRun_);
    } else {
        waitRun_ = 0;
    }
    waitedLastTick_ = waited;
    idleTicks_ = game_->Frame() == before ? idleTicks_ + 1 : 0;
    SendInputs();
    if (!doneSent_ && lastFrame != NoFrame && game_->Confirmed() >= lastFrame) {
        SendToAll(Done{lastFrame});
        doneSent_ = true;
    }
}

void NetSession::SendInputs() {
    const InputLog& log = game_->Log();
    const uint64_t own = log.KnownUpTo(seat_);
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        const Remote& remote = remotes_[seat];
        if (seat == seat_ || !remote.Peer || remote.Lost) continue;
        // Frames up to the later of the two joins came with the history.
        const uint64_t from = std::max({remote.Ack, remote.JoinFrame, joinFrame_}) + 1;
        Inputs inputs;
        inputs.Frame = game_->Frame();
        inputs.Advantage = static_cast<int32_t>(std::clamp<int64_t>(
            static_cast<int64_t>(game_->Frame()) - static_cast<int64_t>(remote.Frame), -100000, 100000));
        inputs.Ack = log.KnownUpTo(seat);
        inputs.Block.Seat = static_cast<uint8_t>(seat_);
        inputs.Block.First = from;
        for (uint64_t frame = from; frame <= own && frame < from + FramesPerDatagram; ++frame) {
            const FrameInputs* known = log.Known(seat_, frame);
            inputs.Block.Frames.push_back(known ? *known : FrameInputs());
        }
        Send(remote.Peer, inputs, false);
    }
    link_.Flush();
}

bool NetSession::AllDone(uint64_t lastFrame) const {
    if (!doneSent_ || !game_ || game_->Confirmed() < lastFrame) return false;
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        if (seat != seat_ && Present(seat) && remotes_[seat].DoneFrame < lastFrame) return false;
    }
    return true;
}

void NetSession::Leave() {
    SendToAll(Bye{});
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        Remote& remote = remotes_[seat];
        if (seat == seat_ || !remote.Peer) continue;
        link_.Disconnect(remote.Peer);
        remote.Peer = 0;
    }
    link_.Flush();
}

std::vector<std::string> NetSession::WaitingFor() const {
    std::vector<std::string> names;
    // A game that has not begun waits for nobody; a short stop is the clocks keeping step.
    if (!game_ || game_->Frame() == 0 || idleTicks_ <= Rollback::Window) return names;
    const InputLog& log = game_->Log();
    const uint64_t next = game_->Known() + 1;
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        if (seat != seat_ && log.Needed(seat, next) && !log.Known(seat, next)) names.push_back(remotes_[seat].Name);
    }
    return names;
}

}  // namespace kelvane::net
