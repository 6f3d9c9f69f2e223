#include "app/WatchedRecording.h"

#include "game/Movement.h"
#include "game/PlayerActions.h"

namespace kelvane {

WatchedRecording::WatchedRecording(const Replay& replay, SayLine say)
    : replay_(replay), say_(std::move(say)), player_(replay) {}

MainFormServices WatchedRecording::Services(const MainFormServices& platform) {
    window_ = platform.Presenter;
    if (platform.Texts) texts_ = platform.Texts;
    return player_.Services(platform);
}

// The first hint tells how to start a battle with keys that do nothing here.
void WatchedRecording::Begin(TMainForm& form) {
    form.PictureView = WatchersView;
    form.ShowsFirstHint = false;
}

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
    if (paused_) return {std::string(texts_->Translate("Playback paused")), std::string(texts_->Translate("Esc goes on"))};
    return {};
}

std::string WatchedRecording::EndText() const {
    const std::string frames = std::to_string(player_.FramesPlayed());
    switch (replay_.Ending) {
        case ReplayEnding::Complete: return texts_->Format("End of the recording (%s frames)", {frames});
        case ReplayEnding::Truncated: return texts_->Format("The recording breaks off after frame %s", {frames});
        case ReplayEnding::Damaged: return texts_->Format("The recording is damaged after frame %s", {frames});
    }
    return {};
}

std::string WatchedRecording::EndDetail() const {
    const std::string_view leave = texts_->Translate("Close the window to leave.");
    if (!player_.Divergence()) return std::string(leave);
    return texts_->Format("It went its own way from frame %1$s on (other data or another build). %2$s",
                          {std::to_string(*player_.Divergence()), leave});
}

}  // namespace kelvane
