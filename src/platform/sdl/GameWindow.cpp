#include "platform/sdl/GameWindow.h"

#include <algorithm>
#include <stdexcept>

#include "world/World.h"

namespace kelvane {

namespace {
std::runtime_error SdlError(const char* what) { return std::runtime_error(std::string(what) + SDL_GetError()); }
}  // namespace

GameWindow::GameWindow(const char* title, bool fullscreen, int windowWidth, int windowHeight) {
    windowWidth = std::max(windowWidth, MinimumWidth);
    windowHeight = std::max(windowHeight, MinimumHeight);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!window_) throw SdlError("cannot open the game window: ");
    SDL_SetWindowMinimumSize(window_, MinimumWidth, MinimumHeight);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        SDL_DestroyWindow(window_);
        throw SdlError("cannot draw into the game window: ");
    }
    if (fullscreen) SetFullscreen(true, windowWidth, windowHeight);
    SDL_ShowWindow(window_);
    if (fullscreen) CoverDisplay();
}

GameWindow::~GameWindow() {
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
}

// Without a window manager a full-screen request changes nothing on screen while SDL
// believes it worked; a borderless window placed over the display's bounds is whole
// either way, and a window manager that honours the request keeps it so.
void GameWindow::CoverDisplay() {
    SDL_Rect bounds;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    if (SDL_GetDisplayBounds(display, &bounds) != 0) return;
    SDL_SetWindowPosition(window_, bounds.x, bounds.y);
    SDL_SetWindowSize(window_, bounds.w, bounds.h);
}

void GameWindow::SetFullscreen(bool fullscreen, int windowWidth, int windowHeight) {
    if (fullscreen) {
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowResizable(window_, SDL_FALSE);
        CoverDisplay();
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowResizable(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, std::max(windowWidth, MinimumWidth), std::max(windowHeight, MinimumHeight));
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    fullscreen_ = fullscreen;
}

PictureRect GameWindow::PicturePlace() const {
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) SDL_GetWindowSize(window_, &width, &height);
    return FitPicture(width, height, ScreenWidth, ScreenHeight);
}

void GameWindow::WindowToPicture(int x, int y, int32_t& pictureX, int32_t& pictureY) const {
    // Window coordinates and output pixels differ on scaled (high-density) displays.
    int windowWidth = 0, windowHeight = 0, outputWidth = 0, outputHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    if (windowWidth > 0 && windowHeight > 0 && outputWidth > 0 && outputHeight > 0) {
        x = static_cast<int>(static_cast<int64_t>(x) * outputWidth / windowWidth);
        y = static_cast<int>(static_cast<int64_t>(y) * outputHeight / windowHeight);
    }
    OutputToPicture(PicturePlace(), ScreenWidth, ScreenHeight, x, y, pictureX, pictureY);
}

void GameWindow::Size(int& width, int& height) const { SDL_GetWindowSize(window_, &width, &height); }

}  // namespace kelvane
