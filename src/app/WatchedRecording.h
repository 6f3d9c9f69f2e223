#pragma once
// A recording watched in the window (kelvane --replay FILE): the form is fed from it
// frame by frame at the game's own pace, nothing is recorded, and when it ends the last
// picture stays with a line saying so.

#include <cstdint>
#include <optional>
#include <string>

#include "app/RecordedGame.h"
#include "game/GameSession.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"

namespace kelvane {

class WatchedRecording : public GameSession, private GameInput {
public:
    // The recording must outlive the session, and the session the form.
    WatchedRecording(const Replay& replay, SayLine say);

    MainFormServices Services(const MainFormServices& platform) override;
    // The pictures follow a duel (WatchersView); the world's own view stays as it is.
    void Begin(TMainForm& form) override;
    GameInput& Input() override { return *this; }
    bool Ticking() const override { return !paused_ && !ended_; }
    void Tick(TMainForm& form) override;
    // A watched game's QUIT ends its recording, not the watching: the window stays open.
    bool Closes(const TMainForm&) const override { return false; }
    // "Playback paused" while paused; once the recording has ended, its end.
    StandingLine Standing() const override;

    bool Ended() const { return ended_; }
    uint64_t FramesPlayed() const { return player_.FramesPlayed(); }
    std::string EndText() const;
    std::string EndDetail() const;

private:
    // The player's keys do nothing to the watched game; the Pause key (which Esc is while
    // the console is closed, and a watched game's console is never the player's) pauses
    // and resumes the playback.
    void KeyPressed(uint16_t key, ShiftState shift) override;
    void MouseClick(int, ShiftState, int32_t, int32_t) override {}
    bool ConsoleOpen() const override { return false; }

    const Replay& replay_;
    SayLine say_;
    ReplayPlayer player_;
    IPresenter* window_ = nullptr;  // the platform's presenter: whether the window can show a picture
    bool divergenceTold_ = false;
    bool paused_ = false;
    bool ended_ = false;
};

// Opens a recording to watch on this data. Empty when it may be played (a line on the
// ending of a cut or damaged file said); otherwise the exit status, its reason said:
// 2 when the file is no recording, 1 when it was made with other data and not forced.
std::optional<int> OpenRecordingToWatch(const std::string& file, bool force, const std::string& gameDir,
                                        const PlayerFolders& folders, Replay& replay, const SayLine& say);

}  // namespace kelvane
