#pragma once
// The frames of a network game on one machine. The next frame runs at once on what is
// known: the local person's inputs, and for the others their last known held keys
// (InputLog::InputsFor). When late inputs arrive, the world is put back to the last frame
// known for all and run forward again, without picture or sound (the sounds of a frame
// are heard once: SoundLedger). At most Window frames run ahead of what is known; beyond
// that the game waits. Each frame's last run, the one on known inputs, is the one that
// counts: it alone is recorded, keeps its errors and sums the world every 25 frames.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "game/MainForm.h"
#include "net/InputLog.h"
#include "net/SoundLedger.h"
#include "world/WorldSnapshot.h"

namespace kelvane::net {

struct RollbackCounts {
    uint64_t Rollbacks = 0;       // times the world was put back
    uint64_t FramesRunAgain = 0;  // frames run again after being put back
    uint64_t MostAhead = 0;       // the most frames ever run ahead of the confirmed one
};

class Rollback {
public:
    // 8 frames, 320 ms: how far the game may run on predictions.
    static constexpr uint64_t Window = 8;

    // The form must outlive this; it is driven from here from now on (its sounds go
    // through the ledger, its picture shows localSeat's view).
    Rollback(TMainForm& form, int localSeat);
    Rollback(const Rollback&) = delete;
    Rollback& operator=(const Rollback&) = delete;

    InputLog& Log() { return log_; }
    const InputLog& Log() const { return log_; }
    int LocalSeat() const { return localSeat_; }

    // An input of the local person, for the next frame. Dropped while the local seat
    // needs no inputs (before it is seated, after it has left).
    void AddLocal(PlayerInput input);
    // A seat's inputs for a frame, arrived from elsewhere. False when already known or
    // not needed. A frame already run on a prediction that differs is run again at the
    // next Correct.
    bool Receive(int seat, uint64_t frame, FrameInputs inputs);

    // Forgets the seat's inputs beyond those known in a row (it is being dropped); the
    // frames run on them run again.
    void Freeze(int seat);
    // Puts the world back to the last confirmed frame (the game ends there: its recording's
    // last frame).
    void RestoreConfirmed();

    // Brings the world to what is known now: puts it back to the last confirmed frame
    // and runs it forward again when inputs arrived for frames run on predictions.
    void Correct();
    // Whether the next frame may run: within the window, and the loading frame only on
    // known inputs (it is never run again).
    bool CanAdvance();
    // Runs the next frame with the local inputs gathered since the last; `draw`: with its
    // picture, as a live tick (catching up and the runner draw none).
    void Advance(bool draw);

    uint64_t Frame() const { return frame_; }
    // Frames run on known inputs, in order: the recorded ones.
    uint64_t Confirmed() const { return final_; }
    // Frames whose inputs are all known (some perhaps not yet run again).
    uint64_t Known() const { return log_.ConfirmedUpTo(); }
    const RollbackCounts& Counts() const { return counts_; }
    const SoundLedger& Sounds() const { return ledger_; }

    // Sees the confirmed frames as a form's observer sees a game: their inputs, and each
    // frame's end with the world after it (a recording).
    IFrameObserver* Recorder = nullptr;
    // Hears the world's checksum after every 25th confirmed frame.
    std::function<void(uint64_t frame, uint64_t checksum)> ConfirmedChecksum;
    // Hears of every confirmed frame, the form's world being the world after it.
    std::function<void(uint64_t frame)> FrameConfirmed;

private:
    void RunFrame(uint64_t frame, bool draw);
    void Apply(int seat, const PlayerInput& input);

    TMainForm& form_;
    int localSeat_;
    InputLog log_;
    SoundLedger ledger_;
    WorldSnapshot snapshot_;  // the world after frame final_
    FrameInputs pending_;
    uint64_t frame_ = 0;
    uint64_t final_ = 0;
    bool dirty_ = false;
    // The predictions frames after final_ ran on: frame -> (seat, inputs).
    std::map<uint64_t, std::vector<std::pair<int, FrameInputs>>> predicted_;
    RollbackCounts counts_;
};

}  // namespace kelvane::net
