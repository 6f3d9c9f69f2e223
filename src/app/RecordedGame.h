#pragma once
// The player's game, recorded as it goes into the folder of recordings
// ($XDG_STATE_HOME/kelvane/replays/), so that any game can be watched again and any
// error it passed over can go with a bug report. Recording never stops the game: a
// folder or file that cannot be written gives one line and the game plays on unrecorded.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "game/GameSession.h"
#include "replay/PassedOverErrors.h"
#include "replay/ReplayWriter.h"

namespace kelvane {

// One line for the player (the program puts "kelvane: " before it, on standard error).
using SayLine = std::function<void(const std::string&)>;

class RecordedGame : public PlayedGame {
public:
    // folder: where recordings go, empty when there is no such place (no home); the
    // file is named by startTime (local time). seed: the game's seed, picked by the caller;
    // pilot: who flies the computer's ships.
    // recordingClock: the clock the recording is written out by (none: real time).
    RecordedGame(std::string folder, const std::tm& startTime, uint32_t seed, SayLine say,
                 Pilot pilot = Pilot::Classic, std::function<uint64_t()> recordingClock = {});
    ~RecordedGame() override;

    MainFormServices Services(const MainFormServices& platform) override;
    // Makes the file (a name no other game has, however many start at once), writes its
    // header (the data's fingerprint) and removes the oldest recordings beyond the newest
    // 20, this one counted.
    void Begin(TMainForm& form) override;
    void Tick(TMainForm& form) override;
    // The end record; a game that could not even start leaves no recording.
    void End(TMainForm& form) override;

    // The file of this game's recording; empty when the game is not recorded.
    const std::string& Path() const { return path_; }

protected:
    // What one tick of the frame timer runs: the form's own frame.
    virtual void RunTick(TMainForm& form) { form.TimerTick(); }

private:
    std::string folder_;
    std::tm startTime_;
    uint32_t seed_;
    SayLine say_;
    PilotSeats pilots_;
    std::function<uint64_t()> recordingClock_;
    std::unique_ptr<ReplayWriter> writer_;
    std::string path_;
    PassedOverErrors errors_;
    uint64_t ticks_ = 0;
    bool ended_ = false;
};

// Milliseconds of the steady clock, as the game's seed when none is given.
uint32_t ClockSeed();

}  // namespace kelvane
