#pragma once
// The desktop the game is shown on: SDL's display, the window with its presenter, the
// font, the sound and the player's keys, opened once; then a session (a game played, a
// recording watched) runs in it. What the desktop's keys and the window's own events do
// (full screen, screenshots, the help, resizes, focus) is the desktop's; what the
// player's keys do to the game, when the game ticks and when the window closes is the
// session's.

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game/GameSession.h"
#include "game/PlayerFolders.h"
#include "game/Settings.h"
#include "media/Platform.h"
#include "platform/sdl/EventRouter.h"
#include "platform/sdl/GameWindow.h"
#include "platform/sdl/KeyBindings.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/sdl/SdlServices.h"

namespace kelvane {

struct SdlGameOptions {
    std::string GameDir;           // holds Data/ and Scripts/, ending in '/'
    PlayerFolders Folders;         // the player's own ships and scripts, the cache
    Settings Chosen;               // the player's settings: window, volume, keys
    std::optional<bool> Fullscreen;  // full screen or not for this game only (--fullscreen, --windowed)
    std::string SettingsFile;      // where Chosen came from, named in the lines about its [Keys]
    std::string PicturesFolder;    // screenshots go into its Kelvane/ subfolder; ends in '/'
    // Told when the player changes a setting in the game: F11 (full screen or not, saved
    // even when the game started with --fullscreen or --windowed), or a resize of the
    // window in windowed mode (its size only).
    std::function<void(const Settings&)> SettingsChanged;
};

class SdlDesktop : public WindowActions {
public:
    // Opens the desktop; nullptr, the reason said on stderr, when there is no display or
    // no window can be made. A [Keys] line it cannot use is said on stderr too, and the
    // desktop opens all the same.
    static std::unique_ptr<SdlDesktop> Open(const SdlGameOptions& options);
    ~SdlDesktop() override;
    SdlDesktop(const SdlDesktop&) = delete;
    SdlDesktop& operator=(const SdlDesktop&) = delete;

    // Runs a session until the window closes (its close button, or the session's own
    // close rule); the event loop, in SdlGame.cpp. Returns 0 after a normal end, 1 when the game cannot start (the reason
    // is printed on stderr).
    int Run(GameSession& session);

    // The settings with the player's changes in this game.
    const Settings& CurrentSettings() const { return settings_; }

    void ToggleFullscreen() override;
    void SaveScreenshot() override;
    void ToggleHelp() override { presenter_->ToggleHelp(); }
    void Quit() override { quitAsked_ = true; }
    void FocusChanged(bool isActive) override { active_ = isActive; }
    void SizeChanged() override;
    void Exposed() override { presenter_->Show(); }
    void WindowToPicture(int x, int y, int32_t& pictureX, int32_t& pictureY) const override {
        window_->WindowToPicture(x, y, pictureX, pictureY);
    }

private:
    explicit SdlDesktop(const SdlGameOptions& options);
    MainFormServices Services();
    // Passes a resize on once the window has rested (or at the end, `force`).
    void SaveResize(uint64_t now, bool force);
    std::optional<uint64_t> NextResizeCheck() const;
    void Tell();

    // SDL is stopped last, after everything made with it is gone: this member goes last.
    struct SdlStopper {
        ~SdlStopper() { SDL_Quit(); }
    } stopper_;
    SdlGameOptions options_;
    Settings settings_;
    std::unique_ptr<IFontRasteriser> font_;
    std::unique_ptr<GameWindow> window_;
    std::unique_ptr<SdlPresenter> presenter_;
    std::unique_ptr<SdlPointer> pointer_;
    SdlClock clock_;
    SdlSleeper sleeper_;
    SoundOrSilence audio_;
    KeyBindings bindings_;
    bool active_ = true;  // a window starts active, so the game ticks where no window manager gives focus
    bool quitAsked_ = false;
    bool sizePending_ = false;
    uint64_t sizeChangedAt_ = 0;
    uint64_t settleUntil_ = 0;
};

}  // namespace kelvane
