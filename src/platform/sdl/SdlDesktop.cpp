#include "platform/sdl/SdlDesktop.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>

#include "base/Windows1250.h"
#include "platform/font/FontRasteriser.h"
#include "platform/sdl/Screenshot.h"
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

}  // namespace

SdlDesktop::SdlDesktop(const SdlGameOptions& options) : options_(options), settings_(options.Chosen) {}

SdlDesktop::~SdlDesktop() = default;

std::unique_ptr<SdlDesktop> SdlDesktop::Open(const SdlGameOptions& options) {
    SDL_SetHint(SDL_HINT_APP_NAME, TMainForm::ApplicationTitle);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    std::unique_ptr<SdlDesktop> desktop(new SdlDesktop(options));
    if (SDL_Init(SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "kelvane: cannot open a display: %s\n", SDL_GetError());
        return nullptr;
    }
    const std::string videoError = OpenVideo();
    if (!videoError.empty()) {
        std::fprintf(stderr, "kelvane: cannot open a display: %s\n", videoError.c_str());
        return nullptr;
    }
    // Pads are welcome but not needed: without the subsystem the keyboard still plays.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

    SdlDesktop& d = *desktop;
    try {
        d.font_ = MakeFontRasteriser();
        d.window_ = std::make_unique<GameWindow>(TMainForm::Caption, options.Fullscreen.value_or(d.settings_.Fullscreen),
                                                 d.settings_.WindowWidth, d.settings_.WindowHeight);
        d.presenter_ = std::make_unique<SdlPresenter>(*d.window_, d.font_.get());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane: %s\n", error.what());
        return nullptr;
    }
    d.pointer_ = std::make_unique<SdlPointer>(*d.window_);
    SetWindowIcon(d.window_->Window(), options.GameDir + "Data/Icon.bmp");
    SDL_StopTextInput();
    // Key names are read with the player's keyboard layout, which the video brings.
    d.bindings_ = KeyBindings(d.settings_.Keys, options.SettingsFile,
                              [](const std::string& line) { std::fprintf(stderr, "kelvane: %s\n", line.c_str()); });
    d.presenter_->SetActionKeys(d.bindings_.HelpKeyNames());
    d.presenter_->Show();
    return desktop;
}

MainFormServices SdlDesktop::Services() {
    MainFormServices services;
    services.Presenter = presenter_.get();
    services.Font = font_.get();
    services.Audio = &audio_;
    services.Clock = &clock_;
    services.Sleeper = &sleeper_;
    services.Pointer = pointer_.get();
    services.GameDir = options_.GameDir;
    services.Folders = options_.Folders;
    return services;
}

void SdlDesktop::ToggleFullscreen() {
    window_->SetFullscreen(!window_->Fullscreen(), settings_.WindowWidth, settings_.WindowHeight);
    // Sizes reported while the window changes shape are not the player's choice.
    settleUntil_ = SDL_GetTicks64() + SettleMs;
    sizePending_ = false;
    settings_.Fullscreen = window_->Fullscreen();
    Tell();
    presenter_->Show();
}

void SdlDesktop::SaveScreenshot() {
    const SavedScreenshot shot =
        kelvane::SaveScreenshot(options_.PicturesFolder, presenter_->Frame(), ScreenWidth, ScreenHeight,
                                std::time(nullptr));
    std::string text, detail;
    if (shot.Ok) {
        const std::filesystem::path path(shot.Path);
        text = "Screenshot saved: " + path.filename().string();
        detail = "in " + path.parent_path().string();
    } else {
        text = "No screenshot: " + shot.Error;
        std::fprintf(stderr, "kelvane: no screenshot: %s\n", shot.Error.c_str());
    }
    presenter_->ShowNotice(ToGameText(text), ToGameText(detail), SDL_GetTicks64() + NoticeMs);
}

void SdlDesktop::SizeChanged() {
    presenter_->Show();
    if (window_->Fullscreen()) return;
    int width = 0, height = 0;
    window_->Size(width, height);
    width = std::clamp(width, MinWindowSide, MaxWindowSide);
    height = std::clamp(height, MinWindowSide, MaxWindowSide);
    if (width == settings_.WindowWidth && height == settings_.WindowHeight) return;
    settings_.WindowWidth = width;
    settings_.WindowHeight = height;
    sizePending_ = true;
    sizeChangedAt_ = SDL_GetTicks64();
}

void SdlDesktop::SaveResize(uint64_t now, bool force) {
    if (!sizePending_ || (!force && now < sizeChangedAt_ + SettleMs)) return;
    sizePending_ = false;
    if (now < settleUntil_ && !force) return;
    Tell();
}

std::optional<uint64_t> SdlDesktop::NextResizeCheck() const {
    if (!sizePending_) return std::nullopt;
    return sizeChangedAt_ + SettleMs;
}

void SdlDesktop::Tell() {
    if (options_.SettingsChanged) options_.SettingsChanged(settings_);
}

}  // namespace kelvane
