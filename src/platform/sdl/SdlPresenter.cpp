#include "platform/sdl/SdlPresenter.h"

#include <algorithm>
#include <stdexcept>

#include "game/Overlays.h"
#include "world/World.h"

namespace kelvane {

SdlPresenter::SdlPresenter(GameWindow& window, IFontRasteriser* font)
    : window_(window),
      frame_(static_cast<size_t>(ScreenWidth) * ScreenHeight, 0),
      composed_(ScreenWidth, ScreenHeight, font) {
    texture_ = SDL_CreateTexture(window_.Renderer(), SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 ScreenWidth, ScreenHeight);
    if (!texture_) throw std::runtime_error(std::string("cannot create the screen surface: ") + SDL_GetError());
}

SdlPresenter::~SdlPresenter() { SDL_DestroyTexture(texture_); }

bool SdlPresenter::CanDraw() { return (SDL_GetWindowFlags(window_.Window()) & SDL_WINDOW_MINIMIZED) == 0; }

void SdlPresenter::Present(const uint32_t* pixels, int width, int height) {
    if (width != ScreenWidth || height != ScreenHeight) return;
    std::copy(pixels, pixels + frame_.size(), frame_.begin());
    Show();
}

void SdlPresenter::Show() {
    const uint32_t* shown = frame_.data();
    if (help_ || !notice_.empty() || !standing_.empty()) {
        std::copy(frame_.begin(), frame_.end(), composed_.Pixels());
        if (!standing_.empty()) DrawNoticeOverlay(composed_, standing_, standingDetail_, StandingLineTop);
        if (help_) DrawHelpOverlay(composed_, actionKeys_);
        if (!notice_.empty()) DrawNoticeOverlay(composed_, notice_, noticeDetail_);
        shown = composed_.Pixels();
    }
    SDL_UpdateTexture(texture_, nullptr, shown, ScreenWidth * static_cast<int>(sizeof(uint32_t)));
    SDL_Renderer* renderer = window_.Renderer();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    const PictureRect place = window_.PicturePlace();
    const SDL_Rect target{place.X, place.Y, place.Width, place.Height};
    SDL_RenderCopy(renderer, texture_, nullptr, &target);
    SDL_RenderPresent(renderer);
}

void SdlPresenter::ToggleHelp() {
    help_ = !help_;
    Show();
}

void SdlPresenter::ShowNotice(std::string text, std::string detail, uint64_t until) {
    notice_ = std::move(text);
    noticeDetail_ = std::move(detail);
    noticeUntil_ = until;
    Show();
}

void SdlPresenter::ShowStandingLine(std::string text, std::string detail) {
    standing_ = std::move(text);
    standingDetail_ = std::move(detail);
    Show();
}

bool SdlPresenter::ExpireNotice(uint64_t now) {
    if (notice_.empty() || now < noticeUntil_) return false;
    notice_.clear();
    Show();
    return true;
}

}  // namespace kelvane
