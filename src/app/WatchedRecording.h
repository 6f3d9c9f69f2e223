#pragma once
// A recording watched in the window (kelvane --replay FILE): the form is fed from it
// frame by frame at the game's own pace, nothing is recorded, and when it ends the last
// picture stays with a line saying so.

#include <cstdint>
#include <string>

#include "app/RecordedGame.h"
#include "game/GameSession.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"

namespace kelvane {

class WatchedRecording : public GameSession {
public:
    // The recording must outlive the session, and the session the form.
    WatchedRecording(const Replay& replay, SayLine say);

    MainFormServices Services(const MainFormServices& platform) override;
    void Begin(TMainForm& form) override;
    bool Tick(TMainForm& form) override;
    bool Watching() const override { return true; }
    std::string EndText() const override;
    std::string EndDetail() const override;

    uint64_t FramesPlayed() const { return player_.FramesPlayed(); }

private:
    const Replay& replay_;
    SayLine say_;
    ReplayPlayer player_;
    IPresenter* window_ = nullptr;  // the platform's presenter: whether the window can show a picture
    bool divergenceTold_ = false;
};

// The watcher's view of a game in which no ship is the player's (a tournament's duel):
// the game's own view would stay in the field's corner, where the player's ship of such
// a game sits, so the picture follows the middle of the ships in play instead. Any other
// game is left to its own view.
void FollowShipsInPlay(World& world);

}  // namespace kelvane
