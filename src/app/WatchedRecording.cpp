#include "app/WatchedRecording.h"

#include "game/Movement.h"
#include "game/PlayerActions.h"
#include "replay/DataFingerprint.h"

namespace kelvane {

WatchedRecording::WatchedRecording(const Replay& replay, SayLine say)
    : replay_(replay), say_(std::move(say)), player_(replay) {}

MainFormServices WatchedRecording::Services(const MainFormServices& platform) {
    window_ = platform.Presenter;
    return player_.Services(platform);
}

void WatchedRecording::Begin(TMainForm& form) { form.PictureView = WatchersView; }

void WatchedRecording::Tick(TMainForm& form) {
    // A frame the window cannot show would not move the world on: it waits.
    if (ended_ || (window_ && !window_->CanDraw())) return;
    if (player_.PlayFrame(form, [](TMainForm& played) { played.TimerTick(); })) {
        if (player_.Divergence() && !divergenceTold_) {
            divergenceTold_ = true;
            say_("the replay diverges at frame " + std::to_string(*player_.Divergence()) +
                 ": from there on it does not show the game that was recorded");
        }
        if (player_.FramesPlayed() < player_.Frames()) return;
    }
    player_.Finish(form);
    ended_ = true;
}

void WatchedRecording::KeyPressed(uint16_t key, ShiftState) {
    if (key == KeyOf(PlayerAction::Pause)) paused_ = !paused_;
}

StandingLine WatchedRecording::Standing() const {
    if (ended_) return {EndText(), EndDetail()};
    if (paused_) return {"Playback paused", "Esc goes on"};
    return {};
}

std::string WatchedRecording::EndText() const {
    const std::string frames = std::to_string(player_.FramesPlayed());
    switch (replay_.Ending) {
        case ReplayEnding::Complete: return "End of the recording (" + frames + " frames)";
        case ReplayEnding::Truncated: return "The recording breaks off after frame " + frames;
        case ReplayEnding::Damaged: return "The recording is damaged after frame " + frames;
    }
    return {};
}

std::string WatchedRecording::EndDetail() const {
    std::string detail = "Close the window to leave.";
    if (player_.Divergence()) {
        detail = "It went its own way from frame " + std::to_string(*player_.Divergence()) +
                 " on (other data or another build). " + detail;
    }
    return detail;
}

std::optional<int> OpenRecordingToWatch(const std::string& file, bool force, const std::string& gameDir,
                                        const PlayerFolders& folders, Replay& replay, const SayLine& say) {
    try {
        replay = LoadReplay(file);
    } catch (const ReplayError& error) {
        say("cannot replay " + file + ": " + error.what());
        return 2;
    }
    const std::string difference = FirstDataDifference(replay.Header.Data, FingerprintGameData(gameDir, folders));
    if (!difference.empty()) {
        say(OtherDataLine(difference, force));
        if (!force) return 1;
    }
    if (replay.Ending != ReplayEnding::Complete) say(IncompleteRecordingLine(replay));
    return std::nullopt;
}

}  // namespace kelvane
