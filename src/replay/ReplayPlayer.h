#pragma once
// Plays a recording through a form's own frame: before each tick, the inputs that
// arrived before it go to the form as they went then (KeyPressed, MouseClick, console
// lines, field writes); the tick itself is the caller's (the runner's virtual clock, the
// game's timer); after it, the world's checksum is compared with the recorded one.
//
//   Replay replay = LoadReplay(file);
//   ReplayPlayer player(replay);
//   TMainForm form(player.Services(platformServices));   // the player outlives the form
//   while (player.PlayFrame(form, tick)) { ... }
//   player.Finish(form);
//   player.Divergence();                                   // the first frame that differed

#include <cstdint>
#include <functional>
#include <optional>

#include "game/MainForm.h"
#include "media/Platform.h"
#include "replay/ReplayReader.h"

namespace kelvane {

// The platform's presenter, except that a tick recorded as standing still cannot draw.
class ReplayPresenter : public IPresenter {
public:
    bool CanDraw() override { return Recorded && (!Inner || Inner->CanDraw()); }
    void Present(const uint32_t* pixels, int width, int height) override {
        if (Inner) Inner->Present(pixels, width, height);
    }
    IPresenter* Inner = nullptr;
    bool Recorded = true;
};

// The pointer as it was when the recording's game loaded.
class ReplayPointer : public IPointer {
public:
    void HideCursor() override {
        if (Inner) Inner->HideCursor();
    }
    void GetCursorPos(int32_t& x, int32_t& y) override {
        x = X;
        y = Y;
    }
    IPointer* Inner = nullptr;
    int32_t X = 0;
    int32_t Y = 0;
};

class ReplayPlayer {
public:
    using Tick = std::function<void(TMainForm&)>;

    // The recording must outlive the player. Throws ReplayError when the recording cannot
    // be read again.
    explicit ReplayPlayer(const Replay& replay);

    // The form's services: the platform's, with the recorded seed and the player's
    // presenter and pointer around the platform's own.
    MainFormServices Services(const MainFormServices& platform);

    // Plays the next frame: its inputs, then `tick`, then the checksum comparison. False
    // (playing nothing) once every frame has been played.
    bool PlayFrame(TMainForm& form, const Tick& tick);
    // After the last frame: the inputs that came after it (a runner's step that closed the
    // game), and the end record's checksum.
    void Finish(TMainForm& form);

    // Whether inputs follow the last frame (Finish applies them).
    bool HasTrailingInputs() const { return replay_.TrailingInputs; }
    uint64_t Frames() const { return replay_.Frames; }
    uint64_t FramesPlayed() const { return framesPlayed_; }
    // Checksums compared so far, and the frame of the first one that differed.
    uint64_t ChecksCompared() const { return checksCompared_; }
    const std::optional<uint64_t>& Divergence() const { return divergence_; }

private:
    void ApplyInput(TMainForm& form, const ReplayRecord& record);
    // An input, a checksum or the end: everything but a run of ticks.
    void Step(TMainForm& form, const ReplayRecord& record);
    void Compare(const TMainForm& form, const ReplayRecord& record);

    // The next record of the stream: the one held back, else a new one. False at the end.
    bool NextRecord(ReplayRecord& record);

    const Replay& replay_;
    ReplayStream stream_;  // the recording read again, record by record, as it is played
    std::optional<ReplayRecord> held_;  // read ahead after a run (no checksum), not yet played
    ReplayPresenter presenter_;
    ReplayPointer pointer_;
    uint64_t runLeft_ = 0;  // ticks still to play of the run record last read
    bool runAdvances_ = true;
    uint64_t framesPlayed_ = 0;
    uint64_t checksCompared_ = 0;
    std::optional<uint64_t> divergence_;
};

}  // namespace kelvane
