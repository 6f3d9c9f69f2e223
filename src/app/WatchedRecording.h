#pragma once
// A recording watched in the window (kelvane --replay FILE): the form is fed from it
// frame by frame at the game's own pace, nothing is recorded, and when it ends the last
// picture stays with a line saying so.

#include <cstdint>
#include <optional>
#include <string>

#include "app/RecordedGame.h"
#include "platform/sdl/GameSession.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"

namespace kelvane {

class WatchedRecording : public GameSession {
public:
    // The recording must outlive the session, and the session the form.
    WatchedRecording(const Replay& replay, SayLine say);

    MainFormServices Services(const MainFormServices& platform) override;
    // The pictures follow a duel (WatchersView); the world's own view stays as it is.
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

// Opens a recording to watch on this data. Empty when it may be played (a line on the
// ending of a cut or damaged file said); otherwise the exit status, its reason said:
// 2 when the file is no recording, 1 when it was made with other data and not forced.
std::optional<int> OpenRecordingToWatch(const std::string& file, bool force, const std::string& gameDir,
                                        const PlayerFolders& folders, Replay& replay, const SayLine& say);

}  // namespace kelvane
