// Someone leaves, or falls silent for 5 seconds. Each machine that loses them stops
// taking their inputs and tells the seat that decides (the lowest seat still playing)
// how far it knows them, with the last of them; that seat asks everyone else to do the
// same, and once all have answered it names the last frame anyone knows and hands those
// inputs round. Everyone then runs the departed seat's known inputs up to that frame and
// its leave in the next, so every machine lets the ship go to the computer at the same
// frame, whoever heard what last.

#include "net/NetSession.h"

namespace kelvane::net {

bool NetSession::Present(int seat) const {
    if (seat == seat_) return true;
    const Remote& remote = remotes_[seat];
    return remote.InGame && !remote.Gone && !remote.Lost;
}

int NetSession::Authority() const {
    for (int seat = 1; seat <= MaxSeats; ++seat)
        if (Present(seat)) return seat;
    return seat_;
}

// The seat's inputs known in a row up to `upTo`, as many as a block holds.
InputBlock NetSession::LastInputs(int seat, uint64_t upTo) const {
    InputBlock block;
    block.Seat = static_cast<uint8_t>(seat);
    block.First = upTo + 1;
    const InputLog& log = game_->Log();
    while (block.First > 1 && upTo + 1 - block.First < MaxBlockFrames) {
        const uint64_t frame = block.First - 1;
        const FrameInputs* known = log.Known(seat, frame);
        if (!known && log.Needed(seat, frame)) break;
        --block.First;
    }
    for (uint64_t frame = block.First; frame <= upTo; ++frame) {
        const FrameInputs* known = log.Known(seat, frame);
        block.Frames.push_back(known ? *known : FrameInputs());
    }
    if (block.Frames.empty()) block.First = 1;
    return block;
}

void NetSession::TakeInputs(const InputBlock& block, uint64_t upTo) {
    for (size_t i = 0; i < block.Frames.size(); ++i) {
        const uint64_t frame = block.First + i;
        if (frame > upTo) break;
        game_->Receive(block.Seat, frame, block.Frames[i]);
    }
}

void NetSession::Drop(int seat) {
    Remote& remote = remotes_[seat];
    remote.Lost = true;
    if (remote.Peer) {
        if (Lockstep) Lockstep->LetGo(remote.Peer);
        link_.Disconnect(remote.Peer);
        remote.Peer = 0;
    }
    if (game_) game_->Freeze(seat);
}

void NetSession::Lose(int seat) {
    Remote& remote = remotes_[seat];
    if (seat == seat_ || !remote.InGame || remote.Lost || remote.Gone) return;
    Drop(seat);
    if (!game_) return;
    const uint64_t known = game_->Log().KnownUpTo(seat);
    reported_[seat] = known;
    const Lost report{static_cast<uint8_t>(seat), known, LastInputs(seat, known)};
    const int authority = Authority();
    if (authority == seat_) OnLost(seat_, report);
    else Send(remotes_[authority].Peer, report, true);
}

void NetSession::OnLost(int from, const Lost& lost) {
    const int seat = lost.Seat;
    if (seat == seat_ || remotes_[seat].Gone || !remotes_[seat].InGame) return;
    TakeInputs(lost.Block, lost.KnownUpTo);
    Lose(seat);  // whoever hears of it stops taking the seat's inputs and reports
    if (Authority() != seat_) return;
    LossVote& vote = votes_[seat];
    vote.Known[from] = lost.KnownUpTo;
    vote.Known[seat_] = game_->Log().KnownUpTo(seat);
    if (!vote.Asked) {
        vote.Asked = true;
        SendToAll(Lost{static_cast<uint8_t>(seat), vote.Known[seat_], LastInputs(seat, vote.Known[seat_])});
    }
    Decide();
}

// The deciding seat ends a leave once every seat still playing has said what it knows;
// the others send their reports again whenever the deciding seat changes.
void NetSession::Decide() {
    if (!game_) return;
    const int authority = Authority();
    if (authority != seat_) {
        if (authority != lastAuthority_) {
            for (const auto& [seat, known] : reported_)
                Send(remotes_[authority].Peer,
                     Lost{static_cast<uint8_t>(seat), known, LastInputs(seat, game_->Log().KnownUpTo(seat))}, true);
        }
        lastAuthority_ = authority;
        return;
    }
    lastAuthority_ = authority;
    for (auto vote = votes_.begin(); vote != votes_.end();) {
        const int seat = vote->first;
        bool everyone = true;
        for (int other = 1; other <= MaxSeats && everyone; ++other)
            if (other != seat && Present(other) && vote->second.Known.count(other) == 0) everyone = false;
        if (!everyone) {
            ++vote;
            continue;
        }
        const uint64_t last = game_->Log().KnownUpTo(seat);
        const Left left{static_cast<uint8_t>(seat), last, LastInputs(seat, last)};
        vote = votes_.erase(vote);
        SendToAll(left);
        OnLeft(left);
    }
}

void NetSession::OnLeft(const Left& left) {
    const int seat = left.Seat;
    if (seat == seat_) {
        // The others have let this machine's seat go: there is no playing on with them.
        state_ = SessionState::Failed;
        problem_ = "the others lost touch with this game at frame " + std::to_string(left.Last);
        say_(problem_);
        return;
    }
    Remote& remote = remotes_[seat];
    if (remote.Gone || !remote.InGame || !game_) return;
    TakeInputs(left.Block, left.Last);
    Drop(seat);
    game_->Log().DropAfter(seat, left.Last);
    game_->Receive(seat, left.Last + 1, FrameInputs{LeaveInput()});
    remote.Gone = true;
    reported_.erase(seat);
    votes_.erase(seat);
    say_(remote.Name + " left the game at frame " + std::to_string(left.Last + 1));
}

void NetSession::CheckSilence() {
    const uint64_t now = clock_();
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        Remote& remote = remotes_[seat];
        if (seat == seat_ || !remote.InGame || remote.Lost || remote.Gone) continue;
        const uint64_t since = remote.Peer ? remote.HeardMs : remote.ExpectedMs;
        if (since == 0 || now < since + SilenceMs) continue;
        say_(remote.Name + (remote.Peer ? " has been silent for 5 seconds" : " could not be reached"));
        Lose(seat);
    }
}

}  // namespace kelvane::net
