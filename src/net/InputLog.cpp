#include "net/InputLog.h"

#include <algorithm>
#include <stdexcept>

namespace kelvane::net {
namespace {

// Keys that act for as long as they are held, whose key-downs a held key keeps sending.
constexpr uint16_t HeldKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE, VK_MENU, VK_CONTROL};

bool IsHeldKey(const PlayerInput& input) {
    return input.Kind == InputKind::Key && std::find(std::begin(HeldKeys), std::end(HeldKeys), input.Key) != std::end(HeldKeys);
}

// How far back a prediction looks for the seat's last known frame.
constexpr uint64_t PredictionLookBack = 64;

}  // namespace

InputLog::InputLog() : seats_(MaxSeats) {}

InputLog::SeatLog& InputLog::Seat(int seat) {
    if (seat < 1 || seat > MaxSeats) throw std::out_of_range("no seat " + std::to_string(seat));
    return seats_[static_cast<size_t>(seat - 1)];
}

const InputLog::SeatLog& InputLog::Seat(int seat) const {
    if (seat < 1 || seat > MaxSeats) throw std::out_of_range("no seat " + std::to_string(seat));
    return seats_[static_cast<size_t>(seat - 1)];
}

void InputLog::Open(int seat, uint64_t frame) {
    SeatLog& log = Seat(seat);
    if (!log.Terms.empty() && log.Terms.back().Last == NoFrame) return;  // already playing
    if (!log.Terms.empty() && frame <= log.Terms.back().Last) return;    // terms never overlap
    log.Terms.push_back(Term{frame, NoFrame});
    AdvanceKnown(seat);
}

void InputLog::Close(int seat, uint64_t frame) {
    SeatLog& log = Seat(seat);
    if (log.Terms.empty() || log.Terms.back().Last != NoFrame) return;
    log.Terms.back().Last = frame;
    AdvanceKnown(seat);
}

bool InputLog::Needed(int seat, uint64_t frame) const {
    for (const Term& term : Seat(seat).Terms)
        if (term.First <= frame && frame <= term.Last) return true;
    return false;
}

bool InputLog::Put(int seat, uint64_t frame, FrameInputs inputs) {
    SeatLog& log = Seat(seat);
    if (frame == 0 || !Needed(seat, frame)) return false;
    if (log.Frames.size() < frame) log.Frames.resize(frame);
    std::optional<FrameInputs>& slot = log.Frames[frame - 1];
    if (slot) return false;
    for (const PlayerInput& input : inputs) {
        if (input.Kind == InputKind::Join && input.Seat >= 1 && input.Seat <= MaxSeats) Open(input.Seat, frame + 1);
    }
    const bool leaves = std::any_of(inputs.begin(), inputs.end(),
                                    [](const PlayerInput& input) { return input.Kind == InputKind::Leave; });
    slot = std::move(inputs);
    if (leaves) Close(seat, frame);
    AdvanceKnown(seat);
    return true;
}

void InputLog::DropAfter(int seat, uint64_t frame) {
    SeatLog& log = Seat(seat);
    if (log.Frames.size() > frame) log.Frames.resize(frame);
}

void InputLog::AdvanceKnown(int seat) {
    SeatLog& log = Seat(seat);
    for (;;) {
        const uint64_t next = log.KnownUpTo + 1;
        if (Needed(seat, next)) {
            if (next > log.Frames.size() || !log.Frames[next - 1]) return;
        } else {
            // A frame outside the terms needs nothing; past the last term, nothing more is known.
            const bool later = std::any_of(log.Terms.begin(), log.Terms.end(),
                                           [next](const Term& term) { return term.First > next; });
            if (!later) return;
        }
        log.KnownUpTo = next;
    }
}

const FrameInputs* InputLog::Known(int seat, uint64_t frame) const {
    const SeatLog& log = Seat(seat);
    if (frame == 0 || frame > log.Frames.size() || !log.Frames[frame - 1]) return nullptr;
    return &*log.Frames[frame - 1];
}

uint64_t InputLog::KnownUpTo(int seat) const { return Seat(seat).KnownUpTo; }

FrameInputs InputLog::InputsFor(int seat, uint64_t frame) const {
    if (const FrameInputs* known = Known(seat, frame)) return *known;
    FrameInputs predicted;
    const SeatLog& log = Seat(seat);
    const uint64_t newest = std::min<uint64_t>(frame - 1, log.Frames.size());
    for (uint64_t back = newest; back >= 1 && back + PredictionLookBack > newest; --back) {
        const std::optional<FrameInputs>& slot = log.Frames[back - 1];
        if (!slot) continue;
        for (const PlayerInput& input : *slot)
            if (IsHeldKey(input)) predicted.push_back(input);
        break;
    }
    return predicted;
}

uint64_t InputLog::HighestStored() const {
    uint64_t highest = 0;
    for (const SeatLog& log : seats_) highest = std::max<uint64_t>(highest, log.Frames.size());
    return highest;
}

uint64_t InputLog::ConfirmedUpTo() const {
    const uint64_t highest = HighestStored();
    while (confirmed_ < highest) {
        const uint64_t next = confirmed_ + 1;
        bool known = true;
        for (int seat = 1; seat <= MaxSeats && known; ++seat) known = !Needed(seat, next) || Known(seat, next);
        if (!known) break;
        confirmed_ = next;
    }
    return confirmed_;
}

}  // namespace kelvane::net
