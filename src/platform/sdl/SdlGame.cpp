#include "platform/sdl/SdlGame.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "media/Mixer.h"

namespace kelvane {
namespace {

uint32_t Until(uint64_t now, std::optional<uint64_t> when, uint32_t wait) {
    if (!when) return wait;
    return *when <= now ? 0 : static_cast<uint32_t>(std::min<uint64_t>(wait, *when - now));
}

}  // namespace

int SdlDesktop::Run(GameSession& session) {
    auto form = std::make_unique<TMainForm>(session.Services(Services()));
    form->SoundDevice.GetMixer().SetVolume(settings_.Volume);
    session.Begin(*form);
    // The router is the session's: its keys go where the session says.
    EventRouter router(session.Input(), *this, bindings_);
    StandingLine shown;
    while (!quitAsked_) {
        uint64_t now = SDL_GetTicks64();
        const bool ticking = active_ && session.Ticking();
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
        if (active_ && session.Ticking() && form->MainTimer.Due()) {
            session.Tick(*form);
            if (form->StartError()) {
                session.End(*form);
                std::fprintf(stderr, "kelvane: the game cannot start: %s\n", form->StartError()->c_str());
                if (form->StartErrorContext())
                    std::fprintf(stderr, "kelvane: %s\n", form->StartErrorContext()->c_str());
                return 1;
            }
            if (session.Closes(*form)) quitAsked_ = true;
        }
        // A line over the picture: the playback paused by a key, or a recording ended by the tick.
        if (const StandingLine standing = session.Standing(); standing != shown) {
            shown = standing;
            presenter_->ShowStandingLine(shown.Text, shown.Detail);
        }
    }
    session.End(*form);
    SaveResize(SDL_GetTicks64(), true);
    return 0;
}

int RunSdlGame(const SdlGameOptions& options, GameSession& session) {
    const std::unique_ptr<SdlDesktop> desktop = SdlDesktop::Open(options);
    return desktop ? desktop->Run(session) : 1;
}

}  // namespace kelvane
