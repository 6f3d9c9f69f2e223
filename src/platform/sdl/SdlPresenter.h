#pragma once
// Shows the game's frames in the window: the picture scaled into its place with black
// bars, and over it the help and notice overlays. The overlays are drawn on a copy of
// the picture, so neither the game's back surface nor a screenshot ever carries them.

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/PlayerActions.h"
#include "media/Platform.h"
#include "media/Surface.h"
#include "platform/sdl/GameWindow.h"

namespace kelvane {

class SdlPresenter : public IPresenter {
public:
    // Throws std::runtime_error when the picture's texture cannot be made.
    SdlPresenter(GameWindow& window, IFontRasteriser* font);
    ~SdlPresenter() override;
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    bool CanDraw() override;
    void Present(const uint32_t* pixels, int width, int height) override;

    // Shows the last frame again with the overlays as they are now (after a resize, a
    // change of overlay, or while the game does not tick).
    void Show();
    // The game's last picture as it was handed over (black before the first frame).
    const std::vector<uint32_t>& Frame() const { return frame_; }

    void ToggleHelp();
    bool HelpShown() const { return help_; }
    // The keys the help names for the player's actions (the game's own until told).
    void SetActionKeys(ActionKeyNames keys) { actionKeys_ = std::move(keys); }
    // A message (and a dimmer second line) shown until the clock (SDL's milliseconds)
    // reaches `until`. Text is Windows-1250.
    void ShowNotice(std::string text, std::string detail, uint64_t until);
    const std::string& Notice() const { return notice_; }
    // Takes the notice away once its time is up; true when it did.
    bool ExpireNotice(uint64_t now);
    uint64_t NoticeUntil() const { return noticeUntil_; }
    // A standing line lower down (a watched recording paused or ended), shown until it is
    // changed; empty text takes it away. Text is Windows-1250.
    void ShowStandingLine(std::string text, std::string detail);
    const std::string& StandingLine() const { return standing_; }

private:
    GameWindow& window_;
    SDL_Texture* texture_ = nullptr;
    std::vector<uint32_t> frame_;
    Surface composed_;  // the frame with the overlays drawn on it
    bool help_ = false;
    ActionKeyNames actionKeys_ = GameKeyNames();
    std::string notice_;
    std::string noticeDetail_;
    uint64_t noticeUntil_ = 0;
    std::string standing_;
    std::string standingDetail_;
};

}  // namespace kelvane
