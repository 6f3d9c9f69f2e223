#include "platform/sdl/SdlGame.h"

#include <algorithm>
#include <memory>

#include "base/FailureReport.h"
#include "media/Mixer.h"
#include "platform/sdl/StartFailureBox.h"

namespace kelvane {
namespace {

uint32_t Until(uint64_t now, std::optional<uint64_t> when, uint32_t wait) {
    if (!when) return wait;
    return *when <= now ? 0 : static_cast<uint32_t>(std::min<uint64_t>(wait, *when - now));
}

}  // namespace

ExitStatus SdlDesktop::Run(GameSession& session) {
    auto form = std::make_unique<TMainForm>(session.Services(Services()));
    form->SoundDevice.GetMixer().SetVolume(settings_.Volume);
    session.Begin(*form);
    // The router is the session's: its keys go where the session says.
    EventRouter router(session.Input(), *this, bindings_);
    StandingLine shown;
    while (!quitAsked_) {
        uint64_t now = SDL_GetTicks64();
        const bool ticking = (active_ || session.TicksUnfocused()) && session.Ticking();
        uint32_t wait = ticking ? form->MainTimer.MillisecondsToNextTick() : 100;
        wait = Until(now, router.NextRepeat(), wait);
        wait = Until(now, NextResizeCheck(), wait);
        if (!presenter_->Notice().empty()) wait = Until(now, presenter_->NoticeUntil(), wait);
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(wait))) {
            router.Handle(event, SDL_GetTicks64());
            while (SDL_PollEvent(&event)) router.Handle(event, SDL_GetTicks64());
        }
        if (quitAsked_) break;
        now = SDL_GetTicks64();
        router.RepeatHeldKeys(now);
        presenter_->ExpireNotice(now);
        SaveResize(now, false);
        if (ticking && session.Ticking() && form->MainTimer.Due()) {
            session.Tick(*form);
            if (form->StartError()) {
                session.End(*form);
                const Failure failure = StartFailure(*form->StartError(), form->StartErrorContext().value_or(""));
                const ExitStatus status = ReportFailure("kelvane", failure);
                // The display is there: the player sees why in a box too.
                ShowStartFailureBox(window_->Window(), failure.Reason, failure.Context, Texts());
                return status;
            }
            if (session.Closes(*form)) quitAsked_ = true;
        }
        // A line over the picture: the playback paused by a key, or a recording ended by the tick.
        if (const StandingLine standing = session.Standing(); standing != shown) {
            shown = standing;
            presenter_->ShowStandingLine(shown.Text, shown.Detail);
        }
        const PlaybackPosition playback = session.Playback();
        presenter_->ShowReplayMark(playback.Frame, playback.Frames);
    }
    session.End(*form);
    SaveResize(SDL_GetTicks64(), true);
    return session.Outcome();
}

ExitStatus RunSdlGame(const SdlGameOptions& options, GameSession& session) {
    const Result<std::unique_ptr<SdlDesktop>> desktop = SdlDesktop::Open(options);
    return desktop ? (*desktop)->Run(session) : ReportFailure("kelvane", desktop.Error());
}

}  // namespace kelvane
