#include "platform/sdl/SdlGame.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "base/FailureReport.h"
#include "game/MainForm.h"
#include "media/Mixer.h"
#include "base/Windows1250.h"
#include "platform/font/FontRasteriser.h"
#include "platform/sdl/EventRouter.h"
#include "platform/sdl/GameWindow.h"
#include "platform/sdl/Screenshot.h"
#include "platform/sdl/SdlAudioOutput.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/sdl/VideoDriver.h"
#include "platform/sdl/WindowIcon.h"

namespace kelvane {
namespace {

constexpr uint64_t NoticeMs = 4000;
// A window being dragged larger sends many sizes; the last one is kept once it rests.
constexpr uint64_t SettleMs = 500;

// File names are UTF-8; the game's text drawing takes Windows-1250.
std::string ToGameText(const std::string& text) {
    return Utf8ToWindows1250(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

class SdlClock : public IClock {
public:
    uint64_t Milliseconds() override { return SDL_GetTicks64(); }
};

class SdlSleeper : public ISleeper {
public:
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

// The pointer in picture pixels, wherever the picture sits in the window.
class SdlPointer : public IPointer {
public:
    explicit SdlPointer(const GameWindow& window) : window_(window) {}
    void HideCursor() override { SDL_ShowCursor(SDL_DISABLE); }
    void GetCursorPos(int32_t& x, int32_t& y) override {
        int globalX = 0, globalY = 0, windowX = 0, windowY = 0;
        SDL_GetGlobalMouseState(&globalX, &globalY);
        SDL_GetWindowPosition(window_.Window(), &windowX, &windowY);
        window_.WindowToPicture(globalX - windowX, globalY - windowY, x, y);
    }

private:
    const GameWindow& window_;
};

// Without a sound card the game still starts and plays silently; a line on stderr says why.
class SoundOrSilence : public IAudioOutput {
public:
    AudioFormat Open(PullFunction pull) override {
        try {
            silent_ = false;
            return sound_.Open(std::move(pull));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kelvane: playing without sound: %s\n", error.what());
            silent_ = true;
            return AudioFormat{};
        }
    }
    void Close() override {
        if (!silent_) sound_.Close();
    }
    void Lock() override {
        if (!silent_) sound_.Lock();
    }
    void Unlock() override {
        if (!silent_) sound_.Unlock();
    }

private:
    SdlAudioOutput sound_;
    bool silent_ = false;
};

class FormInput : public GameInput {
public:
    explicit FormInput(TMainForm& form) : form_(form) {}
    void KeyPressed(uint16_t key, ShiftState shift) override { form_.KeyPressed(key, shift); }
    void MouseClick(int button, ShiftState shift, int32_t x, int32_t y) override {
        form_.MouseClick(button, shift, x, y);
    }
    bool ConsoleOpen() const override { return form_.World.ConsoleOpen; }

private:
    TMainForm& form_;
};

// While a recording is watched the player's keys do nothing to the game; Esc (which the
// router makes the Pause key, the console being closed) pauses and resumes the playback.
class WatchInput : public GameInput {
public:
    explicit WatchInput(bool& playbackPaused) : paused_(playbackPaused) {}
    void KeyPressed(uint16_t key, ShiftState) override {
        if (key == VK_PAUSE) paused_ = !paused_;
    }
    void MouseClick(int, ShiftState, int32_t, int32_t) override {}
    bool ConsoleOpen() const override { return false; }

private:
    bool& paused_;
};

// What the window and the desktop keys do, and the state of the loop they change.
class Desktop : public WindowActions {
public:
    Desktop(GameWindow& window, SdlPresenter& presenter, const SdlGameOptions& options)
        : window_(window),
          presenter_(presenter),
          options_(options),
          windowWidth_(options.WindowWidth),
          windowHeight_(options.WindowHeight) {}

    void ToggleFullscreen() override {
        window_.SetFullscreen(!window_.Fullscreen(), windowWidth_, windowHeight_);
        // Sizes reported while the window changes shape are not the player's choice.
        settleUntil_ = SDL_GetTicks64() + SettleMs;
        sizePending_ = false;
        Tell();
        presenter_.Show();
    }
    void SaveScreenshot() override {
        const Result<std::string> shot =
            kelvane::SaveScreenshot(options_.PicturesFolder, presenter_.Frame(), ScreenWidth, ScreenHeight,
                                    std::time(nullptr));
        std::string text, detail;
        if (shot) {
            const std::filesystem::path path(*shot);
            text = "Screenshot saved: " + path.filename().string();
            detail = "in " + path.parent_path().string();
        } else {
            text = "No screenshot: " + shot.Error().Reason;
            std::fprintf(stderr, "kelvane: no screenshot: %s\n", shot.Error().Reason.c_str());
        }
        presenter_.ShowNotice(ToGameText(text), ToGameText(detail), SDL_GetTicks64() + NoticeMs);
    }
    void ToggleHelp() override { presenter_.ToggleHelp(); }
    void Quit() override { QuitAsked = true; }
    void FocusChanged(bool isActive) override { Active = isActive; }
    void SizeChanged() override {
        presenter_.Show();
        if (window_.Fullscreen()) return;
        int width = 0, height = 0;
        window_.Size(width, height);
        if (width == windowWidth_ && height == windowHeight_) return;
        windowWidth_ = width;
        windowHeight_ = height;
        sizePending_ = true;
        sizeChangedAt_ = SDL_GetTicks64();
    }
    void Exposed() override { presenter_.Show(); }
    void WindowToPicture(int x, int y, int32_t& pictureX, int32_t& pictureY) const override {
        window_.WindowToPicture(x, y, pictureX, pictureY);
    }

    // Passes a resize on once the window has rested (or at the end, `force`).
    void SaveResize(uint64_t now, bool force) {
        if (!sizePending_ || (!force && now < sizeChangedAt_ + SettleMs)) return;
        sizePending_ = false;
        if (now < settleUntil_ && !force) return;
        Tell();
    }
    std::optional<uint64_t> NextResizeCheck() const {
        if (!sizePending_) return std::nullopt;
        return sizeChangedAt_ + SettleMs;
    }

    bool Active = true;  // a window starts active, so the game ticks where no window manager gives focus
    bool QuitAsked = false;

private:
    void Tell() {
        if (options_.WindowChanged) options_.WindowChanged(window_.Fullscreen(), windowWidth_, windowHeight_);
    }

    GameWindow& window_;
    SdlPresenter& presenter_;
    const SdlGameOptions& options_;
    int windowWidth_;
    int windowHeight_;
    bool sizePending_ = false;
    uint64_t sizeChangedAt_ = 0;
    uint64_t settleUntil_ = 0;
};

// SDL is stopped last, after everything made with it is gone.
struct SdlSession {
    ~SdlSession() { SDL_Quit(); }
};

uint32_t Until(uint64_t now, std::optional<uint64_t> when, uint32_t wait) {
    if (!when) return wait;
    return *when <= now ? 0 : static_cast<uint32_t>(std::min<uint64_t>(wait, *when - now));
}

}  // namespace

ExitStatus RunSdlGame(const SdlGameOptions& options) {
    SDL_SetHint(SDL_HINT_APP_NAME, TMainForm::ApplicationTitle);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SdlSession sdl;
    if (SDL_Init(SDL_INIT_EVENTS) != 0)
        return ReportFailure("kelvane", {ExitStatus::Failure, std::string("cannot open a display: ") + SDL_GetError(), {}});
    const std::string videoError = OpenVideo();
    if (!videoError.empty()) return ReportFailure("kelvane", {ExitStatus::Failure, "cannot open a display: " + videoError, {}});
    // Pads are welcome but not needed: without the subsystem the keyboard still plays.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

    std::unique_ptr<IFontRasteriser> font;
    std::unique_ptr<GameWindow> window;
    std::unique_ptr<SdlPresenter> presenter;
    try {
        font = MakeFontRasteriser();
        window = std::make_unique<GameWindow>(TMainForm::Caption, options.Fullscreen, options.WindowWidth,
                                              options.WindowHeight);
        presenter = std::make_unique<SdlPresenter>(*window, font.get());
    } catch (const std::exception& error) {
        return ReportFailure("kelvane", FailureOf(error, ExitStatus::Failure));
    }
    SetWindowIcon(window->Window(), options.GameDir + "Data/Icon.bmp");
    SDL_StopTextInput();
    presenter->Show();

    SdlClock clock;
    SdlSleeper sleeper;
    SdlPointer pointer(*window);
    SoundOrSilence audio;
    MainFormServices services;
    services.Presenter = presenter.get();
    services.Font = font.get();
    services.Audio = &audio;
    services.Clock = &clock;
    services.Sleeper = &sleeper;
    services.Pointer = &pointer;
    services.GameDir = options.GameDir;
    services.Folders = options.Folders;
    services.Seed = options.Seed;
    GameSession unrecorded;
    GameSession& session = options.Session ? *options.Session : unrecorded;
    auto form = std::make_unique<TMainForm>(session.Services(services));
    form->SoundDevice.GetMixer().SetVolume(options.Volume);
    session.Begin(*form);

    Desktop desktop(*window, *presenter, options);
    FormInput playInput(*form);
    bool playbackPaused = false;
    WatchInput watchInput(playbackPaused);
    EventRouter router(session.Watching() ? static_cast<GameInput&>(watchInput) : playInput, desktop);
    bool ended = false;           // a watched recording has nothing more to play
    bool pauseShown = false;
    while (!desktop.QuitAsked) {
        uint64_t now = SDL_GetTicks64();
        const bool ticking = desktop.Active && !playbackPaused && !ended;
        uint32_t wait = ticking ? form->MainTimer.MillisecondsToNextTick() : 100;
        wait = Until(now, router.NextRepeat(), wait);
        wait = Until(now, desktop.NextResizeCheck(), wait);
        if (!presenter->Notice().empty()) wait = Until(now, presenter->NoticeUntil(), wait);
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(wait))) {
            router.Handle(event, SDL_GetTicks64());
            while (SDL_PollEvent(&event)) router.Handle(event, SDL_GetTicks64());
        }
        if (desktop.QuitAsked) break;
        now = SDL_GetTicks64();
        router.RepeatHeldKeys(now);
        presenter->ExpireNotice(now);
        desktop.SaveResize(now, false);
        if (playbackPaused != pauseShown && !ended) {
            pauseShown = playbackPaused;
            presenter->ShowStandingLine(pauseShown ? "Playback paused" : "", pauseShown ? "Esc goes on" : "");
        }
        if (desktop.Active && !playbackPaused && !ended && form->MainTimer.Due()) {
            ended = !session.Tick(*form);
            if (form->StartError()) {
                session.End(*form);
                return ReportFailure("kelvane", StartFailure(*form->StartError(), form->StartErrorContext().value_or("")));
            }
            if (ended) presenter->ShowStandingLine(session.EndText(), session.EndDetail());
            // A watched game's QUIT ends its recording, not the watching.
            if (!session.Watching() && form->CloseRequested() && form->Closing()) desktop.QuitAsked = true;
        }
    }
    session.End(*form);
    desktop.SaveResize(SDL_GetTicks64(), true);
    return ExitStatus::Success;
}

}  // namespace kelvane
