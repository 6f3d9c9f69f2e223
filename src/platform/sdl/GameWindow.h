#pragma once
// The game's one window: full screen over the whole display (also where no window
// manager helps: the window is placed over the display's bounds itself) or a resizable
// window. The picture's place is worked out from the window's real drawable size, never
// from the size that was asked for.

#include <SDL2/SDL.h>

#include <string>

#include "platform/sdl/PictureFit.h"

namespace kelvane {

class GameWindow {
public:
    static constexpr int DefaultWidth = 1024;
    static constexpr int DefaultHeight = 768;
    static constexpr int MinimumWidth = 320;
    static constexpr int MinimumHeight = 240;

    // Throws std::runtime_error with SDL's reason when no window or renderer can be made.
    GameWindow(const char* title, bool fullscreen, int windowWidth, int windowHeight);
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    SDL_Window* Window() const { return window_; }
    SDL_Renderer* Renderer() const { return renderer_; }

    bool Fullscreen() const { return fullscreen_; }
    // Switches; windowed mode comes back at windowWidth x windowHeight.
    void SetFullscreen(bool fullscreen, int windowWidth, int windowHeight);
    // Where the picture goes now, in the renderer's output pixels.
    PictureRect PicturePlace() const;
    // A point in window coordinates (as SDL's mouse events give it) as a picture pixel.
    void WindowToPicture(int x, int y, int32_t& pictureX, int32_t& pictureY) const;
    // The window's size in window coordinates (what a player resizes).
    void Size(int& width, int& height) const;

private:
    void CoverDisplay();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    bool fullscreen_ = false;
};

}  // namespace kelvane
