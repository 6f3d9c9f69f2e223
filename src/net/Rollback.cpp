#include "net/Rollback.h"

#include <algorithm>

#include "replay/ReplayFormat.h"
#include "replay/WorldChecksum.h"

namespace kelvane::net {

Rollback::Rollback(TMainForm& form, int localSeat) : form_(form), localSeat_(localSeat), ledger_(&form.Waves) {
    form_.SetSoundSink(&ledger_);
    form_.ViewSeat = localSeat;
    SaveWorld(form_.World, snapshot_);
}

void Rollback::AddLocal(PlayerInput input) {
    if (log_.Needed(localSeat_, frame_ + 1)) pending_.push_back(std::move(input));
}

bool Rollback::Receive(int seat, uint64_t frame, FrameInputs inputs) {
    const FrameInputs copy = frame <= frame_ && frame > final_ ? inputs : FrameInputs();
    if (!log_.Put(seat, frame, std::move(inputs))) return false;
    if (frame > frame_ || frame <= final_) return true;
    // Run again when the frame ran on another guess (or on none: a seat just found needed).
    const auto ran = predicted_.find(frame);
    bool same = false;
    if (ran != predicted_.end()) {
        for (const auto& [guessedSeat, guess] : ran->second)
            if (guessedSeat == seat) same = guess == copy;
    }
    if (!same) dirty_ = true;
    return true;
}

void Rollback::Freeze(int seat) {
    log_.DropAfter(seat, log_.KnownUpTo(seat));
    if (frame_ > final_) dirty_ = true;
}

void Rollback::RestoreConfirmed() {
    RestoreWorld(form_.World, snapshot_);
    frame_ = final_;
    predicted_.clear();
    dirty_ = false;
}

void Rollback::Correct() {
    const uint64_t known = log_.ConfirmedUpTo();
    const bool newlyKnown = known > final_ && frame_ > final_;
    if (!(dirty_ || newlyKnown) || frame_ == final_) {
        dirty_ = false;
        return;
    }
    dirty_ = false;
    RestoreWorld(form_.World, snapshot_);
    ++counts_.Rollbacks;
    const uint64_t last = frame_;
    for (uint64_t frame = final_ + 1; frame <= last; ++frame) {
        RunFrame(frame, false);
        ++counts_.FramesRunAgain;
    }
}

bool Rollback::CanAdvance() {
    if (frame_ == 0) {
        // The loading frame: every input but this machine's own (which it adds now) known.
        for (int seat = 1; seat <= MaxSeats; ++seat)
            if (seat != localSeat_ && log_.Needed(seat, 1) && !log_.Known(seat, 1)) return false;
        return true;
    }
    return frame_ + 1 <= log_.ConfirmedUpTo() + Window;
}

void Rollback::Advance(bool draw) {
    Correct();
    const uint64_t next = frame_ + 1;
    if (log_.Needed(localSeat_, next)) Receive(localSeat_, next, std::move(pending_));
    pending_.clear();
    frame_ = next;
    RunFrame(next, draw);
    counts_.MostAhead = std::max(counts_.MostAhead, frame_ - final_);
}

void Rollback::Apply(int seat, const PlayerInput& input) {
    switch (input.Kind) {
        case InputKind::Key:
            form_.KeyPressed(input.Key, input.Shift);
            break;
        case InputKind::Mouse:
            form_.MouseClick(input.Button, 0, 0, 0);
            break;
        case InputKind::Command:
            form_.DoConsoleCommand(input.Text);
            break;
        case InputKind::Join:
            form_.TakeSeat(input.Seat, input.Text);
            break;
        case InputKind::Leave:
            form_.LeaveSeat(seat);
            break;
    }
}

void Rollback::RunFrame(uint64_t frame, bool draw) {
    const bool counts = frame == final_ + 1 && frame <= log_.ConfirmedUpTo();
    form_.KeepsErrors = counts;
    form_.Observer = counts ? Recorder : nullptr;
    ledger_.BeginFrame(frame);
    std::vector<std::pair<int, FrameInputs>> guesses;
    for (int seat = 1; seat <= MaxSeats; ++seat) {
        if (!log_.Needed(seat, frame)) continue;
        const FrameInputs* known = log_.Known(seat, frame);
        const FrameInputs inputs = known ? *known : log_.InputsFor(seat, frame);
        if (!known) guesses.emplace_back(seat, inputs);
        if (inputs.empty()) continue;
        form_.SetInputSeat(seat);
        for (const PlayerInput& input : inputs) Apply(seat, input);
    }
    form_.SetInputSeat(0);
    form_.DrawsPictures = draw;
    form_.Running();
    form_.Observer = nullptr;
    form_.KeepsErrors = true;
    if (!counts) {
        predicted_[frame] = std::move(guesses);
        return;
    }
    if (Recorder) Recorder->TickEnded(form_.World, true);
    ledger_.Confirm();
    final_ = frame;
    predicted_.erase(predicted_.begin(), predicted_.upper_bound(frame));
    ledger_.Forget(frame);
    if (frame % ChecksumInterval == 0 && ConfirmedChecksum) ConfirmedChecksum(frame, WorldChecksum(form_.World));
    if (FrameConfirmed) FrameConfirmed(frame);
    // The world is saved after the last frame known for all, where the next run starts.
    if (frame == frame_ || frame + 1 > log_.ConfirmedUpTo()) SaveWorld(form_.World, snapshot_);
}

}  // namespace kelvane::net
